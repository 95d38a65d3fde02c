// The solved handling in game mode and storing a solution as a movie.
#include <filesystem>

#include <gtest/gtest.h>

#include "core/gameerror.h"
#include "core/play.h"
#include "movieflow.h"
#include "movies/solved.h"
#include "support/unprivileged.h"

namespace quarbel::testing {
namespace {

namespace fs = std::filesystem;

using SolvedInGameMode = MovieFlow;

TEST_F(SolvedInGameMode, YesStoresExactlyTheRecordedDigits) {
    fake.saveAnswer = true;
    press(TheSolutionKeys);
    EXPECT_EQ(fake.count("askSaveMovie(7,14,0)"), 1);
    EXPECT_EQ(folder.readFile(TheMovie), TheSolutionDigits);
    EXPECT_EQ(folder.entries("PACK1"), std::vector<std::string>{"ZORP0007.MOV"});
}

TEST_F(SolvedInGameMode, EndsTheLevelAndShowsZeroSteps) {
    press(TheSolutionKeys);
    EXPECT_FALSE(s.levelActive);
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_FALSE(fake.timerEnabled(Timer::zeittime));
    EXPECT_EQ(fake.caption(Control::stepsview), "0");
    EXPECT_EQ(fake.caption(Control::mstepsview), "0");
    // Further keys find the level ended: no move and no second dialog.
    press("UUB");
    EXPECT_EQ(dialogs(), 1);
}

TEST_F(SolvedInGameMode, SolvingAgainReportsTheStoredCount) {
    fake.saveAnswer = true;
    press(TheSolutionKeys);
    press("E");
    press(TheSolutionKeys);
    EXPECT_EQ(fake.count("askSaveMovie(7,14,14)"), 1);
}

TEST_F(SolvedInGameMode, NoWritesNothing) {
    press(TheSolutionKeys);
    EXPECT_EQ(dialogs(), 1);
    EXPECT_FALSE(fs::exists(folder.path() / "PACK1"));
}

TEST_F(SolvedInGameMode, NoKeepsTheStoredMovie) {
    storeMovie("3377722444814644");
    press(TheSolutionKeys);
    EXPECT_EQ(fake.count("askSaveMovie(7,14,16)"), 1);
    EXPECT_EQ(folder.readFile(TheMovie), "3377722444814644");
}

TEST_F(SolvedInGameMode, YesReplacesEvenAShorterStoredMovie) {
    storeMovie("3");
    fake.saveAnswer = true;
    press("RLRL");
    press(TheSolutionKeys);
    EXPECT_EQ(folder.readFile(TheMovie), "3434" + std::string(TheSolutionDigits));
}

TEST_F(SolvedInGameMode, UndoneStepsAreNotInTheMovie) {
    fake.saveAnswer = true;
    press("RDB");
    press(TheSolutionKeys.substr(1));
    EXPECT_EQ(fake.count("askSaveMovie(7,14,0)"), 1);
    EXPECT_EQ(folder.readFile(TheMovie), TheSolutionDigits);
}

TEST_F(SolvedInGameMode, TheMovieIsNamedAfterTheStartedLevel) {
    fake.saveAnswer = true;
    // The number shown changes during play; the movie belongs to the level on the board.
    press("RRRRRDDLLLLUL");
    showLevel("1");
    press("D");
    EXPECT_TRUE(fs::exists(folder.path() / TheMovie));
    EXPECT_FALSE(fs::exists(folder.path() / "PACK1/ZORP0001.MOV"));
}

TEST_F(SolvedInGameMode, AnEmptyOrUnopenableMovieCountsAsNone) {
    storeMovie("");
    press(TheSolutionKeys);
    fs::remove(folder.path() / TheMovie);
    fs::create_directory(folder.path() / TheMovie);
    press("E");
    press(TheSolutionKeys);
    EXPECT_EQ(fake.count("askSaveMovie(7,14,0)"), 2);
}

TEST_F(SolvedInGameMode, PlaysTheSuccessSoundSoTheNextUndoReopensItsOwn) {
    s.undoSoundOpen = true;
    fake.sound.calls.clear();
    press(TheSolutionKeys);
    EXPECT_EQ(fake.sound.calls, (std::vector<std::string>{"open done.wav", "play done.wav"}));
    EXPECT_FALSE(s.undoSoundOpen);
}

TEST_F(SolvedInGameMode, AFailedSuccessSoundIsIgnored) {
    s.undoSoundOpen = true;
    fake.sound.playFails = true;
    fake.saveAnswer = true;
    press(TheSolutionKeys);
    EXPECT_TRUE(s.undoSoundOpen);
    EXPECT_EQ(folder.readFile(TheMovie), TheSolutionDigits);
}

TEST_F(SolvedInGameMode, AFailedSaveKeepsTheOldMovieAndEndsTheLevel) {
    storeMovie("3377722444814644");
    fs::permissions(folder.path() / TheMovie, fs::perms::all);
    fs::permissions(folder.path() / "PACK1", fs::perms::owner_read | fs::perms::owner_exec |
                                                 fs::perms::group_read | fs::perms::group_exec |
                                                 fs::perms::others_read | fs::perms::others_exec);
    fake.saveAnswer = true;
    {
        Unprivileged user;
        if (!user.permissionsBind()) GTEST_SKIP() << "cannot leave the root user";
        press(TheSolutionKeys);
    }
    EXPECT_EQ(fake.errors, std::vector<std::string>{"Dateizugriff verweigert"});
    EXPECT_EQ(fake.count("askSaveMovie(7,14,16)"), 1);
    EXPECT_EQ(folder.readFile(TheMovie), "3377722444814644");
    EXPECT_FALSE(s.levelActive);
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_FALSE(fake.timerEnabled(Timer::zeittime));
    EXPECT_EQ(fake.caption(Control::stepsview), "0");
    EXPECT_EQ(fake.caption(Control::mstepsview), "0");
}

TEST_F(SolvedInGameMode, AFileInPlaceOfTheFolderFailsTheSave) {
    folder.writeFile("PACK1", "not a folder");
    fake.saveAnswer = true;
    press(TheSolutionKeys);
    ASSERT_EQ(fake.errors.size(), 1u);
    EXPECT_EQ(folder.readFile("PACK1"), "not a folder");
    EXPECT_FALSE(s.levelActive);
}

TEST_F(SolvedInGameMode, AMovieFolderFromTheOldComputerIsUsedInPlace) {
    fs::create_directory("pack1");
    folder.writeFile("pack1/zorp0007.mov", "3377722444814644");
    fake.saveAnswer = true;
    press(TheSolutionKeys);
    EXPECT_EQ(fake.count("askSaveMovie(7,14,16)"), 1);
    EXPECT_EQ(folder.readFile("pack1/zorp0007.mov"), TheSolutionDigits);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"PACK1.dat", "pack1"}));
    EXPECT_EQ(folder.entries("pack1"), std::vector<std::string>{"zorp0007.mov"});
}

