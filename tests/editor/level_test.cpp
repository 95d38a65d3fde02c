// Painting, shifting, centring and checking one level, and the limits of the pack's texts.
#include <gtest/gtest.h>

#include <cmath>

#include "editor/level.h"
#include "support/packbuilder.h"
#include "tools/levelconvert.h"

namespace quarbel::editor {
namespace {

std::vector<std::string> rowsOf(const Level& level, int height) {
    std::vector<std::string> rows = testing::rowsOf(level.board, level.keeperX, level.keeperY);
    rows.resize(static_cast<std::size_t>(height));
    for (std::string& row : rows)
        row.erase(row.find_last_not_of(' ') + 1);
    return rows;
}

TEST(Painting, EachToolPutsItsCell) {
    Level level;
    EXPECT_TRUE(paintCell(level, 1, 1, Tool::Wall));
    EXPECT_TRUE(paintCell(level, 2, 1, Tool::Crate));
    EXPECT_TRUE(paintCell(level, 3, 1, Tool::Target));
    EXPECT_TRUE(paintCell(level, 4, 1, Tool::CrateOnTarget));
    EXPECT_TRUE(paintCell(level, 5, 1, Tool::Wall));
    EXPECT_TRUE(paintCell(level, 5, 1, Tool::Floor));
    EXPECT_EQ(rowsOf(level, 1), (std::vector<std::string>{"#$.*"}));
    EXPECT_FALSE(paintCell(level, 1, 1, Tool::Wall)) << "painting the same cell changes nothing";
    EXPECT_FALSE(paintCell(level, 0, 1, Tool::Wall));
    EXPECT_FALSE(paintCell(level, 16, 1, Tool::Wall));
}

TEST(Painting, ThereIsOnlyOneKeeperAndHeMoves) {
    Level level = testing::levelFromRows({"#@ $*#"});
    EXPECT_TRUE(paintCell(level, 3, 1, Tool::Keeper));
    EXPECT_EQ(rowsOf(level, 1), (std::vector<std::string>{"# @$*#"}));
    // Put on a crate he stands on floor; on a crate on a target, on the target; on a wall,
    // on floor.
    EXPECT_TRUE(paintCell(level, 4, 1, Tool::Keeper));
    EXPECT_EQ(rowsOf(level, 1), (std::vector<std::string>{"#  @*#"}));
    EXPECT_TRUE(paintCell(level, 5, 1, Tool::Keeper));
    EXPECT_EQ(rowsOf(level, 1), (std::vector<std::string>{"#   +#"}));
    EXPECT_TRUE(paintCell(level, 6, 1, Tool::Keeper));
    EXPECT_EQ(rowsOf(level, 1), (std::vector<std::string>{"#   .@"}));
}

TEST(Painting, FloorAndTargetKeepTheKeeperWallsAndCratesRemoveHim) {
    Level level = testing::levelFromRows({"#@  #"});
    EXPECT_TRUE(paintCell(level, 2, 1, Tool::Target));
    EXPECT_EQ(rowsOf(level, 1), (std::vector<std::string>{"#+  #"}));
    EXPECT_TRUE(paintCell(level, 2, 1, Tool::Floor));
    EXPECT_TRUE(level.hasKeeper());
    EXPECT_TRUE(paintCell(level, 2, 1, Tool::Crate));
    EXPECT_FALSE(level.hasKeeper());
    EXPECT_EQ(rowsOf(level, 1), (std::vector<std::string>{"#$  #"}));
}

TEST(Painting, ALineStepsFromNeighbourToNeighbour) {
    const std::vector<Cell> straight = lineCells({2, 3}, {5, 3});
    EXPECT_EQ(straight, (std::vector<Cell>{{2, 3}, {3, 3}, {4, 3}, {5, 3}}));
    EXPECT_EQ(lineCells({4, 4}, {4, 4}), (std::vector<Cell>{{4, 4}}));
    for (auto [from, to] : {std::pair<Cell, Cell>{{1, 1}, {15, 6}},
                            {{9, 14}, {2, 2}},
                            {{3, 12}, {12, 3}},
                            {{7, 1}, {8, 15}}}) {
        const std::vector<Cell> cells = lineCells(from, to);
        ASSERT_EQ(cells.front(), from);
        ASSERT_EQ(cells.back(), to);
        EXPECT_EQ(cells.size(),
                  static_cast<std::size_t>(std::abs(to.x - from.x) + std::abs(to.y - from.y) + 1));
        for (std::size_t i = 1; i < cells.size(); ++i) {
            EXPECT_EQ(std::abs(cells[i].x - cells[i - 1].x) + std::abs(cells[i].y - cells[i - 1].y),
                      1);
            // No cell strays more than a cell from the ideal line.
            const double t =
                (cells[i].x - from.x) * (to.x - from.x) + (cells[i].y - from.y) * (to.y - from.y);
            const double length2 =
                (to.x - from.x) * (to.x - from.x) + (to.y - from.y) * (to.y - from.y);
            const double px = from.x + (to.x - from.x) * t / length2;
            const double py = from.y + (to.y - from.y) * t / length2;
            EXPECT_LT(std::hypot(cells[i].x - px, cells[i].y - py), 1.0);
        }
    }
}

TEST(Shifting, MovesEverythingByOneCellWhereItFits) {
    Level level = testing::levelFromRows({"####", "#@$.#", "####"});
    EXPECT_FALSE(shiftLevel(level, -1, 0)) << "the wall is in the first column";
    EXPECT_FALSE(shiftLevel(level, 0, -1)) << "the wall is in the first row";
    EXPECT_TRUE(shiftLevel(level, 1, 0));
    EXPECT_TRUE(shiftLevel(level, 0, 1));
    EXPECT_EQ(rowsOf(level, 4), (std::vector<std::string>{"", " ####", " #@$.#", " ####"}));
    EXPECT_EQ(level.keeperX, 3);
    EXPECT_EQ(level.keeperY, 3);
    EXPECT_TRUE(shiftLevel(level, -1, -1));
    EXPECT_EQ(rowsOf(level, 3), (std::vector<std::string>{"####", "#@$.#", "####"}));
}

TEST(Shifting, StopsAtTheFarEdgeAndCountsTheKeeper) {
    Level level;
    paintCell(level, 14, 15, Tool::Keeper);
    EXPECT_FALSE(shiftLevel(level, 0, 1));
    EXPECT_TRUE(shiftLevel(level, 1, 0));
    EXPECT_FALSE(shiftLevel(level, 1, 0));
    EXPECT_EQ(level.keeperX, 15);
    Level empty;
    EXPECT_FALSE(shiftLevel(empty, 1, 0));
}

TEST(Centring, PlacesTheLevelAsThePackToolsImportDoes) {
    const std::vector<std::string> rows = {"#####", "#@$.#", "#####"};
    Level level = testing::levelFromRows(rows);
    EXPECT_TRUE(centreLevel(level));
    TextLevel text;
    text.rows = rows;
    const Level imported = packLevelOf(text).level.value();
    EXPECT_EQ(level.board, imported.board);
    EXPECT_EQ(level.keeperX, imported.keeperX);
    EXPECT_EQ(level.keeperY, imported.keeperY);
    EXPECT_FALSE(centreLevel(level)) << "a centred level stays where it is";
    Level empty;
    EXPECT_FALSE(centreLevel(empty));
}

TEST(TextLimits, TitleHoldsTwentyNineAndAnAuthorTwelveWindows1252Characters) {
    EXPECT_TRUE(fitsPackTitle(""));
    EXPECT_TRUE(fitsPackTitle(std::string(29, 'x')));
    EXPECT_FALSE(fitsPackTitle(std::string(30, 'x')));
    // "é" and "€" are two and three bytes of UTF-8 but one byte in the pack.
    EXPECT_TRUE(fitsPackTitle("Caf\u00e9 \u20ac" + std::string(23, 'x')));
    EXPECT_FALSE(fitsPackTitle("\u4e2d"));  // not in Windows-1252
    EXPECT_FALSE(fitsPackTitle("two\rlines"));
    EXPECT_TRUE(fitsAuthor(std::string(12, 'a')));
    EXPECT_FALSE(fitsAuthor(std::string(13, 'a')));
    EXPECT_TRUE(fitsAuthor("J\u00fcrgen M\u00fclle"));  // 12 characters, 14 bytes of UTF-8
    EXPECT_FALSE(fitsAuthor("tab\there"));
}

}  // namespace
}  // namespace quarbel::editor
