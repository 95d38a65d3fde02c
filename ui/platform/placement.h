// Where the game's dialogs and message boxes appear: in the middle of the screen the game is
// on, with the window manager's frame and title bar counted as part of the dialog.
#pragma once

#include <QMargins>
#include <QRect>

class QDialog;
class QWidget;

namespace quarbel {

// The client area of a window whose frame (the client grown by `frame`) stands centred on
// `screen`; halves are dropped, as the old platform dropped them.
QRect centredClientArea(const QRect& screen, const QSize& client, const QMargins& frame);

// The frame the window manager puts around `window`: nothing before it has framed it.
QMargins frameMarginsOf(const QWidget& window);

// Shows the dialog modally, centred with its frame on the screen of `game` (the primary screen
// when there is no game window yet), at the size it takes when shown. A dialog that is not
// framed yet is assumed to get the same frame as the game window.
int execCentred(QDialog& dialog, const QWidget* game);

}  // namespace quarbel
