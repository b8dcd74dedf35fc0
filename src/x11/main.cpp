// glimmerbox: the turning plasma cube as an X11 display program for
// screensaver daemons, or in a window of its own.
#include <cstdio>
#include <cstdlib>

#include "scene/scene.h"
#include "x11/frame_loop.h"
#include "x11/gl_window.h"
#include "x11/options.h"
#include "x11/report_failure.h"
#include "x11/stop_signals.h"

int main(int argc, char** argv) {
    Options options;
    OptionError error{};
    if (!ReadOptions(argc, argv, options, error)) ExitWithError(2, "%s", error.text);
    if (options.help) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    WindowChoice choice{};
    if (!ChooseWindow(options, std::getenv("XSCREENSAVER_WINDOW"), choice, error)) ExitWithError(2, "%s", error.text);

    HoldStopSignals();
    OpenXDisplay(choice.source);
    SetUpWindow(choice);
    ResizeScene(WindowWidth, WindowHeight);
    InitScene();
    RunFrames(options.delayUs, options.fps);
    CloseXDisplay();
    return 0;
}
