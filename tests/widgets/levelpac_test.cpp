// The level-pack chooser: which files it lists and in what order, what a selection shows,
// what Ok hands back, and what it keeps from one showing to the next.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <functional>

#include "chooser/dateien.h"
#include "core/levelpack.h"
#include "qtprint.h"
#include "support/packbuilder.h"
#include "ui/platform/placement.h"
#include "ui/platform/shell.h"

namespace {

using quarbel::TLevelpac;
using quarbel::testing::ScratchFolder;

class RecordingShell : public quarbel::Shell {
  public:
    void openUrl(const std::string& address) override { opened.push_back(address); }
    std::vector<std::string> opened;
};

// The window's frame stands in the middle of its screen, halves dropped.
bool frameIsCentred(const QWidget& window) {
    const QRect screen = window.screen()->geometry();
    const QRect frame = window.frameGeometry();
    return frame.x() == (screen.width() - frame.width()) / 2 &&
           frame.y() == (screen.height() - frame.height()) / 2 && frame != window.geometry();
}

// A pack header as raw bytes: reserved byte, level count, title.
std::string header(unsigned char levelCount, const std::string& title) {
    return std::string(1, '\0') + static_cast<char>(levelCount) + title;
}

class Chooser : public ::testing::Test {
  protected:
    // Message boxes of the chooser are read and answered as soon as they show.
    Chooser() {
        messageWatcher.setInterval(5);
        QObject::connect(&messageWatcher, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages.push_back(box->text());
                EXPECT_TRUE(frameIsCentred(*box));
                box->accept();
            }
        });
        messageWatcher.start();
    }

    void writePack(const std::string& fileName, const std::string& title, int levelCount = 1) {
        folder.writePack(fileName, title, std::vector<quarbel::Level>(levelCount));
    }

    QListWidget* liste() { return dialog.findChild<QListWidget*>(QStringLiteral("Liste")); }
    QLabel* level() { return dialog.findChild<QLabel*>(QStringLiteral("Level")); }
    QPushButton* weiter() { return dialog.findChild<QPushButton*>(QStringLiteral("weiter")); }
    QPushButton* button1() { return dialog.findChild<QPushButton*>(QStringLiteral("Button1")); }

    QStringList titles() {
        QStringList shown;
        for (int row = 0; row < liste()->count(); ++row)
            shown << liste()->item(row)->text();
        return shown;
    }

    // Shows the dialog as the game does and takes the steps once it is the active window;
    // a dialog the steps leave open is then closed without a choice.
    std::optional<std::string> chooseWhile(const std::function<void()>& steps) {
        QTimer::singleShot(0, &dialog, [&] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            steps();
            if (dialog.isVisible()) dialog.done(QDialog::Rejected);
        });
        return dialog.choose();
    }

    void clickEntry(int row) {
        QTest::mouseClick(liste()->viewport(), Qt::LeftButton, {},
                          liste()->visualItemRect(liste()->item(row)).center());
    }
    void clickOk() { QTest::mouseClick(weiter(), Qt::LeftButton); }

    ScratchFolder folder;
    RecordingShell shell;
    TLevelpac dialog{shell};
    QTimer messageWatcher;
    QStringList messages;
};

TEST_F(Chooser, ListsTitlesByFileNameIgnoringCaseAndOkChoosesTheSelectedFile) {
    writePack("c.dat", "Easy", 3);
    writePack("a.dat", "Easy", 1);
    writePack("B.DAT", "Hard", 2);
    writePack("d.Dat", "Mixed", 4);
    for (const char* other : {"notes.txt", "x.data", "dat", "e.dat.bak"}) {
        folder.writeFile(other, header(1, "Other\r"));
    }

    const auto chosen = chooseWhile([&] {
        EXPECT_EQ(titles(), QStringList({"Easy", "Hard", "Easy", "Mixed"}));
        clickEntry(2);
        EXPECT_EQ(level()->text(), "Number of levels: 3");
        clickOk();
    });
    EXPECT_EQ(chosen, "c.dat");
}

