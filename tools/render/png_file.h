// PNG files from RGB frames: encoding with libpng and putting the file in
// place atomically, so a final name never holds a partial PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Encodes width x height RGB bytes (top row first, no row padding) as an
// 8-bit RGB PNG with no time or text chunks: equal pixels, equal bytes.
// False with error set when libpng fails.
bool EncodeRgbPng(const uint8_t* rgb, int32_t width, int32_t height, std::vector<uint8_t>& png,
                  std::string& error);
// Writes bytes to a temporary file beside path, then renames it to path.
// On failure the temporary is removed, path is untouched and error names it.
bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);
// Encodes the frame and writes it to path atomically.
bool WriteRgbPngFile(const std::string& path, const uint8_t* rgb, int32_t width, int32_t height,
                     std::string& error);
