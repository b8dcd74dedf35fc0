// The frame clock, and the animation clock's step at the monotonic clock's
// milliseconds.
#include "linux/frame_clock.h"

#include <ctime>

#include "loop/clock.h"

int64_t MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

uint32_t TickCountMs() { return static_cast<uint32_t>(MonotonicNs() / 1'000'000); }

void AdvanceClock() { StepClock(TickCountMs()); }

int64_t NextFrameNs(int64_t deadlineNs, int64_t delayNs, int64_t nowNs) {
    const int64_t next = deadlineNs + delayNs;
    return next < nowNs ? nowNs : next;
}
