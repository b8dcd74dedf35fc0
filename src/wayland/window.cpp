#include "wayland/window.h"

#include "linux/options.h"
#include "wayland/connection.h"
#include "wayland/outputs.h"
#include "wayland/surfaces.h"
#include "xdg-shell.h"

namespace {

constexpr const char* Title = "Glimmerbox";

Surface* WindowSurface;
xdg_surface* XdgSurface;
xdg_toplevel* Toplevel;
int32_t PendingWidth, PendingHeight;

void OnSurfaceConfigure(void*, xdg_surface* surface, uint32_t serial) {
    xdg_surface_ack_configure(surface, serial);
    SetSurfaceSize(*WindowSurface, PendingWidth > 0 ? PendingWidth : OwnWindowWidth,
                   PendingHeight > 0 ? PendingHeight : OwnWindowHeight);
}
constexpr xdg_surface_listener SurfaceListener{OnSurfaceConfigure};

void OnToplevelConfigure(void*, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
    PendingWidth = width;
    PendingHeight = height;
}
void OnClose(void*, xdg_toplevel*) { EndRequested = true; }
// xdg_wm_base is bound at version 1: the later versions' events never come.
constexpr xdg_toplevel_listener ToplevelListener{OnToplevelConfigure, OnClose, nullptr, nullptr};

// Drawn at the scale and refresh rate of the output it is on (the last one
// it entered).
void OnEnter(void*, wl_surface*, wl_output* output) {
    int32_t scale = 1, refreshMhz = 0;
    OutputMode(output, scale, refreshMhz);
    SetSurfaceOutput(*WindowSurface, scale, refreshMhz);
}
void OnLeave(void*, wl_surface*, wl_output*) {}
constexpr wl_surface_listener EnterListener{OnEnter, OnLeave};

}  // namespace

void OpenWindow() {
    WindowSurface = OpenSurface();
    wl_surface_add_listener(WindowSurface->surface, &EnterListener, nullptr);
    XdgSurface = xdg_wm_base_get_xdg_surface(WmBase, WindowSurface->surface);
    xdg_surface_add_listener(XdgSurface, &SurfaceListener, nullptr);
    Toplevel = xdg_surface_get_toplevel(XdgSurface);
    xdg_toplevel_add_listener(Toplevel, &ToplevelListener, nullptr);
    xdg_toplevel_set_title(Toplevel, Title);
    xdg_toplevel_set_app_id(Toplevel, "glimmerbox");
    wl_surface_commit(WindowSurface->surface);
}

void CloseWindow() {
    xdg_toplevel_destroy(Toplevel);
    xdg_surface_destroy(XdgSurface);
    CloseSurface(*WindowSurface);
}
