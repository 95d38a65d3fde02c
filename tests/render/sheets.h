// Hand-made pictures for the renderer tests: tile sheets with plain coloured tiles, solid
// backgrounds, and boards drawn as text.
#pragma once

#include <QImage>
#include <QRect>
#include <string>
#include <vector>

#include "core/gamestate.h"
#include "ui/render/pixels.h"
#include "ui/render/renderer.h"

namespace quarbel::testing {

// A tile's place in the sheet's grid; its mask is in the row below.
struct TileAt {
    int column;
    int row;
};

constexpr TileAt KeeperAt(int facing) {
    return {facing - 1, 0};
}
constexpr TileAt TargetAt{0, 2};
constexpr TileAt WallAt{0, 4};
constexpr TileAt CrateAt{1, 4};
constexpr TileAt OverlayAt{2, 4};

constexpr std::uint32_t BackgroundColour = 0xff203040u;

// A 204 x 408 sheet whose tiles are all transparent (white masks, black images) until painted.
class SheetBuilder {
  public:
    SheetBuilder();
    // Covers `area` of the tile (tile coordinates) with the colour: mask black there.
    SheetBuilder& paint(TileAt tile, QRect area, QRgb colour);
    SheetBuilder& paintWhole(TileAt tile, QRgb colour);
    // One pixel of the tile with any mask and image values.
    SheetBuilder& pixel(TileAt tile, int x, int y, QRgb mask, QRgb image);

    QImage sheet;
};

QImage solidImage(int width, int height, QRgb colour);

// Assets with the given sheet, a solid background and small title and side pictures.
AssetImages assetsWith(const QImage& sheet);

// A state holding the board drawn by rows (see levelFromRows), the keeper looking down.
GameState stateFromRows(const std::vector<std::string>& rows);

// The smallest rectangle holding every front-buffer pixel of another colour than `colour`.
PixelRect areaNotShowing(const PixelBuffer& picture, std::uint32_t colour);
// How many pixels of the picture show another colour.
int countNotShowing(const PixelBuffer& picture, std::uint32_t colour);

}  // namespace quarbel::testing
