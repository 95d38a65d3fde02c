// A window without widgets: it keeps captions, visibility and timers, and logs the
// hand-over calls, so the game's handlers can be tested in microseconds.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/frontend.h"

namespace quarbel::testing {

class FakeSoundPlayer : public SoundPlayer {
  public:
    bool setFileName(std::string_view fileName) override;
    bool open() override;
    bool isPlaying() override;
    bool play() override;

    bool openFails = false;
    bool playFails = false;
    bool playing = false;  // what isPlaying answers
    std::string fileName;
    std::vector<std::string> calls;  // "open undo.wav", "play done.wav", ...
};

class FakeFrontend : public Frontend {
  public:
    FakeFrontend();

    std::string caption(Control control) const override;
    void setCaption(Control control, std::string_view text) override;
    bool isVisible(Control control) const override;
    void setVisible(Control control, bool visible) override;
    void setEnabled(Control control, bool enabled) override;
    bool timerEnabled(Timer timer) const override;
    void setTimerEnabled(Timer timer, bool enabled) override;
    int timerInterval(Timer timer) const override;
    void setTimerInterval(Timer timer, int milliseconds) override;
    void setWindowCaption(std::string_view text) override;
    void setBoardCrossCursor() override;
    void focusController() override;
    void placeSideStrip(bool rightMargin) override;
    int boardSide() const override { return side; }
    std::optional<std::string> choosePackFile() override;
    bool askSaveMovie(std::string_view level, std::string_view steps,
                      std::string_view oldSteps) override;
    void reportError(std::string_view text) override { errors.emplace_back(text); }
    void drawBoard(bool full, bool eyesOpen) override;
    void CheckSolved() override;
    void LoadClick() override;
    SoundPlayer& soundplayer() override { return sound; }

    bool enabled(Control control) const { return enabledFlags[index(control)]; }
    int count(const std::string& call) const;  // how often a call stands in the log
    void clearLog() { log.clear(); }

    std::vector<std::string> errors;  // what reportError was given, in order
    std::vector<std::string> log;     // "drawBoard(false,true)", "CheckSolved", "chooser", ...
    std::string windowCaption = "QUARBEL 98";
    std::deque<std::optional<std::string>> chooserAnswers;  // one per showing
    bool saveAnswer = false;
    std::function<void()> onCheckSolved;
    std::function<void()> onLoadClick;
    bool sideStripRight = false;
    int side = 555;
    FakeSoundPlayer sound;

  private:
    static std::size_t index(Control control) { return static_cast<std::size_t>(control); }
    static std::size_t index(Timer timer) { return static_cast<std::size_t>(timer); }

    std::array<std::string, static_cast<std::size_t>(Control::Count)> captions;
    std::array<bool, static_cast<std::size_t>(Control::Count)> visibleFlags{};
    std::array<bool, static_cast<std::size_t>(Control::Count)> enabledFlags{};
    std::array<bool, static_cast<std::size_t>(Timer::Count)> timerFlags{};
    std::array<int, static_cast<std::size_t>(Timer::Count)> intervals{};
};

}  // namespace quarbel::testing
