// glimmerbox: the turning plasma cube as an X11 display program for
// screensaver daemons, or in a window of its own.
#include <cstdlib>

#include "linux/command_line.h"
#include "linux/report_failure.h"
#include "linux/stop_signals.h"
#include "scene/scene.h"
#include "x11/frame_loop.h"
#include "x11/gl_window.h"

extern const char ProgramName[] = "glimmerbox";

int main(int argc, char** argv) {
    const Options options = ReadCommandLine(Program::X11, argc, argv);
    OptionError error{};
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
