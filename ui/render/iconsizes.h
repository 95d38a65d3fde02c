// The game's icon at the sizes desktops ask for, grown from its 32-pixel picture: by whole
// pixels, as pixel art grows, and smoothed only on the way down to a size between them. The
// picture generator draws the theme's icons with it, the game and the editor their windows'.
#pragma once

#include <QImage>
#include <array>

namespace quarbel {

inline constexpr std::array<int, 7> IconSizes = {16, 24, 32, 48, 64, 128, 256};

inline QImage iconAtSize(const QImage& icon, int size) {
    if (icon.isNull() || icon.width() <= 0) return icon;
    const int multiple = (size + icon.width() - 1) / icon.width() * icon.width();
    const QImage blocks =
        icon.scaled(multiple, multiple, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (multiple == size) return blocks;
    return blocks.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace quarbel
