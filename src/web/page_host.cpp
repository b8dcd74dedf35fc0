// The scene in a web page: a WebGL context on the page's canvas, the live
// frame loop on the browser's animation frames (which stop while the page is
// hidden), and a frame at a given time drawn the way glimmerbox-render draws
// it. The page's script (index.html) calls the functions exported below.
#include <EGL/egl.h>
#include <GL/gl.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdint>

#include "loop/clock.h"
#include "loop/frame_title.h"
#include "scene/scene.h"
#include "web/page_seed.h"

namespace {

// glimmerbox-render's default frame step, so that a frame asked for by time
// is the one in its file.
constexpr uint64_t StillStepMs = 4;

bool Playing;        // the live loop is to go on
bool LoopScheduled;  // an animation frame is requested
FrameRate Rate;      // the frames of the live loop

// The tick count the clock reads: the page's milliseconds, wrapping at 2^32.
uint32_t TickCountMs(double nowMs) { return static_cast<uint32_t>(static_cast<uint64_t>(nowMs)); }

// The scene at a drawing buffer's size. A window taller than wide (a phone)
// gets the landscape view turned on its side: a square across its width in
// the middle, so the whole cube stays in view.
void FitScene(int32_t width, int32_t height) {
    if (height <= width) {
        ResizeScene(width, height);
        return;
    }
    ResizeScene(width, width);
    glViewport(0, (height - width) / 2, width, width);
}

// A WebGL 1 context on the page's canvas, made current: a depth buffer, no
// alpha and no multisampling, as the saver's pixel format. False where the
// browser has no WebGL.
bool MakeContext() {
    const EGLDisplay display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (eglInitialize(display, nullptr, nullptr) != EGL_TRUE) return false;
    constexpr EGLint configAttributes[] = {EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE,
                                           8, EGL_DEPTH_SIZE, 16, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (eglChooseConfig(display, configAttributes, &config, 1, &count) != EGL_TRUE || count != 1) return false;
    constexpr EGLint contextAttributes[] = {EGL_CONTEXT_CLIENT_VERSION, 2, EGL_NONE};
    const EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    const EGLSurface surface = eglCreateWindowSurface(display, config, 0, nullptr);
    return context != EGL_NO_CONTEXT && surface != EGL_NO_SURFACE &&
           eglMakeCurrent(display, surface, surface, context) == EGL_TRUE;
}

// The page's milliseconds as the frame-rate count's nanoseconds.
int64_t PageNs(double nowMs) { return static_cast<int64_t>(nowMs * 1e6); }

// One live frame; once a second first, the frame rate into the page's title.
EM_BOOL DrawLiveFrame(double nowMs, void*) {
    if (!Playing) {
        LoopScheduled = false;
        return EM_FALSE;
    }
    const int32_t framesPerSecond = CountFrame(Rate, PageNs(nowMs));
    if (framesPerSecond >= 0) emscripten_set_window_title(FrameRateTitle(framesPerSecond).text);
    StepClock(TickCountMs(nowMs));
    DrawScene();
    return EM_TRUE;
}

}  // namespace

extern "C" {

// Makes the context and the scene at a drawing buffer's size, the plasma
// seeded with seed, at animation time 0; false where WebGL is missing.
EMSCRIPTEN_KEEPALIVE bool WebStart(uint32_t seed, int32_t width, int32_t height) {
    if (!MakeContext()) return false;
    PageSeed = seed;
    FitScene(width, height);
    InitScene();
    return true;
}

// After WebStart: draws every frame glimmerbox-render draws up to raw time
// ms, one each 4 ms, and leaves the last one shown. Returns the first OpenGL
// error, 0 for none.
EMSCRIPTEN_KEEPALIVE uint32_t WebDrawUntil(uint32_t ms) {
    // The steps are drawn for the plasma's refreshes alone: clipped to one
    // pixel, thousands of them cost a software renderer next to nothing.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    // 64 bits: the step after the last may lie past 2^32 ms.
    for (uint64_t step = StillStepMs; step <= ms; step += StillStepMs) {
        StepClock(static_cast<uint32_t>(step));
        DrawScene();
    }
    glDisable(GL_SCISSOR_TEST);
    // The last frame whole (at the same time, so the plasma stays); before
    // the first step, the scene as InitScene left it, at time 0.
    DrawScene();
    return glGetError();
}

// A new drawing buffer size. Resizing cleared the canvas: when stopped, the
// frame is drawn again (its time is the same, so the plasma stays).
EMSCRIPTEN_KEEPALIVE void WebResize(int32_t width, int32_t height) {
    FitScene(width, height);
    if (!Playing) DrawScene();
}

// Starts or stops the live loop; it goes on from the frame shown.
EMSCRIPTEN_KEEPALIVE void WebPlay(bool on) {
    Playing = on;
    if (!on || LoopScheduled) return;
    const double nowMs = emscripten_get_now();
    StartTick = TickCountMs(nowMs) - static_cast<uint32_t>(ElapsedMs);
    Rate = StartFrameRate(PageNs(nowMs));
    LoopScheduled = true;
    emscripten_request_animation_frame_loop(DrawLiveFrame, nullptr);
}

}  // extern "C"
