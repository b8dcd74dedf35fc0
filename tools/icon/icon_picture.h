// The 32x32 picture an icon holds, and how it is cut out of a larger render:
// cropped around the cube and shrunk with a box filter.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

inline constexpr int32_t IconSide = 32;
inline constexpr int32_t IconPixels = IconSide * IconSide;
// The cube spans about this many of the icon's 32 pixels, leaving a margin.
inline constexpr int32_t IconCubeSpan = 30;

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

// Row 0 is the top row. A pixel that is not opaque shows the desktop; its
// colour is black.
struct IconPicture {
    std::array<Rgb, IconPixels> colour{};
    std::array<bool, IconPixels> opaque{};
};

// Cuts the icon out of width x height RGBA bytes read bottom row first, where
// alpha 0 is background. The crop is the smallest square of a whole multiple
// of 32 pixels, centred on the drawn pixels, that fits them into about
// IconCubeSpan icon pixels; each icon pixel is opaque when at least half its
// block is drawn and then takes the rounded mean of the drawn pixels. False
// when rgba is not exactly that size or nothing is drawn.
bool PictureFromRender(const std::vector<uint8_t>& rgba, int32_t width, int32_t height, IconPicture& picture);
