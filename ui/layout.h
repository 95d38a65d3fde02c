// Where every control of the main window goes, worked out from the screen and the client area.
#pragma once

#include "core/frontend.h"

namespace quarbel {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

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
    Rect sideStrip;  // at titel2LeftX; the movie mode moves it to titel2RightX
    int titel2LeftX = 0;
    int titel2RightX = 0;
};

// screenHeight is SH; clientWidth and clientHeight are CW and CH.
WindowLayout layoutWindow(int screenHeight, int clientWidth, int clientHeight, Size sidePicture,
                          Size titlePicture);

// The x of a control of either panel: centred in its margin, or lined up with its neighbours.
int panelX(const WindowLayout& layout, Control control);

// (CH - height) * 0.5, rounded to the nearest integer with halves to the even neighbour.
int halfRoundedToEven(int value);

}  // namespace quarbel
