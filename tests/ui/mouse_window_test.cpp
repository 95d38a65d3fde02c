// The real window, offscreen: walking, pushing and taking steps back with a held mouse
// button, each repeat step coming from the window's 50 ms mouse timer.
#include <QTest>

#include "ui/render/tilesheet.h"
#include "windowfixture.h"

namespace quarbel::testing {
namespace {

// Generous bounds for the repeat to get somewhere; a walk of a few squares takes a few ticks.
constexpr int PatientMs = 10000;

class MouseWindowTest : public WindowTest {
  protected:
    MouseWindowTest() {
        std::vector<Level> levels;
        levels.push_back(levelFromRows({
            "#########",
            "#@      #",
            "#       #",
            "#  $    #",
            "#      .#",
            "#########",
        }));
        levels.push_back(levelFromRows({"######", "#@$ .#", "######"}));
        folder.writePack("first.dat", "First Pack", levels);
    }

    QWidget* board() { return window->widget(Control::zeichenflaeche); }
    // The middle of square (x, y) on the board image, shown one to one at 555 pixels.
    static QPoint square(int x, int y) {
        return {(x - 1) * CellPitch + CellPitch / 2, (y - 1) * CellPitch + CellPitch / 2};
    }

    bool keeperAt(int x, int y) { return state().keeperX == x && state().keeperY == y; }
    bool repeating() { return window->timerEnabled(Timer::mousetimer); }

    void pressOnBoard(Qt::MouseButton button, QPoint at) {
        QTest::mousePress(board(), button, {}, at);
    }
    void moveOnBoard(QPoint to) { QTest::mouseMove(board(), to); }
    void releaseOnBoard(Qt::MouseButton button, QPoint at) {
        QTest::mouseRelease(board(), button, {}, at);
    }

    // Takes `count` steps right and left with the keys, so that there is much to take back.
    void walkToAndFro(int count) {
        for (int step = 0; step < count; ++step)
            key(step % 2 == 0 ? Qt::Key_Right : Qt::Key_Left);
        ASSERT_EQ(state().historyTop, count);
    }
};

TEST_F(MouseWindowTest, AHeldLeftButtonWalksTowardsThePointer) {
    openWindow();
    enterFirstPack();
    ASSERT_EQ(window->boardSide(), 555);

    pressOnBoard(Qt::LeftButton, square(8, 2));
    EXPECT_TRUE(keeperAt(3, 2));  // the first step is taken at once
    EXPECT_TRUE(repeating());
    EXPECT_TRUE(QTest::qWaitFor([this] { return keeperAt(8, 2); }, PatientMs));

    // The held walk follows the pointer.
    moveOnBoard(square(8, 4));
    EXPECT_TRUE(QTest::qWaitFor([this] { return keeperAt(8, 4); }, PatientMs));
    EXPECT_EQ(caption(Control::stepsview), "8");

    releaseOnBoard(Qt::LeftButton, square(8, 4));
    EXPECT_FALSE(repeating());
    moveOnBoard(square(2, 3));
    wait(200);
    EXPECT_TRUE(keeperAt(8, 4));
}

TEST_F(MouseWindowTest, APressBesideTheKeeperPushesAndTheHeldPointerPushesOn) {
    openWindow();
    enterFirstPack();
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Right);
    ASSERT_TRUE(keeperAt(3, 4));

    pressOnBoard(Qt::LeftButton, square(4, 4));
    EXPECT_TRUE(keeperAt(4, 4));
    EXPECT_EQ(state().board.at(5, 4), CellCrate);
    EXPECT_EQ(state().history[3], 7);  // a push to the right
    // The keeper stands on the pressed square: holding adds nothing.
    wait(200);
    EXPECT_TRUE(keeperAt(4, 4));
    EXPECT_EQ(state().historyTop, 4);

    moveOnBoard(square(5, 4));
    EXPECT_TRUE(QTest::qWaitFor([this] { return state().board.at(6, 4) == CellCrate; }, PatientMs));
    EXPECT_TRUE(keeperAt(5, 4));
    releaseOnBoard(Qt::LeftButton, square(5, 4));
    EXPECT_FALSE(repeating());
}

TEST_F(MouseWindowTest, TheRightButtonTakesStepsBackWhileHeld) {
    openWindow();
    enterFirstPack();
    walkToAndFro(20);

    pressOnBoard(Qt::RightButton, square(12, 12));
    EXPECT_EQ(state().historyTop, 19);  // one step back at once
    EXPECT_TRUE(QTest::qWaitFor([this] { return state().historyTop <= 15; }, PatientMs));
    releaseOnBoard(Qt::RightButton, square(12, 12));
    EXPECT_FALSE(repeating());
    const int left = state().historyTop;
    EXPECT_GT(left, 0);
    wait(200);
    EXPECT_EQ(state().historyTop, left);
    EXPECT_EQ(caption(Control::stepsview), std::to_string(left));
}

TEST_F(MouseWindowTest, OnTheBlackAreaOnlyTheRightButtonActs) {
    openWindow();
    enterFirstPack();
    walkToAndFro(20);
    const QPoint blackArea(400, 590);  // below the board
    ASSERT_EQ(window->childAt(blackArea), nullptr);

    QTest::mousePress(window.get(), Qt::LeftButton, {}, blackArea);
    EXPECT_FALSE(repeating());
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, blackArea);
    wait(100);
    EXPECT_EQ(state().historyTop, 20);
    EXPECT_TRUE(keeperAt(2, 2));

    QTest::mousePress(window.get(), Qt::RightButton, {}, blackArea);
    EXPECT_EQ(state().historyTop, 19);
    EXPECT_TRUE(QTest::qWaitFor([this] { return state().historyTop <= 15; }, PatientMs));
    QTest::mouseRelease(window.get(), Qt::RightButton, {}, blackArea);
    EXPECT_FALSE(repeating());
    const int left = state().historyTop;
    wait(200);
    EXPECT_EQ(state().historyTop, left);
}

TEST_F(MouseWindowTest, AHeldPushThatSolvesAsksOnceAndEndsTheRepeat) {
    openWindow();
    enterFirstPack();
    click(Control::plus);
    click(Control::start);
    ASSERT_EQ(state().startedLevel, "2");

    pressOnBoard(Qt::LeftButton, square(3, 2));
    EXPECT_EQ(state().board.at(4, 2), CellCrate);
    answerSolvedDialog(false);
    moveOnBoard(square(4, 2));  // the next tick pushes the crate onto the target
    EXPECT_TRUE(QTest::qWaitFor([this] { return solvedDialogs.size() == 1; }, PatientMs));
    EXPECT_EQ(state().board.at(5, 2), CellCrateOnTarget);
    EXPECT_FALSE(repeating());
    EXPECT_FALSE(state().levelActive);

    // Still held: the pointer moving on walks nothing and asks nothing more.
    moveOnBoard(square(5, 2));
    wait(200);
    EXPECT_TRUE(keeperAt(4, 2));
    EXPECT_EQ(solvedDialogs.size(), 1u);
    releaseOnBoard(Qt::LeftButton, square(5, 2));
}

}  // namespace
}  // namespace quarbel::testing
