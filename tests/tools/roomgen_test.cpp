// The level generator: what it measures in a solution, and the levels it makes of drawn
// rooms.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/packbuilder.h"
#include "tools/levelconvert.h"
#include "tools/roomgen.h"

namespace quarbel {
namespace {

using testing::levelFromRows;

SolutionMeasure measureOf(const std::vector<std::string>& rows, const std::string& letters) {
    const Level level = levelFromRows(rows);
    return measureSolution(level.board, level.keeperX, level.keeperY, movesOfNotation(letters));
}

TextLevel roomOf(std::vector<std::string> rows, int crates = 0) {
    TextLevel room;
    room.rows = std::move(rows);
    room.author = "QUARBEL 98";
    if (crates > 0) room.properties.push_back({"Crates", std::to_string(crates)});
    return room;
}

int count(const TextLevel& level, const std::string& cells) {
    int n = 0;
    for (const auto& row : level.rows)
        n += static_cast<int>(std::count_if(
            row.begin(), row.end(), [&](char c) { return cells.find(c) != std::string::npos; }));
    return n;
}

const GeneratorLimits Small{.pullPositions = 20'000, .proofPositions = 20'000};

// A hall of 13 by 9 squares of floor inside its walls.
std::vector<std::string> openHall() {
    std::vector<std::string> hall(11, "#" + std::string(13, ' ') + "#");
    hall.front() = hall.back() = std::string(15, '#');
    return hall;
}

// The hall with eight target squares round the floor square in its middle.
std::vector<std::string> hallWithATargetRing() {
    std::vector<std::string> hall = openHall();
    hall[4].replace(6, 3, "...");
    hall[5].replace(6, 3, ". .");
    hall[6].replace(6, 3, "...");
    return hall;
}

// The solution stored with the level solves it in the game's engine.
bool solutionReplays(const GeneratedLevel& made) {
    const Level board = packLevelOf(made.level).level.value();
    return replaySolves(board.board, board.keeperX, board.keeperY,
                        movesOfNotation(made.level.solution));
}

TEST(RoomGenerator, CountsSwitchesAndCratesThatWait) {
    const std::vector<std::string> twoCrates = {"#########", "#. $@$ .#", "#########"};
    const SolutionMeasure oneAfterTheOther = measureOf(twoCrates, "LLrrRR");
    EXPECT_EQ(oneAfterTheOther.pushes, 4);
    EXPECT_EQ(oneAfterTheOther.moves, 6);
    EXPECT_EQ(oneAfterTheOther.switches, 1);
    EXPECT_EQ(oneAfterTheOther.waitingCrates, 0);

    // Left crate one step, right crate one step, then each again: both wait for the other.
    const SolutionMeasure turnAbout = measureOf(twoCrates, "LrRllLrrrR");
    EXPECT_EQ(turnAbout.pushes, 4);
    EXPECT_EQ(turnAbout.switches, 3);
    EXPECT_EQ(turnAbout.waitingCrates, 2);
    EXPECT_FALSE(turnAbout.idleCrateOnTarget);
    EXPECT_GT(difficultyOf(turnAbout), difficultyOf(oneAfterTheOther));
}

TEST(RoomGenerator, SeesACrateThatNeverLeavesItsTarget) {
    EXPECT_TRUE(measureOf({"#######", "#*@$ .#", "#######"}, "RR").idleCrateOnTarget);
    // Moved off and back on, it counts as pushed.
    EXPECT_FALSE(measureOf({"######", "#.*@ #", "######"}, "LrR").idleCrateOnTarget);
}

TEST(RoomGenerator, PutsTheCrateAsFarAsPullingTakesIt) {
    const GeneratedLevel made = generateLevel(roomOf({"########", "#.     #", "########"}), 1);
    EXPECT_EQ(made.level.rows, (std::vector<std::string>{"########", "#.   $@#", "########"}));
    EXPECT_EQ(made.measure.pushes, 4);
    EXPECT_EQ(made.level.author, "QUARBEL 98");
    EXPECT_EQ(made.level.solution, "LLLL");
}

TEST(RoomGenerator, PlacesAsManyCratesAsAskedOnDrawnTargetSquares) {
    const TextLevel room =
        roomOf({"#########", "#.  #  .#", "#  . .  #", "#   #   #", "#########"}, 2);
    const GeneratedLevel made = generateLevel(room, 3, Small);
    EXPECT_EQ(count(made.level, "$*"), 2);
    EXPECT_EQ(count(made.level, ".*+"), 2);
    for (std::size_t y = 0; y < room.rows.size(); ++y) {
        for (std::size_t x = 0; x < made.level.rows[y].size(); ++x) {
            if (std::string(".*+").find(made.level.rows[y][x]) != std::string::npos) {
                EXPECT_EQ(room.rows[y][x], '.') << "a target where none was drawn";
            }
        }
    }
    // The same room gives the same level.
    EXPECT_EQ(generateLevel(room, 3, Small).level.rows, made.level.rows);
    EXPECT_GE(made.measure.pushes, 4);
}

TEST(RoomGenerator, TakesTheStartFarthestFromSolvedInAHallTooLargeToSearch) {
    // Four targets in the middle of an open hall: far more positions than the limit lets the
    // pulls find, so the layers no longer tell how far a start is.
    std::vector<std::string> hall = openHall();
    hall[5].replace(6, 3, "...");
    hall[6][7] = '.';
    const GeneratedLevel made =
        generateLevel(roomOf(hall), 1, {.pullPositions = 60'000, .proofPositions = 20'000});
    EXPECT_EQ(count(made.level, "$"), 4) << "every crate starts off the targets";
    // Spread out from the middle, most crates two or three pushes from the nearest target.
    EXPECT_GE(made.measure.pushes, 10);
}

TEST(RoomGenerator, PullsManyCratesCloseTogetherFarApart) {
    // Eight crates on a block of targets: a few pulls give more positions than the limit, and
    // the pulls go on along the farthest of them.
    const GeneratedLevel made = generateLevel(roomOf(hallWithATargetRing()), 1,
                                              {.pullPositions = 100'000, .proofPositions = 50'000});
    EXPECT_EQ(count(made.level, "$"), 8) << "every crate starts off the targets";
    EXPECT_GE(made.measure.pushes, 16);
    EXPECT_TRUE(solutionReplays(made));
}

TEST(RoomGenerator, ProvesFurtherStartsForARoomThatAsksTheSolverToSearch) {
    // Eight crates round pillars in a hall: the farthest starts are quick to prove.
    std::vector<std::string> hall = hallWithATargetRing();
    for (auto [x, y] : {std::pair{3, 2}, {11, 8}, {10, 3}, {4, 7}})
        hall[y][x] = '#';
    const GeneratorLimits limits{.pullPositions = 100'000, .proofPositions = 50'000};
    const GeneratedLevel first = generateLevel(roomOf(hall), 1, limits);

    // Asking for more than any start needs, the generator goes on through further starts and
    // keeps the most demanding of them.
    TextLevel asking = roomOf(hall);
    asking.properties.push_back({"Positions", "20000"});
    const GeneratedLevel demanding = generateLevel(asking, 1, limits);
    EXPECT_GT(demanding.positions, first.positions);
    EXPECT_EQ(count(demanding.level, "$"), 8);
    const Level board = packLevelOf(demanding.level).level.value();
    // The solver answers when the first of its two searches does: a start is as demanding as
    // the quicker one finds it.
    const SolveLimits proof{.positions = limits.proofPositions};
    const SolverResult forwards =
        solveLevelOneWay(board.board, board.keeperX, board.keeperY, SearchWay::Forwards, proof);
    const SolverResult backwards =
        solveLevelOneWay(board.board, board.keeperX, board.keeperY, SearchWay::Backwards, proof);
    EXPECT_EQ(demanding.positions, std::min(forwards.statesSeen, backwards.statesSeen));
    EXPECT_TRUE(solutionReplays(demanding));
}

TEST(RoomGenerator, LeavesOutACrateThatCouldNeverLeaveItsTarget) {
    // A crate in the top left notch cannot be pulled out: the keeper has no room behind him.
    const GeneratedLevel made = generateLevel(
        roomOf({"#######", "#.#####", "#     #", "##  . #", "#     #", "#######"}), 1, Small);
    EXPECT_EQ(count(made.level, "$*"), 1);
    EXPECT_EQ(count(made.level, ".*+"), 1);
    EXPECT_EQ(made.level.rows[1][1], ' ');
    EXPECT_FALSE(made.measure.idleCrateOnTarget);
}

TEST(RoomGenerator, NamesTheRoomThatGivesNoLevel) {
    auto failure = [](const TextLevel& room) {
        try {
            generateLevel(room, 7, Small);
        } catch (const LevelTextError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(failure(roomOf({"#####", "#   #", "#####"})),
              "room 7: no target square inside the walls");
    EXPECT_EQ(failure(roomOf({"#####", "#. .#", "#####"}, 3)),
              "room 7: \"Crates: 3\" is no count from 1 to 2");
    TextLevel asking = roomOf({"#####", "#. .#", "#####"});
    asking.properties.push_back({"Positions", "0"});
    EXPECT_EQ(failure(asking), "room 7: \"Positions: 0\" is no count from 1 to 1300000");
    EXPECT_EQ(failure(roomOf({"####", "#.##", "#  #", "####"})),
              "room 7: no crate can be pulled off its target");
    EXPECT_EQ(failure(roomOf(
                  {std::string(16, '#'), "#." + std::string(13, ' ') + "#", std::string(16, '#')})),
              "room 7: larger than 15 x 15");

    LevelCollection rooms;
    rooms.levels = {roomOf({"#####", "#   #", "#####"}), roomOf({"####", "#.##", "#  #", "####"})};
    try {
        generatePack(rooms, Small);
        ADD_FAILURE() << "no error";
    } catch (const LevelTextError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "room 1: no target square inside the walls; "
                  "room 2: no crate can be pulled off its target");
    }
}

TEST(RoomGenerator, OrdersAPackEasiestFirst) {
    LevelCollection rooms;
    rooms.levels = {roomOf({"#########", "#.  #  .#", "#  . .  #", "#   #   #", "#########"}),
                    roomOf({"#######", "#.    #", "#######"})};
    const std::vector<GeneratedLevel> pack = generatePack(rooms, Small);
    ASSERT_EQ(pack.size(), 2u);
    EXPECT_EQ(pack[0].level.rows.size(), 3u) << "the corridor comes first";
    EXPECT_LT(difficultyOf(pack[0].measure), difficultyOf(pack[1].measure));
}

}  // namespace
}  // namespace quarbel
