// The board: the floor and the tile sheet, laid out as ui/render/tilesheet.h describes.
//
// Light falls from the top left and the room is seen from the front: walls and crates show a
// front face in the cell below and cast a shadow to the right, in the parts of the tile that
// reach past its cell. Shadows and glows are drawn as the floor itself, darkened or lit,
// which works because every floor cell looks the same.
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cstdint>
#include <optional>

#include "assets/artwork.h"
#include "assets/paint.h"
#include "core/level.h"
#include "ui/render/tilesheet.h"

namespace artwork {
namespace {

using quarbel::MaskedTile;
using quarbel::SheetTile;

using quarbel::CellPitch;
using quarbel::TileAboveCell;
using quarbel::TileLeftOfCell;
using quarbel::TileSide;
// The tile's bottom edge in the coordinates of its own cell.
constexpr int TileBottom = TileSide - TileAboveCell;  // 47

// A fixed per-pixel hash, so textures are the same on every build.
int grain(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^
                      static_cast<std::uint32_t>(y) * 19349663u ^
                      static_cast<std::uint32_t>(seed) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return static_cast<int>(h % 100);
}

// One floor slab: dark slate with a soft bevel and faint grain.
QImage floorCell() {
    const QColor base(42, 46, 62);
    QImage cell(CellPitch, CellPitch, QImage::Format_RGB32);
    for (int y = 0; y < CellPitch; ++y) {
        for (int x = 0; x < CellPitch; ++x) {
            QColor c = base;
            const int g = grain(x, y, 1);
            if (g < 8) c = shade(base, 0.9);
            if (g > 93) c = shade(base, 1.06);
            if (x == 0 || y == 0) c = shade(base, 1.14);
            if (x == CellPitch - 1 || y == CellPitch - 1) c = shade(base, 0.62);
            if ((x == 1 || y == 1) && x < CellPitch - 1 && y < CellPitch - 1) c = shade(base, 1.05);
            cell.setPixelColor(x, y, c);
        }
    }
    return cell;
}

// A floor of whole slabs starting at the top-left corner.
QImage floorOf(int width, int height) {
    const QImage cell = floorCell();
    QImage floor(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            floor.setPixel(x, y, cell.pixel(x % CellPitch, y % CellPitch));
    }
    return floor;
}

// What a tile is made of: the shapes themselves, and light or shade thrown on the floor
// (alpha is the strength, colour what the floor is mixed with).
struct Sprite {
    QImage art = transparentImage(TileSide, TileSide);
    QImage onFloor = transparentImage(TileSide, TileSide);
};

// A painter whose origin is the top-left corner of the tile's own cell.
class CellPainter : public QPainter {
  public:
    explicit CellPainter(QImage& image) : QPainter(&image) {
        translate(TileLeftOfCell, TileAboveCell);
    }
};

void castShadow(Sprite& sprite, const QPolygon& area, double strength) {
    CellPainter painter(sprite.onFloor);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, static_cast<int>(strength * 255)));
    painter.drawPolygon(area);
}

Sprite wall() {
    Sprite sprite;
    const QColor top(112, 120, 164);
    const QColor front(92, 96, 136);
    {
        CellPainter p(sprite.art);
        // The top of the block fills the cell: a raised stone with a bevel and a little grain.
        p.fillRect(0, 0, CellPitch, CellPitch, top);
        p.fillRect(5, 5, CellPitch - 10, CellPitch - 10, shade(top, 1.06));
        p.fillRect(5, 5, CellPitch - 10, 1, shade(top, 0.86));
        p.fillRect(5, 5, 1, CellPitch - 10, shade(top, 0.9));
        p.fillRect(5, CellPitch - 6, CellPitch - 10, 1, shade(top, 1.2));
        p.fillRect(CellPitch - 6, 5, 1, CellPitch - 10, shade(top, 1.15));
        for (int y = 2; y < CellPitch - 2; ++y) {
            for (int x = 2; x < CellPitch - 2; ++x) {
                const int g = grain(x, y, 7);
                if (g < 9) p.fillRect(x, y, 1, 1, shade(top, 0.92));
                if (g > 95) p.fillRect(x, y, 1, 1, shade(top, 1.08));
            }
        }
        p.fillRect(0, 0, CellPitch, 2, shade(top, 1.3));
        p.fillRect(0, 0, 2, CellPitch, shade(top, 1.18));
        p.fillRect(0, CellPitch - 2, CellPitch, 2, shade(top, 0.82));
        p.fillRect(CellPitch - 2, 2, 2, CellPitch - 2, shade(top, 0.86));
        p.fillRect(0, 0, 1, 1, shade(top, 1.45));

        // The front of the block below the cell: two courses of bricks.
        const int fy = CellPitch;
        p.fillRect(0, fy, CellPitch, 9, front);
        p.fillRect(0, fy, CellPitch, 1, shade(front, 0.7));
        p.fillRect(0, fy + 4, CellPitch, 1, shade(front, 0.72));
        p.fillRect(0, fy + 8, CellPitch, 1, shade(front, 0.55));
        p.fillRect(0, fy + 1, CellPitch, 1, shade(front, 1.12));
        p.fillRect(0, fy + 5, CellPitch, 1, shade(front, 1.12));
        for (int x : {11, 29})
            p.fillRect(x, fy + 1, 1, 3, shade(front, 0.72));
        for (int x : {2, 20})
            p.fillRect(x, fy + 5, 1, 3, shade(front, 0.72));
    }
    castShadow(sprite,
               QPolygon({{CellPitch, 3},
                         {CellPitch + 7, 10},
                         {CellPitch + 7, TileBottom},
                         {CellPitch, TileBottom}}),
               0.55);
    castShadow(sprite,
               QPolygon({{3, CellPitch + 9},
                         {CellPitch + 7, CellPitch + 9},
                         {CellPitch + 7, TileBottom},
                         {3, TileBottom}}),
               0.55);
    return sprite;
}

