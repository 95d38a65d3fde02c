// quarbel-pack's commands: import of collections as they are found, that never leaves half
// a pack, export and list, solving into movie files that are replaced only when asked, and
// the solution notation.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core/levelpack.h"
#include "shippedlevels.h"
#include "support/packbuilder.h"
#include "support/unprivileged.h"
#include "tools/levelconvert.h"
#include "tools/packtool.h"

namespace quarbel {
namespace {

using testing::ScratchFolder;

const std::string TwoLevels =
    "Title: Two Rooms\n\n#####\n#@$.#\n#####\nAuthor: Ann\n\n"
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

TEST(PackTool, ImportsWhatAPackCanHoldAndSaysWhatItLeftOut) {
    ScratchFolder folder;
    folder.writeFile(
        "castle.txt",
        "; Castles, drawn by hand\r\nTitle: Castle\r\nAuthor: Christopher Columbus\r\n\r\n"
        "Gate\r\n#####\r\n#@$.#\r\n#####\r\n\r\n"
        "#################\r\n#@$.            #\r\n#################\r\n'The Long Hall'\r\n\r\n"
        "6#|#@$$.#|6#\r\nAuthor: Ann\r\n\r\n"
        "####\r\n#+$#\r\n####\r\nAuthor: Christopher Columbus\r\n");
    const ToolRun result = run({"import", "castle.txt", "castle.dat"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "the author \"Christopher Columbus\" is cut to \"Christopher\" (12 characters)\n"
              "level 2 'The Long Hall': 17 x 3 is larger than 15 x 15\n"
              "level 3: 2 crates but 1 target\n"
              "left out, as a pack has no place for them: 1 level title and 1 comment line\n"
              "imported 2 of 4 levels into castle.dat; skipped 2\n");
    EXPECT_EQ(run({"list", "castle.dat"}).out,
              "Title: Castle\nLevels: 2\n"
              "   1   5 x 3    1 crates  Christopher\n"
              "   2   4 x 3    1 crates  Christopher\n");
}

TEST(PackTool, WritesNothingWhenNoLevelFits) {
    ScratchFolder folder;
    folder.writeFile("rooms.dat", "old pack");
    folder.writeFile("none.txt", "#####\n#@$$.#\n#####\n");
    const ToolRun result = run({"import", "none.txt", "rooms.dat"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "level 1: 2 crates but 1 target\n");
    EXPECT_EQ(result.err, "quarbel-pack: no level of none.txt fits a pack; nothing written\n");
    EXPECT_EQ(folder.readFile("rooms.dat"), "old pack");
    folder.writeFile("empty.txt", "; only a comment\n");
    EXPECT_EQ(run({"import", "empty.txt", "rooms.dat"}).err,
              "quarbel-pack: empty.txt holds no level; nothing written\n");
    EXPECT_EQ(folder.readFile("rooms.dat"), "old pack");
    EXPECT_FALSE(std::filesystem::exists("rooms.dat.new"));
}

TEST(PackTool, StrictRefusesTheWholeFileAtTheFirstLoss) {
    ScratchFolder folder;
    folder.writeFile("rooms.dat", "old pack");
    folder.writeFile("bad.txt", TwoLevels + "\n#####\n#@$$.#\n#####\n");
    ToolRun result = run({"import", "bad.txt", "rooms.dat", "--strict"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "quarbel-pack: level 3: 2 crates but 1 target; nothing written (--strict)\n");
    EXPECT_EQ(folder.readFile("rooms.dat"), "old pack");
    folder.writeFile("long.txt", TwoLevels + "Author: Sixteen characters\n");
    EXPECT_EQ(run({"import", "long.txt", "rooms.dat", "--strict"}).err,
              "quarbel-pack: the author \"Sixteen characters\" is cut to \"Sixteen char\" (12 "
              "characters); nothing written (--strict)\n");
    std::string many;
    for (int k = 0; k < 256; ++k)
        many += "#####\n#@$.#\n#####\n\n";
    folder.writeFile("many.txt", many);
    EXPECT_EQ(run({"import", "many.txt", "rooms.dat", "--strict"}).err,
              "quarbel-pack: the collection holds 256 levels, a pack at most 255; nothing written "
              "(--strict)\n");
    EXPECT_EQ(folder.readFile("rooms.dat"), "old pack");
    // What a pack holds in full imports as before, comments and titles aside.
    folder.writeFile("good.txt", "; ours\n" + TwoLevels + "Title: Corner\n");
    result = run({"import", "good.txt", "rooms.dat", "--strict"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(run({"export", "rooms.dat"}).out, TwoLevels);
}

std::string manyLevels(int count) {
    std::string text;
    for (int k = 1; k <= count; ++k)
        text += "Level " + std::to_string(k) + "\n#####\n#@$.#\n#####\n\n";
    return text;
}

TEST(PackTool, SplitsMoreThan255LevelsIntoPacks) {
    ScratchFolder folder;
    folder.writeFile("coll.txt", "Title: Big\n\n" + manyLevels(300));
    const ToolRun result = run({"import", "coll.txt", "coll.dat"});
    EXPECT_EQ(result.status, 0);
    const std::string last = result.out.substr(result.out.rfind('\n', result.out.size() - 2) + 1);
    EXPECT_EQ(last, "imported 300 of 300 levels into coll.dat and coll-2.dat\n");
    EXPECT_EQ(readPackHeader("coll.dat").levelCount, 255);
    EXPECT_EQ(readPackHeader("coll.dat").title, "Big (1/2)");
    EXPECT_EQ(readPackHeader("coll-2.dat").levelCount, 45);
    EXPECT_EQ(readPackHeader("coll-2.dat").title, "Big (2/2)");

    folder.writeFile("huge.txt", manyLevels(3 * 255 + 1));
    EXPECT_NE(run({"import", "huge.txt", "huge.dat"})
                  .out.find("imported 766 of 766 levels into huge.dat to huge-4.dat (4 packs)\n"),
              std::string::npos);
    EXPECT_EQ(readPackHeader("huge-4.dat").title, "Part 4/4");
}

TEST(PackTool, WritesEveryPackOfASplitOrNone) {
    ScratchFolder folder;
    folder.writeFile("coll.txt", manyLevels(600));
    folder.writeFile("coll.dat", "old first");
    folder.writeFile("coll-2.dat", "old second");
    std::filesystem::create_directory("coll-3.dat");  // no pack can take its place
    const ToolRun result = run({"import", "coll.txt", "coll.dat"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "quarbel-pack: cannot write coll-3.dat: it is a folder, not a file\n");
    EXPECT_EQ(folder.readFile("coll.dat"), "old first");
    EXPECT_EQ(folder.readFile("coll-2.dat"), "old second");
    for (const auto& entry : std::filesystem::directory_iterator("."))
        EXPECT_TRUE(entry.path().extension() == ".dat" || entry.path().extension() == ".txt")
            << entry.path();

    std::filesystem::remove("coll-3.dat");
    ASSERT_EQ(run({"import", "coll.txt", "coll.dat"}).status, 0);
    EXPECT_EQ(readPackHeader("coll-3.dat").levelCount, 90);
    EXPECT_EQ(readPackHeader("coll-2.dat").levelCount, 255);
    EXPECT_FALSE(std::filesystem::exists("coll.dat.old"));
}

TEST(PackTool, StoresCheckedSolutionsAsMovies) {
    ScratchFolder folder;
    folder.writeFile("moves.txt",
                     "#####\n#@$.#\n#####\nSolution: R\n\n"
                     "######\n#@ $.#\n######\nr\nR\n\n"
                     "#####\n#@$.#\n#####\nSolution: rR\n\n"
                     "#####\n#@$.#\n#####\n");
    std::filesystem::create_directory("moves");
    folder.writeFile("moves/ZORP0002.MOV", "3");
    ToolRun result = run({"import", "moves.txt", "moves.dat", "--movies"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "level 3: the solution does not solve the level; not stored\n"
              "level 2: moves/ZORP0002.MOV already exists; --force replaces it\n"
              "stored 1 movie\n"
              "imported 4 of 4 levels into moves.dat\n");
    EXPECT_EQ(folder.readFile("moves/ZORP0001.MOV"), "7");
    EXPECT_EQ(folder.readFile("moves/ZORP0002.MOV"), "3");
    EXPECT_FALSE(std::filesystem::exists("moves/ZORP0003.MOV"));

    result = run({"import", "moves.txt", "moves.dat", "--movies", "--force"});
    EXPECT_EQ(folder.readFile("moves/ZORP0002.MOV"), "37");
    EXPECT_NE(result.out.find("stored 2 movies\n"), std::string::npos);

    // Export gives the stored movies back as solutions.
    result = run({"export", "moves.dat", "--movies"});
    EXPECT_EQ(result.out,
              "#####\n#@$.#\n#####\nSolution: R\n\n######\n#@ $.#\n######\nSolution: rR\n\n"
              "#####\n#@$.#\n#####\n\n#####\n#@$.#\n#####\n");
    folder.writeFile("moves/ZORP0003.MOV", "79");
    result = run({"export", "moves.dat", "--movies"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err,
              "level 3: moves/ZORP0003.MOV: move 2 has the unknown code 9; exported without its "
              "solution\n");
    std::filesystem::remove("moves/ZORP0003.MOV");
    std::filesystem::create_directory("moves/ZORP0003.MOV");
    result = run({"export", "moves.dat", "moves-out.txt", "--movies"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err,
              "level 3: cannot read moves/ZORP0003.MOV: it is a folder, not a file; exported "
              "without its solution\n");
    EXPECT_NE(folder.readFile("moves-out.txt").find("Solution: rR"), std::string::npos);

    // Without --movies solutions are counted among what a pack has no place for.
    folder.writeFile("moves.txt", "#####\n#@$.#\n#####\nSolution: R\n");
    EXPECT_EQ(run({"import", "moves.txt", "other.dat"}).out,
              "left out, as a pack has no place for them: 1 solution\n"
              "imported 1 of 1 levels into other.dat\n");
    EXPECT_FALSE(std::filesystem::exists("other"));
}

TEST(PackTool, ListsWhatImportWouldDo) {
    ScratchFolder folder;
    folder.writeFile("castle.txt",
                     "Title: Castle\n\nGate\n#####\n#@$.#\n#####\nAuthor: Ann\n\n"
                     "########\n#@ .##\n#####\n\n####\n#+$#\n####\n");
    const ToolRun result = run({"list", "castle.txt"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "Title: Castle\nLevels: 3 found, 2 fit a pack\n"
              "   1   5 x 3    1 crates  Ann  'Gate'\n"
              "   3   4 x 3    1 crates  Unknown\n"
              "level 2: no crates\n"
              "left out, as a pack has no place for them: 1 level title\n"
              "would import 2 of 3 levels into 1 pack; skipped 1\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 1);
}

TEST(PackTool, SolvesALevelOfACollection) {
    ScratchFolder folder;
    folder.writeFile("rooms.txt",
                     "; two rooms\n" + TwoLevels + "\nBig\n" + std::string(16, '#') + "\n");
    const ToolRun result = run({"solve", "rooms.txt", "2"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "dRurDD\n");
    EXPECT_EQ(run({"solve", "rooms.txt", "3"}).err,
              "quarbel-pack: level 3 'Big': 16 x 1 is larger than 15 x 15\n");
    EXPECT_EQ(run({"solve", "rooms.txt", "2", "--movie"}).err,
              "quarbel-pack: --movie stores a movie beside a pack; import rooms.txt first\n");
}

TEST(PackTool, SolvesEveryLevelOfAFileWithinItsTime) {
    ScratchFolder folder;
    folder.writeFile("rooms.txt", TwoLevels + "\n#####\n#@$.#\n#$ .#\n#####\n");
    const ToolRun result = run({"solve", "rooms.txt", "--time", "2.5"});
    EXPECT_EQ(result.status, 1) << "not every level was solved";
    EXPECT_EQ(result.out,
              "level 1: 1 moves, 1 pushes, 2 positions searched\n"
              "level 2: 6 moves, 3 pushes, 4 positions searched\n"
              "level 3: cannot be solved\n"
              "solved 2 of 3 levels\n");
    for (const char* bad : {"0", "-1", "ten", "1e9"}) {
        EXPECT_EQ(run({"solve", "rooms.txt", "1", "--time", bad}).err,
                  "quarbel-pack: --time needs a number of seconds above 0\n");
    }
    EXPECT_EQ(run({"solve", "rooms.txt", "1", "--time"}).err,
              "quarbel-pack: --time needs a number of seconds above 0\n");
}

TEST(PackTool, AFailedWriteLeavesNothingBehind) {
    ScratchFolder folder;
    folder.writeFile("rooms.txt", TwoLevels);
    std::filesystem::create_directory("rooms.dat");  // no file can take its place
    const ToolRun result = run({"import", "rooms.txt", "rooms.dat"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "quarbel-pack: cannot write rooms.dat: it is a folder, not a file\n");
    EXPECT_TRUE(std::filesystem::is_directory("rooms.dat"));
    EXPECT_FALSE(std::filesystem::exists("rooms.dat.new"));
}

TEST(PackTool, TouchesNoFileButThePacksItWrites) {
    namespace fs = std::filesystem;
    ScratchFolder folder;
    folder.writeFile("rooms.txt", TwoLevels);
    folder.writeFile("rooms.dat.old", "mine");
    folder.writeFile("victim", "precious");
    fs::create_symlink("victim", "rooms.dat.new");
    ASSERT_EQ(run({"import", "rooms.txt", "rooms.dat"}).status, 0);
    EXPECT_EQ(folder.readFile("rooms.dat.old"), "mine");
    EXPECT_EQ(folder.readFile("victim"), "precious");
    EXPECT_TRUE(fs::is_symlink("rooms.dat.new"));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"rooms.dat", "rooms.dat.new",
                                                          "rooms.dat.old", "rooms.txt", "victim"}));

    // A pack the player made read-only stays as it is.
    const std::string before = folder.readFile("rooms.dat");
    fs::permissions(".", fs::perms::all);
    fs::permissions("rooms.dat", fs::perms::owner_read | fs::perms::others_read);
    folder.writeFile("other.txt", "#####\n#@$.#\n#####\n");
    {
        testing::Unprivileged user;
        if (!user.permissionsBind()) GTEST_SKIP() << "cannot leave the root user";
        const ToolRun result = run({"import", "other.txt", "rooms.dat"});
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "quarbel-pack: cannot write rooms.dat: it is read-only\n");
    }
    EXPECT_EQ(folder.readFile("rooms.dat"), before);
    EXPECT_EQ(fs::status("rooms.dat").permissions(),
              fs::perms::owner_read | fs::perms::others_read);
}

TEST(PackTool, NeverWritesOverTheFileItReads) {
    ScratchFolder folder;
    folder.writeFile("rooms.txt", TwoLevels);
    std::filesystem::create_symlink("rooms.txt", "link.dat");
    ToolRun result = run({"import", "rooms.txt", "link.dat"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "quarbel-pack: cannot write link.dat: it is rooms.txt, the file being read; name "
              "another file\n");
    EXPECT_EQ(folder.readFile("rooms.txt"), TwoLevels);

    ASSERT_EQ(run({"import", "rooms.txt", "rooms.dat"}).status, 0);
    const std::string pack = folder.readFile("rooms.dat");
    result = run({"export", "rooms.dat", "./rooms.dat"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(folder.readFile("rooms.dat"), pack);
}

TEST(PackTool, SaysWhatStandsThereInsteadOfACollectionWithoutWaiting) {
    ScratchFolder folder;
    ASSERT_EQ(::mkfifo("fifo.txt", 0666), 0);
    EXPECT_EQ(run({"import", "fifo.txt", "x.dat"}).err,
              "quarbel-pack: cannot read fifo.txt: it is a FIFO, not a file\n");
    EXPECT_EQ(run({"list", "/dev/zero"}).err,
              "quarbel-pack: cannot read /dev/zero: it is a device, not a file\n");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"fifo.txt"});
}

// The exit status of quarbel-pack itself, its output going where the shell sends it.
int shellStatus(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(PackTool, AnOutputThatCannotBeWrittenIsAFailure) {
    ScratchFolder folder;
    folder.writeFile("rooms.txt", TwoLevels);
    ASSERT_EQ(run({"import", "rooms.txt", "rooms.dat"}).status, 0);
    const std::string program = QUARBEL_PACK_PROGRAM;
    EXPECT_EQ(shellStatus(program + " export rooms.dat > /dev/full 2> err.txt"), 1);
    EXPECT_EQ(folder.readFile("err.txt"),
              "quarbel-pack: cannot write the standard output: the disk is full\n");
    EXPECT_EQ(shellStatus(program + " list rooms.dat > /dev/full 2> /dev/null"), 1);
    EXPECT_EQ(shellStatus(program + " list rooms.dat > /dev/null"), 0);
}

TEST(PackTool, TellsAFileThatIsNoCollectionAsWhatItIs) {
    ScratchFolder folder;
    folder.writeFile("rooms.txt", TwoLevels);
    ASSERT_EQ(run({"import", "rooms.txt", "rooms.dat"}).status, 0);
    EXPECT_EQ(run({"import", "rooms.dat", "again.dat"}).err,
              "quarbel-pack: cannot import rooms.dat: it is a level pack, not a collection text "
              "(quarbel-pack export turns it into text)\n");
    folder.writeFile("wide.txt", std::string("\xFF\xFE#\0#\0#\0\n\0", 10));
    EXPECT_EQ(run({"import", "wide.txt", "w.dat"}).err,
              "quarbel-pack: cannot import wide.txt: it is UTF-16 text; save it as UTF-8\n");
    folder.writeFile("picture.txt", std::string("BM\0\0\x10\0", 6));
    EXPECT_EQ(run({"import", "picture.txt", "p.dat"}).err,
              "quarbel-pack: cannot import picture.txt: it holds NUL bytes: it is no text\n");
    folder.writeFile("typo.txt", "#####\n#@$.#\n#@ x#\n#####\n");
    EXPECT_EQ(run({"import", "typo.txt", "t.dat", "--strict"}).err,
              "quarbel-pack: level 1: line 3: 'x' is no board character; nothing written "
              "(--strict)\n");
    folder.writeFile("empty.dat", "");
    EXPECT_EQ(run({"list", "empty.dat"}).err,
              "quarbel-pack: the file is too short to be a pack: 0 bytes, where a pack's header "
              "alone takes 32\n");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"empty.dat", "picture.txt", "rooms.dat",
                                                          "rooms.txt", "typo.txt", "wide.txt"}));
}

TEST(PackTool, ReportsMissingAndDamagedFiles) {
    ScratchFolder folder;
    EXPECT_EQ(run({"import", "none.txt", "x.dat"}).err,
              "quarbel-pack: cannot read none.txt: no such file or folder\n");
    EXPECT_FALSE(std::filesystem::exists("x.dat"));
    EXPECT_EQ(run({"list", "none.dat"}).err,
              "quarbel-pack: cannot read none.dat: no such file or folder\n");
    folder.writeFile("short.dat", std::string(1, '\0') + "\x03Short\r" + std::string(24, '\0'));
    EXPECT_EQ(run({"export", "short.dat"}).err,
              "quarbel-pack: the pack names 3 levels but holds 0\n");
}

// Every form the reader takes, with levels a pack cannot hold and wrong solutions among
// them; authorSuffix is "M\xFCller" in the file's own encoding.
std::string everyFeature(int levels, const std::string& authorSuffix) {
    std::string text =
        "\xEF\xBB\xBFTitle: A Collection Of Every Form There Is\r\nAuthor: The Makers " +
        authorSuffix + "\r\nHomepage: none\r\n; generated for the test\r\n\r\n";
    for (int k = 1; k <= levels; ++k) {
        const std::string floor(k % 6, k % 2 ? '-' : '_');
        const std::string wall(floor.size() + 5, '#');
        if (k % 4 == 0) text += "'Level " + std::to_string(k) + "'\r\n";
        if (k % 9 == 0) text += "Comment:\r\n" + wall + "\r\n#@$.#\r\nComment-End:\r\n";
        switch (k % 3) {
            case 0:
                text += std::to_string(wall.size()) + "#|#p" + floor + "b.#|" + wall + "\r\n";
                break;
            case 1:
                text += "  " + wall + "  \r\n  #@" + floor + "$.#\r\n  " + wall + "\r\n";
                break;
            default:
                text += wall + "\r\n#P" + floor + "$$.#\r\n#" + std::string(floor.size() + 1, ' ') +
                        "B#\r\n" + wall + "\r\n";
                break;
        }
        if (k % 4 == 1) text += "Level " + std::to_string(k) + "\r\n";
        if (k % 5 == 0) text += "Author: " + authorSuffix + " " + std::to_string(k) + "\r\n";
        if (k % 7 == 0) text += "Author: Someone with a name too long\r\n";
        if (k % 8 == 0) text += "Difficulty: " + std::to_string(k % 3) + "\r\n";
        // Walk along the floor and push; every eleventh solution walks the wrong way.
        const std::string moves = k % 11 == 0 ? "L" : std::string(floor.size(), 'r') + "R";
        if (k % 3 != 2) text += k % 2 ? "Solution: " + moves + "\r\n" : moves + "\r\n";
        if (k % 50 == 0) text += std::string(16, '#') + "\r\n#@$." + std::string(11, ' ') + "#\r\n";
        text += "\r\n";
    }
    return text;
}

std::vector<std::string> filesUnder(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        names.push_back(entry.path().lexically_relative(folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(PackTool, ExportImportsBackToTheSamePacksAndMovies) {
    ScratchFolder folder;
    for (const std::string name : {"first", "again", "cp1252"})
        std::filesystem::create_directory(name);
    folder.writeFile("every.txt", everyFeature(300, "M\xC3\xBCller"));
    const ToolRun first = run({"import", "every.txt", "first/every.dat", "--movies"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_NE(
        first.out.find("imported 300 of 306 levels into first/every.dat and first/every-2.dat; "
                       "skipped 6\n"),
        std::string::npos)
        << first.out;
    for (const std::string part : {"every", "every-2"}) {
        SCOPED_TRACE(part);
        const ToolRun exported =
            run({"export", "first/" + part + ".dat", part + ".txt", "--movies"});
        ASSERT_EQ(exported.status, 0) << exported.err;
        const ToolRun again = run({"import", part + ".txt", "again/" + part + ".dat", "--movies"});
        ASSERT_EQ(again.status, 0) << again.err;
        EXPECT_EQ(folder.readFile("again/" + part + ".dat"),
                  folder.readFile("first/" + part + ".dat"));
    }
    const std::vector<std::string> movies = filesUnder("first");
    EXPECT_EQ(movies.size(), 2u + 2u + 182u);  // packs, movie folders, movies
    EXPECT_EQ(filesUnder("again"), movies);
    for (const std::string& name : movies) {
        if (name.ends_with(".MOV")) {
            EXPECT_EQ(folder.readFile("again/" + name), folder.readFile("first/" + name));
        }
    }

    // The same collection in Windows-1252 makes the same packs.
    folder.writeFile("cp1252.txt", everyFeature(300, "M\xFCller").substr(3));
    const ToolRun cp1252 = run({"import", "cp1252.txt", "cp1252/every.dat"});
    EXPECT_EQ(cp1252.out.rfind("read as Windows-1252, as it is not UTF-8\n", 0), 0u);
    EXPECT_EQ(folder.readFile("cp1252/every-2.dat"), folder.readFile("first/every-2.dat"));
}

TEST(PackTool, ShippedPacksComeBackToTheSameBytes) {
    const auto sources = testing::shippedLevelSources();
    ASSERT_GE(sources.size(), 2u);
    ScratchFolder folder;
    for (const auto& source : sources) {
        SCOPED_TRACE(source.name);
        folder.writeFile(source.name + ".txt", source.text);
        ASSERT_EQ(run({"import", source.name + ".txt", source.name + ".dat", "--strict"}).status,
                  0);
        ASSERT_EQ(run({"export", source.name + ".dat", "back.txt"}).status, 0);
        EXPECT_EQ(folder.readFile("back.txt"), source.text);
        ASSERT_EQ(run({"import", "back.txt", "back.dat"}).status, 0);
        EXPECT_EQ(folder.readFile("back.dat"), folder.readFile(source.name + ".dat"));
    }
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
              "quarbel-pack: level 3 is not in rooms.dat (1 to 2)\n");
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
    EXPECT_EQ(run({"movie-to-text", "none.MOV"}).err,
              "quarbel-pack: cannot read none.MOV: no such file or folder\n");

    folder.writeFile("D.MOV", "12");
    EXPECT_EQ(run({"text-to-movie", "uu", "D.MOV"}).status, 1);
    EXPECT_EQ(folder.readFile("D.MOV"), "12");
}

}  // namespace
}  // namespace quarbel
