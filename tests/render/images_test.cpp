// The image control: paints its picture scaled to its size and reports the mouse.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include "support/packbuilder.h"
#include "ui/render/images.h"

namespace quarbel::testing {
namespace {

void send(QWidget& widget, QEvent::Type type, Qt::MouseButton button, QPointF at) {
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// Every pixel a colour of its own.
PixelBuffer pattern(int width, int height) {
    PixelBuffer picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.row(y)[x] = 0xff000000u | static_cast<std::uint32_t>(x << 10 | y);
    }
    return picture;
}

TEST(ImageView, PaintsThePictureOneToOne) {
    PixelBuffer picture = pattern(40, 30);
    ImageView view;
    view.resize(40, 30);
    view.showPicture(&picture);

    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);

    EXPECT_EQ(bufferFromImage(shown), picture);
    // Drawing into the picture shows at the next painting.
    picture.row(5)[5] = 0xffffffffu;
    EXPECT_EQ(view.grab().toImage().pixel(5, 5), 0xffffffffu);
}

TEST(ImageView, PaintsThePictureScaledToItsSize) {
    const PixelBuffer picture = pattern(40, 300);
    ImageView view;
    view.resize(51, 384);
    view.showPicture(&picture);

    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);

    ASSERT_EQ(shown.size(), QSize(51, 384));
    EXPECT_EQ(shown.pixel(50, 383), picture.at(39, 299));
    EXPECT_EQ(shown.pixel(25, 100), picture.at(25 * 40 / 51, 100 * 300 / 384));
}

// Painted a band of rows at a time, a part of the picture comes out exactly as scaling the
// whole picture gives it, and nothing beside the part is touched.
TEST(DrawScaled, PaintsThePartAsTheWholeScalingGivesIt) {
    constexpr QRgb Untouched = 0xff123456u;
    for (const QSize size : {QSize(1035, 1035), QSize(555, 555), QSize(300, 200)}) {
        const PixelBuffer picture = pattern(555, 555);
        PixelBuffer whole(size.width(), size.height());
        scaleNearest(picture, targetOf(whole), {0, 0, size.width(), size.height()});
        QImage screen(size.width() + 20, size.height() + 20, QImage::Format_RGB32);
        screen.fill(Untouched);
        const QRect area(17, 23, size.width() - 40, size.height() - 30);

        QPainter painter(&screen);
        drawScaled(painter, QPoint(10, 10), picture, size, area);
        painter.end();

        for (int y = 0; y < screen.height(); ++y) {
            for (int x = 0; x < screen.width(); ++x) {
                const bool inside = area.contains(x - 10, y - 10);
                ASSERT_EQ(screen.pixel(x, y), inside ? whole.at(x - 10, y - 10) : Untouched)
                    << size.width() << ": " << x << "," << y;
            }
        }
    }
}

TEST(ImageView, ReportsButtonsAndPositions) {
    ImageView view;
    view.resize(100, 100);
    std::vector<std::string> calls;
    auto button = [](Qt::MouseButton b) { return b == Qt::LeftButton ? "left" : "right"; };
    view.onPress = [&](Qt::MouseButton b, int x, int y) {
        calls.push_back(std::string("press ") + button(b) + " " + std::to_string(x) + "," +
                        std::to_string(y));
    };
    view.onMove = [&](int x, int y) {
        calls.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    };
    view.onRelease = [&](Qt::MouseButton b, int x, int y) {
        calls.push_back(std::string("release ") + button(b) + " " + std::to_string(x) + "," +
                        std::to_string(y));
    };

    send(view, QEvent::MouseButtonPress, Qt::RightButton, {12, 34});
    send(view, QEvent::MouseMove, Qt::NoButton, {56, 7});
    send(view, QEvent::MouseButtonRelease, Qt::LeftButton, {99, 0});

    EXPECT_EQ(calls,
              (std::vector<std::string>{"press right 12,34", "move 56,7", "release left 99,0"}));
}

// A picture is read in the format its name ends in, whatever the letter case on disk, and
// nothing guesses another format from its bytes.
TEST(PictureFiles, AreReadInTheFormatTheirNameSays) {
    ScratchFolder folder;
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(0xff336699u);
    ASSERT_TRUE(picture.save("Shown.PNG", "PNG"));
    ASSERT_TRUE(picture.save("disguised.bmp", "PNG"));

    const QImage read = readImageFile("shown.png");
    ASSERT_EQ(read.size(), QSize(3, 2));
    EXPECT_EQ(read.pixel(2, 1), 0xff336699u);
    EXPECT_TRUE(readImageFile("disguised.bmp").isNull());
    EXPECT_TRUE(readImageFile("absent.png").isNull());
}

TEST(GameIcon, GrowsEverySizeFromTheSmallPicture) {
    QImage picture(32, 32, QImage::Format_ARGB32);
    picture.fill(0xff000000u);
    picture.setPixel(0, 0, 0xffffffffu);
    const QIcon icon = iconOfAllSizes(picture);

    for (int size : {16, 24, 48, 256}) {
        const QImage grown = icon.pixmap(size, size).toImage();
        ASSERT_EQ(grown.size(), QSize(size, size));
        EXPECT_EQ(grown.pixel(size - 1, size - 1), 0xff000000u) << size;
    }
    // Whole pixels on the way up: the corner pixel covers 8 x 8 at 256.
    const QImage largest = icon.pixmap(256, 256).toImage();
    EXPECT_EQ(largest.pixel(7, 7), 0xffffffffu);
    EXPECT_EQ(largest.pixel(8, 8), 0xff000000u);
    EXPECT_TRUE(iconOfAllSizes(QImage()).isNull());
}

}  // namespace
}  // namespace quarbel::testing