Sprite crate(const CratePalette& palette) {
    Sprite sprite;
    {
        CellPainter p(sprite.art);
        drawCrate(p, palette, 3, 1, 31, 20, 14);
    }
    outlineShapes(sprite.art, TileOutline);
    castShadow(sprite, QPolygon({{35, 4}, {40, 9}, {40, 39}, {35, 39}}), 0.5);
    castShadow(sprite, QPolygon({{5, 36}, {40, 36}, {40, 39}, {5, 39}}), 0.5);
    return sprite;
}

// The crate at home: green wood with gold corners, and green light on the target around it.
Sprite crateOnTarget() {
    Sprite sprite = crate(homeCrate());
    QImage glow = transparentImage(TileSide, TileSide);
    {
        CellPainter p(glow);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 255, 130, 90));
        p.drawRect(1, 0, 35, 38);
    }
    for (int y = 0; y < TileSide; ++y) {
        for (int x = 0; x < TileSide; ++x) {
            if (qAlpha(sprite.art.pixel(x, y)) < 128 && qAlpha(glow.pixel(x, y)) > 0 &&
                qAlpha(sprite.onFloor.pixel(x, y)) == 0) {
                sprite.onFloor.setPixel(x, y, glow.pixel(x, y));
            }
        }
    }
    return sprite;
}

// The target: a glowing green plate set into the floor.
Sprite target() {
    Sprite sprite;
    CellPainter p(sprite.art);
    p.setPen(Qt::NoPen);
    const QPoint centre(18, 18);
    auto diamond = [&](int rx, int ry) {
        return QPolygon({{centre.x(), centre.y() - ry},
                         {centre.x() + rx, centre.y()},
                         {centre.x(), centre.y() + ry},
                         {centre.x() - rx, centre.y()}});
    };
    p.setBrush(QColor(24, 90, 52));
    p.drawPolygon(diamond(17, 17));
    p.setBrush(QColor(80, 230, 120));
    p.drawPolygon(diamond(15, 15));
    p.setBrush(QColor(26, 104, 58));
    p.drawPolygon(diamond(12, 12));
    p.setBrush(QColor(40, 140, 76));
    p.drawPolygon(diamond(7, 7));
    p.setBrush(QColor(110, 240, 150));
    p.drawPolygon(diamond(4, 4));
    p.setBrush(QColor(220, 255, 226));
    p.drawPolygon(diamond(1, 1));
    return sprite;
}

enum class Facing { Up, Left, Down, Right };

