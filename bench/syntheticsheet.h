// What the drawing benchmarks share: pictures with busy pixels in place of the game's art,
// and a window that only draws.
#pragma once

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "core/gamestate.h"
#include "core/nullfrontend.h"
#include "ui/render/images.h"
#include "ui/render/renderer.h"

namespace quarbel::bench {

// A window that only draws: the board is composited and what changed is painted scaled to
// `side` into a screen picture, as the board image paints it; everything else the engine asks
// for is dropped.
class DrawingFrontend : public NullFrontend {
  public:
    DrawingFrontend(Renderer& renderer, GameState& s, int side)
        : renderer_(renderer), s_(s), screen_(side, side, QImage::Format_RGB32) {}

    int boardSide() const override { return screen_.width(); }
    void drawBoard(bool full, bool eyesOpen) override {
        const Rect renewed = renderer_.drawBoard(s_, full, eyesOpen);
        const Rect shown =
            scaledArea(renewed, BufferSide, BufferSide, screen_.width(), screen_.height());
        QPainter painter(&screen_);
        drawScaled(painter, QPoint(0, 0), renderer_.frontPicture(), screen_.size(),
                   QRect(shown.left, shown.top, shown.width, shown.height));
    }
    const QImage& screen() const { return screen_; }

  private:
    Renderer& renderer_;
    GameState& s_;
    QImage screen_;
};

// A sheet and background with busy pixels, so that nothing is cheaper than with real art.
inline AssetImages syntheticAssets() {
    QImage sheet(SheetWidth, SheetHeight, QImage::Format_RGB32);
    for (int y = 0; y < sheet.height(); ++y) {
        const bool maskRow = y / TileGrid % 2 == 1;
        for (int x = 0; x < sheet.width(); ++x) {
            // A disc of radius 20 round the middle of each tile.
            const int dx = x % TileGrid - TileSide / 2;
            const int dy = y % TileGrid - TileSide / 2;
            const bool covered = dx * dx + dy * dy < 400;
            sheet.setPixel(x, y,
                           maskRow ? (covered ? 0xff000000u : 0xffffffffu)
                                   : (covered ? 0xff000000u | static_cast<QRgb>(x * 977 + y * 131)
                                              : 0xff000000u));
        }
    }
    QImage background(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            background.setPixel(x, y, 0xff000000u | (x * 4 << 8) | y * 4);
    }
    QImage title(640, 400, QImage::Format_RGB32);
    title.fill(0xff800000u);
    return {background, title, background, sheet};
}

}  // namespace quarbel::bench
