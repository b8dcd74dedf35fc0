// Cutting the icon picture out of a render: crop, scale, flip, coverage and
// colour averaging, on synthetic renders whose answers follow from the rule.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "icon_picture.h"

namespace {

struct Render {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;  // bottom row first, as OpenGL reads back
};

// An all-background render: alpha 0, and a colour that must never show.
Render BlankRender(int32_t width, int32_t height) {
    Render render{width, height, {}};
    render.rgba.resize(static_cast<std::size_t>(width * height * 4), 0);
    for (std::size_t i = 0; i < render.rgba.size(); i += 4) render.rgba[i] = 255;
    return render;
}

// Draws one pixel at column x of top-down row y.
void Draw(Render& render, int32_t x, int32_t y, Rgb colour) {
    const auto at = static_cast<std::size_t>(((render.height - 1 - y) * render.width + x) * 4);
    render.rgba[at] = colour.r;
    render.rgba[at + 1] = colour.g;
    render.rgba[at + 2] = colour.b;
    render.rgba[at + 3] = 255;
}

// Draws the square of side pixels with top-left corner (x, y) in one colour.
void DrawSquare(Render& render, int32_t x, int32_t y, int32_t side, Rgb colour) {
    for (int32_t row = y; row < y + side; ++row)
        for (int32_t column = x; column < x + side; ++column) Draw(render, column, row, colour);
}

// Expects exactly the icon pixels in columns and rows first..last to be
// opaque, all of them in colour, and every other pixel transparent and black.
void ExpectOpaqueSquare(const IconPicture& picture, int32_t first, int32_t last, Rgb colour) {
    for (int32_t row = 0; row < IconSide; ++row) {
        for (int32_t column = 0; column < IconSide; ++column) {
            const auto at = static_cast<std::size_t>(row * IconSide + column);
            const bool inside = row >= first && row <= last && column >= first && column <= last;
            ASSERT_EQ(picture.opaque[at], inside) << "row " << row << " column " << column;
            ASSERT_EQ(picture.colour[at], inside ? colour : Rgb{}) << "row " << row << " column " << column;
        }
    }
}

TEST(IconPictureCrop, ASmallShapeIsCentredWithoutScaling) {
    // 16 drawn pixels need no shrinking: a 32-pixel crop centred on them
    // leaves 8 pixels either side.
    Render render = BlankRender(100, 80);
    const Rgb colour{10, 200, 30};
    DrawSquare(render, 40, 20, 16, colour);
    IconPicture picture;
    ASSERT_TRUE(PictureFromRender(render.rgba, render.width, render.height, picture));
    ExpectOpaqueSquare(picture, 8, 23, colour);
}

TEST(IconPictureCrop, ALargeShapeShrinksToThirtyPixelsWithAOnePixelMargin) {
    // 300 pixels at 10 per icon pixel: 30 icon pixels in a 320-pixel crop.
    Render render = BlankRender(512, 512);
    const Rgb colour{90, 60, 250};
    DrawSquare(render, 100, 110, 300, colour);
    IconPicture picture;
    ASSERT_TRUE(PictureFromRender(render.rgba, render.width, render.height, picture));
    ExpectOpaqueSquare(picture, 1, 30, colour);
}

TEST(IconPictureCrop, CropPastTheRenderEdgeCountsAsBackground) {
    // A fully drawn 40x40 render: 2 pixels per icon pixel, a 64-pixel crop
    // reaching 12 pixels beyond each edge, so 6 transparent icon pixels.
    Render render = BlankRender(40, 40);
    const Rgb colour{1, 2, 3};
    DrawSquare(render, 0, 0, 40, colour);
    IconPicture picture;
    ASSERT_TRUE(PictureFromRender(render.rgba, render.width, render.height, picture));
    ExpectOpaqueSquare(picture, 6, 25, colour);
}

TEST(IconPictureCrop, KeepsTopAtTheTopAndLeftAtTheLeft) {
    // 60x60 drawn pixels in 2x2 blocks of one colour each: 30 icon pixels in
    // a 64-pixel crop starting 2 pixels before the render, so icon pixel
    // (c, r) must show block (c - 1, r - 1), whatever the row order in memory.
    Render render = BlankRender(60, 60);
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 60; ++x)
            Draw(render, x, y, Rgb{static_cast<uint8_t>(x / 2 * 8), static_cast<uint8_t>(y / 2 * 8), 77});
    IconPicture picture;
    ASSERT_TRUE(PictureFromRender(render.rgba, render.width, render.height, picture));
    for (int32_t row = 0; row < IconSide; ++row) {
        for (int32_t column = 0; column < IconSide; ++column) {
            const auto at = static_cast<std::size_t>(row * IconSide + column);
            const bool inside = row >= 1 && row <= 30 && column >= 1 && column <= 30;
            ASSERT_EQ(picture.opaque[at], inside) << "row " << row << " column " << column;
            if (!inside) continue;
            ASSERT_EQ(picture.colour[at],
                      (Rgb{static_cast<uint8_t>((column - 1) * 8), static_cast<uint8_t>((row - 1) * 8), 77}))
                << "row " << row << " column " << column;
        }
    }
}

