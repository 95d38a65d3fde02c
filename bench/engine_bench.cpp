// One step and its undo on a real level, engine only: no drawing, no window.
#include <benchmark/benchmark.h>

#include "core/engine.h"

namespace {

using namespace quarbel;

// A frontend that takes every request and does nothing with it.
class SilentFrontend : public Frontend {
    class Silence : public SoundPlayer {
        bool setFileName(std::string_view) override { return true; }
        bool open() override { return true; }
        bool isPlaying() override { return true; }
        bool play() override { return true; }
    };
    Silence silence;

  public:
    std::string caption(Control) const override { return {}; }
    void setCaption(Control, std::string_view) override {}
    bool isVisible(Control) const override { return true; }
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
    int boardSide() const override { return 555; }
    std::optional<std::string> choosePackFile() override { return {}; }
    bool askSaveMovie(std::string_view, std::string_view, std::string_view) override {
        return false;
    }
    void drawBoard(bool, bool) override {}
    void CheckSolved() override {}
    void LoadClick() override {}
    SoundPlayer& soundplayer() override { return silence; }
};

GameState roomWithCrate() {
    GameState s;
    for (int x = 1; x <= BoardSide; ++x) {
        for (int y = 1; y <= BoardSide; ++y) {
            const bool edge = x == 1 || y == 1 || x == BoardSide || y == BoardSide;
            s.board.at(x, y) = edge ? CellWall : CellEmpty;
        }
    }
    s.board.at(8, 8) = CellCrate;
    s.board.at(10, 8) = CellTarget;
    s.keeperX = 7;
    s.keeperY = 8;
    s.titleShowing = false;
    return s;
}

void BM_StepAndUndo(benchmark::State& state) {
    GameState s = roomWithCrate();
    SilentFrontend ui;
    for (auto _ : state) {
        stepKeeper(s, ui, KeyRight);  // push
        stepKeeper(s, ui, KeyDown);   // walk
        undoMove(s, ui);
        undoMove(s, ui);
        benchmark::DoNotOptimize(s.board);
    }
}
BENCHMARK(BM_StepAndUndo);

}  // namespace

BENCHMARK_MAIN();
