// A frame drawn for another window's size in a shared context: it uses its
// own viewport and projection and leaves the first window's in place.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <vector>

#include "loop/clock.h"
#include "native_services.h"
#include "offscreen_gl.h"
#include "scene/scene.h"

namespace {

constexpr int Width = 640;
constexpr int Height = 480;

// Lit pixels in columns [first, last) of an RGBA buffer, bottom row first.
int LitInColumns(const std::vector<uint8_t>& rgba, int first, int last) {
    int lit = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = first; x < last; ++x) {
            const uint8_t* p = &rgba[(static_cast<size_t>(y) * Width + x) * 4];
            if (p[0] > 8 || p[1] > 8 || p[2] > 8) ++lit;
        }
    return lit;
}

TEST(SceneAtSize, DrawsInItsOwnViewportAndRestoresTheFirstWindows) {
    ASSERT_TRUE(MakeOffscreenContext(Width, Height));
    NativeSeedClock = 77;
    ElapsedMs = PrevElapsedMs = LastTextureUpdateMs = 0;
    ResizeScene(Width, Height);
    InitScene();
    ElapsedMs = 600;
    DrawScene();  // the first window's frame refreshes the plasma
    std::array<GLint, 4> viewport{};
    std::array<GLdouble, 16> projection{}, projectionAfter{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());

    // A window half as wide: the cube lands in the left half, centred there.
    DrawSceneAtSize(Width / 2, Height);
    const std::vector<uint8_t> pixels = ReadOffscreenPixels();
    EXPECT_GT(LitInColumns(pixels, Width / 8, Width * 3 / 8), 1000);
    EXPECT_EQ(LitInColumns(pixels, Width / 2, Width), 0);

    std::array<GLint, 4> viewportAfter{};
    glGetIntegerv(GL_VIEWPORT, viewportAfter.data());
    glGetDoublev(GL_PROJECTION_MATRIX, projectionAfter.data());
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(viewportAfter, viewport);
    EXPECT_EQ(projectionAfter, projection);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    DestroyOffscreenContext();
}

}  // namespace