TEST(IconPictureCrop, CoverageDecidesOpacityAndOnlyDrawnPixelsGiveColour) {
    // A fully drawn 60x60 render gives a 2x2 block per icon pixel, icon
    // pixel (c, 1) covering columns 2c - 2 and 2c - 1 of rows 0 and 1. Three
    // of them get partial blocks by clearing drawn pixels.
    Render render = BlankRender(60, 60);
    DrawSquare(render, 0, 0, 60, Rgb{100, 100, 100});
    const auto clear = [&](int32_t x, int32_t y) {
        render.rgba[static_cast<std::size_t>(((59 - y) * 60 + x) * 4 + 3)] = 0;
    };
    // Icon pixel (1, 1): three of four drawn, colours 10, 20 and 31.
    Draw(render, 0, 0, Rgb{10, 10, 10});
    Draw(render, 1, 0, Rgb{20, 20, 20});
    Draw(render, 0, 1, Rgb{31, 31, 31});
    clear(1, 1);
    // Icon pixel (2, 1): two of four drawn, exactly half.
    clear(2, 0);
    clear(3, 0);
    // Icon pixel (3, 1): one of four drawn.
    clear(4, 0);
    clear(5, 0);
    clear(4, 1);
    IconPicture picture;
    ASSERT_TRUE(PictureFromRender(render.rgba, render.width, render.height, picture));
    constexpr std::size_t RowOne = IconSide;
    EXPECT_TRUE(picture.opaque[RowOne + 1]);
    EXPECT_EQ(picture.colour[RowOne + 1], (Rgb{20, 20, 20})) << "(10 + 20 + 31) / 3 rounds to 20";
    EXPECT_TRUE(picture.opaque[RowOne + 2]);
    EXPECT_EQ(picture.colour[RowOne + 2], (Rgb{100, 100, 100}));
    EXPECT_FALSE(picture.opaque[RowOne + 3]);
    EXPECT_EQ(picture.colour[RowOne + 3], Rgb{});
    EXPECT_TRUE(picture.opaque[RowOne + 4]);
    EXPECT_FALSE(picture.opaque[RowOne]) << "outside the render";
}

TEST(IconPictureCrop, RejectsWrongSizesAndEmptyRenders) {
    IconPicture picture;
    const Render blank = BlankRender(8, 8);
    EXPECT_FALSE(PictureFromRender(blank.rgba, 8, 8, picture)) << "nothing drawn";
    Render one = BlankRender(8, 8);
    Draw(one, 3, 3, Rgb{1, 1, 1});
    EXPECT_TRUE(PictureFromRender(one.rgba, 8, 8, picture));
    EXPECT_FALSE(PictureFromRender(one.rgba, 8, 7, picture)) << "buffer larger than the size";
    EXPECT_FALSE(PictureFromRender(one.rgba, 9, 8, picture)) << "buffer smaller than the size";
    EXPECT_FALSE(PictureFromRender(one.rgba, 0, 8, picture));
    EXPECT_FALSE(PictureFromRender(one.rgba, -8, -8, picture));
}

}  // namespace
