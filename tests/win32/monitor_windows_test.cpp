// The saver on several monitors against the stand-in: each monitor but the
// primary gets a window, drawn each pass at the saver window's moment;
// keys and close requests there count as on the saver window; a monitor
// whose window cannot be made is left out; windows go newest first; and one
// monitor adds nothing but the enumeration.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "display/monitor_windows.h"
#include "display/saver_window.h"
#include "fake_windows.h"
#include "loop/saver_loop.h"
#include "program_state.h"
#include "teardown_calls.h"

namespace {

class MonitorWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgram();
        AppInstance = GetModuleHandleA(nullptr);
        FakeReset();
    }
};

constexpr RECT Primary{0, 0, 1024, 768};
constexpr RECT LeftOfIt{-1280, -200, 0, 824};
constexpr RECT RightOfIt{1024, 0, 2944, 1080};
// The quit code a run gets when nothing else ended it.
constexpr WPARAM NotEnded = 99;

bool IsCall(const std::string& call, const std::string& function) { return call.rfind(function + "(", 0) == 0; }
std::string Arguments(const std::string& call) {
    const size_t open = call.find('(');
    return call.substr(open + 1, call.rfind(')') - open - 1);
}

using Frames = std::map<std::string, std::string>;

// The frames of each pass that were presented, by the device context current
// when each was drawn: what it was drawn with ("1280, 1024, 4", or the time
// alone for the saver window's own frame, which starts a pass).
std::vector<Frames> Passes() {
    std::vector<Frames> passes;
    Frames drawn;
    std::string current;
    for (const std::string& call : FakeCalls()) {
        const std::string arguments = Arguments(call);
        if (IsCall(call, "wglMakeCurrent")) current = arguments.substr(0, arguments.find(','));
        if (IsCall(call, "DrawScene")) passes.emplace_back();
        if (IsCall(call, "DrawScene") || IsCall(call, "DrawSceneAtSize")) drawn[current] = arguments;
        if (IsCall(call, "SwapBuffers") && drawn.contains(arguments) && !passes.empty())
            passes.back()[arguments] = drawn[arguments];
    }
    return passes;
}

// Three monitors, the right one's pixel format refusing the saver window's
// context, the left one's window resized on the way; a key or a close
// request on a monitor window ends the run.
TEST_F(MonitorWindowsTest, EachOtherMonitorIsDrawnInStepAndReleasedNewestFirst) {
    for (const UINT ending : {WM_KEYDOWN, WM_CLOSE}) {
        SetUp();
        FakeSetMonitors({LeftOfIt, Primary, RightOfIt});
        FakeOnCall("EnumDisplayMonitors", [] {
            FakeReturn("wglMakeCurrent", TRUE);
            FakeReturn("wglMakeCurrent", FALSE);
        });
        int passes = 0;
        FakeOnCall("Sleep", [&] {
            ++passes;
            if (passes == 1) FakePost(MonitorWindows[0].window, WM_SIZE, 0, 480 << 16 | 640);
            if (passes == 4) FakePost(MonitorWindows[1].window, ending, 'Q', 0);
            if (passes == 10) FakePost(nullptr, WM_QUIT, NotEnded, 0);
        });
        EXPECT_EQ(RunSaver(AppInstance, nullptr, nullptr, 0), 0) << ending;
        EXPECT_EQ(KeyDown['Q'], ending == WM_KEYDOWN);

        // Each pass: every window at the same moment, each into its own
        // device context and presented, at its monitor's size (none at the
        // primary's); the saver window's projection left alone.
        EXPECT_EQ(Passes(), (std::vector<Frames>{{{"dc1", "0"}, {"dc2", "1280, 1024, 0"}, {"dc3", "1920, 1080, 0"}},
                                                 {{"dc1", "3"}, {"dc2", "640, 480, 3"}, {"dc3", "1920, 1080, 3"}},
                                                 {{"dc1", "6"}, {"dc2", "640, 480, 6"}, {"dc3", "1920, 1080, 6"}}}));
        const Calls& calls = FakeCalls();
        // The right monitor's own context gets the scene's state (texturing, depth test) while current.
        EXPECT_NE(std::ranges::search(calls, Calls{"wglMakeCurrent(dc3, rc2)", "InitRenderState()"}).begin(),
                  calls.end());
        EXPECT_EQ(std::count_if(std::find(calls.begin(), calls.end(), "DrawScene(0)"), calls.end(),
                                [](const std::string& call) { return IsCall(call, "ResizeScene"); }),
                  0);
        EXPECT_EQ(FakeCallsOf({"wglDeleteContext", "ReleaseDC", "DestroyWindow"}),
                  (Calls{"wglDeleteContext(rc2)", "ReleaseDC(wnd3, dc3)", "DestroyWindow(wnd3)",
                         "ReleaseDC(wnd2, dc2)", "DestroyWindow(wnd2)", "wglDeleteContext(rc1)",
                         "ReleaseDC(wnd1, dc1)", "DestroyWindow(wnd1)"}));
        EXPECT_FALSE(FakeClassRegistered(MonitorWindowClass));
    }
}

