// Waiting while the probe's own windows keep answering messages.
#pragma once

#include <windows.h>

// Milliseconds on a steady clock.
double NowMs();
// Handles the probe's messages for about ms milliseconds.
void PumpFor(DWORD ms);
// Waits up to ms for handle, handling messages meanwhile; true when signalled.
bool WaitPumping(HANDLE handle, DWORD ms);
