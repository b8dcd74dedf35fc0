#include "loop/frame_title.h"

#include <cmath>
#include <cstring>

namespace {

constexpr const char* TitleStart = "Glimmerbox v 1.0   [";
constexpr const char* TitleEnd = " FPS]";
constexpr int64_t SecondNs = 1'000'000'000;

}  // namespace

DecimalText IntToText(int32_t value) {
    DecimalText result{};
    char digits[10];
    int count = 0;
    // The magnitude in unsigned arithmetic, so the smallest value has one.
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    int length = 0;
    if (value < 0) result.text[length++] = '-';
    while (count > 0) result.text[length++] = digits[--count];
    result.text[length] = '\0';
    return result;
}

int32_t FramesPerSecond(int32_t frameCount) {
    const auto product = static_cast<int32_t>(static_cast<uint32_t>(frameCount) * 1000u);
    return static_cast<int32_t>(std::nearbyint(product / 1000.0));
}

TitleText FrameRateTitle(int32_t framesPerSecond) {
    TitleText title{};
    std::strcpy(title.text, TitleStart);
    std::strcat(title.text, IntToText(framesPerSecond).text);
    std::strcat(title.text, TitleEnd);
    return title;
}

FrameRate StartFrameRate(int64_t nowNs) { return {nowNs + SecondNs, 0}; }

int32_t CountFrame(FrameRate& rate, int64_t nowNs) {
    int32_t shown = -1;
    if (nowNs >= rate.secondEndNs) {
        shown = FramesPerSecond(rate.frames);
        rate.frames = 0;
        rate.secondEndNs += SecondNs;
        if (rate.secondEndNs <= nowNs) rate.secondEndNs = nowNs + SecondNs;
    }
    ++rate.frames;
    return shown;
}
