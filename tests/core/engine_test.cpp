// Steps, pushes and undo on small boards, with what each one draws, checks and shows; the
// solved test and the history codes.
#include <gtest/gtest.h>

#include "core/engine.h"
#include "support/fakefrontend.h"
#include "support/packbuilder.h"

namespace quarbel {
namespace {

using testing::FakeFrontend;
using testing::rowsOf;

struct EngineTest : ::testing::Test {
    GameState s;
    FakeFrontend ui;

    void setBoard(const std::vector<std::string>& rows) { testing::placeLevel(s, rows); }
    std::vector<std::string> rows() const { return rowsOf(s.board, s.keeperX, s.keeperY); }
};

TEST_F(EngineTest, RefusedStepStillTurnsTheKeeper) {
    setBoard({"#####", "#   #", "##@ #", "#####"});  // wall left of the keeper at (3, 3)
    s.facing = 3;
    stepKeeper(s, ui, KeyLeft);
    EXPECT_EQ(s.facing, 2);
    EXPECT_EQ(s.keeperX, 3);
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_TRUE(ui.log.empty());  // no drawing, no solved test, no step display
    EXPECT_EQ(ui.caption(Control::stepsview), "");
}

TEST_F(EngineTest, StepOffTheGridIsRefused) {
    setBoard({"@ "});
    stepKeeper(s, ui, KeyLeft);
    stepKeeper(s, ui, KeyUp);
    EXPECT_EQ(s.facing, 1);
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_TRUE(ui.log.empty());
}

TEST_F(EngineTest, WalkOntoTargetRecordsAndDraws) {
    setBoard({"#####", "#.@ #", "#####"});
    stepKeeper(s, ui, KeyLeft);
    EXPECT_EQ(s.keeperX, 2);
    EXPECT_EQ(s.board.at(2, 2), CellTarget);  // the target stays under the keeper
    ASSERT_EQ(s.historyTop, 1);
    EXPECT_EQ(s.history[0], 4);
    EXPECT_EQ(ui.count("drawBoard(false,true)"), 1);
    EXPECT_EQ(ui.count("CheckSolved"), 1);
    EXPECT_EQ(ui.caption(Control::stepsview), "1");
    EXPECT_EQ(ui.caption(Control::mstepsview), "1");
}

TEST_F(EngineTest, PushesInEveryDirectionRecordTheirCodes) {
    setBoard({"#######", "#  .  #", "#  $  #", "#.$@$.#", "#  $  #", "#  .  #", "#######"});
    stepKeeper(s, ui, KeyUp);
    EXPECT_EQ(s.history[0], 5);
    EXPECT_EQ(s.board.at(4, 2), CellCrateOnTarget);
    stepKeeper(s, ui, KeyDown);  // walk back down
    stepKeeper(s, ui, KeyDown);
    stepKeeper(s, ui, KeyUp);
    stepKeeper(s, ui, KeyRight);
    stepKeeper(s, ui, KeyLeft);
    stepKeeper(s, ui, KeyLeft);
    EXPECT_EQ(std::vector<int>(s.history.begin(), s.history.begin() + s.historyTop),
              (std::vector<int>{5, 2, 6, 1, 7, 4, 8}));
    EXPECT_EQ(rows(), (std::vector<std::string>{"#######", "#  *  #", "#     #", "#*@  *#",
                                                "#     #", "#  *  #", "#######"}));
}

TEST_F(EngineTest, PushOffATargetLeavesTheTarget) {
    setBoard({"######", "#@*  #", "######"});
    stepKeeper(s, ui, KeyRight);
    EXPECT_EQ(s.board.at(3, 2), CellTarget);
    EXPECT_EQ(s.board.at(4, 2), CellCrate);
    EXPECT_EQ(s.history[0], 7);
    EXPECT_EQ(s.keeperX, 3);
}

TEST_F(EngineTest, BlockedPushesMoveNothingButStillRunTheSolvedTest) {
    // A crate in the last column has nothing beyond it.
    setBoard({"             @$"});
    ui.setCaption(Control::stepsview, "old");
    stepKeeper(s, ui, KeyRight);
    EXPECT_EQ(s.board.at(15, 1), CellCrate);
    EXPECT_EQ(s.facing, 4);
    EXPECT_EQ(ui.count("drawBoard(false,true)"), 0);
    EXPECT_EQ(ui.count("CheckSolved"), 1);
    EXPECT_EQ(ui.caption(Control::stepsview), "0");

    // Two crates in a row.
    setBoard({"@$$ "});
    ui.clearLog();
    stepKeeper(s, ui, KeyRight);
    EXPECT_EQ(rows(), (std::vector<std::string>{"@$$"}));
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_EQ(ui.count("drawBoard(false,true)"), 0);
    EXPECT_EQ(ui.count("CheckSolved"), 1);

    // A cell with no code of its own neither takes the keeper nor a crate.
    setBoard({"@$ ", "   "});
    s.board.at(3, 1) = 26;
    s.board.at(1, 2) = 26;
    ui.clearLog();
    stepKeeper(s, ui, KeyRight);
    stepKeeper(s, ui, KeyDown);
    EXPECT_EQ(s.board.at(2, 1), CellCrate);
    EXPECT_EQ(s.keeperX, 1);
    EXPECT_EQ(s.keeperY, 1);
    EXPECT_EQ(ui.count("drawBoard(false,true)"), 0);
    EXPECT_EQ(ui.count("CheckSolved"), 2);
}

TEST_F(EngineTest, UndoOfAPushPutsTheCrateBackAndFacesTheStep) {
    setBoard({"#########", "#  @$.  #", "#########"});
    stepKeeper(s, ui, KeyRight);
    ASSERT_EQ(s.board.at(6, 2), CellCrateOnTarget);
    ui.clearLog();
    s.facing = 1;
    undoMove(s, ui);
    EXPECT_EQ(rows(), (std::vector<std::string>{"#########", "#  @$.  #", "#########"}));
    EXPECT_EQ(s.facing, 4);
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_EQ(ui.caption(Control::stepsview), "0");
    EXPECT_EQ(ui.caption(Control::mstepsview), "0");
    EXPECT_EQ(ui.count("drawBoard(false,true)"), 1);
    EXPECT_EQ(ui.count("CheckSolved"), 0);  // taking a step back never solves a level
}

TEST_F(EngineTest, UndoTableForEveryCode) {
    struct Case {
        KeyCode key;
        int facing;
    };
    for (const Case c : {Case{KeyUp, 1}, Case{KeyDown, 3}, Case{KeyRight, 4}, Case{KeyLeft, 2}}) {
        setBoard({"       ", "   $   ", "  $@$  ", "   $   ", "       "});
        const Board start = s.board;
        stepKeeper(s, ui, c.key);  // push
        stepKeeper(s, ui, c.key);  // push again
        s.facing = 0;
        undoMove(s, ui);
        undoMove(s, ui);
        EXPECT_EQ(s.board, start) << "key " << c.key;
        EXPECT_EQ(s.keeperX, 4);
        EXPECT_EQ(s.keeperY, 3);
        EXPECT_EQ(s.facing, c.facing);
    }
}

TEST_F(EngineTest, UndoneStepIsOverwrittenByTheNextOne) {
    setBoard({"@     "});
    stepKeeper(s, ui, KeyRight);
    stepKeeper(s, ui, KeyRight);
    stepKeeper(s, ui, KeyRight);
    undoMove(s, ui);
    EXPECT_EQ(ui.caption(Control::stepsview), "2");
    EXPECT_EQ(s.history[2], 3);  // still there, no longer counted
    stepKeeper(s, ui, KeyLeft);
    EXPECT_EQ(s.history[2], 4);
    EXPECT_EQ(s.historyTop, 3);
}

TEST_F(EngineTest, UndoNeedsALevelInPlayAndAHistory) {
    setBoard({"@ "});
    undoMove(s, ui);
    EXPECT_TRUE(ui.log.empty());
    EXPECT_TRUE(ui.sound.calls.empty());
    stepKeeper(s, ui, KeyRight);
    s.levelActive = false;
    ui.clearLog();
    undoMove(s, ui);
    EXPECT_EQ(s.historyTop, 1);
    EXPECT_TRUE(ui.log.empty());
}

TEST_F(EngineTest, UndoSoundOpensOnceAndDoesNotRestartWhilePlaying) {
    setBoard({"@    "});
    for (int i = 0; i < 4; ++i)
        stepKeeper(s, ui, KeyRight);
    undoMove(s, ui);
    EXPECT_EQ(ui.sound.calls, (std::vector<std::string>{"open undo.wav", "play undo.wav"}));
    EXPECT_TRUE(s.undoSoundOpen);
    ui.sound.playing = true;
    undoMove(s, ui);
    ui.sound.playing = false;
    undoMove(s, ui);
    EXPECT_EQ(ui.sound.calls,
              (std::vector<std::string>{"open undo.wav", "play undo.wav", "play undo.wav"}));
    s.movieMode = true;
    undoMove(s, ui);
    EXPECT_EQ(ui.sound.calls.size(), 3u);
    EXPECT_EQ(s.historyTop, 0);
}

TEST_F(EngineTest, FailingSoundIsIgnoredAndLeavesTheFlag) {
    setBoard({"@  "});
    stepKeeper(s, ui, KeyRight);
    stepKeeper(s, ui, KeyRight);
    ui.sound.openFails = true;
    undoMove(s, ui);
    EXPECT_EQ(s.historyTop, 1);  // the undo itself happened
    EXPECT_FALSE(s.undoSoundOpen);
    EXPECT_EQ(ui.sound.calls, (std::vector<std::string>{"open undo.wav"}));
    ui.sound.openFails = false;
    ui.sound.playFails = true;
    undoMove(s, ui);
    EXPECT_FALSE(s.undoSoundOpen);
}

TEST_F(EngineTest, FullHistoryRefusesTheNextStepLikeAWall) {
    setBoard({"@ "});
    s.historyTop = HistoryCapacity;
    stepKeeper(s, ui, KeyRight);
    EXPECT_EQ(s.keeperX, 1);
    EXPECT_EQ(s.facing, 4);
    EXPECT_EQ(s.historyTop, HistoryCapacity);
    EXPECT_TRUE(ui.log.empty());
    s.historyTop = HistoryCapacity - 1;
    stepKeeper(s, ui, KeyRight);
    EXPECT_EQ(s.historyTop, HistoryCapacity);
    EXPECT_EQ(s.history[HistoryCapacity - 1], 3);
}

TEST_F(EngineTest, KeeperOutsideTheGridCannotStep) {
    setBoard({"   "});
    s.keeperX = 26;
    s.keeperY = 26;
    for (KeyCode key : {KeyLeft, KeyUp, KeyRight, KeyDown})
        stepKeeper(s, ui, key);
    EXPECT_EQ(s.historyTop, 0);
    EXPECT_TRUE(ui.log.empty());
}

TEST(LevelSolved, NeedsEveryTargetCovered) {
    Board board{};
    board.at(3, 3) = CellCrateOnTarget;
    board.at(4, 4) = CellCrate;
    EXPECT_TRUE(levelSolved(board));
    board.at(15, 15) = CellTarget;
    EXPECT_FALSE(levelSolved(board));
}

TEST(LevelSolved, KeeperOnATargetDoesNotCoverIt) {
    GameState s;
    s.board.at(2, 2) = CellTarget;
    s.keeperX = 2;
    s.keeperY = 2;
    EXPECT_FALSE(levelSolved(s.board));
}

// The history codes as movies store them and the notation that the pack tool reads and writes:
// each walk and push code has its own letter, and reading the letter gives the code back.
TEST(Directions, NotationLettersRoundTripEveryCode) {
    std::string letters;
    for (int code = 1; code <= 8; ++code) {
        letters += notationLetter(code);
        EXPECT_EQ(codeOfNotationLetter(notationLetter(code)), code);
    }
    EXPECT_EQ(letters, "udrlUDRL");
    EXPECT_EQ(notationLetter(0), 0);
    EXPECT_EQ(notationLetter(9), 0);
    EXPECT_EQ(codeOfNotationLetter('x'), 0);
    EXPECT_EQ(codeOfNotationLetter(' '), 0);
}

TEST(KeyForCode, CodesMapToTheirCursorKeys) {
    EXPECT_EQ(keyForCode(1), KeyUp);
    EXPECT_EQ(keyForCode(6), KeyDown);
    EXPECT_EQ(keyForCode(3), KeyRight);
    EXPECT_EQ(keyForCode(8), KeyLeft);
    EXPECT_EQ(keyForCode(0), KeyNone);
    EXPECT_EQ(keyForCode(9), KeyNone);
    EXPECT_EQ(keyForCode(65535 - 47), KeyNone);
}

}  // namespace
}  // namespace quarbel
