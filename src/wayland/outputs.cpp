#include "wayland/outputs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "linux/report_failure.h"
#include "wayland/connection.h"
#include "wayland/surfaces.h"
#include "wayland/layer_shell_protocol.h"
#include "xdg-output-unstable-v1.h"

namespace {

constexpr int MaxOutputs = 16;
constexpr const char* Namespace = "glimmerbox";

struct Output {
    uint32_t global;  // the registry's name for it; 0 when the slot is free
    wl_output* output;
    zxdg_output_v1* xdgOutput;
    char name[64];  // "" until told
    int32_t scale;
    int32_t refreshMhz;
    bool done;    // its first description is complete
    bool closed;  // the compositor took our surface away: no other until it comes anew
    Surface* surface;
    zwlr_layer_surface_v1* layerSurface;
};

Output Outputs[MaxOutputs];
bool Covering;
Layer CoverLayer;
const char* CoverName;

void Uncover(Output& output) {
    if (output.surface == nullptr) return;
    zwlr_layer_surface_v1_destroy(output.layerSurface);
    CloseSurface(*output.surface);
    output.surface = nullptr;
    output.layerSurface = nullptr;
}

void OnLayerConfigure(void* data, zwlr_layer_surface_v1* layerSurface, uint32_t serial, uint32_t width, uint32_t height) {
    auto& output = *static_cast<Output*>(data);
    zwlr_layer_surface_v1_ack_configure(layerSurface, serial);
    SetSurfaceSize(*output.surface, static_cast<int32_t>(width), static_cast<int32_t>(height));
}

void OnLayerClosed(void* data, zwlr_layer_surface_v1*) {
    auto& output = *static_cast<Output*>(data);
    Uncover(output);
    output.closed = true;
}

constexpr zwlr_layer_surface_v1_listener LayerListener{OnLayerConfigure, OnLayerClosed};

// A full-size surface on the output. On the overlay and top layers it takes
// the pointer and the keyboard, so that the input that wakes the screen
// reaches no program beneath; on the background and bottom layers it takes
// no input at all.
void Cover(Output& output) {
    output.surface = OpenSurface();
    if (output.surface == nullptr) {
        ReportProblem("output %s: too many surfaces; it is not covered", output.name);
        output.closed = true;
        return;
    }
    wl_surface* surface = output.surface->surface;
    output.layerSurface = zwlr_layer_shell_v1_get_layer_surface(LayerShell, surface, output.output,
                                                                static_cast<uint32_t>(CoverLayer), Namespace);
    zwlr_layer_surface_v1_add_listener(output.layerSurface, &LayerListener, &output);
    constexpr uint32_t allEdges = ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                  ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
    zwlr_layer_surface_v1_set_anchor(output.layerSurface, allEdges);
    zwlr_layer_surface_v1_set_size(output.layerSurface, 0, 0);
    zwlr_layer_surface_v1_set_exclusive_zone(output.layerSurface, -1);
    const bool takesInput = CoverLayer == Layer::Overlay || CoverLayer == Layer::Top;
    zwlr_layer_surface_v1_set_keyboard_interactivity(output.layerSurface, takesInput ? 1 : 0);
    if (!takesInput) {
        wl_region* none = wl_compositor_create_region(Compositor);
        wl_surface_set_input_region(surface, none);
        wl_region_destroy(none);
    }
    SetSurfaceOutput(*output.surface, output.scale, output.refreshMhz);
    wl_surface_commit(surface);
}

// Covers the output once it is described, if it is one to cover; follows
// its scale and refresh rate.
void Update(Output& output) {
    if (!output.done) return;
    if (output.surface != nullptr) SetSurfaceOutput(*output.surface, output.scale, output.refreshMhz);
    else if (Covering && !output.closed && (CoverName == nullptr || std::strcmp(CoverName, output.name) == 0))
        Cover(output);
}

void OnGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*, int32_t) {}

void OnMode(void* data, wl_output*, uint32_t flags, int32_t, int32_t, int32_t refresh) {
    if (flags & WL_OUTPUT_MODE_CURRENT) static_cast<Output*>(data)->refreshMhz = refresh;
}

