#include "screen_pixels.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t BlackThreshold = 8;
constexpr uint32_t ColourSpread = 40;

uint32_t Red(uint32_t v) { return (v >> 16) & 0xFF; }
uint32_t Green(uint32_t v) { return (v >> 8) & 0xFF; }
uint32_t Blue(uint32_t v) { return v & 0xFF; }

}  // namespace

Pixels CaptureScreen(int x, int y, int width, int height) {
    Pixels pixels{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section != nullptr && bits != nullptr) {
        HGDIOBJ old = SelectObject(memory, section);
        BitBlt(memory, 0, 0, width, height, screen, x, y, SRCCOPY);
        GdiFlush();
        std::memcpy(pixels.values.data(), bits, pixels.values.size() * sizeof(uint32_t));
        for (uint32_t& v : pixels.values) v &= 0xFFFFFF;
        SelectObject(memory, old);
        DeleteObject(section);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

int CountNonBlack(const Pixels& pixels) {
    return static_cast<int>(std::count_if(pixels.values.begin(), pixels.values.end(), [](uint32_t v) {
        return Red(v) > BlackThreshold || Green(v) > BlackThreshold || Blue(v) > BlackThreshold;
    }));
}

int CountColoured(const Pixels& pixels) {
    return static_cast<int>(std::count_if(pixels.values.begin(), pixels.values.end(), [](uint32_t v) {
        const uint32_t high = std::max({Red(v), Green(v), Blue(v)});
        const uint32_t low = std::min({Red(v), Green(v), Blue(v)});
        return high - low > ColourSpread;
    }));
}

int CountExactly(const Pixels& pixels, uint32_t value) {
    return static_cast<int>(std::count(pixels.values.begin(), pixels.values.end(), value));
}

int CountDiffering(const Pixels& a, const Pixels& b) {
    if (a.values.size() != b.values.size()) return -1;
    int count = 0;
    for (size_t i = 0; i < a.values.size(); ++i) count += a.values[i] != b.values[i] ? 1 : 0;
    return count;
}
