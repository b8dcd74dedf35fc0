// The 256-colour palette of the icon's 8-bit image, made by median cut from
// the picture itself, and the picture expressed in it. No randomness: the
// same picture always gives the same palette and indices.
#pragma once

#include <array>
#include <cstdint>

#include "icon_picture.h"

inline constexpr int32_t PaletteSize = 256;
// Entry 0 is always black: transparent pixels use it, so the AND mask and
// the black XOR colour leave the desktop showing.
inline constexpr uint8_t TransparentIndex = 0;

using IconPalette = std::array<Rgb, PaletteSize>;
using IconIndices = std::array<uint8_t, IconPixels>;

// Black in entry 0, then the rounded mean colours of up to 255 median-cut
// boxes over the opaque pixels, then black in any entries left over.
IconPalette BuildPalette(const IconPicture& picture);
// Each opaque pixel's nearest palette entry (squared RGB distance, lowest
// index on a tie); transparent pixels get TransparentIndex.
IconIndices IndexPicture(const IconPicture& picture, const IconPalette& palette);