// A step of a monitor window that fails leaves that monitor out without a
// message, with what was made for it released at once, newest first; the
// other monitor is covered. The left monitor fails here.
TEST_F(MonitorWindowsTest, AMonitorThatCannotBeCoveredIsLeftOutSilently) {
    const Calls window = {"ReleaseDC(wnd2, dc2)", "DestroyWindow(wnd2)"};
    const Calls all = JoinCalls({{"wglDeleteContext(rc2)"}, window});
    const struct {
        std::vector<const char*> failing;  // each fails once, in this order
        Calls released;
    } cases[] = {
        {{"CreateWindowExA"}, {}},
        {{"GetDC"}, {"DestroyWindow(wnd2)"}},
        {{"ChoosePixelFormat"}, window},
        {{"SetPixelFormat"}, window},
        {{"wglMakeCurrent", "wglCreateContext"}, window},
        {{"wglMakeCurrent", "wglShareLists"}, all},
        {{"wglMakeCurrent", "wglMakeCurrent"}, all},
    };
    for (const auto& c : cases) {
        SetUp();
        FakeSetMonitors({Primary, LeftOfIt, RightOfIt});
        FakeOnCall("EnumDisplayMonitors", [&] {
            for (const char* function : c.failing) FakeReturn(function, 0);
        });
        KeyDown[VK_ESCAPE] = true;  // one pass
        RunSaver(AppInstance, nullptr, nullptr, 0);
        const std::string failing = c.failing.back();
        EXPECT_TRUE(FakeCallsOf({"MessageBoxA"}).empty()) << failing;
        // What is released between the left monitor's window and the right one's.
        const Calls calls = FakeCallsOf({"CreateWindowExA", "wglDeleteContext", "ReleaseDC", "DestroyWindow"});
        ASSERT_TRUE(IsCall(calls.at(1), "CreateWindowExA")) << failing;
        const auto right = std::find_if(calls.begin() + 2, calls.end(),
                                        [](const std::string& call) { return IsCall(call, "CreateWindowExA"); });
        EXPECT_EQ(Calls(calls.begin() + 2, right), c.released) << failing;
        const std::vector<Frames> drawn = Passes();
        ASSERT_EQ(drawn.size(), 1u) << failing;
        Calls shown;  // the saver window's frame, then the right monitor's alone
        for (const auto& frame : drawn[0]) shown.push_back(frame.second);
        EXPECT_EQ(shown, (Calls{"0", "1920, 1080, 0"})) << failing;
    }
}

// One monitor: no class, window, device context, context switch or frame
// of the monitors' own; the enumeration is all they add.
TEST_F(MonitorWindowsTest, OneMonitorAddsOnlyTheEnumeration) {
    int passes = 0;
    FakeOnCall("Sleep", [&] {
        if (++passes == 2) FakePost(SaverWindow, WM_KEYDOWN, 'Q', 0);
    });
    RunSaver(AppInstance, nullptr, nullptr, 0);
    EXPECT_EQ(FakeCallsOf({"EnumDisplayMonitors", "GetDC", "wglMakeCurrent", "DrawSceneAtSize", "SwapBuffers",
                           "UnregisterClassA"}),
              (Calls{"GetDC(wnd1)", "wglMakeCurrent(dc1, rc1)", "EnumDisplayMonitors(0, null, procedure)",
                     "SwapBuffers(dc1)", "SwapBuffers(dc1)", "wglMakeCurrent(dc1, 0)",
                     "UnregisterClassA(\"GlimmerboxCls\", inst)"}));
}

}  // namespace
