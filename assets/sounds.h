// The game's two sounds, synthesised: a soft click for undo and a short happy jingle for a
// solved level. Plain C++, written out as PCM wave files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sounds {

constexpr int SampleRate = 22050;

using Samples = std::vector<std::int16_t>;

Samples undoClick();
Samples doneJingle();

// A complete RIFF/WAVE file: 16-bit mono PCM at SampleRate.
std::vector<std::uint8_t> waveFile(const Samples& samples);

}  // namespace sounds
