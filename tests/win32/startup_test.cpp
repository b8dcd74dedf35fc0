// The entry: start-up values, the floating-point state and the dispatch of
// each command line to its mode, with exit code 0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/saver_window.h"
#include "fake_windows.h"
#include "host/fpu_control.h"
#include "loop/saver_loop.h"
#include "program_state.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int);

namespace {

// The first call that tells the modes apart.
std::string ModeSeen() {
    for (const std::string& call : FakeCalls()) {
        if (call.rfind("EnumDisplaySettingsA(", 0) == 0) return "saver";
        if (call.rfind("DialogBoxParamA(", 0) == 0) return "settings";
        if (call.rfind("LoadLibraryA(", 0) == 0) return "password";
        if (call.rfind("GetClientRect(", 0) == 0) return "preview";
    }
    return "none";
}

TEST(Startup, DispatchesEachCommandLineToItsMode) {
    const FpuControl saved = ReadFpuControl();
    const struct {
        const char* line;
        const char* mode;
    } cases[] = {
        {"glimmerbox.scr", "saver"},
        {"glimmerbox.scr /s", "saver"},
        {"glimmerbox.scr -s", "saver"},
        {"glimmerbox.scr /S", "saver"},
        {"glimmerbox.scr /", "saver"},
        {"glimmerbox.scr c", "saver"},
        {"glimmerbox.scr /C", "saver"},
        {"glimmerbox.scr /A", "saver"},
        {"glimmerbox.scr /P", "saver"},
        {"glimmerbox.scr /c", "settings"},
        {"glimmerbox.scr -c", "settings"},
        {"glimmerbox.scr xc", "settings"},
        {"glimmerbox.scr /c:700", "settings"},
        {"glimmerbox.scr /a 700", "password"},
        {"glimmerbox.scr /p 0", "preview"},
        {"\"C:\\Screen Savers\\glimmerbox.scr\" \"/p\" \"0\"", "preview"},
    };
    for (const auto& c : cases) {
        ResetProgram();
        FakeSetCommandLine(c.line);
        KeyDown[VK_ESCAPE] = true;  // the saver ends after its first frame
        EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 0) << c.line;
        EXPECT_EQ(ModeSeen(), c.mode) << c.line;
        EXPECT_EQ(FakeName(AppInstance), "inst") << c.line;
        EXPECT_EQ(ReadFpuControl().x87 & X87DefinedBits, SaverX87ControlWord) << c.line;
        EXPECT_EQ(ReadFpuControl().mxcsr & 0x1F80u, 0x1F80u) << c.line;
    }
    WriteFpuControl(saved);
}

TEST(Startup, TakesItsValuesBeforeTheMode) {
    ResetProgram();
    FakeSetCommandLine("glimmerbox.scr /c");
    FakeSetStartupShow(true, 3);
    WinMain(nullptr, nullptr, nullptr, 0);
    const std::vector<std::string> first(FakeCalls().begin(), FakeCalls().begin() + 3);
    EXPECT_EQ(first, (std::vector<std::string>{"GetModuleHandleA(null)", "GetCommandLineA()", "GetStartupInfoA()"}));
}

}  // namespace
