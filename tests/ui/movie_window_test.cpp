// The real window, offscreen: a solved level stored as a movie, and that movie replayed
// with the player's buttons.
#include <QTest>
#include <filesystem>
#include <string_view>

#include "movies/moviesafe.h"
#include "support/unprivileged.h"
#include "windowfixture.h"

namespace quarbel::testing {
namespace {

namespace fs = std::filesystem;

// Level 1 of the first pack, solved after five walks there and back: 13 steps.
constexpr std::string_view RoundaboutSolution = "RLRLRLRLRLRRR";
constexpr const char* RoundaboutDigits = "3434343434377";
constexpr std::string_view ShortSolution = "RRR";
constexpr const char* TheMovie = "first/ZORP0001.MOV";

// Row 2 of level 1: the keeper starts in column 2, the crate in column 4, the target in 6.
constexpr int Row = 2;

class MovieWindowTest : public WindowTest {
  protected:
    void play(std::string_view keys) {
        for (char letter : keys)
            key(letter == 'R' ? Qt::Key_Right : Qt::Key_Left);
    }

    bool solvedOnBoard() { return state().board.at(6, Row) == CellCrateOnTarget; }
    void expectStartPosition() {
        EXPECT_EQ(state().keeperX, 2);
        EXPECT_EQ(state().board.at(4, Row), CellCrate);
        EXPECT_EQ(caption(Control::mstepsview), "0");
    }
};

using SolvedInTheWindow = MovieWindowTest;

TEST_F(SolvedInTheWindow, YesWritesExactlyTheRecordedDigits) {
    openWindow();
    enterFirstPack();
    answerSolvedDialog(true);
    play(RoundaboutSolution);
    ASSERT_EQ(solvedDialogs.size(), 1u);
    EXPECT_EQ(solvedDialogs[0].result, "Level 1 was solved in 13 Steps!");
    EXPECT_EQ(solvedDialogs[0].oldSolution, "");
    EXPECT_EQ(folder.readFile(TheMovie), RoundaboutDigits);
    EXPECT_EQ(folder.entries("first"), std::vector<std::string>{"ZORP0001.MOV"});
    EXPECT_EQ(caption(Control::stepsview), "0");
    EXPECT_FALSE(state().levelActive);
    EXPECT_EQ(sound.calls, (std::vector<std::string>{"open done.wav", "play done.wav"}));
    EXPECT_TRUE(errors.texts.empty());
}

TEST_F(SolvedInTheWindow, SolvingAgainShowsTheOldCountAndNoKeepsTheMovie) {
    openWindow();
    enterFirstPack();
    answerSolvedDialog(true);
    play(RoundaboutSolution);

    click(Control::start);
    answerSolvedDialog(false);
    play(ShortSolution);
    ASSERT_EQ(solvedDialogs.size(), 2u);
    EXPECT_EQ(solvedDialogs[1].result, "Level 1 was solved in 3 Steps!");
    EXPECT_EQ(solvedDialogs[1].oldSolution, "The old solution contained 13 Steps!");
    EXPECT_EQ(folder.readFile(TheMovie), RoundaboutDigits);

    click(Control::start);
    answerSolvedDialog(true);
    play(ShortSolution);
    ASSERT_EQ(solvedDialogs.size(), 3u);
    EXPECT_EQ(solvedDialogs[2].oldSolution, "The old solution contained 13 Steps!");
    EXPECT_EQ(folder.readFile(TheMovie), "377");
}

TEST_F(SolvedInTheWindow, NoWritesNothing) {
    openWindow();
    enterFirstPack();
    answerSolvedDialog(false);
    play(ShortSolution);
    EXPECT_EQ(solvedDialogs.size(), 1u);
    EXPECT_FALSE(fs::exists("first"));
    EXPECT_FALSE(state().levelActive);
}

TEST_F(SolvedInTheWindow, AFailedSaveKeepsTheOldMovieAndShowsTheError) {
    fs::create_directory("first");
    folder.writeFile(TheMovie, RoundaboutDigits);
    // Anyone may open the stored movie to count it; nobody may add a file to its folder.
    fs::permissions(TheMovie, fs::perms::all);
    fs::permissions("first", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                 fs::perms::group_exec | fs::perms::others_read |
                                 fs::perms::others_exec);
    openWindow();
    enterFirstPack();
    answerSolvedDialog(true);
    play(ShortSolution.substr(1));
    {
        Unprivileged user;
        if (!user.permissionsBind()) GTEST_SKIP() << "cannot leave the root user";
        play(ShortSolution.substr(0, 1));
    }
    ASSERT_EQ(solvedDialogs.size(), 1u);
    EXPECT_EQ(solvedDialogs[0].oldSolution, "The old solution contained 13 Steps!");
    EXPECT_EQ(errors.texts, (std::vector<std::string>{"Dateizugriff verweigert"}));
    EXPECT_EQ(folder.readFile(TheMovie), RoundaboutDigits);
    EXPECT_EQ(folder.entries("first"), std::vector<std::string>{"ZORP0001.MOV"});
    // The level ends all the same: no second dialog for the next key.
    EXPECT_FALSE(state().levelActive);
    EXPECT_EQ(caption(Control::stepsview), "0");
    key(Qt::Key_Left);
    EXPECT_EQ(state().keeperX, 5);
}

TEST_F(SolvedInTheWindow, AFileWhereTheMovieFolderBelongsIsReported) {
    folder.writeFile("first", "not a folder");
    openWindow();
    enterFirstPack();
    answerSolvedDialog(true);
    play(ShortSolution);
    EXPECT_EQ(solvedDialogs.size(), 1u);
    EXPECT_EQ(errors.texts, (std::vector<std::string>{"Pfad nicht gefunden"}));
    EXPECT_EQ(folder.readFile("first"), "not a folder");
    EXPECT_FALSE(state().levelActive);
}

// A stored movie of level 1, loaded in movie mode.
class ReplayInTheWindow : public MovieWindowTest {
  protected:
    void loadStoredMovie() {
        fs::create_directory("first");
        folder.writeFile(TheMovie, RoundaboutDigits);
        openWindow();
        enterFirstPack();
        click(Control::movie);
        click(Control::load);
        sound.calls.clear();
        // A solved dialog would be a fault here; answered, it cannot hang the test.
        answerSolvedDialog(false);
    }

