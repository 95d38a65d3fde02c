#include "ui/render/titlescreen.h"

namespace quarbel {

void TitleScreen::setPicture(const QImage& title) {
    titlePicture_ = title.convertToFormat(QImage::Format_RGB32);
    bandPicture_ = PixelBuffer(BandWidth, BandHeight);
    const PixelRect band{0, 0, BandWidth, BandHeight};
    copyRect(bufferFromImage(titlePicture_), targetOf(bandPicture_), band);
    fillRect(targetOf(titlePicture_), band, 0xff000000u);
}

void TitleScreen::release() {
    titlePicture_ = QImage();
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

QImage scaledSideStrip(const QImage& sidePicture, QSize size) {
    if (sidePicture.isNull() || size.isEmpty()) return QImage();
    QImage strip(size, QImage::Format_RGB32);
    scaleNearest(bufferFromImage(sidePicture), targetOf(strip),
                 {0, 0, size.width(), size.height()});
    return strip;
}

}  // namespace quarbel
