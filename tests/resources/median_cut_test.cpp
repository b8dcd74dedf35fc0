// The 8-bit image's palette and indices: exact when the picture has few
// colours, close when it has many, black for transparency, and independent
// of where in the picture each colour sits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "median_cut.h"

namespace {

// Squared distance between two colours.
int32_t Distance2(const Rgb& a, const Rgb& b) {
    const int32_t dr = a.r - b.r;
    const int32_t dg = a.g - b.g;
    const int32_t db = a.b - b.b;
    return dr * dr + dg * dg + db * db;
}

// A fully opaque picture whose pixel i has colour(i).
template <typename ColourOf>
IconPicture OpaquePicture(ColourOf colour) {
    IconPicture picture;
    for (int32_t i = 0; i < IconPixels; ++i) {
        picture.colour[static_cast<std::size_t>(i)] = colour(i);
        picture.opaque[static_cast<std::size_t>(i)] = true;
    }
    return picture;
}

// 1024 different colours spread through the whole cube.
Rgb SpreadColour(int32_t i) {
    return Rgb{static_cast<uint8_t>(i % 32 * 8), static_cast<uint8_t>(i / 32 * 8), static_cast<uint8_t>(i * 37 % 256)};
}

TEST(MedianCutPalette, FewColoursAreKeptExactly) {
    const Rgb colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {12, 34, 56}, {200, 200, 200}};
    // Unequal counts: 500, 300, 150, 70 and 4 pixels.
    const IconPicture picture = OpaquePicture([&](int32_t i) {
        return colours[i < 500 ? 0 : i < 800 ? 1 : i < 950 ? 2 : i < 1020 ? 3 : 4];
    });
    const IconPalette palette = BuildPalette(picture);
    EXPECT_EQ(palette[TransparentIndex], Rgb{});
    for (const Rgb& colour : colours)
        EXPECT_NE(std::find(palette.begin() + 1, palette.end(), colour), palette.end())
            << int{colour.r} << "," << int{colour.g} << "," << int{colour.b};
    const IconIndices indices = IndexPicture(picture, palette);
    for (std::size_t i = 0; i < static_cast<std::size_t>(IconPixels); ++i)
        ASSERT_EQ(palette[indices[i]], picture.colour[i]) << "pixel " << i;
}

TEST(MedianCutPalette, UpTo255ColoursAreAllKept) {
    const IconPicture picture = OpaquePicture([](int32_t i) {
        return Rgb{static_cast<uint8_t>(i % 255), static_cast<uint8_t>(255 - i % 255), 9};
    });
    const IconPalette palette = BuildPalette(picture);
    const IconIndices indices = IndexPicture(picture, palette);
    for (std::size_t i = 0; i < static_cast<std::size_t>(IconPixels); ++i)
        ASSERT_EQ(palette[indices[i]], picture.colour[i]) << "pixel " << i;
}

// 1024 different colours in one corner of the cube, as a picture in a few
// related hues has: red 100..163, green 40..103, blue 180..229.
Rgb ClusteredColour(int32_t i) {
    return Rgb{static_cast<uint8_t>(100 + i % 64), static_cast<uint8_t>(40 + i / 16),
               static_cast<uint8_t>(180 + i * 7 % 50)};
}

TEST(MedianCutPalette, ManyColoursMapToTheNearestEntryAndBeatAUniformCube) {
    const IconPicture picture = OpaquePicture(ClusteredColour);
    const IconPalette palette = BuildPalette(picture);
    const IconIndices indices = IndexPicture(picture, palette);
    double paletteError = 0;
    double cubeError = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(IconPixels); ++i) {
        const Rgb& colour = picture.colour[i];
        const int32_t chosen = Distance2(colour, palette[indices[i]]);
        for (const Rgb& entry : palette) ASSERT_GE(Distance2(colour, entry), chosen) << "pixel " << i;
        paletteError += std::sqrt(chosen);
        // The same colour on a 6x7x6 cube, 252 colours, for comparison.
        const auto level = [](int32_t value, int32_t steps) {
            const int32_t step = static_cast<int32_t>(std::lround(value * (steps - 1) / 255.0));
            return static_cast<uint8_t>(std::lround(step * 255.0 / (steps - 1)));
        };
        cubeError += std::sqrt(Distance2(colour, Rgb{level(colour.r, 6), level(colour.g, 7), level(colour.b, 6)}));
    }
    EXPECT_LT(paletteError, cubeError / 2) << "a palette made for the picture should fit it far better";
    // Every entry is a mean of picture colours, so it lies inside their range.
    for (std::size_t entry = 1; entry < palette.size(); ++entry) {
        EXPECT_GE(palette[entry].r, 100);
        EXPECT_LE(palette[entry].r, 163);
        EXPECT_GE(palette[entry].g, 40);
        EXPECT_LE(palette[entry].g, 103);
        EXPECT_GE(palette[entry].b, 180);
        EXPECT_LE(palette[entry].b, 229);
    }
}

TEST(MedianCutPalette, TransparentPixelsGetIndexZeroAndAddNoColours) {
    // Transparent pixels carry a loud colour that must not reach the palette.
    IconPicture picture;
    for (std::size_t i = 0; i < static_cast<std::size_t>(IconPixels); ++i) {
        picture.opaque[i] = i % 3 == 0;
        picture.colour[i] = picture.opaque[i] ? Rgb{40, 80, 120} : Rgb{255, 0, 255};
    }
    const IconPalette palette = BuildPalette(picture);
    EXPECT_EQ(palette[0], Rgb{});
    EXPECT_EQ(palette[1], (Rgb{40, 80, 120}));
    for (std::size_t entry = 2; entry < palette.size(); ++entry) EXPECT_EQ(palette[entry], Rgb{}) << entry;
    const IconIndices indices = IndexPicture(picture, palette);
    for (std::size_t i = 0; i < static_cast<std::size_t>(IconPixels); ++i)
        ASSERT_EQ(indices[i], picture.opaque[i] ? 1 : TransparentIndex) << "pixel " << i;

    const IconPalette empty = BuildPalette(IconPicture{});
    for (const Rgb& entry : empty) EXPECT_EQ(entry, Rgb{});
}

TEST(MedianCutPalette, DependsOnlyOnTheColoursNotOnTheirPlaces) {
    const IconPicture picture = OpaquePicture(SpreadColour);
    // The same pixels in another order: 389 is prime to 1024.
    const IconPicture moved = OpaquePicture([](int32_t i) { return SpreadColour(i * 389 % IconPixels); });
    EXPECT_EQ(BuildPalette(picture), BuildPalette(moved));
}

TEST(MedianCutIndices, TiesGoToTheLowerEntry) {
    IconPalette palette{};
    palette[1] = Rgb{10, 0, 0};
    palette[2] = Rgb{30, 0, 0};
    palette[3] = Rgb{30, 0, 0};
    IconPicture picture;
    picture.opaque.fill(true);
    picture.colour[0] = Rgb{20, 0, 0};  // halfway between 1 and 2
    picture.colour[1] = Rgb{31, 0, 0};  // on 2 and 3 alike
    picture.colour[2] = Rgb{4, 0, 0};   // nearest to black, entry 0
    const IconIndices indices = IndexPicture(picture, palette);
    EXPECT_EQ(indices[0], 1);
    EXPECT_EQ(indices[1], 2);
    EXPECT_EQ(indices[2], 0);
}

}  // namespace
