// The document changes only through edits, and every edit undoes and redoes as one step:
// a drag, a shift, typing into a field, and changes to the level list.
#include <gtest/gtest.h>

#include <algorithm>

#include "editor/document.h"
#include "support/packbuilder.h"

namespace quarbel::editor {
namespace {

// A document holding the levels, with a log of the changes it reports.
struct Fixture {
    Document document;
    std::vector<Change> changes;

    explicit Fixture(std::vector<Level> levels = {testing::levelFromRows({"#@$.#"})}) {
        document.reset({"Pack", std::move(levels)});
        document.listen([this](const Change& change) { changes.push_back(change); });
    }
    std::vector<std::string> authors() const {
        std::vector<std::string> names;
        for (const Level& level : document.pack().levels)
            names.push_back(level.author);
        return names;
    }
};

bool reported(const std::vector<Change>& changes, Change::Kind kind, int index = 0, int to = 0) {
    for (const Change& change : changes) {
        if (change.kind == kind && change.index == index && change.to == to) return true;
    }
    return false;
}

TEST(Document, ANewPackHasOneEmptyLevelAndNoChanges) {
    Document document;
    EXPECT_EQ(document.levelCount(), 1);
    EXPECT_EQ(document.level(0), Level{});
    EXPECT_FALSE(document.modified());
    EXPECT_FALSE(document.abilities().undo);
}

TEST(Document, ADragIsOneUndoStep) {
    Fixture f({Level{}});
    const int stroke = f.document.beginStroke();
    EXPECT_TRUE(f.document.paintLine(0, {1, 1}, {1, 1}, Tool::Wall, stroke));
    EXPECT_TRUE(f.document.paintLine(0, {1, 1}, {4, 1}, Tool::Wall, stroke));
    EXPECT_TRUE(f.document.paintLine(0, {4, 1}, {4, 3}, Tool::Wall, stroke));
    EXPECT_FALSE(f.document.paintLine(0, {4, 3}, {4, 3}, Tool::Wall, stroke));
    int walls = 0;
    for (std::uint8_t cell : f.document.level(0).board.cells)
        walls += cell == CellWall;
    EXPECT_EQ(walls, 6);
    EXPECT_TRUE(reported(f.changes, Change::Kind::Level, 0));

    const int second = f.document.beginStroke();
    f.document.paintLine(0, {8, 8}, {9, 8}, Tool::Crate, second);
    ASSERT_TRUE(f.document.undo());
    EXPECT_EQ(f.document.level(0).board.at(8, 8), CellEmpty);
    EXPECT_EQ(f.document.level(0).board.at(4, 3), CellWall) << "only the second drag undone";
    ASSERT_TRUE(f.document.undo());
    EXPECT_EQ(f.document.level(0), Level{});
    EXPECT_FALSE(f.document.abilities().undo);
    EXPECT_FALSE(f.document.modified());
    ASSERT_TRUE(f.document.redo());
    EXPECT_EQ(f.document.level(0).board.at(4, 3), CellWall);
    EXPECT_EQ(f.document.level(0).board.at(8, 8), CellEmpty);
}

TEST(Document, KeeperMovesAndShiftsUndoOneByOne) {
    Fixture f({testing::levelFromRows({" #####", " #@$.#", " #####"})});
    const Level start = f.document.level(0);
    f.document.paintLine(0, {3, 2}, {3, 2}, Tool::Floor, f.document.beginStroke());
    EXPECT_FALSE(f.document.abilities().undo) << "floor under the keeper changes nothing";
    f.document.paintLine(0, {10, 10}, {10, 10}, Tool::Keeper, f.document.beginStroke());
    EXPECT_TRUE(f.document.shift(0, -1, 0));
    EXPECT_FALSE(f.document.shift(0, 0, -1)) << "the top wall would leave the grid";
    EXPECT_EQ(f.document.level(0).keeperX, 9);
    f.document.undo();
    EXPECT_EQ(f.document.level(0).keeperX, 10);
    f.document.undo();
    EXPECT_EQ(f.document.level(0), start);
    EXPECT_TRUE(f.document.centre(0));
    f.document.undo();
    EXPECT_EQ(f.document.level(0), start);
}

TEST(Document, UndoAndRedoCoverChangesToTheLevelList) {
    Fixture f({testing::levelFromRows({"#@$.#"}, "a"), testing::levelFromRows({"#@$.#"}, "b"),
               testing::levelFromRows({"#@$.#"}, "c")});
    ASSERT_TRUE(f.document.setDefaultAuthor("new"));
    EXPECT_TRUE(f.document.addLevel(3));
    EXPECT_TRUE(f.document.duplicateLevel(0));
    EXPECT_TRUE(f.document.moveLevel(0, 3));
    EXPECT_TRUE(f.document.removeLevel(1));
    EXPECT_EQ(f.authors(), (std::vector<std::string>{"a", "c", "a", "new"}));
    EXPECT_TRUE(reported(f.changes, Change::Kind::Inserted, 3));
    EXPECT_TRUE(reported(f.changes, Change::Kind::Moved, 0, 3));
    EXPECT_TRUE(reported(f.changes, Change::Kind::Removed, 1));

    f.document.undo();
    EXPECT_EQ(f.authors(), (std::vector<std::string>{"a", "b", "c", "a", "new"}));
    f.document.undo();
    EXPECT_EQ(f.authors(), (std::vector<std::string>{"a", "a", "b", "c", "new"}));
    EXPECT_TRUE(reported(f.changes, Change::Kind::Moved, 3, 0));
    f.document.undo();
    f.document.undo();
    EXPECT_EQ(f.authors(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_FALSE(f.document.modified());
    while (f.document.redo()) {
    }
    EXPECT_EQ(f.authors(), (std::vector<std::string>{"a", "c", "a", "new"}));

    // A new edit after an undo drops what could have been redone.
    f.document.undo();
    f.document.setAuthor(0, "z");
    EXPECT_FALSE(f.document.abilities().redo);
    EXPECT_EQ(f.authors(), (std::vector<std::string>{"z", "b", "c", "a", "new"}));
}

TEST(Document, APackHoldsOneToTwoHundredFiftyFiveLevels) {
    Fixture f;
    EXPECT_FALSE(f.document.abilities().removeLevel);
    EXPECT_FALSE(f.document.removeLevel(0)) << "the last level stays";
    EXPECT_FALSE(f.document.moveLevel(0, 1));
    EXPECT_FALSE(f.document.addLevel(5));
    for (int k = 1; k < 255; ++k)
        ASSERT_TRUE(f.document.duplicateLevel(0));
    EXPECT_FALSE(f.document.addLevel(0));
    EXPECT_FALSE(f.document.duplicateLevel(0));
    EXPECT_EQ(f.document.levelCount(), 255);
    EXPECT_EQ(f.document.abilities(), (Abilities{true, false, false, true}));
    // Announced as they change: with the second level, and with the last one.
    EXPECT_EQ(std::count_if(f.changes.begin(), f.changes.end(),
                            [](const Change& c) { return c.kind == Change::Kind::Abilities; }),
              2);
}

TEST(Document, SayingWhichLevelsFailComesBeforeSaving) {
    Fixture f({testing::levelFromRows({"#@$.#"}), Level{}, testing::levelFromRows({"#@$$.#"})});
    EXPECT_EQ(f.document.saveWarning(),
              "These levels fail a check and cannot be played:\n\n"
              "Level 2: no keeper; no crates\n"
              "Level 3: 2 crates but 1 target");
    f.document.removeLevel(2);
    EXPECT_EQ(f.document.saveWarning(),
              "This level fails a check and cannot be played:\n\nLevel 2: no keeper; no crates");
    f.document.removeLevel(1);
    EXPECT_EQ(f.document.saveWarning(), "");
}

TEST(Document, TypingIntoOneFieldIsOneStepAndLimitsAreKeptAsTyped) {
    Fixture f;
    EXPECT_TRUE(f.document.setTitle("P"));
    EXPECT_TRUE(f.document.setTitle("Pu"));
    EXPECT_TRUE(f.document.setTitle("Puzzles"));
    EXPECT_FALSE(f.document.setTitle(std::string(30, 'x')));
    EXPECT_FALSE(f.document.setTitle("\u4e2d"));
    EXPECT_EQ(f.document.pack().title, "Puzzles");
    EXPECT_TRUE(reported(f.changes, Change::Kind::Title));
    EXPECT_TRUE(f.document.setAuthor(0, "Ann"));
    EXPECT_TRUE(f.document.setAuthor(0, "Anna"));
    EXPECT_FALSE(f.document.setAuthor(0, std::string(13, 'a')));
    EXPECT_EQ(f.document.level(0).author, "Anna");
    f.document.undo();
    EXPECT_EQ(f.document.level(0).author, "");
    EXPECT_EQ(f.document.pack().title, "Puzzles");
    f.document.undo();
    EXPECT_EQ(f.document.pack().title, "Pack");
    EXPECT_FALSE(f.document.setDefaultAuthor(std::string(13, 'a')));
}

TEST(Document, KnowsWhetherItMatchesTheSavedPack) {
    Fixture f;
    f.document.setAuthor(0, "x");
    EXPECT_TRUE(f.document.modified());
    EXPECT_TRUE(reported(f.changes, Change::Kind::Modified));
    f.document.markSaved();
    EXPECT_FALSE(f.document.modified());
    // Typing on after a save is a new step, so that undo returns to the saved text.
    f.document.setAuthor(0, "xy");
    f.document.undo();
    EXPECT_FALSE(f.document.modified());
    EXPECT_EQ(f.document.level(0).author, "x");
    f.document.undo();
    EXPECT_TRUE(f.document.modified());
    f.document.redo();
    f.document.undo();
    f.document.setAuthor(0, "other");  // the saved state cannot be reached again
    f.document.undo();
    EXPECT_TRUE(f.document.modified());
}

}  // namespace
}  // namespace quarbel::editor
