// The caption control: its two looks pixel by pixel, where the caption sits, and which
// presses and releases click.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <functional>
#include <initializer_list>

#include "qtprint.h"
#include "ui/coolbtn/coolbtn.h"

namespace {

using quarbel::TCoolButton;

const QColor Background(0, 0, 128);
const QColor Caption(255, 255, 0);
const QColor Shadow(128, 128, 128);
const QColor Pressed(255, 0, 0);

QFont windowFont() {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(16);
    return font;
}

// The caption's glyphs are drawn unsmoothed, so every pixel is one of the four colours.
QFont glyphFont(const TCoolButton& button) {
    QFont font = button.font();
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

QSize captionSize(const TCoolButton& button) {
    const QFontMetrics metrics(glyphFont(button));
    return {metrics.horizontalAdvance(button.caption()), metrics.height()};
}

// The pixels set by the caption when its text box starts at origin.
QImage glyphs(const TCoolButton& button, QPoint origin) {
    QImage mask(button.size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    QPainter painter(&mask);
    painter.setFont(glyphFont(button));
    painter.setPen(Qt::white);
    painter.drawText(origin.x(), origin.y() + QFontMetrics(glyphFont(button)).ascent(),
                     button.caption());
    return mask;
}

bool isGlyph(const QImage& mask, int x, int y) {
    return mask.pixel(x, y) == qRgb(255, 255, 255);
}

int glyphCount(const QImage& mask) {
    int count = 0;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x)
            count += isGlyph(mask, x, y);
    }
    return count;
}

QImage normalLook(const TCoolButton& button, QPoint origin) {
    const QImage caption = glyphs(button, origin);
    const QImage shadow1 = glyphs(button, origin + QPoint(1, 1));
    const QImage shadow2 = glyphs(button, origin + QPoint(2, 2));
    QImage look(button.size(), QImage::Format_RGB32);
    for (int y = 0; y < look.height(); ++y) {
        for (int x = 0; x < look.width(); ++x) {
            QColor colour = Background;
            if (isGlyph(shadow1, x, y) || isGlyph(shadow2, x, y)) colour = Shadow;
            if (isGlyph(caption, x, y)) colour = Caption;
            look.setPixelColor(x, y, colour);
        }
    }
    return look;
}

// Only the caption two pixels down and right is left; the rest is wiped to the background.
QImage pressedLook(const TCoolButton& button, QPoint origin) {
    const QImage moved = glyphs(button, origin + QPoint(2, 2));
    QImage look(button.size(), QImage::Format_RGB32);
    for (int y = 0; y < look.height(); ++y) {
        for (int x = 0; x < look.width(); ++x) {
            look.setPixelColor(x, y, isGlyph(moved, x, y) ? Pressed : Background);
        }
    }
    return look;
}

QImage rendered(TCoolButton& button) {
    return button.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int differingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    }
    return count;
}

class CountingPaints : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

class CoolButton : public ::testing::Test {
  protected:
    CoolButton() : button(&window) {
        button.setFont(windowFont());
        button.setCaption(QStringLiteral("UNDO"));
        button.setFarbehin(Background);
        button.setFarbevor(Caption);
        button.setFarbeSchatten(Shadow);
        button.setFarbepressed(Pressed);
        // Seven pixels wider and five taller than the caption: it starts at (3, 2).
        const QSize text = captionSize(button);
        button.setGeometry(10, 10, text.width() + 7, text.height() + 5);
        QObject::connect(&button, &TCoolButton::clicked, [this] { ++clicks; });
        window.resize(200, 100);
        window.show();
    }

    bool looksNormal() {
        return differingPixels(rendered(button), normalLook(button, origin)) == 0;
    }
    bool looksPressed() {
        return differingPixels(rendered(button), pressedLook(button, origin)) == 0;
    }

    QPoint centre() const { return button.rect().center(); }
    void press(QPoint at, Qt::MouseButton which = Qt::LeftButton) {
        QTest::mousePress(&button, which, {}, at);
    }
    void moveTo(QPoint at) { QTest::mouseMove(&button, at); }
    void release(QPoint at, Qt::MouseButton which = Qt::LeftButton) {
        QTest::mouseRelease(&button, which, {}, at);
    }

    QWidget window;
    TCoolButton button;
    const QPoint origin{3, 2};
    int clicks = 0;
};

TEST_F(CoolButton, NormalLookFillsThenShadowsThenCaptionAtTheCentre) {
    ASSERT_GT(glyphCount(glyphs(button, origin)), 0);
    const QImage expected = normalLook(button, origin);
    EXPECT_EQ(differingPixels(rendered(button), expected), 0);
    // The shadow peeks out beside the caption, so the offsets matter.
    EXPECT_TRUE(expected.pixelColor(0, 0) == Background);
    EXPECT_NE(differingPixels(expected, normalLook(button, origin + QPoint(1, 0))), 0);
}

TEST_F(CoolButton, PressedLookLeavesOnlyTheMovedCaptionInThePressedColour) {
    press(centre());
    EXPECT_TRUE(looksPressed());
    EXPECT_FALSE(looksNormal());
}

