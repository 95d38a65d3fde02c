// The window's image controls: the board image zeichenflaeche, the title picture titelflaeche
// and the side strip titel2. Each shows a picture scaled to its size and passes the mouse on.
#pragma once

#include <QIcon>
#include <QImage>
#include <QWidget>
#include <functional>
#include <string_view>

#include "ui/render/pixels.h"

class QPainter;
class QPointF;

namespace quarbel {

// A picture file of the working folder, found as the old platform found it (letter case
// ignored), in the format its name ends in; a null image when there is no such regular file
// or it holds no picture of that format.
QImage readImageFile(std::string_view fileName);

// The game's icon picture at every size desktops ask for; an empty icon for a null picture.
QIcon iconOfAllSizes(const QImage& picture);

// The pixel under a pointer position. At a device pixel ratio above 1 positions have fractions;
// the pixel is the one the position lies in (rounding would give the next one from its middle
// on), also left of or above the control.
QPoint pixelAt(const QPointF& position);

// Paints the pixels `area` of the picture scaled by nearest neighbour to `size` (as
// scaleNearest scales it), the scaled picture's top-left corner at `at`. A few rows at a time:
// no scaled copy of the whole picture is ever made.
void drawScaled(QPainter& painter, QPoint at, const PixelBuffer& picture, QSize size, QRect area);

class ImageView : public QWidget {
  public:
    using ButtonHandler = std::function<void(Qt::MouseButton button, int x, int y)>;
    using MoveHandler = std::function<void(int x, int y)>;

    explicit ImageView(QWidget* parent = nullptr);

    // Shows the picture scaled by nearest neighbour to the control's size, one to one when the
    // sizes agree; nullptr shows nothing. The picture is not copied: it must outlive the
    // showing, and updatePicture() shows what changed in it.
    void showPicture(const PixelBuffer* picture);
    const PixelBuffer* shownPicture() const { return picture_; }
    // Paints again the part of the control that shows this rectangle of the picture.
    void updatePicture(Rect area);

    // Positions are relative to the control. Presses are taken even without a handler.
    ButtonHandler onPress;
    MoveHandler onMove;
    ButtonHandler onRelease;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    const PixelBuffer* picture_ = nullptr;
};

}  // namespace quarbel