// The keeper: a round little worker in a red cap and blue overalls.
Sprite keeper(Facing facing, bool eyesOpen) {
    const QColor skin(250, 204, 160);
    const QColor cap(218, 52, 52);
    const QColor shirt(236, 190, 60);
    const QColor overalls(58, 98, 196);
    const QColor boots(92, 58, 36);
    const QColor eye(20, 22, 32);
    const QColor hair(120, 72, 40);

    // Drawn lower than the cell's top edge by the cap's height and its outline: a move redraws
    // the cells round the keeper's new square, not the strip above the square he left, so no
    // part of him may stand in the tile's rows above his cell.
    constexpr int StandLower = 4;
    Sprite sprite;
    {
        CellPainter p(sprite.onFloor);
        p.translate(0, StandLower);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 110));
        p.drawEllipse(9, 32, 20, 5);
    }
    CellPainter p(sprite.art);
    p.translate(0, StandLower);
    p.setPen(Qt::NoPen);
    if (facing == Facing::Right) {
        // The right profile is the left one seen in a mirror.
        p.translate(CellPitch, 0);
        p.scale(-1, 1);
    }
    const bool side = facing == Facing::Left || facing == Facing::Right;

    // Boots and legs.
    if (side) {
        p.fillRect(9, 31, 9, 4, boots);
        p.fillRect(20, 31, 8, 4, shade(boots, 0.8));
    } else {
        p.fillRect(10, 31, 7, 4, boots);
        p.fillRect(20, 31, 7, 4, boots);
    }
    // Body: shirt, overalls, arms.
    if (side) {
        p.fillRect(12, 18, 14, 8, shirt);
        p.fillRect(12, 23, 14, 9, overalls);
        p.fillRect(13, 23, 12, 1, shade(overalls, 1.25));
        p.fillRect(21, 18, 3, 5, overalls);
        // Arms reach forward, ready to push.
        p.fillRect(5, 20, 12, 5, shirt);
        p.fillRect(5, 20, 12, 1, shade(shirt, 1.2));
        p.fillRect(2, 19, 5, 6, skin);
    } else {
        p.fillRect(10, 18, 17, 8, shirt);
        p.fillRect(11, 22, 15, 10, overalls);
        p.fillRect(11, 22, 15, 1, shade(overalls, 1.25));
        p.fillRect(12, 18, 3, 4, overalls);
        p.fillRect(22, 18, 3, 4, overalls);
        p.fillRect(6, 19, 5, 8, shirt);
        p.fillRect(26, 19, 5, 8, shade(shirt, 0.85));
        p.fillRect(6, 26, 5, 4, skin);
        p.fillRect(26, 26, 5, 4, shade(skin, 0.9));
        if (facing == Facing::Down) {
            p.fillRect(13, 24, 2, 2, shirt);
            p.fillRect(22, 24, 2, 2, shirt);
            p.fillRect(16, 26, 5, 3, shade(overalls, 0.8));
        }
        p.fillRect(25, 22, 1, 10, shade(overalls, 0.75));
    }

    // Head, a little big, as heroes' heads are.
    p.setBrush(skin);
    p.drawEllipse(side ? 9 : 8, 1, side ? 19 : 20, 18);
    p.setBrush(shade(skin, 0.86));
    p.drawChord(side ? 9 : 8, 1, side ? 19 : 20, 18, 200 * 16, 140 * 16);
    // Cap: crown and visor.
    p.setBrush(cap);
    p.drawChord(side ? 8 : 7, -3, side ? 21 : 22, 16, 0, 180 * 16);
    p.fillRect(side ? 8 : 7, 4, side ? 21 : 22, 2, cap);
    p.fillRect(11, -1, 6, 2, shade(cap, 1.3));
    switch (facing) {
        case Facing::Down:
            p.fillRect(7, 6, 23, 2, shade(cap, 0.7));
            break;
        case Facing::Up:
            // From behind: hair under the cap, ears, and the cap's strap.
            p.setBrush(hair);
            p.drawChord(8, 1, 20, 18, 180 * 16, 180 * 16);
            p.fillRect(8, 6, 20, 5, hair);
            p.fillRect(6, 8, 2, 4, skin);
            p.fillRect(28, 8, 2, 4, shade(skin, 0.86));
            p.fillRect(14, 4, 8, 2, shade(cap, 0.55));
            break;
        case Facing::Left:
        case Facing::Right:
            p.fillRect(2, 5, 10, 2, shade(cap, 0.7));
            p.fillRect(22, 6, 5, 8, hair);
            p.fillRect(19, 8, 3, 4, shade(skin, 0.86));
            break;
    }

    // Face.
    const QColor cheek(240, 140, 130);
    if (facing == Facing::Down) {
        if (eyesOpen) {
            for (int x : {12, 21}) {
                p.fillRect(x, 9, 4, 5, QColor(255, 255, 255));
                p.fillRect(x + 1, 10, 3, 4, eye);
                p.fillRect(x + 1, 10, 1, 1, QColor(255, 255, 255));
            }
        } else {
            for (int x : {12, 21}) {
                p.fillRect(x, 12, 4, 1, eye);
                p.fillRect(x, 11, 1, 1, eye);
                p.fillRect(x + 3, 11, 1, 1, eye);
            }
        }
        p.fillRect(10, 14, 2, 2, cheek);
        p.fillRect(25, 14, 2, 2, cheek);
        p.fillRect(16, 15, 5, 1, shade(skin, 0.55));
        p.fillRect(15, 14, 1, 1, shade(skin, 0.55));
        p.fillRect(21, 14, 1, 1, shade(skin, 0.55));
    } else if (side) {
        if (eyesOpen) {
            p.fillRect(11, 9, 4, 5, QColor(255, 255, 255));
            p.fillRect(11, 10, 2, 4, eye);
            p.fillRect(11, 10, 1, 1, QColor(255, 255, 255));
        } else {
            p.fillRect(11, 12, 4, 1, eye);
            p.fillRect(14, 11, 1, 1, eye);
        }
        p.fillRect(7, 12, 3, 3, skin);
        p.fillRect(15, 15, 3, 2, cheek);
        p.fillRect(10, 16, 3, 1, shade(skin, 0.55));
    }
    p.end();
    outlineShapes(sprite.art, TileOutline);
    return sprite;
}

