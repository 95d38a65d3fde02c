// The image control: paints its picture one to one and reports the mouse.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "ui/render/images.h"

namespace quarbel::testing {
namespace {

void send(QWidget& widget, QEvent::Type type, Qt::MouseButton button, QPointF at) {
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

TEST(ImageView, PaintsThePictureOneToOne) {
    QImage picture(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x)
            picture.setPixel(x, y, 0xff000000u | (x * 6 << 16) | y * 8);
    }
    ImageView view;
    view.resize(40, 30);
    view.showImage(&picture);

    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);

    EXPECT_EQ(shown, picture);
    // Drawing into the picture shows at the next painting.
    picture.setPixel(5, 5, 0xffffffffu);
    EXPECT_EQ(view.grab().toImage().pixel(5, 5), 0xffffffffu);
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

}  // namespace
}  // namespace quarbel::testing
