// Small drawing helpers shared by the pictures: colours, outlines, the crate, the block font.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

namespace artwork {

// Scales a colour's brightness; factors above 1 lighten towards white.
QColor shade(const QColor& colour, double factor);

// Mixes b into a: 0 gives a, 1 gives b.
QColor mix(const QColor& a, const QColor& b, double amount);

// A fresh picture with every pixel transparent.
QImage transparentImage(int width, int height);

// The outline of the tiles and of the title pictures.
inline const QColor TileOutline(20, 22, 32);

// Gives every transparent pixel that touches an opaque one (left, right, above, below) the
// outline colour, so shapes read crisply on any background.
void outlineShapes(QImage& art, const QColor& outline);

// The crate's wood, so the same box can be plain, home on a target, or tiny.
struct CratePalette {
    QColor lid;
    QColor front;
    QColor frame;
    QColor grain;
    QColor fitting;
};
CratePalette plainCrate();
CratePalette homeCrate();

// A wooden box seen from above and in front: a lid of lidHeight rows over a front face of
// frontHeight rows, width pixels wide, its top-left corner at (x, y).
void drawCrate(QPainter& painter, const CratePalette& palette, int x, int y, int width,
               int lidHeight, int frontHeight);

// Capital letters, digits and a few signs drawn from 5 x 7 blocks, each block size pixels
// square with a light top-left and a dark bottom-right edge. The colour runs from top to
// bottom over the seven block rows.
struct BlockStyle {
    int size;
    QColor top;
    QColor bottom;
    QColor depth;  // the extruded side, drawn down and to the right
    int depthSteps;
};
int blockTextWidth(const QString& text, int size);
void drawBlockText(QImage& target, const QString& text, int x, int y, const BlockStyle& style);

}  // namespace artwork
