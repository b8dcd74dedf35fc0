// The X11 program's command line and its choice of window, as one table.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "x11/options.h"

namespace {

struct Case {
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
};

constexpr uint32_t Default = DefaultDelayUs;

const Case Cases[] = {
    // No option: a window of our own at the default pace.
    {{}, nullptr, nullptr, WindowKind::Own, 0, "--window", Default, false, false},
    {{"--window"}, "0x400001", nullptr, WindowKind::Own, 0, "--window", Default, false, false},
    // --root: the daemon's window when it names one, else the root window.
    {{"--root"}, nullptr, nullptr, WindowKind::Root, 0, "--root", Default, false, false},
    {{"-root"}, "", nullptr, WindowKind::Root, 0, "--root", Default, false, false},
    {{"--root"}, "0x400001", nullptr, WindowKind::Given, 0x400001, "XSCREENSAVER_WINDOW", Default, false, false},
    {{"-root"}, "4194305", nullptr, WindowKind::Given, 4194305, "XSCREENSAVER_WINDOW", Default, false, false},
    // --window-id wins over --root and the variable, in either order.
    {{"--root", "--window-id", "0x2a"}, "0x400001", nullptr, WindowKind::Given, 42, "--window-id", Default, false, false},
    {{"-window-id", "42", "-root"}, "0x400001", nullptr, WindowKind::Given, 42, "--window-id", Default, false, false},
    {{"--window-id", "0XfFfFfFfF"}, nullptr, nullptr, WindowKind::Given, 0xFFFFFFFF, "--window-id", Default, false, false},
    // Of --root and --window the later counts; a repeated value, the last.
    {{"--root", "--window"}, nullptr, nullptr, WindowKind::Own, 0, "--window", Default, false, false},
    {{"--window", "-root"}, nullptr, nullptr, WindowKind::Root, 0, "--root", Default, false, false},
    {{"--delay", "5", "-delay", "0"}, nullptr, nullptr, WindowKind::Own, 0, "--window", 0, false, false},
    {{"-delay", "10000000", "-fps"}, nullptr, nullptr, WindowKind::Own, 0, "--window", 10'000'000, true, false},
    {{"--fps", "--help"}, nullptr, nullptr, WindowKind::Own, 0, "--window", Default, true, true},
    // Bad words: one line that names the option.
    {{"--roots"}, nullptr, "--roots: unknown option (see --help)"},
    {{"root"}, nullptr, "root: unknown option (see --help)"},
    {{"--fps", "--", "--root"}, nullptr, "--: unknown option (see --help)"},
    {{"--fps", "-delay"}, nullptr, "-delay: missing value"},
    {{"--window-id", "abc"}, nullptr,
     "--window-id \"abc\": not a window id (decimal, or hexadecimal after 0x)"},
    {{"--window-id", "0"}, nullptr, "--window-id \"0\": not a window id (decimal, or hexadecimal after 0x)"},
    {{"--window-id", "0x"}, nullptr, "--window-id \"0x\": not a window id (decimal, or hexadecimal after 0x)"},
    {{"--window-id", "-1"}, nullptr, "--window-id \"-1\": not a window id (decimal, or hexadecimal after 0x)"},
    {{"--window-id", "0x100000000"}, nullptr,
     "--window-id \"0x100000000\": not a window id (decimal, or hexadecimal after 0x)"},
    {{"--window-id", "99999999999999999999"}, nullptr,
     "--window-id \"99999999999999999999\": not a window id (decimal, or hexadecimal after 0x)"},
    {{"--delay", "-5"}, nullptr, "--delay \"-5\": not a whole number of microseconds from 0 to 10000000"},
    {{"-delay", "10000001"}, nullptr, "-delay \"10000001\": not a whole number of microseconds from 0 to 10000000"},
    {{"--delay", "1.5"}, nullptr, "--delay \"1.5\": not a whole number of microseconds from 0 to 10000000"},
    {{"--delay", ""}, nullptr, "--delay \"\": not a whole number of microseconds from 0 to 10000000"},
    {{"--delay=abc"}, nullptr, "--delay \"abc\": not a whole number of microseconds from 0 to 10000000"},
    {{"--root"}, "garbage", "XSCREENSAVER_WINDOW \"garbage\": not a window id (decimal, or hexadecimal after 0x)"},
};

TEST(X11Options, ReadsTheCommandLineAndChoosesTheWindow) {
    for (const Case& test : Cases) {
        std::vector<const char*> argv{"glimmerbox"};
        argv.insert(argv.end(), test.arguments.begin(), test.arguments.end());
        std::string described;
        for (const char* word : argv) described += std::string(" [") + word + "]";
        SCOPED_TRACE(described + (test.screensaverWindow ? std::string(" with ") + test.screensaverWindow : ""));

        Options options;
        OptionError error{};
        WindowChoice choice{};
        const bool read = ReadOptions(static_cast<int>(argv.size()), argv.data(), options, error) &&
                          ChooseWindow(options, test.screensaverWindow, choice, error);
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
    }
}

}  // namespace
