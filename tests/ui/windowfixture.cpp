#include "windowfixture.h"

#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "chooser/dateien.h"
#include "movies/moviesafe.h"
#include "ui/coolbtn/coolbtn.h"
#include "ui/render/tilesheet.h"

namespace quarbel::testing {

namespace {

void savePicture(const char* name, int width, int height, QColor colour) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    picture.save(name, "BMP");
}

}  // namespace

void writePlainPictures() {
    savePicture("titel.bmp", 640, 400, QColor(40, 40, 120));
    savePicture("titel2.bmp", 100, 555, QColor(120, 40, 40));
    savePicture("backgr8.bmp", 111, 111, QColor(30, 60, 30));
    // A sheet whose tiles cover their cells with flat colours: black masks, coloured images.
    QImage sheet(SheetWidth, SheetHeight, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int row = 0; row < SheetRows; row += 2) {
        for (int column = 0; column < SheetColumns; ++column) {
            const SheetTile tile{column, row};
            painter.fillRect(tile.left(), tile.imageTop(), TileSide, TileSide,
                             QColor(200, 40 * column, 30 * row));
            painter.fillRect(tile.left(), tile.maskTop(), TileSide, TileSide, Qt::black);
        }
    }
    painter.end();
    sheet.save("playal8n.bmp", "BMP");
}

WindowTest::WindowTest() {
    writePlainPictures();
    std::vector<Level> levels;
    levels.push_back(levelFromRows({"#######", "#@ $ .#", "#######"}, "Ann"));
    levels.push_back(levelFromRows({"######", "#@$ .#", "######"}));
    levels.push_back(levelFromRows({"######", "#@ $.#", "#    #", "######"}));
    folder.writePack("first.dat", "First Pack", levels);
}

WindowTest::~WindowTest() {
    for (QTimer* watcher : watchers_)
        delete watcher;
    window.reset();
}

void WindowTest::openWindow() {
    window = std::make_unique<Tpakkor>(platform);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

void WindowTest::key(int qtKey, Qt::KeyboardModifiers modifiers) {
    // A closed dialog hands the activation back through the event loop. The native window
    // counts as active while the hidden dialog still holds the focus, so the wait is for
    // the widget's own activation.
    if (!window->isActiveWindow()) {
        EXPECT_TRUE(QTest::qWaitFor([this] { return window->isActiveWindow(); }));
    }
    QWidget* focused = QApplication::focusWidget();
    QTest::keyClick(focused ? focused : window.get(), static_cast<Qt::Key>(qtKey), modifiers);
}

void WindowTest::whenModalShows(std::function<bool(QWidget*)> answer) {
    auto* watcher = new QTimer;
    watchers_.push_back(watcher);
    watcher->setInterval(5);
    QObject::connect(watcher, &QTimer::timeout, [this, watcher, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        const std::pair place(modal->frameGeometry(), modal->screen()->geometry());
        if (answer(modal)) {
            dialogPlaces.push_back(place);
            watcher->stop();
            ++dialogsAnswered;
        }
    });
    watcher->start();
}

void WindowTest::chooseWhenAsked(int row) {
    whenModalShows([row](QWidget* modal) {
        auto* chooser = qobject_cast<TLevelpac*>(modal);
        if (!chooser) return false;
        auto* list = chooser->findChild<QListWidget*>();
        if (row < 0) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        } else {
            list->setCurrentRow(row);
            auto* ok = chooser->findChild<QPushButton*>("weiter");
            QTest::mouseClick(ok, Qt::LeftButton);
        }
        return true;
    });
}

void WindowTest::answerSolvedDialog(bool yes) {
    whenModalShows([this, yes](QWidget* modal) {
        auto* dialog = qobject_cast<Tmoviesafe*>(modal);
        if (!dialog) return false;
        const auto line = [dialog](const char* name) {
            return dialog->findChild<QLabel*>(name)->text().toStdString();
        };
        solvedDialogs.push_back({line("geschafft"), line("geschafft2")});
        QTest::mouseClick(dialog->findChild<QPushButton*>(yes ? "UJa" : "UNein"), Qt::LeftButton);
        return true;
    });
}

void WindowTest::click(Control control) {
    QWidget* target = window->widget(control);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
}

void WindowTest::wait(int milliseconds) {
    QTest::qWait(milliseconds);
}

void WindowTest::enterFirstPack() {
    chooseWhenAsked(0);
    key(Qt::Key_Space);
}

}  // namespace quarbel::testing
