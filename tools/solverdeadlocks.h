// Positions that can never be solved, and pushes that need not be tried.
#pragma once

#include <array>
#include <vector>

#include "tools/solvermaze.h"

namespace quarbel::solving {

// True when the crate on c can never move again and it, or a crate that holds it, is off a
// target.
bool freezesOffTarget(const Maze& maze, const CrateSet& crates, int c);

class CorralRule {
  public:
    // The pushes worth trying from the keeper's region; empty when the position is dead.
    std::vector<Push> pushesWorthTrying(const Maze& maze, const CrateSet& crates,
                                        const Region& region);

  private:
    std::array<int, Cells> corralOf_{};
};

}  // namespace quarbel::solving
