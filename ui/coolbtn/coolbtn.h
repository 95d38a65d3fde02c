// The game's caption control: one centred line of text with a two-pixel drop shadow on a
// solid background, used for every text button and, disabled, for every label.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QPainter;

namespace quarbel {

class TCoolButton : public QWidget {
    Q_OBJECT

  public:
    explicit TCoolButton(QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

    // The colours take effect at the next painting; setting one does not repaint.
    void setFarbevor(const QColor& colour) { farbevor_ = colour; }            // caption
    void setFarbehin(const QColor& colour) { farbehin_ = colour; }            // background
    void setFarbepressed(const QColor& colour) { farbepressed_ = colour; }    // pressed caption
    void setFarbeSchatten(const QColor& colour) { farbeSchatten_ = colour; }  // shadow

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void paintButton(QPainter& painter) const;
    bool isOver(QPointF position) const;
    void setDown(bool down);

    QString caption_;
    QColor farbevor_ = Qt::black;
    QColor farbehin_ = Qt::black;
    QColor farbepressed_ = Qt::black;
    QColor farbeSchatten_ = Qt::black;
    bool down_ = false;
    bool pressing_ = false;  // from a left press on the enabled control to its release
};

}  // namespace quarbel
