#include "wayland/surfaces.h"

#include <GL/gl.h>

#include <algorithm>
#include <climits>

#include "fractional-scale-v1.h"
#include "linux/frame_clock.h"
#include "linux/report_failure.h"
#include "loop/clock.h"
#include "scene/scene.h"
#include "viewporter.h"
#include "wayland/connection.h"
#include "wayland/egl_context.h"

bool EndRequested;

namespace {

// One a connected output, and the window.
constexpr int MaxSurfaces = 17;
// Above any real output's: a larger scale from the compositor is taken as this.
constexpr int32_t MaxScale = 16;
// When an output's refresh rate is not known.
constexpr int64_t DefaultRefreshNs = 16'666'667;

Surface Surfaces[MaxSurfaces];
int64_t DelayNs;
bool SceneReady;            // InitScene has run on the context
const Surface* LastDrawn;   // whose size the projection is set for

void OnFrameDone(void* data, wl_callback* callback, uint32_t) {
    auto& surface = *static_cast<Surface*>(data);
    wl_callback_destroy(callback);
    surface.frame = nullptr;
    surface.frameWanted = true;
}
constexpr wl_callback_listener FrameListener{OnFrameDone};

void OnPreferredScale(void* data, wp_fractional_scale_v1*, uint32_t scale120) {
    static_cast<Surface*>(data)->scale120 = std::min(scale120, static_cast<uint32_t>(MaxScale * 120));
}
constexpr wp_fractional_scale_v1_listener FractionalListener{OnPreferredScale};

void AskForFrame(Surface& surface) {
    surface.askAtNs = 0;
    // A new size while a callback is pending: that one still comes.
    if (surface.frame != nullptr) return;
    surface.frame = wl_surface_frame(surface.surface);
    wl_callback_add_listener(surface.frame, &FrameListener, &surface);
}

// The buffer at full resolution: by the fractional scale through the
// viewport where there is one (the buffer itself at scale 1), else by the
// output's integer scale. In 64 bits: the compositor sends the size. A new
// scale alone keeps the pixels but changes what they cover.
void FitBuffer(Surface& surface) {
    if (surface.eglWindow != nullptr && surface.width == surface.fitWidth && surface.height == surface.fitHeight &&
        surface.scale == surface.fitScale && surface.scale120 == surface.fitScale120)
        return;
    const int64_t scale120 = surface.scale120 != 0 ? surface.scale120 : surface.scale * 120;
    const int64_t width = (surface.width * scale120 + 60) / 120, height = (surface.height * scale120 + 60) / 120;
    if (width > INT32_MAX || height > INT32_MAX)
        ExitWithError(1, "the compositor asks for a surface of %dx%d at scale %.3f, too large to draw", surface.width,
                      surface.height, static_cast<double>(scale120) / 120);
    if (surface.scale120 != 0) wp_viewport_set_destination(surface.viewport, surface.width, surface.height);
    wl_surface_set_buffer_scale(surface.surface, surface.scale120 != 0 ? 1 : surface.scale);
    if (surface.eglWindow == nullptr) {
        surface.eglWindow = wl_egl_window_create(surface.surface, static_cast<int>(width), static_cast<int>(height));
        surface.eglSurface = CreateEglSurface(surface.eglWindow);
    } else if (width != surface.bufferWidth || height != surface.bufferHeight) {
        wl_egl_window_resize(surface.eglWindow, static_cast<int>(width), static_cast<int>(height), 0, 0);
    }
    surface.bufferWidth = static_cast<int32_t>(width);
    surface.bufferHeight = static_cast<int32_t>(height);
    surface.fitWidth = surface.width;
    surface.fitHeight = surface.height;
    surface.fitScale = surface.scale;
    surface.fitScale120 = surface.scale120;
    LastDrawn = nullptr;
}

// One frame, and the frame callback that asks for the next: with this
// frame's commit when the next one is due within about a refresh, so that
// the default delay draws every frame the compositor asks for; otherwise
// once the due time is near, so that the callback comes at the refresh
// nearest to it.
void DrawFrame(Surface& surface) {
    FitBuffer(surface);
    MakeCurrent(surface.eglSurface);
    if (LastDrawn != &surface) ResizeScene(surface.bufferWidth, surface.bufferHeight);
    LastDrawn = &surface;
    if (!SceneReady) {
        InitScene();
        // No depth buffer: culling the faces turned away draws the convex cube right.
        glEnable(GL_CULL_FACE);
        SceneReady = true;
    }
    const int64_t startNs = MonotonicNs();
    surface.dueNs = NextFrameNs(surface.dueNs != 0 ? surface.dueNs : startNs, DelayNs, startNs);
    if (surface.dueNs - surface.refreshNs * 3 / 2 <= startNs) AskForFrame(surface);
    else surface.askAtNs = surface.dueNs - surface.refreshNs / 2;
    surface.frameWanted = false;
    AdvanceClock();
    DrawScene();
    SwapBuffers(surface.eglSurface);
    CheckConnection();
}

// Draws the surfaces whose frame has come; returns the nanoseconds until the
// next callback must be asked for, or -1 for none.
int64_t DrawDueSurfaces() {
    int64_t waitNs = -1;
    for (Surface& surface : Surfaces) {
        if (surface.surface == nullptr || surface.width <= 0 || surface.height <= 0) continue;
        if (surface.frameWanted) DrawFrame(surface);
        if (surface.askAtNs == 0) continue;
        const int64_t leftNs = surface.askAtNs - MonotonicNs();
        if (leftNs <= 0) {
            AskForFrame(surface);
            wl_surface_commit(surface.surface);
        } else if (waitNs < 0 || leftNs < waitNs) {
            waitNs = leftNs;
        }
    }
    return waitNs;
}

}  // namespace

