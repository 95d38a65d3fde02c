#include "ui/render/images.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <string>

#include "core/filefinder.h"
#include "core/files.h"
#include "ui/render/iconsizes.h"

namespace quarbel {

// Far more than any of the game's pictures takes (a 1920 x 1080 true-colour bitmap is 6 MB), and
// a bound to what a planted device or a damaged file can make the game read.
constexpr std::size_t MaxPictureBytes = std::size_t{32} << 20;

QImage readImageFile(std::string_view fileName, const char* format) {
    const auto bytes = readFileIfAny(findName(fileName), MaxPictureBytes);
    if (!bytes) return {};
    return QImage::fromData(reinterpret_cast<const uchar*>(bytes->data()),
                            static_cast<int>(bytes->size()), format);
}

QIcon iconOfAllSizes(const QImage& picture) {
    QIcon icon;
    if (picture.isNull()) return icon;
    for (int size : IconSizes)
        icon.addPixmap(QPixmap::fromImage(iconAtSize(picture, size)));
    return icon;
}

QPoint pixelAt(const QPointF& position) {
    return QPoint(static_cast<int>(std::floor(position.x())),
                  static_cast<int>(std::floor(position.y())));
}

void drawScaled(QPainter& painter, QPoint at, const PixelBuffer& picture, QSize size, QRect area) {
    const QRect r = area.intersected(QRect(QPoint(0, 0), size));
    if (r.isEmpty() || picture.pixels.empty()) return;
    if (size == QSize(picture.width, picture.height)) {
        const QImage shown(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width,
                           picture.height, picture.width * 4, QImage::Format_RGB32);
        painter.drawImage(at + r.topLeft(), shown, r);
        return;
    }
    // About 128 kB of rows at a time.
    constexpr int BandPixels = 32 * 1024;
    QImage band(r.width(), std::clamp(BandPixels / r.width(), 1, r.height()), QImage::Format_RGB32);
    const PixelTarget out = targetOf(band);
    for (int top = r.top(); top <= r.bottom(); top += band.height()) {
        const int bottom = std::min(top + band.height(), r.bottom() + 1);
        scaleNearestPart(picture, size.width(), size.height(),
                         {r.left(), top, r.width(), bottom - top}, out);
        painter.drawImage(at + QPoint(r.left(), top), band, QRect(0, 0, r.width(), bottom - top));
    }
}

ImageView::ImageView(QWidget* parent) : QWidget(parent) {
    // Moves are reported with and without a button held, as the pointer crosses the picture.
    setMouseTracking(true);
}

void ImageView::showPicture(const PixelBuffer* picture) {
    picture_ = picture;
    update();
}

void ImageView::updatePicture(Rect area) {
    if (picture_ == nullptr || area.empty()) return;
    const Rect r = scaledArea(area, picture_->width, picture_->height, width(), height());
    update(r.left, r.top, r.width, r.height);
}

void ImageView::paintEvent(QPaintEvent* event) {
    if (picture_ == nullptr) return;
    QPainter painter(this);
    drawScaled(painter, QPoint(0, 0), *picture_, size(), event->rect());
}

void ImageView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = pixelAt(event->position());
    if (onPress) onPress(event->button(), at.x(), at.y());
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = pixelAt(event->position());
    if (onMove) onMove(at.x(), at.y());
}

void ImageView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = pixelAt(event->position());
    if (onRelease) onRelease(event->button(), at.x(), at.y());
}

}  // namespace quarbel
