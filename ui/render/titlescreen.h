// The title screen: the title picture whose top band slides in from the left.
#pragma once

#include <QImage>

#include "core/gamestate.h"
#include "ui/render/pixels.h"

namespace quarbel {

constexpr int BandStep = 4;  // pixels per tick of startanim

class TitleScreen {
  public:
    // Takes the title picture, moves its top band (0, 0)-(640, 20) into the band picture and
    // leaves black in its place. Parts of the band beyond a smaller picture are black.
    void setPicture(const QImage& title);
    // Once the title screen is gone for good, its pictures go too.
    void release();

    // What titelflaeche shows, at its natural size.
    const PixelBuffer& picture() const { return titlePicture_; }
    const PixelBuffer& bandPicture() const { return bandPicture_; }

    // Copies the whole band onto the title picture with its left edge at x, replacing pixels.
    void drawTitleBand(int x);

    // One tick of startanim. Returns false when the timer is to be switched off.
    bool startanimTimer(GameState& s);

  private:
    PixelBuffer titlePicture_;
    PixelBuffer bandPicture_;
};

}  // namespace quarbel
