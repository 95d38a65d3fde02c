// The real window, offscreen, as a desktop treats it: a fixed window covering its screen, that
// follows another screen; dialogs in the middle of the game's screen; pointer positions with
// fractions; the end of the program; the pace of the title band.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>
#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "chooser/dateien.h"
#include "ui/platform/errorreport.h"
#include "ui/platform/help.h"
#include "ui/render/images.h"
#include "windowfixture.h"

namespace quarbel::testing {
namespace {

QScreen* secondScreen() {
    const auto screens = QGuiApplication::screens();
    return screens.size() > 1 ? screens[1] : nullptr;
}

bool centredOn(const QRect& frame, const QRect& screen) {
    return frame.x() - screen.x() == (screen.width() - frame.width()) / 2 &&
           frame.y() - screen.y() == (screen.height() - frame.height()) / 2;
}

// Counts the events of the given kinds that reach the watched object.
class EventCounter : public QObject {
  public:
    EventCounter(std::vector<QEvent::Type> types, int& count)
        : types_(std::move(types)), count_(count) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (std::find(types_.begin(), types_.end(), event->type()) != types_.end()) ++count_;
        return false;
    }

  private:
    std::vector<QEvent::Type> types_;
    int& count_;
};

using DesktopWindow = WindowTest;

TEST_F(DesktopWindow, MaximisedIntoTheFreeAreaOfItsScreen) {
    openWindow();
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(window->frameGeometry(), window->screen()->availableGeometry());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowSystemMenuHint);

    // Restored by the desktop, it is maximised again.
    window->showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isMaximized(); }));
    EXPECT_EQ(window->frameGeometry(), window->screen()->availableGeometry());
}

TEST_F(DesktopWindow, LaidOutForTheClientSizeTheDesktopGives) {
    openWindow();
    enterFirstPack();
    // A title bar of 30 pixels and a panel of 32 leave 800 x 538 of a 600-pixel screen.
    window->resize(800, 538);
    EXPECT_EQ(window->boardSide(), 538);
    EXPECT_EQ(window->widget(Control::zeichenflaeche)->geometry(),
              QRect((800 - 538) / 2, 0, 538, 538));
    EXPECT_EQ(window->widget(Control::start)->x(), window->windowLayout().rightPanelX(94));
    EXPECT_EQ(window->windowLayout().marginWidth, (800 - 538) / 2);
    key(Qt::Key_Right);
    const QImage board = window->widget(Control::zeichenflaeche)->grab().toImage();
    EXPECT_EQ(board.size(), QSize(538, 538));
    EXPECT_EQ(board.pixel(537, 537), window->renderer().frontPicture().at(554, 554));
}

TEST_F(DesktopWindow, OnAnotherScreenTheLayoutAndTheSideStripAreMadeAnew) {
    QScreen* second = secondScreen();
    ASSERT_NE(second, nullptr);
    openWindow();
    enterFirstPack();
    auto* strip = static_cast<ImageView*>(window->widget(Control::titel2));
    ASSERT_EQ(strip->shownPicture(), &window->renderer().sidePicture());
    const QSize stripAt600 = strip->size();

    window->windowHandle()->setScreen(second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->size() == QSize(1024, 768); }));
    EXPECT_EQ(window->frameGeometry(), second->availableGeometry());
    EXPECT_TRUE(window->isMaximized());
    // There it stays: no further move or change of size.
    int changes = 0;
    EventCounter counter({QEvent::Move, QEvent::Resize}, changes);
    window->installEventFilter(&counter);
    wait(200);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(window->screen(), second);
    EXPECT_EQ(window->boardSide(), 768 - 45);
    EXPECT_EQ(window->widget(Control::zeichenflaeche)->geometry(),
              QRect((1024 - 723) / 2, (768 - 723) / 2, 723, 723));
    // Scaled by 768 / 600, and the picture is shown at that size.
    EXPECT_EQ(strip->height(), stripAt600.height() * 768 / 600);
    const PixelBuffer& side = window->renderer().sidePicture();
    EXPECT_EQ(strip->grab().toImage().pixel(strip->width() - 1, strip->height() - 1),
              side.at(side.width - 1, side.height - 1));
    EXPECT_EQ(strip->x(), window->windowLayout().titel2LeftX);

    // Played on at the new size: a step is drawn on the larger board.
    key(Qt::Key_Right);
    EXPECT_EQ(state().keeperX, 3);
    const QImage board = window->widget(Control::zeichenflaeche)->grab().toImage();
    EXPECT_EQ(board.size(), QSize(723, 723));
    EXPECT_EQ(board.pixel(722, 722), window->renderer().frontPicture().at(554, 554));
}

