// Reading the four picture files, cutting the sheet and scaling the background.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <array>
#include <filesystem>

#include "core/gameerror.h"
#include "sheets.h"
#include "support/packbuilder.h"
#include "ui/render/renderer.h"

namespace quarbel::testing {
namespace {

constexpr std::array<const char*, 4> FileNames = {"titel2.bmp", "titel.bmp", "backgr8.bmp",
                                                  "playal8n.bmp"};

void writePictures(const ScratchFolder& folder, const AssetImages& images, std::size_t count) {
    const std::array<const QImage*, 4> pictures = {&images.side, &images.title, &images.background,
                                                   &images.tileSheet};
    for (std::size_t i = 0; i < count; ++i) {
        ASSERT_TRUE(pictures[i]->save(
            QString::fromStdString((folder.path() / FileNames[i]).string()), "BMP"));
    }
}

std::string loadError() {
    Renderer renderer;
    try {
        renderer.loadAssets();
    } catch (const GameError& error) {
        return error.what();
    }
    return "";
}

TEST(LoadAssets, ReadsThePicturesFromTheWorkingFolder) {
    ScratchFolder folder;
    SheetBuilder builder;
    builder.paintWhole(WallTile, 0xffc0c0c0u);
    AssetImages images = assetsWith(builder.sheet);
    images.side = solidImage(33, 77, 0xff123456u);
    writePictures(folder, images, 4);
    Renderer renderer;

    renderer.loadAssets();

    EXPECT_EQ(renderer.sidePicture().width, 33);
    EXPECT_EQ(renderer.sidePicture().height, 77);
    EXPECT_EQ(renderer.titleScreen().picture().width, 640);
    EXPECT_EQ(renderer.titleScreen().picture().height, 40);
    GameState s;
    s.board.at(3, 3) = CellWall;
    renderer.drawBoard(s, true, true);
    EXPECT_EQ(renderer.frontPicture().at(100, 100), 0xffc0c0c0u);
    EXPECT_EQ(renderer.frontPicture().at(10, 10), BackgroundColour);
}

TEST(LoadAssets, NamesTheFirstPictureThatIsMissing) {
    for (std::size_t present = 0; present < FileNames.size(); ++present) {
        ScratchFolder folder;
        writePictures(folder, assetsWith(SheetBuilder().sheet), present);
        EXPECT_EQ(loadError(), std::string("Kann Datei ") + FileNames[present] + " nicht öffnen.");
    }
}

TEST(LoadAssets, NamesAPictureThatCannotBeDecoded) {
    ScratchFolder folder;
    writePictures(folder, assetsWith(SheetBuilder().sheet), 4);
    folder.writeFile("backgr8.bmp", "BM this is no bitmap");

    EXPECT_EQ(loadError(), "Kann Datei backgr8.bmp nicht öffnen.");
}

TEST(LoadAssets, APictureThatIsNoFileIsMissingAndNothingWaits) {
    ScratchFolder folder;
    writePictures(folder, assetsWith(SheetBuilder().sheet), 4);
    std::filesystem::remove("titel.bmp");
    ASSERT_EQ(::mkfifo("titel.bmp", 0666), 0);
    EXPECT_EQ(loadError(), "Kann Datei titel.bmp nicht öffnen.");
}

TEST(LoadAssets, TilesBeyondASmallSheetAreTransparent) {
    // Only the first 100 x 100 pixels: the keeper looking up lies inside but for the last row
    // of its mask, the one looking left also loses its last column, the one looking right
    // lies wholly outside.
    QImage sheet = solidImage(100, 100, 0xff000000u);
    Renderer renderer;
    renderer.loadAssets(assetsWith(sheet));
    GameState s;
    s.keeperX = 5;
    s.keeperY = 5;
    const int left = 4 * CellPitch - TileLeftOfCell;
    const int top = 4 * CellPitch - TileAboveCell;

    s.facing = 1;
    renderer.drawBoard(s, true, true);
    EXPECT_EQ(renderer.frontPicture().at(left + 48, top + 48), 0xff000000u);
    EXPECT_EQ(renderer.frontPicture().at(left + 10, top + 49), BackgroundColour);

    s.facing = 2;
    renderer.drawBoard(s, true, true);
    EXPECT_EQ(renderer.frontPicture().at(left + 48, top + 10), 0xff000000u);
    EXPECT_EQ(renderer.frontPicture().at(left + 49, top + 10), BackgroundColour);

    s.facing = 4;
    renderer.drawBoard(s, true, true);
    EXPECT_EQ(countNotShowing(renderer.frontPicture(), BackgroundColour), 0);
}

TEST(LoadAssets, CutsEveryTileFromItsPlaceInTheSheet) {
    // Each tile a colour of its own; the gap pixels between tiles are red and never shown.
    QImage sheet = solidImage(SheetWidth, SheetHeight, 0xffff0000u);
    auto colourOf = [](SheetTile tile) { return 0xff000000u | (tile.column << 4 | tile.row) << 8; };
    for (int row = 0; row < SheetRows; row += 2) {
        for (int column = 0; column < SheetColumns; ++column) {
            const SheetTile tile{column, row};
            for (int y = 0; y < TileSide; ++y) {
                for (int x = 0; x < TileSide; ++x) {
                    sheet.setPixel(tile.left() + x, tile.imageTop() + y, colourOf(tile));
                    sheet.setPixel(tile.left() + x, tile.maskTop() + y, 0xff000000u);
                }
            }
        }
    }
    Renderer renderer;
    renderer.loadAssets(assetsWith(sheet));
    auto shownAt = [&renderer](GameState s, int code, bool eyesOpen) {
        s.board.at(2, 2) = static_cast<std::uint8_t>(code);
        renderer.drawBoard(s, true, eyesOpen);
        const PixelBuffer& front = renderer.frontPicture();
        // The tile's corners and its middle.
        const int left = CellPitch - TileLeftOfCell;
        const int top = CellPitch - TileAboveCell;
        EXPECT_EQ(front.at(left, top), front.at(left + TileSide - 1, top + TileSide - 1));
        EXPECT_EQ(front.at(left, top), front.at(60, 60));
        return front.at(60, 60);
    };
    GameState empty;

    EXPECT_EQ(shownAt(empty, CellWall, true), colourOf(WallTile));
    EXPECT_EQ(shownAt(empty, CellCrate, true), colourOf(CrateTile));
    EXPECT_EQ(shownAt(empty, CellTarget, true), colourOf(TargetTile));
    // The opaque overlay covers the target.
    EXPECT_EQ(shownAt(empty, CellCrateOnTarget, true), colourOf(CrateOnTargetTile));
    for (int facing = 1; facing <= 4; ++facing) {
        GameState keeper;
        keeper.keeperX = 2;
        keeper.keeperY = 2;
        keeper.facing = facing;
        EXPECT_EQ(shownAt(keeper, CellEmpty, true), colourOf(KeeperTile(facing)));
        EXPECT_EQ(shownAt(keeper, CellEmpty, false), colourOf(KeeperBlinkTile(facing)));
    }
}

TEST(LoadAssets, ScalesTheBackgroundByNearestNeighbour) {
    QImage background(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x)
            background.setPixel(x, y, 0xff000000u | (x << 8 | y));
    }
    AssetImages images = assetsWith(SheetBuilder().sheet);
    images.background = background;
    Renderer renderer;

