#include "ui/render/images.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <string>

#include "core/filefinder.h"
#include "ui/render/iconsizes.h"

namespace quarbel {

QImage readImageFile(std::string_view fileName, const char* format) {
    const auto bytes = readRegularFile(findName(fileName));
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

ImageView::ImageView(QWidget* parent) : QWidget(parent) {
    // Moves are reported with and without a button held, as the pointer crosses the picture.
    setMouseTracking(true);
}

void ImageView::showImage(const QImage* image) {
    image_ = image;
    update();
}

void ImageView::paintEvent(QPaintEvent* event) {
    if (image_ == nullptr || image_->isNull()) return;
    QPainter painter(this);
    painter.drawImage(event->rect().topLeft(), *image_, event->rect());
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
