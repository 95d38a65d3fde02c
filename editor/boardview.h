// The board as the editor shows it: the game's own renderer scaled to a whole-number zoom
// that fits the widget, with a faint grid over the cells. Mouse presses and drags are
// reported as cells; keys go to whoever listens.
#pragma once

#include <QWidget>
#include <functional>

#include "editor/level.h"
#include "ui/render/pixels.h"

namespace quarbel::editor {

class BoardView : public QWidget {
  public:
    explicit BoardView(QWidget* parent = nullptr);

    // The picture of the whole board, 555 pixels square, shown scaled to boardSide(); not
    // copied, so it must outlive the showing.
    void showFrame(const PixelBuffer* frame) {
        frame_ = frame;
        update();
    }
    // Shown in place of the board while there is no frame.
    void setPlaceholder(const QString& text) {
        placeholder_ = text;
        update();
    }
    // The side the board is drawn at: 555 times the largest whole number that fits, or the
    // largest multiple of 15 below 555 in a small widget.
    int boardSide() const;

    std::function<void(Qt::MouseButton button, Cell cell)> onPress;
    std::function<void(Cell cell)> onDrag;  // while a button is held
    std::function<void()> onRelease;
    std::function<bool(QKeyEvent* event)> onKey;  // true when the key was used

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QRect boardRect() const;
    // The cell under a point, held inside the grid so that a drag past the edge follows it.
    Cell cellAt(QPoint point) const;

    const PixelBuffer* frame_ = nullptr;
    QString placeholder_;
    bool dragging_ = false;
};

}  // namespace quarbel::editor
