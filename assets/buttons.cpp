// The movie panel's button pictures and the window icon.
#include <QPainter>
#include <QPolygon>

#include "assets/artwork.h"
#include "assets/paint.h"
#include "ui/render/buttonlooks.h"
#include "ui/render/iconsizes.h"
#include "ui/render/picturefiles.h"

namespace artwork {
namespace {

const QColor ButtonOutline(14, 16, 24);
const QColor StepColour(120, 190, 255);

QPolygon triangleRight(int x, int y, int width, int height) {
    return QPolygon({{x, y}, {x + width - 1, y + height / 2}, {x, y + height - 1}});
}

QPolygon triangleLeft(int x, int y, int width, int height) {
    return QPolygon({{x + width - 1, y}, {x, y + height / 2}, {x + width - 1, y + height - 1}});
}

// Icons are flat shapes; bars get a lit top row and a shaded bottom row.
void fill(QImage& icon, const QPolygon& shape, const QColor& colour) {
    QPainter p(&icon);
    p.setPen(colour);
    p.setBrush(colour);
    p.drawPolygon(shape);
}

void fill(QImage& icon, const QRect& shape, const QColor& colour) {
    QPainter p(&icon);
    p.fillRect(shape, colour);
    p.fillRect(shape.left(), shape.top(), shape.width(), 1, shade(colour, 1.4));
    p.fillRect(shape.left(), shape.bottom(), shape.width(), 1, shade(colour, 0.7));
}

// Both looks side by side on the button face: the icon, and its greyed twin whose pixels
// are thinned out to every other one.
QImage bothLooks(const QImage& icon) {
    const int w = icon.width();
    QImage picture(2 * w, quarbel::ButtonLookHeight, QImage::Format_RGB32);
    picture.fill(quarbel::PictureButtonFace);
    const QColor grey(118, 122, 136);
    for (int y = 0; y < quarbel::ButtonLookHeight; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb pixel = icon.pixel(x, y);
            if (qAlpha(pixel) < 128) continue;
            picture.setPixel(x, y, pixel | 0xff000000u);
            if ((x + y) % 2 == 0) picture.setPixelColor(w + x, y, grey);
        }
    }
    return picture;
}

QImage finished(QImage icon) {
    outlineShapes(icon, ButtonOutline);
    return bothLooks(icon);
}

QImage arrows(bool forward, int count) {
    const int width = count == 1 ? quarbel::NarrowLookWidth : quarbel::WideLookWidth;
    QImage icon = transparentImage(width, quarbel::ButtonLookHeight);
    const int arrow = 10;
    const int gap = count == 1 ? 0 : -1;
    const int span = count * arrow + (count - 1) * gap;
    const int x0 = (width - span) / 2;
    for (int i = 0; i < count; ++i) {
        const int x = x0 + i * (arrow + gap);
        fill(icon, forward ? triangleRight(x, 6, arrow, 13) : triangleLeft(x, 6, arrow, 13),
             StepColour);
    }
    return finished(icon);
}

QImage play() {
    QImage icon = transparentImage(quarbel::NarrowLookWidth, quarbel::ButtonLookHeight);
    fill(icon, triangleRight(5, 5, 10, 15), QColor(80, 226, 100));
    fill(icon, triangleRight(6, 8, 4, 6), QColor(170, 255, 180));
    return finished(icon);
}

QImage stop() {
    QImage icon = transparentImage(quarbel::NarrowLookWidth, quarbel::ButtonLookHeight);
    fill(icon, QRect(4, 7, 10, 10), QColor(228, 70, 70));
    return finished(icon);
}

QImage backToStart() {
    QImage icon = transparentImage(quarbel::NarrowLookWidth, quarbel::ButtonLookHeight);
    fill(icon, QRect(3, 6, 3, 13), QColor(186, 226, 60));
    fill(icon, triangleLeft(7, 6, 9, 13), StepColour);
    return finished(icon);
}

}  // namespace

std::vector<ButtonPicture> makeButtonPictures() {
    return {{quarbel::PlayButtonFile, play()},
            {quarbel::StopButtonFile, stop()},
            {quarbel::BackToStartButtonFile, backToStart()},
            {quarbel::BackButtonFile, arrows(false, 1)},
            {quarbel::ForwardButtonFile, arrows(true, 1)},
            {quarbel::TenBackButtonFile, arrows(false, 2)},
            {quarbel::TenForwardButtonFile, arrows(true, 2)}};
}

// The window icon: a crate at home, green and gold, with the target's glow under it.
QImage makeWindowIcon() {
    QImage icon = transparentImage(32, 32);
    {
        QPainter p(&icon);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 220, 110, 110));
        p.drawEllipse(0, 20, 32, 12);
        drawCrate(p, homeCrate(), 3, 2, 26, 14, 12);
    }
    outlineShapes(icon, ButtonOutline);
    return icon;
}

QImage windowIconAt(int size) {
    return quarbel::iconAtSize(makeWindowIcon(), size);
}

}  // namespace artwork
