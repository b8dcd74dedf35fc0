// The scene on real OpenGL (Mesa, offscreen): state, projection, texture,
// refresh rule and the pixels of a drawn frame.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "loop/clock.h"
#include "native_services.h"
#include "offscreen_gl.h"
#include "scene/plasma.h"
#include "scene/plasma_texture.h"
#include "scene/scene.h"

// The next texture name InitScene asks for, when a test has one ready: a new
// texture object would start with OpenGL's default filters, which would hide
// a missing filter call.
GLuint PlantedTexture;

extern "C" void __real_glGenTextures(GLsizei n, GLuint* names);
extern "C" void __wrap_glGenTextures(GLsizei n, GLuint* names) {
    if (PlantedTexture != 0 && n == 1) {
        *names = PlantedTexture;
        PlantedTexture = 0;
        return;
    }
    __real_glGenTextures(n, names);
}

namespace {

constexpr int Width = 640;
constexpr int Height = 480;
constexpr float CubeDistance = 7;

class Scene : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(MakeOffscreenContext(Width, Height));
        ElapsedMs = PrevElapsedMs = LastTextureUpdateMs = 0;
        std::memset(WaveTables, 0, sizeof WaveTables);
        std::memset(WavePhases, 0, sizeof WavePhases);
        std::memset(DriftPhases, 0, sizeof DriftPhases);
        NativeSeedClock = 77;
    }
    void TearDown() override { DestroyOffscreenContext(); }

    static std::vector<double> Matrix(GLenum which) {
        std::vector<double> m(16);
        glGetDoublev(which, m.data());
        return m;
    }
    static GLint Integer(GLenum which) {
        GLint value = 0;
        glGetIntegerv(which, &value);
        return value;
    }
};

// What gluPerspective(45, aspect, 1, 100) must produce, column-major.
std::vector<double> Perspective(double aspect) {
    const double f = 1 / std::tan(45.0 / 2 * std::numbers::pi / 180);
    std::vector<double> m(16, 0.0);
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (100.0 + 1.0) / (1.0 - 100.0);
    m[11] = -1;
    m[14] = 2 * 100.0 * 1.0 / (1.0 - 100.0);
    return m;
}

void ExpectMatrixNear(const std::vector<double>& actual, const std::vector<double>& expected) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5 * std::max(1.0, std::fabs(expected[i]))) << i;
}

TEST_F(Scene, ResizeSetsViewportProjectionAndLeavesModelview) {
    const std::vector<double> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    struct {
        int width, height, viewportHeight;
        double aspect;
    } cases[] = {{800, 600, 600, 800.0 / 600.0}, {640, 0, 1, 640.0}};
    for (const auto& c : cases) {
        glMatrixMode(GL_MODELVIEW);
        glTranslatef(1, 2, 3);  // something for ResizeScene to replace
        glMatrixMode(GL_TEXTURE);
        ResizeScene(c.width, c.height);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[0], 0);
        EXPECT_EQ(viewport[1], 0);
        EXPECT_EQ(viewport[2], c.width);
        EXPECT_EQ(viewport[3], c.viewportHeight);
        ExpectMatrixNear(Matrix(GL_PROJECTION_MATRIX), Perspective(c.aspect));
        ExpectMatrixNear(Matrix(GL_MODELVIEW_MATRIX), identity);
        EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_MODELVIEW);
    }
}

TEST_F(Scene, InitSetsStateAndABlackTextureWithSeededPhases) {
    // Everything InitScene sets starts out different from what it must set,
    // OpenGL's defaults included, so that a missing call shows.
    glClearColor(0.25f, 0.5f, 0.75f, 1);
    glShadeModel(GL_FLAT);
    glClearDepth(0.5);
    glDepthFunc(GL_ALWAYS);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    PlantedTexture = texture;

    ResizeScene(Width, Height);
    InitScene();
    EXPECT_EQ(PlasmaTexture, texture);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(std::vector<GLfloat>(clear, clear + 4), (std::vector<GLfloat>{0, 0, 0, 0}));
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(Integer(GL_DEPTH_FUNC), GL_LESS);
    EXPECT_EQ(Integer(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
    GLdouble depth = 0;
    glGetDoublev(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(depth, 1.0);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    for (GLenum off : {GL_LIGHTING, GL_CULL_FACE, GL_BLEND}) EXPECT_FALSE(glIsEnabled(off)) << off;

    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(PlasmaTexture));
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_MODULATE);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 64);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &value);
    EXPECT_EQ(value, 64);

    // The texture holds the black image synthesised on zero tables.
    std::vector<uint8_t> image(PlasmaBytes, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    EXPECT_TRUE(std::all_of(image.begin(), image.end(), [](uint8_t b) { return b == 0; }));

    // Seeded afterwards from the seed clock, and the tables built.
    int32_t wave[8];
    std::copy(WavePhases, WavePhases + 8, wave);
    SeedPlasmaPhasesFrom(77);
    EXPECT_TRUE(std::equal(wave, wave + 8, WavePhases));
    EXPECT_EQ(WaveTables[0][128], 256);
}

