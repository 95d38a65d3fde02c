// Runs a scope with an unprivileged effective user, so that folder permissions bind even when
// the tests run as root.
#pragma once

#include <unistd.h>

namespace quarbel::testing {

class Unprivileged {
  public:
    Unprivileged() : dropped_(::geteuid() == 0 && ::seteuid(65534) == 0) {}
    ~Unprivileged() {
        if (dropped_) static_cast<void>(::seteuid(0));
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;
    bool permissionsBind() const { return dropped_ || ::geteuid() != 0; }

  private:
    bool dropped_;
};

}  // namespace quarbel::testing
