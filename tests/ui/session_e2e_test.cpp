// One whole session as a player plays it: from the title screen through the chooser, a
// level solved with the keys and stored, its movie replayed in part, play continued from
// there, a walk and a push with the mouse, another pack and the ends of its level numbers.
#include <QTest>

#include "movies/moviefile.h"
#include "windowfixture.h"

namespace quarbel::testing {
namespace {

class WholeSession : public WindowTest {
  protected:
    // The centre of square (x, y) on the board image.
    QPoint square(int x, int y) {
        const int side = window->boardSide();
        return {(x - 1) * side / BoardSide + side / 30, (y - 1) * side / BoardSide + side / 30};
    }
    void pressSquare(int x, int y) {
        QTest::mousePress(window->widget(Control::zeichenflaeche), Qt::LeftButton, {},
                          square(x, y));
    }
    void releaseSquare(int x, int y) {
        QTest::mouseRelease(window->widget(Control::zeichenflaeche), Qt::LeftButton, {},
                            square(x, y));
    }
    void clickSquare(int x, int y) {
        pressSquare(x, y);
        releaseSquare(x, y);
    }
    void tickMouseRepeat() {
        QMetaObject::invokeMethod(window->timer(Timer::mousetimer), "timeout");
    }
    void expectKeeperAt(int x, int y) {
        EXPECT_EQ(state().keeperX, x);
        EXPECT_EQ(state().keeperY, y);
    }
    void expectLevelNumber(const std::string& number) {
        EXPECT_EQ(caption(Control::levelnummer), number);
        EXPECT_EQ(caption(Control::levelnummer2), number);
    }
};

TEST_F(WholeSession, FromTheTitleToASecondPack) {
    std::vector<Level> second;
    for (int level = 1; level <= 12; ++level) {
        const int length = (level - 1) % 11 + 1;  // a crate's way of 1 to 11 squares
        second.push_back(levelFromRows({std::string(length + 4, '#'),
                                        "#@$" + std::string(length - 1, ' ') + ".#",
                                        std::string(length + 4, '#')}));
    }
    folder.writePack("second.dat", "Second Pack", second);
    openWindow();

    // The title screen gives way to the chooser at the first key; its first pack starts.
    chooseWhenAsked(0);
    key(Qt::Key_Space);
    ASSERT_EQ(dialogsAnswered, 1);
    EXPECT_EQ(window->windowTitle(), "QUARBEL 98 - First Pack");
    expectLevelNumber("1");

    // Level 1 solved with the keys: a step and two pushes, stored as a movie.
    answerSolvedDialog(true);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(dialogsAnswered, 2);
    EXPECT_EQ(folder.readFile(movieFileName("first", "1")), "377");
    EXPECT_FALSE(state().levelActive);
    EXPECT_EQ(caption(Control::stepsview), "0");

    // The same level replayed in movie mode: two steps on, one back, one on again.
    click(Control::movie);
    EXPECT_TRUE(state().movieMode);
    EXPECT_TRUE(window->isVisible(Control::load));
    click(Control::load);
    EXPECT_EQ(state().movieLength, 3);
    EXPECT_TRUE(window->widget(Control::mforward)->isEnabled());
    expectKeeperAt(2, 2);
    click(Control::mforward);
    click(Control::mforward);
    expectKeeperAt(4, 2);
    EXPECT_EQ(state().board.at(5, 2), CellCrate);
    click(Control::mback);
    expectKeeperAt(3, 2);
    EXPECT_EQ(caption(Control::mstepsview), "1");
    click(Control::mforward);
    EXPECT_EQ(caption(Control::mstepsview), "2");

    // Back in the game after the partial replay, the player finishes the level himself; the
    // stored movie stays as it was when he declines to save.
    click(Control::game);
    EXPECT_FALSE(state().movieMode);
    EXPECT_TRUE(state().levelActive);
    answerSolvedDialog(false);
    key(Qt::Key_Right);
    EXPECT_EQ(dialogsAnswered, 3);
    EXPECT_EQ(state().board.at(6, 2), CellCrateOnTarget);
    EXPECT_EQ(folder.readFile(movieFileName("first", "1")), "377");

    // Level 3 with the mouse: a held press walks round the crate, single presses step and
    // the last one pushes the crate home.
    click(Control::plusplus);
    expectLevelNumber("3");
    click(Control::start);
    expectKeeperAt(2, 2);
    pressSquare(5, 3);
    for (int tick = 0; tick < 20 && !(state().keeperX == 5 && state().keeperY == 3); ++tick)
        tickMouseRepeat();
    releaseSquare(5, 3);
    expectKeeperAt(5, 3);
    EXPECT_FALSE(window->timerEnabled(Timer::mousetimer));
    clickSquare(4, 3);
    clickSquare(3, 3);
    clickSquare(3, 2);
    expectKeeperAt(3, 2);
    answerSolvedDialog(false);
    clickSquare(4, 2);
    EXPECT_EQ(dialogsAnswered, 4);
    EXPECT_EQ(state().board.at(5, 2), CellCrateOnTarget);
    expectKeeperAt(4, 2);

    // Another pack through GAME opens at its level 1, whatever level was shown before.
    chooseWhenAsked(1);
    click(Control::playtitel);
    EXPECT_EQ(dialogsAnswered, 5);
    EXPECT_EQ(window->windowTitle(), "QUARBEL 98 - Second Pack");
    EXPECT_EQ(state().levelCount, 12);
    expectLevelNumber("1");
    EXPECT_EQ(state().startedLevel, "1");

    // The level-number buttons stop at both ends of the pack.
    click(Control::minus);
    expectLevelNumber("1");
    click(Control::minusminus);
    expectLevelNumber("1");
    click(Control::plusplus);
    expectLevelNumber("11");
    click(Control::plusplus);
    expectLevelNumber("12");
    click(Control::plus);
    expectLevelNumber("12");
    click(Control::start);
    EXPECT_EQ(state().board.at(4, 2), CellTarget);  // the pack's twelfth level
    click(Control::minusminus);
    expectLevelNumber("2");
    click(Control::minusminus);
    expectLevelNumber("1");
    EXPECT_TRUE(errors.texts.empty());
}

}  // namespace
}  // namespace quarbel::testing