void OnDone(void* data, wl_output*) {
    auto& output = *static_cast<Output*>(data);
    output.done = true;
    Update(output);
}

void OnScale(void* data, wl_output*, int32_t factor) { static_cast<Output*>(data)->scale = factor; }

void CopyName(Output& output, const char* name) { std::snprintf(output.name, sizeof output.name, "%s", name); }

void OnName(void* data, wl_output*, const char* name) { CopyName(*static_cast<Output*>(data), name); }

void OnDescription(void*, wl_output*, const char*) {}

constexpr wl_output_listener OutputListener{OnGeometry, OnMode, OnDone, OnScale, OnName, OnDescription};

void OnXdgPosition(void*, zxdg_output_v1*, int32_t, int32_t) {}
void OnXdgSize(void*, zxdg_output_v1*, int32_t, int32_t) {}
// Before version 3 the name may come after wl_output's done, completed by
// this one: an output named by --output is covered once it is known.
void OnXdgDone(void* data, zxdg_output_v1*) { Update(*static_cast<Output*>(data)); }
void OnXdgName(void* data, zxdg_output_v1*, const char* name) { CopyName(*static_cast<Output*>(data), name); }
void OnXdgDescription(void*, zxdg_output_v1*, const char*) {}

constexpr zxdg_output_v1_listener XdgOutputListener{OnXdgPosition, OnXdgSize, OnXdgDone, OnXdgName, OnXdgDescription};

}  // namespace

void AddOutput(wl_registry* registry, uint32_t name, uint32_t version) {
    Output* free = std::find_if(Outputs, Outputs + MaxOutputs, [](const Output& o) { return o.global == 0; });
    if (free == Outputs + MaxOutputs) {
        ReportProblem("more than %d outputs: a new one is not covered", MaxOutputs);
        return;
    }
    Output& output = *free;
    output = Output{};
    output.global = name;
    output.scale = 1;
    output.output = Bind<wl_output>(registry, name, wl_output_interface, version, 4);
    wl_output_add_listener(output.output, &OutputListener, &output);
    if (XdgOutputs != nullptr && version < 4) NameOutputs();
}

void RemoveOutput(uint32_t name) {
    for (Output& output : Outputs) {
        if (output.global != name || name == 0) continue;
        Uncover(output);
        if (output.xdgOutput != nullptr) zxdg_output_v1_destroy(output.xdgOutput);
        if (wl_output_get_version(output.output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) wl_output_release(output.output);
        else wl_output_destroy(output.output);
        output = Output{};
    }
}

bool NameOutputs() {
    bool asked = false;
    for (Output& output : Outputs) {
        if (output.global == 0 || output.xdgOutput != nullptr || XdgOutputs == nullptr ||
            wl_output_get_version(output.output) >= 4)
            continue;
        output.xdgOutput = zxdg_output_manager_v1_get_xdg_output(XdgOutputs, output.output);
        zxdg_output_v1_add_listener(output.xdgOutput, &XdgOutputListener, &output);
        asked = true;
    }
    return asked;
}

void OutputMode(wl_output* wlOutput, int32_t& scale, int32_t& refreshMhz) {
    for (const Output& output : Outputs) {
        if (output.global == 0 || output.output != wlOutput) continue;
        scale = output.scale;
        refreshMhz = output.refreshMhz;
    }
}

bool CoverOutputs(Layer layer, const char* name, char* names, int namesSize) {
    Covering = true;
    CoverLayer = layer;
    CoverName = name;
    bool found = name == nullptr;
    const auto size = static_cast<size_t>(namesSize);
    size_t used = 0;
    names[0] = '\0';
    for (Output& output : Outputs) {
        if (output.global == 0) continue;
        Update(output);
        found = found || std::strcmp(output.name, name) == 0;
        if (used < size)
            used += static_cast<size_t>(std::snprintf(names + used, size - used, "%s%s", used == 0 ? "" : ", ",
                                                      output.name[0] != '\0' ? output.name : "(no name)"));
    }
    if (used == 0) std::snprintf(names, size, "none");
    return found;
}

void UncoverOutputs() {
    Covering = false;
    for (Output& output : Outputs) Uncover(output);
}
