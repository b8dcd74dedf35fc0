// The saver's window procedure, message by message, and the run loop's
// passes, against the stand-in.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "display/saver_window.h"
#include "fake_windows.h"
#include "loop/clock.h"
#include "loop/frame_title.h"
#include "loop/saver_loop.h"
#include "program_state.h"

namespace {

using Calls = std::vector<std::string>;

class SaverLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgram();
        AppInstance = GetModuleHandleA(nullptr);
        FakeReset();
    }
};

HWND Handle(uintptr_t value) { return reinterpret_cast<HWND>(value); }

// Each message the procedure handles itself, with what it must call and
// return; the procedure works on SaverWindow and SaverDC, whatever handle
// the message came through.
TEST_F(SaverLoopTest, WindowProcedureTable) {
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        int32_t prevElapsed;
        Calls calls;
    } table[] = {
        {WM_CREATE, 0, 0, 0, {}},
        {WM_MOVE, 0, 0x00100020, 0, {}},  // the clock does not run yet: no frame
        {WM_MOVE, 0, 0x00100020, 5, {"GetTickCount()", "DrawScene(7)", "SwapBuffers(9)"}},
        {WM_SIZE, 0, 0x02580320, 0, {"ResizeScene(800, 600)"}},
        {WM_SIZE, 0, static_cast<LPARAM>(0xFFFF0000), 0, {"ResizeScene(0, 65535)"}},  // halves are unsigned
        {WM_SIZE, 0, -1, 0, {"ResizeScene(65535, 65535)"}},
        {WM_CLOSE, 0, 0, 0, {"PostQuitMessage(0)"}},
        {WM_KEYDOWN, 'A', 0, 0, {"PostQuitMessage(0)"}},
        {WM_KEYDOWN, 300, 0, 0, {"PostQuitMessage(0)"}},  // beyond the key table: ignored, still quits
        {WM_KEYUP, 'A', 0, 0, {}},
        {WM_TIMER, 2, 0, 0, {}},  // not the frame-rate timer
    };
    for (const auto& row : table) {
        SetUp();
        SaverWindow = Handle(0x999);
        SaverDC = reinterpret_cast<HDC>(9);
        PrevElapsedMs = ElapsedMs = row.prevElapsed;
        StartTick = 0;
        FakeTicks() = 9;
        FrameCount = 4;
        const LRESULT result = SaverWndProc(Handle(0x555), row.message, row.wParam, row.lParam);
        EXPECT_EQ(result, 0) << row.message;
        EXPECT_EQ(FakeCalls(), row.calls) << "message " << row.message << " wParam " << row.wParam;
        EXPECT_EQ(FrameCount, row.message == WM_MOVE && row.prevElapsed > 0 ? 5 : 4) << row.message;
    }
}

