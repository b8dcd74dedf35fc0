// The Linux programs' command lines and the X11 program's choice of window,
// as one table.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "linux/options.h"

namespace {

struct Case {
    Program program;
    std::vector<const char*> arguments;  // after the program name
    const char* screensaverWindow;       // $XSCREENSAVER_WINDOW, or null when unset
    // The outcome: an error's text, or the choice and the other options.
    const char* error;
    WindowKind kind = WindowKind::Own;
    uint32_t window = 0;
    const char* source = nullptr;
    uint32_t delayUs = 0;
    bool fps = false;
    bool help = false;
    Layer layer = Layer::Overlay;
    const char* output = nullptr;
};

constexpr uint32_t Default = DefaultDelayUs;
constexpr Program X11 = Program::X11;
constexpr Program Wayland = Program::Wayland;

const Case Cases[] = {
    // No option: a window of our own at the default pace.
    {X11, {}, nullptr, nullptr, WindowKind::Own, 0, "--window", Default, false, false},
    {X11, {"--window"}, "0x400001", nullptr, WindowKind::Own, 0, "--window", Default, false, false},
    // --root: the daemon's window when it names one, else the root window.
    {X11, {"--root"}, nullptr, nullptr, WindowKind::Root, 0, "--root", Default, false, false},
    {X11, {"-root"}, "", nullptr, WindowKind::Root, 0, "--root", Default, false, false},
    {X11, {"--root"}, "0x400001", nullptr, WindowKind::Given, 0x400001, "XSCREENSAVER_WINDOW", Default, false, false},
    {X11, {"-root"}, "4194305", nullptr, WindowKind::Given, 4194305, "XSCREENSAVER_WINDOW", Default, false, false},
    // --window-id wins over --root and the variable, in either order.
    {X11, {"--root", "--window-id", "0x2a"}, "0x400001", nullptr, WindowKind::Given, 42, "--window-id", Default, false, false},
    {X11, {"-window-id", "42", "-root"}, "0x400001", nullptr, WindowKind::Given, 42, "--window-id", Default, false, false},
    {X11, {"--window-id", "0XfFfFfFfF"}, nullptr, nullptr, WindowKind::Given, 0xFFFFFFFF, "--window-id", Default, false, false},
    // Of --root and --window the later counts; a repeated value, the last.
    {X11, {"--root", "--window"}, nullptr, nullptr, WindowKind::Own, 0, "--window", Default, false, false},
    {X11, {"--window", "-root"}, nullptr, nullptr, WindowKind::Root, 0, "--root", Default, false, false},
    {X11, {"--delay", "5", "-delay", "0"}, nullptr, nullptr, WindowKind::Own, 0, "--window", 0, false, false},
    {X11, {"-delay", "10000000", "-fps"}, nullptr, nullptr, WindowKind::Own, 0, "--window", 10'000'000, true, false},
    {X11, {"--fps", "--help"}, nullptr, nullptr, WindowKind::Own, 0, "--window", Default, true, true},
    // Bad words: one line that names the option.
    {X11, {"--roots"}, nullptr, "--roots: unknown option (see --help)"},
    {X11, {"root"}, nullptr, "root: unknown option (see --help)"},
    {X11, {"--fps", "--", "--root"}, nullptr, "--: unknown option (see --help)"},
    {X11, {"--fps", "-delay"}, nullptr, "-delay: missing value"},
    {X11, {"--window-id", "abc"}, nullptr,
     "--window-id \"abc\": not a window id (decimal, or hexadecimal after 0x)"},
    {X11, {"--window-id", "0"}, nullptr, "--window-id \"0\": not a window id (decimal, or hexadecimal after 0x)"},
    {X11, {"--window-id", "0x"}, nullptr, "--window-id \"0x\": not a window id (decimal, or hexadecimal after 0x)"},
    {X11, {"--window-id", "-1"}, nullptr, "--window-id \"-1\": not a window id (decimal, or hexadecimal after 0x)"},
    {X11, {"--window-id", "0x100000000"}, nullptr,
     "--window-id \"0x100000000\": not a window id (decimal, or hexadecimal after 0x)"},
    {X11, {"--window-id", "99999999999999999999"}, nullptr,
     "--window-id \"99999999999999999999\": not a window id (decimal, or hexadecimal after 0x)"},
    {X11, {"--delay", "-5"}, nullptr, "--delay \"-5\": not a whole number of microseconds from 0 to 10000000"},
    {X11, {"-delay", "10000001"}, nullptr, "-delay \"10000001\": not a whole number of microseconds from 0 to 10000000"},
    {X11, {"--delay", "1.5"}, nullptr, "--delay \"1.5\": not a whole number of microseconds from 0 to 10000000"},
    {X11, {"--delay", ""}, nullptr, "--delay \"\": not a whole number of microseconds from 0 to 10000000"},
    {X11, {"--delay=abc"}, nullptr, "--delay \"abc\": not a whole number of microseconds from 0 to 10000000"},
    {X11, {"--root"}, "garbage", "XSCREENSAVER_WINDOW \"garbage\": not a window id (decimal, or hexadecimal after 0x)"},
    // -w could be either window option.
    {X11, {"-w"}, nullptr, "-w: ambiguous option (it could be --window or --window-id)"},
    {X11, {"--window-i=5", "--wind"}, nullptr, "--wind: ambiguous option (it could be --window or --window-id)"},
    // The Wayland program: layer surfaces on the overlay unless told otherwise.
    {Wayland, {}, nullptr, nullptr, WindowKind::Layer, 0, nullptr, Default},
    {Wayland, {"-w", "--delay=0"}, nullptr, nullptr, WindowKind::Own, 0, nullptr, 0},
    {Wayland, {"--window", "-layer", "bottom", "-o", "HDMI-A-1"}, nullptr, nullptr, WindowKind::Layer, 0, nullptr,
     Default, false, false, Layer::Bottom, "HDMI-A-1"},
    {Wayland, {"--layer=background", "--window", "--help"}, nullptr, nullptr, WindowKind::Own, 0, nullptr, Default,
     false, true, Layer::Background},
    {Wayland, {"--layer", "Overlay"}, nullptr, "--layer \"Overlay\": not a layer (background, bottom, top or overlay)"},
    {Wayland, {"--output="}, nullptr, "--output \"\": not an output name"},
    {Wayland, {"--fps"}, nullptr, "--fps: unknown option (see --help)"},
    {Wayland, {"--root"}, nullptr, "--root: unknown option (see --help)"},
};

TEST(LinuxOptions, ReadTheCommandLineAndChooseTheWindow) {
    for (const Case& test : Cases) {
        std::vector<const char*> argv{test.program == X11 ? "glimmerbox" : "glimmerbox-wl"};
        argv.insert(argv.end(), test.arguments.begin(), test.arguments.end());
        std::string described;
        for (const char* word : argv) described += std::string(" [") + word + "]";
        SCOPED_TRACE(described + (test.screensaverWindow ? std::string(" with ") + test.screensaverWindow : ""));

        Options options;
        OptionError error{};
        WindowChoice choice{};
        bool read = ReadOptions(test.program, static_cast<int>(argv.size()), argv.data(), options, error);
        // The Wayland program draws where its options say.
        if (test.program == Wayland) choice = {options.kind, 0, nullptr};
        else read = read && ChooseWindow(options, test.screensaverWindow, choice, error);
        if (test.error != nullptr) {
            EXPECT_FALSE(read);
            EXPECT_STREQ(error.text, test.error);
            continue;
        }
        ASSERT_TRUE(read) << error.text;
        EXPECT_EQ(choice.kind, test.kind);
        EXPECT_EQ(choice.window, test.window);
        EXPECT_STREQ(choice.source, test.source);
        EXPECT_EQ(options.delayUs, test.delayUs);
        EXPECT_EQ(options.fps, test.fps);
        EXPECT_EQ(options.help, test.help);
        EXPECT_EQ(options.layer, test.layer);
        EXPECT_STREQ(options.output, test.output);
    }
}

}  // namespace
