// quarbel-pack's commands: import that never leaves half a pack, export and list, solving
// into movie files that are replaced only when asked, and the solution notation.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/levelpack.h"
#include "support/packbuilder.h"
#include "tools/packtool.h"

namespace quarbel {
namespace {

using testing::ScratchFolder;

const std::string TwoLevels =
    "Collection: Two Rooms\n\n#####\n#@$.#\n#####\nAuthor: Ann\n\n"
    "######\n#@   #\n# $  #\n###  #\n  #. #\n  ####\n";

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun run(const std::vector<std::string>& arguments) {
    ToolRun result{};
    result.status = runPackTool(arguments, result.out, result.err);
    return result;
}

TEST(PackTool, ImportsExportsAndLists) {
    ScratchFolder folder;
    folder.writeFile("rooms.txt", TwoLevels);
    ASSERT_EQ(run({"import", "rooms.txt", "rooms.dat"}).status, 0);
    EXPECT_EQ(std::filesystem::file_size("rooms.dat"), PackHeaderSize + 2u * LevelRecordSize);
    EXPECT_EQ(readPackHeader("rooms.dat").title, "Two Rooms");

    EXPECT_EQ(run({"export", "rooms.dat"}).out, TwoLevels);
    ASSERT_EQ(run({"export", "rooms.dat", "back.txt"}).status, 0);
    EXPECT_EQ(folder.readFile("back.txt"), TwoLevels);

    EXPECT_EQ(run({"list", "rooms.dat"}).out,
              "Title: Two Rooms\nLevels: 2\n"
              "   1   5 x 3    1 crates  Ann\n"
              "   2   6 x 6    1 crates  Unknown\n");
}

TEST(PackTool, ARefusedImportLeavesThePackAsItWas) {
    ScratchFolder folder;
    folder.writeFile("rooms.dat", "old pack");
    folder.writeFile("bad.txt", TwoLevels + "\n#####\n#@$$.#\n#####\n");
    const ToolRun result = run({"import", "bad.txt", "rooms.dat"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "quarbel-pack: level 3: 2 crates but 1 targets\n");
    EXPECT_EQ(folder.readFile("rooms.dat"), "old pack");
    EXPECT_FALSE(std::filesystem::exists("rooms.dat.new"));
}

TEST(PackTool, AFailedWriteLeavesNothingBehind) {
    ScratchFolder folder;
    folder.writeFile("rooms.txt", TwoLevels);
    std::filesystem::create_directory("rooms.dat");  // no file can take its place
    const ToolRun result = run({"import", "rooms.txt", "rooms.dat"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("quarbel-pack: cannot write rooms.dat: ", 0), 0u);
    EXPECT_TRUE(std::filesystem::is_directory("rooms.dat"));
    EXPECT_FALSE(std::filesystem::exists("rooms.dat.new"));
}

TEST(PackTool, ReportsMissingAndDamagedFiles) {
    ScratchFolder folder;
    EXPECT_EQ(run({"import", "none.txt", "x.dat"}).err, "quarbel-pack: cannot open none.txt\n");
    EXPECT_FALSE(std::filesystem::exists("x.dat"));
    EXPECT_EQ(run({"list", "none.dat"}).err,
              "quarbel-pack: cannot read none.dat: Datei nicht gefunden\n");
    folder.writeFile("short.dat", std::string(1, '\0') + "\x03Short\r" + std::string(24, '\0'));
    EXPECT_EQ(run({"export", "short.dat"}).err,
              "quarbel-pack: the pack names 3 levels but holds 0\n");
}

TEST(PackTool, RefusesUnknownCommandsAndOptions) {
    EXPECT_EQ(run({}).status, 1);
    EXPECT_EQ(run({"pack"}).err.rfind("quarbel-pack: unknown command pack\nusage:", 0), 0u);
    EXPECT_EQ(run({"list", "a.dat", "--force"}).err.rfind("quarbel-pack: unknown option", 0), 0u);
    EXPECT_EQ(run({"list"}).err.rfind("quarbel-pack: usage:", 0), 0u);
    EXPECT_EQ(run({"solve", "a.dat", "x3"}).err, "quarbel-pack: \"x3\" is not a level number\n");
}

TEST(PackTool, SolvesALevelIntoTheNotation) {
    ScratchFolder folder;
    folder.writeFile("rooms.txt", TwoLevels);
    ASSERT_EQ(run({"import", "rooms.txt", "rooms.dat"}).status, 0);
    const ToolRun result = run({"solve", "rooms.dat", "2"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "dRurDD\n");
    EXPECT_EQ(result.err.rfind("level 2: 6 moves, 3 pushes, ", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists("rooms"));  // no movie without --movie
    EXPECT_EQ(run({"solve", "rooms.dat", "3"}).err,
              "quarbel-pack: level 3 is not in the pack (1 to 2)\n");
}

TEST(PackTool, WritesASolutionMovieOnlyOverNothingUnlessForced) {
    ScratchFolder folder;
    std::filesystem::create_directory("packs");
    folder.writeFile("rooms.txt", TwoLevels);
    ASSERT_EQ(run({"import", "rooms.txt", "packs/rooms.dat"}).status, 0);
    EXPECT_EQ(movieFileOf("packs/rooms.dat", 2), "packs/rooms/ZORP0002.MOV");

    ASSERT_EQ(run({"solve", "packs/rooms.dat", "2", "--movie"}).status, 0);
    EXPECT_EQ(folder.readFile("packs/rooms/ZORP0002.MOV"), "271366");

    folder.writeFile("packs/rooms/ZORP0002.MOV", "3");
    const ToolRun refused = run({"solve", "packs/rooms.dat", "2", "--movie"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("packs/rooms/ZORP0002.MOV already exists; --force replaces it"),
              std::string::npos);
    EXPECT_EQ(folder.readFile("packs/rooms/ZORP0002.MOV"), "3");

    ASSERT_EQ(run({"solve", "packs/rooms.dat", "2", "--movie", "--force"}).status, 0);
    EXPECT_EQ(folder.readFile("packs/rooms/ZORP0002.MOV"), "271366");
}

TEST(PackTool, NotationAndMovieRoundTrip) {
    ScratchFolder folder;
    const std::vector<std::uint16_t> all = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(notationOf(all), "udrlUDRL");
    EXPECT_EQ(movesOfNotation("udrlUDRL"), all);
    EXPECT_EQ(movesOfNotation(" ud\r\nrl\tUDRL\n"), all);

    const std::string solution = "dRurDDlluRRdLLLuuurRRRDlDDrrLdlUUUluRRRR";
    ASSERT_EQ(run({"text-to-movie", solution, "A.MOV"}).status, 0);
    const std::string digits = folder.readFile("A.MOV");
    EXPECT_EQ(digits.size(), solution.size());
    const ToolRun back = run({"movie-to-text", "A.MOV"});
    EXPECT_EQ(back.out, solution + "\n");
    ASSERT_EQ(run({"text-to-movie", back.out, "A.MOV", "--force"}).status, 0);
    EXPECT_EQ(folder.readFile("A.MOV"), digits);
}

TEST(PackTool, RefusesNotationsAndMoviesThatAreNoSolution) {
    ScratchFolder folder;
    EXPECT_EQ(run({"text-to-movie", "udx", "A.MOV"}).err,
              "quarbel-pack: unknown move 'x' at position 3\n");
    EXPECT_EQ(run({"text-to-movie", " ", "A.MOV"}).err,
              "quarbel-pack: the solution holds no moves\n");
    EXPECT_EQ(run({"text-to-movie", std::string(5001, 'u'), "A.MOV"}).err,
              "quarbel-pack: the solution holds 5001 moves, the game replays at most 5000\n");
    EXPECT_FALSE(std::filesystem::exists("A.MOV"));

    folder.writeFile("B.MOV", "1290");
    EXPECT_EQ(run({"movie-to-text", "B.MOV"}).err,
              "quarbel-pack: B.MOV: move 3 has the unknown code 9\n");
    folder.writeFile("C.MOV", std::string(5001, '1'));
    EXPECT_EQ(run({"movie-to-text", "C.MOV"}).err,
              "quarbel-pack: C.MOV holds more than the 5000 moves the game replays\n");
    EXPECT_EQ(run({"movie-to-text", "none.MOV"}).err, "quarbel-pack: cannot open none.MOV\n");

    folder.writeFile("D.MOV", "12");
    EXPECT_EQ(run({"text-to-movie", "uu", "D.MOV"}).status, 1);
    EXPECT_EQ(folder.readFile("D.MOV"), "12");
}

}  // namespace
}  // namespace quarbel
