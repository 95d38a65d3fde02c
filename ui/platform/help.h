// The help viewer: the help document "quarbel.hlp" from the working folder in a window of its
// own, opened at a topic.
#pragma once

#include <memory>

#include "ui/platform/platform.h"

class QTextBrowser;
class QWidget;

namespace quarbel {

inline constexpr const char* HelpFile = "quarbel.hlp";
constexpr int HelpTopic = 1000;

// Opens in the middle of the game window's screen without taking the keyboard from the game;
// a click into it lets the player scroll, Escape closes it and the game has the keys again.
class HelpWindow : public HelpViewer {
  public:
    HelpWindow();
    ~HelpWindow() override;
    void setGame(QWidget* game) { game_ = game; }
    void showTopic(int topic) override;
    QWidget* window() const;

  private:
    std::unique_ptr<QTextBrowser> browser_;
    QWidget* game_ = nullptr;
};

}  // namespace quarbel
