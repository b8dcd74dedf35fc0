#include "wayland/connection.h"

#include <errno.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fractional-scale-v1.h"
#include "linux/report_failure.h"
#include "linux/stop_signals.h"
#include "viewporter.h"
#include "wayland/input.h"
#include "wayland/outputs.h"
#include "wayland/layer_shell_protocol.h"
#include "xdg-output-unstable-v1.h"
#include "xdg-shell.h"

wl_display* WlDisplay;
wl_compositor* Compositor;
zwlr_layer_shell_v1* LayerShell;
xdg_wm_base* WmBase;
wp_viewporter* Viewporter;
wp_fractional_scale_manager_v1* FractionalScales;
zxdg_output_manager_v1* XdgOutputs;

namespace {

bool HandedOver;       // the connection came in WAYLAND_SOCKET from a host
char LibraryLine[200];  // libwayland's last message: a protocol error's text

// libwayland prints its own lines on a protocol error; the program says it
// in one line of its own instead, with that text.
void KeepLibraryLine(const char* format, std::va_list arguments) {
    std::vsnprintf(LibraryLine, sizeof LibraryLine, format, arguments);
    LibraryLine[std::strcspn(LibraryLine, "\n")] = '\0';
}

void OnPing(void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }
constexpr xdg_wm_base_listener WmBaseListener{OnPing};

void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    const auto is = [interface](const wl_interface& known) { return std::strcmp(interface, known.name) == 0; };
    // wl_surface.set_buffer_scale and enter need version 3 or later.
    if (is(wl_compositor_interface) && version >= 3)
        Compositor = Bind<wl_compositor>(registry, name, wl_compositor_interface, version, 4);
    else if (is(zwlr_layer_shell_v1_interface))
        LayerShell = Bind<zwlr_layer_shell_v1>(registry, name, zwlr_layer_shell_v1_interface, version,
                                               static_cast<uint32_t>(zwlr_layer_shell_v1_interface.version));
    else if (is(xdg_wm_base_interface)) {
        WmBase = Bind<xdg_wm_base>(registry, name, xdg_wm_base_interface, version, 1);
        xdg_wm_base_add_listener(WmBase, &WmBaseListener, nullptr);
    } else if (is(wp_viewporter_interface))
        Viewporter = Bind<wp_viewporter>(registry, name, wp_viewporter_interface, version, 1);
    else if (is(wp_fractional_scale_manager_v1_interface))
        FractionalScales = Bind<wp_fractional_scale_manager_v1>(registry, name, wp_fractional_scale_manager_v1_interface,
                                                                version, 1);
    else if (is(zxdg_output_manager_v1_interface) && version >= 2)
        XdgOutputs = Bind<zxdg_output_manager_v1>(registry, name, zxdg_output_manager_v1_interface, version, 3);
    else if (is(wl_output_interface) && version >= 2)
        AddOutput(registry, name, version);
    else if (is(wl_seat_interface))
        AddSeat(registry, name, version);
}

void OnGlobalRemove(void*, wl_registry*, uint32_t name) {
    RemoveOutput(name);
    RemoveSeat(name);
}

constexpr wl_registry_listener RegistryListener{OnGlobal, OnGlobalRemove};

void Roundtrip() {
    if (wl_display_roundtrip(WlDisplay) < 0) CheckConnection();
}

}  // namespace

void Connect() {
    wl_log_set_handler_client(KeepLibraryLine);
    const char* socket = std::getenv("WAYLAND_SOCKET");
    HandedOver = socket != nullptr && socket[0] != '\0';
    const char* name = std::getenv("WAYLAND_DISPLAY");
    WlDisplay = wl_display_connect(nullptr);
    if (WlDisplay == nullptr) {
        if (HandedOver) ExitWithError(1, "WAYLAND_SOCKET \"%s\": not a connection to a Wayland compositor", socket);
        ExitWithError(1, "WAYLAND_DISPLAY \"%s\": cannot connect to a Wayland compositor", name ? name : "");
    }
    wl_registry_add_listener(wl_display_get_registry(WlDisplay), &RegistryListener, nullptr);
    Roundtrip();  // the globals
    Roundtrip();  // what they tell at once: outputs' names, sizes and scales
    if (Compositor == nullptr) ExitWithError(1, "the Wayland compositor offers no wl_compositor of version 3 or later");
    if (NameOutputs()) Roundtrip();
}

void CheckConnection() {
    const int error = wl_display_get_error(WlDisplay);
    if (error == 0) return;
    // A protocol error on wl_display itself sets errno-like codes of its
    // own; the interface tells every protocol error apart.
    const wl_interface* interface = nullptr;
    uint32_t id = 0;
    wl_display_get_protocol_error(WlDisplay, &interface, &id);
    if (error == EPROTO || interface != nullptr) {
        char text[240];
        std::snprintf(text, sizeof text, "Wayland protocol error: %s", LibraryLine[0] ? LibraryLine : "(no text)");
        ExitAtOnce(1, text);
    }
    // The process ends without exit handlers: EGL's would talk to the
    // dead connection.
    if (HandedOver) _exit(0);
    ExitAtOnce(1, "lost the connection to the Wayland compositor");
}

bool WaitForEvents(int64_t timeoutNs) {
    // Events already queued are handled first, and may want a frame drawn
    // before any wait.
    bool handled = false;
    while (wl_display_prepare_read(WlDisplay) != 0) {
        if (wl_display_dispatch_pending(WlDisplay) < 0) CheckConnection();
        handled = true;
    }
    // A full send buffer (EAGAIN) empties once the compositor reads: wait
    // for room as well. A closed peer (EPIPE) sets no error: the read below
    // does, at the end of the stream, after any events the peer sent before
    // it went (a protocol error among them).
    const int flushError = wl_display_flush(WlDisplay) < 0 ? errno : 0;
    if (handled || (flushError != 0 && flushError != EAGAIN && flushError != EPIPE)) {
        wl_display_cancel_read(WlDisplay);
        CheckConnection();
        return true;
    }
    if (!WaitForInput(wl_display_get_fd(WlDisplay), timeoutNs, flushError == EAGAIN)) {
        wl_display_cancel_read(WlDisplay);
        return false;
    }
    if (wl_display_read_events(WlDisplay) < 0 || wl_display_dispatch_pending(WlDisplay) < 0) CheckConnection();
    return true;
}

void Disconnect() {
    wl_display_flush(WlDisplay);
    wl_display_disconnect(WlDisplay);
    WlDisplay = nullptr;
}
