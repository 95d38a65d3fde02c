// A push-based solver: it proves a level solvable by finding a solution that the game's own
// move engine replays to a solved board.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "core/gamestate.h"

namespace quarbel {

struct SolverResult {
    // History codes 1 to 8, walks between pushes included; nothing when none was found.
    std::optional<std::vector<std::uint16_t>> moves;
    int pushes = 0;
    std::size_t statesSeen = 0;  // positions kept in the transposition table
    // Every position the pushes can reach was searched without finding a solution: the level
    // cannot be solved. False when the search ran out of time or memory or was stopped.
    bool exhausted = false;
};

// Called now and then during a search with the positions kept so far; returning false stops
// the search, which then reports no solution. Lets another thread show progress and cancel.
using SearchWatch = std::function<bool(std::size_t statesSeen)>;

// A search gives up after `seconds` of processor time of its own thread, or before its
// positions would need more than `memoryBytes`. A search that must end the same way on any
// machine also gives up at about `positions` kept.
struct SolveLimits {
    double seconds = 10;
    std::size_t memoryBytes = std::size_t{1} << 30;
    std::size_t positions = SIZE_MAX;
};

SolverResult solveLevel(const Board& board, int keeperX, int keeperY,
                        const SolveLimits& limits = {}, const SearchWatch& watch = {});

// The solver's two searches: from the start pushing crates, and from the solved position
// pulling them.
enum class SearchWay { Forwards, Backwards };

// One search alone on the calling thread. How long each search needs for a level tells how
// hard it is for the solver, which runs both and takes the first answer.
SolverResult solveLevelOneWay(const Board& board, int keeperX, int keeperY, SearchWay way,
                              const SolveLimits& limits);

struct LevelToSolve {
    Board board;
    int keeperX = 0;
    int keeperY = 0;
};

// Solves the levels side by side, one search per processor core, each within the limits.
// `watch` is called from the searching threads, with each search's own count, so it must be
// safe to call from several threads at once; returning false stops every search. The
// results come back in the order of the levels.
std::vector<SolverResult> solveLevels(std::span<const LevelToSolve> levels,
                                      const SolveLimits& limits = {},
                                      const SearchWatch& watch = {});

// Replays the moves through stepKeeper: true when every move happens as recorded (a walk
// walks, a push pushes) and no empty target is left at the end.
bool replaySolves(const Board& board, int keeperX, int keeperY,
                  std::span<const std::uint16_t> moves);

}  // namespace quarbel