TEST_F(DesktopWindow, DialogsStandInTheMiddleOfTheGamesScreen) {
    QScreen* second = secondScreen();
    ASSERT_NE(second, nullptr);
    openWindow();
    window->windowHandle()->setScreen(second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->screen() == second; }));

    enterFirstPack();  // the chooser
    answerSolvedDialog(false);
    for (int step = 0; step < 3; ++step)
        key(Qt::Key_Right);

    MessageBoxReport report;  // the game's error report
    report.setParent(window.get());
    int reported = 0;
    QTimer::singleShot(0, [&] { report.showError("Datei nicht gefunden"); });
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            dialogPlaces.emplace_back(box->frameGeometry(), box->screen()->geometry());
            ++reported;
            box->accept();
        }
    });
    watcher.start(5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return reported == 1; }));

    ASSERT_EQ(dialogPlaces.size(), 3u);
    for (const auto& [frame, screen] : dialogPlaces) {
        EXPECT_EQ(screen, second->geometry());
        EXPECT_TRUE(centredOn(frame, second->geometry())) << frame.x() << "," << frame.y();
    }
}

// A title-bar button that a desktop shows anyway neither hides the chooser nor changes its size;
// a desktop that minimises the game window with it gets that back too.
TEST_F(DesktopWindow, AMinimisedOrMaximisedChooserComesBackAsItWas) {
    openWindow();
    std::vector<std::pair<Qt::WindowStates, QSize>> seen;
    whenModalShows([&](QWidget* modal) {
        if (!qobject_cast<TLevelpac*>(modal)) return false;
        if (seen.empty()) {
            seen.emplace_back(modal->windowState(), modal->size());
            window->showMinimized();
            modal->showMinimized();
            return false;
        }
        if (seen.size() == 1) {
            if (modal->windowState() != Qt::WindowNoState) return false;
            seen.emplace_back(modal->windowState(), modal->size());
            modal->showMaximized();
            return false;
        }
        if (modal->windowState() != Qt::WindowNoState) return false;
        seen.emplace_back(modal->windowState(), modal->size());
        modal->findChild<QListWidget*>()->setCurrentRow(0);
        QTest::mouseClick(modal->findChild<QPushButton*>("weiter"), Qt::LeftButton);
        return true;
    });
    key(Qt::Key_Space);
    ASSERT_EQ(seen.size(), 3u);
    for (const auto& [state, size] : seen) {
        EXPECT_EQ(state, Qt::WindowNoState);
        EXPECT_EQ(size, QSize(330, 395));
    }
    EXPECT_FALSE(state().titleShowing);
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(DesktopWindow, AChooserThatCouldReadNoPackSaysSo) {
    std::filesystem::remove("first.dat");
    std::filesystem::create_symlink("/proc/self/mem", "broken.dat");  // fails on reading
    openWindow();
    QStringList told;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told << box->text();
            box->accept();
        }
    });
    watcher.start(5);
    chooseWhenAsked(-1);
    key(Qt::Key_Space);
    EXPECT_EQ(told, QStringList({"No level pack could be read:\n\nbroken.dat: E/A-Fehler 5"}));
    EXPECT_EQ(errors.texts, std::vector<std::string>({"No level pack could be read."}));
    EXPECT_TRUE(state().titleShowing);
}

// A stored movie of level 1 in movie mode, ten steps in.
TEST_F(DesktopWindow, APressOnAPictureButtonBelongsToTheButton) {
    std::filesystem::create_directory("first");
    folder.writeFile("first/ZORP0001.MOV", "3434343434377");
    openWindow();
    enterFirstPack();
    click(Control::movie);
    click(Control::load);
    click(Control::m10forward);
    ASSERT_EQ(caption(Control::mstepsview), "10");

    for (Control button : {Control::mplay, Control::mbacktostart, Control::mstop, Control::mback,
                           Control::mforward, Control::m10back, Control::m10forward}) {
        SCOPED_TRACE(static_cast<int>(button));
        QWidget* target = window->widget(button);
        for (Qt::MouseButton mouse : {Qt::RightButton, Qt::MiddleButton}) {
            QTest::mousePress(target, mouse, {}, target->rect().center());
            EXPECT_FALSE(window->timerEnabled(Timer::mousetimer));
            QTest::mouseRelease(target, mouse, {}, target->rect().center());
        }
        EXPECT_EQ(caption(Control::mstepsview), "10");
        EXPECT_EQ(state().historyTop, 10);
    }
    // Beside the buttons the right button still starts the window's step-back repeat.
    QTest::mousePress(window.get(), Qt::RightButton, {}, QPoint(60, 590));
    EXPECT_TRUE(window->timerEnabled(Timer::mousetimer));
    QTest::mouseRelease(window.get(), Qt::RightButton, {}, QPoint(60, 590));
    EXPECT_FALSE(window->timerEnabled(Timer::mousetimer));
}

// The button's face shows round the symbol, not the picture's own background.
TEST_F(DesktopWindow, PictureButtonsShowTheirSymbolsOnTheButtonsFace) {
    QImage picture(36, 24, QImage::Format_RGB32);
    picture.fill(QColor(40, 44, 60));
    picture.setPixelColor(9, 12, Qt::green);      // the normal look's symbol
    picture.setPixelColor(18 + 9, 12, Qt::gray);  // the greyed one's
    ASSERT_TRUE(picture.save("mplay.bmp", "BMP"));
    openWindow();

    const QIcon icon = static_cast<QPushButton*>(window->widget(Control::mplay))->icon();
    for (const auto& [mode, symbol] : {std::pair(QIcon::Normal, QColor(Qt::green)),
                                       std::pair(QIcon::Disabled, QColor(Qt::gray))}) {
        const QImage look = icon.pixmap(QSize(18, 24), 1.0, mode).toImage();
        ASSERT_EQ(look.size(), QSize(18, 24));
        EXPECT_EQ(look.pixelColor(9, 12), symbol);
        EXPECT_EQ(qAlpha(look.pixel(0, 23)), 0);
        EXPECT_EQ(qAlpha(look.pixel(17, 0)), 0);
    }
}

