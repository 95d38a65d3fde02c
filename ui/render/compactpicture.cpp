#include "ui/render/compactpicture.h"

#include <unordered_map>

namespace quarbel {

namespace {

constexpr std::size_t MostIndexedColours = 256;

}  // namespace

CompactPicture::CompactPicture(const PixelBuffer& picture)
    : width_(picture.width), height_(picture.height) {
    std::unordered_map<std::uint32_t, std::uint8_t> indexOf;
    std::vector<std::uint8_t> indices;
    indices.reserve(picture.pixels.size());
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const std::uint32_t pixel = picture.pixels[i];
        // Pictures run in strips of one colour: the pixel before is the quickest lookup.
        if (i > 0 && pixel == picture.pixels[i - 1]) {
            indices.push_back(indices.back());
            continue;
        }
        auto [place, isNew] = indexOf.try_emplace(pixel, static_cast<std::uint8_t>(indexOf.size()));
        if (isNew && indexOf.size() > MostIndexedColours) {
            full_ = picture;
            return;
        }
        indices.push_back(place->second);
    }
    palette_.resize(indexOf.size());
    for (const auto& [colour, index] : indexOf)
        palette_[index] = colour;
    indices_ = std::move(indices);
}

PixelBuffer CompactPicture::expanded() const {
    PixelBuffer whole(width_, height_);
    copyRect(targetOf(whole), {0, 0, width_, height_});
    return whole;
}

void CompactPicture::copyRect(PixelTarget target, Rect area) const {
    if (!indexed()) {
        quarbel::copyRect(full_, target, area);
        return;
    }
    const Rect r = intersection(intersection(area, {0, 0, width_, height_}),
                                {0, 0, target.width, target.height});
    for (int y = r.top; y < r.bottom(); ++y) {
        const std::uint8_t* in = indices_.data() + static_cast<std::ptrdiff_t>(y) * width_;
        std::uint32_t* out = target.row(y);
        for (int x = r.left; x < r.right(); ++x)
            out[x] = palette_[in[x]];
    }
}

}  // namespace quarbel
