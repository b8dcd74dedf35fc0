// Full-screen mode on two monitors: a window on each, the scene moving on
// both, nothing of the desktop left, and the ways it ends.
#include <windows.h>

#include <string>
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
constexpr DWORD WindowWaitMs = 5000;
constexpr DWORD FirstFrameWaitMs = 5000;
constexpr DWORD FrameGapMs = 200;
constexpr DWORD ExitWaitMs = 1000;
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
    PumpFor(200);
    return window;
}

// The centre square of a monitor.
Pixels CaptureCentre(const RECT& area) {
    return CaptureScreen((area.left + area.right - CentreBox) / 2, (area.top + area.bottom - CentreBox) / 2,
                         CentreBox, CentreBox);
}

// Waits until the centre of every monitor is lit.
bool WaitForFrames(const SaverRun& run, const std::vector<RECT>& monitors) {
    const double end = NowMs() + FirstFrameWaitMs;
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
void ExpectScenesCoverMonitors(const std::vector<RECT>& monitors) {
    for (const RECT& area : monitors) {
        const Pixels first = CaptureCentre(area);
        PumpFor(FrameGapMs);
        const Pixels second = CaptureCentre(area);
        const int box = CentreBox * CentreBox, lit = CountNonBlack(first), changed = CountDiffering(first, second);
        const int width = area.right - area.left, height = area.bottom - area.top;
        const int desktop = CountExactly(CaptureScreen(area.left, area.top, width, height), DesktopPixel);
        Note("monitor (%ld,%ld) %dx%d: centre %d lit, %d changed in %lu ms; %d desktop pixels", area.left, area.top,
             width, height, lit, changed, FrameGapMs, desktop);
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
    HWND saver = WaitForProcessWindow(pid, SaverClass, nullptr, WindowWaitMs);
    HWND other = WaitForProcessWindow(pid, MonitorClass, nullptr, WindowWaitMs, true);
    if (!Check(saver != nullptr && other != nullptr, "windows of classes %s and %s not both there; saver %s",
               SaverClass, MonitorClass, SaverState(run).c_str()))
        return nullptr;
    ExpectMonitorWindow(other, monitors[1]);
    if (!WaitForFrames(run, monitors)) return nullptr;
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
    if (StartSaver(args.at(0), "/s", run)) {
        if (HWND other = CheckCovered(run, monitors)) {
            if (args.at(1) == "close-other") {
                PostMessageA(other, WM_CLOSE, 0, 0);
                ExpectCleanExit(run, ExitWaitMs, "WM_CLOSE to the other monitor's window");
            } else {
                PressKey('G');
                ExpectCleanExit(run, ExitWaitMs, "a key press");
            }
        }
        FinishSaver(run);
    }
    DestroyWindow(desktop);
}
