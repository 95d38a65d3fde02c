// The help viewer: the help document "quarbel.hlp" from the working folder in a window of its
// own, opened at a topic.
#pragma once

#include <memory>

#include "ui/platform/platform.h"

class QTextBrowser;

namespace quarbel {

inline constexpr const char* HelpFile = "quarbel.hlp";
constexpr int HelpTopic = 1000;

class HelpWindow : public HelpViewer {
  public:
    HelpWindow();
    ~HelpWindow() override;
    void showTopic(int topic) override;

  private:
    std::unique_ptr<QTextBrowser> browser_;
};

}  // namespace quarbel
