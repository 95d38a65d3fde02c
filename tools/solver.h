// A push-based solver: it proves a level solvable by finding a solution that the game's own
// move engine replays to a solved board.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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
    // cannot be solved. False when the search stopped at its limit or was stopped.
    bool exhausted = false;
};

// Called now and then during a search with the positions kept so far; returning false stops
// the search, which then reports no solution. Lets another thread show progress and cancel.
using SearchWatch = std::function<bool(std::size_t statesSeen)>;

// The search gives up once it has kept stateLimit positions.
constexpr std::size_t DefaultStateLimit = 4'000'000;

SolverResult solveLevel(const Board& board, int keeperX, int keeperY,
                        std::size_t stateLimit = DefaultStateLimit, const SearchWatch& watch = {});

// Replays the moves through stepKeeper: true when every move happens as recorded (a walk
// walks, a push pushes) and no empty target is left at the end.
bool replaySolves(const Board& board, int keeperX, int keeperY,
                  std::span<const std::uint16_t> moves);

}  // namespace quarbel
