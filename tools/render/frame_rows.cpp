#include "frame_rows.h"

#include <cstddef>

std::vector<uint8_t> RgbTopDownFromGl(const std::vector<uint8_t>& rgba, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return {};
    const auto columns = static_cast<std::size_t>(width);
    const auto rows = static_cast<std::size_t>(height);
    if (rgba.size() / 4 / columns != rows || rgba.size() != columns * rows * 4) return {};
    std::vector<uint8_t> rgb(columns * rows * 3);
    for (std::size_t row = 0; row < rows; ++row) {
        const uint8_t* from = rgba.data() + (rows - 1 - row) * columns * 4;
        uint8_t* to = rgb.data() + row * columns * 3;
        for (std::size_t x = 0; x < columns; ++x) {
            to[x * 3 + 0] = from[x * 4 + 0];
            to[x * 3 + 1] = from[x * 4 + 1];
            to[x * 3 + 2] = from[x * 4 + 2];
        }
    }
    return rgb;
}
