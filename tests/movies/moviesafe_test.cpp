// The solved dialog: its layout, its texts, its place on the screen and its answers.
#include <functional>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include "core/play.h"
#include "movieflow.h"
#include "movies/moviesafe.h"

namespace quarbel::testing {
namespace {

QLabel* label(const Tmoviesafe& dialog, const char* name) {
    return dialog.findChild<QLabel*>(name);
}

QPushButton* button(const Tmoviesafe& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(name);
}

struct Shown {
    QString geschafft, geschafft2, solutionsave1, solutionsave2, yes, no;
    QPoint place;
    int answerBefore = -1;
    bool modal = false;
};

// Shows the dialog; while it runs, notes what it shows and then acts on it.
Shown showAndAct(Tmoviesafe& dialog, const QString& level, const QString& steps,
                 const QString& oldSteps, const std::function<void(Tmoviesafe&)>& act) {
    Shown shown;
    QTimer::singleShot(0, &dialog, [&] {
        shown = {label(dialog, "geschafft")->text(),
                 label(dialog, "geschafft2")->text(),
                 label(dialog, "solutionsave1")->text(),
                 label(dialog, "solutionsave2")->text(),
                 button(dialog, "UJa")->text(),
                 button(dialog, "UNein")->text(),
                 dialog.pos(),
                 dialog.saveAnswer,
                 QApplication::activeModalWidget() == &dialog};
        act(dialog);
    });
    dialog.Dialog(level, steps, oldSteps);
    return shown;
}

void clickYes(Tmoviesafe& dialog) {
    button(dialog, "UJa")->click();
}
void clickNo(Tmoviesafe& dialog) {
    button(dialog, "UNein")->click();
}
void closeFrame(Tmoviesafe& dialog) {
    dialog.close();
}
void pressEscape(Tmoviesafe& dialog) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &escape);
}

TEST(TmoviesafeLayout, IsAFixedStayOnTopDialogTitledSuper) {
    Tmoviesafe dialog;
    EXPECT_EQ(dialog.windowTitle(), "Super!");
    EXPECT_EQ(dialog.size(), QSize(435, 188));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(dialog.font().pixelSize(), 13);
    ASSERT_FALSE(dialog.font().families().isEmpty());
    EXPECT_EQ(dialog.font().families().front(), "System");
    EXPECT_EQ(dialog.saveAnswer, 0);
}

TEST(TmoviesafeLayout, PlacesItsControls) {
    Tmoviesafe dialog;
    EXPECT_EQ(label(dialog, "geschafft")->geometry(), QRect(0, 10, 433, 22));
    EXPECT_EQ(label(dialog, "geschafft2")->geometry(), QRect(0, 47, 433, 22));
    EXPECT_EQ(label(dialog, "solutionsave1")->geometry(), QRect(0, 88, 433, 22));
    EXPECT_EQ(label(dialog, "solutionsave2")->geometry(), QRect(0, 111, 433, 22));
    EXPECT_EQ(button(dialog, "UJa")->geometry(), QRect(6, 146, 94, 34));
    EXPECT_EQ(button(dialog, "UNein")->geometry(), QRect(337, 146, 85, 34));
    for (const char* name : {"geschafft", "geschafft2", "solutionsave1", "solutionsave2"}) {
        EXPECT_EQ(label(dialog, name)->alignment(), Qt::AlignCenter) << name;
    }
}

TEST(TmoviesafeLayout, YesComesBeforeNoInTabOrder) {
    Tmoviesafe dialog;
    QWidget* widget = button(dialog, "UJa");
    while (widget != button(dialog, "UNein") && widget != &dialog) {
        EXPECT_NE(widget, nullptr);
        widget = widget->nextInFocusChain();
    }
    EXPECT_EQ(widget, button(dialog, "UNein"));
}

TEST(TmoviesafeDialog, ShowsTheNewCountAndNoOldLineWithoutAStoredMovie) {
    Tmoviesafe dialog;
    const Shown shown = showAndAct(dialog, "7", "57", "0", clickNo);
    EXPECT_EQ(shown.geschafft, "Level 7 was solved in 57 Steps!");
    EXPECT_EQ(shown.geschafft2, "");
    EXPECT_EQ(shown.solutionsave1, "");
    EXPECT_EQ(shown.solutionsave2, "Do you want to save the new movie?");
    EXPECT_EQ(shown.yes, "Yes");
    EXPECT_EQ(shown.no, "No");
    EXPECT_TRUE(shown.modal);
}

