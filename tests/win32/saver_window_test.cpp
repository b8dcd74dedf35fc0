// Creating and tearing down the saver window against the stand-in: the order
// of calls, every failure path and the fall-back to a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/saver_window.h"
#include "fake_windows.h"
#include "host/fpu_control.h"
#include "loop/saver_loop.h"
#include "program_state.h"
#include "teardown_calls.h"

namespace {

class SaverWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgram();
        AppInstance = GetModuleHandleA(nullptr);  // as start-up does
        FakeReset();
    }
};

// The calls from the first call of function on.
Calls From(const std::string& function) {
    const Calls& calls = FakeCalls();
    for (size_t i = 0; i < calls.size(); ++i)
        if (calls[i].rfind(function + "(", 0) == 0) return Calls(calls.begin() + static_cast<long>(i), calls.end());
    return {};
}

const std::string FullScreenWindow =
    "CreateWindowExA(0x40000, \"GlimmerboxCls\", \"Glimmerbox v 1.0\", 0x86000000, 0, 0, 800, 600, 0, 0, inst, 0)";
const std::string PixelFormat = "{size 40, version 1, flags 0x25, colour 32, depth 16}";

TEST_F(SaverWindowTest, CreatesEverythingInOrder) {
    ASSERT_TRUE(CreateSaverWindow(800, 600, true, 32));
    const Calls expected = {
        "GetModuleHandleA(null)",
        "LoadCursorA(0, #32512)",
        "RegisterClassA(\"GlimmerboxCls\", style 0x23, instance inst, cursor arrow, icon 0, brush 0, menu null, "
        "extra 0/0)",
        "ChangeDisplaySettingsA({size 156, 800x600x32, fields 0x1c0000}, 4)",
        "ShowCursor(FALSE)",
        FullScreenWindow,
        "wnd1 <- WM_CREATE(0, 0)",
        "wnd1 <- WM_SIZE(0, 800x600)",
        "ResizeScene(800, 600)",
        "wnd1 <- WM_MOVE(0, 0)",  // before the clock runs: no frame
        "GetDC(wnd1)",
        "ChoosePixelFormat(dc1, " + PixelFormat + ")",
        "SetPixelFormat(dc1, 7, " + PixelFormat + ")",
        "wglCreateContext(dc1)",
        "wglMakeCurrent(dc1, rc1)",
        "SetTimer(wnd1, 1, 1000, null)",
        "ShowWindow(wnd1, 5)",
        "SetForegroundWindow(wnd1)",
        "SetFocus(wnd1)",
        "ResizeScene(800, 600)",
        "InitScene()",
    };
    EXPECT_EQ(FakeCalls(), expected);
    EXPECT_EQ(FakeClassProcedure("GlimmerboxCls"), &SaverWndProc);
    EXPECT_EQ(FakeName(SaverWindow), "wnd1");
    EXPECT_EQ(FakeName(SaverDC), "dc1");
    EXPECT_EQ(FakeName(SaverRC), "rc1");
    EXPECT_EQ(FpsTimerId, 1u);
    EXPECT_EQ(FrameCount, 0);
}

