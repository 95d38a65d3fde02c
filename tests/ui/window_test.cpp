// The real window, offscreen: start-up, entering the game, the keys whichever control has
// the focus, the focus keeper, the buttons and the error report.
#include <QLineEdit>
#include <QTest>

#include "core/gameerror.h"
#include "windowfixture.h"

namespace quarbel::testing {
namespace {

TEST_F(WindowTest, StartsOnTheTitleScreen) {
    openWindow();
    EXPECT_EQ(window->windowTitle(), "QUARBEL 98");
    EXPECT_TRUE(state().titleShowing);
    EXPECT_TRUE(window->isVisible(Control::titelflaeche));
    EXPECT_FALSE(window->isVisible(Control::titel2));
    for (Control c : GamePanel)
        EXPECT_FALSE(window->isVisible(c));
    EXPECT_FALSE(window->isVisible(Control::load));
    EXPECT_TRUE(window->timerEnabled(Timer::startanim));
    EXPECT_FALSE(window->timerEnabled(Timer::zeittime));
    EXPECT_FALSE(window->timerEnabled(Timer::zwinkern));
    EXPECT_FALSE(window->timerEnabled(Timer::mousetimer));
    EXPECT_FALSE(window->widget(Control::mplay)->isEnabled());
    EXPECT_EQ(state().facing, 3);
    EXPECT_EQ(caption(Control::levelnummer), "1");
    EXPECT_EQ(caption(Control::autorname), "Unknown");

    // The offscreen screen is 800 x 600, so the board is shown one to one.
    EXPECT_EQ(window->boardSide(), 555);
    EXPECT_EQ(window->widget(Control::zeichenflaeche)->geometry(), QRect(122, 22, 555, 555));
    EXPECT_EQ(window->widget(Control::titelflaeche)->geometry(), QRect(80, 100, 640, 400));
    EXPECT_EQ(window->widget(Control::start)->geometry(), QRect(692, 154, 94, 26));
    EXPECT_EQ(window->widget(Control::plus)->geometry(), QRect(745, 51, 41, 27));
    EXPECT_EQ(window->widget(Control::mplay)->geometry(), QRect(26, 247, 70, 34));
    EXPECT_EQ(window->controller()->geometry(), QRect(0, -53, 128, 31));

    EXPECT_TRUE(
        QTest::qWaitFor([&] { return QApplication::focusWidget() == window->controller(); }, 5000));
}

TEST_F(WindowTest, FirstKeyChoosesAPackAndPlays) {
    openWindow();
    chooseWhenAsked(0);
    key(Qt::Key_Right);  // enters the game and takes its step there
    EXPECT_EQ(dialogsAnswered, 1);
    EXPECT_EQ(window->windowTitle(), "QUARBEL 98 - First Pack");
    EXPECT_FALSE(state().titleShowing);
    EXPECT_FALSE(window->isVisible(Control::titelflaeche));
    // The title screen never comes back: its pictures are gone.
    EXPECT_TRUE(window->renderer().titleScreen().picture().pixels.empty());
    for (Control c : GamePanel)
        EXPECT_TRUE(window->isVisible(c)) << static_cast<int>(c);
    EXPECT_TRUE(window->isVisible(Control::titel2));
    EXPECT_EQ(caption(Control::stepsview), "1");
    EXPECT_EQ(caption(Control::autorname), "Ann");
    EXPECT_EQ(window->widget(Control::zeichenflaeche)->cursor().shape(), Qt::CrossCursor);
    EXPECT_TRUE(window->timerEnabled(Timer::zeittime));

    key(Qt::Key_Right);  // pushes the crate on
    EXPECT_EQ(state().keeperX, 4);
    EXPECT_EQ(state().board.at(5, 2), CellCrate);
    EXPECT_EQ(caption(Control::stepsview), "2");
}

TEST_F(WindowTest, KeysReachTheGameWhereverTheFocusIs) {
    openWindow();
    enterFirstPack();
    window->controller()->clearFocus();
    window->setFocus();
    key(Qt::Key_Right);
    EXPECT_EQ(caption(Control::stepsview), "1");
    key(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(caption(Control::levelnummer), "2");
    EXPECT_EQ(caption(Control::levelnummer2), "2");
    key(Qt::Key_Plus);  // the main keyboard's plus changes nothing
    EXPECT_EQ(caption(Control::levelnummer), "2");
    key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(state().startedLevel, "2");
    EXPECT_EQ(caption(Control::stepsview), "0");
    EXPECT_EQ(QApplication::focusWidget(), window->controller());  // StartClick focuses it
    key(Qt::Key_Right);
    key(Qt::Key_Backspace);
    EXPECT_EQ(caption(Control::stepsview), "0");
    EXPECT_EQ(sound.calls, (std::vector<std::string>{"open undo.wav", "play undo.wav"}));
}

TEST_F(WindowTest, FocusComesBackToTheController) {
    openWindow();
    enterFirstPack();
    window->setFocus();
    EXPECT_NE(QApplication::focusWidget(), window->controller());
    // The focus timer's next tick, however late a busy machine lets it come.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return QApplication::focusWidget() == window->controller(); }, 5000));

    state().movieMode = true;
    window->setFocus();
    wait(350);
    EXPECT_NE(QApplication::focusWidget(), window->controller());
}

TEST_F(WindowTest, PanelButtonsRunTheirCommands) {
    openWindow();
    enterFirstPack();
    click(Control::plusplus);
    EXPECT_EQ(caption(Control::levelnummer), "3");
    click(Control::minus);
    EXPECT_EQ(caption(Control::levelnummer), "2");
    click(Control::start);
    EXPECT_EQ(state().startedLevel, "2");
    key(Qt::Key_Down);
    EXPECT_EQ(caption(Control::stepsview), "0");  // a wall below: refused
    click(Control::minusminus);
    EXPECT_EQ(caption(Control::levelnummer), "1");
    click(Control::start);
    key(Qt::Key_Right);
    click(Control::Undobutton);
    EXPECT_EQ(state().keeperX, 2);
    click(Control::help);
    key(Qt::Key_F1);
    EXPECT_EQ(help.topics, (std::vector<int>{1000, 1000}));
    EXPECT_EQ(QApplication::focusWidget(), window->controller());  // buttons take no focus
}

// The key map knows only the keys the game acts on; any other key still leaves the title.
TEST_F(WindowTest, KeyWithoutAGameCodeLeavesTheTitleScreen) {
    openWindow();
    chooseWhenAsked(0);
    key(Qt::Key_Space);
    EXPECT_FALSE(state().titleShowing);
    EXPECT_EQ(state().historyTop, 0);
}

TEST_F(WindowTest, PressOnTheTitlePictureEntersTheGame) {
    openWindow();
    chooseWhenAsked(0);
    QWidget* title = window->widget(Control::titelflaeche);
    QTest::mouseClick(title, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_FALSE(state().titleShowing);
    EXPECT_EQ(state().historyTop, 0);  // the press only enters the game
}

TEST_F(WindowTest, FailingPackIsReportedAndTheTitleStays) {
    folder.writeFile("broken.dat", std::string(32, '\0'));  // a pack without levels
    openWindow();
    chooseWhenAsked(0);  // "broken.dat" sorts first; its title is empty
    key(Qt::Key_Right);
    ASSERT_EQ(errors.texts.size(), 1u);
    EXPECT_NE(errors.texts[0].find("no levels"), std::string::npos);
    EXPECT_TRUE(state().titleShowing);
    EXPECT_EQ(window->windowTitle(), "QUARBEL 98");

    chooseWhenAsked(1);
    key(Qt::Key_Right);
    EXPECT_FALSE(state().titleShowing);
}

TEST(WindowStart, MissingPictureStopsTheStart) {
    ScratchFolder folder;
    writePlainPictures();
    std::filesystem::remove("backgr8.bmp");
    FakeSoundPlayer sound;
    RecordingHelp help;
    RecordingShell shell;
    RecordingErrors errors;
    Platform platform{sound, help, shell, errors};
    try {
        Tpakkor window(platform);
        FAIL() << "the window started without its background";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "Kann Datei backgr8.bmp nicht öffnen.");
    }
}

}  // namespace
}  // namespace quarbel::testing
