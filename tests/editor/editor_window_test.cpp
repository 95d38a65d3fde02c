// The editor's window as an author uses it: open, paint with the mouse, undo, save, the
// questions before losing changes, solving while the window keeps answering, and play.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPixmap>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "editor/boardview.h"
#include "editor/editorwindow.h"
#include "editor/packfile.h"
#include "support/packbuilder.h"

namespace quarbel::editor {
namespace {

using Answer = EditorWindow::Prompts::Answer;

// Six crates in a wide hall and a target behind a door that no crate can ever be pushed onto:
// the solver searches for seconds.
const std::vector<std::string> LongSearch = {
    "###############", "#             #", "# $ $ $ $ $ $ #", "#             #", "# .  . . . .  #",
    "#             #", "#      @      #", "#### ## #######", "####*   .######", "###############",
};

class EditorWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Settings of this test alone: the test programs run side by side.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(folder.path().string()));
        window = std::make_unique<EditorWindow>(QStringList{QUARBEL_GAME_DIR});
        window->prompts.askToSave = [this](const QString& label) {
            questions << label;
            return answer;
        };
        window->prompts.confirmFailingLevels = [this](const QString& failing) {
            warnings << failing;
            return saveFailing;
        };
        window->prompts.chooseFileToOpen = [this] { return nextFile; };
        window->prompts.chooseFileToSave = [this](const QString&, bool) { return nextFile; };
        window->prompts.showError = [this](const QString& message) { errors << message; };
        window->prompts.showNotes = [this](const QString& message) { notes << message; };
        window->prompts.askChangedFile = [this](const QString& label) {
            changedFiles << label;
            return changedAnswer;
        };
        window->resize(1280, 800);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    std::string path(const std::string& name) const { return (folder.path() / name).string(); }

    void writePack(const std::string& name, const std::vector<Level>& levels) {
        saveFile(path(name), {"Test pack", levels});
    }

    QAction* action(const char* name) const { return window->findChild<QAction*>(name); }

    // The middle of a cell of the board, in the board's own coordinates.
    QPoint cellPoint(int x, int y) const {
        BoardView* board = window->boardView();
        const int side = board->boardSide();
        const QPoint corner((board->width() - side) / 2, (board->height() - side) / 2);
        return corner + QPoint((2 * x - 1) * side / 30, (2 * y - 1) * side / 30);
    }

    void mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, int x, int y) {
        BoardView* board = window->boardView();
        const QPointF at = cellPoint(x, y);
        QMouseEvent event(type, at, board->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(board, &event);
    }

    void dragAcross(Qt::MouseButton button, std::initializer_list<Cell> cells) {
        const Cell first = *cells.begin();
        mouse(QEvent::MouseButtonPress, button, button, first.x, first.y);
        for (Cell cell : cells)
            mouse(QEvent::MouseMove, Qt::NoButton, button, cell.x, cell.y);
        const Cell last = *(cells.end() - 1);
        mouse(QEvent::MouseButtonRelease, button, Qt::NoButton, last.x, last.y);
    }

    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : window.get(), key, modifiers);
    }

    std::uint8_t cell(int x, int y) const {
        return window->document().level(window->currentLevel()).board.at(x, y);
    }

    QString statusText() const { return window->findChild<QLabel*>("checks")->text(); }

    testing::ScratchFolder folder;
    std::unique_ptr<EditorWindow> window;
    QStringList questions, warnings, errors, notes, changedFiles;
    EditorWindow::Prompts::Changed changedAnswer = EditorWindow::Prompts::Changed::Cancel;
    Answer answer = Answer::Cancel;
    bool saveFailing = false;
    QString nextFile;
};

TEST_F(EditorWindowTest, OpensAPackAndShowsItsLevels) {
    writePack("two.dat", {testing::levelFromRows({"#####", "#@$.#", "#####"}, "Ann"),
                          testing::levelFromRows({"#@*#"})});
    ASSERT_TRUE(window->openFile(QString::fromStdString(path("two.dat"))));
    EXPECT_EQ(window->findChild<QListView*>("levels")->model()->rowCount(), 2);
    EXPECT_EQ(window->findChild<QLineEdit*>("title")->text(), "Test pack");
    EXPECT_EQ(window->findChild<QLineEdit*>("author")->text(), "Ann");
    EXPECT_TRUE(window->windowTitle().startsWith("two.dat[*]"));
    EXPECT_FALSE(window->isWindowModified());
    const QString entry =
        window->findChild<QListView*>("levels")->model()->index(0, 0).data().toString();
    EXPECT_EQ(entry, "Level 1 \u00b7 5 \u00d7 3\n\u2713 checks pass");

    EXPECT_FALSE(window->openFile(QString::fromStdString(path("missing.dat"))));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].endsWith("missing.dat: no such file or folder"))
        << errors[0].toStdString();
    EXPECT_EQ(window->document().levelCount(), 2) << "the open pack stays";
}

