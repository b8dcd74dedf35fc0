// Full-screen mode on two monitors: a window on each, the scene moving on
// both, nothing of the desktop left, and the ways it ends.
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "report.h"
#include "saver_process.h"
#include "scenarios.h"
#include "screen_pixels.h"
#include "send_input.h"
#include "waiting.h"
#include "window_search.h"

namespace {

constexpr const char* SaverClass = "GlimmerboxCls";
constexpr const char* MonitorClass = "GlimmerboxMonitorCls";
constexpr const char* DesktopClass = "GlimmerboxProbeDesktop";
// A colour the scene does not draw: whatever shows it is the desktop.
constexpr COLORREF DesktopColour = RGB(0x5A, 0x3C, 0xE1);
constexpr uint32_t DesktopPixel = 0x5A3CE1;
constexpr int CentreBox = 100;

// EnumDisplayMonitors callback: collects each monitor's rectangle.
BOOL CALLBACK AddMonitor(HMONITOR, HDC, RECT* area, LPARAM data) {
    reinterpret_cast<std::vector<RECT>*>(data)->push_back(*area);
    return TRUE;
}

// The primary monitor first, then the other one.
std::vector<RECT> Monitors() {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.size() == 2 && (monitors[1].left == 0 && monitors[1].top == 0)) std::swap(monitors[0], monitors[1]);
    return monitors;
}

// A window in the desktop colour over the whole virtual screen: what the
// saver must hide (the desktop and whatever was open).
HWND CreateDesktopStandIn() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(DesktopColour);
    windowClass.lpszClassName = DesktopClass;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, DesktopClass, "Desktop", WS_POPUP | WS_VISIBLE,
                                  GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                  GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN), nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    return window;
}

// Pixels of the desktop stand-in's colour on a monitor.
int DesktopPixels(const RECT& area) {
    return CountExactly(CaptureScreen(area.left, area.top, area.right - area.left, area.bottom - area.top),
                        DesktopPixel);
}

// Waits until the stand-in shows on every monitor, so that its absence later
// means the saver covered it.
bool WaitForDesktop(const std::vector<RECT>& monitors) {
    const double end = NowMs() + DeadlineMs;
    for (const RECT& area : monitors) {
        while (DesktopPixels(area) == 0) {
            if (!Check(NowMs() < end, "the desktop stand-in never showed on the monitor at (%ld,%ld)", area.left,
                       area.top))
                return false;
            PumpFor(5);
        }
    }
    return true;
}

// The centre square of a monitor.
Pixels CaptureCentre(const RECT& area) {
    return CaptureScreen((area.left + area.right - CentreBox) / 2, (area.top + area.bottom - CentreBox) / 2,
                         CentreBox, CentreBox);
}

// Waits until the centre of every monitor is lit.
bool WaitForFrames(const SaverRun& run, const std::vector<RECT>& monitors) {
    const double end = NowMs() + DeadlineMs;
    for (const RECT& area : monitors) {
        while (CountNonBlack(CaptureCentre(area)) == 0) {
            if (!Check(NowMs() < end, "the centre of the monitor at (%ld,%ld) is still black; saver %s", area.left,
                       area.top, SaverState(run).c_str()))
                return false;
            PumpFor(5);
        }
    }
    Note("lit centres on %zu monitors %.0f ms after CreateProcess", monitors.size(), NowMs() - run.startMs);
    return true;
}

// The other monitor's window: its whole rectangle, borderless, topmost, shown.
void ExpectMonitorWindow(HWND window, const RECT& area) {
    RECT rect{};
    GetWindowRect(window, &rect);
    Check(EqualRect(&rect, &area), "monitor window at (%ld,%ld)-(%ld,%ld), expected the monitor (%ld,%ld)-(%ld,%ld)",
          rect.left, rect.top, rect.right, rect.bottom, area.left, area.top, area.right, area.bottom);
    const LONG style = GetWindowLongA(window, GWL_STYLE), exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    Check((style & (WS_CAPTION | WS_THICKFRAME)) == 0, "monitor window style 0x%08lx has a border or caption", style);
    Check((exStyle & WS_EX_TOPMOST) != 0, "monitor window extended style 0x%08lx is not topmost", exStyle);
    Check(IsWindowVisible(window), "the monitor window is not visible");
}

