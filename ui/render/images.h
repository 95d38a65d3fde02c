// The window's image controls: the board image zeichenflaeche, the title picture titelflaeche
// and the side strip titel2. Each shows a picture one to one and passes the mouse on.
#pragma once

#include <QIcon>
#include <QImage>
#include <QWidget>
#include <functional>
#include <string_view>

class QPointF;

namespace quarbel {

// A picture file of the working folder, found as the old platform found it (letter case
// ignored); a null image when there is no such regular file or it holds no picture.
QImage readImageFile(std::string_view fileName, const char* format = nullptr);

// The game's icon picture at every size desktops ask for; an empty icon for a null picture.
QIcon iconOfAllSizes(const QImage& picture);

// The pixel under a pointer position. At a device pixel ratio above 1 positions have fractions;
// the pixel is the one the position lies in (rounding would give the next one from its middle
// on), also left of or above the control.
QPoint pixelAt(const QPointF& position);

class ImageView : public QWidget {
  public:
    using ButtonHandler = std::function<void(Qt::MouseButton button, int x, int y)>;
    using MoveHandler = std::function<void(int x, int y)>;

    explicit ImageView(QWidget* parent = nullptr);

    // Shows the picture from the top-left corner, unscaled; nullptr shows nothing. The picture
    // is not copied, so drawing into it never copies it either: it must outlive the showing,
    // and update() shows what changed.
    void showImage(const QImage* image);
    const QImage* shownImage() const { return image_; }

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
    const QImage* image_ = nullptr;
};

}  // namespace quarbel
