// The read-back pixels turned the right way up for a PNG.
#include <gtest/gtest.h>

#include <vector>

#include "frame_rows.h"

namespace {

TEST(FrameRows, FlipsRowsAndDropsAlpha) {
    // 3 x 2, bottom row first as OpenGL reads it; each byte names its texel
    // (tens: GL row, ones: column) and channel (hundreds), alpha 255.
    const std::vector<uint8_t> rgba = {
        0,  100, 200, 255, 1,  101, 201, 255, 2,  102, 202, 255,  // bottom
        10, 110, 210, 255, 11, 111, 211, 255, 12, 112, 212, 255,  // top
    };
    const std::vector<uint8_t> expected = {
        10, 110, 210, 11, 111, 211, 12, 112, 212,  // top row first
        0,  100, 200, 1,  101, 201, 2,  102, 202,
    };
    EXPECT_EQ(RgbTopDownFromGl(rgba, 3, 2), expected);
}

TEST(FrameRows, RejectsABufferOfTheWrongSize) {
    const std::vector<uint8_t> rgba(3 * 2 * 4, 7);
    EXPECT_TRUE(RgbTopDownFromGl(rgba, 2, 2).empty());
    EXPECT_TRUE(RgbTopDownFromGl(rgba, 3, 3).empty());
    EXPECT_TRUE(RgbTopDownFromGl(rgba, 0, 2).empty());
    EXPECT_TRUE(RgbTopDownFromGl(rgba, -3, -2).empty());
    EXPECT_TRUE(RgbTopDownFromGl({}, 1, 1).empty());
    EXPECT_EQ(RgbTopDownFromGl(rgba, 2, 3).size(), 2u * 3 * 3);  // same area, other shape
}

}  // namespace
