// The X11 program's frame loop: events, a frame, the frame rate, a paced wait.
#pragma once

#include <cstdint>

// Draws frames until a stop signal, the end of the watched window, or (in
// our own window) Q, Escape or the close button. Frames start delayUs apart,
// or at once when drawing fell behind. showFps draws the frame rate where
// the title is not ours. False when a stop signal ended it: the X server
// may then be stopped, so nothing more may wait for it.
bool RunFrames(uint32_t delayUs, bool showFps);