// With a device pixel ratio of 1.25, 1.5 or 2 a position has fractions; the square is the one
// whose pixels the position lies in. Level 1 has the keeper in column 2 of row 2, a wall below.
TEST_F(DesktopWindow, PointerPositionsAreTruncatedNeverRounded) {
    openWindow();
    enterFirstPack();
    QWidget* board = window->widget(Control::zeichenflaeche);
    ASSERT_EQ(board->width(), 555);  // 37 pixels a square
    const auto clickAt = [board](QPointF at) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, board->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(board, &event);
        }
    };
    // Physical pixel 92 at 1.25, 110 at 1.5, 147 at 2: the last pixel of column 2, which
    // rounding would put into column 3, the crate-free square right of the keeper.
    for (const double x : {92 / 1.25, 110 / 1.5, 147 / 2.0}) {
        clickAt(QPointF(x, 55.5));
        EXPECT_EQ(state().keeperX, 2) << x;
        EXPECT_EQ(state().historyTop, 0) << x;
    }
    // The last pixel row of row 2 in column 3: one step right; rounded, row 3 is the wall.
    clickAt(QPointF(92.5, 147 / 2.0));
    EXPECT_EQ(state().keeperX, 3);
    EXPECT_EQ(state().keeperY, 2);

    EXPECT_EQ(pixelAt(QPointF(-0.5, 36.99)), QPoint(-1, 36));  // left of the board stays off it
}

TEST_F(DesktopWindow, TheTitleBandSlidesAtSixtyFourTicksASecond) {
    QElapsedTimer clock;
    clock.start();
    openWindow();
    wait(250);
    const int ticks = (640 - state().titleBandOffset) / 4;
    // Never faster than the grid allows, however busy the machine.
    EXPECT_LE(ticks, clock.elapsed() * 64 / 1000 + 1);
    EXPECT_TRUE(window->timerEnabled(Timer::startanim));
    EXPECT_GT(state().titleBandOffset, 0);

    // A key stops it where it is, at once; the other timers keep their intervals.
    chooseWhenAsked(0);
    key(Qt::Key_Space);
    EXPECT_EQ(state().titleBandOffset, 0);
    wait(40);
    EXPECT_FALSE(window->timerEnabled(Timer::startanim));
    EXPECT_EQ(window->timerInterval(Timer::zeittime), 1000);
    EXPECT_EQ(window->timerInterval(Timer::focusset), 200);
    EXPECT_EQ(window->timerInterval(Timer::movietimer), 200);
    EXPECT_EQ(window->timerInterval(Timer::zwinkern), 1000);
    EXPECT_EQ(window->timerInterval(Timer::mousetimer), 50);
}

TEST_F(DesktopWindow, TheHelpOpensInTheMiddleOfTheGamesScreenAndEscapeClosesIt) {
    QScreen* second = secondScreen();
    ASSERT_NE(second, nullptr);
    folder.writeFile(HelpFile, "<p><a name=\"topic1000\"></a>Help</p>");
    QImage icon(32, 32, QImage::Format_RGB32);
    icon.fill(Qt::green);
    ASSERT_TRUE(icon.save("quarbel.png"));
    openWindow();
    window->windowHandle()->setScreen(second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->screen() == second; }));
    HelpWindow realHelp;
    realHelp.setGame(window.get());

    realHelp.showTopic(HelpTopic);
    QWidget* help = realHelp.window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
    EXPECT_EQ(help->screen(), second);
    EXPECT_TRUE(centredOn(help->frameGeometry(), second->geometry()))
        << help->x() << "," << help->y();
    // The game's icon, at every size from 16 to 256 pixels.
    const QList<QSize> sizes = help->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(256, 256)));

    help->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(help));
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

TEST_F(DesktopWindow, ClosingTheWindowEndsTheProgramWhileTheHelpIsOpen) {
    folder.writeFile(HelpFile, "<p><a name=\"topic1000\"></a>Help</p>");
    openWindow();
    HelpWindow realHelp;
    realHelp.showTopic(HelpTopic);
    bool helpWasOpen = false;
    QTimer::singleShot(50, [&] {
        for (const QWidget* shown : QApplication::topLevelWidgets())
            helpWasOpen |= shown->isVisible() && qobject_cast<const QTextBrowser*>(shown);
        window->close();
    });
    // Should the program go on running, this ends the test instead of hanging it.
    QTimer::singleShot(5000, [] { QApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(helpWasOpen);
}

}  // namespace
}  // namespace quarbel::testing
