// The board's pictures and its drawing: the tile sheet cut into 24 tiles and masked
// compositing into the front buffer, which the board image shows scaled.
#pragma once

#include <QImage>
#include <array>

#include "core/gamestate.h"
#include "ui/render/compactpicture.h"
#include "ui/render/pixels.h"
#include "ui/render/tilesheet.h"
#include "ui/render/titlescreen.h"

namespace quarbel {

// The four picture files as decoded, before the renderer cuts and scales them.
struct AssetImages {
    QImage side;        // "titel2.bmp"
    QImage title;       // "titel.bmp"
    QImage background;  // "backgr8.bmp"
    QImage tileSheet;   // "playal8n.bmp"
};

// Reads the picture files from the working folder in the order titel2, titel, backgr8,
// playal8n. Throws GameError "Kann Datei <name> nicht öffnen." for the first file that cannot
// be opened or decoded; later files are not read.
AssetImages readAssetFiles();

class Renderer {
  public:
    // Every picture from the files in the working folder, or from pictures already read.
    void loadAssets();
    void loadAssets(const AssetImages& images);
    void releaseAssets();

    // Redraws the cells that need it and returns the rectangle of the front buffer that was
    // renewed. The board image shows the front buffer scaled to its side.
    Rect drawBoard(GameState& s, bool full, bool eyesOpen);

    // Empty until the first drawing.
    const PixelBuffer& frontPicture() const { return frontPicture_; }
    const PixelBuffer& sidePicture() const { return sidePicture_; }
    TitleScreen& titleScreen() { return titleScreen_; }
    const TitleScreen& titleScreen() const { return titleScreen_; }

  private:
    void cutTiles(const PixelBuffer& sheet);
    // Draws the tile of the cell whose corner is (px, py), computing only the pixels inside
    // `clip`, the part that reaches the front buffer.
    void drawTile(int px, int py, const MaskedTile& tile, Rect clip);
    void drawCell(const GameState& s, int x, int y, bool eyesOpen, Rect clip);

    TitleScreen titleScreen_;
    PixelBuffer sidePicture_;
    CompactPicture backgroundPicture_;
    PixelBuffer frontPicture_;

    // Keeper tiles are indexed by facing - 1: up, left, down, right.
    std::array<MaskedTile, 4> keepers_;
    std::array<MaskedTile, 4> blinkingKeepers_;
    MaskedTile target_;
    MaskedTile wall_;
    MaskedTile crate_;
    MaskedTile crateOnTarget_;
};

}  // namespace quarbel