Surface* OpenSurface() {
    for (Surface& surface : Surfaces) {
        if (surface.surface != nullptr) continue;
        surface = Surface{};
        surface.surface = wl_compositor_create_surface(Compositor);
        surface.scale = 1;
        surface.refreshNs = DefaultRefreshNs;
        wl_region* opaque = wl_compositor_create_region(Compositor);
        wl_region_add(opaque, 0, 0, INT32_MAX, INT32_MAX);
        wl_surface_set_opaque_region(surface.surface, opaque);
        wl_region_destroy(opaque);
        if (Viewporter != nullptr && FractionalScales != nullptr) {
            surface.viewport = wp_viewporter_get_viewport(Viewporter, surface.surface);
            surface.fractional = wp_fractional_scale_manager_v1_get_fractional_scale(FractionalScales, surface.surface);
            wp_fractional_scale_v1_add_listener(surface.fractional, &FractionalListener, &surface);
        }
        return &surface;
    }
    return nullptr;
}

void SetSurfaceSize(Surface& surface, int32_t width, int32_t height) {
    // The first size lets the first frame be drawn.
    if (surface.width <= 0) surface.frameWanted = true;
    surface.width = width;
    surface.height = height;
}

void SetSurfaceOutput(Surface& surface, int32_t scale, int32_t refreshMhz) {
    surface.scale = std::clamp(scale, 1, MaxScale);
    surface.refreshNs = refreshMhz > 0 ? 1'000'000'000'000 / refreshMhz : DefaultRefreshNs;
}

void CloseSurface(Surface& surface) {
    if (surface.eglSurface != nullptr) DestroyEglSurface(surface.eglSurface);
    if (surface.eglWindow != nullptr) wl_egl_window_destroy(surface.eglWindow);
    if (surface.frame != nullptr) wl_callback_destroy(surface.frame);
    if (surface.fractional != nullptr) wp_fractional_scale_v1_destroy(surface.fractional);
    if (surface.viewport != nullptr) wp_viewport_destroy(surface.viewport);
    wl_surface_destroy(surface.surface);
    if (LastDrawn == &surface) LastDrawn = nullptr;
    surface = Surface{};
}

bool RunFrames(uint32_t delayUs) {
    DelayNs = DelayToNs(delayUs);
    StartTick = TickCountMs();
    while (!EndRequested)
        if (!WaitForEvents(DrawDueSurfaces())) return false;
    return true;
}
