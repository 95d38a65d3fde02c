// Level collections in text: every form the reader takes, what the conversion skips, cuts
// and leaves out, the split into packs, and the canonical text on the way back.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "core/files.h"
#include "core/levelpack.h"
#include "shippedlevels.h"
#include "support/packbuilder.h"
#include "tools/levelconvert.h"

namespace quarbel {
namespace {

using testing::ScratchFolder;
using Rows = std::vector<std::string>;

void writeFileBytes(const std::string& fileName, const std::vector<std::uint8_t>& bytes) {
    replaceFile(fileName, std::string(bytes.begin(), bytes.end()));
}

LevelCollection read(std::string_view text) {
    return readLevelText(text).collection;
}

std::vector<std::string> messagesOf(const std::vector<TextReport>& reports) {
    std::vector<std::string> messages;
    for (const TextReport& report : reports)
        messages.push_back(report.message);
    return messages;
}

const Rows Small = {"#####", "#@$.#", "#####"};

TextLevel levelOf(Rows rows, std::string author = "") {
    TextLevel level;
    level.rows = std::move(rows);
    level.author = std::move(author);
    return level;
}

TEST(LevelText, ShippedSourcesComeBackUnchangedThroughAPack) {
    const auto sources = testing::shippedLevelSources();
    ASSERT_GE(sources.size(), 2u);
    ScratchFolder folder;
    int levels = 0;
    for (const auto& source : sources) {
        SCOPED_TRACE(source.name);
        const ReadCollection collection = readLevelText(source.text);
        EXPECT_TRUE(collection.reports.empty());
        const ConvertedCollection converted = convertCollection(collection.collection, true);
        EXPECT_TRUE(converted.reports.empty()) << converted.reports.front().message;
        levels += static_cast<int>(converted.levels.size());
        std::vector<TextReport> reports;
        const auto parts = splitIntoPacks(converted, source.name + ".dat", reports);
        ASSERT_EQ(parts.size(), 1u);
        const auto bytes = packBytesOf(parts[0]);
        writeFileBytes(source.name + ".dat", bytes);
        const std::string exported = formatLevelText(readPackAsText(source.name + ".dat"));
        EXPECT_EQ(exported, source.text);
        const auto again =
            splitIntoPacks(convertCollection(read(exported), true), "x.dat", reports);
        EXPECT_EQ(packBytesOf(again.at(0)), bytes);
    }
    EXPECT_GE(levels, 40);
}

TEST(LevelText, ShippedLevelsAreCreditedToTheProject) {
    for (const auto& source : testing::shippedLevelSources()) {
        const LevelCollection collection = read(source.text);
        EXPECT_FALSE(collection.title.empty()) << source.name;
        for (const TextLevel& level : collection.levels)
            EXPECT_EQ(level.author, "QUARBEL 98");
    }
}

TEST(LevelText, NoTwoShippedLevelsShareTheirWalls) {
    std::map<Rows, std::string> seen;  // walls only, and where they were first seen
    for (const auto& source : testing::shippedLevelSources()) {
        const LevelCollection collection = read(source.text);
        for (std::size_t k = 0; k < collection.levels.size(); ++k) {
            Rows walls = collection.levels[k].rows;
            for (auto& row : walls) {
                std::replace_if(
                    row.begin(), row.end(), [](char c) { return c != '#'; }, ' ');
                row.erase(row.find_last_not_of(' ') + 1);
            }
            const std::string here = source.name + " " + std::to_string(k + 1);
            const auto [first, added] = seen.emplace(walls, here);
            EXPECT_TRUE(added) << here << " has the walls of " << first->second;
        }
    }
}

TEST(LevelText, ReadsEverySpellingOfTheBoard) {
    // "-" and "_" floors, p P b B, indentation, ragged rows and trailing spaces.
    const LevelCollection collection = read(
        "   ######   \n   #p-b.#\n   #__B_#  \n   #P b.#\n   ######\n\n"
        "  #######\n  #.*$@ #\n  #######\n");
    ASSERT_EQ(collection.levels.size(), 2u);
    EXPECT_EQ(collection.levels[0].rows, (Rows{"######", "#@ $.#", "#  * #", "#+ $.#", "######"}));
    EXPECT_EQ(collection.levels[1].rows, (Rows{"#######", "#.*$@ #", "#######"}));
}

TEST(LevelText, ReadsRunLengthRows) {
    const LevelCollection collection = read("7#|#.@-$-#|7#\n\n3#\n#.2#\n#@$#\n4#\n");
    ASSERT_EQ(collection.levels.size(), 2u);
    EXPECT_EQ(collection.levels[0].rows, (Rows{"#######", "#.@ $ #", "#######"}));
    EXPECT_EQ(collection.levels[1].rows, (Rows{"###", "#.##", "#@$#", "####"}));
    // A count needs a character after it, and a line of floor only is no board row.
    const LevelCollection odd = read("3#|#@$.#|5\n\n----\n");
    EXPECT_TRUE(odd.levels.empty());
    EXPECT_EQ(odd.comments, (Rows{"3#|#@$.#|5", "----"}));
}

TEST(LevelText, ReadsEveryLineEndAndAByteOrderMark) {
    for (const std::string end : {"\n", "\r\n", "\r"}) {
        for (const std::string start : {"", "\xEF\xBB\xBF"}) {
            const ReadCollection read = readLevelText(
                start + "Title: Ends" + end + end + "#####" + end + "#@$.#" + end + "#####" + end +
                "Author: Ann" + end + end + "####" + end + "#+$#" + end + "####");
            SCOPED_TRACE(::testing::PrintToString(end + start));
            EXPECT_TRUE(read.reports.empty());
            EXPECT_EQ(read.collection.title, "Ends");
            ASSERT_EQ(read.collection.levels.size(), 2u);
            EXPECT_EQ(read.collection.levels[0].rows, Small);
            EXPECT_EQ(read.collection.levels[0].author, "Ann");
            EXPECT_EQ(read.collection.levels[1].rows, (Rows{"####", "#+$#", "####"}));
            EXPECT_EQ(read.collection.levels[1].line, 8);
        }
    }
}

TEST(LevelText, DetectsUtf8AndWindows1252) {
    const ReadCollection utf8 =
        readLevelText("#####\n#@$.#\n#####\nAuthor: J\xC3\xB6rg \xE2\x82\xAC\n");
    EXPECT_TRUE(utf8.reports.empty());
    EXPECT_EQ(utf8.collection.levels.at(0).author, "J\xC3\xB6rg \xE2\x82\xAC");

    const ReadCollection cp1252 = readLevelText("#####\n#@$.#\n#####\nAuthor: J\xF6rg \x80\n");
    EXPECT_EQ(messagesOf(cp1252.reports), (Rows{"read as Windows-1252, as it is not UTF-8"}));
    EXPECT_EQ(cp1252.collection.levels.at(0).author, "J\xC3\xB6rg \xE2\x82\xAC");

    // Either way the pack stores the same Windows-1252 bytes.
    const auto a = packLevelOf(utf8.collection.levels[0]);
    const auto b = packLevelOf(cp1252.collection.levels[0]);
    ASSERT_TRUE(a.level && b.level);
    EXPECT_EQ(a.level->author, b.level->author);
}

TEST(LevelText, CommentsHoldNoBoards) {
    const LevelCollection collection = read(
        "; a collection of two\n"
        "Comment:\n#####\n#@$.#\n#####\nComment-end:\n"
        "#####\n#@$.#\n#####\n"
        "Comment: one line\n"
        "  ;#####\n"
        "COMMENT:\nstill comment\ncomment-END:\n\n"
        "####\n#+$#\n####\n");
    ASSERT_EQ(collection.levels.size(), 2u);
    EXPECT_EQ(collection.comments, (Rows{"a collection of two", "#####", "#@$.#", "#####"}));
    EXPECT_EQ(collection.levels[0].comments, (Rows{"one line", "#####", "still comment"}));
    EXPECT_EQ(collection.levels[0].rows, Small);

    const ReadCollection unended =
        readLevelText("#####\n#@$.#\n#####\n\nComment:\n####\n#+$#\n####\n");
    EXPECT_EQ(unended.collection.levels.size(), 1u);
    EXPECT_EQ(messagesOf(unended.reports),
              (Rows{"line 5: the Comment block has no Comment-End, so the rest of the file is read "
                    "as comment"}));
}

TEST(LevelText, KeyLinesDescribeTheCollectionBeforeTheFirstLevelAndALevelAfterIt) {
    const LevelCollection collection = read(
        "Collection: Castles\nAuthor: Ann\nHomepage: none\n\n"
        "#####\n#@$.#\n#####\nTitle: Gate\nDifficulty: easy\nDate created: 2001-02-03\n\n"
        "####\n#+$#\n####\nAuthor: Bo\nTitle:\n");
    EXPECT_EQ(collection.title, "Castles");
    EXPECT_EQ(collection.author, "Ann");
    ASSERT_EQ(collection.properties.size(), 1u);
    EXPECT_EQ(collection.properties[0].key, "Homepage");
    ASSERT_EQ(collection.levels.size(), 2u);
    EXPECT_EQ(collection.levels[0].title, "Gate");
    EXPECT_EQ(collection.levels[0].author, "Ann");  // the collection's author
    ASSERT_EQ(collection.levels[0].properties.size(), 2u);
    EXPECT_EQ(collection.levels[0].properties[1].key, "Date created");
    EXPECT_EQ(collection.levels[0].properties[1].value, "2001-02-03");
    EXPECT_EQ(collection.levels[1].author, "Bo");
    EXPECT_EQ(collection.levels[1].title, "");

    EXPECT_EQ(read("Title: First\n\n#####\n#@$.#\n#####\n").title, "First");
}

TEST(LevelText, AFreeLineBesideABoardIsItsTitle) {
    const LevelCollection collection = read(
        "Level 1\n#####\n#@$.#\n#####\n\n"                    // before
        "#####\n#@$.#\n#####\n'Duh!'\n\n"                     // after, in quotes
        "#####\n#@$.#\n#####\nBetween\n####\n#+$#\n####\n\n"  // between: the next one's
        "two lines\nof text\n#####\n#@$.#\n#####\n");         // not a single line
    ASSERT_EQ(collection.levels.size(), 5u);
    EXPECT_EQ(collection.levels[0].title, "Level 1");
    EXPECT_EQ(collection.levels[1].title, "Duh!");
    EXPECT_EQ(collection.levels[2].title, "");
    EXPECT_EQ(collection.levels[3].title, "Between");
    EXPECT_EQ(collection.levels[4].title, "");
    EXPECT_EQ(collection.levels[3].comments, (Rows{"two lines", "of text"}));

    // A Title line wins over a free line, which is kept as a comment.
    const LevelCollection both = read("Free\n#####\n#@$.#\n#####\nTitle: Keyed\n");
    EXPECT_EQ(both.levels.at(0).title, "Keyed");
    EXPECT_EQ(both.levels.at(0).comments, (Rows{"Free"}));
}

TEST(LevelText, ReadsSolutions) {
    const LevelCollection collection = read(
        "#####\n#@$.#\n#####\nSolution: rR\n\n"
        "#####\n#@$.#\n#####\nSolution:\n2r\nlR\n\n"
        "#####\n#@$.#\n#####\nrR\nuuu\n\nlll\n");
    ASSERT_EQ(collection.levels.size(), 3u);
    EXPECT_EQ(collection.levels[0].solution, "rR");
    EXPECT_EQ(collection.levels[1].solution, "rrlR");
    EXPECT_EQ(collection.levels[2].solution, "rRuuu");
    // A second solution has no place beside the first.
    ASSERT_EQ(collection.levels[2].properties.size(), 1u);
    EXPECT_EQ(collection.levels[2].properties[0].value, "lll");
}

TEST(LevelText, CentresTheLevelInTheGrid) {
    const auto level = packLevelOf(levelOf(Small, "Ann"));
    ASSERT_TRUE(level.level);
    // 5 x 3 moves right by 5 and down by 6.
    EXPECT_EQ(level.level->keeperX, 7);
    EXPECT_EQ(level.level->keeperY, 8);
    EXPECT_EQ(level.level->board.at(6, 7), CellWall);
    EXPECT_EQ(level.level->board.at(5, 7), CellEmpty);
    EXPECT_EQ(level.level->board.at(8, 8), CellCrate);
    EXPECT_EQ(level.level->board.at(9, 8), CellTarget);
    EXPECT_EQ(level.level->board.at(10, 9), CellWall);
    EXPECT_EQ(level.level->author, "Ann");

    // Odd leftovers truncate: 4 x 2 moves right by 5 and down by 6.
    const auto even = packLevelOf(levelOf({"#+$#", "####"}));
    ASSERT_TRUE(even.level);
    EXPECT_EQ(even.level->keeperX, 7);
    EXPECT_EQ(even.level->keeperY, 7);
    EXPECT_EQ(even.level->board.at(7, 7), CellTarget);
    EXPECT_EQ(even.level->board.at(8, 7), CellCrate);

    // The largest level fits.
    Rows rows(15, "#" + std::string(13, ' ') + "#");
    rows.front() = rows.back() = std::string(15, '#');
    rows[7] = "#@   $    .   #";
    const auto largest = packLevelOf(levelOf(rows, "Twelve Chars"));
    ASSERT_TRUE(largest.level);
    EXPECT_EQ(largest.level->board.at(15, 15), CellWall);
    EXPECT_EQ(largest.level->author, "Twelve Chars");
}

TEST(LevelText, NamesTheReasonForEachLevelAPackCannotHold) {
    auto reason = [](Rows rows) { return packLevelOf(levelOf(std::move(rows))).reason; };
    EXPECT_EQ(reason({std::string(16, '#'), "#@$.           #", std::string(16, '#')}),
              "16 x 3 is larger than 15 x 15");
    EXPECT_EQ(reason(Rows(16, "#@$.#")), "5 x 16 is larger than 15 x 15");
    EXPECT_EQ(reason({"#####", "# $.#", "#####"}), "no keeper");
    EXPECT_EQ(reason({"#####", "#@$+#", "#####"}), "2 keepers, a level has one");
    EXPECT_EQ(reason({"######", "#@$$.#", "######"}), "2 crates but 1 target");
    EXPECT_EQ(reason({"#####", "#@ .#", "#####"}), "no crates");
    EXPECT_EQ(reason({"#####", "#@  #", "#####"}), "no crates");
    EXPECT_EQ(reason({"#####", "#@$.#", "##x##"}), "unknown character 'x'");
    EXPECT_EQ(reason(Small), "");
}

TEST(LevelText, SkipsWhatAPackCannotHoldAndNamesIt) {
    const LevelCollection collection = read(
        "#####\n#@$.#\n#####\n\n"
        "The Long Hall\n#####################\n#@$.                #\n#####################\n\n"
        "#####\n#@$$.#\n#####\n\n"
        "####\n#+$#\n####\n");
    const ConvertedCollection converted = convertCollection(collection, false);
    EXPECT_EQ(converted.levelsFound, 4);
    ASSERT_EQ(converted.levels.size(), 2u);
    EXPECT_EQ(converted.levels[0].number, 1);
    EXPECT_EQ(converted.levels[1].number, 4);
    EXPECT_EQ(messagesOf(converted.reports),
              (Rows{"level 2 'The Long Hall': 21 x 3 is larger than 15 x 15",
                    "level 3: 2 crates but 1 target"}));
    EXPECT_EQ(converted.reports[0].kind, TextReport::Kind::SkippedLevel);
    EXPECT_EQ(converted.reports[0].level, 2);
}

TEST(LevelText, FitsTextsToTheirFieldsAndReportsEachOnce) {
    EXPECT_EQ(fitPackText("  Sixteen chars!! ", 12).text, "Sixteen char");
    EXPECT_EQ(fitPackText("Twelve  Char", 12).text, "Twelve  Char");
    const FittedText cutAtSpace = fitPackText("Christopher Columbus", 12);
    EXPECT_TRUE(cutAtSpace.cut);
    EXPECT_EQ(cutAtSpace.text, "Christopher");
    // Cut at a character, not a byte: twelve two-byte letters fit.
    const std::string umlauts =
        "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC"
        "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F";
    EXPECT_EQ(fitPackText(umlauts, 12).text, umlauts.substr(0, 24));
    const FittedText replaced = fitPackText("\xE4\xB8\x96 A\tB", 12);
    EXPECT_EQ(replaced.text, "? A?B");
    EXPECT_EQ(replaced.replaced, 2);
    EXPECT_FALSE(replaced.cut);

    std::string text = "Title: A title that is much too long for a pack\n\n";
    for (const std::string author :
         {"Sixteen chars!!!", "Sixteen chars!!!", "\xE4\xB8\x96 Wu", "Ann"})
        text += "#####\n#@$.#\n#####\nAuthor: " + author + "\n\n";
    const ConvertedCollection converted = convertCollection(read(text), false);
    EXPECT_EQ(converted.title, "A title that is much too long");
    EXPECT_EQ(converted.levels.at(0).level.author, "Sixteen char");
    EXPECT_EQ(converted.levels.at(2).level.author, "? Wu");
    EXPECT_EQ(
        messagesOf(converted.reports),
        (Rows{
            "the title \"A title that is much too long for a pack\" is cut to \"A title that is "
            "much too long\" (29 characters)",
            "the author \"Sixteen chars!!!\" is cut to \"Sixteen char\" (12 characters)",
            "the author \"\xE4\xB8\x96 Wu\": 1 character that a pack cannot store became \"?\""}));
    EXPECT_EQ(converted.reports[1].kind, TextReport::Kind::CutText);
    EXPECT_EQ(converted.reports[2].kind, TextReport::Kind::ReplacedText);
}

TEST(LevelText, CountsWhatAPackHasNoPlaceFor) {
    const ConvertedCollection converted = convertCollection(
        read("; about\nHomepage: x\n\nOne\n#####\n#@$.#\n#####\nDifficulty: 3\nrR\n\n"
             "Two\n#####\n#@$.#\n#####\n"),
        false);
    EXPECT_EQ(messagesOf(converted.reports),
              (Rows{"left out, as a pack has no place for them: 2 level titles, 1 comment line, 2 "
                    "other key: value lines and 1 solution"}));
    EXPECT_EQ(converted.reports[0].kind, TextReport::Kind::LeftOut);
}

TEST(LevelText, ChecksSolutionsByReplayingThem) {
    const ConvertedCollection converted = convertCollection(
        read("#####\n#@$.#\n#####\nSolution: R\n\n#####\n#@$.#\n#####\nSolution: rR\n\n"
             "#####\n#@$.#\n#####\nSolution: L\n\n#####\n#@$.#\n#####\nSolution: " +
             std::string(5001, 'l') + "\n"),
        true);
    ASSERT_EQ(converted.levels.size(), 4u);
    EXPECT_EQ(converted.solutionsFound, 4);
    EXPECT_EQ(converted.levels[0].solution, (std::vector<std::uint16_t>{7}));
    EXPECT_TRUE(converted.levels[1].solution.empty());  // the walk goes into the crate
    EXPECT_TRUE(converted.levels[2].solution.empty());
    EXPECT_TRUE(converted.levels[3].solution.empty());
    EXPECT_EQ(messagesOf(converted.reports),
              (Rows{"level 2: the solution does not solve the level; not stored",
                    "level 3: the solution does not solve the level; not stored",
                    "level 4: the solution holds 5001 moves, a movie at most 5000; not stored"}));
    EXPECT_EQ(converted.reports[0].kind, TextReport::Kind::RefusedSolution);
}

TEST(LevelText, SplitsIntoPacksOf255WithPartTitles) {
    std::string text = "Title: Three Hundred Levels Here\n\n";
    for (int k = 0; k < 300; ++k)
        text += "#####\n#@$.#\n#####\n\n";
    const ConvertedCollection converted = convertCollection(read(text), false);
    std::vector<TextReport> reports;
    const std::vector<PackPart> parts = splitIntoPacks(converted, "dir/coll.DAT", reports);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].fileName, "dir/coll.DAT");
    EXPECT_EQ(parts[1].fileName, "dir/coll-2.DAT");
    EXPECT_EQ(parts[0].title, "Three Hundred Levels He (1/2)");
    EXPECT_EQ(parts[1].title, "Three Hundred Levels He (2/2)");
    EXPECT_EQ(parts[0].levels.size(), 255u);
    EXPECT_EQ(parts[1].levels.size(), 45u);
    EXPECT_EQ(parts[1].levels.front().number, 256);
    EXPECT_EQ(packBytesOf(parts[1]).size(), PackHeaderSize + 45u * LevelRecordSize);
    EXPECT_EQ(messagesOf(reports),
              (Rows{"the title of each part \"Three Hundred Levels Here\" is cut to \"Three "
                    "Hundred Levels He\" (23 characters)"}));

