// One step of the keeper as the player sees it: the move engine, the partial redraw of the
// board and its change painted scaled, for a board image of the given side.
#include <benchmark/benchmark.h>

#include "core/engine.h"
#include "syntheticsheet.h"

namespace {

using namespace quarbel;
using bench::DrawingFrontend;
using bench::syntheticAssets;

// The keeper walks along a corridor of crates and targets, one cell right and one back.
void BM_StepWithRedraw(benchmark::State& state) {
    Renderer renderer;
    renderer.loadAssets(syntheticAssets());
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
    DrawingFrontend ui(renderer, s, static_cast<int>(state.range(0)));
    ui.drawBoard(true, true);

    KeyCode key = KeyRight;
    for (auto _ : state) {
        stepKeeper(s, ui, key);
        key = key == KeyRight ? KeyLeft : KeyRight;
        s.historyTop = 0;  // the walk goes on for ever
    }
    benchmark::DoNotOptimize(ui.screen().constBits());
}
BENCHMARK(BM_StepWithRedraw)->Arg(555)->Arg(1035)->Unit(benchmark::kMicrosecond);

// A level start: every cell composited and the whole board painted scaled.
void BM_FullDrawing(benchmark::State& state) {
    Renderer renderer;
    renderer.loadAssets(syntheticAssets());
    GameState s;
    s.board.cells.fill(CellCrateOnTarget);
    s.keeperX = 8;
    s.keeperY = 8;
    DrawingFrontend ui(renderer, s, static_cast<int>(state.range(0)));
    for (auto _ : state)
        ui.drawBoard(true, true);
    benchmark::DoNotOptimize(ui.screen().constBits());
}
BENCHMARK(BM_FullDrawing)->Arg(555)->Arg(1035)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
