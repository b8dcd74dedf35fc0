// The command line of the X11 program and the choice of the window it draws
// into. Plain text and numbers: no X header.
#pragma once

#include <cstdint>

// Microseconds from one frame's start to the next: at most 60 frames a second.
inline constexpr uint32_t DefaultDelayUs = 16667;
inline constexpr uint32_t MaxDelayUs = 10'000'000;

enum class WindowKind : uint8_t { Own, Root, Given };

struct Options {
    WindowKind kind = WindowKind::Own;  // --root or --window, the later one
    uint32_t windowId = 0;              // --window-id; 0 when not given
    uint32_t delayUs = DefaultDelayUs;
    bool fps = false;
    bool help = false;
};

// Where to draw, and which option or variable named that window.
struct WindowChoice {
    WindowKind kind;
    uint32_t window;     // for Given
    const char* source;  // "--window-id", "XSCREENSAVER_WINDOW", "--root" or "--window"
};

// One line of error text, without the program name.
struct OptionError {
    char text[160];
};

// Reads --root, --window, --window-id ID (decimal or 0x hex), --delay
// MICROSECONDS, --fps and --help, as getopt_long_only takes them (one dash
// or two, a unique abbreviation, the value as the next word or after "=").
// A repeated option counts once, its last value winning. False with error
// set on the first bad word, which the text names as written.
bool ReadOptions(int argc, const char* const* argv, Options& options, OptionError& error);
// --window-id wins; then --root, which means $XSCREENSAVER_WINDOW when that
// is set (screensaverWindow non-null and non-empty) and the root window
// otherwise; else a window of our own. False with error set when the
// variable is not a window id.
bool ChooseWindow(const Options& options, const char* screensaverWindow, WindowChoice& choice, OptionError& error);
// A window id: decimal, or hexadecimal after "0x" or "0X"; 1 to 0xFFFFFFFF.
bool ReadWindowId(const char* text, uint32_t& window);
// The --help text.
const char* UsageText();