TEST_F(EditorWindowTest, PaintsWithTheMouseUndoesAndSaves) {
    writePack("paint.dat", {testing::levelFromRows({"#####", "#@$.#", "#####"})});
    ASSERT_TRUE(window->openFile(QString::fromStdString(path("paint.dat"))));
    const Pack original = window->document().pack();

    action("toolCrate")->trigger();
    dragAcross(Qt::LeftButton, {{3, 6}, {5, 8}});  // the line between is painted, too
    EXPECT_EQ(cell(3, 6), CellCrate);
    EXPECT_EQ(cell(5, 8), CellCrate);
    int crates = 0;
    for (std::uint8_t c : window->document().level(0).board.cells)
        crates += c == CellCrate;
    EXPECT_EQ(crates, 1 + 5);
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_TRUE(statusText().contains("6 crates but 1 target")) << statusText().toStdString();

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->document().pack(), original) << "the whole drag is one undo step";
    EXPECT_FALSE(window->isWindowModified());
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(cell(4, 7), CellCrate);

    dragAcross(Qt::RightButton, {{3, 6}, {3, 7}});  // the right button clears to floor
    EXPECT_EQ(cell(3, 6), CellEmpty);
    key(Qt::Key_6);  // the keeper tool
    dragAcross(Qt::LeftButton, {{2, 2}});
    EXPECT_EQ(window->document().level(0).keeperX, 2);
    EXPECT_EQ(window->document().level(0).keeperY, 2);

    saveFailing = true;
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(warnings.size(), 1) << "the level has more crates than targets";
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(openFile(path("paint.dat")).pack, window->document().pack());
}

TEST_F(EditorWindowTest, SavingLevelsThatFailAChecksSaysWhichFirst) {
    writePack("checks.dat", {testing::levelFromRows({"#####", "#@$.#", "#####"})});
    ASSERT_TRUE(window->openFile(QString::fromStdString(path("checks.dat"))));
    const std::string before = folder.readFile("checks.dat");
    action("addLevel")->trigger();
    action("save")->trigger();
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains("Level 2: no keeper; no crates")) << warnings[0].toStdString();
    EXPECT_EQ(folder.readFile("checks.dat"), before) << "the author said no";
    EXPECT_TRUE(window->isWindowModified());

    nextFile = QString::fromStdString(path("no-such-folder/x.dat"));
    saveFailing = true;
    action("saveAs")->trigger();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("cannot write " + nextFile)) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].endsWith(": no such file or folder"));
    EXPECT_EQ(window->fileName().toStdString(), path("checks.dat"));
}

TEST_F(EditorWindowTest, ACollectionOpenedWithoutAllItHoldsIsSavedUnderANewName) {
    const std::string text = "; drawn by hand\n#####\n#@$.#\n#####\nSolution: R\n";
    folder.writeFile("coll.txt", text);
    ASSERT_TRUE(window->openFile(QString::fromStdString(path("coll.txt"))));
    ASSERT_EQ(notes.size(), 1);
    nextFile = QString::fromStdString(path("coll.dat"));
    action("save")->trigger();
    ASSERT_EQ(notes.size(), 2);
    EXPECT_TRUE(notes[1].contains("save under a new name")) << notes[1].toStdString();
    EXPECT_EQ(folder.readFile("coll.txt"), text);
    EXPECT_EQ(openFile(path("coll.dat")).pack.levels.size(), 1u);
    EXPECT_EQ(window->fileName(), nextFile);
    action("save")->trigger();  // the pack holds all there is: saved over without a word
    EXPECT_EQ(notes.size(), 2);
}

