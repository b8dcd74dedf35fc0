// The least a layer-shell client can do to show the scene: an overlay
// surface on each output there is at start, one EGL context, and each
// surface drawn whenever the compositor calls back for it. The Wayland
// benchmark compares glimmerbox-wl against it. Runs until killed.
#include <EGL/egl.h>
#include <GL/gl.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <cstdio>
#include <cstring>

#include "linux/frame_clock.h"
#include "loop/clock.h"
#include "scene/scene.h"
#include "wayland/layer_shell_protocol.h"

extern const char ProgramName[] = "bare_egl_loop";

namespace {

struct Layer {
    wl_output* output;
    wl_surface* surface;
    wl_egl_window* window;
    EGLSurface egl;
    int width, height;
    bool due;
};

wl_compositor* Compositor;
zwlr_layer_shell_v1* Shell;
Layer Layers[8];
int LayerCount;
EGLDisplay Egl;
EGLConfig Config;
EGLContext Context;

void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    if (std::strcmp(interface, wl_compositor_interface.name) == 0)
        Compositor = static_cast<wl_compositor*>(wl_registry_bind(registry, name, &wl_compositor_interface, 4));
    else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0)
        Shell = static_cast<zwlr_layer_shell_v1*>(wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, 1));
    else if (std::strcmp(interface, wl_output_interface.name) == 0 && LayerCount < 8)
        Layers[LayerCount++].output = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 1));
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
constexpr wl_registry_listener RegistryListener{OnGlobal, OnGlobalRemove};

void OnConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width, uint32_t height) {
    auto& l = *static_cast<Layer*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    if (l.window != nullptr) return;
    l.width = static_cast<int>(width);
    l.height = static_cast<int>(height);
    l.window = wl_egl_window_create(l.surface, l.width, l.height);
    l.egl = eglCreateWindowSurface(Egl, Config, reinterpret_cast<EGLNativeWindowType>(l.window), nullptr);
    eglMakeCurrent(Egl, l.egl, l.egl, Context);
    eglSwapInterval(Egl, 0);
    l.due = true;
}
void OnClosed(void*, zwlr_layer_surface_v1*) {}
constexpr zwlr_layer_surface_v1_listener LayerListener{OnConfigure, OnClosed};

void OnFrame(void* data, wl_callback* callback, uint32_t) {
    wl_callback_destroy(callback);
    static_cast<Layer*>(data)->due = true;
}
constexpr wl_callback_listener FrameListener{OnFrame};

}  // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) return std::fputs("bare_egl_loop: no Wayland display\n", stderr), 1;
    wl_registry_add_listener(wl_display_get_registry(display), &RegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (Compositor == nullptr || Shell == nullptr) return std::fputs("bare_egl_loop: no layer-shell\n", stderr), 1;

    Egl = eglGetDisplay(reinterpret_cast<EGLNativeDisplayType>(display));
    eglInitialize(Egl, nullptr, nullptr);
    eglBindAPI(EGL_OPENGL_API);
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_RED_SIZE, 8,
                             EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 0, EGL_DEPTH_SIZE, 0, EGL_NONE};
    EGLint count = 0;
    eglChooseConfig(Egl, wanted, &Config, 1, &count);
    Context = eglCreateContext(Egl, Config, EGL_NO_CONTEXT, nullptr);
    for (int i = 0; i < LayerCount; ++i) {
        Layer& l = Layers[i];
        l.surface = wl_compositor_create_surface(Compositor);
        zwlr_layer_surface_v1* layer = zwlr_layer_shell_v1_get_layer_surface(
            Shell, l.surface, l.output, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "bare");
        zwlr_layer_surface_v1_add_listener(layer, &LayerListener, &l);
        zwlr_layer_surface_v1_set_anchor(layer, 15);
        zwlr_layer_surface_v1_set_exclusive_zone(layer, -1);
        wl_surface_commit(l.surface);
    }
    wl_display_roundtrip(display);

    bool sceneReady = false;
    StartTick = TickCountMs();
    for (;;) {
        for (int i = 0; i < LayerCount; ++i) {
            Layer& l = Layers[i];
            if (!l.due) continue;
            l.due = false;
            eglMakeCurrent(Egl, l.egl, l.egl, Context);
            ResizeScene(l.width, l.height);
            if (!sceneReady) {
                InitScene();
                glEnable(GL_CULL_FACE);
                sceneReady = true;
            }
            wl_callback_add_listener(wl_surface_frame(l.surface), &FrameListener, &l);
            AdvanceClock();
            DrawScene();
            eglSwapBuffers(Egl, l.egl);
        }
        if (wl_display_dispatch(display) < 0) return 1;
    }
}
