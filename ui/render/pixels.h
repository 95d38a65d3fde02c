// Plain 32-bit pixel pictures (0xffRRGGBB, as QImage::Format_RGB32 keeps them) and the raster
// operations the board and the title screen are built from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/rect.h"

class QImage;

namespace quarbel {

// A picture that owns its pixels, row by row without padding.
struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    PixelBuffer() = default;
    PixelBuffer(int w, int h, std::uint32_t fill = 0xff000000u)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}

    std::uint32_t* row(int y) { return pixels.data() + static_cast<std::ptrdiff_t>(y) * width; }
    const std::uint32_t* row(int y) const {
        return pixels.data() + static_cast<std::ptrdiff_t>(y) * width;
    }
    std::uint32_t at(int x, int y) const { return row(y)[x]; }
    bool operator==(const PixelBuffer&) const = default;
};

// Somewhere to write pixels: a buffer of ours or the memory of a QImage.
struct PixelTarget {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;  // in pixels

    std::uint32_t* row(int y) const { return pixels + y * stride; }
};

PixelTarget targetOf(PixelBuffer& buffer);
// The image must be Format_RGB32; it is detached here, not later while drawing.
PixelTarget targetOf(QImage& image);

// The picture's pixels as RGB32; a null image gives an empty buffer.
PixelBuffer bufferFromImage(const QImage& image);

void fillRect(PixelTarget target, Rect area, std::uint32_t colour);

// Copies the rectangle `area` of the source to the same place in the target, clipped to both.
void copyRect(const PixelBuffer& source, PixelTarget target, Rect area);

// Copies the whole source with its top-left corner at (x, y) of the target, clipped.
void copyAt(const PixelBuffer& source, PixelTarget target, int x, int y);

// A picture drawn through its mask: each pixel under it becomes (pixel AND mask) XOR image, so
// where the mask is white what is below shows, where it is black the image. The image has no
// alpha byte, so the target keeps its own.
struct MaskedTile {
    PixelBuffer image;
    PixelBuffer mask;  // as large as the image
};

// Draws the tile with its top-left corner at (x, y) of the target, only the pixels inside
// `clip`.
void drawMasked(const MaskedTile& tile, PixelTarget target, int x, int y, Rect clip);

// Nearest-neighbour scaling of the whole source onto the whole target, computed only for the
// target pixels inside `area`: target pixel (x, y) shows source pixel
// (x * source.width / target.width, y * source.height / target.height), truncated.
void scaleNearest(const PixelBuffer& source, PixelTarget target, Rect area);

// The same scaling to scaledWidth x scaledHeight without a target that large: the pixels of
// `area` are written to `out`, the area's top-left corner at out's (0, 0).
void scaleNearestPart(const PixelBuffer& source, int scaledWidth, int scaledHeight, Rect area,
                      PixelTarget out);

// The target pixels whose nearest source pixels lie in `sourceArea`.
Rect scaledArea(Rect sourceArea, int sourceWidth, int sourceHeight, int targetWidth,
                int targetHeight);

}  // namespace quarbel
