// The movie player: switching modes, loading, replaying forwards and back, automatic
// replay, and going on playing from a replayed position.
#include <sys/stat.h>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "core/gameerror.h"
#include "core/play.h"
#include "movieflow.h"
#include "movies/player.h"

namespace quarbel::testing {
namespace {

namespace fs = std::filesystem;

struct Position {
    Board board;
    int keeperX;
    int keeperY;
    bool operator==(const Position&) const = default;
};

// Level 7 solved once with the keys and stored, then movie mode entered.
class MoviePlayer : public MovieFlow {
  protected:
    MoviePlayer() : start(here()) {
        fake.saveAnswer = true;
        press(TheSolutionKeys);
        solved = here();
        fake.saveAnswer = false;
        MovieClick(s, fake, Sender::movie);
        fake.clearLog();
        fake.sound.calls.clear();
    }

    Position here() const { return {s.board, s.keeperX, s.keeperY}; }
    void forward(int times) {
        for (int i = 0; i < times; ++i)
            mforward2Click(s, fake, Sender::mforward);
    }
    void back(int times) {
        for (int i = 0; i < times; ++i)
            mback2Click(s, fake);
    }
    bool buttonsEnabled(bool enabled) const {
        for (Control button : PlayerButtons) {
            if (fake.enabled(button) != enabled) return false;
        }
        return true;
    }
    bool silent() const { return fake.sound.calls.empty() && dialogs() == 0; }

