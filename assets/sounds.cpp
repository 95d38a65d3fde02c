#include "assets/sounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sounds {
namespace {

constexpr double TwoPi = 2.0 * std::numbers::pi;

// A mixing buffer in floating point, turned into 16-bit samples at the end.
class Track {
  public:
    explicit Track(double seconds) : mix_(static_cast<std::size_t>(seconds * SampleRate), 0.0) {}

    // A soft, bell-like tone: a sine with a little of its octave and twelfth, a quick attack
    // and an exponential fade.
    void addNote(double start, double length, double frequency, double volume) {
        const auto first = static_cast<std::size_t>(start * SampleRate);
        const auto count = static_cast<std::size_t>(length * SampleRate);
        for (std::size_t i = 0; i < count && first + i < mix_.size(); ++i) {
            const double t = static_cast<double>(i) / SampleRate;
            const double attack = std::min(1.0, t / 0.006);
            const double release = std::min(1.0, (length - t) / 0.02);
            const double envelope = attack * release * std::exp(-t * 3.5 / length);
            const double phase = TwoPi * frequency * t;
            const double vibrato = 1.0 + 0.003 * std::sin(TwoPi * 5.5 * t);
            const double tone = std::sin(phase * vibrato) + 0.3 * std::sin(2.0 * phase) +
                                0.12 * std::sin(3.0 * phase);
            mix_[first + i] += volume * envelope * tone;
        }
    }

    // A short wooden tap: a falling sine with a whisper of filtered noise.
    void addTap(double length) {
        std::uint32_t noise = 12345;
        double smoothed = 0.0;
        double phase = 0.0;
        const auto count = static_cast<std::size_t>(length * SampleRate);
        for (std::size_t i = 0; i < count && i < mix_.size(); ++i) {
            const double t = static_cast<double>(i) / SampleRate;
            noise = noise * 1664525u + 1013904223u;
            const double white = static_cast<double>(noise >> 8) / (1u << 24) * 2.0 - 1.0;
            smoothed += 0.25 * (white - smoothed);
            phase += TwoPi * (1400.0 * std::exp(-t * 60.0) + 500.0) / SampleRate;
            const double attack = std::min(1.0, t / 0.0015);
            const double envelope = attack * std::exp(-t * 70.0);
            mix_[i] += envelope * (0.8 * std::sin(phase) + 0.35 * smoothed);
        }
    }

    // The mix scaled so its loudest moment reaches peak (1 is full scale).
    Samples samples(double peak) const {
        double loudest = 0.0;
        for (double v : mix_)
            loudest = std::max(loudest, std::abs(v));
        const double gain = loudest > 0.0 ? peak / loudest : 0.0;
        Samples out;
        out.reserve(mix_.size());
        for (double v : mix_)
            out.push_back(static_cast<std::int16_t>(std::lround(v * gain * 32767)));
        return out;
    }

  private:
    std::vector<double> mix_;
};

double noteFrequency(int semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

void putLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void putTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

}  // namespace

Samples undoClick() {
    Track track(0.09);
    track.addTap(0.09);
    return track.samples(0.3);
}

Samples doneJingle() {
    // A rising C major arpeggio that lands on a ringing chord.
    constexpr int C5 = 3, E5 = 7, G5 = 10, C6 = 15, E6 = 19;
    Track track(1.05);
    const double step = 0.09;
    int n = 0;
    for (int note : {C5, E5, G5, C6}) {
        track.addNote(step * n++, 0.22, noteFrequency(note), 1.0);
    }
    const double chord = step * n;
    for (int note : {C5, G5, C6, E6}) {
        track.addNote(chord, 1.05 - chord, noteFrequency(note), 0.6);
    }
    return track.samples(0.6);
}

std::vector<std::uint8_t> waveFile(const Samples& samples) {
    constexpr std::uint32_t BytesPerSample = 2;
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * BytesPerSample);
    std::vector<std::uint8_t> out;
    putTag(out, "RIFF");
    putLittleEndian(out, 36 + dataSize, 4);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putLittleEndian(out, 16, 4);  // size of the format chunk
    putLittleEndian(out, 1, 2);   // PCM
    putLittleEndian(out, 1, 2);   // mono
    putLittleEndian(out, SampleRate, 4);
    putLittleEndian(out, SampleRate * BytesPerSample, 4);
    putLittleEndian(out, BytesPerSample, 2);
    putLittleEndian(out, 16, 2);  // bits per sample
    putTag(out, "data");
    putLittleEndian(out, dataSize, 4);
    for (std::int16_t s : samples)
        putLittleEndian(out, static_cast<std::uint16_t>(s), 2);
    return out;
}

}  // namespace sounds
