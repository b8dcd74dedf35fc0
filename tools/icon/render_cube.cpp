#include "render_cube.h"

#include <GL/gl.h>

#include "loop/clock.h"
#include "native_services.h"
#include "offscreen_gl.h"
#include "scene/scene.h"

std::vector<uint8_t> RenderCube(uint32_t seed, int32_t timeMs, int32_t side) {
    if (!MakeOffscreenContext(side, side)) return {};
    NativeSeedClock = seed;
    ResizeScene(side, side);
    InitScene();
    // One frame at timeMs, as if the clock had settled there. The refresh is
    // due (the last one was at 0), so the frame shows the seed's first plasma.
    StartTick = 0;
    ElapsedMs = PrevElapsedMs = timeMs;
    LastTextureUpdateMs = 0;
    DrawScene();
    std::vector<uint8_t> pixels;
    if (glGetError() == GL_NO_ERROR) pixels = ReadOffscreenPixels();
    DestroyOffscreenContext();
    return pixels;
}
