// One level value: the notation of its squares, and what keeps a level from being played.
#include <gtest/gtest.h>

#include <string>

#include "core/level.h"
#include "support/packbuilder.h"

namespace quarbel {
namespace {

TEST(Notation, EverySymbolStandsForOneSquareAndBack) {
    for (const char symbol : std::string(" #$.*@+")) {
        const std::optional<Square> square = squareOfSymbol(symbol);
        ASSERT_TRUE(square) << symbol;
        EXPECT_EQ(symbolOf(*square), symbol);
    }
    EXPECT_EQ(squareOfSymbol('+')->cell, CellTarget);
    EXPECT_TRUE(squareOfSymbol('+')->keeper);
    EXPECT_EQ(squareOfSymbol('-'), std::nullopt);
    EXPECT_EQ(squareOfSymbol('_'), std::nullopt);
    EXPECT_EQ(symbolOf({7, false}), '?') << "a cell code the game does not know";
}

TEST(LevelProblems, AskForOneKeeperOnFloorOrTargetAndMatchingCrates) {
    EXPECT_TRUE(levelProblems(testing::levelFromRows({"#@$.#"})).empty());
    EXPECT_TRUE(levelProblems(testing::levelFromRows({"#+*$#"})).empty())
        << "the keeper may stand on a target";
    // Cells the keeper cannot reach are outside the room and allowed.
    EXPECT_TRUE(levelProblems(testing::levelFromRows({"#@$.#  $ .", "#####"})).empty());

    EXPECT_EQ(levelProblems(testing::levelFromRows({"# $.#"})),
              (std::vector<std::string>{"no keeper"}));
    Level onWall = testing::levelFromRows({"#@$.#"});
    onWall.board.at(2, 1) = CellWall;  // as a damaged pack may hold it
    EXPECT_EQ(levelProblems(onWall),
              (std::vector<std::string>{"the keeper stands on a wall or a crate"}));
    EXPECT_EQ(levelProblems(testing::levelFromRows({"#@$$.#"})),
              (std::vector<std::string>{"2 crates but 1 target"}));
    EXPECT_EQ(levelProblems(testing::levelFromRows({"#@$..#"})),
              (std::vector<std::string>{"1 crate but 2 targets"}));
    EXPECT_EQ(levelProblems(testing::levelFromRows({"#@ .#"})),
              (std::vector<std::string>{"no crates"}));
    EXPECT_EQ(levelProblems(Level{}), (std::vector<std::string>{"no keeper", "no crates"}));
}

}  // namespace
}  // namespace quarbel