TEST_F(CoolButton, CaptionLargerThanTheControlStartsAtATruncatedNegativeOffset) {
    const QSize text = captionSize(button);
    // (-3) / 2 and (-1) / 2 truncate toward zero: the caption starts at (-1, 0).
    button.resize(text.width() - 3, text.height() - 1);
    EXPECT_EQ(differingPixels(rendered(button), normalLook(button, {-1, 0})), 0);
    EXPECT_NE(differingPixels(rendered(button), normalLook(button, {-2, -1})), 0);
    press(button.rect().center());
    EXPECT_EQ(differingPixels(rendered(button), pressedLook(button, {-1, 0})), 0);
}

TEST_F(CoolButton, EveryColourIsBlackUnlessSet) {
    TCoolButton plain(&window);
    plain.setFont(windowFont());
    plain.setCaption(QStringLiteral("START"));
    plain.resize(80, 24);
    const QImage look = rendered(plain);
    for (int y = 0; y < look.height(); ++y) {
        for (int x = 0; x < look.width(); ++x)
            ASSERT_EQ(look.pixel(x, y), qRgb(0, 0, 0));
    }
}

TEST_F(CoolButton, DisabledControlLooksTheSameAndIgnoresPresses) {
    const QImage enabledLook = rendered(button);
    button.setEnabled(false);
    EXPECT_EQ(differingPixels(rendered(button), enabledLook), 0);
    press(centre());
    EXPECT_TRUE(looksNormal());
    release(centre());
    EXPECT_EQ(clicks, 0);
}

TEST_F(CoolButton, DisablingDuringAPressEndsIt) {
    press(centre());
    button.setEnabled(false);
    EXPECT_TRUE(looksNormal());
    button.setEnabled(true);
    moveTo(centre());
    EXPECT_TRUE(looksNormal());
    release(centre());
    EXPECT_EQ(clicks, 0);
}

TEST_F(CoolButton, ColoursTakeEffectAtTheNextPaintingWithoutRepainting) {
    CountingPaints counter;
    button.installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;

    button.setFarbevor(Pressed);
    button.setFarbehin(Caption);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    EXPECT_TRUE(rendered(button).pixelColor(0, 0) == Caption);

    for (const auto& change : std::initializer_list<std::function<void()>>{
             [&] { button.setCaption(QStringLiteral("7")); },
             [&] { button.setFont(QFont(QStringLiteral("Arial"), 9)); },
             [&] { button.setEnabled(false); },
         }) {
        counter.paints = 0;
        change();
        QCoreApplication::processEvents();
        EXPECT_GT(counter.paints, 0);
    }
}

TEST_F(CoolButton, DraggedBackBeforeTheReleaseClicks) {
    press(centre());
    moveTo({centre().x(), -3});
    EXPECT_TRUE(looksNormal());
    moveTo(centre());
    EXPECT_TRUE(looksPressed());
    release(centre());
    EXPECT_EQ(clicks, 1);
}

// A release over the control clicks; every release leaves the normal look.
TEST_F(CoolButton, OverTheControlIncludesThePixelRowJustBelowIt) {
    const int w = button.width();
    const int h = button.height();
    const struct {
        QPoint at;
        bool over;
    } cases[] = {
        {{w / 2, h / 2}, true}, {{0, 0}, true},       {{w - 1, h - 1}, true},
        {{w / 2, h}, true},     {{w - 1, h}, true},   {{w / 2, h + 1}, false},
        {{w, h / 2}, false},    {{-1, h / 2}, false}, {{w / 2, -1}, false},
    };
    for (const auto& point : cases) {
        SCOPED_TRACE(QStringLiteral("at %1, %2").arg(point.at.x()).arg(point.at.y()).toStdString());
        clicks = 0;
        press(centre());
        moveTo(point.at);
        EXPECT_EQ(looksPressed(), point.over);
        release(point.at);
        EXPECT_EQ(clicks, point.over ? 1 : 0);
        EXPECT_TRUE(looksNormal());
    }
}

TEST_F(CoolButton, OnlyTheLeftButtonPressesAndClicks) {
    for (const Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) {
        press(centre(), other);
        EXPECT_TRUE(looksNormal());
        release(centre(), other);
    }
    EXPECT_EQ(clicks, 0);

    // Another button released during a left press neither ends the press nor clicks.
    press(centre());
    press(centre(), Qt::RightButton);
    release(centre(), Qt::RightButton);
    EXPECT_TRUE(looksPressed());
    EXPECT_EQ(clicks, 0);
    release(centre());
    EXPECT_EQ(clicks, 1);
}

TEST_F(CoolButton, DoubleClickClicksTwice) {
    press(centre());
    release(centre());
    QTest::mouseDClick(&button, Qt::LeftButton, {}, centre());
    EXPECT_TRUE(looksPressed());
    release(centre());
    EXPECT_EQ(clicks, 2);
}

}  // namespace
