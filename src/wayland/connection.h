// The connection to the Wayland compositor: the globals the program binds,
// the wait for events, and the ways the connection ends.
#pragma once

#include <wayland-client.h>

#include <algorithm>
#include <cstdint>

struct zwlr_layer_shell_v1;
struct xdg_wm_base;
struct wp_viewporter;
struct wp_fractional_scale_manager_v1;
struct zxdg_output_manager_v1;

extern wl_display* WlDisplay;
// Null when the compositor does not offer them.
extern wl_compositor* Compositor;
extern zwlr_layer_shell_v1* LayerShell;
extern xdg_wm_base* WmBase;
extern wp_viewporter* Viewporter;
extern wp_fractional_scale_manager_v1* FractionalScales;
extern zxdg_output_manager_v1* XdgOutputs;

// Binds a global at the lower of the version offered and the one we know.
template <typename T>
T* Bind(wl_registry* registry, uint32_t name, const wl_interface& interface, uint32_t offered, uint32_t known) {
    return static_cast<T*>(wl_registry_bind(registry, name, &interface, std::min(offered, known)));
}

// Connects to $WAYLAND_SOCKET or $WAYLAND_DISPLAY, binds the globals and
// waits until the outputs have told their names and sizes. Ends the process
// with one line when there is no compositor, or no wl_compositor.
void Connect();
// Ends the process, the way hosts expect, once the connection has failed: a
// connection handed over in WAYLAND_SOCKET that the host closed is the
// normal end (exit 0, silent); a protocol error or a lost connection that
// we opened is one line and exit 1.
void CheckConnection();
// Sends what is queued, waits up to timeoutNs (without end when negative)
// for events and handles them; false when a stop signal ended the wait.
bool WaitForEvents(int64_t timeoutNs);
// Closes the connection; the compositor frees what is left of ours.
void Disconnect();
