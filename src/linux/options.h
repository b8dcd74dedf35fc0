// The command lines of the two Linux programs, read by one reader: the X11
// program's window options and the Wayland program's layer options beside
// the --delay and --help that both take. Plain text and numbers: no X or
// Wayland header.
#pragma once

#include <cstdint>

// Microseconds from one frame's start to the next: at most 60 frames a second.
inline constexpr uint32_t DefaultDelayUs = 16667;
inline constexpr uint32_t MaxDelayUs = 10'000'000;

enum class Program : uint8_t { X11, Wayland };

// Where to draw: a window of our own, the root or $XSCREENSAVER_WINDOW, a
// window given by id (X11); layer surfaces on the outputs (Wayland).
enum class WindowKind : uint8_t { Own, Root, Given, Layer };
// A window of our own, where the window system leaves its size to us.
constexpr int32_t OwnWindowWidth = 640;
constexpr int32_t OwnWindowHeight = 480;

// The layer-shell layers, numbered as the protocol numbers them.
enum class Layer : uint8_t { Background = 0, Bottom = 1, Top = 2, Overlay = 3 };

struct Options {
    WindowKind kind = WindowKind::Own;  // the later of --root, --window and --layer
    uint32_t windowId = 0;              // --window-id; 0 when not given
    uint32_t delayUs = DefaultDelayUs;
    Layer layer = Layer::Overlay;
    const char* output = nullptr;  // --output NAME: a word of argv; null when not given
    bool fps = false;
    bool help = false;
};

// Where the X11 program draws, and which option or variable named that window.
struct WindowChoice {
    WindowKind kind;
    uint32_t window;     // for Given
    const char* source;  // "--window-id", "XSCREENSAVER_WINDOW", "--root" or "--window"
};

// One line of error text, without the program name.
struct OptionError {
    char text[160];
};

// Reads the program's options as getopt_long_only takes them (one dash or
// two, a unique abbreviation, the value as the next word or after "="):
// both take --delay MICROSECONDS, --window and --help; the X11 program also
// --root, --window-id ID (decimal or 0x hex) and --fps; the Wayland program
// --layer background|bottom|top|overlay and --output NAME. Starts from the
// program's defaults (its own window for X11, overlay layer surfaces for
// Wayland). A repeated option counts once, its last value winning. False
// with error set on the first bad word, which the text names as written.
bool ReadOptions(Program program, int argc, const char* const* argv, Options& options, OptionError& error);
// X11: --window-id wins; then --root, which means $XSCREENSAVER_WINDOW when
// that is set (screensaverWindow non-null and non-empty) and the root window
// otherwise; else a window of our own. False with error set when the
// variable is not a window id.
bool ChooseWindow(const Options& options, const char* screensaverWindow, WindowChoice& choice, OptionError& error);
// A window id: decimal, or hexadecimal after "0x" or "0X"; 1 to 0xFFFFFFFF.
bool ReadWindowId(const char* text, uint32_t& window);
// The program's --help text.
const char* UsageText(Program program);
