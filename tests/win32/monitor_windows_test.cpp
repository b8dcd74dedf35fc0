// The saver on several monitors against the stand-in: a window for each
// monitor but the primary, drawn in step, left out when it cannot be made,
// released last first; and one monitor exactly as before.
#include <gtest/gtest.h>

#include <algorithm>
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

// The calls from the monitor enumeration on, less the loop's own ones.
Calls FromEnumeration() {
    Calls kept;
    bool started = false;
    for (const std::string& call : FakeCalls()) {
        started = started || call.rfind("EnumDisplayMonitors(", 0) == 0;
        const std::string function = call.substr(0, call.find('('));
        if (started && function != "PeekMessageA" && function != "TranslateMessage" &&
            function != "DispatchMessageA" && function != "Sleep" && function != "GetTickCount")
            kept.push_back(call);
    }
    return kept;
}

std::string MonitorWindowAt(const std::string& x, const std::string& y, const std::string& width,
                            const std::string& height) {
    return "CreateWindowExA(0x88, \"GlimmerboxMonitorCls\", null, 0x86000000, " + x + ", " + y + ", " + width + ", " +
           height + ", 0, 0, inst, 0)";
}

const std::string PixelFormat = "{size 40, version 1, flags 0x25, colour 32, depth 16}";

// Window, DC and pixel format of a monitor window, as made after wndN.
Calls MakeWindow(const std::string& n, const std::string& create, const std::string& size) {
    return {create,
            "wnd" + n + " <- WM_CREATE(0, 0)",
            "DefWindowProcA(wnd" + n + ", WM_CREATE, 0, 0)",
            "wnd" + n + " <- WM_SIZE(0, " + size + ")",
            "wnd" + n + " <- WM_MOVE(0, 0)",
            "DefWindowProcA(wnd" + n + ", WM_MOVE, 0, 0)",
            "GetDC(wnd" + n + ")",
            "ChoosePixelFormat(dc" + n + ", " + PixelFormat + ")",
            "SetPixelFormat(dc" + n + ", 7, " + PixelFormat + ")"};
}

