#include "placement.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace quarbel {

namespace {

// Centres the dialog at the moment it is shown: only then does a message box know its size,
// and the window manager has not placed it yet.
class CentreWhenShown : public QObject {
  public:
    explicit CentreWhenShown(const QWidget* game) : game_(game) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange) {
            auto* dialog = static_cast<QWidget*>(watched);
            if (dialog->isMinimized()) {
                QTimer::singleShot(0, dialog, [dialog] {
                    if (dialog->isMinimized()) dialog->showNormal();
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
        dialog.setGeometry(centredClientArea(screen->geometry(), dialog.size(), frame));
        return true;
    }

  private:
    const QWidget* game_;
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
    CentreWhenShown centring(game);
    dialog.installEventFilter(&centring);
    const int result = dialog.exec();
    dialog.removeEventFilter(&centring);
    return result;
}

}  // namespace quarbel