TEST_F(Scene, PlasmaRefreshesOnlyAfterMoreThan25Ms) {
    ResizeScene(Width, Height);
    InitScene();
    LastTextureUpdateMs = 1000;
    const int32_t before = WavePhases[0] * 1000 + DriftPhases[0];

    ElapsedMs = 1025;
    DrawScene();
    EXPECT_EQ(LastTextureUpdateMs, 1000);
    EXPECT_EQ(WavePhases[0] * 1000 + DriftPhases[0], before);

    ElapsedMs = 1026;
    DrawScene();
    EXPECT_EQ(LastTextureUpdateMs, 1026);
    EXPECT_NE(WavePhases[0] * 1000 + DriftPhases[0], before);

    ElapsedMs = 900;  // behind the last refresh: no refresh
    DrawScene();
    EXPECT_EQ(LastTextureUpdateMs, 1026);
}

struct Point {
    double x, y, z;
};

// Where each face's texture lands, as its corners are listed for drawing: the
// point at (s, t) is origin + s * alongS + t * alongT. The rotation (degrees
// about an axis through the cube's centre) turns the face to the viewer.
struct FaceView {
    const char* name;
    float degrees, ax, ay, az;
    Point origin, alongS, alongT;
};
constexpr FaceView Faces[] = {
    {"front", 0, 0, 1, 0, {-1, -1, 1}, {2, 0, 0}, {0, 2, 0}},
    {"back", 180, 0, 1, 0, {1, -1, -1}, {-2, 0, 0}, {0, 2, 0}},
    {"top", 90, 1, 0, 0, {-1, 1, -1}, {0, 0, 2}, {2, 0, 0}},
    {"bottom", -90, 1, 0, 0, {1, -1, -1}, {-2, 0, 0}, {0, 0, 2}},
    {"right", -90, 0, 1, 0, {1, -1, 1}, {0, 0, -2}, {0, 2, 0}},
    {"left", 90, 0, 1, 0, {-1, -1, -1}, {0, 0, 2}, {0, 2, 0}},
};

// At 26 ms the cube has barely turned and the first plasma image is on it.
// Each face in turn is turned to the viewer (by the projection, which
// DrawScene leaves alone); each texel centre, projected to the window, shows
// that texel's colour, within what linear filtering blends in from neighbours.
TEST_F(Scene, EveryFaceShowsTheSynthesisedTexelsTheRightWayRound) {
    ResizeScene(Width, Height);
    InitScene();
    ElapsedMs = 26;
    for (const FaceView& face : Faces) {
        ResizeScene(Width, Height);
        glMatrixMode(GL_PROJECTION);
        glTranslatef(0, 0, -CubeDistance);
        glRotatef(face.degrees, face.ax, face.ay, face.az);
        glTranslatef(0, 0, CubeDistance);
        glMatrixMode(GL_MODELVIEW);
        DrawScene();
        ASSERT_EQ(LastTextureUpdateMs, 26);
        const std::vector<uint8_t> frame = ReadOffscreenPixels();

        double modelview[16], projection[16];
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        auto texel = [](int row, int column, int channel) {
            row = std::clamp(row, 0, 63);
            column = std::clamp(column, 0, 63);
            return static_cast<int>(PlasmaPixels[3 * (64 * row + column) + channel]);
        };
        for (int row = 4; row < 64; row += 8) {
            for (int column = 4; column < 64; column += 8) {
                const double s = (column + 0.5) / 64;
                const double t = (row + 0.5) / 64;
                const Point& o = face.origin;
                const Point &u = face.alongS, &v = face.alongT;
                double wx, wy, wz;
                ASSERT_TRUE(gluProject(o.x + s * u.x + t * v.x, o.y + s * u.y + t * v.y, o.z + s * u.z + t * v.z,
                                       modelview, projection, viewport, &wx, &wy, &wz));
                const int x = static_cast<int>(wx);
                const int y = static_cast<int>(wy);
                ASSERT_TRUE(x >= 0 && x < Width && y >= 0 && y < Height) << face.name;
                for (int channel = 0; channel < 3; ++channel) {
                    int low = 255, high = 0;
                    for (int dr = -1; dr <= 1; ++dr)
                        for (int dc = -1; dc <= 1; ++dc) {
                            low = std::min(low, texel(row + dr, column + dc, channel));
                            high = std::max(high, texel(row + dr, column + dc, channel));
                        }
                    const int shown = frame[4 * (y * Width + x) + channel];
                    const auto where = ::testing::Message()
                                       << face.name << " texel " << row << "," << column << " channel " << channel;
                    EXPECT_GE(shown, low - 2) << where;
                    EXPECT_LE(shown, high + 2) << where;
                    // Nearer its own texel than the spread of its neighbourhood.
                    EXPECT_LE(std::abs(shown - texel(row, column, channel)), (high - low) / 2 + 2) << where;
                }
            }
        }
        // Outside the cube: the black clear colour.
        for (int corner : {0, Width - 1, (Height - 1) * Width, Height * Width - 1})
            for (int channel = 0; channel < 3; ++channel) EXPECT_EQ(frame[4 * corner + channel], 0) << face.name;
    }
}

