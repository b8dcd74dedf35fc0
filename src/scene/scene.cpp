#include "scene/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "loop/clock.h"
#include "scene/plasma.h"
#include "scene/plasma_texture.h"
#include "scene/scene_services.h"

int32_t LastTextureUpdateMs;

namespace {

constexpr int32_t PlasmaRefreshMs = 25;
constexpr double FieldOfViewDegrees = 45.0;
constexpr double NearPlane = 1.0;
constexpr double FarPlane = 100.0;
constexpr float CubeDistance = 7.0f;
// Animation milliseconds per degree about x, y and z.
constexpr double MsPerDegreeX = 40.0;
constexpr double MsPerDegreeY = 60.0;
constexpr double MsPerDegreeZ = 300.0;

// The angle is divided in double precision and handed over in single, with
// no reduction modulo 360.
float AngleDegrees(int32_t elapsedMs, double msPerDegree) {
    return static_cast<float>(elapsedMs / msPerDegree);
}

struct CubeVertex {
    float s, t;
    float x, y, z;
};
struct CubeFace {
    float nx, ny, nz;
    CubeVertex corners[4];
};

// Front, back, top, bottom, right, left; each face maps the whole image once.
constexpr CubeFace Cube[6] = {
    {0, 0, 1, {{0, 0, -1, -1, 1}, {1, 0, 1, -1, 1}, {1, 1, 1, 1, 1}, {0, 1, -1, 1, 1}}},
    {0, 0, -1, {{1, 0, -1, -1, -1}, {1, 1, -1, 1, -1}, {0, 1, 1, 1, -1}, {0, 0, 1, -1, -1}}},
    {0, 1, 0, {{0, 0, -1, 1, -1}, {1, 0, -1, 1, 1}, {1, 1, 1, 1, 1}, {0, 1, 1, 1, -1}}},
    {0, -1, 0, {{1, 0, -1, -1, -1}, {0, 0, 1, -1, -1}, {0, 1, 1, -1, 1}, {1, 1, -1, -1, 1}}},
    {1, 0, 0, {{1, 0, 1, -1, -1}, {1, 1, 1, 1, -1}, {0, 1, 1, 1, 1}, {0, 0, 1, -1, 1}}},
    {-1, 0, 0, {{0, 0, -1, -1, -1}, {1, 0, -1, -1, 1}, {1, 1, -1, 1, 1}, {0, 1, -1, 1, -1}}},
};

void DrawCube() {
    glBegin(GL_QUADS);
    for (const CubeFace& face : Cube) {
        glNormal3f(face.nx, face.ny, face.nz);
        for (const CubeVertex& v : face.corners) {
            glTexCoord2f(v.s, v.t);
            glVertex3f(v.x, v.y, v.z);
        }
    }
    glEnd();
}

// Viewport and projection for a client area, with the given vertical field
// of view.
void SetProjection(int32_t width, int32_t height, double fieldOfViewDegrees) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfViewDegrees, static_cast<double>(width) / static_cast<double>(height), NearPlane,
                   FarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// The turned cube at ElapsedMs, with the plasma refreshed when due.
void DrawTurningCube() {
    glLoadIdentity();
    glTranslatef(0, 0, -CubeDistance);
    glRotatef(AngleDegrees(ElapsedMs, MsPerDegreeX), 1, 0, 0);
    glRotatef(AngleDegrees(ElapsedMs, MsPerDegreeY), 0, 1, 0);
    glRotatef(AngleDegrees(ElapsedMs, MsPerDegreeZ), 0, 0, 1);

    if (PlasmaRefreshDue(ElapsedMs, LastTextureUpdateMs)) {
        UpdatePlasma();
        LastTextureUpdateMs = ElapsedMs;
    }
    glBindTexture(GL_TEXTURE_2D, PlasmaTexture);
    DrawCube();
}

// The vertical field of view for a window of its own: the usual one, or on
// a window taller than wide, one that gives its width that angle, so the
// whole cube stays in view.
double FittingFieldOfViewDegrees(int32_t width, int32_t height) {
    if (height <= width || width <= 0) return FieldOfViewDegrees;
    const double halfWidth = std::tan(FieldOfViewDegrees / 2 * std::numbers::pi / 180);
    return 2 * std::atan(halfWidth * height / width) * 180 / std::numbers::pi;
}

}  // namespace

bool PlasmaRefreshDue(int32_t elapsedMs, int32_t lastUpdateMs) {
    // Wraps like the clock itself, so the refresh keeps going past 2^31 ms.
    const auto difference =
        static_cast<int32_t>(static_cast<uint32_t>(elapsedMs) - static_cast<uint32_t>(lastUpdateMs));
    return difference > PlasmaRefreshMs;
}

void InitRenderState() {
    glClearColor(0, 0, 0, 0);
    glShadeModel(GL_SMOOTH);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_TEXTURE_2D);
}

void InitScene() {
    InitRenderState();

    if (!AllocatePlasmaPixels()) ExitWithMessage("Runtime error 203: out of memory", "Error", true, 203);
    std::memset(PlasmaPixels, 255, PlasmaBytes);
    PlasmaTexture = CreatePlasmaTexture(PlasmaPixels);
    // Tables and phases are still zero: this uploads black until the first
    // refresh after seeding.
    UpdatePlasma();
    SeedPlasmaPhases();
    BuildWaveTables();
}

void ResizeScene(int32_t width, int32_t height) { SetProjection(width, height, FieldOfViewDegrees); }

void DrawScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawTurningCube();
}

void DrawSceneAtSize(int32_t width, int32_t height) {
    glPushAttrib(GL_VIEWPORT_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    SetProjection(width, height, FittingFieldOfViewDegrees(width, height));
    // The same picture for less work on every further monitor, which counts
    // on a software renderer: one convex cube needs no depth buffer once its
    // back faces are culled (no depth to clear or test, no hidden faces
    // shaded), and the texture modulated by white is the texture itself.
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawTurningCube();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
