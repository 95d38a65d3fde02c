// What the drawing benchmarks share: pictures with busy pixels in place of the game's art,
// and a window that only draws.
#pragma once

#include <benchmark/benchmark.h>

#include <QImage>

#include "core/gamestate.h"
#include "core/nullfrontend.h"
#include "ui/render/renderer.h"

namespace quarbel::bench {

// A window that only draws: everything else the engine asks for is dropped.
class DrawingFrontend : public NullFrontend {
  public:
    DrawingFrontend(Renderer& renderer, GameState& s) : renderer_(renderer), s_(s) {}

    int boardSide() const override { return renderer_.boardFrame().width(); }
    void drawBoard(bool full, bool eyesOpen) override {
        benchmark::DoNotOptimize(renderer_.drawBoard(s_, full, eyesOpen));
    }

  private:
    Renderer& renderer_;
    GameState& s_;
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
