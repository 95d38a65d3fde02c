// The real window in a game folder copied from the old computer, whose file system ignored
// letter case: the pack, its movie folder and movie, and the pictures all in other letters
// than the game asks for.
#include <sys/stat.h>
#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <cctype>
#include <filesystem>
#include <string_view>

#include "core/gameerror.h"
#include "ui/platform/help.h"
#include "windowfixture.h"

namespace quarbel::testing {
namespace {

namespace fs = std::filesystem;

// Level 1 of the fixture's pack (row 2: keeper in column 2, crate in 4, target in 6): a stored
// solution of five walks there and back, and a short one.
constexpr const char* StoredDigits = "3434343434377";
constexpr const char* ShortDigits = "377";
constexpr int Row = 2;

std::string capitals(std::string name) {
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

class OldFolderWindow : public WindowTest {
  protected:
    OldFolderWindow() {
        for (const char* picture : {"titel.bmp", "titel2.bmp", "backgr8.bmp", "playal8n.bmp"})
            fs::rename(picture, capitals(picture));
        fs::rename("first.dat", "CLASSICS.DAT");
        fs::create_directory("classics");
        folder.writeFile("classics/zorp0001.mov", StoredDigits);
        QImage play(140, 34, QImage::Format_RGB32);
        play.fill(Qt::green);
        play.save("MPLAY.BMP", "BMP");
    }

    void play(std::string_view keys) {
        for (char letter : keys)
            key(letter == 'R' ? Qt::Key_Right : Qt::Key_Left);
    }
    bool solvedOnBoard() { return state().board.at(6, Row) == CellCrateOnTarget; }
    void replayWhole() {
        click(Control::movie);
        click(Control::load);
        EXPECT_TRUE(window->widget(Control::mforward)->isEnabled());
        EXPECT_EQ(state().keeperX, 2);
        click(Control::m10forward);
        click(Control::m10forward);
        EXPECT_TRUE(solvedOnBoard());
        click(Control::game);
    }
};

TEST_F(OldFolderWindow, PlaysReplaysAndSavesInPlace) {
    openWindow();
    EXPECT_FALSE(static_cast<QPushButton*>(window->widget(Control::mplay))->icon().isNull());
    enterFirstPack();
    EXPECT_EQ(window->windowTitle(), "QUARBEL 98 - First Pack");
    EXPECT_EQ(state().keeperX, 2);

    // The stored movie counts as the old solution, and No keeps it.
    answerSolvedDialog(false);
    play("RRR");
    ASSERT_EQ(solvedDialogs.size(), 1u);
    EXPECT_EQ(solvedDialogs[0].oldSolution, "The old solution contained 13 Steps!");

    replayWhole();
    EXPECT_EQ(caption(Control::mstepsview), "13");
    EXPECT_EQ(solvedDialogs.size(), 1u);

    // Yes replaces that very file: no second folder, no second movie, nothing left beside it.
    click(Control::start);
    answerSolvedDialog(true);
    play("RRR");
    ASSERT_EQ(solvedDialogs.size(), 2u);
    EXPECT_EQ(folder.readFile("classics/zorp0001.mov"), ShortDigits);
    EXPECT_EQ(folder.entries("classics"), std::vector<std::string>{"zorp0001.mov"});
    EXPECT_FALSE(fs::exists("CLASSICS"));

    replayWhole();
    EXPECT_EQ(caption(Control::mstepsview), "3");
    EXPECT_TRUE(errors.texts.empty());
}

TEST_F(OldFolderWindow, AMovieThatIsAFifoIsNoMovieAndNothingWaits) {
    fs::remove("classics/zorp0001.mov");
    ASSERT_EQ(::mkfifo("classics/ZORP0001.MOV", 0666), 0);
    openWindow();
    enterFirstPack();
    click(Control::movie);
    click(Control::load);
    EXPECT_FALSE(window->widget(Control::mforward)->isEnabled());
    EXPECT_EQ(state().keeperX, 2);
    click(Control::game);

    // The save cannot replace what is no movie, and says so.
    answerSolvedDialog(true);
    play("RRR");
    ASSERT_EQ(solvedDialogs.size(), 1u);
    EXPECT_EQ(solvedDialogs[0].oldSolution, "");
    EXPECT_EQ(errors.texts, std::vector<std::string>{"Dateizugriff verweigert"});
    EXPECT_EQ(folder.entries("classics"), std::vector<std::string>{"ZORP0001.MOV"});
}

TEST_F(OldFolderWindow, TheHelpIsFoundInAnyLetterCaseAndAFifoIsRefused) {
    folder.writeFile("QUARBEL.HLP", "<p><a name=\"topic1000\"></a>Contents</p>");
    HelpWindow help;
    help.showTopic(HelpTopic);
    const auto browsers = [] {
        int shown = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            shown += qobject_cast<QTextBrowser*>(widget) && widget->isVisible();
        return shown;
    };
    EXPECT_EQ(browsers(), 1);

    fs::remove("QUARBEL.HLP");
    ASSERT_EQ(::mkfifo("quarbel.hlp", 0666), 0);
    try {
        help.showTopic(HelpTopic);
        ADD_FAILURE() << "a FIFO was taken for the help";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "Kann Datei quarbel.hlp nicht öffnen.");
    }
}

}  // namespace
}  // namespace quarbel::testing
