// Turning what OpenGL reads back into what a PNG stores.
#pragma once

#include <cstdint>
#include <vector>

// RGB bytes, top row first, from width x height RGBA bytes read bottom row
// first; alpha is dropped. Empty when rgba is not exactly that size.
std::vector<uint8_t> RgbTopDownFromGl(const std::vector<uint8_t>& rgba, int32_t width, int32_t height);
