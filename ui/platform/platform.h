// The services of the desktop that the window uses, each behind a small interface so that
// tests can put recorders in their place.
#pragma once

#include <string_view>

#include "core/frontend.h"
#include "ui/platform/shell.h"

namespace quarbel {

class HelpViewer {
  public:
    virtual ~HelpViewer() = default;
    // Shows the topic of the help document; throws GameError when the document is missing.
    virtual void showTopic(int topic) = 0;
};

// The application's one error report: a message box with the error's text.
class ErrorReport {
  public:
    virtual ~ErrorReport() = default;
    virtual void showError(std::string_view text) = 0;
};

struct Platform {
    SoundPlayer& sound;
    HelpViewer& help;
    Shell& shell;
    ErrorReport& errors;
};

}  // namespace quarbel
