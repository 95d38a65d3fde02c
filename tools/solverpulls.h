// A search backwards: from the solved position, with the keeper in each part of the floor the
// crates leave, crates are pulled until they stand where the level starts them and the keeper
// can walk to its start. Its pulls taken back to front are pushes that solve the level. Levels
// whose targets are crowded together are often far easier to unpack than to pack.
#pragma once

#include <optional>
#include <vector>

#include "tools/solver.h"
#include "tools/solverbounds.h"
#include "tools/solvermaze.h"
#include "tools/solverstore.h"

namespace quarbel::solving {

class PullSearch {
  public:
    // The open positions are taken in the order of pulls so far plus `weight` times the
    // estimate, the cheapest way to bring every crate to a start square of its own by pulls.
    PullSearch(const Maze& maze, const CrateSet& start, const SolveLimits& limits,
               const SearchWatch& watch, int weight);

    // The pushes of a solution from the start with the keeper on `keeper`, or nothing.
    std::optional<std::vector<Push>> run(int keeper);
    std::size_t statesSeen() const { return store_.size(); }
    // Every position the pulls can reach was searched without coming to the start: the level
    // cannot be solved.
    bool exhausted() const { return exhausted_; }

  private:
    const Maze& maze_;
    const CrateSet start_;
    const Maze pulls_;  // the start squares as targets, distances by pulls
    // Copies: a caller may hand a search its limits and watch as temporaries.
    const SolveLimits limits_;
    const SearchWatch watch_;
    const int weight_;
    bool exhausted_ = false;
    PositionStore store_;
    Matcher matcher_;
    Region region_;
    Region childRegion_;
};

}  // namespace quarbel::solving