    // Without a title each part still says which it is; one pack keeps the name as given.
    const auto untitled = splitIntoPacks(
        convertCollection(read(text.substr(text.find('#'))), false), "coll", reports);
    EXPECT_EQ(untitled.at(1).fileName, "coll-2");
    EXPECT_EQ(untitled.at(1).title, "Part 2/2");
    const auto one =
        splitIntoPacks(convertCollection(read("#####\n#@$.#\n#####\n"), false), "a.dat", reports);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].title, "");
}

TEST(LevelText, WritesTheCanonicalText) {
    LevelCollection collection;
    collection.title = "Tiny";
    collection.author = "Ann";
    collection.comments = {"about"};
    collection.levels.push_back(
        {Small, "Gate", "Ann", "rR", {"hard", ""}, {{"Difficulty", "3"}}, 0, ""});
    collection.levels.push_back({{"#", "", "  *", "#@"}, "", "", "", {}, {}, 0, ""});
    const std::string text = formatLevelText(collection);
    EXPECT_EQ(
        text,
        "Title: Tiny\nAuthor: Ann\n; about\n\n"
        "#####\n#@$.#\n#####\nTitle: Gate\nAuthor: Ann\nSolution: rR\nDifficulty: 3\n; hard\n;\n\n"
        "#||--*|#@\n");
    const LevelCollection back = read(text);
    ASSERT_EQ(back.levels.size(), 2u);
    EXPECT_EQ(back.levels[1].rows, collection.levels[1].rows);
    EXPECT_EQ(formatLevelText(back), text.substr(0, text.size() - 10) + "#||--*|#@\nAuthor: Ann\n");
}