// On every monitor: lit, moving centre and not one pixel of the desktop.
// Wine's screen captures settle a few tens of milliseconds after the first
// frames (whole monitors read back as the desktop meanwhile), so all three
// are polled together, on two lit captures in a row.
void ExpectScenesCoverMonitors(const std::vector<RECT>& monitors) {
    const int box = CentreBox * CentreBox;
    for (const RECT& area : monitors) {
        const double from = NowMs();
        Pixels previous = CaptureCentre(area);
        int lit = 0, changed = 0, desktop = 0;
        bool covered = false;
        while (!covered && NowMs() < from + DeadlineMs) {
            PumpFor(5);
            Pixels now = CaptureCentre(area);
            lit = std::min(CountNonBlack(previous), CountNonBlack(now));
            changed = CountDiffering(previous, now);
            desktop = DesktopPixels(area);
            covered = lit > box / 4 && changed > box / 100 && desktop == 0;
            previous = std::move(now);
        }
        Note("monitor (%ld,%ld) %ldx%ld after %.0f ms: centre %d lit, %d changed; %d desktop pixels", area.left,
             area.top, area.right - area.left, area.bottom - area.top, NowMs() - from, lit, changed, desktop);
        Check(lit > box / 4, "only %d of %d centre pixels are lit on the monitor at (%ld,%ld)", lit, box, area.left,
              area.top);
        Check(changed > box / 100, "only %d of %d centre pixels changed on the monitor at (%ld,%ld)", changed, box,
              area.left, area.top);
        Check(desktop == 0, "%d desktop pixels show on the monitor at (%ld,%ld)", desktop, area.left, area.top);
    }
}

// Both windows up and covering their monitors, the mouse harmless; returns
// the other monitor's window, or null after a failed check.
HWND CheckCovered(const SaverRun& run, const std::vector<RECT>& monitors) {
    const DWORD pid = run.info.dwProcessId;
    HWND saver = WaitForProcessWindow(pid, SaverClass, nullptr, DeadlineMs);
    HWND other = WaitForProcessWindow(pid, MonitorClass, nullptr, DeadlineMs, true);
    if (!Check(saver != nullptr && other != nullptr, "windows of classes %s and %s not both there; saver %s",
               SaverClass, MonitorClass, SaverState(run).c_str()))
        return nullptr;
    ExpectMonitorWindow(other, monitors[1]);
    if (!WaitForFrames(run, monitors)) return nullptr;
    const double end = NowMs() + DeadlineMs;
    while (GetForegroundWindow() != saver && NowMs() < end) PumpFor(10);
    Check(GetForegroundWindow() == saver, "the foreground window is of class %s, not the saver window",
          ClassOf(GetForegroundWindow()).c_str());
    ExpectScenesCoverMonitors(monitors);
    WanderMouse();
    PumpFor(300);
    return Check(SaverRunning(run), "mouse movement ended the saver") ? other : nullptr;
}

}  // namespace

void MonitorsRun(const Arguments& args) {
    const std::vector<RECT> monitors = Monitors();
    if (!Check(monitors.size() == 2 && monitors[0].left == 0 && monitors[0].top == 0,
               "the display has %zu monitors, expected a primary and one other", monitors.size()))
        return;
    HWND desktop = CreateDesktopStandIn();
    SaverRun run{};
    if (WaitForDesktop(monitors) && StartSaver(args.at(0), "/s", run)) {
        if (HWND other = CheckCovered(run, monitors)) {
            if (args.at(1) == "close-other") {
                PostMessageA(other, WM_CLOSE, 0, 0);
                ExpectCleanExit(run, DeadlineMs, "WM_CLOSE to the other monitor's window");
            } else {
                PressKey('G');
                ExpectCleanExit(run, DeadlineMs, "a key press");
            }
        }
        FinishSaver(run);
    }
    DestroyWindow(desktop);
}
