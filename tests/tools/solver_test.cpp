// The solver proves levels by solutions that the game's move engine replays to a solved
// board; it finds no solution where there is none.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <limits>
#include <thread>

#include "shippedlevels.h"
#include "support/packbuilder.h"
#include "tools/levelconvert.h"
#include "tools/roomgen.h"
#include "tools/solver.h"

namespace quarbel {
namespace {

using testing::levelFromRows;

SolverResult solveRows(const std::vector<std::string>& rows, const SolveLimits& limits = {}) {
    const Level level = levelFromRows(rows);
    return solveLevel(level.board, level.keeperX, level.keeperY, limits);
}

// One test per pack. A level with a stored solution is shown solvable by replaying it; the
// others, which the solver proves quickly, are proved side by side on every core.
class ShippedPack : public ::testing::TestWithParam<testing::LevelSource> {};

TEST_P(ShippedPack, EveryLevelIsSolvedAndMovesEveryCrateOnATarget) {
    const LevelCollection collection = readLevelText(GetParam().text).collection;
    ASSERT_FALSE(collection.levels.empty());
    const LevelCollection stored = readLevelText(GetParam().solutions).collection;
    if (!GetParam().solutions.empty()) {
        ASSERT_EQ(stored.levels.size(), collection.levels.size());
    }
    std::vector<LevelToSolve> levels;
    std::vector<LevelToSolve> unsolved;
    for (std::size_t k = 0; k < collection.levels.size(); ++k) {
        const auto fitted = packLevelOf(collection.levels[k]);
        ASSERT_TRUE(fitted.level.has_value()) << "level " << k + 1 << ": " << fitted.reason;
        levels.push_back({fitted.level->board, fitted.level->keeperX, fitted.level->keeperY});
        if (stored.levels.empty()) unsolved.push_back(levels.back());
    }
    // Bounded by positions as the generator proved them, not by the clock: a busy machine or a
    // sanitizer would otherwise fail a level that is fine.
    const SolveLimits asGenerated{.seconds = std::numeric_limits<double>::infinity(),
                                  .positions = GeneratorLimits{}.proofPositions};
    const std::vector<SolverResult> results = solveLevels(unsolved, asGenerated);
    for (std::size_t k = 0; k < levels.size(); ++k) {
        SCOPED_TRACE("level " + std::to_string(k + 1));
        const LevelToSolve& level = levels[k];
        std::vector<std::uint16_t> moves;
        if (stored.levels.empty()) {
            ASSERT_TRUE(results[k].moves.has_value());
            moves = *results[k].moves;
        } else {
            ASSERT_EQ(stored.levels[k].rows, collection.levels[k].rows) << "another level";
            moves = movesOfNotation(stored.levels[k].solution);
        }
        EXPECT_TRUE(replaySolves(level.board, level.keeperX, level.keeperY, moves));
        const SolutionMeasure measure =
            measureSolution(level.board, level.keeperX, level.keeperY, moves);
        EXPECT_FALSE(measure.idleCrateOnTarget) << "a crate that stays on its target is a wall";
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, ShippedPack, ::testing::ValuesIn(testing::shippedLevelSources()),
                         [](const auto& info) { return info.param.name; });

// Six crates in a wide hall with five targets; the sixth is behind the right of two doors,
// where a crate pushed through can be pushed on only from the left, and the way round through
// the left door is shut by a crate that can never leave its target: no solution, and far more
// positions than the limits below allow.
const std::vector<std::string> CrowdedHall = {
    "###############", "#             #", "# $ $ $ $ $ $ #", "#             #", "# .  . . . .  #",
    "#             #", "#      @      #", "#### ## #######", "####*   .######", "###############",
};

TEST(Solver, SolvesLevelsOnEveryCoreAtOnce) {
    // Every search waits in its watch until the other one has started too: with one search at a
    // time the first would never go on, and the watch gives up after a while.
    const Level hall = levelFromRows(CrowdedHall);
    const std::vector<LevelToSolve> levels(2, {hall.board, hall.keeperX, hall.keeperY});
    if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "one core only";
    std::atomic<int> searching = 0;
    std::atomic<bool> metTheOther = false;
    thread_local bool counted = false;
    const auto results = solveLevels(levels, {}, [&](std::size_t) {
        if (!counted) {
            counted = true;
            ++searching;
        }
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (searching < 2 && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::yield();
        metTheOther = metTheOther || searching == 2;
        return false;
    });
    EXPECT_TRUE(metTheOther);
    for (const SolverResult& result : results)
        EXPECT_FALSE(result.exhausted) << "a stopped search proves nothing";
}

TEST(Solver, SearchesOneLevelOnTwoCores) {
    if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "one core only";
    // Neither search finds an answer, so each spends its own budget: the process twice that.
    const std::clock_t before = std::clock();
    const SolverResult result = solveRows(CrowdedHall, {0.5});
    const double processSeconds = static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC;
    EXPECT_FALSE(result.moves.has_value());
    EXPECT_FALSE(result.exhausted);
    EXPECT_GT(processSeconds, 0.9);
    // Stopped by its watch, the search stops on both cores at once.
    const Level hall = levelFromRows(CrowdedHall);
    const std::clock_t stopping = std::clock();
    const SolverResult stopped =
        solveLevel(hall.board, hall.keeperX, hall.keeperY, {}, [](std::size_t) { return false; });
    EXPECT_FALSE(stopped.exhausted) << "a stopped search proves nothing";
    EXPECT_LT(static_cast<double>(std::clock() - stopping) / CLOCKS_PER_SEC, 2.0);
}

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

TEST(Solver, EachSearchAloneGivesMovesTheGameReplays) {
    const Level room = levelFromRows({
        "#######",
        "#  .. #",
        "# $ ..#",
        "#  $$ #",
        "# $  @#",
        "#     #",
        "#######",
    });
    for (SearchWay way : {SearchWay::Forwards, SearchWay::Backwards}) {
        const SolverResult result =
            solveLevelOneWay(room.board, room.keeperX, room.keeperY, way, {});
        ASSERT_TRUE(result.moves.has_value());
        EXPECT_TRUE(replaySolves(room.board, room.keeperX, room.keeperY, *result.moves));
    }
}

TEST(Solver, SolvesAnOpenRoomWithTwoCrates) {
    const Level level = levelFromRows({
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
    EXPECT_LE(result.statesSeen, 1u) << "known before any push";
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

TEST(Solver, ACorralTheKeeperCanNeverOpenIsADeadlock) {
    // Pushed through the door, the crate can never be pushed aside onto the target: the
    // keeper would have to stand beside it, shut out below.
    const SolverResult shutOut = solveRows({
        "#######",
        "#@    #",
        "#  $  #",
        "### ###",
        "##.  ##",
        "#######",
    });
    EXPECT_FALSE(shutOut.moves.has_value());
    EXPECT_TRUE(shutOut.exhausted);
    // A second door lets the keeper round: the same crate below is no deadlock then.
    const SolverResult secondDoor = solveRows({
        "#######",
        "#@    #",
        "#  $  #",
        "### # #",
        "##.   #",
        "#######",
    });
    ASSERT_TRUE(secondDoor.moves.has_value());
    EXPECT_EQ(secondDoor.pushes, 3);
}

TEST(Solver, ACrateGoesWhereItsKeeperCanFollow) {
    // Along the corridor, past the nook, the keeper pushes from behind all the way.
    const SolverResult corridor = solveRows({
        "########",
        "### ####",
        "#@$   .#",
        "########",
    });
    ASSERT_TRUE(corridor.moves.has_value());
    EXPECT_EQ(corridor.pushes, 4);
    // A crate pushed through the door can go on only to the right, and the keeper can never
    // get to its left: the level is known unsolvable long before the hall has been searched.
    const SolverResult hall = solveRows(
        {
            "###############",
            "#             #",
            "# $ $ $ $ $ $ #",
            "#             #",
            "# .  . . . .  #",
            "#             #",
            "#      @      #",
            "####### #######",
            "######.  ######",
            "###############",
        },
        {.positions = 100000});
    EXPECT_FALSE(hall.moves.has_value());
    EXPECT_TRUE(hall.exhausted);
    EXPECT_LT(hall.statesSeen, 1000u);
}

TEST(Solver, ACorralOfCratesOnTheirTargetsIsLeftAlone) {
    // The two crates on their targets shut in a square; pushing either of them in would wreck
    // the level, so only the crate on the right may be pushed.
    const SolverResult result = solveRows({
        "#######",
        "# *   #",
        "#*# $.#",
        "#  @  #",
        "#######",
    });
    ASSERT_TRUE(result.moves.has_value());
    EXPECT_EQ(result.pushes, 1);
}

TEST(Solver, GivesUpAtItsTimeBudget) {
    const auto started = std::chrono::steady_clock::now();
    const SolverResult result = solveRows(CrowdedHall, {0.3});
    EXPECT_FALSE(result.moves.has_value());
    EXPECT_GT(result.statesSeen, 1u);
    EXPECT_FALSE(result.exhausted) << "stopped by the clock, the search proves nothing";
    // Processor time, so a loaded machine may stretch it; far below what it would take to
    // search on.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

TEST(Solver, StaysWithinItsMemoryBudget) {
    const SolveLimits limits{100, 4 << 20};
    const SolverResult small = solveRows(CrowdedHall, limits);
    EXPECT_FALSE(small.moves.has_value());
    EXPECT_FALSE(small.exhausted) << "out of memory, the search proves nothing";
    // Each position takes more than 8 bytes, so a few megabytes hold well under a million.
    EXPECT_GT(small.statesSeen, 1000u);
    EXPECT_LT(small.statesSeen, (4u << 20) / 8);
}

TEST(Solver, ASolvedLevelNeedsNoMoves) {
    const SolverResult result = solveRows({"####", "#@*#", "####"});
    ASSERT_TRUE(result.moves.has_value());
    EXPECT_TRUE(result.moves->empty());
}

TEST(Solver, DoesNotSearchLevelsItCannotJudge) {
    const Level extraCrate = levelFromRows({"######", "#@$$.#", "#    #", "######"});
    EXPECT_FALSE(solveLevel(extraCrate.board, extraCrate.keeperX, extraCrate.keeperY).moves);
    const Level offBoard = levelFromRows({"#####", "#@$.#", "#####"});
    EXPECT_FALSE(solveLevel(offBoard.board, 0, 2).moves);
    EXPECT_FALSE(solveLevel(offBoard.board, 1, 1).moves);     // on a wall
    EXPECT_FALSE(solveRows({"####", "#@ #", "####"}).moves);  // no crates
}

TEST(Solver, ReplayAcceptsOnlyMovesThatHappenAsRecorded) {
    const Level level = levelFromRows({"######", "#@ $.#", "######"});
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
