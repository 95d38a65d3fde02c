// The movie panel's picture buttons: each picture holds the button's symbol and, beside it,
// its greyed look, on the face of the button. The picture generator draws them by these
// numbers and the window shows them at this size on a face of this colour.
#pragma once

#include <QColor>

namespace quarbel {

constexpr int ButtonLookHeight = 24;
constexpr int NarrowLookWidth = 18;  // one arrow, play, stop, back to the start
constexpr int WideLookWidth = 28;    // the double arrows of ten steps
inline const QColor PictureButtonFace(40, 44, 60);

}  // namespace quarbel
