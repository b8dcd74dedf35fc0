#include "icon_picture.h"

#include <algorithm>
#include <cstddef>

namespace {

// Bounds of the drawn pixels in top-down coordinates, inclusive.
struct Bounds {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = -1;
    int32_t bottom = -1;
};

// Index of the first byte of the pixel at column x of top-down row y.
std::size_t PixelOffset(int32_t x, int32_t y, int32_t width, int32_t height) {
    const auto glRow = static_cast<std::size_t>(height - 1 - y);
    return (glRow * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
}

// True when the pixel is drawn; anything outside the render is background.
bool Drawn(const std::vector<uint8_t>& rgba, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    return rgba[PixelOffset(x, y, width, height) + 3] != 0;
}

// The box around every drawn pixel; right < left when there is none.
Bounds DrawnBounds(const std::vector<uint8_t>& rgba, int32_t width, int32_t height) {
    Bounds bounds{width, height, -1, -1};
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (!Drawn(rgba, x, y, width, height)) continue;
            bounds.left = std::min(bounds.left, x);
            bounds.top = std::min(bounds.top, y);
            bounds.right = std::max(bounds.right, x);
            bounds.bottom = std::max(bounds.bottom, y);
        }
    }
    return bounds;
}

// Averages the block of block x block render pixels whose top-left corner is
// (left, top) into one icon pixel.
void FilterBlock(const std::vector<uint8_t>& rgba, int32_t width, int32_t height, int32_t left, int32_t top,
                 int32_t block, Rgb& colour, bool& opaque) {
    uint64_t sums[3] = {0, 0, 0};
    int64_t drawn = 0;
    for (int32_t y = top; y < top + block; ++y) {
        for (int32_t x = left; x < left + block; ++x) {
            if (!Drawn(rgba, x, y, width, height)) continue;
            const std::size_t at = PixelOffset(x, y, width, height);
            for (std::size_t c = 0; c < 3; ++c) sums[c] += rgba[at + c];
            ++drawn;
        }
    }
    const int64_t area = static_cast<int64_t>(block) * block;
    opaque = drawn * 2 >= area;
    if (!opaque) {
        colour = Rgb{};
        return;
    }
    const auto count = static_cast<uint64_t>(drawn);
    colour.r = static_cast<uint8_t>((sums[0] + count / 2) / count);
    colour.g = static_cast<uint8_t>((sums[1] + count / 2) / count);
    colour.b = static_cast<uint8_t>((sums[2] + count / 2) / count);
}

}  // namespace

bool PictureFromRender(const std::vector<uint8_t>& rgba, int32_t width, int32_t height, IconPicture& picture) {
    if (width <= 0 || height <= 0) return false;
    if (rgba.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) return false;
    const Bounds bounds = DrawnBounds(rgba, width, height);
    if (bounds.right < bounds.left) return false;

    const int32_t span = std::max(bounds.right - bounds.left + 1, bounds.bottom - bounds.top + 1);
    const int32_t block = (span + IconCubeSpan - 1) / IconCubeSpan;
    const int32_t side = block * IconSide;
    // Centred on the drawn box to within a pixel; the division truncates.
    const int32_t left = (bounds.left + bounds.right + 1 - side) / 2;
    const int32_t top = (bounds.top + bounds.bottom + 1 - side) / 2;
    for (int32_t row = 0; row < IconSide; ++row) {
        for (int32_t column = 0; column < IconSide; ++column) {
            const auto at = static_cast<std::size_t>(row * IconSide + column);
            FilterBlock(rgba, width, height, left + column * block, top + row * block, block, picture.colour[at],
                        picture.opaque[at]);
        }
    }
    return true;
}
