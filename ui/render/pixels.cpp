#include "ui/render/pixels.h"

#include <QImage>
#include <algorithm>

namespace quarbel {

namespace {

Rect clipped(Rect area, int width, int height) {
    return intersection(area, {0, 0, width, height});
}

// The first target pixel whose nearest source pixel is at or beyond `source`.
int firstTargetPixel(int source, int sourceSide, int targetSide) {
    const std::int64_t product = static_cast<std::int64_t>(source) * targetSide;
    return static_cast<int>((product + sourceSide - 1) / sourceSide);
}

}  // namespace

PixelTarget targetOf(PixelBuffer& buffer) {
    return {buffer.pixels.data(), buffer.width, buffer.height, buffer.width};
}

PixelTarget targetOf(QImage& image) {
    return {reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
            image.bytesPerLine() / 4};
}

PixelBuffer bufferFromImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    PixelBuffer buffer(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(y));
        std::copy_n(line, rgb.width(), buffer.row(y));
    }
    return buffer;
}

void fillRect(PixelTarget target, Rect area, std::uint32_t colour) {
    const Rect r = clipped(area, target.width, target.height);
    if (r.empty()) return;
    for (int y = r.top; y < r.bottom(); ++y) {
        std::fill(target.row(y) + r.left, target.row(y) + r.right(), colour);
    }
}

void copyRect(const PixelBuffer& source, PixelTarget target, Rect area) {
    const Rect r = clipped(clipped(area, source.width, source.height), target.width, target.height);
    if (r.empty()) return;
    for (int y = r.top; y < r.bottom(); ++y) {
        std::copy(source.row(y) + r.left, source.row(y) + r.right(), target.row(y) + r.left);
    }
}

void copyAt(const PixelBuffer& source, PixelTarget target, int x, int y) {
    const Rect r = clipped({x, y, source.width, source.height}, target.width, target.height);
    if (r.empty()) return;
    for (int ty = r.top; ty < r.bottom(); ++ty) {
        const std::uint32_t* in = source.row(ty - y) + (r.left - x);
        std::copy(in, in + r.width, target.row(ty) + r.left);
    }
}

void drawMasked(const MaskedTile& tile, PixelTarget target, int x, int y, Rect clip) {
    const Rect r = clipped(intersection({x, y, tile.image.width, tile.image.height}, clip),
                           target.width, target.height);
    if (r.empty()) return;
    for (int ty = r.top; ty < r.bottom(); ++ty) {
        std::uint32_t* out = target.row(ty) + r.left;
        const std::uint32_t* mask = tile.mask.row(ty - y) + (r.left - x);
        const std::uint32_t* image = tile.image.row(ty - y) + (r.left - x);
        for (int i = 0; i < r.width; ++i)
            out[i] = (out[i] & mask[i]) ^ image[i];
    }
}

void scaleNearest(const PixelBuffer& source, PixelTarget target, Rect area) {
    const Rect r = clipped(area, target.width, target.height);
    if (r.empty()) return;
    const PixelTarget part{target.row(r.top) + r.left, r.width, r.height, target.stride};
    scaleNearestPart(source, target.width, target.height, r, part);
}

void scaleNearestPart(const PixelBuffer& source, int scaledWidth, int scaledHeight, Rect area,
                      PixelTarget out) {
    const Rect r = clipped(area, scaledWidth, scaledHeight);
    if (r.empty() || source.pixels.empty()) return;
    const int width = r.width;
    const std::int64_t sourceWidth = source.width;
    const std::int64_t targetWidth = scaledWidth;
    // Source columns are walked with an integer step and a remainder instead of a division
    // per pixel: (x + 1) * sw = x * sw + step * tw + stepRest.
    const std::int64_t step = sourceWidth / targetWidth;
    const std::int64_t stepRest = sourceWidth % targetWidth;
    const std::int64_t firstColumn = r.left * sourceWidth / targetWidth;
    const std::int64_t firstRest = r.left * sourceWidth % targetWidth;

    int previousSourceY = -1;
    for (int y = r.top; y < r.bottom(); ++y) {
        const int sourceY =
            static_cast<int>(static_cast<std::int64_t>(y) * source.height / scaledHeight);
        std::uint32_t* line = out.row(y - area.top) + (r.left - area.left);
        if (sourceY == previousSourceY) {
            // A repeated source row: the row above already holds it.
            std::copy_n(line - out.stride, width, line);
            continue;
        }
        previousSourceY = sourceY;
        const std::uint32_t* in = source.row(sourceY);
        std::int64_t sourceX = firstColumn;
        std::int64_t rest = firstRest;
        for (int x = 0; x < width; ++x) {
            line[x] = in[sourceX];
            sourceX += step;
            rest += stepRest;
            if (rest >= targetWidth) {
                rest -= targetWidth;
                ++sourceX;
            }
        }
    }
}

Rect scaledArea(Rect sourceArea, int sourceWidth, int sourceHeight, int targetWidth,
                int targetHeight) {
    return rectBetween(firstTargetPixel(sourceArea.left, sourceWidth, targetWidth),
                       firstTargetPixel(sourceArea.top, sourceHeight, targetHeight),
                       firstTargetPixel(sourceArea.right(), sourceWidth, targetWidth),
                       firstTargetPixel(sourceArea.bottom(), sourceHeight, targetHeight));
}

}  // namespace quarbel
