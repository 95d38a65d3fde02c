#include "ui/render/images.h"

#include <QBuffer>
#include <QIconEngine>
#include <QImage>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "core/filefinder.h"
#include "core/files.h"
#include "ui/render/iconsizes.h"

namespace quarbel {

// Far more than any of the game's pictures takes (a 1920 x 1080 true-colour bitmap is 6 MB), and
// a bound to what a planted device or a damaged file can make the game read.
constexpr std::size_t MaxPictureBytes = std::size_t{32} << 20;

namespace {

// The format a file name's ending names, in small letters ("bmp", "png").
QByteArray formatOf(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return {};
    return QByteArray(fileName.data() + dot + 1, static_cast<qsizetype>(fileName.size() - dot - 1))
        .toLower();
}

}  // namespace

QImage readImageFile(std::string_view fileName) {
    const auto bytes = readFileIfAny(findName(fileName), MaxPictureBytes);
    if (!bytes) return {};
    QByteArray data = QByteArray::fromRawData(bytes->data(), static_cast<qsizetype>(bytes->size()));
    QBuffer device(&data);
    // With the format named and guessing off, Qt reads with its own reader for it; guessing
    // would load and ask every image plugin first (three libraries, 0.3 MB kept for good).
    QImageReader reader(&device, formatOf(fileName));
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

namespace {

// Grows each size from the small picture when a window asks for it. Kept as a set of grown
// pixmaps the sizes up to 256 pixels would hold 0.4 MB for the program's whole life, for a
// property each window sends its desktop once.
class GrownIconEngine : public QIconEngine {
  public:
    explicit GrownIconEngine(QImage picture) : picture_(std::move(picture)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        return QPixmap::fromImage(iconAtSize(picture_, std::min(size.width(), size.height())));
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int size : IconSizes)
            sizes.append(QSize(size, size));
        return sizes;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return QSize(side, side);
    }
    QIconEngine* clone() const override { return new GrownIconEngine(picture_); }

  private:
    QImage picture_;
};

}  // namespace

QIcon iconOfAllSizes(const QImage& picture) {
    if (picture.isNull()) return QIcon();
    return QIcon(new GrownIconEngine(picture));
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
