// The player's game folder: where it is, what the first start places there, and what later
// starts leave alone, bring back and add.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/levelpack.h"
#include "launcher/playerfolder.h"
#include "support/packbuilder.h"
#include "support/unprivileged.h"

namespace {

namespace fs = std::filesystem;
using quarbel::PlayerFolderError;
using quarbel::preparePlayerFolder;
using quarbel::testing::ScratchFolder;

TEST(PlayerFolderFor, FollowsTheBaseDirectoryRules) {
    EXPECT_EQ(quarbel::playerFolderFor("/data", "/home/jo"), fs::path("/data/quarbel98"));
    EXPECT_EQ(quarbel::playerFolderFor(nullptr, "/home/jo"),
              fs::path("/home/jo/.local/share/quarbel98"));
    // An empty or relative XDG_DATA_HOME is ignored, as the rules say.
    EXPECT_EQ(quarbel::playerFolderFor("", "/home/jo"),
              fs::path("/home/jo/.local/share/quarbel98"));
    EXPECT_EQ(quarbel::playerFolderFor("data", "/home/jo"),
              fs::path("/home/jo/.local/share/quarbel98"));
    EXPECT_THROW(quarbel::playerFolderFor(nullptr, nullptr), PlayerFolderError);
    EXPECT_THROW(quarbel::playerFolderFor("data", "home"), PlayerFolderError);
}

// The installed files in shipped/, the player's folder player/ (not made yet).
class PlayerFolder : public ::testing::Test {
  protected:
    PlayerFolder() {
        fs::create_directory(shipped);
        ship("playal8n.bmp", "tiles");
        ship("done.wav", "jingle");
        ship("quarbel.hlp", "help");
        ship("lessons.dat", "lessons pack");
        ship("warehouse.dat", "warehouse pack");
    }

    void ship(const std::string& name, const std::string& bytes) {
        scratch.writeFile("shipped/" + name, bytes);
    }
    void own(const std::string& name, const std::string& bytes) {
        scratch.writeFile("deep/player/" + name, bytes);
    }
    std::string contentOf(const std::string& name) {
        return scratch.readFile("deep/player/" + name);
    }
    bool isLink(const std::string& name) { return fs::is_symlink(player / name); }
    bool holds(const std::string& name) { return fs::exists(fs::symlink_status(player / name)); }
    std::vector<std::string> prepare() { return preparePlayerFolder(shipped, player); }

    ScratchFolder scratch;
    const fs::path shipped = scratch.path() / "shipped";
    const fs::path player = scratch.path() / "deep" / "player";
};

TEST_F(PlayerFolder, FirstStartLinksThePicturesAndCopiesThePacks) {
    const std::vector<std::string> placed = prepare();
    EXPECT_EQ(placed, (std::vector<std::string>{"done.wav", "lessons.dat", "playal8n.bmp",
                                                "quarbel.hlp", "warehouse.dat"}));
    for (const char* name : {"playal8n.bmp", "done.wav", "quarbel.hlp"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(isLink(name));
        EXPECT_EQ(fs::read_symlink(player / name), shipped / name);
    }
    EXPECT_EQ(contentOf("playal8n.bmp"), "tiles");
    for (const char* name : {"lessons.dat", "warehouse.dat"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(player / name)));
    }
    EXPECT_EQ(contentOf("lessons.dat"), "lessons pack");
    // Only the placed files and the list of them: no part file is left behind.
    std::vector<std::string> entries;
    for (const auto& entry : fs::directory_iterator(player))
        entries.push_back(entry.path().filename());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{".quarbel98-placed", "done.wav", "lessons.dat",
                                                 "playal8n.bmp", "quarbel.hlp", "warehouse.dat"}));
}

TEST_F(PlayerFolder, LaterStartsKeepThePlayersFilesAndPlaceOnlyWhatIsMissing) {
    prepare();
    // The player plays and changes the folder.
    fs::create_directory(player / "lessons");
    own("lessons/ZORP0001.MOV", "3344");
    own("mine.dat", "my pack");
    fs::remove(player / "playal8n.bmp");
    own("playal8n.bmp", "my own tiles");
    own("lessons.dat", "lessons pack, edited");
    fs::remove(player / "warehouse.dat");
    fs::remove(player / "done.wav");
    EXPECT_EQ(prepare(), std::vector<std::string>{"done.wav"});

    EXPECT_EQ(contentOf("lessons/ZORP0001.MOV"), "3344");
    EXPECT_EQ(contentOf("mine.dat"), "my pack");
    EXPECT_EQ(contentOf("playal8n.bmp"), "my own tiles");
    EXPECT_EQ(contentOf("lessons.dat"), "lessons pack, edited");
    // A deleted pack stays deleted; the game cannot play without its sound.
    EXPECT_FALSE(holds("warehouse.dat"));
    EXPECT_TRUE(isLink("done.wav"));
    EXPECT_EQ(prepare(), std::vector<std::string>{});
}

