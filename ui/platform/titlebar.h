// What a window's title bar offers. X11 window managers all read the Motif hints for it, but
// Qt sends a dialog without buttons no decorations at all, and no window may say it can be
// maximised without showing a maximise button; so the hints are written here as the game
// means them. Other platforms go by the window's Qt flags.
#pragma once

class QWidget;

namespace quarbel {

enum class TitleBar {
    // Title, system menu and minimise button; maximising and closing are allowed, so that the
    // desktop can give the window its free area.
    MainWindow,
    // Title only: the window can be moved, nothing else.
    Dialog,
    // Title and a close box.
    ClosableDialog,
};

// Writes the hints to the window's native window, which it creates if need be.
void setTitleBar(QWidget& window, TitleBar titleBar);

// Whether a window manager frames and places the windows. On an X server without one, nobody
// maximises a window or gives it a frame; other platforms always have a compositor.
bool windowManagerRunning();

}  // namespace quarbel
