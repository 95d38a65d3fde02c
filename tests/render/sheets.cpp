#include "sheets.h"

#include <algorithm>

#include "support/packbuilder.h"

namespace quarbel::testing {

SheetBuilder::SheetBuilder() : sheet(SheetWidth, SheetHeight, QImage::Format_RGB32) {
    for (int row = 0; row < SheetRows; ++row) {
        const bool maskRow = row % 2 == 1;
        for (int y = row * TileGrid; y < (row + 1) * TileGrid && y < sheet.height(); ++y) {
            for (int x = 0; x < sheet.width(); ++x) {
                sheet.setPixel(x, y, maskRow ? 0xffffffffu : 0xff000000u);
            }
        }
    }
}

SheetBuilder& SheetBuilder::paint(SheetTile tile, QRect area, QRgb colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            pixel(tile, x, y, 0xff000000u, colour);
    }
    return *this;
}

SheetBuilder& SheetBuilder::paintWhole(SheetTile tile, QRgb colour) {
    return paint(tile, QRect(0, 0, TileSide, TileSide), colour);
}

SheetBuilder& SheetBuilder::pixel(SheetTile tile, int x, int y, QRgb mask, QRgb image) {
    sheet.setPixel(tile.left() + x, tile.imageTop() + y, image);
    sheet.setPixel(tile.left() + x, tile.maskTop() + y, mask);
    return *this;
}

QImage solidImage(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

AssetImages assetsWith(const QImage& sheet) {
    return {solidImage(30, 60, 0xff00ff00u), solidImage(640, 40, 0xff0000ffu),
            solidImage(1, 1, BackgroundColour), sheet};
}

GameState stateFromRows(const std::vector<std::string>& rows) {
    const Level level = levelFromRows(rows);
    GameState s;
    placeLevel(s, level);
    return s;
}

Rect areaNotShowing(const PixelBuffer& picture, std::uint32_t colour) {
    Rect area = rectBetween(picture.width, picture.height, 0, 0);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (picture.at(x, y) == colour) continue;
            area = rectBetween(std::min(area.left, x), std::min(area.top, y),
                               std::max(area.right(), x + 1), std::max(area.bottom(), y + 1));
        }
    }
    return area.empty() ? Rect{} : area;
}

int countNotShowing(const PixelBuffer& picture, std::uint32_t colour) {
    return static_cast<int>(std::count_if(picture.pixels.begin(), picture.pixels.end(),
                                          [colour](std::uint32_t p) { return p != colour; }));
}

}  // namespace quarbel::testing
