#include "program_state.h"

#include <algorithm>

#include "display/monitor_windows.h"
#include "display/preview.h"
#include "display/saver_window.h"
#include "fake_windows.h"
#include "loop/clock.h"
#include "loop/saver_loop.h"
#include "scene/scene.h"

void ResetProgram() {
    FakeReset();
    AppInstance = nullptr;
    SaverWindow = nullptr;
    SaverDC = nullptr;
    SaverRC = nullptr;
    FpsTimerId = 0;
    PreviewParent = nullptr;
    std::fill(std::begin(MonitorWindows), std::end(MonitorWindows), MonitorWindow{});
    MonitorWindowCount = 0;
    std::fill(std::begin(KeyDown), std::end(KeyDown), false);
    FrameCount = 0;
    StartTick = 0;
    ElapsedMs = PrevElapsedMs = 0;
    LastTextureUpdateMs = 0;
}
