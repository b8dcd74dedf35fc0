#include "x11/options.h"

#include <cstdio>
#include <cstring>

namespace {

enum class OptionName : uint8_t { Root, Window, WindowId, Delay, Fps, Help, Unknown };

struct OptionSpelling {
    const char* name;
    OptionName option;
};

constexpr OptionSpelling Spellings[] = {
    {"root", OptionName::Root},   {"window", OptionName::Window}, {"window-id", OptionName::WindowId},
    {"delay", OptionName::Delay}, {"fps", OptionName::Fps},       {"help", OptionName::Help},
};

// The option a word names: "-name" or "--name".
OptionName NameOf(const char* word) {
    if (word[0] != '-') return OptionName::Unknown;
    const char* name = word[1] == '-' ? word + 2 : word + 1;
    for (const OptionSpelling& spelling : Spellings)
        if (std::strcmp(name, spelling.name) == 0) return spelling.option;
    return OptionName::Unknown;
}

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
    for (int i = 1; i < argc; ++i) {
        const char* word = argv[i];
        const OptionName option = NameOf(word);
        if (option == OptionName::Unknown) {
            SetError(error, word, nullptr, "unknown option (see --help)");
            return false;
        }
        if (option == OptionName::Root) options.kind = WindowKind::Root;
        else if (option == OptionName::Window) options.kind = WindowKind::Own;
        else if (option == OptionName::Fps) options.fps = true;
        else if (option == OptionName::Help) options.help = true;
        else {
            if (i + 1 == argc) {
                SetError(error, word, nullptr, "missing value");
                return false;
            }
            const char* value = argv[++i];
            if (option == OptionName::WindowId && !ReadWindowId(value, options.windowId)) {
                SetError(error, word, value, "not a window id (decimal, or hexadecimal after 0x)");
                return false;
            }
            uint32_t delay = 0;
            if (option == OptionName::Delay) {
                if (!ReadUnsigned(value, 10, delay) || delay > MaxDelayUs) {
                    SetError(error, word, value, "not a whole number of microseconds from 0 to 10000000");
                    return false;
                }
                options.delayUs = delay;
            }
        }
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
