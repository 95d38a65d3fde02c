// The board drawing: tile compositing, the order cells are drawn in, the region of a partial
// drawing and the rectangle it renews, and the board as shown scaled.
#include <gtest/gtest.h>

#include <QPainter>

#include "core/engine.h"
#include "sheets.h"
#include "support/fakefrontend.h"
#include "ui/render/images.h"
#include "ui/render/renderer.h"

namespace quarbel::testing {
namespace {

constexpr QRgb Wall = 0xffc0c0c0u;
constexpr QRgb Crate = 0xffa05000u;
constexpr QRgb Target = 0xff00a000u;
constexpr QRgb Overlay = 0xffffff00u;
constexpr QRgb Keeper = 0xffff0000u;

// Top-left corner of the tile of cell (x, y) in the buffer.
constexpr int tileLeft(int x) {
    return (x - 1) * CellPitch - TileLeftOfCell;
}
constexpr int tileTop(int y) {
    return (y - 1) * CellPitch - TileAboveCell;
}

Renderer rendererWith(const SheetBuilder& builder) {
    Renderer renderer;
    renderer.loadAssets(assetsWith(builder.sheet));
    return renderer;
}

// Sheet whose board tiles are opaque squares of one colour each.
SheetBuilder opaqueSheet() {
    SheetBuilder builder;
    builder.paintWhole(WallTile, Wall).paintWhole(CrateTile, Crate).paintWhole(TargetTile, Target);
    for (int facing = 1; facing <= 4; ++facing)
        builder.paintWhole(KeeperTile(facing), Keeper);
    return builder;
}

TEST(TileCompositing, CombinesEachChannelWithAndThenXor) {
    constexpr QRgb mask = 0xff3c0ff0u;
    constexpr QRgb image = 0xff112233u;
    SheetBuilder builder;
    builder.pixel(WallTile, 7, 9, mask, image);
    Renderer renderer = rendererWith(builder);
    GameState s = stateFromRows({"", " #"});

    renderer.drawBoard(s, true, true);

    const std::uint32_t expected = ((BackgroundColour & mask) ^ image) | 0xff000000u;
    EXPECT_EQ(renderer.frontPicture().at(tileLeft(2) + 7, tileTop(2) + 9), expected);
    // White mask and black image leave the background.
    EXPECT_EQ(renderer.frontPicture().at(tileLeft(2) + 8, tileTop(2) + 9), BackgroundColour);
}

TEST(TileCompositing, TileReachesIntoItsNeighbours) {
    Renderer renderer = rendererWith(opaqueSheet());
    GameState s = stateFromRows({"", "", "", "", "    #"});

    renderer.drawBoard(s, true, true);

    // Cell (5, 5) owns 148..184 both ways; its tile covers 146..195 across and 145..194 down:
    // 2 pixels into the cell on the left, 11 to the right, 3 above and 10 below.
    const PixelBuffer& front = renderer.frontPicture();
    EXPECT_EQ(front.at(146, 145), Wall);
    EXPECT_EQ(front.at(195, 194), Wall);
    EXPECT_EQ(front.at(145, 160), BackgroundColour);
    EXPECT_EQ(front.at(196, 160), BackgroundColour);
    EXPECT_EQ(front.at(160, 144), BackgroundColour);
    EXPECT_EQ(front.at(160, 195), BackgroundColour);
    EXPECT_EQ(countNotShowing(front, BackgroundColour), TileSide * TileSide);
}

TEST(TileCompositing, LaterCellsCoverTheKeepersOverhang) {
    Renderer renderer = rendererWith(opaqueSheet());
    GameState s = stateFromRows({"", "", "", "    $", "   $@$", "    $"});

    renderer.drawBoard(s, true, true);

    // Columns are drawn left to right, each from the top: the keeper at (5, 5) covers the
    // crates above and to the left, and is covered by those below and to the right.
    const PixelBuffer& front = renderer.frontPicture();
    EXPECT_EQ(front.at(170, 150), Keeper);  // overlap with the crate above
    EXPECT_EQ(front.at(150, 170), Keeper);  // overlap with the crate on the left
    EXPECT_EQ(front.at(170, 190), Crate);   // overlap with the crate below
    EXPECT_EQ(front.at(190, 170), Crate);   // overlap with the crate on the right

    // Diagonal neighbours tell columns from rows: the crate above on the right is drawn
    // after the keeper, the one below on the left before it.
    s = stateFromRows({"", "", "", "     $", "    @", "   $"});
    renderer.drawBoard(s, true, true);
    EXPECT_EQ(front.at(190, 150), Crate);
    EXPECT_EQ(front.at(150, 190), Keeper);
}

TEST(TileCompositing, CrateOnTargetIsAnOverlayOverTheTarget) {
    SheetBuilder builder = opaqueSheet();
    builder.paint(CrateOnTargetTile, QRect(20, 20, 10, 10), Overlay);
    Renderer renderer = rendererWith(builder);
    GameState s = stateFromRows({"", "", "  *"});

    renderer.drawBoard(s, true, true);

    const PixelBuffer& front = renderer.frontPicture();
    EXPECT_EQ(front.at(tileLeft(3) + 25, tileTop(3) + 25), Overlay);
    EXPECT_EQ(front.at(tileLeft(3) + 5, tileTop(3) + 5), Target);
    EXPECT_EQ(countNotShowing(front, BackgroundColour), TileSide * TileSide);
}

TEST(TileCompositing, KeeperOnTargetShowsTheTargetAroundIt) {
    SheetBuilder builder;
    builder.paintWhole(TargetTile, Target).paint(KeeperTile(3), QRect(20, 20, 10, 10), Keeper);
    Renderer renderer = rendererWith(builder);
    GameState s = stateFromRows({"", "", "  +"});

    renderer.drawBoard(s, true, true);

    EXPECT_EQ(renderer.frontPicture().at(tileLeft(3) + 25, tileTop(3) + 25), Keeper);
    EXPECT_EQ(renderer.frontPicture().at(tileLeft(3) + 5, tileTop(3) + 5), Target);
}

TEST(TileCompositing, ImpossibleFacingDrawsNoKeeper) {
    Renderer renderer = rendererWith(opaqueSheet());
    GameState s = stateFromRows({"", "", "  @"});
    s.facing = 0;

    renderer.drawBoard(s, true, true);

    EXPECT_EQ(countNotShowing(renderer.frontPicture(), BackgroundColour), 0);
}

// Partial drawings: the front buffer is first covered with walls, then the board is put back
// as the last drawing saw it, so that every pixel a drawing renews stops showing wall.
class PartialDrawing : public ::testing::Test {
  protected:
    void coverWithWalls(GameState& s) {
        const GameState kept = s;
        s.board.cells.fill(CellWall);
        s.keeperX = 0;
        renderer.drawBoard(s, true, true);
        s = kept;
        s.boardSnapshot = kept.board;
        ASSERT_EQ(countNotShowing(renderer.frontPicture(), Wall), 0);
    }

