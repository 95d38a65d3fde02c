// The sound module: a library of its own beside the game's program, loaded only when the first
// sound is to play, so that Qt Multimedia and the libraries it pulls in are not loaded at
// start. The game finds it by name and asks it for a wave player through one C function.
#pragma once

#include <string>

namespace quarbel {

class WaveEffect {
  public:
    virtual ~WaveEffect() = default;
    // Loads the wave file in place of the one open; false without an audio output or when the
    // file cannot be played.
    virtual bool open(const std::string& absolutePath) = 0;
    virtual void close() = 0;
    virtual bool isPlaying() const = 0;
    virtual bool play() = 0;
};

// The module's file in the program's folder and its one entry point, which returns a new
// player (nullptr when it cannot make one) that the caller deletes.
constexpr const char* SoundModuleFile = "quarbel98-sound.so";
constexpr const char* CreateWaveEffectName = "quarbelCreateWaveEffect";
using CreateWaveEffect = WaveEffect* (*)();

}  // namespace quarbel
