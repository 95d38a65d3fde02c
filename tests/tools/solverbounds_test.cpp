// The push bound of a position with one crate moved, found from the matching of the position
// before, is the bound a full matching gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "support/packbuilder.h"
#include "tools/solverbounds.h"

namespace quarbel::solving {
namespace {

TEST(SolverBounds, AMovedCrateGetsTheBoundOfAFullMatching) {
    // Targets in a dead end and along a wall, so that many crates share a nearest target and
    // some squares reach only some targets.
    const Level level = testing::levelFromRows({
        "###########",
        "#.  #    .#",
        "#.  # ##  #",
        "#.        #",
        "##  ## #  #",
        "#.     #. #",
        "#  #   #  #",
        "#.   .   @#",
        "###########",
    });
    const Maze maze = mazeOf(level.board);
    ASSERT_EQ(maze.targets.size(), 8u);
    std::vector<int> floor;
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 11; ++x) {
            if (!maze.wall[cellIndex(x, y)]) floor.push_back(cellIndex(x, y));
        }
    }
    Matcher incremental(maze);
    Matcher full(maze);
    std::mt19937 random(7);
    int unmatched = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<int> crates = floor;
        std::shuffle(crates.begin(), crates.end(), random);
        crates.resize(maze.targets.size());
        std::sort(crates.begin(), crates.end());
        if (incremental.match(crates) == Matcher::Unmatched) continue;
        // Every crate of the position moved to a few free squares, each from the same matching.
        for (int moved = 0; moved < static_cast<int>(crates.size()); ++moved) {
            for (int tries = 0; tries < 4; ++tries) {
                const int square = floor[random() % floor.size()];
                if (std::find(crates.begin(), crates.end(), square) != crates.end()) continue;
                std::vector<int> after = crates;
                after[moved] = square;
                const int expected = full.match(after);
                unmatched += expected == Matcher::Unmatched;
                ASSERT_EQ(incremental.withMoved(moved, square), expected)
                    << "round " << round << ", crate " << moved << " to " << square;
            }
        }
    }
    EXPECT_GT(unmatched, 0) << "some moves leave a crate without a target";
}

}  // namespace
}  // namespace quarbel::solving
