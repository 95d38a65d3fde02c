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

constexpr std::uint32_t BackgroundColour = 0xff203040u;

// A whole sheet whose tiles are all transparent (white masks, black images) until painted.
class SheetBuilder {
  public:
    SheetBuilder();
    // Covers `area` of the tile (tile coordinates) with the colour: mask black there.
    SheetBuilder& paint(SheetTile tile, QRect area, QRgb colour);
    SheetBuilder& paintWhole(SheetTile tile, QRgb colour);
    // One pixel of the tile with any mask and image values.
    SheetBuilder& pixel(SheetTile tile, int x, int y, QRgb mask, QRgb image);

    QImage sheet;
};

QImage solidImage(int width, int height, QRgb colour);

// Assets with the given sheet, a solid background and small title and side pictures.
AssetImages assetsWith(const QImage& sheet);

// A state holding the board drawn by rows (see levelFromRows), the keeper looking down.
GameState stateFromRows(const std::vector<std::string>& rows);

// The smallest rectangle holding every front-buffer pixel of another colour than `colour`.
Rect areaNotShowing(const PixelBuffer& picture, std::uint32_t colour);
// How many pixels of the picture show another colour.
int countNotShowing(const PixelBuffer& picture, std::uint32_t colour);

}  // namespace quarbel::testing
