#include "ui/render/tilesheet.h"

namespace quarbel {

namespace {

PixelBuffer cutPlace(const PixelBuffer& sheet, int left, int top, std::uint32_t transparent) {
    PixelBuffer place(TileSide, TileSide, transparent);
    copyAt(sheet, targetOf(place), -left, -top);
    return place;
}

}  // namespace

MaskedTile cutTile(const PixelBuffer& sheet, SheetTile tile) {
    MaskedTile cut{cutPlace(sheet, tile.left(), tile.imageTop(), 0u),
                   cutPlace(sheet, tile.left(), tile.maskTop(), 0xffffffffu)};
    for (std::uint32_t& pixel : cut.image.pixels)
        pixel &= 0x00ffffffu;  // the colour without its alpha byte
    return cut;
}

}  // namespace quarbel
