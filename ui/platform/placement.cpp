#include "ui/platform/placement.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <utility>

namespace quarbel {

namespace {

// Centres the dialog at the moment it is shown: only then does a message box know its size,
// and the window manager has not placed it yet.
class CentreWhenShown : public QObject {
  public:
    explicit CentreWhenShown(const QWidget* game) : game_(game) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        // A dialog has one size: maximised by a title-bar button, it comes back as it was.
        if (event->type() == QEvent::WindowStateChange) {
            auto* dialog = static_cast<QWidget*>(watched);
            if (dialog->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
                QTimer::singleShot(0, dialog, [dialog, shown = shown_] {
                    if (dialog->windowState() == Qt::WindowNoState) return;
                    dialog->showNormal();
                    dialog->setGeometry(shown);
                });
            }
            return false;
        }
        if (event->type() != QEvent::Show) return false;
        // The dialog's own show handling first, for it settles the size.
        watched->event(event);
        auto& dialog = *static_cast<QWidget*>(watched);
        const QScreen* screen = game_ ? game_->screen() : QGuiApplication::primaryScreen();
        QMargins frame = frameMarginsOf(dialog);
        if (frame.isNull() && game_) frame = frameMarginsOf(*game_);
        shown_ = centredClientArea(screen->geometry(), dialog.size(), frame);
        dialog.setGeometry(shown_);
        return true;
    }

    // No Wayland desktop brings a minimised window back when asked, and some have no list of
    // windows to do it from; nor does Qt tell the dialog there that it was minimised, only its
    // window. So a minimised dialog is closed and shown anew.
    void closeWhenMinimised(QDialog& dialog) {
        dialog.winId();
        connect(dialog.windowHandle(), &QWindow::windowStateChanged, this,
                [this, &dialog](Qt::WindowState state) {
                    if (state != Qt::WindowMinimized) return;
                    QTimer::singleShot(0, this, [this, &dialog] { closeToShowAnew(dialog); });
                });
    }

    // Whether the dialog was closed because it was minimised, so that it is to be shown again.
    bool takeMinimised() { return std::exchange(minimised_, false); }

  private:
    void closeToShowAnew(QDialog& dialog) {
        if (!dialog.isVisible()) return;
        minimised_ = true;
        dialog.hide();
        dialog.setWindowState(Qt::WindowNoState);
        // Some desktops minimise the game window with its dialog.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isMinimized())
                window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        }
    }

    const QWidget* game_;
    bool minimised_ = false;
    QRect shown_;
};

}  // namespace

QRect centredClientArea(const QRect& screen, const QSize& client, const QMargins& frame) {
    const QSize outer = client.grownBy(frame);
    const QPoint frameTopLeft(screen.x() + (screen.width() - outer.width()) / 2,
                              screen.y() + (screen.height() - outer.height()) / 2);
    return QRect(frameTopLeft + QPoint(frame.left(), frame.top()), client);
}

QMargins frameMarginsOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

int execCentred(QDialog& dialog, const QWidget* game, TitleBar titleBar) {
    setTitleBar(dialog, titleBar);
    // A Wayland compositor may maximise any window, and one that keeps its size then breaks
    // the protocol and ends the program: there a dialog only keeps its smallest size, and
    // comes back to it at once.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        dialog.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    CentreWhenShown centring(game);
    dialog.installEventFilter(&centring);
    centring.closeWhenMinimised(dialog);
    int result = 0;
    do {
        result = dialog.exec();
    } while (centring.takeMinimised());
    dialog.removeEventFilter(&centring);
    return result;
}

}  // namespace quarbel
