// The .ico file: one 32x32 picture stored twice, as an 8-bit palette image
// and as a 24-bit image, each a BITMAPINFOHEADER, XOR bitmap and AND mask.
#pragma once

#include <cstdint>
#include <vector>

#include "icon_picture.h"
#include "median_cut.h"

inline constexpr uint32_t IcoHeaderBytes = 6;
inline constexpr uint32_t IcoEntryBytes = 16;
inline constexpr uint32_t BitmapHeaderBytes = 40;
// Both directory entries record 24 bits per pixel, the 8-bit one included:
// the resource's group directory is meant to say 24 for both images.
inline constexpr uint16_t IcoEntryBitCount = 24;

// Bytes of one image: header, palette (8-bit only), XOR rows and AND rows,
// every row padded to four bytes.
uint32_t IconImageBytes(uint16_t bitCount);
// The whole file: directory, then the 8-bit image, then the 24-bit image.
// Rows run bottom to top; transparent pixels have an AND bit of 1 and a black
// XOR colour (palette[TransparentIndex] must be black, as BuildPalette makes
// it). Equal inputs give equal bytes.
std::vector<uint8_t> EncodeIco(const IconPicture& picture, const IconPalette& palette, const IconIndices& indices);
