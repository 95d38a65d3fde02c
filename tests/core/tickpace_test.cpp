// The title band's pace: ticks on the old platform's grid of 64 a second.
#include "core/tickpace.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace quarbel {
namespace {

constexpr std::int64_t Grid = TickPace::GridMicroseconds;

// The tick times of a timer that fires exactly when it was asked to, from `start` on.
std::vector<std::int64_t> tickTimes(std::int64_t start, int ticks) {
    TickPace pace;
    pace.start(start);
    std::vector<std::int64_t> times;
    std::int64_t now = start;
    for (int tick = 0; tick < ticks; ++tick) {
        now += pace.millisecondsToNextTick(now) * 1000;
        times.push_back(now);
    }
    return times;
}

TEST(TickPace, TicksOnTheGridNeverEarlyAndLessThanAMillisecondLate) {
    const std::int64_t start = 123'456'789;  // any point of the clock
    const auto times = tickTimes(start, 161);
    for (std::size_t k = 0; k < times.size(); ++k) {
        const std::int64_t due = start + static_cast<std::int64_t>(k + 1) * Grid;
        EXPECT_GE(times[k], due) << k;
        EXPECT_LT(times[k], due + 1000) << k;
    }
    // The band's 160 drawings take 2.5 s; the 161st tick switches the timer off.
    EXPECT_EQ(times[159] - start, 2'500'000);
}

TEST(TickPace, ALateTickIsNotMadeUpFor) {
    TickPace pace;
    pace.start(0);
    EXPECT_EQ(pace.millisecondsToNextTick(0), 16);  // 15.625 ms, rounded up
    // The window was busy for 100 ms: the next tick is the next grid point, not a burst of
    // the six that were missed.
    EXPECT_EQ(pace.millisecondsToNextTick(100'000), 10);  // due at 109.375 ms
    // A tick that fires a little before its grid point does not come twice.
    EXPECT_EQ(pace.millisecondsToNextTick(109'000), 16);  // due at 125 ms
    // Started again, the grid starts again.
    pace.start(200'000);
    EXPECT_EQ(pace.millisecondsToNextTick(200'000), 16);
}

}  // namespace
}  // namespace quarbel
