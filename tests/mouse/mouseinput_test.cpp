// Presses, pointer moves, releases and repeat ticks: what moves, and the repeat's state.
#include <gtest/gtest.h>

#include "core/engine.h"
#include "core/keys.h"
#include "core/play.h"
#include "mouse/mouseinput.h"
#include "support/fakefrontend.h"
#include "support/packbuilder.h"

namespace quarbel {
namespace {

using testing::FakeFrontend;
using testing::levelFromRows;
using testing::ScratchFolder;

// Keeper at (5, 5) in a room of free floor, columns 2 to 14 and rows 2 to 14.
std::vector<std::string> roomWithKeeper() {
    std::vector<std::string> rows(15, "#             #");
    rows.front() = rows.back() = std::string(15, '#');
    rows[4][4] = '@';
    return rows;
}

struct MouseTest : ::testing::Test {
    GameState s;
    FakeFrontend ui;  // board image of 555 pixels: 37 to a square
    PathFinder finder;

    void setBoard(const std::vector<std::string>& rows) { testing::placeLevel(s, rows); }
    void place(int x, int y, char cell) {
        s.board.at(x, y) = cell == '$' ? CellCrate : cell == '#' ? CellWall : CellEmpty;
    }
    // The middle pixel of a column or row on the board image.
    int pixel(int square) const { return (2 * square - 1) * ui.side / 30; }

