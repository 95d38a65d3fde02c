// Widget tests run headless on Qt's offscreen platform, on one 800 x 600 screen without
// window frames, the size the game's layout is drawn for.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" QUARBEL_OFFSCREEN_CONFIG);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
