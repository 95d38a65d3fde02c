#include "ui/render/renderer.h"

#include <algorithm>
#include <string>

#include "core/gameerror.h"
#include "ui/render/images.h"
#include "ui/render/picturefiles.h"

namespace quarbel {

namespace {

// The redrawn region ends this far into its last column and row: as far as the tiles of the
// cells before them reach. One figure serves both ways, the longer reach.
constexpr int RegionReach = std::max(TileReachRight, TileReachDown);

QImage readPicture(const char* fileName) {
    QImage image = readImageFile(fileName);
    if (image.isNull()) throw GameError(cannotOpenText(fileName));
    return image;
}

}  // namespace

AssetImages readAssetFiles() {
    AssetImages images;
    images.side = readPicture(SideStripFile);
    images.title = readPicture(TitlePictureFile);
    images.background = readPicture(BackgroundFile);
    images.tileSheet = readPicture(TileSheetFile);
    return images;
}

void Renderer::loadAssets() {
    loadAssets(readAssetFiles());
}

void Renderer::loadAssets(const AssetImages& images) {
    sidePicture_ = bufferFromImage(images.side);
    titleScreen_.setPicture(images.title);
    PixelBuffer background(BufferSide, BufferSide);
    scaleNearest(bufferFromImage(images.background), targetOf(background),
                 {0, 0, BufferSide, BufferSide});
    backgroundPicture_ = CompactPicture(background);
    cutTiles(bufferFromImage(images.tileSheet));
    frontPicture_ = {};
}

void Renderer::cutTiles(const PixelBuffer& sheet) {
    for (int facing = 1; facing <= 4; ++facing) {
        const std::size_t f = static_cast<std::size_t>(facing - 1);
        keepers_[f] = cutTile(sheet, KeeperTile(facing));
        blinkingKeepers_[f] = cutTile(sheet, KeeperBlinkTile(facing));
    }
    target_ = cutTile(sheet, TargetTile);
    wall_ = cutTile(sheet, WallTile);
    crate_ = cutTile(sheet, CrateTile);
    crateOnTarget_ = cutTile(sheet, CrateOnTargetTile);
}

void Renderer::releaseAssets() {
    *this = Renderer();
}

Rect Renderer::drawBoard(GameState& s, bool full, bool eyesOpen) {
    if (backgroundPicture_.empty()) return {};
    // The front buffer is made for the first level: the title screen and the chooser do
    // without it.
    if (frontPicture_.pixels.empty()) frontPicture_ = backgroundPicture_.expanded();

    int x1 = 1, y1 = 1, x2 = BoardSide, y2 = BoardSide;
    if (!full) {
        x1 = s.keeperX - 1;
        x2 = s.keeperX + 1;
        y1 = s.keeperY - 1;
        y2 = s.keeperY + 1;
        for (int x = 1; x <= BoardSide; ++x) {
            for (int y = 1; y <= BoardSide; ++y) {
                if (s.board.at(x, y) == s.boardSnapshot.at(x, y)) continue;
                x1 = std::min(x1, x);
                y1 = std::min(y1, y);
                x2 = std::max(x2, x);
                y2 = std::max(y2, y);
            }
        }
        x1 = std::max(x1 - 1, 1);
        y1 = std::max(y1 - 1, 1);
        x2 = std::min(x2 + 1, BoardSide);
        y2 = std::min(y2 + 1, BoardSide);
    }

    // The region's inner cells (x1 + 1 to x2 - 1) plus the reach of their tiles into its last
    // column and row; the outer ring is drawn only for what its tiles put into the inner cells.
    Rect copied = rectBetween(x1 == 1 ? 0 : x1 * CellPitch, y1 == 1 ? 0 : y1 * CellPitch,
                              x2 == BoardSide ? BufferSide : (x2 - 1) * CellPitch + RegionReach,
                              y2 == BoardSide ? BufferSide : (y2 - 1) * CellPitch + RegionReach);
    // A keeper far off the board leaves no region at all.
    if (copied.empty()) copied = {};

    // Only the copied rectangle of a work buffer would ever reach the front buffer, so that
    // rectangle of the front buffer itself is reset and composited: no work buffer is needed.
    backgroundPicture_.copyRect(targetOf(frontPicture_), copied);
    for (int x = x1; x <= x2; ++x) {
        for (int y = y1; y <= y2; ++y)
            drawCell(s, x, y, eyesOpen, copied);
    }
    s.boardSnapshot = s.board;
    return copied;
}

void Renderer::drawCell(const GameState& s, int x, int y, bool eyesOpen, Rect clip) {
    const int px = (x - 1) * CellPitch;
    const int py = (y - 1) * CellPitch;
    switch (s.board.at(x, y)) {
        case CellWall:
            drawTile(px, py, wall_, clip);
            break;
        case CellCrate:
            drawTile(px, py, crate_, clip);
            break;
        case CellTarget:
            drawTile(px, py, target_, clip);
            break;
        case CellCrateOnTarget:
            drawTile(px, py, target_, clip);
            drawTile(px, py, crateOnTarget_, clip);
            break;
        default:
            break;
    }
    // A facing outside 1..4 has no tile; such a keeper is not drawn.
    if (x != s.keeperX || y != s.keeperY || s.facing < 1 || s.facing > 4) return;
    const std::size_t f = static_cast<std::size_t>(s.facing - 1);
    drawTile(px, py, eyesOpen ? keepers_[f] : blinkingKeepers_[f], clip);
}

void Renderer::drawTile(int px, int py, const MaskedTile& tile, Rect clip) {
    drawMasked(tile, targetOf(frontPicture_), px - TileLeftOfCell, py - TileAboveCell, clip);
}

}  // namespace quarbel
