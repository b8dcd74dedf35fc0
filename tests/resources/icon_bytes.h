// Reading what glimmerbox-icon writes: the .ico file's directory and the
// BITMAPINFOHEADER that starts each image, with every read bounds-checked.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

using Bytes = std::span<const uint8_t>;

struct IconDirEntry {
    uint8_t width = 0;
    uint8_t height = 0;
    uint8_t colorCount = 0;
    uint8_t reserved = 0;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t bytesInRes = 0;
    uint32_t location = 0;  // file offset of the image
};

struct BitmapHeader {
    uint32_t size = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};

inline constexpr std::size_t BitmapHeaderSize = 40;

// True when [offset, offset + length) lies inside a buffer of size bytes,
// without overflowing.
inline bool InRange(std::size_t size, std::size_t offset, std::size_t length) {
    return offset <= size && length <= size - offset;
}

// The directory of a .ico file: 16-byte entries ending in the image offset.
bool ReadIcoDirectory(Bytes bytes, std::vector<IconDirEntry>& entries, std::string& error);
// The BITMAPINFOHEADER at the start of an image.
bool ReadBitmapHeader(Bytes bytes, BitmapHeader& header);
