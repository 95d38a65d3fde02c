// A rectangle of whole units, pixels or board cells, for every program: the window's layout,
// the pictures' pixels and the editor's boxes. Qt's own rectangles appear only where Qt is
// called.
#pragma once

#include <algorithm>

namespace quarbel {

// `left` and `top` are its first column and row; right() and bottom() the first past it.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const Rect&) const = default;
};

// From (left, top) up to, not including, (right, bottom).
inline Rect rectBetween(int left, int top, int right, int bottom) {
    return {left, top, right - left, bottom - top};
}

// What lies in both; empty() when they do not overlap.
inline Rect intersection(Rect a, Rect b) {
    return rectBetween(std::max(a.left, b.left), std::max(a.top, b.top),
                       std::min(a.right(), b.right()), std::min(a.bottom(), b.bottom()));
}

}  // namespace quarbel
