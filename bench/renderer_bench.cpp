// One step of the keeper as the player sees it: the move engine, the partial redraw of the
// board and the board frame rescaled, for a board image of the given side.
#include <benchmark/benchmark.h>

#include <QImage>

#include "core/engine.h"
#include "ui/render/renderer.h"

namespace {

using namespace quarbel;

// A window that only draws: everything else the engine asks for is dropped.
class DrawingFrontend : public Frontend {
  public:
    DrawingFrontend(Renderer& renderer, GameState& s) : renderer_(renderer), s_(s) {}

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
    int boardSide() const override { return renderer_.boardFrame().width(); }
    std::optional<std::string> choosePackFile() override { return std::nullopt; }
    bool askSaveMovie(std::string_view, std::string_view, std::string_view) override {
        return false;
    }
    void drawBoard(bool full, bool eyesOpen) override {
        benchmark::DoNotOptimize(renderer_.drawBoard(s_, full, eyesOpen));
    }
    void CheckSolved() override {}
    void LoadClick() override {}
    SoundPlayer& soundplayer() override { return sound_; }

  private:
    class SilentPlayer : public SoundPlayer {
      public:
        bool setFileName(std::string_view) override { return true; }
        bool open() override { return true; }
        bool isPlaying() override { return false; }
        bool play() override { return true; }
    };

    Renderer& renderer_;
    GameState& s_;
    SilentPlayer sound_;
};

// A sheet and background with busy pixels, so that nothing is cheaper than with real art.
AssetImages syntheticAssets() {
    QImage sheet(204, 408, QImage::Format_RGB32);
    for (int y = 0; y < sheet.height(); ++y) {
        const bool maskRow = y / 51 % 2 == 1;
        for (int x = 0; x < sheet.width(); ++x) {
            const bool covered =
                (x % 51 - 25) * (x % 51 - 25) + (y % 51 - 25) * (y % 51 - 25) < 400;
            sheet.setPixel(x, y,
                           maskRow ? (covered ? 0xff000000u : 0xffffffffu)
                                   : (covered ? 0xff000000u | static_cast<QRgb>(x * 977 + y * 131)
                                              : 0xff000000u));
        }
    }
    QImage background(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            background.setPixel(x, y, 0xff000000u | (x * 4 << 8) | y * 4);
    }
    QImage title(640, 400, QImage::Format_RGB32);
    title.fill(0xff800000u);
    return {background, title, background, sheet};
}

// The keeper walks along a corridor of crates and targets, one cell right and one back.
void BM_StepWithRedraw(benchmark::State& state) {
    Renderer renderer;
    renderer.loadAssets(syntheticAssets());
    renderer.setBoardSide(static_cast<int>(state.range(0)));
    GameState s;
    for (int x = 1; x <= BoardSide; ++x) {
        for (int y = 1; y <= BoardSide; ++y) {
            const bool edge = x == 1 || y == 1 || x == BoardSide || y == BoardSide;
            s.board.at(x, y) = edge ? CellWall : (x + y) % 3 == 0 ? CellTarget : CellEmpty;
        }
    }
    s.board.at(8, 7) = CellCrate;
    s.board.at(8, 9) = CellCrateOnTarget;
    s.keeperX = 7;
    s.keeperY = 8;
    DrawingFrontend ui(renderer, s);
    ui.drawBoard(true, true);

    KeyCode key = KeyRight;
    for (auto _ : state) {
        stepKeeper(s, ui, key);
        key = key == KeyRight ? KeyLeft : KeyRight;
        s.historyTop = 0;  // the walk goes on for ever
    }
    benchmark::DoNotOptimize(renderer.boardFrame().constBits());
}
BENCHMARK(BM_StepWithRedraw)->Arg(555)->Arg(1035)->Unit(benchmark::kMicrosecond);

// A level start: every cell composited and the whole frame rescaled.
void BM_FullDrawing(benchmark::State& state) {
    Renderer renderer;
    renderer.loadAssets(syntheticAssets());
    renderer.setBoardSide(static_cast<int>(state.range(0)));
    GameState s;
    s.board.cells.fill(CellCrateOnTarget);
    s.keeperX = 8;
    s.keeperY = 8;
    for (auto _ : state)
        benchmark::DoNotOptimize(renderer.drawBoard(s, true, true));
}
BENCHMARK(BM_FullDrawing)->Arg(555)->Arg(1035)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
