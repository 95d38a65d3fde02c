// Level play through the key handler: entering the game, starting levels, the level
// number, the clock, and what fails where.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>

#include "core/gameerror.h"
#include "core/play.h"
#include "support/fakefrontend.h"
#include "support/packbuilder.h"

namespace quarbel {
namespace {

using testing::FakeFrontend;
using testing::levelFromRows;
using testing::ScratchFolder;

struct PlayTest : ::testing::Test {
    ScratchFolder folder;
    GameState s;
    FakeFrontend ui;

    PlayTest() {
        std::vector<Level> levels;
        levels.push_back(levelFromRows({"#####", "#@ .#", "# $ #", "#####"}, "Ann"));
        levels.push_back(levelFromRows({"######", "#@$ .#", "######"}));
        for (int k = 3; k <= 12; ++k)
            levels.push_back(levelFromRows({"@ $."}));
        folder.writePack("twelve.dat", "Twelve", levels);
        folder.writeFile("empty.dat", std::string(32, '\0'));
    }

    void enter(const std::string& pack = "twelve.dat") {
        ui.chooserAnswers.push_back(pack);
        FormKeyDown(s, ui, Sender::MainWindow, KeyNone);
    }
    void press(KeyCode key) { FormKeyDown(s, ui, Sender::MainWindow, key); }
    std::string number() const { return ui.caption(Control::levelnummer); }
};

TEST_F(PlayTest, AnyKeyOnTheTitleScreenEntersTheGame) {
    ui.chooserAnswers.push_back("twelve.dat");
    press(KeyRight);  // the same key then steps on the new level
    EXPECT_FALSE(s.titleShowing);
    EXPECT_EQ(ui.windowCaption, "QUARBEL 98 - Twelve");
    EXPECT_EQ(s.levelCount, 12);
    EXPECT_EQ(s.packName, "twelve");
    EXPECT_EQ(s.titleBandOffset, 0);
    EXPECT_EQ(s.keeperX, 3);
    EXPECT_EQ(ui.caption(Control::stepsview), "1");
    EXPECT_EQ(ui.caption(Control::autorname), "Ann");
    for (Control c :
         {Control::start, Control::Undobutton, Control::movie, Control::help, Control::stepsview,
          Control::timeview, Control::steps, Control::time1, Control::playtitel, Control::plusplus,
          Control::plus, Control::minusminus, Control::minus, Control::levelnummer, Control::titel2,
          Control::autor, Control::autorname}) {
        EXPECT_TRUE(ui.isVisible(c)) << static_cast<int>(c);
    }
    EXPECT_FALSE(ui.isVisible(Control::load));
    EXPECT_EQ(ui.count("crossCursor"), 1);
    EXPECT_EQ(ui.count("drawBoard(true,true)"), 1);
}

TEST_F(PlayTest, KeypadPlusOnTheTitleScreenStartsLevelOneThenShowsTwo) {
    ui.chooserAnswers.push_back("twelve.dat");
    press(KeyAdd);
    EXPECT_EQ(number(), "2");
    EXPECT_EQ(ui.caption(Control::levelnummer2), "2");
    EXPECT_EQ(s.startedLevel, "1");
    EXPECT_EQ(ui.caption(Control::autorname), "Ann");
}

TEST_F(PlayTest, StartClickResetsTheAttempt) {
    enter();
    press(KeyRight);
    ui.setCaption(Control::timeview, "00:01:00");
    s.elapsedSeconds = 60;
    s.moviePos = 4;
    s.facing = 2;
    ui.clearLog();
    press(KeyReturn);
    EXPECT_EQ(s.keeperX, 2);  // back at the start
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_EQ(s.moviePos, 0);
    EXPECT_EQ(s.elapsedSeconds, 0);
    EXPECT_EQ(s.facing, 2);  // the keeper keeps looking the way he looked
    EXPECT_EQ(ui.caption(Control::timeview), "00:00:00");
    EXPECT_EQ(ui.caption(Control::stepsview), "0");
    EXPECT_EQ(ui.caption(Control::mstepsview), "0");
    EXPECT_TRUE(ui.timerEnabled(Timer::zeittime));
    EXPECT_TRUE(ui.timerEnabled(Timer::zwinkern));
    // The level is drawn whole, and the keyboard goes back to the game.
    EXPECT_EQ(ui.count("drawBoard(true,true)"), 1);
    EXPECT_EQ(ui.count("focusController"), 1);
}

TEST_F(PlayTest, LevelNumberClampsToThePack) {
    enter();
    const auto after = [&](const std::string& from, void (*click)(GameState&, Frontend&)) {
        ui.setCaption(Control::levelnummer, from);
        click(s, ui);
        EXPECT_EQ(ui.caption(Control::levelnummer2), number());
        return number();
    };
    EXPECT_EQ(after("10", plusplusClick), "12");
    EXPECT_EQ(after("2", plusplusClick), "12");
    EXPECT_EQ(after("1", plusplusClick), "11");
    EXPECT_EQ(after("3", minusminusClick), "1");
    EXPECT_EQ(after("12", minusminusClick), "2");
    EXPECT_EQ(after("12", plusClick), "12");
    EXPECT_EQ(after("1", minusClick), "1");
    EXPECT_EQ(after("5", minusClick), "4");
}

TEST_F(PlayTest, ChangingTheNumberLoadsNothingUntilEnter) {
    enter();
    press(KeyRight);
    s.elapsedSeconds = 7;
    press(KeySubtract);  // stays at 1
    press(KeyAdd);
    EXPECT_EQ(number(), "2");
    EXPECT_EQ(s.historyTop, 1);
    EXPECT_EQ(s.elapsedSeconds, 7);
    EXPECT_EQ(s.startedLevel, "1");
    press(KeyReturn);
    EXPECT_EQ(s.startedLevel, "2");
    EXPECT_EQ(s.board.at(3, 2), CellCrate);
    EXPECT_EQ(ui.caption(Control::autorname), DefaultAuthor);
    EXPECT_EQ(s.elapsedSeconds, 0);
}

TEST_F(PlayTest, KeysInPlayAndAfterTheLevelEnds) {
    enter();
    press(KeyRight);
    press(KeyBack);
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_EQ(s.keeperX, 2);
    s.levelActive = false;  // as after a solved level
    press(KeyRight);
    press(KeyBack);
    EXPECT_EQ(s.keeperX, 2);
    press(KeyReturn);  // Enter plays it again
    EXPECT_TRUE(s.levelActive);
    press(KeyRight);
    EXPECT_EQ(s.keeperX, 3);
    const Board before = s.board;
    press(187);  // the main keyboard's plus does nothing
    press('A');
    EXPECT_EQ(number(), "1");
    EXPECT_EQ(s.board, before);
}

TEST_F(PlayTest, MovieModeTakesOnlyEnterAndTheKeypadFromTheKeyboard) {
    enter();
    s.movieMode = true;
    press(KeyRight);
    press(KeyBack);
    EXPECT_EQ(s.keeperX, 2);
    EXPECT_EQ(ui.count("LoadClick"), 0);
    press(KeyReturn);
    EXPECT_EQ(ui.count("LoadClick"), 1);
    press(KeyAdd);
    EXPECT_EQ(number(), "2");
    // The movie player passes its steps with its own sender.
    FormKeyDown(s, ui, Sender::mforward, KeyRight);
    EXPECT_EQ(s.keeperX, 3);
}

TEST_F(PlayTest, SolvingStepShowsZeroAfterTheSolvedHandling) {
    enter();
    ui.setCaption(Control::levelnummer, "2");
    press(KeyReturn);
    std::string shownDuringCheck;
    ui.onCheckSolved = [&] {
        shownDuringCheck = ui.caption(Control::stepsview);
        if (s.board.at(5, 2) == CellCrateOnTarget) s.historyTop = 0;  // what the game mode does
    };
    press(KeyRight);
    press(KeyRight);
    EXPECT_EQ(shownDuringCheck, "1");  // the dialog sees the count before the display
    EXPECT_EQ(ui.caption(Control::stepsview), "0");
}

TEST(Playtitel, StartsTheNewPackAtItsFirstLevel) {
    ScratchFolder folder;
    folder.writePack("first.dat", "First", {levelFromRows({"@"}), levelFromRows({" @"})});
    folder.writePack("second.dat", "Second",
                     {levelFromRows({"  @$."}), levelFromRows({"   @"}), levelFromRows({"@"})});
    FakeFrontend ui;
    GameState s;
    ui.chooserAnswers = {"first.dat", "second.dat"};
    enterGame(s, ui, true);
    plusClick(s, ui);
    ASSERT_EQ(ui.caption(Control::levelnummer), "2");
    ui.clearLog();

    playtitelClick(s, ui);

    EXPECT_EQ(ui.caption(Control::levelnummer), "1");
    EXPECT_EQ(ui.caption(Control::levelnummer2), "1");
    EXPECT_EQ(s.packName, "second");
    EXPECT_EQ(s.keeperX, 3);
    EXPECT_EQ(s.board.at(4, 1), CellCrate);
    EXPECT_EQ(ui.windowCaption, "QUARBEL 98 - Second");
    EXPECT_EQ(ui.count("drawBoard(true,true)"), 2);  // the old number's level, then level 1
}

TEST_F(PlayTest, ClockTicksOnlyWhileTheLevelIsInPlay) {
    enter();
    s.elapsedSeconds = 58;
    zeittimeTimer(s, ui);
    EXPECT_EQ(ui.caption(Control::timeview), "00:00:59");
    s.levelActive = false;
    zeittimeTimer(s, ui);
    EXPECT_EQ(ui.caption(Control::timeview), "00:00:59");
    EXPECT_EQ(s.elapsedSeconds, 59);
}

TEST(Clock, TextOfHoursMinutesAndSeconds) {
    EXPECT_EQ(clockText(0), "00:00:00");
    EXPECT_EQ(clockText(59), "00:00:59");
    EXPECT_EQ(clockText(3599), "00:59:59");
    EXPECT_EQ(clockText(3600), "01:00:00");
    EXPECT_EQ(clockText(3661), "01:01:01");
    EXPECT_EQ(clockText(360000), "100:00:00");
}

TEST_F(PlayTest, FailedPackChoiceKeepsTheTitleScreen) {
    ui.chooserAnswers.push_back("gone.dat");
    try {
        press(KeyRight);
        FAIL() << "no error for a missing pack";
    } catch (const IoError& error) {
        EXPECT_STREQ(error.what(), "Datei nicht gefunden");
    }
    EXPECT_TRUE(s.titleShowing);
    EXPECT_EQ(s.packFileName, "gone.dat");
    EXPECT_EQ(s.packName, "");
    EXPECT_EQ(ui.windowCaption, "QUARBEL 98");
    EXPECT_FALSE(ui.isVisible(Control::start));
    EXPECT_EQ(s.titleBandOffset, 0);  // the band stopped all the same

    enter();  // the next key tries again
    EXPECT_FALSE(s.titleShowing);
}

TEST_F(PlayTest, NoChoiceBeforeAnyPackKeepsTheTitleScreen) {
    ui.chooserAnswers.push_back(std::nullopt);
    EXPECT_THROW(press(KeyRight), GameError);
    EXPECT_TRUE(s.titleShowing);
    EXPECT_EQ(ui.count("drawBoard(true,true)"), 0);
}

TEST_F(PlayTest, PackWithoutLevelsIsRefusedAndTheGameGoesOn) {
    ui.chooserAnswers.push_back("empty.dat");
    EXPECT_THROW(press(KeyRight), GameError);
    EXPECT_TRUE(s.titleShowing);
    EXPECT_EQ(s.levelCount, 0);

    enter();
    press(KeyRight);
    ui.chooserAnswers.push_back("empty.dat");
    EXPECT_THROW(enterGame(s, ui, false), GameError);
    EXPECT_EQ(s.packName, "twelve");  // the level in play stays playable
    EXPECT_EQ(s.levelCount, 12);
    press(KeyLeft);
    EXPECT_EQ(s.historyTop, 2);
}

TEST_F(PlayTest, LevelThatCannotBeReadLeavesTheOldBoard) {
    enter();
    press(KeyRight);
    std::filesystem::remove("twelve.dat");
    ui.setCaption(Control::levelnummer, "2");
    EXPECT_THROW(press(KeyReturn), IoError);
    // The board still holds level 1, and its movie is still level 1's.
    EXPECT_EQ(s.startedLevel, "1");
    EXPECT_EQ(s.keeperX, 3);
    EXPECT_EQ(s.historyTop, 1);
    EXPECT_TRUE(ui.timerEnabled(Timer::zwinkern));
}

TEST_F(PlayTest, PacksCopiedFromTheOldComputerPlayInAnyLetterCase) {
    std::filesystem::rename("twelve.dat", "TWELVE.DAT");
    folder.writePack("b.Dat", "Bee", {levelFromRows({"#@  $.#"}, "Bea")});
    enter("TWELVE.DAT");
    EXPECT_EQ(s.packName, "TWELVE");
    EXPECT_EQ(s.keeperX, 2);
    EXPECT_EQ(ui.caption(Control::autorname), "Ann");
    ui.chooserAnswers.push_back("b.Dat");
    enterGame(s, ui, false);
    StartClick(s, ui);
    EXPECT_EQ(ui.caption(Control::autorname), "Bea");
}

TEST_F(PlayTest, TheChosenPackIsPlayedBesideOneThatDiffersOnlyInCase) {
    // "twelve" + ".dat" names the other file exactly.
    folder.writePack("twelve.DAT", "Other", {levelFromRows({"#  @$.#"}, "Ollie")});
    enter("twelve.DAT");
    EXPECT_EQ(ui.caption(Control::autorname), "Ollie");
    ui.chooserAnswers.push_back("twelve.dat");
    enterGame(s, ui, false);
    EXPECT_EQ(ui.caption(Control::autorname), "Ann");
}

TEST_F(PlayTest, APackThatIsNoRegularFileIsRefusedWithoutWaiting) {
    ASSERT_EQ(::mkfifo("fifo.dat", 0666), 0);
    std::filesystem::create_directory("folder.dat");
    for (const char* name : {"fifo.dat", "folder.dat"}) {
        ui.chooserAnswers.push_back(name);
        try {
            press(KeyRight);
            ADD_FAILURE() << "no error for " << name;
        } catch (const IoError& error) {
            EXPECT_STREQ(error.what(), "Dateizugriff verweigert");
        }
        EXPECT_TRUE(s.titleShowing);
    }
}

TEST_F(PlayTest, NewPackFromTheGameButtonOpensAtLevelOne) {
    enter();
    ui.setCaption(Control::levelnummer, "12");
    folder.writePack("other.dat", "Other", {levelFromRows({"  @ $."})});
    ui.chooserAnswers.push_back("other.dat");
    enterGame(s, ui, false);
    EXPECT_EQ(ui.windowCaption, "QUARBEL 98 - Other");
    EXPECT_EQ(s.levelCount, 1);
    EXPECT_EQ(s.startedLevel, "12");  // the caller then sets "1" and starts again
}

}  // namespace
}  // namespace quarbel
