// SIGTERM and SIGINT end the frame loop. They are held back except while the
// loop waits, so a wait always notices one at once.
#pragma once

#include <cstdint>

// Installs the handlers and holds the two signals back.
void HoldStopSignals();
// True once either signal has arrived.
bool StopRequested();
// Waits up to timeoutNs (0: just looks) for input on fd or a stop signal.
void WaitForInput(int fd, int64_t timeoutNs);
