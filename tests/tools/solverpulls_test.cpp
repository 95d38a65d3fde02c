// The search backwards: crates pulled off their targets until they stand where the level
// starts them, with the keeper able to walk to its start; its pulls back to front solve the
// level.
#include <gtest/gtest.h>

#include "support/packbuilder.h"
#include "tools/solverpulls.h"

namespace quarbel::solving {
namespace {

struct Searched {
    std::optional<std::vector<Push>> pushes;
    bool exhausted = false;
    // Every push can be made in turn, and the last leaves every crate on a target.
    bool solves = false;
};

Searched searchBackwards(const std::vector<std::string>& rows) {
    const Level level = testing::levelFromRows(rows);
    const Maze maze = mazeOf(level.board);
    CrateSet crates = cratesOf(level.board);
    int keeper = cellIndex(level.keeperX, level.keeperY);
    const SolveLimits limits{.positions = 100000};
    PullSearch search(maze, crates, limits, {}, 2);
    Searched searched{search.run(keeper), search.exhausted()};
    if (!searched.pushes) return searched;
    Region region;
    for (const Push& push : *searched.pushes) {
        const int to = push.from + Steps[push.direction];
        region.flood(maze, crates, keeper);
        if (!crates.has(push.from) || crates.has(to) || maze.wall[to] ||
            !region.has(push.from - Steps[push.direction]))
            return searched;
        crates.clear(push.from);
        crates.set(to);
        keeper = push.from;
    }
    searched.solves =
        std::all_of(maze.targets.begin(), maze.targets.end(), [&](int t) { return crates.has(t); });
    return searched;
}

TEST(PullSearch, UnpacksACrowdedCornerIntoASolution) {
    const Searched packed = searchBackwards({
        "########",
        "#..#   #",
        "#..  $ #",
        "#   $$ #",
        "#  $  @#",
        "#      #",
        "########",
    });
    ASSERT_TRUE(packed.pushes.has_value());
    EXPECT_TRUE(packed.solves);
}

TEST(PullSearch, TheKeeperMayEndShutInBetweenCrates) {
    // The last push leaves the keeper between the two crates, where no other part of the floor
    // is joined.
    const Searched between = searchBackwards({"#########", "#.$ @ $.#", "#########"});
    ASSERT_TRUE(between.pushes.has_value());
    EXPECT_TRUE(between.solves);
    EXPECT_EQ(between.pushes->size(), 2u);
}

TEST(PullSearch, TheCratesBackAtTheStartAreNotEnoughWithoutTheKeeper) {
    // Shut in on the left, the keeper can never reach the crate; pulled back to where it starts
    // with the keeper on the right, it is not the level's start.
    const Searched shutIn = searchBackwards({"#######", "#@# $.#", "#######"});
    EXPECT_FALSE(shutIn.pushes.has_value());
    EXPECT_TRUE(shutIn.exhausted);
}

}  // namespace
}  // namespace quarbel::solving
