#include "median_cut.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

// A run of the colour list that becomes one palette entry.
struct ColourBox {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Channel c (0 red, 1 green, 2 blue) of a colour.
int32_t Channel(const Rgb& colour, int32_t c) { return c == 0 ? colour.r : c == 1 ? colour.g : colour.b; }

// The widest channel of a box and its spread (maximum minus minimum).
void WidestChannel(const std::vector<Rgb>& colours, const ColourBox& box, int32_t& channel, int32_t& spread) {
    channel = 0;
    spread = -1;
    for (int32_t c = 0; c < 3; ++c) {
        int32_t low = 255;
        int32_t high = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            low = std::min(low, Channel(colours[i], c));
            high = std::max(high, Channel(colours[i], c));
        }
        if (high - low > spread) {
            channel = c;
            spread = high - low;
        }
    }
}

// Sorts the box by the channel, then by red, green and blue: a total order,
// so the split does not depend on the sort's treatment of equal keys.
void SortBox(std::vector<Rgb>& colours, const ColourBox& box, int32_t channel) {
    const auto first = colours.begin() + static_cast<std::ptrdiff_t>(box.begin);
    const auto last = colours.begin() + static_cast<std::ptrdiff_t>(box.end);
    std::sort(first, last, [channel](const Rgb& a, const Rgb& b) {
        const int32_t keyA[4] = {Channel(a, channel), a.r, a.g, a.b};
        const int32_t keyB[4] = {Channel(b, channel), b.r, b.g, b.b};
        return std::lexicographical_compare(keyA, keyA + 4, keyB, keyB + 4);
    });
}

// Where to cut a sorted box: the change of colour nearest its middle (the
// lower one on a tie), so that no colour ends up in two boxes and a picture
// of up to 255 colours keeps them all. A box with a spread above zero has at
// least one such change, so both halves are non-empty.
std::size_t SplitPoint(const std::vector<Rgb>& colours, const ColourBox& box) {
    const std::size_t middle = box.begin + (box.end - box.begin) / 2;
    const auto changesAt = [&](std::size_t at) { return !(colours[at - 1] == colours[at]); };
    for (std::size_t distance = 0; distance < box.end - box.begin; ++distance) {
        if (middle >= box.begin + 1 + distance && changesAt(middle - distance)) return middle - distance;
        if (middle + distance < box.end && changesAt(middle + distance)) return middle + distance;
    }
    return middle;  // one colour throughout: never chosen for a split
}

// The rounded mean colour of a non-empty box.
Rgb MeanColour(const std::vector<Rgb>& colours, const ColourBox& box) {
    uint64_t sums[3] = {0, 0, 0};
    for (std::size_t i = box.begin; i < box.end; ++i)
        for (int32_t c = 0; c < 3; ++c) sums[c] += static_cast<uint64_t>(Channel(colours[i], c));
    const uint64_t count = box.end - box.begin;
    return Rgb{static_cast<uint8_t>((sums[0] + count / 2) / count), static_cast<uint8_t>((sums[1] + count / 2) / count),
               static_cast<uint8_t>((sums[2] + count / 2) / count)};
}

// Squared distance between two colours.
int32_t DistanceSquared(const Rgb& a, const Rgb& b) {
    const int32_t dr = a.r - b.r;
    const int32_t dg = a.g - b.g;
    const int32_t db = a.b - b.b;
    return dr * dr + dg * dg + db * db;
}

}  // namespace

IconPalette BuildPalette(const IconPicture& picture) {
    std::vector<Rgb> colours;
    for (int32_t i = 0; i < IconPixels; ++i)
        if (picture.opaque[static_cast<std::size_t>(i)]) colours.push_back(picture.colour[static_cast<std::size_t>(i)]);

    constexpr std::size_t MaxBoxes = PaletteSize - 1;
    std::vector<ColourBox> boxes;
    if (!colours.empty()) boxes.push_back(ColourBox{0, colours.size()});
    while (boxes.size() < MaxBoxes) {
        // Split the box with the widest spread; the first such box on a tie.
        std::size_t chosen = boxes.size();
        int32_t chosenChannel = 0;
        int32_t chosenSpread = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            int32_t channel = 0;
            int32_t spread = 0;
            WidestChannel(colours, boxes[i], channel, spread);
            if (spread > chosenSpread) {
                chosen = i;
                chosenChannel = channel;
                chosenSpread = spread;
            }
        }
        if (chosen == boxes.size()) break;  // every box holds one colour
        SortBox(colours, boxes[chosen], chosenChannel);
        const ColourBox whole = boxes[chosen];
        const std::size_t middle = SplitPoint(colours, whole);
        boxes[chosen] = ColourBox{whole.begin, middle};
        boxes.insert(boxes.begin() + static_cast<std::ptrdiff_t>(chosen) + 1, ColourBox{middle, whole.end});
    }

    IconPalette palette{};
    for (std::size_t i = 0; i < boxes.size(); ++i) palette[i + 1] = MeanColour(colours, boxes[i]);
    return palette;
}

IconIndices IndexPicture(const IconPicture& picture, const IconPalette& palette) {
    IconIndices indices{};
    for (std::size_t i = 0; i < static_cast<std::size_t>(IconPixels); ++i) {
        if (!picture.opaque[i]) {
            indices[i] = TransparentIndex;
            continue;
        }
        std::size_t best = 0;
        for (std::size_t entry = 1; entry < palette.size(); ++entry)
            if (DistanceSquared(picture.colour[i], palette[entry]) < DistanceSquared(picture.colour[i], palette[best]))
                best = entry;
        indices[i] = static_cast<uint8_t>(best);
    }
    return indices;
}
