// The pictures of the game, drawn in code so they can be restyled and rebuilt.
#pragma once

#include <QImage>

#include <string>
#include <vector>

namespace artwork {

// The board floor: one identical slab per cell, as large as the work buffer.
QImage makeBackground();

// All board tiles, laid out as ui/render/tilesheet.h describes.
QImage makeTileSheet();

// A small room drawn exactly the way the game draws the board: the floor, then every
// cell column by column with (buffer AND mask) XOR image. Rows use '#' wall, '$' crate,
// '.' target, '*' crate on target, '@' keeper facing right, '+' keeper on a target.
QImage renderRoom(const std::vector<std::string>& rows);

QImage makeTitlePicture();
QImage makeSideStrip();

// One picture per movie button: the normal look on the left, the greyed look on the right.
struct ButtonPicture {
    const char* fileName;
    QImage picture;
};
std::vector<ButtonPicture> makeButtonPictures();

QImage makeWindowIcon();

// The window icon at size x size for the desktop's icon theme: whole multiples of its 32
// pixels repeat each pixel, so the pixel art stays crisp; other sizes are scaled smoothly
// from the next larger multiple.
QImage windowIconAt(int size);

}  // namespace artwork
