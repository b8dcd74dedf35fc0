// Preview mode against the stand-in: the child window in the host's window,
// its loop, every failure path, and the end when either window goes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/preview.h"
#include "display/saver_window.h"
#include "fake_windows.h"
#include "host/modes.h"
#include "loop/clock.h"
#include "program_state.h"
#include "teardown_calls.h"

namespace {

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgram();
        AppInstance = GetModuleHandleA(nullptr);
        FakeReset();
        passes = 0;
        host = FakeForeignWindow(700, 152, 112);
        FakeSetCommandLine("glimmerbox.scr /p 700");
    }
    // Asks the child to close on the given pass.
    void CloseOnPass(int pass) {
        FakeOnCall("Sleep", [this, pass] {
            if (++passes == pass) FakePost(SaverWindow, WM_CLOSE, 0, 0);
        });
    }
    HWND host = nullptr;
    int passes = 0;
};

const std::string Format = "{size 40, version 1, flags 0x25, colour 32, depth 16}";

TEST_F(PreviewTest, CreatesAChildOverTheHostsClientArea) {
    CloseOnPass(2);
    RunPreview();
    Calls calls = FakeCalls();
    const Calls expected = {
        "GetCommandLineA()",
        "GetTickCount()",  // before the window: creation counts as animation time
        "GetClientRect(host)",
        "GetModuleHandleA(null)",
        "RegisterClassA(\"GlimmerboxPreviewCls\", style 0x80, instance inst, cursor 0, icon 0, brush 0, menu null, "
        "extra 0/0)",
        "CreateWindowExA(0x0, \"GlimmerboxPreviewCls\", null, 0x50000000, 0, 0, 152, 112, host, 0, inst, 0)",
        "wnd1 <- WM_CREATE(0, 0)",
        "wnd1 <- WM_SIZE(0, 152x112)",
        "DefWindowProcA(wnd1, WM_SIZE, 0, 7340184)",
        "wnd1 <- WM_MOVE(0, 0)",
        "DefWindowProcA(wnd1, WM_MOVE, 0, 0)",
        "GetDC(wnd1)",
        "ChoosePixelFormat(dc1, " + Format + ")",
        "SetPixelFormat(dc1, 7, " + Format + ")",
        "wglCreateContext(dc1)",
        "wglMakeCurrent(dc1, rc1)",
        "ResizeScene(152, 112)",
        "InitScene()",
        // the loop: a frame per idle pass, a 2 ms pause per pass
        "PeekMessageA(0, 0, 0, 1)", "IsWindow(wnd1)", "IsWindow(host)",
        "GetTickCount()", "DrawScene(0)", "SwapBuffers(dc1)", "Sleep(2)",
        "PeekMessageA(0, 0, 0, 1)", "IsWindow(wnd1)", "IsWindow(host)",
        "GetTickCount()", "DrawScene(1)", "SwapBuffers(dc1)", "Sleep(2)",
        "PeekMessageA(0, 0, 0, 1)", "TranslateMessage(WM_CLOSE)", "DispatchMessageA(WM_CLOSE)",
        "wnd1 <- WM_CLOSE(0, 0)", "PostQuitMessage(0)", "Sleep(2)",
        "PeekMessageA(0, 0, 0, 1)", "Sleep(2)",
    };
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(FakeClassProcedure("GlimmerboxPreviewCls"), &PreviewWndProc);
    EXPECT_EQ(PreviewParent, host);
    // No teardown, title, timer, focus or display change in this mode.
    EXPECT_TRUE(FakeCallsOf({"DestroyWindow", "SetWindowTextA", "SetTimer", "SetFocus", "SetForegroundWindow",
                             "ShowWindow", "ChangeDisplaySettingsA", "ShowCursor"})
                    .empty());
}

