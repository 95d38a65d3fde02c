// A picture kept in as little memory as its colours allow, for pictures that stay for the
// whole game and are only ever copied from.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/render/pixels.h"

namespace quarbel {

// A picture of at most 256 colours is kept as one byte a pixel and a palette, a quarter of
// its 32-bit size (the board's background has six); one of more colours keeps its pixels as
// they are. Either way it gives back exactly the pixels it was made from.
class CompactPicture {
  public:
    CompactPicture() = default;
    explicit CompactPicture(const PixelBuffer& picture);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    // Whether the pixels are kept as palette indices.
    bool indexed() const { return !palette_.empty(); }

    // The whole picture, 32 bits a pixel.
    PixelBuffer expanded() const;
    // Copies the rectangle `area` to the same place in the target, clipped to both.
    void copyRect(PixelTarget target, Rect area) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> palette_;
    std::vector<std::uint8_t> indices_;
    PixelBuffer full_;  // the pixels of a picture of more than 256 colours
};

}  // namespace quarbel
