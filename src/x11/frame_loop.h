// The X11 program's frame loop: events, a frame, the frame rate, a paced wait.
#pragma once

#include <cstdint>

// Draws frames into DrawWindow until a stop signal, the end of the window,
// or (in our own window) Q, Escape or the close button. Each frame starts
// delayUs after the previous one started, or at once when drawing took
// longer. showFps draws the frame rate where the title is not ours.
void RunFrames(uint32_t delayUs, bool showFps);