TEST_F(EditorWindowTest, AsksBeforeSavingOverAFileChangedSinceItWasOpened) {
    writePack("shared.dat", {testing::levelFromRows({"#####", "#@$.#", "#####"})});
    ASSERT_TRUE(window->openFile(QString::fromStdString(path("shared.dat"))));
    dragAcross(Qt::LeftButton, {{10, 10}});
    // Another editor saves its own change first.
    writePack("shared.dat", {testing::levelFromRows({"######", "#@$ .#", "######"})});
    const std::string theirs = folder.readFile("shared.dat");

    changedAnswer = EditorWindow::Prompts::Changed::Cancel;
    action("save")->trigger();
    EXPECT_EQ(changedFiles, QStringList({"shared.dat"}));
    EXPECT_EQ(folder.readFile("shared.dat"), theirs);

    changedAnswer = EditorWindow::Prompts::Changed::SaveElsewhere;
    nextFile = QString::fromStdString(path("mine.dat"));
    action("save")->trigger();
    EXPECT_EQ(folder.readFile("shared.dat"), theirs);
    EXPECT_EQ(openFile(path("mine.dat")).pack.levels[0].board.at(10, 10), CellWall);

    ASSERT_TRUE(window->openFile(QString::fromStdString(path("shared.dat"))));
    writePack("shared.dat", {testing::levelFromRows({"#####", "#@$.#", "#####"})});
    dragAcross(Qt::LeftButton, {{10, 10}});
    changedAnswer = EditorWindow::Prompts::Changed::Overwrite;
    action("save")->trigger();
    EXPECT_EQ(openFile(path("shared.dat")).pack.levels[0].board.at(10, 10), CellWall);
    EXPECT_EQ(changedFiles.size(), 3);
    dragAcross(Qt::LeftButton, {{11, 10}});
    action("save")->trigger();  // its own save is no change by someone else
    EXPECT_EQ(changedFiles.size(), 3);
}

TEST_F(EditorWindowTest, AsksBeforeLosingChanges) {
    writePack("ask.dat", {testing::levelFromRows({"#####", "#@$.#", "#####"})});
    ASSERT_TRUE(window->openFile(QString::fromStdString(path("ask.dat"))));
    action("toolWall")->trigger();
    dragAcross(Qt::LeftButton, {{10, 10}});

    answer = Answer::Cancel;
    action("new")->trigger();
    window->close();
    EXPECT_EQ(questions, QStringList({"ask.dat", "ask.dat"}));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(cell(10, 10), CellWall) << "cancel keeps the changes";

    answer = Answer::Save;
    action("new")->trigger();
    EXPECT_EQ(openFile(path("ask.dat")).pack.levels[0].board.at(10, 10), CellWall);
    EXPECT_EQ(window->document().pack(), Pack({"", {Level{}}}));
    EXPECT_TRUE(window->windowTitle().startsWith("Untitled[*]"));

    dragAcross(Qt::LeftButton, {{1, 1}});
    answer = Answer::Discard;
    nextFile = QString::fromStdString(path("ask.dat"));
    action("open")->trigger();
    EXPECT_EQ(questions.size(), 4);
    EXPECT_EQ(window->document().level(0).board.at(10, 10), CellWall);
    EXPECT_FALSE(window->isWindowModified());
    window->close();
    EXPECT_EQ(questions.size(), 4) << "nothing to save, nothing asked";
    EXPECT_FALSE(window->isVisible());
}

TEST_F(EditorWindowTest, TypedTextsKeepToWhatThePackCanStore) {
    auto* title = window->findChild<QLineEdit*>("title");
    title->setFocus();
    QTest::keyClicks(title, QString(35, 'x'));
    EXPECT_EQ(window->document().pack().title, std::string(29, 'x'));
    auto* author = window->findChild<QLineEdit*>("author");
    author->setFocus();
    QTest::keyClicks(author, "Anna Karenina");
    EXPECT_EQ(window->document().level(0).author, "Anna Karenin");
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->document().level(0).author, "") << "the typing undoes as one step";
    EXPECT_EQ(author->text(), "");
}

TEST_F(EditorWindowTest, MovingLevelsInTheListIsAnEditThatUndoes) {
    writePack("order.dat",
              {testing::levelFromRows({"#@$.#"}, "one"), testing::levelFromRows({"#@$.#"}, "two"),
               testing::levelFromRows({"#@$.#"}, "three")});
    ASSERT_TRUE(window->openFile(QString::fromStdString(path("order.dat"))));
    QAbstractItemModel* model = window->findChild<QListView*>("levels")->model();
    // What a drop between the entries asks of the list: level 1 before the fourth row.
    ASSERT_TRUE(model->moveRow(QModelIndex(), 0, QModelIndex(), 3));
    auto authors = [this] {
        std::vector<std::string> names;
        for (const Level& level : window->document().pack().levels)
            names.push_back(level.author);
        return names;
    };
    EXPECT_EQ(authors(), (std::vector<std::string>{"two", "three", "one"}));
    EXPECT_EQ(window->currentLevel(), 2);
    EXPECT_TRUE(model->index(2, 0).data().toString().startsWith("Level 3"));
    key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(authors(), (std::vector<std::string>{"two", "one", "three"}));
    action("undo")->trigger();
    action("undo")->trigger();
    EXPECT_EQ(authors(), (std::vector<std::string>{"one", "two", "three"}));
    action("deleteLevel")->trigger();
    EXPECT_EQ(model->rowCount(), 2);
    action("undo")->trigger();
    EXPECT_EQ(authors(), (std::vector<std::string>{"one", "two", "three"}));
}