    // Nothing but the board showed the solved level.
    void expectSilentReplay() {
        EXPECT_TRUE(sound.calls.empty());
        EXPECT_TRUE(solvedDialogs.empty());
        EXPECT_FALSE(window->moviesafe().isVisible());
        EXPECT_TRUE(errors.texts.empty());
    }
};

TEST_F(ReplayInTheWindow, StepButtonsReplayToTheSolvedPosition) {
    loadStoredMovie();
    EXPECT_TRUE(window->widget(Control::mforward)->isEnabled());
    expectStartPosition();

    click(Control::mforward);
    EXPECT_EQ(caption(Control::mstepsview), "1");
    EXPECT_EQ(state().keeperX, 3);
    click(Control::mback);
    expectStartPosition();

    click(Control::m10forward);
    EXPECT_EQ(caption(Control::mstepsview), "10");
    EXPECT_EQ(state().keeperX, 2);
    click(Control::m10forward);  // only three are left
    EXPECT_EQ(caption(Control::mstepsview), "13");
    EXPECT_EQ(caption(Control::stepsview), "13");
    EXPECT_TRUE(solvedOnBoard());
    EXPECT_EQ(state().keeperX, 5);
    EXPECT_FALSE(state().levelActive);
    click(Control::mforward);
    EXPECT_EQ(caption(Control::mstepsview), "13");

    click(Control::m10back);
    EXPECT_EQ(caption(Control::mstepsview), "3");
    EXPECT_FALSE(solvedOnBoard());
    click(Control::m10back);  // only three are left
    expectStartPosition();
    EXPECT_EQ(state().moviePos, 0);

    click(Control::m10forward);
    click(Control::m10forward);
    EXPECT_TRUE(solvedOnBoard());
    expectSilentReplay();
}

TEST_F(ReplayInTheWindow, PlayGetsFasterAndStopsOnTheSolvingStep) {
    loadStoredMovie();
    click(Control::mplay);
    EXPECT_TRUE(window->timerEnabled(Timer::movietimer));
    EXPECT_EQ(window->timerInterval(Timer::movietimer), 200);
    click(Control::mplay);
    EXPECT_EQ(window->timerInterval(Timer::movietimer), 170);
    click(Control::mplay);
    EXPECT_EQ(window->timerInterval(Timer::movietimer), 140);

    EXPECT_TRUE(
        QTest::qWaitFor([this] { return !window->timerEnabled(Timer::movietimer); }, 20000));
    EXPECT_EQ(caption(Control::mstepsview), "13");
    EXPECT_TRUE(solvedOnBoard());
    EXPECT_FALSE(state().autoPlay);
    expectSilentReplay();
}

TEST_F(ReplayInTheWindow, StopHoldsAndBackToStartReplaysWithoutTheFile) {
    loadStoredMovie();
    click(Control::mplay);
    ASSERT_TRUE(QTest::qWaitFor([this] { return state().historyTop >= 2; }, 20000));
    click(Control::mstop);
    EXPECT_FALSE(window->timerEnabled(Timer::movietimer));
    EXPECT_FALSE(state().autoPlay);
    const int stoppedAt = state().historyTop;
    EXPECT_LT(stoppedAt, 13);
    wait(300);
    EXPECT_EQ(state().historyTop, stoppedAt);
    EXPECT_EQ(caption(Control::mstepsview), std::to_string(stoppedAt));

    // The movie stays loaded: back to start does not read the file again.
    fs::remove(TheMovie);
    click(Control::mbacktostart);
    expectStartPosition();
    click(Control::m10forward);
    click(Control::m10forward);
    EXPECT_TRUE(solvedOnBoard());
    expectSilentReplay();
}

TEST_F(ReplayInTheWindow, GameAfterAPartialReplayPlaysOnAndUndoTakesTheReplayBack) {
    loadStoredMovie();
    for (int step = 0; step < 5; ++step)
        click(Control::mforward);
    EXPECT_EQ(state().keeperX, 3);
    click(Control::game);
    EXPECT_TRUE(state().levelActive);
    key(Qt::Key_Right);  // pushes the crate on from the replayed position
    EXPECT_EQ(state().keeperX, 4);
    EXPECT_EQ(state().board.at(5, Row), CellCrate);
    EXPECT_EQ(caption(Control::stepsview), "6");

    for (int step = 0; step < 6; ++step)
        click(Control::Undobutton);
    expectStartPosition();
    EXPECT_EQ(caption(Control::stepsview), "0");
    click(Control::Undobutton);  // nothing left to take back
    EXPECT_EQ(state().historyTop, 0);
}

TEST_F(ReplayInTheWindow, GameAfterTheWholeReplayWaitsForStart) {
    loadStoredMovie();
    click(Control::m10forward);
    click(Control::m10forward);
    click(Control::game);
    EXPECT_FALSE(state().levelActive);
    key(Qt::Key_Left);
    EXPECT_EQ(state().keeperX, 5);
    EXPECT_TRUE(solvedDialogs.empty());
}

}  // namespace
}  // namespace quarbel::testing
