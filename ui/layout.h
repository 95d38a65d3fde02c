// Where every control of the main window goes, worked out from the screen and the client area.
#pragma once

#include "core/frontend.h"
#include "core/rect.h"

namespace quarbel {

struct Size {
    int width = 0;
    int height = 0;
};

// Integer arithmetic as the window has always used it: halvings truncate toward zero, also for
// negative margins, and products come before divisions.
struct WindowLayout {
    int boardSide = 0;
    int marginWidth = 0;
    int clientWidth = 0;

    int leftPanelX(int width) const { return (marginWidth - width) / 2; }
    int rightPanelX(int width) const { return clientWidth - width - (marginWidth - width) / 2; }

    Rect board;
    Rect title;
    Rect sideStrip;  // the side strip titel2, at titel2LeftX; movie mode moves it to titel2RightX
    int titel2LeftX = 0;
    int titel2RightX = 0;
};

// The layout for a screen whose free area (what its panels leave) is screenHeight pixels high
// and a client area of clientWidth x clientHeight: the board is a square 45 pixels less than
// that height, but no taller than the client area, centred, with the two panels in the margins
// beside it; the side strip's size follows the screen's height.
WindowLayout layoutWindow(int screenHeight, int clientWidth, int clientHeight, Size sidePicture,
                          Size titlePicture);

// The x of a control of either panel: centred in its margin, or lined up with its neighbours.
int panelX(const WindowLayout& layout, Control control);

// value / 2, rounded to the nearest integer with halves to the even neighbour: the side
// strip's top is half the client height it leaves free.
int halfRoundedToEven(int value);

}  // namespace quarbel
