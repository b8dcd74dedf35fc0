// glimmerbox: the turning plasma cube as an X11 display program for
// screensaver daemons, or in a window of its own.
#include <cstdio>
#include <cstdlib>

#include "linux/options.h"
#include "linux/report_failure.h"
#include "linux/stop_signals.h"
#include "scene/scene.h"
#include "x11/frame_loop.h"
#include "x11/gl_window.h"

extern const char ProgramName[] = "glimmerbox";

int main(int argc, char** argv) {
    OpenStandardFiles();
    Options options;
    OptionError error{};
    if (!ReadOptions(Program::X11, argc, argv, options, error)) ExitWithError(2, "%s", error.text);
    if (options.help) {
        std::fputs(UsageText(Program::X11), stdout);
        return 0;
    }
    WindowChoice choice{};
    if (!ChooseWindow(options, std::getenv("XSCREENSAVER_WINDOW"), choice, error)) ExitWithError(2, "%s", error.text);

    CatchStopSignals();
    OpenXDisplay(choice.source);
    SetUpWindow(choice);
    ResizeScene(WindowWidth, WindowHeight);
    InitScene();
    // After a stop signal the server may be stopped or hung; it frees our
    // window and context itself when the connection closes.
    if (RunFrames(options.delayUs, options.fps)) CloseXDisplay();
    return 0;
}
