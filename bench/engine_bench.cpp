// One step and its undo on a real level, engine only: no drawing, no window.
#include <benchmark/benchmark.h>

#include "core/engine.h"
#include "core/nullfrontend.h"

namespace {

using namespace quarbel;

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
    NullFrontend ui;
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
