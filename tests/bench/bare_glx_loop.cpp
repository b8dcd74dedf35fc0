// The least a GLX program can do to show the scene: one window, one context,
// frames back to back with the animation clock, and the frame rate in the
// title once a second, as the X11 program and the Windows saver show it. The
// benchmark compares glimmerbox against it. Runs until killed.
// Usage: bare_glx_loop [width height]
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "linux/report_failure.h"
#include "loop/clock.h"
#include "loop/frame_title.h"
#include "scene/scene.h"

extern const char ProgramName[] = "bare_glx_loop";

namespace {

int64_t NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

}  // namespace

int main(int argc, char** argv) {
    const int width = argc == 3 ? std::atoi(argv[1]) : 1024;
    const int height = argc == 3 ? std::atoi(argv[2]) : 768;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return std::fputs("bare_glx_loop: no display\n", stderr), 1;
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
    XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes);
    if (visual == nullptr) return std::fputs("bare_glx_loop: no GLX visual\n", stderr), 1;
    const Window root = DefaultRootWindow(display);
    XSetWindowAttributes set{};
    set.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    const Window window = XCreateWindow(display, root, 0, 0, static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), 0, visual->depth, InputOutput,
                                        visual->visual, CWColormap, &set);
    XStoreName(display, window, "Bare GLX loop");
    XMapWindow(display, window);
    const GLXContext context = glXCreateContext(display, visual, nullptr, True);
    glXMakeCurrent(display, window, context);
    ResizeScene(width, height);
    InitScene();

    StartTick = static_cast<uint32_t>(NowNs() / 1'000'000);
    int64_t nextTitleNs = NowNs() + 1'000'000'000;
    int32_t frames = 0;
    for (;;) {
        StepClock(static_cast<uint32_t>(NowNs() / 1'000'000));
        DrawScene();
        glXSwapBuffers(display, window);
        ++frames;
        if (NowNs() >= nextTitleNs) {
            XStoreName(display, window, FrameRateTitle(FramesPerSecond(frames)).text);
            XFlush(display);
            frames = 0;
            nextTitleNs += 1'000'000'000;
        }
    }
}
