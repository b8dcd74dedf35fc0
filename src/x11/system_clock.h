// The clocks of the X11 program: one monotonic reading, in the units its users need.
#pragma once

#include <cstdint>

// Nanoseconds of the monotonic clock.
int64_t MonotonicNs();
// Milliseconds of the monotonic clock, wrapping in 32 bits like a tick count.
uint32_t TickCountMs();