TEST_F(PreviewTest, WindowProcedureTable) {
    const HWND child = reinterpret_cast<HWND>(0x42);
    EXPECT_EQ(PreviewWndProc(child, WM_CREATE, 0, 0), 0);
    EXPECT_TRUE(FakeCalls().empty());
    EXPECT_EQ(PreviewWndProc(child, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(FakeCalls(), Calls{"PostQuitMessage(0)"});
    for (UINT message : {WM_DESTROY, WM_SIZE, WM_PAINT, WM_KEYDOWN, WM_MOUSEMOVE, WM_TIMER}) {
        FakeReset();
        FakeReturn("DefWindowProcA", 9);
        EXPECT_EQ(PreviewWndProc(child, message, 3, 4), 9);
        ASSERT_EQ(FakeCalls().size(), 1u) << message;
        EXPECT_EQ(FakeCalls()[0].rfind("DefWindowProcA(66, ", 0), 0u) << FakeCalls()[0];
    }
}

TEST_F(PreviewTest, EachFailedStepTearsDownThenReports) {
    // Before a context exists there is none to release and nothing to report.
    const Calls& destroy = DestroyFirstWindow;
    const std::string unregister = "UnregisterClassA(\"GlimmerboxPreviewCls\", inst)";
    const auto join = JoinCalls;
    const struct {
        const char* function;
        Calls tail;
    } cases[] = {
        {"CreateWindowExA", join({{unregister, Box("Unable to create window!")}})},
        {"GetDC", join({destroy, {unregister, Box("Unable to get a device context!")}})},
        {"ChoosePixelFormat", join({{"ReleaseDC(wnd1, dc1)"}, destroy,
                                    {unregister, Box("Unable to find a suitable pixel format")}})},
        {"SetPixelFormat", join({{"ReleaseDC(wnd1, dc1)"}, destroy,
                                 {unregister, Box("Unable to set the pixel format")}})},
        {"wglCreateContext", join({{"ReleaseDC(wnd1, dc1)"}, destroy,
                                   {unregister, Box("Unable to create an OpenGL rendering context")}})},
        {"wglMakeCurrent", join({{"wglMakeCurrent(dc1, 0)", "wglDeleteContext(rc1)", "ReleaseDC(wnd1, dc1)"},
                                 destroy, {unregister, Box("Unable to activate OpenGL rendering context")}})},
    };
    for (const auto& c : cases) {
        SetUp();
        FakeReturn(c.function, 0);
        RunPreview();
        const Calls calls = FakeCalls();
        // Everything after the failed call: the teardown, then the report,
        // and then nothing (no loop).
        size_t failed = 0;
        while (failed < calls.size() && calls[failed].rfind(std::string(c.function) + "(", 0) != 0) ++failed;
        const Calls tail(calls.begin() + static_cast<long>(failed) + 1, calls.end());
        EXPECT_EQ(tail, c.tail) << c.function;
        EXPECT_FALSE(FakeClassRegistered("GlimmerboxPreviewCls")) << c.function;
        EXPECT_TRUE(FakeCallsOf({"ChangeDisplaySettingsA", "ShowCursor", "KillTimer"}).empty()) << c.function;
    }
}

TEST_F(PreviewTest, NoUsableHostWindowFailsCreation) {
    const struct {
        const char* line;
        bool tried;  // whether CreateWindowExA was called at all
    } cases[] = {{"glimmerbox.scr /p", false},
                 {"glimmerbox.scr /p 0", false},
                 {"glimmerbox.scr /p abc", false},
                 {"glimmerbox.scr /p:700", false},
                 {"glimmerbox.scr /p 12345", true}};  // a number that is no window
    for (const auto& c : cases) {
        SetUp();
        FakeSetCommandLine(c.line);
        RunPreview();
        EXPECT_EQ(FakeCallsOf({"CreateWindowExA"}).size(), c.tried ? 1u : 0u) << c.line;
        EXPECT_EQ(FakeCallsOf({"MessageBoxA"}), Calls{Box("Unable to create window!")}) << c.line;
        EXPECT_TRUE(FakeCallsOf({"PeekMessageA"}).empty()) << c.line;
    }
}

TEST_F(PreviewTest, FailedRegistrationReportsWithoutTeardown) {
    FakeReturn("RegisterClassA", 0);
    RunPreview();
    EXPECT_EQ(FakeCalls().back(), Box("Failed to register the window class!"));
    EXPECT_TRUE(FakeCallsOf({"UnregisterClassA", "CreateWindowExA", "wglDeleteContext"}).empty());
}

TEST_F(PreviewTest, HostHandleIsReadIn64BitsKeepingTheLow32) {
    const struct {
        const char* argument;
        uintptr_t handle;
    } cases[] = {
        {"$1F", 31},
        {"12ab", 12},
        {"-12x", static_cast<uintptr_t>(-12)},  // in 64-bit width the sign always counts
        {"4294967295", static_cast<uintptr_t>(-1)},  // 32-bit handle values are sign-extended
        {"4294967996", 700},                         // 2^32 + 700: only the low 32 bits count
        {"\"700\"", 700},
    };
    for (const auto& c : cases) {
        SetUp();
        FakeSetCommandLine(("glimmerbox.scr /p " + std::string(c.argument)).c_str());
        FakeReturn("RegisterClassA", 0);  // stop right after the handle is used
        RunPreview();
        EXPECT_EQ(reinterpret_cast<uintptr_t>(PreviewParent), c.handle) << c.argument;
    }
}

TEST_F(PreviewTest, CreationTimeCountsAsAnimationTime) {
    FakeTicks() = 1000;
    FakeOnCall("wglCreateContext", [] { FakeTicks() += 100; });
    CloseOnPass(1);
    RunPreview();
    EXPECT_EQ(StartTick, 1000u);
    EXPECT_EQ(FakeCallsOf({"DrawScene"}).at(0), "DrawScene(50)");  // half the raw time, as any first step
}

TEST_F(PreviewTest, EndsWhenTheHostOrTheChildIsGone) {
    // The host's window can go while our child still exists; either check
    // alone must end the mode.
    for (bool hostGoes : {true, false}) {
        SetUp();
        FakeOnCall("Sleep", [this, hostGoes] {
            ++passes;
            if (passes == 3) {
                if (hostGoes)
                    FakeVanish(host);
                else
                    DestroyWindow(SaverWindow);
            }
            if (passes == 10) FakePost(SaverWindow, WM_CLOSE, 0, 0);  // a preview that went on regardless
        });
        RunPreview();
        // The next pass sees the window gone, draws nothing and is the last.
        EXPECT_EQ(passes, 4) << hostGoes;
        const Calls calls = FakeCalls();
        EXPECT_EQ(calls[calls.size() - 2], hostGoes ? "IsWindow(host)" : "IsWindow(wnd1)") << hostGoes;
        EXPECT_EQ(calls.back(), "Sleep(2)") << hostGoes;
        EXPECT_EQ(FakeCallsOf({"DrawScene"}).size(), 3u) << hostGoes;
    }
}

TEST_F(PreviewTest, KeysDoNotEndPreview) {
    FakeOnCall("Sleep", [this] {
        ++passes;
        if (passes == 1) FakePost(SaverWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        if (passes == 4) FakePost(SaverWindow, WM_CLOSE, 0, 0);
    });
    RunPreview();
    EXPECT_EQ(passes, 6);
    EXPECT_EQ(FakeCallsOf({"PostQuitMessage"}).size(), 1u);
}

}  // namespace
