#include "wayland/egl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "linux/report_failure.h"
#include "wayland/connection.h"

namespace {

EGLDisplay Display = EGL_NO_DISPLAY;
EGLConfig Config;
EGLContext Context = EGL_NO_CONTEXT;

// The first window configuration with colour, no alpha and as little depth
// as there is. Without alpha the compositor shows the frame as it is drawn
// (the scene clears to alpha 0).
bool ChooseConfig() {
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                             EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_NONE};
    EGLConfig configs[64];
    EGLint count = 0;
    if (!eglChooseConfig(Display, wanted, configs, 64, &count)) return false;
    for (EGLint i = 0; i < count; ++i) {
        EGLint alpha = 1;
        eglGetConfigAttrib(Display, configs[i], EGL_ALPHA_SIZE, &alpha);
        if (alpha == 0) {
            Config = configs[i];
            return true;
        }
    }
    return false;
}

// A failure that the connection's end caused ends the program as that end
// does (silently under a host that closed it); any other is told with EGL's
// error code.
[[noreturn]] void ExitWithEglError(const char* what) {
    const EGLint error = eglGetError();
    CheckConnection();
    ExitWithError(1, "%s (EGL error 0x%x)", what, error);
}

}  // namespace

void StartEgl(wl_display* display) {
    Display = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, display, nullptr);
    if (Display == EGL_NO_DISPLAY || !eglInitialize(Display, nullptr, nullptr))
        ExitWithEglError("cannot start EGL on the Wayland connection");
    if (!eglBindAPI(EGL_OPENGL_API)) ExitWithError(1, "EGL offers no desktop OpenGL");
    if (!ChooseConfig()) ExitWithError(1, "EGL has no opaque RGB window configuration for desktop OpenGL");
    // No version asked: a compatibility context, for the fixed-function scene.
    Context = eglCreateContext(Display, Config, EGL_NO_CONTEXT, nullptr);
    if (Context == EGL_NO_CONTEXT)
        ExitWithEglError("cannot create a desktop OpenGL context");
}

void* CreateEglSurface(wl_egl_window* window) {
    const EGLSurface surface = eglCreatePlatformWindowSurface(Display, Config, window, nullptr);
    if (surface == EGL_NO_SURFACE) ExitWithEglError("cannot create an EGL window surface");
    if (!eglMakeCurrent(Display, surface, surface, Context)) ExitWithEglError("cannot draw on a surface with OpenGL");
    eglSwapInterval(Display, 0);
    return surface;
}

void DestroyEglSurface(void* surface) {
    if (eglGetCurrentSurface(EGL_DRAW) == surface) eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, Context);
    eglDestroySurface(Display, surface);
}

void MakeCurrent(void* surface) {
    if (eglGetCurrentSurface(EGL_DRAW) != surface && !eglMakeCurrent(Display, surface, surface, Context))
        ExitWithEglError("cannot draw on a surface with OpenGL");
}

void SwapBuffers(void* surface) { eglSwapBuffers(Display, surface); }

void StopEgl() {
    eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(Display, Context);
    eglTerminate(Display);
}