TEST(LevelText, ExportCropsToWhatTheLevelHolds) {
    ScratchFolder folder;
    // Floor beside the walls takes no room once read back.
    std::vector<TextReport> reports;
    const auto parts = splitIntoPacks(convertCollection(read("####    \n#@$.#\n ####\n"), false),
                                      "crop.dat", reports);
    writeFileBytes("crop.dat", packBytesOf(parts.at(0)));
    const LevelCollection back = readPackAsText("crop.dat");
    ASSERT_EQ(back.levels.size(), 1u);
    EXPECT_EQ(back.levels[0].rows, (Rows{"####", "#@$.#", " ####"}));

    Level level;
    level.keeperX = 1;
    level.keeperY = 4;
    level.board.at(3, 2) = CellCrateOnTarget;
    level.board.at(4, 5) = CellWall;
    EXPECT_EQ(textLevelOf(level, 1).rows, (Rows{"  *", "", "@", "   #"}));
}

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

TEST(LevelText, RefusesPackLevelsThatTextCannotShow) {
    Level level;
    level.keeperX = 16;
    level.keeperY = 3;
    EXPECT_EQ(refusalOf([&] { textLevelOf(level, 4); }), "level 4: the keeper is off the board");
    level.keeperX = 3;
    level.board.at(3, 3) = CellCrate;
    EXPECT_EQ(refusalOf([&] { textLevelOf(level, 4); }),
              "level 4: the keeper stands on a wall or a crate");
    level.board.at(3, 3) = CellEmpty;
    level.board.at(9, 2) = 26;
    EXPECT_EQ(refusalOf([&] { textLevelOf(level, 4); }),
              "level 4: cell (9, 2) holds the unknown code 26");
    level.board.at(9, 2) = CellCrateOnTarget;
    EXPECT_EQ(refusalOf([&] { textLevelOf(level, 4); }),
              "level 4: the level has no wall, which text cannot show");
    level.board.at(1, 1) = CellWall;
    level.author = "A\rB";
    EXPECT_EQ(refusalOf([&] { textLevelOf(level, 4); }),
              "level 4: the author holds a control character");
}

