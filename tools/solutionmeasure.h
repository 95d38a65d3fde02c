// What makes a level's solution long for a person, and the order of a pack by it.
#pragma once

#include <cstdint>
#include <span>

#include "core/gamestate.h"

namespace quarbel {

// What makes a solution long for a person.
struct SolutionMeasure {
    int pushes = 0;
    int moves = 0;
    int switches = 0;       // times the pushing turns from one crate to another
    int waitingCrates = 0;  // crates pushed in two or more separate runs: they wait for others
    // A crate that stands on a target at the start and is never pushed: a wall in disguise.
    bool idleCrateOnTarget = false;
};

SolutionMeasure measureSolution(const Board& board, int keeperX, int keeperY,
                                std::span<const std::uint16_t> moves);

// The order of a pack, easiest first: switches weigh most, as they follow how long people
// take over a level, then crates that wait for others, then pushes.
int difficultyOf(const SolutionMeasure& measure);

}  // namespace quarbel
