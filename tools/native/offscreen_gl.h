// An offscreen OpenGL context for native tools and tests. Kept to one call so
// it can move from OSMesa to EGL without touching its users.
#pragma once

#include <cstdint>
#include <vector>

// Makes a current RGBA context with a 16-bit depth buffer over a
// width x height buffer; false when none can be made.
bool MakeOffscreenContext(int width, int height);
// The context's pixels as RGBA bytes, bottom row first, after glFinish.
std::vector<uint8_t> ReadOffscreenPixels();
// Releases the context and its buffer.
void DestroyOffscreenContext();
