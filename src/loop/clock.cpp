#include "loop/clock.h"

uint32_t StartTick;
int32_t ElapsedMs;
int32_t PrevElapsedMs;

void StepClock(uint32_t tickCount) {
    PrevElapsedMs = ElapsedMs;
    const auto raw = static_cast<int32_t>(tickCount - StartTick);
    // The mean is taken in 64 bits, of the previous time and the raw time
    // moved onto the same lap of the 32-bit circle. While the two lie within
    // 2^31 ms of each other (always, in a run) that is the plain mean; past
    // 2^31 ms of running the clock wraps round instead of overflowing, and
    // keeps moving forward modulo 2^32.
    const int32_t ahead = static_cast<int32_t>(static_cast<uint32_t>(raw) - static_cast<uint32_t>(PrevElapsedMs));
    const int64_t rawOnLap = static_cast<int64_t>(PrevElapsedMs) + ahead;
    const int64_t mean = (static_cast<int64_t>(PrevElapsedMs) + rawOnLap) / 2;
    ElapsedMs = static_cast<int32_t>(static_cast<uint32_t>(mean));
}
