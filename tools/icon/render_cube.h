// One frame of the saver's scene drawn offscreen for the icon.
#pragma once

#include <cstdint>
#include <vector>

// Draws the scene once at animation time timeMs on a fresh side x side
// context, with the plasma seeded from seed, and returns its RGBA bytes,
// bottom row first; alpha is 0 where only the background shows. Empty when
// no context can be made or OpenGL reports an error.
std::vector<uint8_t> RenderCube(uint32_t seed, int32_t timeMs, int32_t side);
