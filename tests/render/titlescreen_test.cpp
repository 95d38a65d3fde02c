// The title picture and its sliding band, and the GAME button.
#include <gtest/gtest.h>

#include "core/play.h"
#include "support/fakefrontend.h"
#include "support/packbuilder.h"
#include "ui/render/titlescreen.h"

namespace quarbel::testing {
namespace {

// Every pixel a colour of its own.
QImage patternImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 0xff000000u | (x << 8) | y);
    }
    return image;
}

int ticksUntilStopped(TitleScreen& title, GameState& s) {
    int ticks = 0;
    while (title.startanimTimer(s))
        ++ticks;
    return ticks;
}

TEST(TitleScreen, BandIsCutOutAndBlackedOut) {
    const QImage original = patternImage(700, 30);
    TitleScreen title;

    title.setPicture(original);

    const PixelBuffer& picture = title.picture();
    EXPECT_EQ(picture.at(0, 0), 0xff000000u);
    EXPECT_EQ(picture.at(639, 19), 0xff000000u);
    EXPECT_EQ(picture.at(640, 19), original.pixel(640, 19));  // beyond the band
    EXPECT_EQ(picture.at(5, 20), original.pixel(5, 20));      // below the band
    EXPECT_EQ(title.bandPicture().at(0, 0), original.pixel(0, 0));
    EXPECT_EQ(title.bandPicture().at(639, 19), original.pixel(639, 19));
}

TEST(TitleScreen, BandSlidesInFromTheLeftFourPixelsATick) {
    const QImage original = patternImage(700, 30);
    TitleScreen title;
    title.setPicture(original);
    GameState s;

    ASSERT_TRUE(title.startanimTimer(s));

    EXPECT_EQ(s.titleBandOffset, 636);
    // The band's right end comes first.
    EXPECT_EQ(title.picture().at(0, 7), original.pixel(636, 7));
    EXPECT_EQ(title.picture().at(3, 7), original.pixel(639, 7));
    EXPECT_EQ(title.picture().at(4, 7), 0xff000000u);

    EXPECT_EQ(ticksUntilStopped(title, s), 159);
    EXPECT_EQ(s.titleBandOffset, 0);
    EXPECT_EQ(title.picture(), bufferFromImage(original));
}

TEST(TitleScreen, StoppedBandStaysWhereItWas) {
    TitleScreen title;
    title.setPicture(patternImage(700, 30));
    GameState s;
    for (int tick = 0; tick < 10; ++tick)
        title.startanimTimer(s);
    const PixelBuffer halfway = title.picture();

    s.titleBandOffset = 0;  // as entering the game does

    EXPECT_FALSE(title.startanimTimer(s));
    EXPECT_EQ(title.picture(), halfway);
}

TEST(TitleScreen, SmallPictureClipsTheBand) {
    const QImage original = patternImage(300, 12);
    TitleScreen title;
    title.setPicture(original);
    GameState s;

    EXPECT_EQ(ticksUntilStopped(title, s), 160);

    EXPECT_EQ(title.picture(), bufferFromImage(original));
    EXPECT_EQ(title.bandPicture().at(299, 11), original.pixel(299, 11));
    EXPECT_EQ(title.bandPicture().at(300, 0), 0xff000000u);
    EXPECT_EQ(title.bandPicture().at(0, 12), 0xff000000u);
}

}  // namespace
}  // namespace quarbel::testing
