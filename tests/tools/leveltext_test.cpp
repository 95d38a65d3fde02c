// The plain-text level format: reading, the canonical text, centring in the grid, cropping
// on the way back, and every level a pack cannot hold.
#include <gtest/gtest.h>

#include "core/levelpack.h"
#include "shippedlevels.h"
#include "support/packbuilder.h"
#include "tools/leveltext.h"

namespace quarbel {
namespace {

using testing::ScratchFolder;

// The message of the refusal, or "accepted".
template <typename Action>
std::string refusalOf(Action action) {
    try {
        action();
    } catch (const LevelTextError& error) {
        return error.what();
    }
    return "accepted";
}

std::string packRefusal(const std::string& text) {
    return refusalOf([&] { packBytesOf(parseLevelText(text)); });
}

TEST(LevelText, ShippedSourcesComeBackUnchangedThroughAPack) {
    const auto sources = testing::shippedLevelSources();
    ASSERT_GE(sources.size(), 2u);
    ScratchFolder folder;
    int levels = 0;
    for (const auto& source : sources) {
        SCOPED_TRACE(source.name);
        const LevelCollection collection = parseLevelText(source.text);
        levels += static_cast<int>(collection.levels.size());
        writeFileBytes(source.name + ".dat", packBytesOf(collection));
        EXPECT_EQ(formatLevelText(readPackAsText(source.name + ".dat")), source.text);
    }
    EXPECT_GE(levels, 40);
}

TEST(LevelText, ShippedLevelsAreCreditedToTheProject) {
    for (const auto& source : testing::shippedLevelSources()) {
        const LevelCollection collection = parseLevelText(source.text);
        EXPECT_FALSE(collection.title.empty()) << source.name;
        for (const TextLevel& level : collection.levels)
            EXPECT_EQ(level.author, "QUARBEL 98");
    }
}

TEST(LevelText, ReadsCollectionTitleAuthorAndRows) {
    const LevelCollection collection = parseLevelText(
        "Collection:  Tiny Rooms \r\n\r\n#####  \r\n#@$.#\r\n#####\r\nTitle: One\r\n"
        "Author: Ann\r\n   \r\n####\n#+$#\nAuthor: Bo\n####\n");
    EXPECT_EQ(collection.title, "Tiny Rooms");
    ASSERT_EQ(collection.levels.size(), 2u);
    EXPECT_EQ(collection.levels[0].rows, (std::vector<std::string>{"#####", "#@$.#", "#####"}));
    EXPECT_EQ(collection.levels[0].title, "One");
    EXPECT_EQ(collection.levels[0].author, "Ann");
    // An Author line between rows belongs to the level all the same.
    EXPECT_EQ(collection.levels[1].rows, (std::vector<std::string>{"####", "#+$#", "####"}));
    EXPECT_EQ(collection.levels[1].author, "Bo");
}

TEST(LevelText, FormatsTheCanonicalText) {
    LevelCollection collection{
        "Tiny", {{{"#####", "#@$.#", "#####"}, "", "Ann"}, {{"####", "#+$#", "####"}, "Two", ""}}};
    const std::string text = formatLevelText(collection);
    EXPECT_EQ(text,
              "Collection: Tiny\n\n#####\n#@$.#\n#####\nAuthor: Ann\n\n####\n#+$#\n####\n"
              "Title: Two\n");
    EXPECT_EQ(formatLevelText(parseLevelText(text)), text);
}

TEST(LevelText, CentresTheLevelInTheGrid) {
    const PackLevel level = packLevelOf({{"#####", "#@$.#", "#####"}, "", "Ann"}, 1);
    // 5 x 3 moves right by 5 and down by 6.
    EXPECT_EQ(level.keeperX, 7);
    EXPECT_EQ(level.keeperY, 8);
    EXPECT_EQ(level.board.at(6, 7), CellWall);
    EXPECT_EQ(level.board.at(5, 7), CellEmpty);
    EXPECT_EQ(level.board.at(8, 8), CellCrate);
    EXPECT_EQ(level.board.at(9, 8), CellTarget);
    EXPECT_EQ(level.board.at(10, 9), CellWall);
    EXPECT_EQ(level.author, "Ann");

    // Odd leftovers truncate: 4 x 2 moves right by 5 and down by 6.
    const PackLevel even = packLevelOf({{"#+$#", "####"}, "", ""}, 1);
    EXPECT_EQ(even.keeperX, 7);
    EXPECT_EQ(even.keeperY, 7);
    EXPECT_EQ(even.board.at(7, 7), CellTarget);
    EXPECT_EQ(even.board.at(8, 7), CellCrate);
}

TEST(LevelText, ExportCropsToWhatTheLevelHolds) {
    ScratchFolder folder;
    // Rows that all begin with a space lose it: only the occupied box comes back.
    writeFileBytes("crop.dat", packBytesOf(parseLevelText(" ####\n #@$.#\n  ####\n")));
    const LevelCollection back = readPackAsText("crop.dat");
    ASSERT_EQ(back.levels.size(), 1u);
    EXPECT_EQ(back.levels[0].rows, (std::vector<std::string>{"####", "#@$.#", " ####"}));
}

TEST(LevelText, ExportKeepsAKeeperOutsideTheWallsInTheBox) {
    LevelRecord record;
    record.keeperX = 1;
    record.keeperY = 3;
    record.board.at(3, 2) = CellCrateOnTarget;
    EXPECT_EQ(textLevelOf(record, 1).rows, (std::vector<std::string>{"  *", "@"}));
    // A blank row would end the level in text.
    record.keeperY = 4;
    EXPECT_EQ(refusalOf([&] { textLevelOf(record, 1); }),
              "level 1: row 2 is empty, which text cannot show inside a level");
}

TEST(LevelText, AcceptsTheLargestLevelAndLongestAuthor) {
    std::vector<std::string> rows(15, "#" + std::string(13, ' ') + "#");
    rows.front() = rows.back() = std::string(15, '#');
    rows[7] = "#@   $    .   #";
    const PackLevel level = packLevelOf({rows, "", "Twelve Chars"}, 1);
    EXPECT_EQ(level.keeperX, 2);
    EXPECT_EQ(level.keeperY, 8);
    EXPECT_EQ(level.board.at(15, 15), CellWall);
}

TEST(LevelText, RefusesEachLevelThePackCannotHold) {
    const std::string good = "###\n#@#\n#$#\n#.#\n###\n\n";
    EXPECT_EQ(packRefusal(good + "################\n#@$.           #\n################\n"),
              "level 2: 16 columns wide, at most 15 fit");
    std::string tall = good;
    for (int r = 0; r < 16; ++r)
        tall += r == 1 ? "#@$.#\n" : "#   #\n";
    EXPECT_EQ(packRefusal(tall), "level 2: 16 rows tall, at most 15 fit");
    EXPECT_EQ(packRefusal(good + "#####\n# $.#\n#####\n"), "level 2: no keeper");
    EXPECT_EQ(packRefusal(good + "#####\n#@$+#\n#####\n"), "level 2: 2 keepers, a level has one");
    EXPECT_EQ(packRefusal(good + "######\n#@$$.#\n######\n"), "level 2: 2 crates but 1 targets");
    EXPECT_EQ(packRefusal(good + "#####\n#@ .#\n#####\n"), "level 2: 0 crates but 1 targets");
    EXPECT_EQ(packRefusal(good + "#####\n#@  #\n#####\n"), "level 2: no crates");
    EXPECT_EQ(packRefusal(good + "#####\n#@$.#\n##x##\n"),
              "level 2: unknown character 'x' in row 3");
    EXPECT_EQ(packRefusal(good + "#####\n#@$.#\n#####\nAuthor: Thirteen Char\n"),
              "level 2: the author \"Thirteen Char\" is longer than 12 characters");
    EXPECT_EQ(packRefusal(good + "#####\n#@$.#\n#####\nAuthor: \xe4\xb8\x96\n"),
              "level 2: the author \"\xe4\xb8\x96\" holds a character a pack cannot store");
    EXPECT_EQ(packRefusal(good + "#####\n#@$.#\n#####\nComment: hard\n"),
              "level 2: unknown line \"Comment: hard\"");
    EXPECT_EQ(packRefusal(good + "#####\n#@$.#\n#####\nAuthor: A\nAuthor: B\n"),
              "level 2: two Author lines");
    EXPECT_EQ(packRefusal(good + "Author: Ann\n"), "level 2: no board rows");
}

TEST(LevelText, RefusesCollectionsThePackCannotHold) {
    std::string levels;
    for (int k = 0; k < 255; ++k)
        levels += "#####\n#@$.#\n#####\n\n";
    EXPECT_EQ(packBytesOf(parseLevelText(levels)).size(), PackHeaderSize + 255u * LevelRecordSize);
    EXPECT_EQ(packRefusal(levels + "#####\n#@$.#\n#####\n"),
              "the collection holds 256 levels, a pack at most 255");
    EXPECT_EQ(packRefusal("Collection: Only a title\n"), "the collection holds no level");
    EXPECT_EQ(packRefusal("Collection: Thirty characters in this title\n\n####\n#+$#\n"),
              "the collection title \"Thirty characters in this title\" is longer than 29 "
              "characters");
    EXPECT_EQ(refusalOf([] { parseLevelText("Collection: A\nCollection: B\n"); }),
              "two Collection lines");
}

// A pack's texts end at byte 0 or 13 and the text's at a line end, so neither may hold one.
TEST(LevelText, RefusesControlCharactersInTitlesAndAuthors) {
    const std::string level = "#####\n#@$.#\n#####\n";
    EXPECT_EQ(packRefusal("Collection: Firs\x01t\n\n" + level),
              "the collection title holds a control character");
    EXPECT_EQ(packRefusal(level + "Author: A\tB\n"),
              "level 1: the author holds a control character");
    EXPECT_EQ(packRefusal(level + "Title: Corner\r\r\n"),
              "level 1: the title holds a control character");
    EXPECT_EQ(packRefusal("Collection: A" + std::string(1, '\0') + "B\n\n" + level),
              "the collection title holds a control character");
    EXPECT_EQ(packRefusal("Collection: Tab\tinside\n\n" + level),
              "the collection title holds a control character");
}

TEST(LevelText, ExportRefusesAPackTitleWithALineEnd) {
    ScratchFolder folder;
    auto bytes = packBytesOf(parseLevelText("Collection: First\n\n#####\n#@$.#\n#####\n"));
    bytes[2 + 5] = '\n';  // the title's byte 13 damaged into a line feed
    writeFileBytes("damaged.dat", bytes);
    EXPECT_EQ(refusalOf([] { readPackAsText("damaged.dat"); }),
              "the pack title holds a control character");
}

TEST(LevelText, RefusesPackLevelsThatTextCannotShow) {
    LevelRecord record;
    record.keeperX = 16;
    record.keeperY = 3;
    EXPECT_EQ(refusalOf([&] { textLevelOf(record, 4); }), "level 4: the keeper is off the board");
    record.keeperX = 3;
    record.board.at(3, 3) = CellCrate;
    EXPECT_EQ(refusalOf([&] { textLevelOf(record, 4); }),
              "level 4: the keeper stands on a wall or a crate");
    record.board.at(3, 3) = CellEmpty;
    record.board.at(9, 2) = 26;
    EXPECT_EQ(refusalOf([&] { textLevelOf(record, 4); }),
              "level 4: cell (9, 2) holds the unknown code 26");
}

TEST(LevelText, RefusesAPackShorterThanItsLevelCount) {
    ScratchFolder folder;
    auto bytes = packBytesOf(parseLevelText("#####\n#@$.#\n#####\n\n#####\n#@$.#\n#####\n"));
    bytes.resize(bytes.size() - 1);
    writeFileBytes("short.dat", bytes);
    EXPECT_EQ(refusalOf([] { readPackAsText("short.dat"); }),
              "the pack names 2 levels but holds 1");
}

}  // namespace
}  // namespace quarbel
