// The desktop shell: opens a web address with the desktop's default handler.
#pragma once

#include <string>

namespace quarbel {

class Shell {
  public:
    virtual ~Shell() = default;
    // Whether the address could be opened is not reported.
    virtual void openUrl(const std::string& address) = 0;
};

class DesktopShell : public Shell {
  public:
    void openUrl(const std::string& address) override;
};

}  // namespace quarbel
