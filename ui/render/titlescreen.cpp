#include "ui/render/titlescreen.h"

namespace quarbel {

void TitleScreen::setPicture(const QImage& title) {
    titlePicture_ = bufferFromImage(title);
    bandPicture_ = PixelBuffer(BandWidth, BandHeight);
    const Rect band{0, 0, BandWidth, BandHeight};
    copyRect(titlePicture_, targetOf(bandPicture_), band);
    fillRect(targetOf(titlePicture_), band, 0xff000000u);
}

void TitleScreen::release() {
    titlePicture_ = PixelBuffer();
    bandPicture_ = PixelBuffer();
}

void TitleScreen::drawTitleBand(int x) {
    copyAt(bandPicture_, targetOf(titlePicture_), x, 0);
}

bool TitleScreen::startanimTimer(GameState& s) {
    if (s.titleBandOffset <= 0) return false;
    s.titleBandOffset -= BandStep;
    drawTitleBand(-s.titleBandOffset);
    return true;
}

}  // namespace quarbel
