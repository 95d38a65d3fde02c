// The wave player on the desktop's default audio output.
#pragma once

#include <memory>
#include <string>

#include "core/frontend.h"

class QSoundEffect;

namespace quarbel {

class WaveSoundPlayer : public SoundPlayer {
  public:
    WaveSoundPlayer();
    ~WaveSoundPlayer() override;

    bool setFileName(std::string_view fileName) override;
    // Fails without an audio output or a readable file; the game then plays on silently.
    bool open() override;
    bool isPlaying() override;
    bool play() override;

  private:
    std::string fileName_;
    std::unique_ptr<QSoundEffect> effect_;
};

}  // namespace quarbel
