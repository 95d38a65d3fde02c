// The pace of the title band. The old platform delivered timer ticks on a grid of 64 a second,
// whatever shorter interval a timer asked for, and the band was made to slide in at that pace:
// 160 steps of 4 pixels in 2.5 s. A tick that comes late is not made up for, as there.
#pragma once

#include <algorithm>
#include <cstdint>

namespace quarbel {

class TickPace {
  public:
    static constexpr std::int64_t GridMicroseconds = 15625;  // 1/64 s

    // Starts the grid at `now`, in microseconds of a steady clock.
    void start(std::int64_t now) {
        start_ = now;
        lastTick_ = 0;
    }

    // Whole milliseconds from `now` to the next grid point not yet served, rounded up so that
    // the tick never comes before it; that grid point counts as served from here on.
    int millisecondsToNextTick(std::int64_t now) {
        const std::int64_t elapsed = std::max<std::int64_t>(now - start_, 0);
        lastTick_ = std::max(lastTick_ + 1, elapsed / GridMicroseconds + 1);
        const std::int64_t wait = lastTick_ * GridMicroseconds - elapsed;
        return static_cast<int>((wait + 999) / 1000);
    }

  private:
    std::int64_t start_ = 0;
    std::int64_t lastTick_ = 0;
};

}  // namespace quarbel