// Writes a sprite into the sheet: its image and its mask. Where the sprite throws light or
// shade, the floor is painted in, so a mask is black wherever the tile changes anything.
void place(QImage& sheet, const Sprite& sprite, SheetTile tile, const QImage& floor) {
    for (int y = 0; y < TileSide; ++y) {
        for (int x = 0; x < TileSide; ++x) {
            const QRgb art = sprite.art.pixel(x, y);
            const QRgb light = sprite.onFloor.pixel(x, y);
            QColor image(0, 0, 0);
            QColor mask(255, 255, 255);
            if (qAlpha(art) >= 128) {
                image = QColor(art).toRgb();
                image.setAlpha(255);
                mask = QColor(0, 0, 0);
            } else if (qAlpha(light) > 0) {
                const QColor under = floor.pixelColor((x - TileLeftOfCell + CellPitch) % CellPitch,
                                                      (y - TileAboveCell + CellPitch) % CellPitch);
                QColor tint(light);
                tint.setAlpha(255);
                image = mix(under, tint, qAlpha(light) / 255.0);
                mask = QColor(0, 0, 0);
            }
            sheet.setPixelColor(tile.left() + x, tile.imageTop() + y, image);
            sheet.setPixelColor(tile.left() + x, tile.maskTop() + y, mask);
        }
    }
}

}  // namespace

QImage makeBackground() {
    return floorOf(quarbel::BufferSide, quarbel::BufferSide);
}

QImage makeTileSheet() {
    const QImage floor = floorCell();
    QImage sheet(quarbel::SheetWidth, quarbel::SheetHeight, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    // In the order of the game's facings 1 to 4.
    const Facing facings[] = {Facing::Up, Facing::Left, Facing::Down, Facing::Right};
    for (int facing = 1; facing <= 4; ++facing) {
        place(sheet, keeper(facings[facing - 1], true), quarbel::KeeperTile(facing), floor);
        place(sheet, keeper(facings[facing - 1], false), quarbel::KeeperBlinkTile(facing), floor);
    }
    place(sheet, target(), quarbel::TargetTile, floor);
    place(sheet, wall(), quarbel::WallTile, floor);
    place(sheet, crate(plainCrate()), quarbel::CrateTile, floor);
    place(sheet, crateOnTarget(), quarbel::CrateOnTargetTile, floor);
    return sheet;
}

QImage renderRoom(const std::vector<std::string>& rows) {
    const quarbel::PixelBuffer sheet = quarbel::bufferFromImage(makeTileSheet());
    const MaskedTile wall = quarbel::cutTile(sheet, quarbel::WallTile);
    const MaskedTile crate = quarbel::cutTile(sheet, quarbel::CrateTile);
    const MaskedTile target = quarbel::cutTile(sheet, quarbel::TargetTile);
    const MaskedTile crateOnTarget = quarbel::cutTile(sheet, quarbel::CrateOnTargetTile);
    const MaskedTile keeper = quarbel::cutTile(sheet, quarbel::KeeperTile(4));
    int columns = 0;
    for (const auto& row : rows)
        columns = std::max(columns, static_cast<int>(row.size()));
    QImage room = floorOf(columns * CellPitch, static_cast<int>(rows.size()) * CellPitch);
    const quarbel::PixelTarget pixels = quarbel::targetOf(room);
    auto draw = [&](int cx, int cy, const MaskedTile& tile) {
        quarbel::drawMasked(tile, pixels, cx * CellPitch - TileLeftOfCell,
                            cy * CellPitch - TileAboveCell, {0, 0, room.width(), room.height()});
    };
    for (int x = 0; x < columns; ++x) {
        for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
            if (x >= static_cast<int>(rows[y].size())) continue;
            const std::optional<quarbel::Square> square = quarbel::squareOfSymbol(rows[y][x]);
            if (!square) continue;
            if (square->cell == quarbel::CellWall) draw(x, y, wall);
            if (square->cell == quarbel::CellCrate) draw(x, y, crate);
            if (square->cell == quarbel::CellTarget || square->cell == quarbel::CellCrateOnTarget)
                draw(x, y, target);
            if (square->cell == quarbel::CellCrateOnTarget) draw(x, y, crateOnTarget);
            if (square->keeper) draw(x, y, keeper);
        }
    }
    return room;
}

}  // namespace artwork
