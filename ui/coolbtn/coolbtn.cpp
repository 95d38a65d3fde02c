#include "ui/coolbtn/coolbtn.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

namespace quarbel {

TCoolButton::TCoolButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    // The normal look fills the whole rectangle, so nothing beneath needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TCoolButton::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void TCoolButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintButton(painter);
}

void TCoolButton::paintButton(QPainter& painter) const {
    // Unsmoothed glyphs set only their own pixels, so a caption drawn again in the
    // background colour wipes the earlier one without leaving a fringe.
    QFont glyphFont = font();
    glyphFont.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(glyphFont);
    const QFontMetrics metrics(glyphFont);
    const int x = (width() - metrics.horizontalAdvance(caption_)) / 2;
    const int y = (height() - metrics.height()) / 2;
    const auto drawCaption = [&](int offset, const QColor& colour) {
        painter.setPen(colour);
        painter.drawText(x + offset, y + offset + metrics.ascent(), caption_);
    };

    // Normal look.
    painter.fillRect(rect(), farbehin_);
    drawCaption(1, farbeSchatten_);
    drawCaption(2, farbeSchatten_);
    drawCaption(0, farbevor_);
    if (!down_) return;
    // The pressed look fills nothing: it is drawn over the normal look, wiping the caption
    // and the first shadow and covering the second one.
    drawCaption(0, farbehin_);
    drawCaption(1, farbehin_);
    drawCaption(2, farbepressed_);
}

void TCoolButton::changeEvent(QEvent* event) {
    // A disabled control looks like an up one and has lost its press.
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        pressing_ = false;
        down_ = false;
    }
    QWidget::changeEvent(event);  // repaints on a change of font or of the enabled state
}

// A disabled widget receives no mouse events, and the second press of a double click
// arrives here through QWidget::mouseDoubleClickEvent, so a double click clicks twice.
void TCoolButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressing_ = true;
    setDown(true);
}

void TCoolButton::mouseMoveEvent(QMouseEvent* event) {
    if (pressing_) setDown(isOver(event->position()));
}

void TCoolButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressing_) return;
    pressing_ = false;
    setDown(false);
    if (isOver(event->position())) emit clicked();
}

// The pixel row just below the control still counts as over it.
bool TCoolButton::isOver(QPointF position) const {
    const int px = qFloor(position.x());
    const int py = qFloor(position.y());
    return px >= 0 && px < width() && py >= 0 && py <= height();
}

void TCoolButton::setDown(bool down) {
    if (down == down_) return;
    down_ = down;
    update();
}

}  // namespace quarbel
