#include "linux/options.h"

#include <getopt.h>

#include <cstdio>
#include <cstring>

namespace {

enum OptionName : int { Root = 1, Window, WindowId, Delay, Fps, Help, LayerOption, Output };

// Each may be spelled with one dash or two; a value follows as the next word
// or after "=".
constexpr option X11Options[] = {
    {"root", no_argument, nullptr, Root},          {"window", no_argument, nullptr, Window},
    {"window-id", required_argument, nullptr, WindowId}, {"delay", required_argument, nullptr, Delay},
    {"fps", no_argument, nullptr, Fps},            {"help", no_argument, nullptr, Help},
    {nullptr, 0, nullptr, 0},
};
constexpr option WaylandOptions[] = {
    {"layer", required_argument, nullptr, LayerOption}, {"output", required_argument, nullptr, Output},
    {"window", no_argument, nullptr, Window},           {"delay", required_argument, nullptr, Delay},
    {"help", no_argument, nullptr, Help},               {nullptr, 0, nullptr, 0},
};
// No short options; stop at the first word that is not an option; report
// a missing value as ':'; print nothing.
constexpr const char* ShortOptions = "+:";

constexpr const char* LayerNames[] = {"background", "bottom", "top", "overlay"};

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

// An unknown word, or one that abbreviates two or more options: getopt
// reports both as '?', and only the second needs the candidates named.
void SetUnknownError(OptionError& error, const char* word, const option* options) {
    const char* name = word + (word[0] == '-') + (word[0] == '-' && word[1] == '-');
    const size_t length = std::strcspn(name, "=");
    char candidates[96] = "";
    int count = 0;
    for (const option* o = options; o->name != nullptr; ++o) {
        if (length == 0 || std::strncmp(o->name, name, length) != 0) continue;
        const size_t used = std::strlen(candidates);
        std::snprintf(candidates + used, sizeof candidates - used, "%s--%s", count > 0 ? " or " : "", o->name);
        ++count;
    }
    if (count < 2) {
        SetError(error, word, nullptr, "unknown option (see --help)");
        return;
    }
    char problem[128];
    std::snprintf(problem, sizeof problem, "ambiguous option (it could be %s)", candidates);
    SetError(error, word, nullptr, problem);
}

}  // namespace

bool ReadWindowId(const char* text, uint32_t& window) {
    uint32_t value = 0;
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (!ReadUnsigned(hex ? text + 2 : text, hex ? 16 : 10, value) || value == 0) return false;
    window = value;
    return true;
}

bool ReadOptions(Program program, int argc, const char* const* argv, Options& options, OptionError& error) {
    const option* table = program == Program::X11 ? X11Options : WaylandOptions;
    options = Options{};
    if (program == Program::Wayland) options.kind = WindowKind::Layer;
    // getopt does not reorder the words with "+", so it writes nothing.
    char* const* words = const_cast<char* const*>(argv);
    optind = 0;  // from the start, also when called again
    opterr = 0;
    for (;;) {
        const int option = getopt_long_only(argc, words, ShortOptions, table, nullptr);
        if (option == -1) break;
        // The word as written: the one just read, or the one before a separate value.
        const char* word = argv[optind - 1];
        if (option == '?') {
            SetUnknownError(error, word, table);
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
        } else if (option == LayerOption) {
            int layer = 0;
            while (layer < 4 && std::strcmp(optarg, LayerNames[layer]) != 0) ++layer;
            if (layer == 4) {
                SetError(error, spelled, optarg, "not a layer (background, bottom, top or overlay)");
                return false;
            }
            options.layer = static_cast<Layer>(layer);
            options.kind = WindowKind::Layer;
        } else if (option == Output) {
            if (optarg[0] == '\0') {
                SetError(error, spelled, optarg, "not an output name");
                return false;
            }
            options.output = optarg;
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

const char* UsageText(Program program) {
    if (program == Program::Wayland)
        return "Usage: glimmerbox-wl [--layer LAYER] [--output NAME] [--delay MICROSECONDS] [--window]\n"
               "A turning cube with a moving plasma texture, drawn with OpenGL on Wayland.\n"
               "  --layer LAYER     cover every output on the layer-shell layer background, bottom,\n"
               "                    top or overlay (the default); on overlay and top a key or a\n"
               "                    button ends it\n"
               "  --output NAME     cover only the output NAME (default: $SWAYLOCK_PLUGIN_OUTPUT_NAME)\n"
               "  --delay MICROSECONDS\n"
               "                    time from one frame's start to the next, on average: each\n"
               "                    frame comes at the refresh nearest its time, so 20000 at 60 Hz\n"
               "                    gives gaps of 16.7 and 33.3 ms (default 16667: every frame of\n"
               "                    a 60 Hz output, at most 60 a second; 0: every frame the\n"
               "                    compositor asks for)\n"
               "  --window          draw in a window titled \"Glimmerbox\" instead, for compositors\n"
               "                    without layer-shell; Q or Escape ends it\n"
               "There is no --fps: the frame rate is not shown on Wayland.\n"
               "Each option may also be spelled with one dash, or shortened while it stays unambiguous.\n";
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
           "Each option may also be spelled with one dash, or shortened while it stays unambiguous.\n";
}