// Three monitors: the left one shares the saver's context, the right one's
// pixel format does not take it and gets its own. Each pass draws the same
// moment on all three, each window presented once; keys and size changes
// on a monitor window act as they should; teardown goes last first.
TEST_F(MonitorWindowsTest, CoversEachOtherMonitorInStepAndReleasesLastFirst) {
    FakeSetMonitors({LeftOfIt, Primary, RightOfIt});
    FakeOnCall("EnumDisplayMonitors", [] {
        FakeReturn("wglMakeCurrent", TRUE);
        FakeReturn("wglMakeCurrent", FALSE);  // the right monitor's DC refuses rc1
    });
    int passes = 0;
    FakeOnCall("Sleep", [&] {
        ++passes;
        if (passes == 1) FakePost(MonitorWindows[0].window, WM_SIZE, 0, 480 << 16 | 640);
        if (passes == 2) FakePost(MonitorWindows[1].window, WM_MOUSEMOVE, 0, 0);
        if (passes == 4) FakePost(MonitorWindows[1].window, WM_KEYDOWN, 'Q', 0);
    });
    EXPECT_EQ(RunSaver(AppInstance, nullptr, nullptr, 0), 0);

    const Calls frame1 = {"DrawScene(0)",  "SwapBuffers(dc1)",
                          "wglMakeCurrent(dc2, rc1)", "DrawSceneAtSize(1280, 1024, 0)", "SwapBuffers(dc2)",
                          "wglMakeCurrent(dc3, rc2)", "DrawSceneAtSize(1920, 1080, 0)", "SwapBuffers(dc3)",
                          "wglMakeCurrent(dc1, rc1)"};
    const Calls frame4 = {"DrawScene(4)",  "SwapBuffers(dc1)",
                          "wglMakeCurrent(dc2, rc1)", "DrawSceneAtSize(640, 480, 4)", "SwapBuffers(dc2)",
                          "wglMakeCurrent(dc3, rc2)", "DrawSceneAtSize(1920, 1080, 4)", "SwapBuffers(dc3)",
                          "wglMakeCurrent(dc1, rc1)"};
    const Calls expected = JoinCalls({
        {"EnumDisplayMonitors(0, null, procedure)", "LoadCursorA(0, #32512)",
         "RegisterClassA(\"GlimmerboxMonitorCls\", style 0x20, instance inst, cursor arrow, icon 0, brush 0, "
         "menu null, extra 0/0)"},
        MakeWindow("2", MonitorWindowAt("-1280", "-200", "1280", "1024"), "1280x1024"),
        {"wglMakeCurrent(dc2, rc1)", "ShowWindow(wnd2, 8)"},
        MakeWindow("3", MonitorWindowAt("1024", "0", "1920", "1080"), "1920x1080"),
        {"wglMakeCurrent(dc3, rc1)", "wglCreateContext(dc3)", "wglShareLists(rc1, rc2)", "wglMakeCurrent(dc3, rc2)",
         "InitRenderState()", "ShowWindow(wnd3, 8)", "wglMakeCurrent(dc1, rc1)"},
        frame1,
        {"wnd2 <- WM_SIZE(0, 31457920)"},  // 640x480: its own projection only
        {"wnd3 <- WM_MOUSEMOVE(0, 0)", "DefWindowProcA(wnd3, WM_MOUSEMOVE, 0, 0)"},
        frame4,
        {"wnd3 <- WM_KEYDOWN(81, 0)", "PostQuitMessage(0)"},
        {"wglDeleteContext(rc2)", "ReleaseDC(wnd3, dc3)", "DestroyWindow(wnd3)", "wnd3 <- WM_DESTROY(0, 0)",
         "DefWindowProcA(wnd3, WM_DESTROY, 0, 0)", "ReleaseDC(wnd2, dc2)", "DestroyWindow(wnd2)",
         "wnd2 <- WM_DESTROY(0, 0)", "DefWindowProcA(wnd2, WM_DESTROY, 0, 0)",
         "UnregisterClassA(\"GlimmerboxMonitorCls\", inst)"},
        // then the saver window's teardown, as with one monitor
        {"ChangeDisplaySettingsA(null, 0)", "ShowCursor(TRUE)", "KillTimer(wnd1, 1)", "wglMakeCurrent(dc1, 0)",
         "wglDeleteContext(rc1)", "ReleaseDC(wnd1, dc1)"},
        DestroyFirstWindow,
        {"UnregisterClassA(\"GlimmerboxCls\", inst)"},
    });
    EXPECT_EQ(FromEnumeration(), expected);
    EXPECT_TRUE(KeyDown['Q']);
}