TEST_F(Scene, CubeTurnsWithTheClock) {
    ResizeScene(Width, Height);
    InitScene();
    ElapsedMs = 600;  // 15, 10 and 2 degrees about x, y and z
    DrawScene();
    std::vector<double> modelview(16);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview.data());
    glLoadIdentity();
    glTranslatef(0, 0, -7);
    glRotatef(15, 1, 0, 0);
    glRotatef(10, 0, 1, 0);
    glRotatef(2, 0, 0, 1);
    ExpectMatrixNear(modelview, Matrix(GL_MODELVIEW_MATRIX));
}

// Pixels of an RGBA frame, width wide, that differ from black, within
// columns [first, last).
int LitPixels(const std::vector<uint8_t>& rgba, int width, int first, int last) {
    int lit = 0;
    for (size_t pixel = 0; pixel < rgba.size() / 4; ++pixel) {
        const int x = static_cast<int>(pixel % static_cast<size_t>(width));
        const uint8_t* p = &rgba[pixel * 4];
        if (x >= first && x < last && (p[0] != 0 || p[1] != 0 || p[2] != 0)) ++lit;
    }
    return lit;
}

// A monitor window's frame is the saver window's picture at its size; on one
// taller than wide, the whole cube stays in view across its width.
TEST_F(Scene, AWindowOfItsOwnShowsTheSamePictureAndTheWholeCube) {
    ResizeScene(Width, Height);
    InitScene();
    for (int32_t time = 0; time < 60000; time += 1000) {
        ElapsedMs = time;
        DrawSceneAtSize(Width, Height);  // first: over the last frame, which must not show
        const std::vector<uint8_t> own = ReadOffscreenPixels();
        DrawScene();
        const std::vector<uint8_t> saverWindows = ReadOffscreenPixels();
        int differing = 0;
        for (size_t i = 0; i < own.size(); i += 4) differing += std::memcmp(&own[i], &saverWindows[i], 3) != 0;
        // A few outline pixels may differ, where the saver window's 16-bit
        // depth buffer cannot tell a back face from the front one.
        EXPECT_LE(differing, 20) << "at " << time << " ms";
    }
    // The saver window's own state is back.
    GLint texturing = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &texturing);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && !glIsEnabled(GL_CULL_FACE) && texturing == GL_MODULATE);

    constexpr int TallWidth = 600, TallHeight = 1000;
    ASSERT_TRUE(MakeOffscreenContext(TallWidth, TallHeight));
    ResizeScene(TallWidth, TallHeight);
    InitScene();
    for (int32_t time = 0; time < 60000; time += 1000) {
        ElapsedMs = time;
        DrawSceneAtSize(TallWidth, TallHeight);
        const std::vector<uint8_t> frame = ReadOffscreenPixels();
        EXPECT_GT(LitPixels(frame, TallWidth, 0, TallWidth), TallWidth * TallWidth / 20) << "at " << time << " ms";
        EXPECT_EQ(LitPixels(frame, TallWidth, 0, 1) + LitPixels(frame, TallWidth, TallWidth - 1, TallWidth), 0)
            << "at " << time << " ms";
    }
}

TEST(SceneDeath, NullImageEndsTheProcessWithExitCode1) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // Mesa runs threads of its own
    EXPECT_EXIT(CreatePlasmaTexture(nullptr), ::testing::ExitedWithCode(1), "Unable to create texture");
}

}  // namespace
