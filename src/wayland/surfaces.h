// The surfaces the scene is drawn on, whatever their role (a layer surface
// on an output, or a window): their size and scale, their EGL surface, and
// the frame loop that draws each one when the compositor asks for a frame.
#pragma once

#include <wayland-client.h>
#include <wayland-egl.h>

#include <cstdint>

struct wp_viewport;
struct wp_fractional_scale_v1;

struct Surface {
    wl_surface* surface;  // null when the slot is free
    wl_egl_window* eglWindow;
    void* eglSurface;
    wp_viewport* viewport;               // with fractional scaling only
    wp_fractional_scale_v1* fractional;  // null where the compositor has none
    wl_callback* frame;                  // the frame callback asked for
    int32_t width, height;               // in surface coordinates, from the role's configure
    int32_t scale;                       // the output's integer scale
    uint32_t scale120;                   // the preferred fractional scale in 120ths; 0 when none
    int32_t bufferWidth, bufferHeight;   // the pixels drawn
    int32_t fitWidth, fitHeight, fitScale;  // the size and scales the buffer was fitted to
    uint32_t fitScale120;
    int64_t refreshNs;                   // the output's refresh period
    int64_t dueNs;                       // the start of the next frame, by --delay
    int64_t askAtNs;                     // when to ask for the next frame callback; 0 when asked
    bool frameWanted;                    // configured or called back: draw the next frame now
};

// Set by a key, a button or a close request that ends the program.
extern bool EndRequested;

// A new surface, opaque, with fractional scaling where offered; null when
// every slot is taken.
Surface* OpenSurface();
// The size the role gives it; the first one lets it draw.
void SetSurfaceSize(Surface& surface, int32_t width, int32_t height);
// The output's scale and refresh rate (millihertz, 0 when unknown).
void SetSurfaceOutput(Surface& surface, int32_t scale, int32_t refreshMhz);
// Destroys it and frees its slot; its role must be destroyed first.
void CloseSurface(Surface& surface);
// Draws each surface when the compositor asks, frames at least delayUs
// apart, until a stop signal (false) or EndRequested (true).
bool RunFrames(uint32_t delayUs);
