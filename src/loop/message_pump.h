// The frame loop shared by the saver and the preview: messages first, a frame
// whenever none waits, a fixed pause every pass.
#pragma once

#include <windows.h>

// Draws one frame; false ends the loop.
using FrameFunction = bool (*)();

// Runs passes until WM_QUIT is taken or drawFrame returns false. Each pass
// takes at most one message without waiting (WM_QUIT is not dispatched;
// anything else is translated and dispatched) or, when none waits, calls
// drawFrame; every pass then sleeps sleepMs. Returns the wParam of the last
// message taken.
WPARAM RunMessageLoop(FrameFunction drawFrame, DWORD sleepMs);
