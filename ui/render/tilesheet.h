// The tile sheet "playal8n.bmp" and how its tiles sit on the board. The renderer cuts the
// sheet by these numbers, the picture generator draws it by them, and the tests and benchmarks
// build their own sheets with them.
//
// The sheet is a grid of 4 x 8 places, 51 pixels apart; each place holds a 50 x 50 tile. A
// tile's image stands at (column, row) and its mask directly below, at (column, row + 1): 12
// images and 12 masks. A tile is drawn 2 pixels left of and 3 pixels above the top-left
// corner of its 37-pixel cell, so it reaches past the cell into its neighbours.
#pragma once

#include "core/gamestate.h"
#include "ui/render/pixels.h"

namespace quarbel {

constexpr int CellPitch = 37;                      // a cell's side in the work buffer
constexpr int BufferSide = BoardSide * CellPitch;  // 555, the work buffer's side
constexpr int TileSide = 50;
constexpr int TileGrid = 51;  // one pixel of gap between neighbouring tiles in the sheet
constexpr int SheetColumns = 4;
constexpr int SheetRows = 8;
constexpr int SheetWidth = SheetColumns * TileGrid;  // 204
constexpr int SheetHeight = SheetRows * TileGrid;    // 408

// Where a tile is drawn: this far left of and above its cell's top-left corner.
constexpr int TileLeftOfCell = 2;
constexpr int TileAboveCell = 3;
// How far a tile reaches past its own cell into the cell to its right and the one below.
constexpr int TileReachRight = TileSide - TileLeftOfCell - CellPitch;  // 11
constexpr int TileReachDown = TileSide - TileAboveCell - CellPitch;    // 10

// A tile's place in the sheet's grid.
struct SheetTile {
    int column;
    int row;

    constexpr int left() const { return column * TileGrid; }
    constexpr int imageTop() const { return row * TileGrid; }
    constexpr int maskTop() const { return (row + 1) * TileGrid; }
};

// The keeper facing 1 up, 2 left, 3 down or 4 right, with open eyes and blinking.
constexpr SheetTile KeeperTile(int facing) {
    return {facing - 1, 0};
}
constexpr SheetTile KeeperBlinkTile(int facing) {
    return {facing - 1, 6};
}
constexpr SheetTile TargetTile{0, 2};
constexpr SheetTile WallTile{0, 4};
constexpr SheetTile CrateTile{1, 4};
constexpr SheetTile CrateOnTargetTile{2, 4};  // drawn over the target tile

// The tile's image and mask cut from the sheet, ready for drawMasked. What a smaller sheet
// lacks is transparent: white in the mask, black in the image.
MaskedTile cutTile(const PixelBuffer& sheet, SheetTile tile);

}  // namespace quarbel
