#include "ui/render/compactpicture.h"

#include <gtest/gtest.h>

namespace quarbel {
namespace {

PixelBuffer pictureOfColours(int colours) {
    PixelBuffer picture(40, 30);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = 0xff000000u | static_cast<std::uint32_t>(i % colours) * 0x010203u;
    return picture;
}

// Up to 256 colours the picture is kept as palette indices, beyond that as it is; either
// way every pixel comes back, in whole and in parts reaching past either picture's edge.
TEST(CompactPicture, GivesBackEveryPixelWhateverItsColours) {
    for (const int colours : {1, 6, 256, 257, 1200}) {
        SCOPED_TRACE(colours);
        const PixelBuffer picture = pictureOfColours(colours);
        const CompactPicture compact(picture);

        EXPECT_EQ(compact.indexed(), colours <= 256);
        EXPECT_EQ(compact.expanded(), picture);
        for (const Rect area : {rectBetween(5, 3, 17, 9), rectBetween(-4, 20, 60, 45)}) {
            PixelBuffer fromCompact(35, 28, 0xff777777u);
            PixelBuffer fromPicture = fromCompact;
            compact.copyRect(targetOf(fromCompact), area);
            copyRect(picture, targetOf(fromPicture), area);
            EXPECT_EQ(fromCompact, fromPicture);
        }
    }
}

}  // namespace
}  // namespace quarbel