    renderer.loadAssets(images);
    GameState empty;
    renderer.drawBoard(empty, true, true);

    // Buffer pixel x shows background column x * 3 / 555: column 1 starts at 185, 2 at 370;
    // row 1 starts at 278.
    const PixelBuffer& front = renderer.frontPicture();
    EXPECT_EQ(front.at(184, 277), background.pixel(0, 0));
    EXPECT_EQ(front.at(185, 277), background.pixel(1, 0));
    EXPECT_EQ(front.at(369, 278), background.pixel(1, 1));
    EXPECT_EQ(front.at(370, 278), background.pixel(2, 1));
    EXPECT_EQ(front.at(554, 554), background.pixel(2, 1));
}

TEST(ReleaseAssets, LeavesNothingToDraw) {
    Renderer renderer;
    renderer.loadAssets(assetsWith(SheetBuilder().sheet));
    renderer.releaseAssets();
    GameState s;

    EXPECT_TRUE(renderer.drawBoard(s, true, true).empty());
    EXPECT_TRUE(renderer.frontPicture().pixels.empty());
    EXPECT_TRUE(renderer.titleScreen().picture().pixels.empty());
    EXPECT_TRUE(renderer.sidePicture().pixels.empty());
}

}  // namespace
}  // namespace quarbel::testing
