// Where the game's dialogs and message boxes appear: in the middle of the screen the game is
// on, with the window manager's frame and title bar counted as part of the dialog.
#pragma once

#include <QMargins>
#include <QRect>

#include "ui/platform/titlebar.h"

class QDialog;
class QWidget;

namespace quarbel {

// The client area of a window whose frame (the client grown by `frame`) stands centred on
// `screen`; halves are dropped, as the old platform dropped them.
QRect centredClientArea(const QRect& screen, const QSize& client, const QMargins& frame);

// The frame the window manager puts around `window`: nothing before it has framed it.
QMargins frameMarginsOf(const QWidget& window);

// Shows the dialog modally, centred with its frame on the screen of `game` (the primary screen
// when there is no game window yet), at the size it takes when shown, with the title bar
// given. A dialog that is not framed yet is assumed to get the same frame as the game window.
// A desktop that minimises or maximises it gets it back at once as it was: hidden, it would
// leave the player nothing to answer, and on some desktops nothing on the screen at all.
int execCentred(QDialog& dialog, const QWidget* game, TitleBar titleBar = TitleBar::ClosableDialog);

}  // namespace quarbel
