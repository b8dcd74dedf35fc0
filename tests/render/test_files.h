// File helpers for the glimmerbox-render tests: scratch directories, whole
// files and PNG decoding through libpng's reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DecodedPng {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;  // top row first
};

// A new empty directory under the system's temporary directory.
std::string MakeScratchDirectory();
// Removes a directory and everything in it.
void RemoveTree(const std::string& path);
// The names in a directory, sorted.
std::vector<std::string> ListDirectory(const std::string& path);
// A whole file's bytes; empty when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::string& path);
// Decodes PNG bytes to 8-bit RGB; false when libpng rejects them.
bool DecodePng(const std::vector<uint8_t>& png, DecodedPng& image);
// The chunk types of a PNG stream in order; empty when the signature is wrong.
std::vector<std::string> PngChunkTypes(const std::vector<uint8_t>& png);
