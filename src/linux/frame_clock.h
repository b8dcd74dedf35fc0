// The Linux programs' frame clock: the monotonic clock in the units its
// users need, and the rule that spaces frames by --delay.
#pragma once

#include <cstdint>

constexpr int64_t NsPerUs = 1'000;

// A --delay's microseconds in nanoseconds.
constexpr int64_t DelayToNs(uint32_t delayUs) { return static_cast<int64_t>(delayUs) * NsPerUs; }
// Nanoseconds of the monotonic clock.
int64_t MonotonicNs();
// Milliseconds of the monotonic clock, wrapping in 32 bits like a tick count.
uint32_t TickCountMs();
// The start of the frame after the one due at deadlineNs: delayNs later, on
// a fixed grid so that the time lost waking up does not add up; a frame that
// is already late (nowNs past that) starts the grid again from now.
int64_t NextFrameNs(int64_t deadlineNs, int64_t delayNs, int64_t nowNs);