TEST_F(SaverWindowTest, EachFailedStepTearsDownThenReports) {
    // Before a context exists there is none to release and nothing to report.
    const Calls restore = {"ChangeDisplaySettingsA(null, 0)", "ShowCursor(TRUE)"};
    const Calls& destroy = DestroyFirstWindow;
    const std::string unregister = "UnregisterClassA(\"GlimmerboxCls\", inst)";
    const auto join = JoinCalls;
    const struct {
        const char* function;
        Calls expected;
    } cases[] = {
        {"CreateWindowExA", join({{FullScreenWindow}, restore, {unregister, Box("Unable to create window!")}})},
        {"GetDC", join({{"GetDC(wnd1)"}, restore, destroy, {unregister, Box("Unable to get a device context!")}})},
        {"ChoosePixelFormat",
         join({{"ChoosePixelFormat(dc1, " + PixelFormat + ")"}, restore, {"ReleaseDC(wnd1, dc1)"},
               destroy, {unregister, Box("Unable to find a suitable pixel format")}})},
        {"SetPixelFormat",
         join({{"SetPixelFormat(dc1, 7, " + PixelFormat + ")"}, restore, {"ReleaseDC(wnd1, dc1)"},
               destroy, {unregister, Box("Unable to set the pixel format")}})},
        {"wglCreateContext",
         join({{"wglCreateContext(dc1)"}, restore, {"ReleaseDC(wnd1, dc1)"}, destroy,
               {unregister, Box("Unable to create an OpenGL rendering context")}})},
        {"wglMakeCurrent",
         join({{"wglMakeCurrent(dc1, rc1)"}, restore, {"wglMakeCurrent(dc1, 0)", "wglDeleteContext(rc1)"},
               {"ReleaseDC(wnd1, dc1)"}, destroy, {unregister, Box("Unable to activate OpenGL rendering context")}})},
    };
    for (const auto& c : cases) {
        SetUp();
        FakeReturn(c.function, 0);
        EXPECT_FALSE(CreateSaverWindow(800, 600, true, 32)) << c.function;
        const std::string first = c.expected.front().substr(0, c.expected.front().find('('));
        EXPECT_EQ(From(first), c.expected) << c.function;
        EXPECT_FALSE(FakeClassRegistered("GlimmerboxCls")) << c.function;
        EXPECT_EQ(FpsTimerId, 0u) << c.function;
    }
}

TEST_F(SaverWindowTest, FailedRegistrationReportsWithoutTeardown) {
    FakeReturn("RegisterClassA", 0);
    EXPECT_FALSE(CreateSaverWindow(800, 600, true, 32));
    EXPECT_EQ(From("RegisterClassA").size(), 2u);
    EXPECT_EQ(FakeCalls().back(), Box("Failed to register the window class!"));
}

TEST_F(SaverWindowTest, FailedSwitchFallsBackToAWindowForGood) {
    FakeReturn("ChangeDisplaySettingsA", DISP_CHANGE_FAILED);
    FakeReturn("GetDC", 0);  // and a later failure: its teardown must not restore the mode
    EXPECT_FALSE(CreateSaverWindow(800, 600, true, 32));
    const Calls expected = {
        "ChangeDisplaySettingsA({size 156, 800x600x32, fields 0x1c0000}, 4)",
        Box("Unable to switch to fullscreen!"),
        "CreateWindowExA(0x40100, \"GlimmerboxCls\", \"Glimmerbox v 1.0\", 0x6cf0000, 0, 0, 800, 600, 0, 0, inst, 0)",
    };
    const Calls fromSwitch = From("ChangeDisplaySettingsA");
    ASSERT_GE(fromSwitch.size(), 3u);
    EXPECT_EQ(Calls(fromSwitch.begin(), fromSwitch.begin() + 3), expected);
    EXPECT_EQ(FakeCallsOf({"ChangeDisplaySettingsA", "ShowCursor"}).size(), 1u);

    SetUp();
    FakeReturn("ChangeDisplaySettingsA", DISP_CHANGE_BADMODE);  // any other result counts as success
    EXPECT_TRUE(CreateSaverWindow(640, 480, true, 32));
    EXPECT_EQ(FakeCallsOf({"MessageBoxA"}).size(), 0u);
    EXPECT_EQ(FakeCallsOf({"ShowCursor"}), Calls{"ShowCursor(FALSE)"});
    EXPECT_EQ(FakeCallsOf({"CreateWindowExA"}).at(0).find("0x86000000") != std::string::npos, true);
}

TEST_F(SaverWindowTest, WindowedRequestNeverTouchesTheDisplayMode) {
    ASSERT_TRUE(CreateSaverWindow(320, 200, false, 16));
    EXPECT_TRUE(FakeCallsOf({"ChangeDisplaySettingsA", "ShowCursor"}).empty());
    EXPECT_NE(FakeCallsOf({"ChoosePixelFormat"}).at(0).find("colour 16"), std::string::npos);
    DestroySaverWindow(false);
    EXPECT_TRUE(FakeCallsOf({"ChangeDisplaySettingsA", "ShowCursor"}).empty());
}

