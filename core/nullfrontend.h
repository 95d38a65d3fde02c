// A window that shows nothing and ignores every request: the rules run without one in the
// pack tool's replays, the fuzz targets and the benchmarks.
#pragma once

#include "core/frontend.h"

namespace quarbel {

class NullSoundPlayer : public SoundPlayer {
  public:
    bool setFileName(std::string_view) override { return false; }
    bool open() override { return false; }
    bool isPlaying() override { return false; }
    bool play() override { return false; }
};

class NullFrontend : public Frontend {
  public:
    std::string caption(Control) const override { return {}; }
    void setCaption(Control, std::string_view) override {}
    bool isVisible(Control) const override { return false; }
    void setVisible(Control, bool) override {}
    void setEnabled(Control, bool) override {}
    bool timerEnabled(Timer) const override { return false; }
    void setTimerEnabled(Timer, bool) override {}
    int timerInterval(Timer) const override { return 0; }
    void setTimerInterval(Timer, int) override {}
    void setWindowCaption(std::string_view) override {}
    void setBoardCrossCursor() override {}
    void focusController() override {}
    void placeSideStrip(bool) override {}
    int boardSide() const override { return 0; }
    std::optional<std::string> choosePackFile() override { return std::nullopt; }
    bool askSaveMovie(std::string_view, std::string_view, std::string_view) override {
        return false;
    }
    void reportError(std::string_view) override {}
    void drawBoard(bool, bool) override {}
    // The replay judges the final board itself.
    void CheckSolved() override {}
    void LoadClick() override {}
    SoundPlayer& soundplayer() override { return sound_; }

  private:
    NullSoundPlayer sound_;
};

}  // namespace quarbel