TEST_F(Chooser, KeepsALongFileNameWhole) {
    const std::string longName = "abcdefghijklmnopqrstuvwxyz1234.dat";
    ASSERT_EQ(longName.size(), 34u);
    writePack(longName, "Long", 2);

    const auto chosen = chooseWhile([&] {
        clickEntry(0);
        clickOk();
    });
    ASSERT_EQ(chosen, longName);
    EXPECT_EQ(quarbel::readPackHeader(*chosen).title, "Long");
}

TEST_F(Chooser, TellsOnceOfThePacksThatCouldNotBeRead) {
    writePack("b.dat", "First", 1);
    // A regular file that fails on reading, also for root.
    std::filesystem::create_symlink("/proc/self/mem", folder.path() / "e.dat");
    writePack("f.dat", "Last", 7);

    const auto chosen = chooseWhile([&] {
        EXPECT_EQ(titles(), QStringList({"First", "Last"}));
        clickEntry(1);
        EXPECT_EQ(level()->text(), "Number of levels: 7");
        QTest::qWait(50);
        clickOk();
    });
    EXPECT_EQ(chosen, "f.dat");
    // Told after the list was filled.
    EXPECT_EQ(messages, QStringList({"These files could not be read:\n\ne.dat: E/A-Fehler 5"}));
    EXPECT_FALSE(dialog.onlyUnreadablePacks());
    chooseWhile([] {});
    EXPECT_EQ(messages.size(), 1);  // the kept list is not read again
}

TEST_F(Chooser, CtrlClickOrCtrlSpaceNeverClearsTheSelection) {
    writePack("a.dat", "Alpha", 3);
    writePack("b.dat", "Beta", 5);
    const auto chosen = chooseWhile([&] {
        clickEntry(1);
        QTest::mouseClick(liste()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          liste()->visualItemRect(liste()->item(1)).center());
        EXPECT_TRUE(liste()->item(1)->isSelected());
        QTest::keyClick(liste(), Qt::Key_Space, Qt::ControlModifier);
        EXPECT_TRUE(liste()->item(1)->isSelected());
        EXPECT_EQ(liste()->selectedItems().size(), 1);
        // Ctrl+click on another entry still moves the selection there.
        QTest::mouseClick(liste()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          liste()->visualItemRect(liste()->item(0)).center());
        EXPECT_EQ(liste()->selectedItems(), QList<QListWidgetItem*>({liste()->item(0)}));
        EXPECT_EQ(level()->text(), "Number of levels: 3");
        clickOk();
    });
    EXPECT_EQ(chosen, "a.dat");
}

TEST_F(Chooser, TheListHoldsTheFocusAtEveryShowing) {
    writePack("a.dat", "Alpha", 3);
    writePack("b.dat", "Beta", 5);
    writePack("c.dat", "Gamma", 8);
    const auto first = chooseWhile([&] {
        EXPECT_EQ(QApplication::focusWidget(), liste());
        clickEntry(0);
        QTest::keyClick(liste(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), weiter());
        QTest::keyClick(weiter(), Qt::Key_Space);  // Ok by the keys
    });
    ASSERT_EQ(first, "a.dat");

    const auto second = chooseWhile([&] {
        EXPECT_EQ(QApplication::focusWidget(), liste());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        EXPECT_EQ(level()->text(), "Number of levels: 5");
        clickOk();
    });
    EXPECT_EQ(second, "b.dat");
}

TEST_F(Chooser, SecondShowingKeepsListAndSelectionAndResetsTheLevelCaption) {
    writePack("a.dat", "Alpha", 3);
    writePack("b.dat", "Beta", 5);
    const auto first = chooseWhile([&] {
        clickEntry(1);
        clickOk();
    });
    ASSERT_EQ(first, "b.dat");

    writePack("0.dat", "Newcomer", 9);  // not noticed while the program runs
    const auto second = chooseWhile([&] {
        EXPECT_EQ(titles(), QStringList({"Alpha", "Beta"}));
        EXPECT_EQ(liste()->currentRow(), 1);
        EXPECT_TRUE(liste()->item(1)->isSelected());
        EXPECT_TRUE(weiter()->isEnabled());
        EXPECT_EQ(level()->text(), "Number of levels:");
        clickEntry(1);  // clicking the selected entry again shows its count
        EXPECT_EQ(level()->text(), "Number of levels: 5");
        clickOk();
    });
    EXPECT_EQ(second, "b.dat");
}

