// Waiting while the probe's own windows keep answering messages.
#pragma once

#include <windows.h>

// How long anything that should happen (a window, a pixel, an exit) may take
// on a busy machine. A wait ends as soon as it happens, so this costs time
// only when a check fails.
constexpr DWORD DeadlineMs = 20000;

// Milliseconds on a steady clock.
double NowMs();
// Handles the probe's messages for about ms milliseconds.
void PumpFor(DWORD ms);
// Waits up to ms for handle, handling messages meanwhile; true when signalled.
bool WaitPumping(HANDLE handle, DWORD ms);
