// Full-screen mode seen from outside: window, pixels, title, input.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "report.h"
#include "saver_process.h"
#include "scenarios.h"
#include "screen_pixels.h"
#include "send_input.h"
#include "waiting.h"
#include "window_search.h"

namespace {

constexpr const char* SaverClass = "GlimmerboxCls";
constexpr const char* BaseTitle = "Glimmerbox v 1.0";
constexpr DWORD FpsWatchMs = 3200;
constexpr int CentreBox = 120;
constexpr int CornerBox = 24;

// The N of a title "Glimmerbox v 1.0   [N FPS]", or -1 for any other text.
long TitleFps(const std::string& title) {
    const std::string start = std::string(BaseTitle) + "   [";
    const std::string end = " FPS]";
    if (title.size() <= start.size() + end.size() || title.compare(0, start.size(), start) != 0 ||
        title.compare(title.size() - end.size(), end.size(), end) != 0)
        return -1;
    const std::string digits = title.substr(start.size(), title.size() - start.size() - end.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 6) return -1;
    return std::strtol(digits.c_str(), nullptr, 10);
}

// The centre square of the screen.
Pixels CaptureCentre() {
    return CaptureScreen(GetSystemMetrics(SM_CXSCREEN) / 2 - CentreBox / 2,
                         GetSystemMetrics(SM_CYSCREEN) / 2 - CentreBox / 2, CentreBox, CentreBox);
}

// Waits for the first non-black centre pixel; reports the time since start.
bool WaitForFirstFrame(const SaverRun& run) {
    const double end = NowMs() + DeadlineMs;
    while (CountNonBlack(CaptureCentre()) == 0) {
        if (!Check(NowMs() < end, "the screen centre is still black %lu ms after start; saver %s", DeadlineMs,
                   SaverState(run).c_str()))
            return false;
        PumpFor(5);
    }
    Note("first non-black centre pixel %.0f ms after CreateProcess", NowMs() - run.startMs);
    return true;
}

// The window: the saver's class, borderless, covering the whole screen.
void ExpectFullScreenWindow(HWND window) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    RECT rect{};
    GetWindowRect(window, &rect);
    Check(rect.left == 0 && rect.top == 0 && rect.right == width && rect.bottom == height,
          "window rect is (%ld,%ld)-(%ld,%ld), expected the screen (0,0)-(%d,%d)", rect.left, rect.top, rect.right,
          rect.bottom, width, height);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    Check((style & (WS_CAPTION | WS_THICKFRAME)) == 0, "window style 0x%08lx has a border or caption", style);
    const std::string title = TextOf(window);
    Check(title == BaseTitle || TitleFps(title) >= 0, "first title is \"%s\", expected \"%s\"", title.c_str(),
          BaseTitle);
}

// Coloured, moving pixels at the centre; black corners. Each is polled up to
// the deadline: the first frames of a busy machine may still be partly drawn.
void ExpectScenePixels() {
    const Pixels first = CaptureCentre();
    const int area = CentreBox * CentreBox;
    const double from = NowMs();
    int lit = 0, coloured = 0, changed = 0;
    for (bool shown = false; !shown && NowMs() < from + DeadlineMs; PumpFor(5)) {
        const Pixels now = CaptureCentre();
        lit = CountNonBlack(now);
        coloured = CountColoured(now);
        changed = CountDiffering(first, now);
        shown = lit > area / 4 && coloured > area / 20 && changed > area / 100;
    }
    Note("centre %dx%d: %d lit, %d coloured, %d changed after %.0f ms", CentreBox, CentreBox, lit, coloured, changed,
         NowMs() - from);
    Check(lit > area / 4, "only %d of %d centre pixels are lit", lit, area);
    Check(coloured > area / 20, "only %d of %d centre pixels are coloured", coloured, area);
    Check(changed > area / 100, "only %d of %d centre pixels changed in %lu ms", changed, area, DeadlineMs);

    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const POINT corners[] = {{0, 0}, {width - CornerBox, 0}, {0, height - CornerBox}, {width - CornerBox, height - CornerBox}};
    const double end = NowMs() + DeadlineMs;
    for (const POINT& corner : corners) {
        int cornerLit = 0;
        while ((cornerLit = CountNonBlack(CaptureScreen(corner.x, corner.y, CornerBox, CornerBox))) != 0 &&
               NowMs() < end)
            PumpFor(5);
        Check(cornerLit == 0, "corner at (%ld,%ld) has %d lit pixels, expected black", corner.x, corner.y, cornerLit);
    }
}

// The frame-rate title appears in time; prints the rates seen for a while.
void ExpectFrameRateTitle(HWND window, double windowFoundMs) {
    long fps = -1;
    std::string title;
    while (fps <= 0 && NowMs() < windowFoundMs + DeadlineMs) {
        PumpFor(10);
        title = TextOf(window);
        fps = TitleFps(title);
    }
    if (!Check(fps > 0, "title is \"%s\" %lu ms after the window appeared, expected \"%s   [N FPS]\" with N > 0",
               title.c_str(), DeadlineMs, BaseTitle))
        return;
    std::string rates = std::to_string(fps);
    const double end = NowMs() + FpsWatchMs;
    while (NowMs() < end) {
        PumpFor(10);
        const std::string now = TextOf(window);
        if (now == title) continue;
        title = now;
        fps = TitleFps(title);
        Check(fps > 0, "title changed to \"%s\"", title.c_str());
        rates += ' ';
        rates += std::to_string(fps);
    }
    Note("frame rates in the title at %dx%d: %s", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
         rates.c_str());
}

// The run after start: window, pixels, title, mouse, then a key ends it.
void CheckFullScreen(SaverRun& run) {
    HWND window = WaitForProcessWindow(run.info.dwProcessId, SaverClass, nullptr, DeadlineMs);
    if (!Check(window != nullptr, "no window of class %s within %lu ms; saver %s", SaverClass, DeadlineMs,
               SaverState(run).c_str()))
        return;
    const double windowFoundMs = NowMs();
    Note("window of class %s after %.0f ms", SaverClass, windowFoundMs - run.startMs);
    ExpectFullScreenWindow(window);
    if (!WaitForFirstFrame(run)) return;
    Check(IsWindowVisible(window), "the saver window is not visible while it draws");
    ExpectScenePixels();
    ExpectFrameRateTitle(window, windowFoundMs);

    WanderMouse();
    PumpFor(300);
    if (!Check(SaverRunning(run) && IsWindow(window), "mouse movement ended the saver")) return;
    PressKey('G');
    ExpectCleanExit(run, DeadlineMs, "a key press");
}

}  // namespace

void FullScreenRun(const Arguments& args) {
    SaverRun run;
    if (!StartSaver(args.at(0), "/s", run)) return;
    CheckFullScreen(run);
    FinishSaver(run);
}

void FullScreenClose(const Arguments& args) {
    SaverRun run;
    if (!StartSaver(args.at(0), args.size() > 1 ? args[1] : "", run)) return;
    HWND window = WaitForProcessWindow(run.info.dwProcessId, SaverClass, nullptr, DeadlineMs);
    if (Check(window != nullptr, "no window of class %s within %lu ms; saver %s", SaverClass, DeadlineMs,
              SaverState(run).c_str()) &&
        WaitForFirstFrame(run)) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        ExpectCleanExit(run, DeadlineMs, "WM_CLOSE");
    }
    FinishSaver(run);
}
