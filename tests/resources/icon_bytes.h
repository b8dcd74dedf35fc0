// Reading icon structures: the .ico file's directory, the RT_GROUP_ICON
// directory that a resource compiler makes from it, and the
// BITMAPINFOHEADER that starts each image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "le_bytes.h"

struct IconDirEntry {
    uint8_t width = 0;
    uint8_t height = 0;
    uint8_t colorCount = 0;
    uint8_t reserved = 0;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t bytesInRes = 0;
    uint32_t location = 0;  // file offset in a .ico, RT_ICON id in a group
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

// The directory of a .ico file: 16-byte entries ending in the image offset.
bool ReadIcoDirectory(Bytes bytes, std::vector<IconDirEntry>& entries, std::string& error);
// The directory of an RT_GROUP_ICON resource: 14-byte entries ending in the
// 16-bit id of the RT_ICON resource.
bool ReadGroupIconDirectory(Bytes bytes, std::vector<IconDirEntry>& entries, std::string& error);
// The BITMAPINFOHEADER at the start of an image.
bool ReadBitmapHeader(Bytes bytes, BitmapHeader& header);