TEST_F(EditorWindowTest, SolvingKeepsTheWindowAnsweringAndCanBeCancelled) {
    writePack("solve.dat", {testing::levelFromRows(LongSearch),
                            testing::levelFromRows({"######", "#@ $.#", "######"})});
    ASSERT_TRUE(window->openFile(QString::fromStdString(path("solve.dat"))));
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);

    action("solve")->trigger();
    ASSERT_TRUE(window->solveRunner().running());
    auto* progress = window->findChild<QLabel*>("solveProgress");
    const QString first = progress->text();
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress->text() != first && ticks >= 20; }, 20000))
        << "the timer ticked " << ticks << " times; " << progress->text().toStdString();
    EXPECT_TRUE(progress->text().startsWith("Solving level 1: ")) << progress->text().toStdString();
    EXPECT_TRUE(progress->text().endsWith(" positions searched"));
    EXPECT_TRUE(window->solveRunner().running()) << "this search takes longer";

    key(Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->solveRunner().running(); }, 5000));
    EXPECT_EQ(window->solveResults().find(window->document().level(0)), nullptr);
    EXPECT_TRUE(window->statusBar()->currentMessage().contains("solving cancelled"));
    EXPECT_FALSE(progress->isVisible());

    auto* levels = window->findChild<QListView*>("levels");
    levels->setCurrentIndex(levels->model()->index(1, 0));
    action("solve")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->solveRunner().running(); }, 10000));
    const QString entry = levels->model()->index(1, 0).data().toString();
    EXPECT_TRUE(entry.endsWith("\n\u2713 1 push, 2 moves")) << entry.toStdString();
    EXPECT_TRUE(statusText().endsWith("passes the checks \u00b7 solvable in 1 push and 2 moves"))
        << statusText().toStdString();
}

TEST_F(EditorWindowTest, PlaysTheLevelAndWatchesTheSolution) {
    writePack("play.dat", {testing::levelFromRows({"#######", "#@ $ .#", "#######"})});
    ASSERT_TRUE(window->openFile(QString::fromStdString(path("play.dat"))));
    const Level level = window->document().level(0);
    key(Qt::Key_F5);
    ASSERT_TRUE(window->playing());
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(window->playState()->historyTop, 2);
    EXPECT_EQ(window->playState()->board.at(5, 2), CellCrate);
    EXPECT_TRUE(statusText().startsWith("Playing level 1: 2 steps")) << statusText().toStdString();
    key(Qt::Key_Z, Qt::ControlModifier);  // editing waits until play ends
    key(Qt::Key_Escape);
    EXPECT_FALSE(window->playing());
    EXPECT_EQ(window->document().level(0), level);

    action("solve")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->solveRunner().running(); }, 10000));
    key(Qt::Key_F7);
    ASSERT_TRUE(window->playing());
    for (int k = 0; k < 10; ++k)
        key(Qt::Key_Space);
    EXPECT_EQ(window->playState()->historyTop, 3) << "a walk and two pushes";
    EXPECT_TRUE(statusText().contains("solved!"));
    key(Qt::Key_Escape);
    EXPECT_EQ(window->document().level(0), level);
}

TEST_F(EditorWindowTest, KeepsItsSizeAndTheListWidthBetweenRuns) {
    window->resize(1100, 700);
    auto* splitter = window->findChild<QSplitter*>();
    splitter->setSizes({420, 600});
    const QList<int> sizes = splitter->sizes();
    window->close();
    EditorWindow next(QStringList{QUARBEL_GAME_DIR});
    next.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&next));
    EXPECT_EQ(next.size(), QSize(1100, 700));
    EXPECT_EQ(next.findChild<QSplitter*>()->sizes(), sizes);
}

TEST_F(EditorWindowTest, EditsWithoutTheBoardsPictures) {
    EditorWindow bare(QStringList{QString::fromStdString(folder.path().string())});
    bare.resize(800, 600);
    bare.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bare));
    EXPECT_TRUE(bare.findChild<QListView*>("levels")
                    ->model()
                    ->index(0, 0)
                    .data(Qt::DecorationRole)
                    .value<QPixmap>()
                    .isNull());
    const QImage shown = bare.boardView()->grab().toImage();
    EXPECT_FALSE(shown.isNull());
    bare.findChild<QAction*>("toolKeeper")->trigger();
    bare.findChild<QAction*>("addLevel")->trigger();
    EXPECT_EQ(bare.document().levelCount(), 2);
}

}  // namespace
}  // namespace quarbel::editor
