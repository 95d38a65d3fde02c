#include "ui/layout.h"

#include <algorithm>
#include <cstdint>

#include "ui/design.h"

namespace quarbel {

int halfRoundedToEven(int value) {
    const int half = value / 2;
    if (value % 2 == 0) return half;
    // An odd value lies exactly between half and its neighbour away from zero.
    const int other = value > 0 ? half + 1 : half - 1;
    return half % 2 == 0 ? half : other;
}

WindowLayout layoutWindow(int screenHeight, int clientWidth, int clientHeight, Size sidePicture,
                          Size titlePicture) {
    WindowLayout layout;
    layout.clientWidth = clientWidth;
    // A desktop whose frame and panels take more than the 45 pixels left for them would cut
    // the board: it never grows past the client height.
    layout.boardSide = std::min(screenHeight - 45, clientHeight);
    layout.marginWidth = (clientWidth - layout.boardSide) / 2;

    // The side picture is drawn for a 600-pixel screen: its height follows the screen's and its
    // width keeps the shape, both truncated, in 64 bits so that no size overflows.
    const int stripHeight =
        sidePicture.height > 0
            ? static_cast<int>(std::int64_t{sidePicture.height} * screenHeight / 600)
            : 0;
    const int stripWidth =
        sidePicture.height > 0
            ? static_cast<int>(std::int64_t{sidePicture.width} * stripHeight / sidePicture.height)
            : 0;
    layout.titel2LeftX = layout.leftPanelX(stripWidth);
    layout.titel2RightX = layout.rightPanelX(stripWidth);
    layout.sideStrip = {layout.titel2LeftX, halfRoundedToEven(clientHeight - stripHeight),
                        stripWidth, stripHeight};

    layout.title = {(clientWidth - titlePicture.width) / 2,
                    (clientHeight - titlePicture.height) / 2, titlePicture.width,
                    titlePicture.height};
    layout.board = {(clientWidth - layout.boardSide) / 2, (clientHeight - layout.boardSide) / 2,
                    layout.boardSide, layout.boardSide};
    return layout;
}

int panelX(const WindowLayout& layout, Control control) {
    const auto width = [](Control c) { return designOf(c).width; };
    const auto right = [&](Control c) { return layout.rightPanelX(width(c)); };
    const auto left = [&](Control c) { return layout.leftPanelX(width(c)); };
    switch (control) {
        // Game panel: the level buttons line up with START's edges.
        case Control::plusplus:
        case Control::minusminus:
            return right(Control::start);
        case Control::plus:
        case Control::minus:
            return right(Control::start) + width(Control::start) - width(control);
        // Movie panel: the picture buttons stand in two columns under PLAY, the level buttons
        // line up with LOAD's edges.
        case Control::mbacktostart:
        case Control::mback:
        case Control::m10back:
            return left(Control::mplay);
        case Control::mstop:
        case Control::mforward:
        case Control::m10forward:
            return left(Control::mplay) + width(Control::mbacktostart);
        case Control::plusplus2:
        case Control::minusminus2:
            return left(Control::load);
        case Control::plus2:
        case Control::minus2:
            return left(Control::load) + width(Control::load) - width(control);
        default:
            break;
    }
    return inMoviePanel(control) ? left(control) : right(control);
}

}  // namespace quarbel