    Position start;
    Position solved{};
};

TEST_F(MoviePlayer, EnteringSwapsThePanels) {
    for (Control control : GamePanel)
        EXPECT_FALSE(fake.isVisible(control));
    for (Control control : MoviePanel)
        EXPECT_TRUE(fake.isVisible(control));
    EXPECT_TRUE(fake.isVisible(Control::titel2));
    EXPECT_TRUE(fake.sideStripRight);
    EXPECT_TRUE(buttonsEnabled(false));
    EXPECT_TRUE(s.movieMode);
    EXPECT_FALSE(s.levelActive);
    // The position stays on screen until a level is loaded.
    EXPECT_EQ(here(), solved);
}

TEST_F(MoviePlayer, ReturningSwapsThemBackAndLeavesTheButtonsDisabled) {
    LoadClick(s, fake);
    ASSERT_TRUE(buttonsEnabled(true));
    MovieClick(s, fake, Sender::game);
    for (Control control : GamePanel)
        EXPECT_TRUE(fake.isVisible(control));
    for (Control control : MoviePanel)
        EXPECT_FALSE(fake.isVisible(control));
    EXPECT_FALSE(fake.sideStripRight);
    EXPECT_TRUE(buttonsEnabled(false));
    EXPECT_FALSE(s.movieMode);
}

TEST_F(MoviePlayer, EverySwitchFlipsTheFocusTimerAndFocusesTheController) {
    const bool before = fake.timerEnabled(Timer::focusset);
    MovieClick(s, fake, Sender::game);
    EXPECT_NE(fake.timerEnabled(Timer::focusset), before);
    MovieClick(s, fake, Sender::movie);
    EXPECT_EQ(fake.timerEnabled(Timer::focusset), before);
    EXPECT_EQ(fake.count("focusController"), 2);
}

TEST_F(MoviePlayer, RealKeysOnlyLoadAndChangeTheNumber) {
    press("E");
    ASSERT_EQ(fake.count("LoadClick"), 1);
    press("RDB");
    EXPECT_EQ(here(), start);
    EXPECT_EQ(s.historyTop, 0);
    FormKeyDown(s, fake, Sender::MainWindow, KeyAdd);
    EXPECT_EQ(fake.caption(Control::levelnummer2), "8");
}

TEST_F(MoviePlayer, LoadPutsTheMovieIntoTheHistoryAndStartsTheLevel) {
    forward(3);  // nothing loaded yet
    EXPECT_EQ(here(), solved);
    s.autoPlay = true;
    LoadClick(s, fake);
    EXPECT_TRUE(buttonsEnabled(true));
    EXPECT_FALSE(s.autoPlay);
    EXPECT_EQ(s.movieLength, TheSolutionSteps);
    for (int k = 0; k < TheSolutionSteps; ++k)
        EXPECT_EQ(s.history[k], TheSolutionDigits[k] - '0');
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_EQ(s.moviePos, 0);
    EXPECT_EQ(here(), start);
    EXPECT_TRUE(s.levelActive);
    EXPECT_EQ(fake.caption(Control::mstepsview), "0");
}

TEST_F(MoviePlayer, LoadWithoutAMovieDisablesTheButtonsAndStartsTheLevel) {
    LoadClick(s, fake);
    showLevel("3");
    LoadClick(s, fake);
    EXPECT_TRUE(buttonsEnabled(false));
    EXPECT_EQ(s.startedLevel, "3");
    EXPECT_EQ(here(), start);
    EXPECT_TRUE(s.levelActive);
}

TEST_F(MoviePlayer, AnEmptyMovieLoadsAndHasNothingToReplay) {
    storeMovie("");
    LoadClick(s, fake);
    EXPECT_TRUE(buttonsEnabled(true));
    EXPECT_EQ(s.movieLength, 0);
    forward(1);
    EXPECT_EQ(s.moviePos, 0);
    EXPECT_EQ(here(), start);
}

TEST_F(MoviePlayer, ForwardReplaysToTheSolvedPositionSilently) {
    LoadClick(s, fake);
    for (int step = 1; step <= TheSolutionSteps; ++step) {
        forward(1);
        EXPECT_EQ(fake.caption(Control::mstepsview), std::to_string(step));
        EXPECT_EQ(fake.caption(Control::stepsview), std::to_string(step));
    }
    EXPECT_EQ(here(), solved);
    EXPECT_FALSE(s.levelActive);
    EXPECT_TRUE(silent());
    EXPECT_EQ(folder.readFile(TheMovie), TheSolutionDigits);
    forward(1);
    EXPECT_EQ(s.moviePos, TheSolutionSteps);
    EXPECT_EQ(s.historyTop, TheSolutionSteps);
}

TEST_F(MoviePlayer, BackRetracesTheReplayedPositionsSilently) {
    LoadClick(s, fake);
    std::vector<Position> positions{here()};
    for (int i = 0; i < TheSolutionSteps; ++i) {
        forward(1);
        positions.push_back(here());
    }
    for (int step = TheSolutionSteps - 1; step >= 0; --step) {
        back(1);
        EXPECT_EQ(here(), positions[step]);
        EXPECT_EQ(s.moviePos, step);
        EXPECT_EQ(fake.caption(Control::mstepsview), std::to_string(step));
    }
    EXPECT_FALSE(s.levelActive);
    EXPECT_TRUE(silent());
}

TEST_F(MoviePlayer, TenStepsStopAtEitherEnd) {
    LoadClick(s, fake);
    m10forward2Click(s, fake, Sender::m10forward);
    EXPECT_EQ(s.historyTop, 10);
    m10forward2Click(s, fake, Sender::m10forward);
    EXPECT_EQ(s.moviePos, TheSolutionSteps);
    EXPECT_EQ(here(), solved);
    m10back2Click(s, fake);
    EXPECT_EQ(s.historyTop, 4);
    m10back2Click(s, fake);
    EXPECT_EQ(s.moviePos, 0);
    EXPECT_EQ(fake.caption(Control::mstepsview), "0");
    EXPECT_EQ(here(), start);
}

TEST_F(MoviePlayer, EveryCommandTogetherEndsInTheSolvedPosition) {
    LoadClick(s, fake);
    forward(1);
    back(1);
    m10forward2Click(s, fake, Sender::m10forward);
    m10back2Click(s, fake);
    forward(6);
    mbacktostart2Click(s, fake);
    mplay2Click(s, fake);
    mplay2Click(s, fake);
    int ticks = 0;
    while (fake.timerEnabled(Timer::movietimer) && ticks < 100) {
        movietimerTimer(s, fake);
        ++ticks;
    }
    EXPECT_EQ(ticks, TheSolutionSteps);
    EXPECT_EQ(here(), solved);
    EXPECT_FALSE(s.autoPlay);
    EXPECT_FALSE(s.levelActive);
    EXPECT_TRUE(silent());
}

TEST_F(MoviePlayer, PlayGetsFasterWithEachPressAndStopResetsIt) {
    LoadClick(s, fake);
    mplay2Click(s, fake);
    EXPECT_TRUE(s.autoPlay);
    for (int expected : {200, 170, 140, 110, 80, 50, 20, 20}) {
        EXPECT_TRUE(fake.timerEnabled(Timer::movietimer));
        EXPECT_EQ(fake.timerInterval(Timer::movietimer), expected);
        mplay2Click(s, fake);
    }
    mstop2Click(s, fake);
    EXPECT_FALSE(s.autoPlay);
    EXPECT_FALSE(fake.timerEnabled(Timer::movietimer));
    mplay2Click(s, fake);
    EXPECT_EQ(fake.timerInterval(Timer::movietimer), 200);
}

TEST_F(MoviePlayer, ATickWithoutAutomaticReplayStopsTheTimer) {
    LoadClick(s, fake);
    mplay2Click(s, fake);
    movietimerTimer(s, fake);
    LoadClick(s, fake);
    EXPECT_TRUE(fake.timerEnabled(Timer::movietimer));
    movietimerTimer(s, fake);
    EXPECT_FALSE(fake.timerEnabled(Timer::movietimer));
    EXPECT_EQ(s.moviePos, 0);
}

TEST_F(MoviePlayer, AMovieThatEndsUnsolvedLeavesTheTimerIdling) {
    storeMovie("3377");
    LoadClick(s, fake);
    mplay2Click(s, fake);
    for (int i = 0; i < 6; ++i)
        movietimerTimer(s, fake);
    EXPECT_EQ(s.historyTop, 4);
    EXPECT_TRUE(s.autoPlay);
    EXPECT_TRUE(fake.timerEnabled(Timer::movietimer));
}

TEST_F(MoviePlayer, BackToStartReplaysWithoutReadingTheFileAgain) {
    LoadClick(s, fake);
    forward(5);
    mplay2Click(s, fake);
    mbacktostart2Click(s, fake);
    EXPECT_EQ(here(), start);
    EXPECT_EQ(s.moviePos, 0);
    EXPECT_FALSE(s.autoPlay);
    EXPECT_EQ(fake.caption(Control::mstepsview), "0");
    fs::remove(folder.path() / TheMovie);
    forward(TheSolutionSteps);
    EXPECT_EQ(here(), solved);
}

TEST_F(MoviePlayer, GameAfterAPartialReplayPlaysOnAndUndoesTheReplayedSteps) {
    LoadClick(s, fake);
    forward(5);
    mplay2Click(s, fake);
    MovieClick(s, fake, Sender::game);
    EXPECT_TRUE(s.levelActive);
    EXPECT_FALSE(s.autoPlay);
    const Position replayed = here();
    press("D");
    EXPECT_EQ(s.historyTop, 6);
    EXPECT_NE(here(), replayed);
    press("BBBBBBB");
    EXPECT_EQ(here(), start);
    EXPECT_EQ(fake.caption(Control::stepsview), "0");
    EXPECT_NE(fake.sound.calls.size(), 0u);
}

TEST_F(MoviePlayer, GameAfterAPartialReplayCanStoreASolutionWithTheReplayedSteps) {
    LoadClick(s, fake);
    forward(5);
    MovieClick(s, fake, Sender::game);
    fake.saveAnswer = true;
    press("LR");
    press(TheSolutionKeys.substr(5));
    EXPECT_EQ(fake.count("askSaveMovie(7,16,14)"), 1);
    EXPECT_EQ(folder.readFile(TheMovie), "3377743" + std::string(TheSolutionDigits.substr(5)));
}

TEST_F(MoviePlayer, GameAfterACompleteReplayWaitsForStart) {
    LoadClick(s, fake);
    forward(TheSolutionSteps);
    MovieClick(s, fake, Sender::game);
    EXPECT_FALSE(s.levelActive);
    press("UB");
    EXPECT_EQ(here(), solved);
    press("ER");
    EXPECT_EQ(s.historyTop, 1);
}

TEST_F(MoviePlayer, GameWithoutLoadingKeepsASolvedLevelEnded) {
    MovieClick(s, fake, Sender::game);
    EXPECT_FALSE(s.levelActive);
    press("U");
    EXPECT_EQ(here(), solved);
    EXPECT_EQ(dialogs(), 0);
}

TEST_F(MoviePlayer, GameWithoutLoadingLetsALevelInPlayGoOn) {
    MovieClick(s, fake, Sender::game);
    press("ER");
    MovieClick(s, fake, Sender::movie);
    MovieClick(s, fake, Sender::game);
    EXPECT_TRUE(s.levelActive);
    press("R");
    EXPECT_EQ(s.historyTop, 2);
}

TEST_F(MoviePlayer, BytesOtherThanTheCodesMoveNothing) {
    storeMovie("3x03");
    LoadClick(s, fake);
    forward(4);
    EXPECT_EQ(s.moviePos, 4);
    EXPECT_EQ(s.historyTop, 2);
    EXPECT_EQ(s.keeperX, start.keeperX + 2);
}

TEST_F(MoviePlayer, AStepTheLevelRefusesOnlyAdvancesTheMovie) {
    storeMovie("43");
    LoadClick(s, fake);
    forward(1);
    EXPECT_EQ(s.moviePos, 1);
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_EQ(s.facing, 2);
    EXPECT_EQ(here(), start);
    forward(1);
    EXPECT_EQ(s.historyTop, 1);
    back(2);
    EXPECT_EQ(s.moviePos, 1);
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_EQ(here(), start);
    mbacktostart2Click(s, fake);
    EXPECT_EQ(s.moviePos, 0);
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_EQ(here(), start);
}

TEST_F(MoviePlayer, AMovieLongerThanTheHistoryIsCut) {
    std::string digits(HistoryCapacity - 1, '3');
    digits += "48888";
    storeMovie(digits);
    LoadClick(s, fake);
    EXPECT_EQ(s.movieLength, HistoryCapacity);
    EXPECT_EQ(s.history[HistoryCapacity - 1], 4);
    EXPECT_TRUE(buttonsEnabled(true));
}

TEST_F(MoviePlayer, AnUnreadableMovieReportsAndKeepsTheLoadedOne) {
    LoadClick(s, fake);
    forward(3);
    const Position replayed = here();
    showLevel("2");
    // A file that opens but whose first byte cannot be read.
    fs::create_symlink("/proc/self/mem", folder.path() / "PACK1/ZORP0002.MOV");
    EXPECT_THROW(LoadClick(s, fake), IoError);
    EXPECT_EQ(s.movieLength, TheSolutionSteps);
    EXPECT_EQ(s.moviePos, 3);
    EXPECT_EQ(here(), replayed);
    back(3);
    EXPECT_EQ(here(), start);
}

TEST_F(MoviePlayer, WhatIsNoRegularFileIsNoMovieAndTheLevelStarts) {
    LoadClick(s, fake);
    fs::create_directory(folder.path() / "PACK1/ZORP0002.MOV");
    ASSERT_EQ(::mkfifo("PACK1/ZORP0003.MOV", 0666), 0);
    for (const char* level : {"2", "3"}) {
        forward(2);
        showLevel(level);
        LoadClick(s, fake);
        EXPECT_TRUE(buttonsEnabled(false)) << level;
        EXPECT_EQ(s.startedLevel, level);
        EXPECT_EQ(here(), start);
        EXPECT_EQ(fake.caption(Control::mstepsview), "0");
    }
}

TEST_F(MoviePlayer, APackNameThatNamesNoFolderInsideHasNoMovies) {
    folder.writePack("..dat", "Odd", std::vector<Level>(8, twoCratesLevel()));
    folder.writeFile("ZORP0007.MOV", TheSolutionDigits.data());  // "./ZORP0007.MOV"
    fake.chooserAnswers.push_back("..dat");
    enterGame(s, fake, false);
    LoadClick(s, fake);
    EXPECT_TRUE(buttonsEnabled(false));
    EXPECT_EQ(here(), start);
}

TEST_F(MoviePlayer, ALoadThatFailsKeepsTheLevelTheMovieAndTheirNumber) {
    LoadClick(s, fake);
    forward(3);
    const Position replayed = here();
    showLevel("2");
    folder.writeFile("PACK1/ZORP0002.MOV", "4444");
    fs::rename("PACK1.dat", "gone");
    EXPECT_THROW(LoadClick(s, fake), IoError);
    EXPECT_EQ(s.startedLevel, "7");
    EXPECT_TRUE(buttonsEnabled(true));
    EXPECT_EQ(s.movieLength, TheSolutionSteps);
    EXPECT_EQ(here(), replayed);
    forward(TheSolutionSteps - 3);
    EXPECT_EQ(here(), solved);
}

TEST_F(MoviePlayer, InMovieModeTheSolvedTestOnlyEndsTheReplay) {
    LoadClick(s, fake);
    forward(TheSolutionSteps - 1);
    mplay2Click(s, fake);
    movietimerTimer(s, fake);
    EXPECT_FALSE(fake.timerEnabled(Timer::movietimer));
    EXPECT_FALSE(s.autoPlay);
    EXPECT_FALSE(s.levelActive);
    EXPECT_EQ(s.historyTop, TheSolutionSteps);
    EXPECT_EQ(fake.caption(Control::mstepsview), std::to_string(TheSolutionSteps));
    EXPECT_TRUE(fake.timerEnabled(Timer::zeittime));
    EXPECT_TRUE(silent());
}

}  // namespace
}  // namespace quarbel::testing
