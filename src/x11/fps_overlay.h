// The frame rate drawn in the lower left corner, for windows whose title is
// not ours.
#pragma once

#include <cstdint>

// Makes the glyphs from the X font "fixed"; false, said in one line, when it cannot.
bool LoadOverlayFont();
// Draws "<framesPerSecond> FPS" over the frame, leaving the scene's state as it was.
void DrawFpsOverlay(int32_t framesPerSecond, int32_t width, int32_t height);