TEST_F(SaverLoopTest, KeysAreMarkedHeldAndReleased) {
    SaverWndProc(Handle(1), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(KeyDown[VK_ESCAPE]);
    SaverWndProc(Handle(1), WM_KEYDOWN, 255, 0);
    EXPECT_TRUE(KeyDown[255]);
    SaverWndProc(Handle(1), WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_FALSE(KeyDown[VK_ESCAPE]);
    SaverWndProc(Handle(1), WM_KEYDOWN, 256, 0);
    SaverWndProc(Handle(1), WM_KEYUP, static_cast<WPARAM>(-1), 0);
    EXPECT_TRUE(KeyDown[255]);
}

TEST_F(SaverLoopTest, OtherMessagesGoToTheDefaultProcedure) {
    for (UINT message : {WM_SYSKEYDOWN, WM_SYSKEYUP, WM_CHAR, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_PAINT, WM_DESTROY}) {
        FakeReset();
        FakeReturn("DefWindowProcA", 42);
        EXPECT_EQ(SaverWndProc(Handle(0x10001), message, 7, 8), 42);
        ASSERT_EQ(FakeCalls().size(), 1u);
        EXPECT_EQ(FakeCalls()[0].rfind("DefWindowProcA(65537, ", 0), 0u) << FakeCalls()[0];
        EXPECT_NE(FakeCalls()[0].find(", 7, 8)"), std::string::npos);
    }
}

TEST_F(SaverLoopTest, TimerTickPutsTheFrameRateInTheTitle) {
    const struct {
        int32_t frames;
        const char* title;
    } ticks[] = {{60, "Glimmerbox v 1.0   [60 FPS]"},
                 {0, "Glimmerbox v 1.0   [0 FPS]"},
                 {-7, "Glimmerbox v 1.0   [-7 FPS]"},
                 {INT32_MIN, "Glimmerbox v 1.0   [0 FPS]"}};  // times 1000 wraps to 0
    SaverWindow = Handle(0x777);
    for (const auto& tick : ticks) {
        FakeReset();
        FrameCount = tick.frames;
        EXPECT_EQ(SaverWndProc(Handle(0x123), WM_TIMER, 1, 0), 0);
        EXPECT_EQ(FakeCalls(), Calls{"SetWindowTextA(1911, \"" + std::string(tick.title) + "\")"});
        EXPECT_EQ(FrameCount, 0);
    }
}

TEST(FrameTitle, DecimalTextAndRate) {
    EXPECT_STREQ(IntToText(0).text, "0");
    EXPECT_STREQ(IntToText(7).text, "7");
    EXPECT_STREQ(IntToText(1000).text, "1000");
    EXPECT_STREQ(IntToText(-1).text, "-1");
    EXPECT_STREQ(IntToText(INT32_MAX).text, "2147483647");
    EXPECT_STREQ(IntToText(INT32_MIN).text, "-2147483648");
    EXPECT_EQ(FramesPerSecond(235), 235);
    EXPECT_EQ(FramesPerSecond(-3), -3);
    // The product wraps in 32 bits before the division.
    EXPECT_EQ(FramesPerSecond(2147484), -2147483);
    EXPECT_STREQ(FrameRateTitle(211).text, "Glimmerbox v 1.0   [211 FPS]");
    EXPECT_STREQ(FrameRateTitle(INT32_MIN).text, "Glimmerbox v 1.0   [-2147483648 FPS]");
}

// The count for the programs without a timer: by the second a frame starts
// in; after a stall the next second starts at the late frame.
TEST(FrameTitle, FramesCountedBySecond) {
    FrameRate rate = StartFrameRate(0);
    EXPECT_EQ(CountFrame(rate, 0), -1);
    EXPECT_EQ(CountFrame(rate, 1'000'000'000), 1);
    EXPECT_EQ(CountFrame(rate, 5'500'000'000), 1);
    EXPECT_EQ(CountFrame(rate, 6'000'000'000), -1);
}

Calls LoopCalls() {
    return FakeCallsOf({"PeekMessageA", "TranslateMessage", "DispatchMessageA", "DrawScene", "SwapBuffers", "Sleep",
                        "PostQuitMessage", "<-", "SetWindowTextA", "DestroyWindow"});
}

TEST_F(SaverLoopTest, RunLoopDrawsWhenIdleAndEndsOnAKey) {
    FakeTicks() = 5000;
    int passes = 0;
    FakeOnCall("Sleep", [&] {
        if (++passes == 3) FakePost(SaverWindow, WM_KEYDOWN, 'Q', 0);
    });
    EXPECT_EQ(RunSaver(AppInstance, nullptr, nullptr, SW_SHOWDEFAULT), 0);
    const Calls expected = {
        // creation's own messages come first; then the loop
        "wnd1 <- WM_CREATE(0, 0)", "wnd1 <- WM_SIZE(0, 1024x768)", "wnd1 <- WM_MOVE(0, 0)",
        "PeekMessageA(0, 0, 0, 1)", "DrawScene(0)", "SwapBuffers(dc1)", "Sleep(3)",
        "PeekMessageA(0, 0, 0, 1)", "DrawScene(1)", "SwapBuffers(dc1)", "Sleep(3)",
        "PeekMessageA(0, 0, 0, 1)", "DrawScene(3)", "SwapBuffers(dc1)", "Sleep(3)",
        "PeekMessageA(0, 0, 0, 1)", "TranslateMessage(WM_KEYDOWN)", "DispatchMessageA(WM_KEYDOWN)",
        "wnd1 <- WM_KEYDOWN(81, 0)", "PostQuitMessage(0)", "Sleep(3)",
        "PeekMessageA(0, 0, 0, 1)", "Sleep(3)",  // WM_QUIT: not dispatched, still a pause
        "DestroyWindow(wnd1)", "wnd1 <- WM_DESTROY(0, 0)",
    };
    EXPECT_EQ(LoopCalls(), expected);
    EXPECT_EQ(StartTick, 5000u);
    EXPECT_EQ(FrameCount, 3);
    // The display mode and cursor come back, and the window is made at the
    // desktop's size, full screen, 32 bits.
    EXPECT_EQ(FakeCallsOf({"ChangeDisplaySettingsA"}),
              (Calls{"ChangeDisplaySettingsA({size 156, 1024x768x32, fields 0x1c0000}, 4)",
                     "ChangeDisplaySettingsA(null, 0)"}));
    EXPECT_EQ(FakeCallsOf({"EnumDisplaySettingsA"}), Calls{"EnumDisplaySettingsA(null, 0xffffffff, size 156)"});
}

TEST_F(SaverLoopTest, OneMessagePerPassAndFramesOnlyWhenIdle) {
    int passes = 0;
    FakeOnCall("Sleep", [&] {
        ++passes;
        if (passes == 1) {
            FakePost(SaverWindow, WM_MOUSEMOVE, 0, 0);
            FakePost(SaverWindow, WM_TIMER, 1, 0);
            FakePost(SaverWindow, WM_MOVE, 0, 0);
        }
        if (passes == 6) FakePost(SaverWindow, WM_CLOSE, 0, 0);
    });
    FakeTicks() = 100;
    RunSaver(AppInstance, nullptr, nullptr, 0);
    const Calls loop = LoopCalls();
    const Calls expected = {
        "PeekMessageA(0, 0, 0, 1)", "DrawScene(0)", "SwapBuffers(dc1)", "Sleep(3)",
        "PeekMessageA(0, 0, 0, 1)", "TranslateMessage(WM_MOUSEMOVE)", "DispatchMessageA(WM_MOUSEMOVE)",
        "wnd1 <- WM_MOUSEMOVE(0, 0)", "Sleep(3)",
        "PeekMessageA(0, 0, 0, 1)", "TranslateMessage(WM_TIMER)", "DispatchMessageA(WM_TIMER)",
        "wnd1 <- WM_TIMER(1, 0)", "SetWindowTextA(wnd1, \"Glimmerbox v 1.0   [1 FPS]\")", "Sleep(3)",
        // PrevElapsedMs is still 0 after one frame: the move draws nothing
        "PeekMessageA(0, 0, 0, 1)", "TranslateMessage(WM_MOVE)", "DispatchMessageA(WM_MOVE)",
        "wnd1 <- WM_MOVE(0, 0)", "Sleep(3)",
        "PeekMessageA(0, 0, 0, 1)", "DrawScene(6)", "SwapBuffers(dc1)", "Sleep(3)",
        "PeekMessageA(0, 0, 0, 1)", "DrawScene(10)", "SwapBuffers(dc1)", "Sleep(3)",
        "PeekMessageA(0, 0, 0, 1)", "TranslateMessage(WM_CLOSE)", "DispatchMessageA(WM_CLOSE)",
        "wnd1 <- WM_CLOSE(0, 0)", "PostQuitMessage(0)", "Sleep(3)",
        "PeekMessageA(0, 0, 0, 1)", "Sleep(3)",
        "DestroyWindow(wnd1)", "wnd1 <- WM_DESTROY(0, 0)",
    };
    const size_t creation = 3;
    EXPECT_EQ(Calls(loop.begin() + creation, loop.end()), expected);
}

TEST_F(SaverLoopTest, MoveDrawsAFrameOnceTheClockRuns) {
    int passes = 0;
    FakeOnCall("Sleep", [&] {
        if (++passes == 3) FakePost(SaverWindow, WM_MOVE, 0, 0);
        if (passes == 4) FakePost(SaverWindow, WM_CLOSE, 0, 0);
    });
    RunSaver(AppInstance, nullptr, nullptr, 0);
    const Calls expected = {"DrawScene(0)", "DrawScene(1)", "DrawScene(3)", "DrawScene(6)"};
    EXPECT_EQ(FakeCallsOf({"DrawScene"}), expected);
    // The fourth frame is the move's: it counts like a loop frame.
    EXPECT_EQ(FrameCount, 4);
}

TEST_F(SaverLoopTest, EscapeHeldEndsTheLoopAfterAFrame) {
    KeyDown[VK_ESCAPE] = true;
    EXPECT_EQ(RunSaver(AppInstance, nullptr, nullptr, 0), 0);
    EXPECT_EQ(FakeCallsOf({"DrawScene", "Sleep"}), (Calls{"DrawScene(0)", "Sleep(3)"}));
    EXPECT_EQ(FakeCallsOf({"DestroyWindow"}).size(), 1u);
}

TEST_F(SaverLoopTest, ReturnsTheQuitCodeOrZeroWhenNoWindow) {
    FakePost(nullptr, WM_QUIT, 5, 0);
    EXPECT_EQ(RunSaver(AppInstance, nullptr, nullptr, 0), 5);

    SetUp();
    FakeReturn("RegisterClassA", 0);
    EXPECT_EQ(RunSaver(AppInstance, nullptr, nullptr, 0), 0);
    EXPECT_TRUE(FakeCallsOf({"PeekMessageA", "DestroyWindow", "UnregisterClassA", "GetTickCount"}).empty());
}

TEST_F(SaverLoopTest, DesktopSizeFallsBackToSystemMetrics) {
    FakeSetDisplayMode(1280, 1024, 16);
    FakeReturn("EnumDisplaySettingsA", FALSE);
    KeyDown[VK_ESCAPE] = true;
    RunSaver(AppInstance, nullptr, nullptr, 0);
    EXPECT_EQ(FakeCallsOf({"ChangeDisplaySettingsA"}).at(0),
              "ChangeDisplaySettingsA({size 156, 1280x1024x32, fields 0x1c0000}, 4)");
}

}  // namespace
