#include "x11/options.h"

#include <getopt.h>

#include <cstdio>
#include <cstring>

namespace {

enum OptionName : int { Root = 1, Window, WindowId, Delay, Fps, Help };

// Each may be spelled with one dash or two; a value follows as the next word
// or after "=".
constexpr option LongOptions[] = {
    {"root", no_argument, nullptr, Root},          {"window", no_argument, nullptr, Window},
    {"window-id", required_argument, nullptr, WindowId}, {"delay", required_argument, nullptr, Delay},
    {"fps", no_argument, nullptr, Fps},            {"help", no_argument, nullptr, Help},
    {nullptr, 0, nullptr, 0},
};
// No short options; stop at the first word that is not an option; report
// a missing value as ':'; print nothing.
constexpr const char* ShortOptions = "+:";

// Digits in base 10 or 16 up to 0xFFFFFFFF, nothing else.
bool ReadUnsigned(const char* text, uint32_t base, uint32_t& value) {
    if (*text == '\0') return false;
    uint64_t total = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        uint32_t digit;
        if (*c >= '0' && *c <= '9') digit = static_cast<uint32_t>(*c - '0');
        else if (base == 16 && *c >= 'a' && *c <= 'f') digit = static_cast<uint32_t>(*c - 'a' + 10);
        else if (base == 16 && *c >= 'A' && *c <= 'F') digit = static_cast<uint32_t>(*c - 'A' + 10);
        else return false;
        total = total * base + digit;
        if (total > 0xFFFFFFFFu) return false;
    }
    value = static_cast<uint32_t>(total);
    return true;
}

// One line: the option or variable, its value in quotes if any, the problem.
void SetError(OptionError& error, const char* subject, const char* value, const char* problem) {
    if (value == nullptr) std::snprintf(error.text, sizeof error.text, "%s: %s", subject, problem);
    else std::snprintf(error.text, sizeof error.text, "%s \"%s\": %s", subject, value, problem);
}

}  // namespace

bool ReadWindowId(const char* text, uint32_t& window) {
    uint32_t value = 0;
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (!ReadUnsigned(hex ? text + 2 : text, hex ? 16 : 10, value) || value == 0) return false;
    window = value;
    return true;
}

bool ReadOptions(int argc, const char* const* argv, Options& options, OptionError& error) {
    // getopt does not reorder the words with "+", so it writes nothing.
    char* const* words = const_cast<char* const*>(argv);
    optind = 0;  // from the start, also when called again
    opterr = 0;
    for (;;) {
        const int option = getopt_long_only(argc, words, ShortOptions, LongOptions, nullptr);
        if (option == -1) break;
        // The word as written: the one just read, or the one before a separate value.
        const char* word = argv[optind - 1];
        if (option == '?') {
            SetError(error, word, nullptr, "unknown option (see --help)");
            return false;
        }
        if (option == ':') {
            SetError(error, word, nullptr, "missing value");
            return false;
        }
        char spelled[64];
        if (optarg == word) word = argv[optind - 2];
        std::snprintf(spelled, sizeof spelled, "%.*s", static_cast<int>(std::strcspn(word, "=")), word);
        if (option == Root) options.kind = WindowKind::Root;
        else if (option == Window) options.kind = WindowKind::Own;
        else if (option == Fps) options.fps = true;
        else if (option == Help) options.help = true;
        else if (option == WindowId && !ReadWindowId(optarg, options.windowId)) {
            SetError(error, spelled, optarg, "not a window id (decimal, or hexadecimal after 0x)");
            return false;
        } else if (option == Delay) {
            uint32_t delay = 0;
            if (!ReadUnsigned(optarg, 10, delay) || delay > MaxDelayUs) {
                SetError(error, spelled, optarg, "not a whole number of microseconds from 0 to 10000000");
                return false;
            }
            options.delayUs = delay;
        }
    }
    // We take no other words; getopt's "--" that ends the options is none of ours either.
    const bool endMark = optind > 1 && std::strcmp(argv[optind - 1], "--") == 0;
    if (endMark || optind < argc) {
        SetError(error, endMark ? "--" : argv[optind], nullptr, "unknown option (see --help)");
        return false;
    }
    return true;
}

bool ChooseWindow(const Options& options, const char* screensaverWindow, WindowChoice& choice, OptionError& error) {
    if (options.windowId != 0) {
        choice = {WindowKind::Given, options.windowId, "--window-id"};
        return true;
    }
    if (options.kind == WindowKind::Own) {
        choice = {WindowKind::Own, 0, "--window"};
        return true;
    }
    if (screensaverWindow == nullptr || screensaverWindow[0] == '\0') {
        choice = {WindowKind::Root, 0, "--root"};
        return true;
    }
    uint32_t window = 0;
    if (!ReadWindowId(screensaverWindow, window)) {
        SetError(error, "XSCREENSAVER_WINDOW", screensaverWindow, "not a window id (decimal, or hexadecimal after 0x)");
        return false;
    }
    choice = {WindowKind::Given, window, "XSCREENSAVER_WINDOW"};
    return true;
}

const char* UsageText() {
    return "Usage: glimmerbox [--window | --root] [--window-id ID] [--delay MICROSECONDS] [--fps]\n"
           "A turning cube with a moving plasma texture, drawn with OpenGL.\n"
           "  --window          draw in a window of its own (the default); Q or Escape ends it\n"
           "  --root            draw in $XSCREENSAVER_WINDOW, or the root window when that is unset\n"
           "  --window-id ID    draw in the window ID (decimal or 0x hex); wins over --root\n"
           "  --delay MICROSECONDS\n"
           "                    time from one frame's start to the next (default 16667, at most\n"
           "                    60 frames a second; 0 draws as fast as it can)\n"
           "  --fps             show the frame rate in a corner (a window of its own shows it\n"
           "                    in the title)\n"
           "Each option may also be spelled with one dash.\n";
}
