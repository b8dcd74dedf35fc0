#include "display/monitor_windows.h"

#include "display/saver_window.h"
#include "loop/saver_loop.h"
#include "scene/scene.h"

MonitorWindow MonitorWindows[MaxMonitorWindows];
int32_t MonitorWindowCount;

namespace {

constexpr DWORD MonitorStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// Above whatever was open there; a tool window stays off the taskbar.
constexpr DWORD MonitorExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;

struct MonitorAreas {
    RECT areas[MaxMonitorWindows];
    int32_t count;
};

// Collects the rectangle of each monitor but the primary, which is the one
// whose top-left corner is at (0, 0). Rectangles are in physical pixels, as
// the process is per-monitor DPI aware.
BOOL CALLBACK CollectOtherMonitor(HMONITOR, HDC, RECT* area, LPARAM data) {
    auto* others = reinterpret_cast<MonitorAreas*>(data);
    if ((area->left != 0 || area->top != 0) && others->count < MaxMonitorWindows)
        others->areas[others->count++] = *area;
    return TRUE;
}

// Releases what was made for one window, newest first. Nothing is reported:
// the saver runs, or ends, the same without it.
void ReleaseMonitorWindow(const MonitorWindow& made) {
    if (made.context != nullptr && made.context != SaverRC) wglDeleteContext(made.context);
    if (made.dc != nullptr) ReleaseDC(made.window, made.dc);
    DestroyWindow(made.window);
}

// Makes a context current on the window: the saver window's own where the
// pixel formats match (only then does it accept this DC), else a new one
// that shares its texture.
bool AttachMonitorContext(MonitorWindow& made) {
    if (wglMakeCurrent(made.dc, SaverRC)) {
        made.context = SaverRC;
        return true;
    }
    made.context = wglCreateContext(made.dc);
    if (made.context == nullptr || !wglShareLists(SaverRC, made.context) || !wglMakeCurrent(made.dc, made.context))
        return false;
    InitRenderState();
    return true;
}

// Makes, shows and keeps one monitor's window; on any failure releases it.
void CoverMonitor(const RECT& area, int32_t colourBits) {
    MonitorWindow made{nullptr, nullptr, nullptr, area.right - area.left, area.bottom - area.top};
    made.window = CreateWindowKeepingFpu(MonitorExStyle, MonitorWindowClass, nullptr, MonitorStyle, area.left,
                                         area.top, made.width, made.height, nullptr, AppInstance);
    if (made.window == nullptr) return;
    made.dc = GetDC(made.window);
    if (made.dc == nullptr || !SetSaverPixelFormat(made.dc, colourBits) || !AttachMonitorContext(made)) {
        ReleaseMonitorWindow(made);
        return;
    }
    ShowWindow(made.window, SW_SHOWNA);
    MonitorWindows[MonitorWindowCount++] = made;
}

}  // namespace

void CreateMonitorWindows(int32_t colourBits) {
    MonitorAreas others{};
    EnumDisplayMonitors(nullptr, nullptr, CollectOtherMonitor, reinterpret_cast<LPARAM>(&others));
    if (others.count == 0) return;

    if (!RegisterFullScreenClass(MonitorWindowClass, CS_OWNDC, MonitorWndProc, AppInstance)) return;
    for (int32_t i = 0; i < others.count; ++i) CoverMonitor(others.areas[i], colourBits);
    wglMakeCurrent(SaverDC, SaverRC);
    if (MonitorWindowCount == 0) UnregisterClassA(MonitorWindowClass, AppInstance);
}

void DrawMonitorFrames() {
    // With one monitor a pass stays exactly what it was: no context switch.
    if (MonitorWindowCount == 0) return;
    for (int32_t i = 0; i < MonitorWindowCount; ++i) {
        const MonitorWindow& monitor = MonitorWindows[i];
        // Skipped for this pass rather than drawn into another window.
        if (!wglMakeCurrent(monitor.dc, monitor.context)) continue;
        DrawSceneAtSize(monitor.width, monitor.height);
        SwapBuffers(monitor.dc);
    }
    // The saver window's own frames, and its move messages, draw next.
    wglMakeCurrent(SaverDC, SaverRC);
}

void DestroyMonitorWindows() {
    // Nothing was made, not even the class, when one monitor was found.
    if (MonitorWindowCount == 0) return;
    for (int32_t i = MonitorWindowCount - 1; i >= 0; --i) ReleaseMonitorWindow(MonitorWindows[i]);
    MonitorWindowCount = 0;
    UnregisterClassA(MonitorWindowClass, AppInstance);
}

LRESULT CALLBACK MonitorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CLOSE:
            // Keys and close requests count exactly as on the saver window.
            return SaverWndProc(window, message, wParam, lParam);
        case WM_SIZE:
            // Only this window's own projection follows; the saver window's
            // is not touched.
            for (int32_t i = 0; i < MonitorWindowCount; ++i) {
                if (MonitorWindows[i].window != window) continue;
                MonitorWindows[i].width = LOWORD(lParam);
                MonitorWindows[i].height = HIWORD(lParam);
            }
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
