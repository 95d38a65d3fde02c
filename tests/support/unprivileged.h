// Runs a scope with an unprivileged effective user, so that folder permissions bind even when
// the tests run as root.
#pragma once

#include <unistd.h>

#include <cstdlib>

namespace quarbel::testing {

class Unprivileged {
  public:
    Unprivileged() : dropped_(::geteuid() == 0 && ::seteuid(65534) == 0) {}
    // Back to root for the rest of the test program, which could not go on as designed
    // without it.
    ~Unprivileged() {
        if (dropped_ && ::seteuid(0) != 0) std::abort();
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;
    bool permissionsBind() const { return dropped_ || ::geteuid() != 0; }

  private:
    bool dropped_;
};

}  // namespace quarbel::testing