TEST(LevelText, ARowThatIsNoRowKeepsItsLevelWholeAndRefusedWithItsLine) {
    const LevelCollection collection = read(
        "#####\n#@$.#\n#  x#\n#####\n\n"
        "#####\n#@$.#\n999999999#\n#####\n\n"
        "#####\n#@$.#\n9999#\n#####\n\n"
        "#####\n#@\t$.#\n#####\n\n"
        "#1 The Hall\n#####\n#@$.#\n#####\n");
    ASSERT_EQ(collection.levels.size(), 5u);
    EXPECT_EQ(collection.levels[0].rows, (Rows{"#####", "#@$.#", "#####"}));
    EXPECT_EQ(collection.levels[4].title, "#1 The Hall");
    const ConvertedCollection converted = convertCollection(collection, false);
    ASSERT_EQ(converted.levels.size(), 1u);
    std::vector<std::string> skipped;
    for (const TextReport& report : converted.reports) {
        if (report.kind == TextReport::Kind::SkippedLevel) skipped.push_back(report.message);
    }
    EXPECT_EQ(skipped, (std::vector<std::string>{
                           "level 1: line 3: 'x' is no board character",
                           "level 2: line 8: the count 999999999 is more than 9999",
                           "level 3: line 13: the row is longer than 1024 squares",
                           "level 4: line 17: a tab stands among the squares; write spaces",
                       }));
}

