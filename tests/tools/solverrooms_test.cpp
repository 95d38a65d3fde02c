// Goal rooms filled in a packing order: found where crates can only come in through a door or
// two, a crate that comes in goes on to the right target, and a level whose room must be
// filled otherwise is still solved.
#include <gtest/gtest.h>

#include "support/packbuilder.h"
#include "tools/solver.h"
#include "tools/solverrooms.h"

namespace quarbel::solving {
namespace {

using testing::levelFromRows;

constexpr int Up = 0;  // Directions[0]
constexpr int Down = 1;

// The square at column x, row y of a level's rows.
int square(int x, int y) {
    return cellIndex(x + 1, y + 1);
}

TEST(GoalRooms, ACrateComingIntoADeadEndGoesToItsDeepestEmptyTarget) {
    const Level level = levelFromRows({
        "#######",
        "###.###",
        "###.###",
        "###*###",
        "### ###",
        "#  $  #",
        "# $  @#",
        "#     #",
        "#######",
    });
    const Maze maze = mazeOf(level.board);
    const int keeper = cellIndex(level.keeperX, level.keeperY);
    const std::vector<GoalRoom> rooms = findGoalRooms(maze, keeper);
    ASSERT_EQ(rooms.size(), 1u);
    EXPECT_EQ(rooms[0].targets.size(), 3u);
    EXPECT_EQ(rooms[0].squares.count(), 4) << "the dead end and the square before it";
    EXPECT_EQ(rooms[0].doors, std::vector<int>{square(3, 5)});

    RoomPacking packing(maze, keeper);
    CrateSet crates = cratesOf(level.board);
    const Push intoTheRoom{square(3, 5), Up};
    // The crate on the nearest target shuts the deeper ones off: the room is not packed, its
    // crate may be pushed out and a crate pushed in goes no further than one push.
    EXPECT_FALSE(packing.packingPushes(crates, intoTheRoom).has_value());
    std::vector<Push> pushes{{square(3, 3), Down}};
    EXPECT_FALSE(packing.keepPackedCrates(crates, pushes));

    // Deepest first: a crate pushed in runs on to the end, the next one stops below it.
    crates.clear(square(3, 3));
    const auto first = packing.packingPushes(crates, intoTheRoom);
    ASSERT_TRUE(first.has_value());
    ASSERT_EQ(first->size(), 4u);
    EXPECT_EQ(first->back().from, square(3, 2));
    crates.set(square(3, 1));
    const auto second = packing.packingPushes(crates, intoTheRoom);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->size(), 3u);
    // A crate resting in the packed room stays.
    pushes = {{square(3, 1), Down}, {square(2, 6), Up}};
    EXPECT_TRUE(packing.keepPackedCrates(crates, pushes));
    ASSERT_EQ(pushes.size(), 1u);
    EXPECT_EQ(pushes[0].from, square(2, 6));
    // Full, the room takes no more crates.
    crates.set(square(3, 2));
    crates.set(square(3, 3));
    crates.clear(square(2, 6));
    EXPECT_TRUE(packing.packingPushes(crates, intoTheRoom)->empty());
}

TEST(GoalRooms, ARoomThatMustBeFilledAgainstItsOrderIsStillSolved) {
    // Taken out of the full room backwards, the left crate goes first through the left door,
    // so the room is packed right target first. The crates come from the right, so the first
    // one must pass the right target: the search that packs finds nothing, and the one
    // without packing that follows it solves the level.
    const Level level = levelFromRows({
        "#############",
        "#     ..    #",
        "#   ####  $ #",
        "#   ####  $ #",
        "#   #### @  #",
        "#############",
    });
    const SolverResult result = solveLevel(level.board, level.keeperX, level.keeperY);
    ASSERT_TRUE(result.moves.has_value());
    EXPECT_TRUE(replaySolves(level.board, level.keeperX, level.keeperY, *result.moves));
}

TEST(GoalRooms, ACrowdedRoomIsSolvedInAFewPositions) {
    // One of the crowded test levels: before rooms were packed, a quarter of a million
    // positions did not solve it.
    const Level level = levelFromRows({
        "###############",
        "#.#. #        #",
        "#....#  # #  ##",
        "#*...#   $  # #",
        "#. $.#      # #",
        "###  #        #",
        "#  $         ##",
        "# $           #",
        "# $       #   #",
        "# $      #    #",
        "#  #     $@  ##",
        "# # $ $ # $$  #",
        "#            ##",
        "###############",
    });
    const SolveLimits few{.positions = 20'000};
    const SolverResult result = solveLevel(level.board, level.keeperX, level.keeperY, few);
    ASSERT_TRUE(result.moves.has_value());
    EXPECT_TRUE(replaySolves(level.board, level.keeperX, level.keeperY, *result.moves));
}

}  // namespace
}  // namespace quarbel::solving
