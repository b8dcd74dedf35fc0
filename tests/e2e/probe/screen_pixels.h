// Reading screen pixels (the GL-rendered ones included) through GDI.
#pragma once

#include <cstdint>
#include <vector>

struct Pixels {
    int width, height;
    std::vector<uint32_t> values;  // 0x00RRGGBB, top row first
};

// Copies the screen rectangle at (x, y) of size width x height.
Pixels CaptureScreen(int x, int y, int width, int height);
// Pixels with any channel above a small threshold.
int CountNonBlack(const Pixels& pixels);
// Pixels whose channels differ clearly: colour rather than grey.
int CountColoured(const Pixels& pixels);
// Pixels of exactly value (0x00RRGGBB).
int CountExactly(const Pixels& pixels, uint32_t value);
// Positions where two captures of the same size differ.
int CountDiffering(const Pixels& a, const Pixels& b);