TEST_F(SolvedInGameMode, ANewMovieGoesIntoTheFolderThereIsUnderItsUsualName) {
    fs::create_directory("Pack1");
    fake.saveAnswer = true;
    press(TheSolutionKeys);
    EXPECT_EQ(folder.readFile("Pack1/ZORP0007.MOV"), TheSolutionDigits);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"PACK1.dat", "Pack1"}));
}

TEST_F(SolvedInGameMode, APackNameThatNamesNoFolderInsideStoresNothing) {
    const fs::path parent = folder.path().parent_path();
    ASSERT_FALSE(fs::exists("/ZORP0007.MOV"));
    ASSERT_FALSE(fs::exists(parent / "ZORP0007.MOV"));
    // What the movie of level 7 would be if "." or ".." were a movie folder.
    folder.writeFile("ZORP0007.MOV", "33");
    fake.saveAnswer = true;
    for (const char* pack : {".dat", "..dat", "...dat"}) {
        folder.writePack(pack, "Odd", std::vector<Level>(8, twoCratesLevel()));
        fake.chooserAnswers.push_back(pack);
        enterGame(s, fake, false);
        const std::vector<std::string> before = folder.entries();
        fake.clearLog();
        fake.errors.clear();
        press(TheSolutionKeys);
        EXPECT_EQ(fake.errors, std::vector<std::string>{
                                   "The movie was not saved: the name of the level pack \"" +
                                   std::string(pack) + "\" cannot name a movie folder."});
        EXPECT_EQ(fake.count("askSaveMovie(7,14,0)"), 1) << pack;
        EXPECT_EQ(folder.entries(), before) << pack;
        EXPECT_EQ(folder.readFile("ZORP0007.MOV"), "33");
        EXPECT_FALSE(s.levelActive);
    }
    EXPECT_FALSE(fs::exists("/ZORP0007.MOV"));
    EXPECT_FALSE(fs::exists(parent / "ZORP0007.MOV"));
}

TEST_F(SolvedInGameMode, ALevelThatCouldNotBeStartedDoesNotNameTheMovie) {
    fake.saveAnswer = true;
    press("RRRRRDDLLLLUL");
    showLevel("3");
    fs::rename("PACK1.dat", "gone");
    EXPECT_THROW(press("E"), IoError);
    fs::rename("gone", "PACK1.dat");
    press("D");  // solves level 7, still on the board
    EXPECT_EQ(fake.count("askSaveMovie(7,14,0)"), 1);
    EXPECT_EQ(folder.readFile(TheMovie), TheSolutionDigits);
    EXPECT_FALSE(fs::exists("PACK1/ZORP0003.MOV"));
}

TEST(OldMovieSteps, IsTheStoredFileSize) {
    ScratchFolder folder;
    GameState s;
    s.packName = "Pack1";
    s.startedLevel = "12";
    EXPECT_EQ(OldMovieSteps(s), "0");
    fs::create_directory("Pack1");
    folder.writeFile("Pack1/ZORP0012.MOV", std::string(57, '3'));
    EXPECT_EQ(OldMovieSteps(s), "57");
    // Another level's movie is another file; another letter case of the pack is not.
    s.startedLevel = "1";
    EXPECT_EQ(OldMovieSteps(s), "0");
    s.startedLevel = "12";
    s.packName = "PACK1";
    EXPECT_EQ(OldMovieSteps(s), "57");
}

}  // namespace
}  // namespace quarbel::testing
