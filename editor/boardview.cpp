#include "editor/boardview.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/render/images.h"
#include "ui/render/renderer.h"

namespace quarbel::editor {

BoardView::BoardView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize BoardView::sizeHint() const {
    return {BufferSide, BufferSide};
}

QSize BoardView::minimumSizeHint() const {
    return {BoardSide * 16, BoardSide * 16};
}

int BoardView::boardSide() const {
    const int room = std::min(width(), height());
    if (room >= BufferSide) return room / BufferSide * BufferSide;
    return std::max(room / BoardSide, 1) * BoardSide;
}

QRect BoardView::boardRect() const {
    const int side = boardSide();
    return {(width() - side) / 2, (height() - side) / 2, side, side};
}

Cell BoardView::cellAt(QPoint point) const {
    const QRect board = boardRect();
    auto index = [&](int offset) {
        return std::clamp(offset * BoardSide / board.width() + 1, 1, BoardSide);
    };
    return {index(point.x() - board.left()), index(point.y() - board.top())};
}

void BoardView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    const QRect board = boardRect();
    if (frame_ != nullptr) {
        drawScaled(painter, board.topLeft(), *frame_, board.size(), QRect(QPoint(), board.size()));
    } else {
        painter.setPen(palette().color(QPalette::BrightText));
        painter.drawText(board.adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap,
                         placeholder_);
    }
    // A faint grid on the cell borders, light enough not to hide the tiles.
    painter.setPen(QColor(255, 255, 255, 40));
    for (int k = 0; k <= BoardSide; ++k) {
        const int at = k * board.width() / BoardSide;
        painter.drawLine(board.left() + at, board.top(), board.left() + at, board.bottom());
        painter.drawLine(board.left(), board.top() + at, board.right(), board.top() + at);
    }
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    if (!boardRect().contains(event->position().toPoint())) return;
    dragging_ = true;
    if (onPress) onPress(event->button(), cellAt(event->position().toPoint()));
}

void BoardView::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && onDrag) onDrag(cellAt(event->position().toPoint()));
}

void BoardView::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->buttons() != Qt::NoButton) return;
    dragging_ = false;
    if (onRelease) onRelease();
}

void BoardView::keyPressEvent(QKeyEvent* event) {
    if (onKey && onKey(event)) return;
    QWidget::keyPressEvent(event);
}

}  // namespace quarbel::editor
