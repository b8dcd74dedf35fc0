// The seat: keys and buttons that end the program. Without a seat (a lock
// screen's nested compositor offers none) nothing ends it but its host.
#pragma once

#include <wayland-client.h>

#include <cstdint>

enum class InputRule : uint8_t {
    None,         // wallpaper layers: our surfaces take no input
    AnyKey,       // overlay and top layers: any key or button ends it
    WindowKeys,   // --window: Q or Escape ends it, as the X11 program's own window
};

// What ends the program; set before connecting.
extern InputRule EndingInput;

// Binds the first seat the registry announces.
void AddSeat(wl_registry* registry, uint32_t name, uint32_t version);
// The seat that went takes its keyboard and pointer with it; other names are ignored.
void RemoveSeat(uint32_t name);
