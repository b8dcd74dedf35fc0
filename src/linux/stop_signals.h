// SIGTERM and SIGINT end the program at once, whatever display call it is
// in: a stopped or hung X server or compositor must not keep it alive. Only
// the wait for input ends it the orderly way, through the loop.
#pragma once

#include <cstdint>

// Installs the handlers for both signals. Call it before anything that may
// block on the display server.
void CatchStopSignals();
// True once a signal has arrived during a wait.
bool StopRequested();
// Waits up to timeoutNs (without end when negative) for input on fd, or
// also for room to write when orWritable; false when a stop signal ended
// the wait.
bool WaitForInput(int fd, int64_t timeoutNs, bool orWritable = false);