// Any step of a monitor window that fails leaves that monitor out, with
// what was made for it released newest first and no message; the saver runs
// on the others. The left monitor fails here, the right one is covered.
TEST_F(MonitorWindowsTest, LeavesOutAMonitorItCannotCoverSilently) {
    const Calls release2 = {"ReleaseDC(wnd2, dc2)", "DestroyWindow(wnd2)", "wnd2 <- WM_DESTROY(0, 0)",
                            "DefWindowProcA(wnd2, WM_DESTROY, 0, 0)"};
    const Calls deleteOwn = JoinCalls({{"wglDeleteContext(rc2)"}, release2});
    const struct {
        std::vector<const char*> failing;  // each fails once, in this order
        const char* failedCall;
        Calls released;
    } cases[] = {
        // nothing to release: on to the next monitor
        {{"CreateWindowExA"}, "CreateWindowExA", {MonitorWindowAt("1024", "0", "1920", "1080")}},
        {{"GetDC"}, "GetDC(wnd2)", {"DestroyWindow(wnd2)", "wnd2 <- WM_DESTROY(0, 0)",
                                     "DefWindowProcA(wnd2, WM_DESTROY, 0, 0)"}},
        {{"ChoosePixelFormat"}, "ChoosePixelFormat", release2},
        {{"SetPixelFormat"}, "SetPixelFormat", release2},
        {{"wglMakeCurrent", "wglCreateContext"}, "wglCreateContext(dc2)", release2},
        {{"wglMakeCurrent", "wglShareLists"}, "wglShareLists(rc1, rc2)", deleteOwn},
        {{"wglMakeCurrent", "wglMakeCurrent"}, "wglMakeCurrent(dc2, rc2)", deleteOwn},
    };
    for (const auto& c : cases) {
        SetUp();
        FakeSetMonitors({Primary, LeftOfIt, RightOfIt});
        FakeOnCall("EnumDisplayMonitors", [&] {
            for (const char* function : c.failing) FakeReturn(function, 0);
        });
        KeyDown[VK_ESCAPE] = true;  // one pass
        RunSaver(AppInstance, nullptr, nullptr, 0);
        const Calls calls = FromEnumeration();
        EXPECT_TRUE(FakeCallsOf({"MessageBoxA"}).empty()) << c.failedCall;
        size_t failed = 0;
        while (failed < calls.size() && calls[failed].rfind(c.failedCall, 0) != 0) ++failed;
        ASSERT_LT(failed, calls.size()) << c.failedCall;
        const Calls next(calls.begin() + static_cast<long>(failed) + 1,
                         calls.begin() + static_cast<long>(std::min(calls.size(), failed + 1 + c.released.size())));
        EXPECT_EQ(next, c.released) << c.failedCall;
        // The right monitor is covered and drawn, and alone released at the end.
        EXPECT_EQ(FakeCallsOf({"DrawSceneAtSize"}), Calls{"DrawSceneAtSize(1920, 1080, 0)"}) << c.failedCall;
        EXPECT_EQ(FakeCallsOf({"ShowWindow"}).size(), 2u) << c.failedCall;
        EXPECT_EQ(MonitorWindowCount, 0) << c.failedCall;
        EXPECT_FALSE(FakeClassRegistered("GlimmerboxMonitorCls")) << c.failedCall;
    }
}

// One monitor: the enumeration is the one call more than before; no class,
// window or context of its own, and no extra work per pass.
TEST_F(MonitorWindowsTest, OneMonitorOnlyAddsTheEnumeration) {
    int passes = 0;
    FakeOnCall("Sleep", [&] {
        if (++passes == 2) FakePost(SaverWindow, WM_KEYDOWN, 'Q', 0);
    });
    RunSaver(AppInstance, nullptr, nullptr, 0);
    EXPECT_EQ(FakeCallsOf({"RegisterClassA", "CreateWindowExA"}),
              (Calls{"RegisterClassA(\"GlimmerboxCls\", style 0x23, instance inst, cursor arrow, icon 0, brush 0, "
                     "menu null, extra 0/0)",
                     "CreateWindowExA(0x40000, \"GlimmerboxCls\", \"Glimmerbox v 1.0\", 0x86000000, 0, 0, 1024, 768, 0, "
                     "0, inst, 0)"}));
    const Calls expected = JoinCalls({
        {"EnumDisplayMonitors(0, null, procedure)",
         "DrawScene(0)", "SwapBuffers(dc1)",
         "DrawScene(1)", "SwapBuffers(dc1)",
         "wnd1 <- WM_KEYDOWN(81, 0)", "PostQuitMessage(0)",
         "ChangeDisplaySettingsA(null, 0)", "ShowCursor(TRUE)", "KillTimer(wnd1, 1)", "wglMakeCurrent(dc1, 0)",
         "wglDeleteContext(rc1)", "ReleaseDC(wnd1, dc1)"},
        DestroyFirstWindow,
        {"UnregisterClassA(\"GlimmerboxCls\", inst)"},
    });
    EXPECT_EQ(FromEnumeration(), expected);
}

}  // namespace
