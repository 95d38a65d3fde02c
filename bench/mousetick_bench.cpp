// One whole repeat tick of a held mouse walk as the player sees it: the passability grid,
// the search, the step through the key handler and the move engine, and the redraw of the
// board image at the given side (1035 on a 1080-line screen).
#include <benchmark/benchmark.h>

#include "mouse/mouseinput.h"
#include "mouse/pathfinder.h"
#include "syntheticsheet.h"

namespace {

using namespace quarbel;

constexpr int StartX = 2;
constexpr int StartY = 2;
constexpr int GoalX = 14;
constexpr int GoalY = 14;

// Walls across the room with gaps at alternate ends: the way from the top-left corner to
// the bottom-right one winds through the whole board, so the search visits every square.
GameState serpentine() {
    GameState s;
    for (int x = 1; x <= BoardSide; ++x) {
        for (int y = 1; y <= BoardSide; ++y) {
            const bool edge = x == 1 || y == 1 || x == BoardSide || y == BoardSide;
            const bool gapAtBottom = x % 4 == 0;
            const bool divider =
                x % 2 == 0 && x > StartX && x < GoalX && (gapAtBottom ? y < GoalY : y > StartY);
            s.board.at(x, y) = edge || divider ? CellWall : CellEmpty;
        }
    }
    s.keeperX = StartX;
    s.keeperY = StartY;
    s.titleShowing = false;
    s.levelActive = true;
    return s;
}

void BM_MouseTick(benchmark::State& state) {
    Renderer renderer;
    renderer.loadAssets(bench::syntheticAssets());
    GameState s = serpentine();
    bench::DrawingFrontend ui(renderer, s, static_cast<int>(state.range(0)));
    ui.drawBoard(true, true);
    PathFinder finder;
    // The pointer held in the middle of the goal square.
    const int side = ui.boardSide();
    s.lastMouseX = (2 * GoalX - 1) * side / (2 * BoardSide);
    s.lastMouseY = (2 * GoalY - 1) * side / (2 * BoardSide);
    for (auto _ : state) {
        s.keeperX = StartX;
        s.keeperY = StartY;
        s.historyTop = 0;
        mousetimerTimer(s, ui, finder);
    }
    if (s.historyTop != 1) state.SkipWithError("the tick took no step");
    benchmark::DoNotOptimize(ui.screen().constBits());
}
BENCHMARK(BM_MouseTick)->Arg(1035)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
