// The frame-rate title, the decimal text it is built from, and the count of
// frames per second that the Linux programs and the web page show.
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

// Frames counted by the second they start in, for a loop that has no timer
// of its own; times are in nanoseconds of any steady clock.
struct FrameRate {
    int64_t secondEndNs;  // when the current second ends
    int32_t frames;       // frames started in it
};
// The count's first second starts at nowNs.
FrameRate StartFrameRate(int64_t nowNs);
// Counts a frame starting at nowNs. Once a second has ended, returns its
// frames per second, as FramesPerSecond gives them, and starts the next one
// (at nowNs after a stall of more than a second); otherwise -1.
int32_t CountFrame(FrameRate& rate, int64_t nowNs);