    // Checks the returned rectangle against the pixels that were really renewed.
    void expectRenewed(Rect returned, Rect expected) {
        EXPECT_EQ(returned, expected);
        EXPECT_EQ(areaNotShowing(renderer.frontPicture(), Wall), expected);
        EXPECT_EQ(countNotShowing(renderer.frontPicture(), Wall), expected.width * expected.height);
    }

    Renderer renderer = rendererWith(opaqueSheet());
    FakeFrontend ui;
};

TEST_F(PartialDrawing, WalkRenewsTwoCellsAroundTheKeeper) {
    GameState s = stateFromRows({"", "", "", "", "", "", "", "      @"});
    coverWithWalls(s);

    stepKeeper(s, ui, KeyRight);  // to (8, 8)

    expectRenewed(renderer.drawBoard(s, false, true), rectBetween(222, 222, 344, 344));
}

TEST_F(PartialDrawing, RegionIsClampedAtTheCorners) {
    GameState s = stateFromRows({"@"});
    coverWithWalls(s);
    expectRenewed(renderer.drawBoard(s, false, true), rectBetween(0, 0, 85, 85));

    s.keeperX = 15;
    s.keeperY = 15;
    coverWithWalls(s);
    expectRenewed(renderer.drawBoard(s, false, true), rectBetween(481, 481, 555, 555));
}

TEST_F(PartialDrawing, PushRenewsTwoCellsBeyondTheKeeper) {
    GameState s = stateFromRows({"", "", "", "", "", "", "", "       @$"});
    coverWithWalls(s);

    stepKeeper(s, ui, KeyRight);  // keeper to (9, 8), crate to (10, 8)

    expectRenewed(renderer.drawBoard(s, false, true), rectBetween(259, 222, 381, 344));
}

TEST_F(PartialDrawing, UndonePushReachesThreeCellsOnThePushSide) {
    GameState s = stateFromRows({"", "", "", "", "", "", "", "       @$"});
    stepKeeper(s, ui, KeyRight);
    coverWithWalls(s);

    undoMove(s, ui);  // keeper back to (8, 8), crate from (10, 8) back to (9, 8)

    expectRenewed(renderer.drawBoard(s, false, true), rectBetween(222, 222, 381, 344));
}

TEST_F(PartialDrawing, RegionTakesInEveryCellChangedSinceTheLastDrawing) {
    GameState s = stateFromRows({"", "", "", "", "", "", "", "       @"});
    coverWithWalls(s);

    s.board.at(2, 12) = CellTarget;

    expectRenewed(renderer.drawBoard(s, false, true), rectBetween(0, 222, 344, 455));
    EXPECT_EQ(s.boardSnapshot, s.board);
    // Compared with that drawing, nothing has changed any more.
    coverWithWalls(s);
    expectRenewed(renderer.drawBoard(s, false, true), rectBetween(222, 222, 344, 344));
}

TEST_F(PartialDrawing, OverhangOutsideTheRenewedRectangleIsNotCopied) {
    // Crates at (7, 8), just inside the region's left edge, and at (6, 9) in its outer ring.
    GameState s = stateFromRows({"", "", "", "", "", "", "", "      $@", "     $"});
    coverWithWalls(s);

    renderer.drawBoard(s, false, true);

    const PixelBuffer& front = renderer.frontPicture();
    EXPECT_EQ(front.at(221, 290), Wall);  // the crate's 2 pixels into column 6 stay old
    EXPECT_EQ(front.at(222, 290), Crate);
    EXPECT_EQ(front.at(232, 300), Crate);  // the outer ring's overhang into column 7
    EXPECT_EQ(front.at(221, 300), Wall);   // the outer ring itself stays old
    EXPECT_EQ(front.at(300, 344), Wall);   // below the renewed rectangle
}

TEST_F(PartialDrawing, FullDrawingRenewsTheWholeBuffer) {
    GameState s = stateFromRows({"", "", "", "", "", "", "", "       @"});
    coverWithWalls(s);

    expectRenewed(renderer.drawBoard(s, true, true), rectBetween(0, 0, 555, 555));
}

TEST_F(PartialDrawing, KeeperFarOffTheBoardRenewsNothing) {
    GameState s = stateFromRows({""});
    s.keeperX = 26;  // a level record read past the end of its pack
    s.keeperY = 26;
    coverWithWalls(s);

    EXPECT_TRUE(renderer.drawBoard(s, false, true).empty());
    EXPECT_EQ(countNotShowing(renderer.frontPicture(), Wall), 0);
}

// What the board image shows at the given side: the front buffer painted scaled, the whole of
// it or the part showing a renewed rectangle over what was shown before.
QImage shownBoard(const Renderer& renderer, int side) {
    QImage shown(side, side, QImage::Format_RGB32);
    QPainter painter(&shown);
    drawScaled(painter, QPoint(0, 0), renderer.frontPicture(), shown.size(), shown.rect());
    return shown;
}

QRect shownArea(Rect renewed, int side) {
    const Rect r = scaledArea(renewed, BufferSide, BufferSide, side, side);
    return QRect(r.left, r.top, r.width, r.height);
}

void paintRenewed(const Renderer& renderer, Rect renewed, QImage& shown) {
    QPainter painter(&shown);
    drawScaled(painter, QPoint(0, 0), renderer.frontPicture(), shown.size(),
               shownArea(renewed, shown.width()));
}

// The board as shown, for a board image of the given side.
class ShownBoard : public ::testing::TestWithParam<int> {};

TEST_P(ShownBoard, ShowsEachCellWhereTheMouseFindsIt) {
    const int side = GetParam();
    SheetBuilder builder;
    builder.paint(WallTile, QRect(TileLeftOfCell, TileAboveCell, CellPitch, CellPitch),
                  Wall);  // exactly its own cell
    Renderer renderer = rendererWith(builder);
    // Walls on a chequer pattern: every cell edge is a colour edge.
    GameState s = stateFromRows({""});
    for (int x = 1; x <= BoardSide; ++x) {
        for (int y = 1; y <= BoardSide; ++y)
            s.board.at(x, y) = (x + y) % 2 ? CellEmpty : CellWall;
    }
    renderer.drawBoard(s, true, true);

    const QImage frame = shownBoard(renderer, side);
    for (int X = 0; X < side; ++X) {
        for (int Y = 0; Y < side; Y += 7) {
            // The mouse maps frame pixel (X, Y) to column X * 15 / side + 1.
            const int column = X * 15 / side + 1;
            const int row = Y * 15 / side + 1;
            const QRgb expected = (column + row) % 2 ? BackgroundColour : Wall;
            ASSERT_EQ(frame.pixel(X, Y), expected) << "frame pixel " << X << "," << Y;
        }
    }
}

TEST_P(ShownBoard, PaintingWhatEachDrawingRenewedGivesTheWholeBoard) {
    const int side = GetParam();
    Renderer renderer = rendererWith(opaqueSheet());
    FakeFrontend ui;
    GameState s = stateFromRows({"", "", "", "  #####", "  # $ ..", "  #@ $ *", "  #####"});
    renderer.drawBoard(s, true, true);
    QImage shown = shownBoard(renderer, side);
    for (KeyCode key : {KeyRight, KeyUp, KeyRight, KeyRight, KeyDown, KeyLeft}) {
        stepKeeper(s, ui, key);
        paintRenewed(renderer, renderer.drawBoard(s, false, true), shown);
    }
    undoMove(s, ui);
    paintRenewed(renderer, renderer.drawBoard(s, false, false), shown);

    EXPECT_EQ(shown, shownBoard(renderer, side));
    for (int X : {0, side / 3, side - 1}) {
        for (int Y : {0, side / 2, side - 1}) {
            EXPECT_EQ(shown.pixel(X, Y),
                      renderer.frontPicture().at(X * BufferSide / side, Y * BufferSide / side));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sides, ShownBoard, ::testing::Values(555, 1035, 723, 300));

TEST(ShownBoardArea, HoldsEveryShownPixelThatChanged) {
    Renderer renderer = rendererWith(opaqueSheet());
    GameState s = stateFromRows({"", "", "", "", "", "", "", "       @"});
    renderer.drawBoard(s, true, true);
    const QImage before = shownBoard(renderer, 1035);

    s.keeperX = 9;
    const QRect area = shownArea(renderer.drawBoard(s, false, true), 1035);

    const QImage after = shownBoard(renderer, 1035);
    int changed = 0;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (before.pixel(x, y) == after.pixel(x, y)) continue;
            ++changed;
            ASSERT_TRUE(area.contains(x, y)) << x << "," << y;
        }
    }
    EXPECT_GT(changed, 0);
}

}  // namespace
}  // namespace quarbel::testing
