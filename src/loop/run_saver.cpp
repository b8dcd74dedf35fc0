#include <windows.h>

#include "display/monitor_windows.h"
#include "display/saver_window.h"
#include "loop/clock.h"
#include "loop/message_pump.h"
#include "loop/saver_loop.h"

namespace {

constexpr int32_t SaverColourBits = 32;
constexpr DWORD PassSleepMs = 3;

struct ScreenSize {
    int32_t width, height;
};

// The desktop's current size; the system metrics where the mode query fails.
ScreenSize DesktopSize() {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) && mode.dmPelsWidth != 0 &&
        mode.dmPelsHeight != 0)
        return {static_cast<int32_t>(mode.dmPelsWidth), static_cast<int32_t>(mode.dmPelsHeight)};
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// A frame of the run loop, on every monitor; Escape seen held afterwards
// ends the loop.
bool DrawLoopFrame() {
    DrawSaverFrame();
    DrawMonitorFrames();
    if (KeyDown[VK_ESCAPE]) return false;
    HandleFrameKeys();
    return true;
}

}  // namespace

void HandleFrameKeys() {}

int RunSaver(HINSTANCE, HINSTANCE, LPSTR, int) {
    const ScreenSize desktop = DesktopSize();
    if (!CreateSaverWindow(desktop.width, desktop.height, true, SaverColourBits)) return 0;
    // After the switch of display mode, which may move the other monitors.
    CreateMonitorWindows(SaverColourBits);
    StartTick = GetTickCount();

    const WPARAM quitCode = RunMessageLoop(DrawLoopFrame, PassSleepMs);
    DestroyMonitorWindows();
    DestroySaverWindow(true);
    return static_cast<int>(quitCode);
}
