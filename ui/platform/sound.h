// The wave player on the desktop's default audio output, through the sound module
// (wavemodule.h), which is loaded when the first sound is to play.
#pragma once

#include <QLibrary>
#include <memory>
#include <string>

#include "core/frontend.h"
#include "ui/platform/wavemodule.h"

namespace quarbel {

class WaveSoundPlayer : public SoundPlayer {
  public:
    // The sound module is looked for in this folder: the game's program's own.
    explicit WaveSoundPlayer(const std::string& moduleFolder);
    ~WaveSoundPlayer() override;

    bool setFileName(std::string_view fileName) override;
    // Fails without the sound module, an audio output or a readable file; the game then plays
    // on silently.
    bool open() override;
    bool isPlaying() override;
    bool play() override;

  private:
    WaveEffect* effect();

    std::string fileName_;
    QLibrary module_;
    bool moduleTried_ = false;
    std::unique_ptr<WaveEffect> effect_;
};

}  // namespace quarbel