TEST_F(Chooser, OkIsDisabledUntilASelection) {
    writePack("a.dat", "Alpha", 3);
    const auto chosen = chooseWhile([&] {
        EXPECT_FALSE(weiter()->isEnabled());
        EXPECT_EQ(level()->text(), "Number of levels:");
        clickOk();
        EXPECT_TRUE(dialog.isVisible());
        clickEntry(0);
        EXPECT_TRUE(weiter()->isEnabled());
    });
    EXPECT_EQ(chosen, std::nullopt);
}

TEST_F(Chooser, NoButtonAnswersEnterOrEscape) {
    writePack("a.dat", "Alpha", 3);
    const auto chosen = chooseWhile([&] {
        clickEntry(0);
        ASSERT_TRUE(weiter()->isEnabled());
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(liste(), key);
            QTest::keyClick(&dialog, key);
        }
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_EQ(chosen, std::nullopt);
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(Chooser, KeyboardSelectionShowsTheCountAndEnablesOk) {
    writePack("a.dat", "Alpha", 3);
    writePack("b.dat", "Beta", 5);
    writePack("c.dat", "Gamma", 8);
    const auto chosen = chooseWhile([&] {
        QTest::keyClick(liste(), Qt::Key_End);
        EXPECT_EQ(level()->text(), "Number of levels: 8");
        EXPECT_TRUE(weiter()->isEnabled());
        QTest::keyClick(liste(), Qt::Key_Up);
        EXPECT_EQ(level()->text(), "Number of levels: 5");
        clickOk();
    });
    EXPECT_EQ(chosen, "b.dat");
}

TEST_F(Chooser, PressBesideTheEntriesKeepsTheSelection) {
    writePack("a.dat", "Alpha", 3);
    writePack("b.dat", "Beta", 5);
    const auto chosen = chooseWhile([&] {
        clickEntry(0);
        const QPoint below(20, liste()->viewport()->height() - 5);
        ASSERT_FALSE(liste()->indexAt(below).isValid());
        QTest::mouseClick(liste()->viewport(), Qt::LeftButton, {}, below);
        EXPECT_TRUE(liste()->item(0)->isSelected());
        EXPECT_TRUE(dialog.isVisible());
        clickOk();
    });
    EXPECT_EQ(chosen, "a.dat");
}

TEST_F(Chooser, ClickIntoTheEmptyListClosesWithoutAChoiceAndTheNextShowingListsAgain) {
    folder.writeFile("readme.txt", "no packs here");
    const auto none = chooseWhile([&] {
        EXPECT_EQ(liste()->count(), 0);
        QTest::mouseClick(liste()->viewport(), Qt::RightButton);
        EXPECT_TRUE(dialog.isVisible());
        QTest::mouseClick(liste()->viewport(), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(none, std::nullopt);
    EXPECT_FALSE(weiter()->isEnabled());

    writePack("late.dat", "Late", 2);
    const auto chosen = chooseWhile([&] {
        EXPECT_EQ(titles(), QStringList({"Late"}));
        clickEntry(0);
        clickOk();
    });
    EXPECT_EQ(chosen, "late.dat");
}

// The page the build makes among the game's files, in the working folder, unless the build
// names another address.
TEST_F(Chooser, WebButtonOpensTheMonthPageAndLeavesTheDialogOpen) {
    writePack("a.dat", "Alpha", 3);
    chooseWhile([&] {
        QTest::mouseClick(button1(), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(titles(), QStringList({"Alpha"}));
    });
    ASSERT_EQ(shell.opened.size(), 1u);
    const std::string otherAddress = QUARBEL_MONTH_PAGE_URL;
    if (!otherAddress.empty()) {
        EXPECT_EQ(shell.opened[0], otherAddress);
        EXPECT_EQ(button1()->text().toStdString(), otherAddress);
        return;
    }
    const QUrl opened(QString::fromStdString(shell.opened[0]));
    EXPECT_EQ(opened.scheme(), "file");
    const std::filesystem::path page = opened.toLocalFile().toStdString();
    EXPECT_EQ(page, std::filesystem::current_path() / QUARBEL_MONTH_PAGE);
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(QUARBEL_GAME_DIR) /
                                                 page.filename()));

    // The caption says what the button opens, and all of it fits on the button.
    EXPECT_TRUE(button1()->text().contains("Level of the Month"));
    EXPECT_LE(button1()->fontMetrics().horizontalAdvance(button1()->text()),
              button1()->contentsRect().width() - 8);
}

TEST_F(Chooser, WebButtonFindsThePageOfAFolderWithSpacesInItsName) {
    std::filesystem::create_directory("game folder");
    std::filesystem::current_path("game folder");
    chooseWhile([&] { QTest::mouseClick(button1(), Qt::LeftButton); });
    ASSERT_EQ(shell.opened.size(), 1u);
    if (!std::string(QUARBEL_MONTH_PAGE_URL).empty()) return;
    EXPECT_EQ(shell.opened[0].find(' '), std::string::npos);
    EXPECT_EQ(QUrl(QString::fromStdString(shell.opened[0])).toLocalFile().toStdString(),
              (std::filesystem::current_path() / QUARBEL_MONTH_PAGE).string());
}

TEST_F(Chooser, WindowControlsTextsAndTabOrder) {
    chooseWhile([&] { EXPECT_TRUE(frameIsCentred(dialog)); });
    EXPECT_EQ(dialog.windowTitle(), "Levelpack?");
    EXPECT_EQ(dialog.minimumSize(), QSize(330, 395));
    EXPECT_EQ(dialog.maximumSize(), QSize(330, 395));
    // A title bar without buttons.
    EXPECT_TRUE(dialog.windowFlags() & Qt::CustomizeWindowHint);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowTitleHint);
    for (const Qt::WindowType button :
         {Qt::WindowCloseButtonHint, Qt::WindowSystemMenuHint, Qt::WindowMinimizeButtonHint,
          Qt::WindowMaximizeButtonHint, Qt::WindowContextHelpButtonHint}) {
        EXPECT_FALSE(dialog.windowFlags() & button) << button;
    }

    const struct {
        const char* name;
        QRect place;
        const char* text;
    } controls[] = {
        {"choose", {8, 6, 185, 22}, "Choose a levelpack:"},
        {"Level", {8, 191, 312, 22}, "Number of levels:"},
        {"weiter", {105, 224, 116, 43}, "Ok"},
        {"internet", {0, 294, 329, 27}, "Search for the 'Level of the Month'"},
        {"monthlevel", {0, 322, 329, 31}, "on the Internet"},
    };
    for (const auto& control : controls) {
        SCOPED_TRACE(control.name);
        const QWidget* widget = dialog.findChild<QWidget*>(control.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), control.place);
        const auto* label = qobject_cast<const QLabel*>(widget);
        const auto* button = qobject_cast<const QPushButton*>(widget);
        EXPECT_EQ(label ? label->text() : button->text(), control.text);
    }
    EXPECT_EQ(button1()->geometry(), QRect(32, 352, 270, 33));
    EXPECT_EQ(liste()->geometry(), QRect(8, 34, 312, 154));
    EXPECT_EQ(dialog.findChild<QWidget*>("Bevel1")->geometry(), QRect(8, 281, 312, 2));

    QList<QWidget*> tabOrder;
    for (QWidget* w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus) tabOrder << w;
    }
    EXPECT_EQ(tabOrder, QList<QWidget*>({liste(), weiter(), button1()}));
}

// The frame, title bar included, stands in the middle of the screen, not the client area.
TEST(DialogPlacement, CentresTheFrameWithItsTitleBar) {
    const QRect screen(0, 0, 800, 600);
    const QMargins frame(1, 20, 1, 1);  // left, top (the title bar), right, bottom
    const QRect client = quarbel::centredClientArea(screen, QSize(330, 395), frame);
    EXPECT_EQ(client, QRect(235, 112, 330, 395));
    const QRect outer = client.marginsAdded(frame);
    EXPECT_EQ(outer.left() - screen.left(), screen.right() - outer.right());
    EXPECT_EQ(outer.top() - screen.top(), screen.bottom() - outer.bottom());

    // On a second screen, with an odd free space whose half pixel is dropped.
    EXPECT_EQ(quarbel::centredClientArea(QRect(800, 0, 1024, 768), QSize(435, 188), frame),
              QRect(800 + 293 + 1, 279 + 20, 435, 188));
}

}  // namespace