    void press(MouseButton button, int col, int row, Sender sender = Sender::zeichenflaeche) {
        FormMouseDown(s, ui, finder, sender, button, pixel(col), pixel(row));
    }
    void leftPress(int col, int row) { press(MouseButton::Left, col, row); }
    void moveTo(int col, int row) { zeichenflaecheMouseMove(s, pixel(col), pixel(row)); }
    void tick() { mousetimerTimer(s, ui, finder); }
    bool repeatOn() const { return ui.timerEnabled(Timer::mousetimer); }
    std::pair<int, int> keeper() const { return {s.keeperX, s.keeperY}; }
    std::pair<int, int> stored() const { return {s.lastMouseX, s.lastMouseY}; }
    void storeAt(int x, int y) {
        s.lastMouseX = x;
        s.lastMouseY = y;
    }
    // Cursor keys from the keyboard.
    void walkKeeper(KeyCode key, int steps) {
        for (int i = 0; i < steps; ++i)
            FormKeyDown(s, ui, Sender::MainWindow, key);
    }
};

// --- From a pixel to a square ---

TEST_F(MouseTest, PixelsMapToColumnsAtTheDrawnEdges) {
    setBoard(roomWithKeeper());
    ui.side = 555;
    // Keeper at (1, 5) after a free left wall: X 36 is his own column, 37 the next one.
    s.board.at(1, 5) = CellEmpty;
    s.keeperX = 1;
    FormMouseDown(s, ui, finder, Sender::zeichenflaeche, MouseButton::Left, 36, pixel(5));
    EXPECT_EQ(keeper(), std::make_pair(1, 5));
    FormMouseDown(s, ui, finder, Sender::zeichenflaeche, MouseButton::Left, 37, pixel(5));
    EXPECT_EQ(keeper(), std::make_pair(2, 5));
    // Y maps to rows the same way: 184 is the last pixel of row 5, 185 the first of row 6.
    FormMouseDown(s, ui, finder, Sender::zeichenflaeche, MouseButton::Left, pixel(2), 184);
    EXPECT_EQ(keeper(), std::make_pair(2, 5));
    FormMouseDown(s, ui, finder, Sender::zeichenflaeche, MouseButton::Left, pixel(2), 185);
    EXPECT_EQ(keeper(), std::make_pair(2, 6));
}

TEST_F(MouseTest, LastPixelLiesInTheLastColumnAndRow) {
    setBoard({"", "", "", "", "              @"});  // keeper at (15, 5), open floor
    FormMouseDown(s, ui, finder, Sender::zeichenflaeche, MouseButton::Left, 554, pixel(6));
    EXPECT_EQ(keeper(), std::make_pair(15, 6));
    FormMouseDown(s, ui, finder, Sender::zeichenflaeche, MouseButton::Left, pixel(15), 554);
    EXPECT_EQ(keeper(), std::make_pair(15, 7));  // first step towards (15, 15)
}

TEST_F(MouseTest, BoardOfSixHundredPixelsSplitsAtForty) {
    setBoard({"", "", "", "", "@ "});  // keeper at (1, 5), open floor
    ui.side = 600;
    FormMouseDown(s, ui, finder, Sender::zeichenflaeche, MouseButton::Left, 39, pixel(5));
    EXPECT_EQ(keeper(), std::make_pair(1, 5));
    FormMouseDown(s, ui, finder, Sender::zeichenflaeche, MouseButton::Left, 40, pixel(5));
    EXPECT_EQ(keeper(), std::make_pair(2, 5));
}

TEST_F(MouseTest, PressesOffTheImageAreNoBoardClicks) {
    setBoard(roomWithKeeper());
    for (const auto& [x, y] : {std::pair{-1, 100}, {555, 100}, {100, -1}, {100, 555}}) {
        FormMouseDown(s, ui, finder, Sender::zeichenflaeche, MouseButton::Left, x, y);
    }
    EXPECT_EQ(keeper(), std::make_pair(5, 5));
    EXPECT_EQ(stored(), std::make_pair(0, 0));
    EXPECT_FALSE(repeatOn());
}

// --- Board clicks ---

TEST_F(MouseTest, NeighbourClicksStepInTheirDirection) {
    setBoard(roomWithKeeper());
    leftPress(6, 5);
    leftPress(6, 6);
    leftPress(5, 6);
    leftPress(5, 5);
    ASSERT_EQ(s.historyTop, 4);
    EXPECT_EQ(std::vector<int>(s.history.begin(), s.history.begin() + 4),
              (std::vector<int>{3, 2, 4, 1}));  // right, down, left, up
    EXPECT_TRUE(repeatOn());
    EXPECT_EQ(stored(), std::make_pair(pixel(5), pixel(5)));
}

TEST_F(MouseTest, NeighbourCrateIsPushedAndHoldingAddsNothing) {
    setBoard(roomWithKeeper());
    place(6, 5, '$');
    leftPress(6, 5);
    EXPECT_EQ(keeper(), std::make_pair(6, 5));
    EXPECT_EQ(s.board.at(7, 5), CellCrate);
    ASSERT_EQ(s.historyTop, 1);
    EXPECT_EQ(s.history[0], 7);
    EXPECT_TRUE(repeatOn());
    tick();
    tick();
    EXPECT_EQ(keeper(), std::make_pair(6, 5));
    EXPECT_EQ(s.historyTop, 1);
    EXPECT_TRUE(repeatOn());  // the keeper's own square: on, doing nothing
}

TEST_F(MouseTest, HeldPressOnAWallKeepsSendingTheKey) {
    setBoard(roomWithKeeper());
    place(5, 4, '#');
    s.facing = 3;
    leftPress(5, 4);
    EXPECT_EQ(s.facing, 1);  // refused, but turned
    EXPECT_TRUE(repeatOn());
    s.facing = 3;
    tick();
    EXPECT_EQ(s.facing, 1);
    EXPECT_EQ(keeper(), std::make_pair(5, 5));
    EXPECT_EQ(s.historyTop, 0);
}

TEST_F(MouseTest, FarClickTakesOnlyTheFirstStep) {
    setBoard(roomWithKeeper());
    leftPress(9, 8);
    EXPECT_EQ(s.historyTop, 1);
    EXPECT_TRUE(repeatOn());
    EXPECT_EQ(stored(), std::make_pair(pixel(9), pixel(8)));
    zeichenflaecheMouseUp(ui);
    EXPECT_FALSE(repeatOn());
    EXPECT_EQ(stored(), std::make_pair(pixel(9), pixel(8)));
}

TEST_F(MouseTest, HeldClickWalksToTheSquareAndWaitsThere) {
    setBoard(roomWithKeeper());
    leftPress(9, 8);
    for (int i = 0; i < 10; ++i)
        tick();
    EXPECT_EQ(keeper(), std::make_pair(9, 8));
    EXPECT_EQ(s.historyTop, 7);  // a shortest walk in the open room
    EXPECT_TRUE(repeatOn());
}

TEST_F(MouseTest, ClickInTheRowWalksFirstStepOfTheSearch) {
    // The two-pillar room: the search heads down first although row 2 is shorter.
    setBoard({"######", "#    #", "#@#  #", "#  # #", "#    #", "######"});
    leftPress(5, 3);
    EXPECT_EQ(keeper(), std::make_pair(2, 4));
    EXPECT_TRUE(repeatOn());
    EXPECT_EQ(stored(), std::make_pair(pixel(5), pixel(3)));
}

TEST_F(MouseTest, ClickOnOwnSquareMakesNoStepAndRepeatsNothing) {
    setBoard(roomWithKeeper());
    leftPress(5, 5);
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_TRUE(repeatOn());
    EXPECT_EQ(stored(), std::make_pair(pixel(5), pixel(5)));
    EXPECT_EQ(ui.count("CheckSolved"), 0);  // key 0 reaches no engine
    tick();
    EXPECT_EQ(keeper(), std::make_pair(5, 5));
    EXPECT_TRUE(repeatOn());
}

TEST_F(MouseTest, CrateInTheRowStoresThePositionAndStopsTheRepeat) {
    setBoard(roomWithKeeper());
    place(7, 5, '$');
    ui.setTimerEnabled(Timer::mousetimer, true);
    leftPress(7, 5);
    EXPECT_EQ(keeper(), std::make_pair(5, 5));
    EXPECT_FALSE(repeatOn());
    EXPECT_EQ(stored(), std::make_pair(pixel(7), pixel(5)));
}

TEST_F(MouseTest, UnreachableSquareElsewhereChangesNothing) {
    setBoard(roomWithKeeper());
    place(6, 4, '$');  // diagonal to the keeper
    storeAt(11, 22);
    leftPress(6, 4);
    EXPECT_FALSE(repeatOn());
    EXPECT_EQ(stored(), std::make_pair(11, 22));

    ui.setTimerEnabled(Timer::mousetimer, true);
    leftPress(6, 4);
    EXPECT_TRUE(repeatOn());
    EXPECT_EQ(stored(), std::make_pair(11, 22));
    EXPECT_EQ(s.historyTop, 0);
}

TEST_F(MouseTest, HeldWalkOntoACrateInTheRowStopsForGood) {
    setBoard(roomWithKeeper());
    place(8, 5, '$');
    leftPress(12, 9);
    moveTo(8, 5);  // the pointer drifts onto a crate in the keeper's new row
    const auto before = keeper();
    ASSERT_EQ(before.second, 5);  // the first step went right, staying in row 5
    tick();
    EXPECT_FALSE(repeatOn());
    EXPECT_EQ(keeper(), before);
    moveTo(12, 9);  // free floor again, but the repeat is off
    EXPECT_EQ(stored(), std::make_pair(pixel(12), pixel(9)));
}

TEST_F(MouseTest, HeldWalkWaitsAtAnUnreachableSquareAndGoesOn) {
    setBoard(roomWithKeeper());
    place(10, 10, '$');
    leftPress(12, 12);
    const auto before = keeper();
    moveTo(10, 10);
    tick();
    tick();
    EXPECT_TRUE(repeatOn());
    EXPECT_EQ(keeper(), before);
    moveTo(12, 12);
    tick();
    EXPECT_NE(keeper(), before);
}

TEST_F(MouseTest, ClicksAfterASolvedLevelMoveNothing) {
    setBoard(roomWithKeeper());
    s.levelActive = false;
    leftPress(6, 5);
    leftPress(9, 9);
    tick();
    EXPECT_EQ(keeper(), std::make_pair(5, 5));
    EXPECT_TRUE(repeatOn());
}

TEST_F(MouseTest, KeeperOffTheBoardIsNotWalkedByTheSearch) {
    setBoard(roomWithKeeper());
    s.keeperX = 40;  // only a damaged level puts him there
    leftPress(9, 9);
    tick();
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_EQ(s.keeperX, 40);
}

// --- Other presses ---

TEST_F(MouseTest, LeftPressesOffTheBoardImageDoNothing) {
    setBoard(roomWithKeeper());
    press(MouseButton::Left, 6, 5, Sender::MainWindow);
    press(MouseButton::Left, 6, 5, Sender::titelflaeche);
    press(MouseButton::Middle, 6, 5);
    EXPECT_EQ(keeper(), std::make_pair(5, 5));
    EXPECT_FALSE(repeatOn());
    EXPECT_EQ(stored(), std::make_pair(0, 0));
}

TEST_F(MouseTest, RightPressAnywhereTakesStepsBackWhileHeld) {
    setBoard(roomWithKeeper());
    walkKeeper(KeyRight, 4);
    storeAt(100, 200);
    press(MouseButton::Right, 1, 1, Sender::MainWindow);
    EXPECT_EQ(s.historyTop, 3);
    EXPECT_TRUE(repeatOn());
    EXPECT_TRUE(s.undoRepeat);
    EXPECT_EQ(stored(), std::make_pair(100, 200));
    tick();
    tick();
    EXPECT_EQ(s.historyTop, 1);
    EXPECT_EQ(keeper(), std::make_pair(6, 5));
    zeichenflaecheMouseUp(ui);
    EXPECT_FALSE(repeatOn());
}

TEST_F(MouseTest, UndoRepeatIgnoresThePointerUntilABoardClickStoresIt) {
    setBoard(roomWithKeeper());
    walkKeeper(KeyRight, 3);
    press(MouseButton::Right, 3, 3);
    moveTo(12, 12);
    EXPECT_EQ(stored(), std::make_pair(0, 0));
    tick();
    EXPECT_EQ(s.historyTop, 1);

    place(9, 9, '$');
    leftPress(9, 9);  // no walk elsewhere: still taking steps back
    EXPECT_TRUE(s.undoRepeat);
    tick();
    EXPECT_EQ(s.historyTop, 0);

    leftPress(12, 12);
    EXPECT_FALSE(s.undoRepeat);
    EXPECT_EQ(stored(), std::make_pair(pixel(12), pixel(12)));
    moveTo(13, 13);
    EXPECT_EQ(stored(), std::make_pair(pixel(13), pixel(13)));
}

TEST_F(MouseTest, MovieModeTakesOnlyRightPresses) {
    setBoard(roomWithKeeper());
    walkKeeper(KeyDown, 2);
    s.movieMode = true;
    leftPress(6, 7);
    EXPECT_EQ(keeper(), std::make_pair(5, 7));
    EXPECT_FALSE(repeatOn());

    s.levelActive = false;  // the player lets undo decide
    press(MouseButton::Right, 6, 7);
    EXPECT_EQ(s.historyTop, 2);
    EXPECT_TRUE(repeatOn());
    s.levelActive = true;
    tick();
    EXPECT_EQ(s.historyTop, 1);
    EXPECT_TRUE(ui.sound.calls.empty());  // no undo sound in movie mode
}

TEST_F(MouseTest, TicksOffTheImageOrInMovieModeWait) {
    setBoard(roomWithKeeper());
    leftPress(9, 9);
    const auto before = keeper();
    zeichenflaecheMouseMove(s, -5, 100);
    tick();
    EXPECT_EQ(keeper(), before);
    EXPECT_TRUE(repeatOn());

    moveTo(9, 9);
    s.movieMode = true;
    tick();
    EXPECT_EQ(keeper(), before);
    EXPECT_TRUE(repeatOn());
    s.movieMode = false;
    tick();
    EXPECT_NE(keeper(), before);
}

TEST_F(MouseTest, PressOnTheTitleScreenOnlyEntersTheGame) {
    const ScratchFolder folder;
    folder.writePack("pack.dat", "Test", {levelFromRows(roomWithKeeper())});
    for (const auto& [button, sender] : {std::pair{MouseButton::Left, Sender::zeichenflaeche},
                                         {MouseButton::Right, Sender::MainWindow},
                                         {MouseButton::Middle, Sender::titelflaeche}}) {
        GameState fresh;
        s = fresh;
        ui.chooserAnswers.push_back("pack.dat");
        ui.setTimerEnabled(Timer::mousetimer, false);
        FormMouseDown(s, ui, finder, sender, button, pixel(6), pixel(5));
        EXPECT_FALSE(s.titleShowing);
        EXPECT_TRUE(s.levelActive);
        EXPECT_EQ(keeper(), std::make_pair(5, 5));
        EXPECT_EQ(s.historyTop, 0);
        EXPECT_FALSE(repeatOn());
        EXPECT_FALSE(s.undoRepeat);
    }
}

// --- The pointer column 1000 on a large board ---

TEST_F(MouseTest, ColumnThousandWalksOnALargeBoard) {
    setBoard(roomWithKeeper());
    ui.side = 1035;                 // the board beside a screen 1080 pixels high
    s.board.at(15, 5) = CellEmpty;  // X 1000 lies in column 15
    s.keeperX = 13;
    walkKeeper(KeyLeft, 1);  // a step on record, which a wrong step back would take
    FormMouseDown(s, ui, finder, Sender::zeichenflaeche, MouseButton::Left, 1000, pixel(5));
    EXPECT_EQ(keeper(), std::make_pair(13, 5));
    EXPECT_EQ(s.historyTop, 2);
    tick();
    tick();
    EXPECT_EQ(keeper(), std::make_pair(15, 5));
    EXPECT_EQ(s.historyTop, 4);  // walked on, never stepped back
    zeichenflaecheMouseMove(s, 1000, 40);
    EXPECT_EQ(stored(), std::make_pair(1000, 40));
}

// --- The solved dialog ---

// The solved handling as the game wires it: it stops the repeat before its modal dialog,
// whose event loop delivers repeat ticks only while the timer runs.
struct SolvedDialogTest : MouseTest {
    int dialogs = 0;

    SolvedDialogTest() {
        ui.onCheckSolved = [this] {
            for (int x = 1; x <= BoardSide; ++x) {
                for (int y = 1; y <= BoardSide; ++y) {
                    if (s.board.at(x, y) == CellTarget) return;
                }
            }
            ui.setTimerEnabled(Timer::mousetimer, false);
            ++dialogs;
            for (int i = 0; i < 5; ++i) {
                if (repeatOn()) tick();
            }
            s.historyTop = 0;
            s.levelActive = false;
        };
    }
};

TEST_F(SolvedDialogTest, PushThatSolvesLeavesTheRepeatOff) {
    setBoard(roomWithKeeper());
    place(6, 5, '$');
    s.board.at(7, 5) = CellTarget;
    leftPress(6, 5);
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(repeatOn());
    EXPECT_EQ(keeper(), std::make_pair(6, 5));
}

TEST_F(SolvedDialogTest, WalkOnABoardWithoutTargetsLeavesTheRepeatOff) {
    setBoard(roomWithKeeper());  // no empty target: the first step counts as solving
    leftPress(12, 12);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_FALSE(repeatOn());
    const auto after = keeper();
    tick();
    EXPECT_EQ(keeper(), after);
}

}  // namespace
}  // namespace quarbel
