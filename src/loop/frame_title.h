// The frame-rate title and the decimal text it is built from.
#pragma once

#include <cstdint>

struct DecimalText {
    char text[12];  // "-2147483648" and its terminator
};
struct TitleText {
    char text[40];
};

// A signed 32-bit integer in decimal: a minus sign, then the digits.
DecimalText IntToText(int32_t value);
// The frames counted over one 1000 ms timer period, per second: the count
// times 1000 (wrapping in 32 bits), divided by 1000.0 and rounded to even.
int32_t FramesPerSecond(int32_t frameCount);
// "Glimmerbox v 1.0   [<frames> FPS]".
TitleText FrameRateTitle(int32_t framesPerSecond);
