// Opening and saving packs and text collections: what our writer wrote comes back byte for
// byte, what a pack cannot hold is named, and a failed save leaves the old file as it was.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <fstream>

#include <filesystem>

#include "../tools/shippedlevels.h"
#include "core/level.h"
#include "editor/packfile.h"
#include "support/packbuilder.h"
#include "support/unprivileged.h"

namespace quarbel::editor {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;

std::string bytesOf(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

Pack smallPack() {
    return {"Small", {testing::levelFromRows({"#####", "#@$.#", "#####"}, "Ann")}};
}

TEST(PackFile, SavingAShippedPackGivesTheSameBytes) {
    ScratchFolder folder;
    for (const char* name : {"lessons.dat", "warehouse.dat"}) {
        SCOPED_TRACE(name);
        const fs::path shipped = fs::path(QUARBEL_GAME_DIR) / name;
        const OpenedPack opened = openFile(shipped.string());
        EXPECT_TRUE(opened.notes.empty());
        EXPECT_GT(opened.pack.levels.size(), 5u);
        saveFile("copy.dat", opened.pack);
        std::ifstream in(shipped, std::ios::binary);
        const std::string original{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(folder.readFile("copy.dat"), original);
    }
}

TEST(PackFile, ExportingAnOpenedCollectionGivesTheSameText) {
    ScratchFolder folder;
    for (const auto& source : testing::shippedLevelSources()) {
        SCOPED_TRACE(source.name);
        folder.writeFile("in.txt", source.text);
        const OpenedPack opened = openFile("in.txt");
        EXPECT_TRUE(opened.notes.empty());
        exportText("out.txt", opened.pack);
        EXPECT_EQ(folder.readFile("out.txt"), source.text);
    }
    // Level titles have no place in a pack but stay with the levels in text.
    const std::string titled =
        "Title: Mine\n\n#####\n#@$.#\n#####\nTitle: One\nAuthor: Me\n\n"
        " ####\n##. #\n#@$ #\n####\nTitle: Two\n";
    folder.writeFile("titled.txt", titled);
    exportText("titled-out.txt", openFile("titled.txt").pack);
    EXPECT_EQ(folder.readFile("titled-out.txt"), titled);
}

TEST(PackFile, ATextCollectionOpensWithoutTheLevelsAPackCannotHold) {
    ScratchFolder folder;
    folder.writeFile("big.txt", "Collection: Big\n\n#####\n#@$.#\n#####\n\n" +
                                    std::string(16, '#') + "\n#@$." + std::string(11, ' ') + "#\n" +
                                    std::string(16, '#') + "\n\n####\n#@*#\n####\n");
    const OpenedPack opened = openFile("big.txt");
    ASSERT_EQ(opened.pack.levels.size(), 2u);
    ASSERT_EQ(opened.notes.size(), 1u);
    EXPECT_NE(opened.notes[0].find("level 2"), std::string::npos) << opened.notes[0];
    EXPECT_EQ(opened.pack.title, "Big");
}

TEST(PackFile, APackThatEndsEarlyOpensWithItsCompleteLevels) {
    ScratchFolder folder;
    Pack pack = smallPack();
    pack.levels.push_back(pack.levels[0]);
    pack.levels.push_back(pack.levels[0]);
    const std::string bytes = bytesOf(packBytesOf(pack));
    folder.writeFile("short.dat", bytes.substr(0, bytes.size() - 100));
    const OpenedPack opened = openFile("short.dat");
    EXPECT_EQ(opened.pack.levels.size(), 2u);
    ASSERT_EQ(opened.notes.size(), 1u);
    EXPECT_NE(opened.notes[0].find("levels 3 to 3"), std::string::npos) << opened.notes[0];
    EXPECT_EQ(opened.pack.levels[1], pack.levels[1]);
}

TEST(PackFile, TextsAForeignPackCannotKeepAreFittedAndNamed) {
    ScratchFolder folder;
    // A title of 35 characters, as another program may have written it, and no level.
    folder.writeFile("long.dat", std::string(2, '\0') + std::string(35, 'T') + "\r");
    const OpenedPack longTitle = openFile("long.dat");
    EXPECT_EQ(longTitle.pack.title, std::string(29, 'T'));
    ASSERT_EQ(longTitle.notes.size(), 2u);
    EXPECT_EQ(longTitle.notes[0].rfind("the title \"TTT", 0), 0u) << longTitle.notes[0];

    Pack pack = smallPack();
    pack.title = "Ends in a space ";
    pack.levels[0].author = "abxcd";
    std::string bytes = bytesOf(packBytesOf(pack));
    bytes[PackHeaderSize + 6 + 2] = '\x01';  // a control character in the author
    folder.writeFile("odd.dat", bytes);
    const OpenedPack odd = openFile("odd.dat");
    EXPECT_EQ(odd.pack.title, "Ends in a space ") << "a title that fits is kept as it is";
    EXPECT_EQ(odd.pack.levels[0].author, "ab?cd");
    ASSERT_EQ(odd.notes.size(), 1u);
    EXPECT_EQ(odd.notes[0].rfind("the author of level 1", 0), 0u) << odd.notes[0];
}

TEST(PackFile, OpeningSaysWhichFileAndWhy) {
    ScratchFolder folder;
    try {
        openFile("missing.dat");
        FAIL() << "a missing file opened";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "cannot read missing.dat: no such file or folder");
    }
    // A pipe would block the window in the open; a folder is no pack either.
    ASSERT_EQ(::mkfifo("pipe.dat", 0600), 0);
    EXPECT_THROW(openFile("pipe.dat"), FileError);
    fs::create_directory("folder.txt");
    EXPECT_THROW(openFile("folder.txt"), FileError);
    // A text line that is no board row is read as text, not refused.
    folder.writeFile("odd.txt", "#####\n#@$.#\n#####\nColour: blue\n");
    EXPECT_EQ(openFile("odd.txt").pack.levels.size(), 1u);
}

TEST(PackFile, AFailedSaveLeavesTheOldFileAsItWas) {
    ScratchFolder folder;
    folder.writeFile("keep.txt", "old text");
    Pack unshowable = smallPack();
    // A keeper standing on a wall cannot be written as text.
    unshowable.levels[0].board.at(unshowable.levels[0].keeperX, unshowable.levels[0].keeperY) =
        CellWall;
    try {
        saveFile("keep.txt", unshowable);
        FAIL() << "an unshowable level was saved as text";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("cannot save keep.txt: level 1"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_EQ(folder.readFile("keep.txt"), "old text");
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1)
        << "no part file is left behind";

    fs::permissions(".", fs::perms::all);
    folder.writeFile("locked.dat", "old pack");
    fs::permissions("locked.dat",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    testing::Unprivileged user;
    ASSERT_TRUE(user.permissionsBind());
    try {
        saveFile("locked.dat", smallPack());
        FAIL() << "a read-only pack was replaced";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "cannot write locked.dat: it is read-only");
    }
    EXPECT_EQ(folder.readFile("locked.dat"), "old pack");
}

TEST(PackFile, SavingReplacesTheFileWholeAndFollowsALink) {
    ScratchFolder folder;
    saveFile("real.dat", smallPack());
    ::chmod("real.dat", 0640);
    fs::create_symlink("real.dat", "link.dat");
    Pack changed = smallPack();
    changed.title = "Changed";
    saveFile("link.dat", changed);
    EXPECT_TRUE(fs::is_symlink("link.dat"));
    EXPECT_EQ(openFile("real.dat").pack, changed);
    EXPECT_EQ(fs::status("real.dat").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(PackFile, WhatIsNoPackOrNoTextIsRefusedAndWhatTextLosesIsNamed) {
    ScratchFolder folder;
    folder.writeFile("empty.dat", "");
    folder.writeFile("picture.txt", std::string("BM\0\0\x10\0", 6));
    for (const char* name : {"empty.dat", "picture.txt"}) {
        try {
            openFile(name);
            ADD_FAILURE() << name << " opened";
        } catch (const FileError& error) {
            EXPECT_EQ(std::string(error.what()).find(std::string("cannot read ") + name + ": "), 0u)
                << error.what();
        }
    }
    folder.writeFile("notes.txt",
                     "; drawn by hand\n#####\n#@$.#\n#####\nSolution: R\nDate: today\n");
    const OpenedPack opened = openFile("notes.txt");
    EXPECT_EQ(opened.notes,
              std::vector<std::string>{"left out, as the editor has no place for them: 1 comment "
                                       "line, 1 solution and 1 other key: value line"});
}

TEST(PackFile, CellsTheGameDoesNotKnowFailTheChecksAsTheyFailExport) {
    ScratchFolder folder;
    Level level = testing::levelFromRows({"#####", "#@$.#", "#####"});
    level.board.at(9, 9) = 21;
    saveFile("odd.dat", {"Odd", {level}});
    const Level opened = openFile("odd.dat").pack.levels.at(0);
    EXPECT_EQ(levelProblems(opened),
              std::vector<std::string>{"cell (9, 9) holds the unknown code 21"});
    try {
        textOf({"Odd", {opened}});
        ADD_FAILURE() << "exported";
    } catch (const StoreError& error) {
        EXPECT_STREQ(error.what(), "level 1: cell (9, 9) holds the unknown code 21");
    }
}

TEST(PackFile, OpeningAndSavingRemoveWhatAKilledSaveLeftBehind) {
    ScratchFolder folder;
    saveFile("p.dat", smallPack());
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = ".p.dat." + std::to_string(gone) + ".5e.part";
    folder.writeFile(stale, std::string(20000, 'x'));
    folder.writeFile(".q.dat." + std::to_string(gone) + ".5e.part", "another file's");
    openFile("p.dat");
    EXPECT_EQ(folder.entries(),
              (std::vector<std::string>{".q.dat." + std::to_string(gone) + ".5e.part", "p.dat"}));
    folder.writeFile(stale, "x");
    saveFile("p.dat", smallPack());
    EXPECT_FALSE(fs::exists(stale));
}

TEST(PackFile, ANameNotEndingInDatSavesText) {
    ScratchFolder folder;
    saveFile("both.txt", smallPack());
    EXPECT_EQ(folder.readFile("both.txt"), "Title: Small\n\n#####\n#@$.#\n#####\nAuthor: Ann\n");
}

}  // namespace
}  // namespace quarbel::editor