TEST_F(SaverWindowTest, TeardownReleasesInReverseOrderAndKeepsHandles) {
    ASSERT_TRUE(CreateSaverWindow(800, 600, true, 32));
    const HWND window = SaverWindow;
    const HDC dc = SaverDC;
    const HGLRC context = SaverRC;
    const HINSTANCE instance = AppInstance;
    const size_t before = FakeCalls().size();
    DestroySaverWindow(true);
    const Calls expected = {
        "ChangeDisplaySettingsA(null, 0)",
        "ShowCursor(TRUE)",
        "KillTimer(wnd1, 1)",
        "wglMakeCurrent(dc1, 0)",
        "wglDeleteContext(rc1)",
        "ReleaseDC(wnd1, dc1)",
        "DestroyWindow(wnd1)",
        "wnd1 <- WM_DESTROY(0, 0)",
        "DefWindowProcA(wnd1, WM_DESTROY, 0, 0)",
        "UnregisterClassA(\"GlimmerboxCls\", inst)",
    };
    EXPECT_EQ(Calls(FakeCalls().begin() + static_cast<long>(before), FakeCalls().end()), expected);
    EXPECT_FALSE(FakeClassRegistered("GlimmerboxCls"));
    EXPECT_EQ(SaverWindow, window);
    EXPECT_EQ(SaverDC, dc);
    EXPECT_EQ(SaverRC, context);
    EXPECT_EQ(AppInstance, instance);
    EXPECT_EQ(FpsTimerId, 1u);
}

TEST_F(SaverWindowTest, EveryFailedReleaseIsReportedAndItsHandleCleared) {
    ASSERT_TRUE(CreateSaverWindow(800, 600, true, 32));
    for (const char* release : {"KillTimer", "wglMakeCurrent", "wglDeleteContext", "ReleaseDC", "DestroyWindow"})
        FakeReturn(release, 0);
    const size_t before = FakeCalls().size();
    DestroySaverWindow(true);
    const Calls teardown(FakeCalls().begin() + static_cast<long>(before), FakeCalls().end());
    const Calls expected = {
        "ChangeDisplaySettingsA(null, 0)",
        "ShowCursor(TRUE)",
        "KillTimer(wnd1, 1)",
        Box("Stop FPS Timer  failed!"),
        "wglMakeCurrent(dc1, 0)",
        Box("Release of DC and RC failed!"),
        "wglDeleteContext(rc1)",
        Box("Release of rendering context failed!"),
        "ReleaseDC(wnd1, dc1)",
        Box("Release of device context failed!"),
        "DestroyWindow(wnd1)",
        Box("Unable to destroy window!"),
        // The window still exists, so the class cannot go either.
        "UnregisterClassA(\"GlimmerboxCls\", inst)",
        Box("Unable to unregister window class!"),
    };
    EXPECT_EQ(teardown, expected);
    EXPECT_EQ(SaverRC, nullptr);
    EXPECT_EQ(SaverDC, nullptr);
    EXPECT_EQ(SaverWindow, nullptr);
    EXPECT_EQ(AppInstance, nullptr);
    EXPECT_EQ(FpsTimerId, 1u);
}

TEST_F(SaverWindowTest, WindowCreationCannotChangeTheFloatingPointControl) {
    const FpuControl saved = ReadFpuControl();
    MaskFpuExceptions();
    const FpuControl masked = ReadFpuControl();
    FakeOnCall("CreateWindowExA", [] { WriteFpuControl(FpuControl{0x027F, 0x1F80 & ~0x0200u}); });
    ASSERT_TRUE(CreateSaverWindow(800, 600, true, 32));
    const FpuControl after = ReadFpuControl();
    WriteFpuControl(saved);
    EXPECT_EQ(after.x87, masked.x87);
    EXPECT_EQ(after.x87 & X87DefinedBits, SaverX87ControlWord);
    EXPECT_EQ(after.mxcsr, masked.mxcsr);
}

}  // namespace
