// The walk finder on the hardest boards we found, and one whole repeat tick of mouse walking.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/gamestate.h"
#include "mouse/mouseinput.h"
#include "mouse/pathfinder.h"
#include "support/fakefrontend.h"
#include "support/packbuilder.h"

namespace quarbel {
namespace {

struct Search {
    std::vector<std::string> rows;  // '@' is the start
    int targetX;
    int targetY;
};

// Every square is searched for a target walled in at (8, 2), and the walls make many
// cheaper ways into squares that are already expanded, so lowered costs are passed on
// over and over. Found by a random climb over boards towards the most work per search.
const Search WorstSearch = {{
                                "       #       ",
                                "     # #       ",
                                "    #  #       ",
                                "  ##   #       ",
                                " #   ##        ",
                                "  # #          ",
                                "  # #          ",
                                " #   #         ",
                                " #    #        ",
                                " #     #       ",
                                " #             ",
                                " #             ",
                                " #             ",
                                " #         #   ",
                                "@              ",
                            },
                            8,
                            2};

// The same climb with the walk required to exist: the hardest search a walking tick makes.
const Search WorstWalk = {{
                              "         #   @ ",
                              "  #       # ## ",
                              "  #        #   ",
                              "  #        #   ",
                              "  #         #  ",
                              "  #    #     # ",
                              "  #     #   #  ",
                              "  #   #  # #   ",
                              "  #  #   #  #  ",
                              "  # #     #  # ",
                              "  #        #   ",
                              "  #         ## ",
                              "  #            ",
                              " #             ",
                              "  #            ",
                          },
                          2,
                          15};

GameState stateOf(const Search& search) {
    const Level level = testing::levelFromRows(search.rows);
    GameState s;
    placeLevel(s, level);
    s.titleShowing = false;
    s.levelActive = true;
    return s;
}

void searchBench(benchmark::State& state, const Search& search) {
    const GameState s = stateOf(search);
    PathFinder finder;
    finder.buildPassGrid(s);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            finder.findPath(s.keeperX, s.keeperY, search.targetX, search.targetY));
    }
}

void BM_WorstSearch(benchmark::State& state) {
    searchBench(state, WorstSearch);
}
BENCHMARK(BM_WorstSearch);

void BM_WorstWalkSearch(benchmark::State& state) {
    searchBench(state, WorstWalk);
}
BENCHMARK(BM_WorstWalkSearch);

// One tick of a held walk: the grid, the search and the step through the key handler and
// the move engine; the window's redraw is not part of it.
void BM_WalkTick(benchmark::State& state) {
    GameState s = stateOf(WorstWalk);
    const int startX = s.keeperX;
    const int startY = s.keeperY;
    testing::FakeFrontend ui;
    PathFinder finder;
    // The pointer held in the middle of the target square.
    s.lastMouseX = (2 * WorstWalk.targetX - 1) * ui.side / 30;
    s.lastMouseY = (2 * WorstWalk.targetY - 1) * ui.side / 30;
    ui.setTimerEnabled(Timer::mousetimer, true);
    for (auto _ : state) {
        s.keeperX = startX;
        s.keeperY = startY;
        s.historyTop = 0;
        ui.clearLog();
        mousetimerTimer(s, ui, finder);
    }
    if (s.historyTop != 1) state.SkipWithError("the tick took no step");
}
BENCHMARK(BM_WalkTick);

}  // namespace
}  // namespace quarbel

BENCHMARK_MAIN();
