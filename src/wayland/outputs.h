// The outputs, and on each the layer surface that covers it.
#pragma once

#include <wayland-client.h>

#include <cstdint>

#include "linux/options.h"

// Binds a wl_output the registry announced.
void AddOutput(wl_registry* registry, uint32_t name, uint32_t version);
// An output that went takes its surface with it; other names are ignored.
void RemoveOutput(uint32_t name);
// Asks xdg-output for the names of outputs whose wl_output cannot tell
// them (before version 4); true when it asked.
bool NameOutputs();
// The scale and refresh rate (millihertz, 0 when unknown) of an output.
void OutputMode(wl_output* output, int32_t& scale, int32_t& refreshMhz);
// From now on covers every output, or the one named, on the layer, the ones
// already there and those still to come. False when a name was given and no
// output has it; names then lists the outputs' names.
bool CoverOutputs(Layer layer, const char* name, char* names, int namesSize);
// Removes every layer surface.
void UncoverOutputs();
