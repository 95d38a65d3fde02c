// The solver proves levels by solutions that the game's move engine replays to a solved
// board; it finds no solution where there is none.
#include <gtest/gtest.h>

#include <algorithm>

#include "shippedlevels.h"
#include "support/packbuilder.h"
#include "tools/leveltext.h"
#include "tools/roomgen.h"
#include "tools/solver.h"

namespace quarbel {
namespace {

using testing::levelFromRows;

SolverResult solveRows(const std::vector<std::string>& rows,
                       std::size_t stateLimit = DefaultStateLimit) {
    const PackLevel level = levelFromRows(rows);
    return solveLevel(level.board, level.keeperX, level.keeperY, stateLimit);
}

// One test per pack, so that the packs are proved side by side.
class ShippedPack : public ::testing::TestWithParam<testing::LevelSource> {};

TEST_P(ShippedPack, EveryLevelIsProvedAndMovesEveryCrateOnATarget) {
    const LevelCollection collection = readLevelText(GetParam().text).collection;
    ASSERT_FALSE(collection.levels.empty());
    for (std::size_t k = 0; k < collection.levels.size(); ++k) {
        SCOPED_TRACE("level " + std::to_string(k + 1));
        const auto fitted = packLevelOf(collection.levels[k]);
        ASSERT_TRUE(fitted.level.has_value()) << fitted.reason;
        const PackLevel& level = *fitted.level;
        const SolverResult result = solveLevel(level.board, level.keeperX, level.keeperY);
        ASSERT_TRUE(result.moves.has_value());
        EXPECT_TRUE(replaySolves(level.board, level.keeperX, level.keeperY, *result.moves));
        const SolutionMeasure measure =
            measureSolution(level.board, level.keeperX, level.keeperY, *result.moves);
        EXPECT_EQ(measure.pushes, result.pushes);
        EXPECT_FALSE(measure.idleCrateOnTarget) << "a crate that stays on its target is a wall";
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, ShippedPack, ::testing::ValuesIn(testing::shippedLevelSources()),
                         [](const auto& info) { return info.param.name; });

TEST(Solver, WalksBetweenPushes) {
    const SolverResult result = solveRows({
        "######",
        "#@   #",
        "# $  #",
        "###  #",
        "  #. #",
        "  ####",
    });
    ASSERT_TRUE(result.moves.has_value());
    // Push right from the left, walk round above the crate, push it down twice.
    EXPECT_EQ(*result.moves, (std::vector<std::uint16_t>{2, 7, 1, 3, 6, 6}));
    EXPECT_EQ(result.pushes, 3);
}

TEST(Solver, SolvesAnOpenRoomWithTwoCrates) {
    const PackLevel level = levelFromRows({
        "#######",
        "#.   .#",
        "#     #",
        "# $$  #",
        "#  @  #",
        "#######",
    });
    const SolverResult result = solveLevel(level.board, level.keeperX, level.keeperY);
    ASSERT_TRUE(result.moves.has_value());
    EXPECT_TRUE(replaySolves(level.board, level.keeperX, level.keeperY, *result.moves));
}

TEST(Solver, FindsNothingForACrateInACorner) {
    const SolverResult result = solveRows({
        "#####",
        "#$  #",
        "#@ .#",
        "#####",
    });
    EXPECT_FALSE(result.moves.has_value());
    EXPECT_EQ(result.statesSeen, 1u);
    EXPECT_TRUE(result.exhausted);
}

TEST(Solver, FindsNothingWhenTheCratesCanOnlySlideAlongAWall) {
    // Both crates stand on the wall row, and only one target is on it.
    const SolverResult result = solveRows({
        "######",
        "# $$.#",
        "#   .#",
        "# @  #",
        "######",
    });
    EXPECT_FALSE(result.moves.has_value());
    EXPECT_TRUE(result.exhausted) << "every position was searched";
}

TEST(Solver, GivesUpAtTheStateLimit) {
    const SolverResult result = solveRows(
        {
            "#######",
            "#.   .#",
            "#     #",
            "# $$  #",
            "#  @  #",
            "#######",
        },
        3);
    EXPECT_FALSE(result.moves.has_value());
    EXPECT_GE(result.statesSeen, 3u);
    EXPECT_FALSE(result.exhausted) << "stopped at the limit, the search proves nothing";
}

TEST(Solver, ASolvedLevelNeedsNoMoves) {
    const SolverResult result = solveRows({"####", "#@*#", "####"});
    ASSERT_TRUE(result.moves.has_value());
    EXPECT_TRUE(result.moves->empty());
}

TEST(Solver, DoesNotSearchLevelsItCannotJudge) {
    const PackLevel extraCrate = levelFromRows({"######", "#@$$.#", "#    #", "######"});
    EXPECT_FALSE(solveLevel(extraCrate.board, extraCrate.keeperX, extraCrate.keeperY).moves);
    const PackLevel offBoard = levelFromRows({"#####", "#@$.#", "#####"});
    EXPECT_FALSE(solveLevel(offBoard.board, 0, 2).moves);
    EXPECT_FALSE(solveLevel(offBoard.board, 1, 1).moves);  // on a wall
}

TEST(Solver, ReplayAcceptsOnlyMovesThatHappenAsRecorded) {
    const PackLevel level = levelFromRows({"######", "#@ $.#", "######"});
    const auto replay = [&](std::vector<std::uint16_t> moves) {
        return replaySolves(level.board, level.keeperX, level.keeperY, moves);
    };
    EXPECT_TRUE(replay({3, 7}));
    EXPECT_FALSE(replay({3}));        // the target is still empty
    EXPECT_FALSE(replay({3, 3}));     // the second step pushes, recorded as a walk
    EXPECT_FALSE(replay({7, 7}));     // the first step walks, recorded as a push
    EXPECT_FALSE(replay({1, 3, 7}));  // into the wall: no step happens
    EXPECT_FALSE(replay({3, 9}));     // not a move
}

}  // namespace
}  // namespace quarbel
