// The push bound of a position with one crate moved, found from the matching of the position
// before, is the bound a full matching gives; push distances that know the keeper's side.
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
                const int side = static_cast<int>(random() % 4);
                if (std::find(crates.begin(), crates.end(), square) != crates.end()) continue;
                std::vector<int> after = crates;
                after[moved] = square;
                // The full matching sees the moved crate's distances from its keeper's side.
                Maze sided = maze;
                for (std::size_t t = 0; t < maze.targets.size(); ++t)
                    sided.distanceTo[t][square] = maze.sideDistanceTo[t][square * 4 + side];
                const int expected = Matcher(sided).match(after);
                unmatched += expected == Matcher::Unmatched;
                ASSERT_EQ(incremental.withMoved(moved, square, side), expected)
                    << "round " << round << ", crate " << moved << " to " << square;
            }
        }
    }
    EXPECT_GT(unmatched, 0) << "some moves leave a crate without a target";
}

TEST(SolverBounds, ACrateGoesOnlyWhereItsKeeperCanGetBehindIt) {
    // A corridor to the target with a nook above it; the keeper comes in at the left end.
    const Level level = testing::levelFromRows({
        "########",
        "### ####",
        "#     .#",
        "# ######",
        "#@#",
        "###",
    });
    const Maze maze = mazeOf(level.board);
    const auto distance = [&](int x, int y, int side) {
        return maze.sideDistanceTo[0][cellIndex(x, y) * 4 + side];
    };
    constexpr int Up = 0, Down = 1, Right = 2, Left = 3;
    // Below the nook, pushed from the left, the crate goes straight on.
    EXPECT_EQ(distance(4, 3, Left), 3);
    // The keeper to its right can only push it away, and never gets round it in the corridor;
    // from the nook, or from the wall below, it cannot be pushed at all.
    EXPECT_EQ(distance(4, 3, Right), NoDistance);
    EXPECT_EQ(distance(4, 3, Up), NoDistance);
    EXPECT_EQ(distance(4, 3, Down), NoDistance);
    EXPECT_EQ(distance(5, 3, Left), 2);
    EXPECT_EQ(distance(5, 3, Right), NoDistance);
    // A crate whose keeper is not known gets its best side.
    EXPECT_EQ(maze.distanceTo[0][cellIndex(4, 3)], 3);
    EXPECT_EQ(maze.distanceTo[0][cellIndex(2, 3)], NoDistance);
}

}  // namespace
}  // namespace quarbel::solving
