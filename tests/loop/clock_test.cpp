// The smoothed animation clock, including its behaviour past 2^31 ms.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "loop/clock.h"
#include "scene/scene.h"

namespace {

void ResetClock(uint32_t startTick, int32_t elapsed) {
    StartTick = startTick;
    ElapsedMs = elapsed;
    PrevElapsedMs = 0;
}

TEST(Clock, AveragesTheRawTimeWithThePreviousAnimationTime) {
    ResetClock(5000, 0);
    StepClock(5021);  // first frame: half the raw time, truncated
    EXPECT_EQ(ElapsedMs, 10);
    EXPECT_EQ(PrevElapsedMs, 0);

    StepClock(5015);
    EXPECT_EQ(PrevElapsedMs, 10);
    EXPECT_EQ(ElapsedMs, 12);

    ResetClock(0, -3);
    StepClock(0);
    EXPECT_EQ(ElapsedMs, -1);  // truncated toward zero, not floored
    EXPECT_EQ(PrevElapsedMs, -3);

    ResetClock(100, 0);  // two steps in one millisecond halve the gap twice
    StepClock(200);
    EXPECT_EQ(ElapsedMs, 50);
    StepClock(200);
    EXPECT_EQ(ElapsedMs, 75);
    EXPECT_EQ(PrevElapsedMs, 50);
}

TEST(Clock, TickCountWrapsWithoutAJump) {
    ResetClock(0xFFFFFF00u, 0);
    StepClock(0x00000100u);  // 512 ms later, across the tick counter's wrap
    EXPECT_EQ(ElapsedMs, 256);
}

// Past about 12.4 days the sum of two clock values leaves the 32-bit range.
// The clock keeps running forward on the 32-bit circle instead: compare it
// with a 64-bit clock over 4 ms frames across 2^31 ms, and check that the
// plasma keeps refreshing at the usual rate.
TEST(Clock, RunsOnAcrossTheRangeLimit) {
    const uint32_t start = 1000;
    int64_t raw = std::numeric_limits<int32_t>::max() - 2000;
    int64_t reference = raw - 4;
    StartTick = start;
    ElapsedMs = static_cast<int32_t>(reference);
    int32_t lastRefresh = ElapsedMs;
    int refreshes = 0;
    for (int frame = 0; frame < 1000; ++frame) {
        raw += 4;
        reference = (reference + raw) / 2;
        StepClock(start + static_cast<uint32_t>(raw));
        ASSERT_EQ(static_cast<uint32_t>(ElapsedMs), static_cast<uint32_t>(reference)) << frame;
        const auto step = static_cast<int32_t>(static_cast<uint32_t>(ElapsedMs) - static_cast<uint32_t>(PrevElapsedMs));
        ASSERT_GE(step, 0) << frame;
        ASSERT_LE(step, 4) << frame;
        if (PlasmaRefreshDue(ElapsedMs, lastRefresh)) {
            lastRefresh = ElapsedMs;
            ++refreshes;
        }
    }
    EXPECT_LT(ElapsedMs, 0);  // it did cross
    // 4000 ms at one refresh every 28 ms (the first multiple of 4 past 25).
    EXPECT_NEAR(refreshes, 4000 / 28, 1);
}

TEST(Clock, PlasmaRefreshNeedsMoreThan25Ms) {
    EXPECT_FALSE(PlasmaRefreshDue(1025, 1000));
    EXPECT_TRUE(PlasmaRefreshDue(1026, 1000));
    EXPECT_FALSE(PlasmaRefreshDue(900, 1000));  // behind the last refresh
    EXPECT_FALSE(PlasmaRefreshDue(1000, 1000));
    EXPECT_TRUE(PlasmaRefreshDue(std::numeric_limits<int32_t>::min() + 10, std::numeric_limits<int32_t>::max() - 20));
}

}  // namespace