TEST(LevelText, ACommentEndWithASpaceBeforeItsColonIsOneEverywhere) {
    const std::string text =
        "Title: T\nComment-End :\nComment:\n#####\nComment-End :\n\n"
        "#####\n#@$.#\n#####\n";
    const LevelCollection first = read(text);
    EXPECT_TRUE(first.properties.empty());
    EXPECT_EQ(first.comments, Rows{"#####"});
    const LevelCollection again = read(formatLevelText(first));
    EXPECT_TRUE(again.properties.empty());
    EXPECT_EQ(again.comments, first.comments);
    EXPECT_EQ(again.levels.size(), 1u);
}

TEST(LevelText, RefusesDamagedPacks) {
    ScratchFolder folder;
    std::vector<TextReport> reports;
    const auto parts = splitIntoPacks(
        convertCollection(read("Title: First\n\n#####\n#@$.#\n#####\n\n#####\n#@$.#\n#####\n"),
                          false),
        "a.dat", reports);
    auto bytes = packBytesOf(parts.at(0));
    bytes.resize(bytes.size() - 1);
    writeFileBytes("short.dat", bytes);
    EXPECT_EQ(refusalOf([] { readPackAsText("short.dat"); }),
              "the pack names 2 levels but holds 1");
    bytes = packBytesOf(parts.at(0));
    bytes[2 + 5] = '\n';  // the title's byte 13 damaged into a line feed
    writeFileBytes("damaged.dat", bytes);
    EXPECT_EQ(refusalOf([] { readPackAsText("damaged.dat"); }),
              "the pack title holds a control character");
    bytes = packBytesOf(parts.at(0));
    std::fill(bytes.begin() + 2, bytes.begin() + 2 + 30, 'x');  // a title field without its end
    writeFileBytes("endless.dat", bytes);
    EXPECT_EQ(refusalOf([] { readPackAsText("endless.dat"); }),
              "the pack title has no end: its byte 13 is missing");
    writeFileBytes("empty.dat", {});
    EXPECT_EQ(refusalOf([] { readPackAsText("empty.dat"); }),
              "the file is too short to be a pack: 0 bytes, where a pack's header alone takes 32");
}

}  // namespace
}  // namespace quarbel
