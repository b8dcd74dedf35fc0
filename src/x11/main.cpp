// glimmerbox: the turning plasma cube as an X11 display program for
// screensaver daemons, or in a window of its own.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "scene/scene.h"
#include "x11/frame_loop.h"
#include "x11/gl_window.h"
#include "x11/options.h"
#include "x11/report_failure.h"
#include "x11/stop_signals.h"

namespace {

// A daemon may start us with standard input, output or error closed; the X
// connection would then take that number, and a message meant for standard
// error would go into the X protocol stream.
void OpenStandardFiles() {
    for (int fd = 0; fd <= 2; ++fd)
        if (fcntl(fd, F_GETFD) == -1 && open("/dev/null", O_RDWR) != fd) std::_Exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    OpenStandardFiles();
    Options options;
    OptionError error{};
    if (!ReadOptions(argc, argv, options, error)) ExitWithError(2, "%s", error.text);
    if (options.help) {
        std::fputs(UsageText(), stdout);
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
