// The title picture with its sliding band, and the tall strip beside the board.
#include <QPainter>

#include <algorithm>
#include <array>

#include "assets/artwork.h"
#include "assets/paint.h"
#include "core/gamestate.h"
#include "ui/render/tilesheet.h"

namespace artwork {
namespace {

constexpr int TitleWidth = 640;
constexpr int TitleHeight = 400;
constexpr int StripWidth = 100;
constexpr int StripHeight = 555;

// The keeper, small enough for the band, pushing to the right. One letter per pixel.
QImage tinyKeeper() {
    static const std::array<const char*, 16> rows = {
        "....rrrr....",  //
        "...rrrrrr...",  //
        "...rrrrrrRR.",  //
        "...ssssss...",  //
        "...ssssWs...",  //
        "...ssssKs...",  //
        "....ssss....",  //
        "...yyyyyyyss",  //
        "...yyyyyyyss",  //
        "...bbbbbb...",  //
        "...bbbbbb...",  //
        "...bbbbbb...",  //
        "...bb..bb...",  //
        "...bb..bb...",  //
        "..ddd..ddd..",  //
        "............",  //
    };
    QImage image = transparentImage(12, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 12; ++x) {
            QColor c;
            switch (rows[y][x]) {
                case 'r':
                    c = QColor(218, 52, 52);
                    break;
                case 'R':
                    c = QColor(150, 34, 34);
                    break;
                case 's':
                    c = QColor(250, 204, 160);
                    break;
                case 'W':
                    c = QColor(255, 255, 255);
                    break;
                case 'K':
                    c = TileOutline;
                    break;
                case 'y':
                    c = QColor(236, 190, 60);
                    break;
                case 'b':
                    c = QColor(58, 98, 196);
                    break;
                case 'd':
                    c = QColor(92, 58, 36);
                    break;
                default:
                    continue;
            }
            image.setPixelColor(x, y, c);
        }
    }
    outlineShapes(image, TileOutline);
    return image;
}

// The band that slides in over the title: the keeper pushing a long train of crates, the
// first ones already home.
void drawBand(QImage& title) {
    QPainter p(&title);
    for (int y = 0; y < quarbel::BandHeight; ++y) {
        p.fillRect(
            0, y, quarbel::BandWidth, 1,
            mix(QColor(44, 40, 96), QColor(12, 12, 30), y / double(quarbel::BandHeight - 1)));
    }
    p.fillRect(0, 0, quarbel::BandWidth, 1, QColor(110, 110, 190));
    p.fillRect(0, quarbel::BandHeight - 2, quarbel::BandWidth, 1, QColor(200, 150, 50));
    p.fillRect(0, quarbel::BandHeight - 1, quarbel::BandWidth, 1, QColor(90, 60, 20));

    QImage crates = transparentImage(quarbel::BandWidth, quarbel::BandHeight);
    {
        QPainter c(&crates);
        int n = 0;
        for (int x = quarbel::BandWidth - 20; x > 24; x -= 18, ++n) {
            drawCrate(c, n < 4 ? homeCrate() : plainCrate(), x, 3, 14, 8, 6);
        }
    }
    outlineShapes(crates, TileOutline);
    p.drawImage(0, 0, crates);
    p.drawImage(12, 2, tinyKeeper());
}

// A little room of real tiles, drawn the way the board is drawn, its edges fading into the
// black over fade pixels.
void drawRoom(QImage& target, const std::vector<std::string>& rows, int x, int y, int fade) {
    QImage room = renderRoom(rows);
    for (int ry = 0; ry < room.height(); ++ry) {
        for (int rx = 0; rx < room.width(); ++rx) {
            const int edge = std::min({rx, ry, room.width() - 1 - rx, room.height() - 1 - ry});
            if (edge < fade) {
                room.setPixelColor(rx, ry,
                                   shade(room.pixelColor(rx, ry), (edge + 1.0) / (fade + 1)));
            }
        }
    }
    QPainter(&target).drawImage(x, y, room);
}

void drawCentredText(QImage& target, const QString& text, int y, const BlockStyle& style) {
    drawBlockText(target, text, (target.width() - blockTextWidth(text, style.size)) / 2, y, style);
}

const BlockStyle NameStyle{13, QColor(255, 226, 110), QColor(236, 104, 40), QColor(120, 34, 24), 5};
const BlockStyle YearStyle{9, QColor(170, 255, 170), QColor(40, 170, 90), QColor(20, 80, 50), 4};
const BlockStyle HintStyle{2, QColor(140, 220, 255), QColor(70, 140, 230), QColor(20, 30, 70), 1};

}  // namespace

QImage makeTitlePicture() {
    QImage title(TitleWidth, TitleHeight, QImage::Format_RGB32);
    title.fill(Qt::black);
    drawBand(title);
    drawCentredText(title, "QUARBEL", 44, NameStyle);
    drawCentredText(title, "98", 152, YearStyle);
    drawRoom(title, {" ############# ", " #*. @$   $.*# ", " ############# ", "               "},
             (TitleWidth - quarbel::BufferSide) / 2, 226, 12);
    drawCentredText(title, "PRESS ANY KEY", 380, HintStyle);
    return title;
}

QImage makeSideStrip() {
    QImage strip(StripWidth, StripHeight, QImage::Format_RGB32);
    strip.fill(Qt::black);
    const BlockStyle letters{6, NameStyle.top, NameStyle.bottom, NameStyle.depth, 3};
    const QString name = "QUARBEL";
    for (int i = 0; i < name.size(); ++i) {
        const QString letter(name[i]);
        drawBlockText(strip, letter, (StripWidth - blockTextWidth(letter, 6)) / 2, 14 + i * 52,
                      letters);
    }
    const BlockStyle year{5, YearStyle.top, YearStyle.bottom, YearStyle.depth, 2};
    drawBlockText(strip, "98", (StripWidth - blockTextWidth("98", 5)) / 2, 384, year);
    drawRoom(strip, {"$*", "+$", " ."}, (StripWidth - 2 * quarbel::CellPitch) / 2, 440, 4);
    return strip;
}

}  // namespace artwork