TEST(TmoviesafeDialog, ShowsTheOldCount) {
    Tmoviesafe dialog;
    const Shown shown = showAndAct(dialog, "12", "60", "57", clickNo);
    EXPECT_EQ(shown.geschafft, "Level 12 was solved in 60 Steps!");
    EXPECT_EQ(shown.geschafft2, "The old solution contained 57 Steps!");
    showAndAct(dialog, "12", "60", "0", clickNo);
    EXPECT_EQ(label(dialog, "geschafft2")->text(), "");
}

TEST(TmoviesafeDialog, CentresItselfAndItsTwoResultLines) {
    Tmoviesafe dialog;
    const Shown shown = showAndAct(dialog, "7", "57", "0", clickNo);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize outer = dialog.frameGeometry().size();
    EXPECT_EQ(shown.place.x(), screen.x() + (screen.width() - outer.width()) / 2);
    EXPECT_EQ(shown.place.y(), screen.y() + (screen.height() - outer.height()) / 2);
    EXPECT_EQ(label(dialog, "geschafft")->x(), 1);
    EXPECT_EQ(label(dialog, "geschafft2")->x(), 1);
    EXPECT_EQ(label(dialog, "solutionsave2")->x(), 0);
}

TEST(TmoviesafeDialog, YesAndNoSetTheAnswerAndClose) {
    Tmoviesafe dialog;
    showAndAct(dialog, "7", "57", "0", clickYes);
    EXPECT_EQ(dialog.saveAnswer, 1);
    EXPECT_FALSE(dialog.isVisible());
    showAndAct(dialog, "7", "57", "57", clickNo);
    EXPECT_EQ(dialog.saveAnswer, 0);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(TmoviesafeDialog, KeepsTheLastAnswerUntilTheNextOne) {
    Tmoviesafe dialog;
    showAndAct(dialog, "7", "57", "0", clickYes);
    const Shown shown = showAndAct(dialog, "7", "57", "57", clickYes);
    EXPECT_EQ(shown.answerBefore, 1);
}

TEST(TmoviesafeDialog, ClosingThroughTheFrameCountsAsNo) {
    Tmoviesafe dialog;
    showAndAct(dialog, "7", "57", "0", clickYes);
    showAndAct(dialog, "7", "57", "57", closeFrame);
    EXPECT_EQ(dialog.saveAnswer, 0);
    EXPECT_FALSE(dialog.isVisible());
    showAndAct(dialog, "7", "57", "0", clickYes);
    showAndAct(dialog, "7", "57", "57", pressEscape);
    EXPECT_EQ(dialog.saveAnswer, 0);
}

// A window whose solved dialog is the real one, answering through its buttons.
class DialogFrontend : public FakeFrontend {
  public:
    bool askSaveMovie(std::string_view level, std::string_view steps,
                      std::string_view oldSteps) override {
        shown.push_back(showAndAct(dialog, QString::fromUtf8(level), QString::fromUtf8(steps),
                                   QString::fromUtf8(oldSteps), clickYes));
        return dialog.saveAnswer == 1;
    }

    Tmoviesafe dialog;
    std::vector<Shown> shown;
};

TEST(TmoviesafeInPlay, SolvingAgainShowsTheStoredSolutionsLength) {
    ScratchFolder folder;
    GameState s;
    DialogFrontend ui;
    enterLevelSeven(folder, s, ui);
    pressKeys(s, ui, TheSolutionKeys, Sender::MainWindow);
    pressKeys(s, ui, "E", Sender::MainWindow);
    pressKeys(s, ui, TheSolutionKeys, Sender::MainWindow);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].geschafft, "Level 7 was solved in 14 Steps!");
    EXPECT_EQ(ui.shown[0].geschafft2, "");
    EXPECT_EQ(ui.shown[1].geschafft2, "The old solution contained 14 Steps!");
    EXPECT_EQ(folder.readFile(TheMovie), TheSolutionDigits);
}

}  // namespace
}  // namespace quarbel::testing