TEST_F(PlayerFolder, AFileALaterVersionShipsIsPlacedAtTheNextStart) {
    prepare();
    ship("extra.dat", "new pack");
    ship("month.html", "page");
    EXPECT_EQ(prepare(), (std::vector<std::string>{"extra.dat", "month.html"}));
    EXPECT_EQ(contentOf("extra.dat"), "new pack");
    EXPECT_TRUE(isLink("month.html"));
    // An update of a linked file reaches the player; a copied pack stays as it was placed.
    ship("playal8n.bmp", "new tiles");
    ship("lessons.dat", "lessons pack 2");
    EXPECT_EQ(prepare(), std::vector<std::string>{});
    EXPECT_EQ(contentOf("playal8n.bmp"), "new tiles");
    EXPECT_EQ(contentOf("lessons.dat"), "lessons pack");
}

// A folder copied from a system that ignored letter case holds the same names in capitals.
TEST_F(PlayerFolder, AFileOfTheSameNameInAnotherCaseIsThePlayers) {
    fs::create_directories(player);
    own("PLAYAL8N.BMP", "old tiles");
    own("Lessons.DAT", "old lessons");
    prepare();
    EXPECT_FALSE(holds("playal8n.bmp"));
    EXPECT_FALSE(holds("lessons.dat"));
    EXPECT_EQ(contentOf("PLAYAL8N.BMP"), "old tiles");
    EXPECT_TRUE(isLink("done.wav"));
}

TEST_F(PlayerFolder, ALinkToAFileThatIsGoneIsPlacedAgainUnlessItNamesAPack) {
    fs::create_directories(player);
    fs::create_symlink(scratch.path() / "old-prefix/playal8n.bmp", player / "playal8n.bmp");
    fs::create_symlink(scratch.path() / "elsewhere/lessons.dat", player / "lessons.dat");
    prepare();
    EXPECT_EQ(contentOf("playal8n.bmp"), "tiles");
    EXPECT_EQ(fs::read_symlink(player / "lessons.dat"), scratch.path() / "elsewhere/lessons.dat");
}

TEST_F(PlayerFolder, AFolderThatCannotBeMadeOrFilledSaysWhy) {
    fs::create_directories(player.parent_path());
    scratch.writeFile("deep/player", "a file, not a folder");
    try {
        prepare();
        FAIL() << "a file in the folder's place was taken for the folder";
    } catch (const PlayerFolderError& failure) {
        const std::string message = failure.what();
        EXPECT_NE(message.find(player.string()), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
    fs::remove(player);

    EXPECT_THROW(preparePlayerFolder(scratch.path() / "no-such-install", player),
                 PlayerFolderError);
}

TEST_F(PlayerFolder, AnUnwritableFolderSaysWhichFileCouldNotBePlaced) {
    fs::create_directories(player);
    fs::permissions(player,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    quarbel::testing::Unprivileged unprivileged;
    if (!unprivileged.permissionsBind()) GTEST_SKIP() << "cannot drop root here";
    try {
        prepare();
        FAIL() << "nothing could be placed, yet the folder passed as prepared";
    } catch (const PlayerFolderError& failure) {
        EXPECT_NE(std::string(failure.what()).find("done.wav"), std::string::npos)
            << failure.what();
    }
}

TEST_F(PlayerFolder, WhatWasPlacedBeforeAFailureIsRemembered) {
    // A pack larger than any pack can be makes the last pack fail, after the others.
    ship("zzz.dat", std::string(quarbel::MaxPackFileBytes + 1, 'x'));
    EXPECT_THROW(prepare(), PlayerFolderError);
    EXPECT_EQ(contentOf("warehouse.dat"), "warehouse pack");
    EXPECT_FALSE(holds("zzz.dat"));

    fs::remove(player / "warehouse.dat");
    ship("zzz.dat", "last pack");
    EXPECT_EQ(prepare(), std::vector<std::string>{"zzz.dat"});
    EXPECT_FALSE(holds("warehouse.dat"));
}

TEST_F(PlayerFolder, AListThatIsNoFileOfTheFolderIsNeitherFollowedNorWaitedOn) {
    fs::create_directories(player);
    scratch.writeFile("outside", "precious");
    fs::create_symlink(scratch.path() / "outside", player / quarbel::PlacedListName);
    try {
        prepare();
        FAIL() << "a linked list was taken for the game's own";
    } catch (const PlayerFolderError& failure) {
        EXPECT_NE(std::string(failure.what()).find("symbolic link"), std::string::npos)
            << failure.what();
    }
    EXPECT_EQ(scratch.readFile("outside"), "precious");

    fs::remove(player / quarbel::PlacedListName);
    ASSERT_EQ(::mkfifo((player / quarbel::PlacedListName).c_str(), 0666), 0);
    EXPECT_THROW(prepare(), PlayerFolderError);
}

TEST_F(PlayerFolder, StartsAtOnceOnAFreshFolderAllSucceedAndRememberEveryPack) {
    std::vector<pid_t> starts;
    for (int k = 0; k < 6; ++k) {
        const pid_t child = ::fork();
        if (child == 0) {
            try {
                prepare();
            } catch (const PlayerFolderError&) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        starts.push_back(child);
    }
    for (const pid_t child : starts) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(contentOf(quarbel::PlacedListName),
              "done.wav\nlessons.dat\nplayal8n.bmp\nquarbel.hlp\nwarehouse.dat\n");
    fs::remove(player / "lessons.dat");
    EXPECT_TRUE(prepare().empty());
}

}  // namespace
