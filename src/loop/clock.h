// The animation clock: the system's millisecond tick count since StartTick,
// smoothed by averaging each reading with the previous animation time.
#pragma once

#include <cstdint>

extern uint32_t StartTick;     // tick count when the mode's frame loop started
extern int32_t ElapsedMs;      // smoothed milliseconds since StartTick
extern int32_t PrevElapsedMs;  // ElapsedMs before the latest step

// One clock step for a tick-count reading: ElapsedMs becomes the mean of its
// previous value and the raw time since StartTick, truncated toward zero.
void StepClock(uint32_t tickCount);
// One clock step at the system's current tick count (platform layer).
void AdvanceClock();
