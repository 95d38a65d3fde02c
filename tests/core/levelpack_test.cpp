// Reading packs byte by byte: record offsets, the transposed board, authors, titles and
// the bytes beyond the end of a file.
#include <gtest/gtest.h>

#include "core/gameerror.h"
#include "core/levelpack.h"
#include "support/packbuilder.h"

namespace quarbel {
namespace {

using testing::ScratchFolder;

// A raw pack: header with count and title bytes, then the given records.
std::string rawPack(int count, const std::string& title, const std::vector<std::string>& records) {
    std::string bytes(PackHeaderSize, '\0');
    bytes[1] = static_cast<char>(count);
    bytes.replace(2, title.size(), title);
    for (const auto& record : records)
        bytes += record;
    return bytes;
}

std::string record(int keeperX, int keeperY, const std::string& signature,
                   const std::string& author) {
    std::string bytes(LevelRecordSize, '\0');
    bytes[0] = static_cast<char>(keeperX);
    bytes[2] = static_cast<char>(keeperY);
    bytes.replace(3, signature.size(), signature);
    bytes.replace(6, author.size(), author);
    return bytes;
}

TEST(LevelPack, RecordsStartAt32AndFollowEvery308Bytes) {
    EXPECT_EQ(levelRecordOffset(1), 32);
    EXPECT_EQ(levelRecordOffset(2), 340);
    EXPECT_EQ(levelRecordOffset(10), 32 + 308 * 9);
    EXPECT_EQ(levelRecordOffset(0), 0);  // would start before the file
    EXPECT_EQ(levelRecordOffset(-5), 0);

    ScratchFolder folder;
    std::vector<std::string> records;
    for (int k = 1; k <= 3; ++k)
        records.push_back(record(k, k + 3, "", ""));
    folder.writeFile("p.dat", rawPack(3, "P\r", records));
    for (int k = 1; k <= 3; ++k) {
        const Level level = readLevelRecord("p.dat", k).level;
        EXPECT_EQ(level.keeperX, k);
        EXPECT_EQ(level.keeperY, k + 3);
    }
}

TEST(LevelPack, BoardRowsAreTransposedIntoColumns) {
    ScratchFolder folder;
    std::string bytes = record(3, 4, "", "");
    bytes[84] = 1;    // second byte of the first row
    bytes[98] = 10;   // first byte of the second row
    bytes[307] = 20;  // last cell
    folder.writeFile("p.dat", rawPack(1, "P\r", {bytes}));
    const Level level = readLevelRecord("p.dat", 1).level;
    EXPECT_EQ(level.board.at(2, 1), CellWall);
    EXPECT_EQ(level.board.at(1, 2), CellCrate);
    EXPECT_EQ(level.board.at(15, 15), CellCrateOnTarget);
    EXPECT_EQ(level.board.at(1, 1), CellEmpty);
    // Column by column in memory: (2, 1) is element 15, (1, 2) element 1.
    EXPECT_EQ(level.board.cells[15], CellWall);
    EXPECT_EQ(level.board.cells[1], CellCrate);
}

TEST(LevelPack, AuthorNeedsTheSignatureAndEndsAtByte0Or13) {
    ScratchFolder folder;
    std::string stopped = record(1, 1, "abc", "Ann\rxxxxxxxx");
    stopped[83 + 5] = 1;  // the board is still read from offset 83
    folder.writeFile("p.dat",
                     rawPack(6, "P\r",
                             {
                                 record(1, 1, "abc", "Twelveletter"),
                                 record(1, 1, "abc", std::string("Ann") + std::string(9, '\0')),
                                 stopped,
                                 record(1, 1, "abd", "Somebody"),
                                 record(1, 1, "ABC", "Somebody"),
                                 record(1, 1, "abc", "Jos\xE9"),
                             }));
    const auto author = [](int k) {
        const LevelRecord record = readLevelRecord("p.dat", k);
        return record.hasAuthor ? record.level.author : std::string("(default)");
    };
    EXPECT_EQ(author(1), "Twelveletter");
    EXPECT_EQ(author(2), "Ann");
    EXPECT_EQ(author(3), "Ann");
    EXPECT_EQ(readLevelRecord("p.dat", 3).level.board.at(6, 1), CellWall);
    EXPECT_EQ(author(4), "(default)");
    EXPECT_EQ(author(5), "(default)");
    EXPECT_EQ(author(6), "Jos\xC3\xA9");  // Windows-1252 e-acute shown as UTF-8
}

TEST(LevelPack, BytesBeyondTheEndReadAs26) {
    ScratchFolder folder;
    std::string half = record(2, 3, "abc", "Cut");
    half.resize(100);  // the board stops after 17 cells
    folder.writeFile("p.dat", rawPack(26, "Short\r", {half}));

    const Level cut = readLevelRecord("p.dat", 1).level;
    EXPECT_EQ(cut.keeperX, 2);
    EXPECT_EQ(cut.author, "Cut");
    EXPECT_EQ(cut.board.at(2, 2), CellEmpty);  // the 17th board byte, still in the file
    EXPECT_EQ(cut.board.at(3, 2), PastEndByte);
    EXPECT_EQ(cut.board.at(15, 15), PastEndByte);

    const LevelRecord missing = readLevelRecord("p.dat", 7);
    EXPECT_EQ(missing.level.keeperX, 26);
    EXPECT_EQ(missing.level.keeperY, 26);
    EXPECT_FALSE(missing.hasAuthor);

    const PackHeader header = readPackHeader("p.dat");
    EXPECT_EQ(header.levelCount, 26);  // a count of 26 is just a number
    EXPECT_EQ(header.title, "Short");

    folder.writeFile("tiny.dat", std::string(1, '\0'));
    EXPECT_EQ(readPackHeader("tiny.dat").levelCount, 26);
    EXPECT_EQ(readPackHeader("tiny.dat").title, "");
}

TEST(LevelPack, TitleEndsAtByte13AndShowsUpToByte0) {
    ScratchFolder folder;
    folder.writeFile("a.dat", rawPack(1, "Classics\r\n", {}));
    folder.writeFile("b.dat", rawPack(1, std::string("Two\0Parts\r", 10), {}));
    folder.writeFile("c.dat", std::string("\x00\x05No end", 8));
    folder.writeFile("d.dat", rawPack(1, "\x80uro pack\r", {}));
    EXPECT_EQ(readPackHeader("a.dat").title, "Classics");
    EXPECT_EQ(readPackHeader("b.dat").title, "Two");
    EXPECT_EQ(readPackHeader("c.dat").title, "No end");
    EXPECT_EQ(readPackHeader("c.dat").levelCount, 5);
    EXPECT_EQ(readPackHeader("d.dat").title, "\xE2\x82\xACuro pack");
    EXPECT_EQ(readPackHeader("a.dat", 3).title, "Cla");

    std::string endless = rawPack(1, "", {});
    endless.replace(2, std::string::npos, std::string(2000, 'x'));
    folder.writeFile("e.dat", endless);
    EXPECT_EQ(readPackHeader("e.dat").title.size(), TitleReadLimit);
}

TEST(LevelPack, MissingFilesAndFoldersRaiseTheRuntimeText) {
    ScratchFolder folder;
    try {
        readPackHeader("nothere.dat");
        FAIL() << "no error for a missing pack";
    } catch (const IoError& error) {
        EXPECT_STREQ(error.what(), "Datei nicht gefunden");
    }
    std::filesystem::create_directory("folder.dat");
    EXPECT_THROW(readLevelRecord("folder.dat", 1), IoError);
    EXPECT_THROW(readPackHeader("folder.dat"), IoError);
}

TEST(LevelPack, PackNameDropsOnlyTheLastExtension) {
    EXPECT_EQ(stripExtension("levels.dat"), "levels");
    EXPECT_EQ(stripExtension("my.pack.dat"), "my.pack");
    EXPECT_EQ(stripExtension("noext"), "noext");
}

TEST(LevelPack, WriterAndReaderAgree) {
    ScratchFolder folder;
    auto first = testing::levelFromRows({"#####", "#@$.#", "#####"}, "Ann");
    auto second = testing::levelFromRows({"####", "#+*#", "####"});
    folder.writePack("w.dat", "Caf\xC3\xA9 pack", {first, second});
    const std::string bytes = folder.readFile("w.dat");
    ASSERT_EQ(bytes.size(), 32u + 2 * 308u);
    EXPECT_EQ(bytes[2 + 9], '\r');  // the title "Cafe pack" is nine bytes in Windows-1252

    const PackHeader header = readPackHeader("w.dat");
    EXPECT_EQ(header.levelCount, 2);
    EXPECT_EQ(header.title, "Caf\xC3\xA9 pack");
    const Level one = readLevelRecord("w.dat", 1).level;
    EXPECT_EQ(one.board, first.board);
    EXPECT_EQ(one.keeperX, 2);
    EXPECT_EQ(one.author, "Ann");
    const LevelRecord two = readLevelRecord("w.dat", 2);
    EXPECT_FALSE(two.hasAuthor);
    EXPECT_EQ(two.level.board.at(2, 2), CellTarget);
    EXPECT_EQ(two.level.board.at(3, 2), CellCrateOnTarget);
}

TEST(LevelPack, WriterRefusesWhatThePackCannotHold) {
    EXPECT_THROW(encodePack(std::string(30, 't'), {}), GameError);
    EXPECT_NO_THROW(encodePack(std::string(29, 't'), {}));
    EXPECT_THROW(encodePack("t", std::vector<Level>(256)), GameError);
    Level level;
    level.author = "Thirteen char";
    EXPECT_THROW(encodePack("t", {level}), GameError);
    level.author = "\xE4\xB8\xAD";  // a character Windows-1252 has not
    EXPECT_THROW(encodePack("t", {level}), GameError);
}

TEST(LevelPack, WriterRefusesOverlongUtf8) {
    // "\xC1\xB6" and "\xE0\x81\xB6" are longer forms of "v"; they would come back as "v".
    Level level;
    level.author = "K\xC1\xB6";
    EXPECT_THROW(encodePack("t", {level}), GameError);
    EXPECT_THROW(encodePack("\xE0\x81\xB6", {}), GameError);
    EXPECT_THROW(encodePack("\xC2\x80\xF0\x80\x80\x80", {}), GameError);
    level.author = "K\xC3\xB6";  // the shortest form of the same length is accepted
    EXPECT_NO_THROW(encodePack("t", {level}));
}

}  // namespace
}  // namespace quarbel
