// glimmerbox-wl: the turning plasma cube on Wayland, on a layer-shell
// surface over every output (for idle daemons, lock screens and as a
// wallpaper), or in a window of its own.
#include <cstdlib>

#include "linux/command_line.h"
#include "linux/report_failure.h"
#include "linux/stop_signals.h"
#include "wayland/connection.h"
#include "wayland/egl_context.h"
#include "wayland/input.h"
#include "wayland/outputs.h"
#include "wayland/surfaces.h"
#include "wayland/window.h"

extern const char ProgramName[] = "glimmerbox-wl";

int main(int argc, char** argv) {
    const Options options = ReadCommandLine(Program::Wayland, argc, argv);
    // A lock screen's host names the output of each instance it starts.
    const char* output = options.output;
    const char* hostOutput = std::getenv("SWAYLOCK_PLUGIN_OUTPUT_NAME");
    if (output == nullptr && hostOutput != nullptr && hostOutput[0] != '\0') output = hostOutput;
    const bool window = options.kind == WindowKind::Own;
    if (window) EndingInput = InputRule::WindowKeys;
    else if (options.layer == Layer::Overlay || options.layer == Layer::Top) EndingInput = InputRule::AnyKey;

    CatchStopSignals();
    Connect();
    if (window && WmBase == nullptr) ExitWithError(1, "--window: the Wayland compositor offers no xdg-shell (xdg_wm_base)");
    if (!window && LayerShell == nullptr)
        ExitWithError(1, "the Wayland compositor offers no layer-shell (zwlr_layer_shell_v1); --window draws in a "
                         "window instead");
    StartEgl(WlDisplay);
    char names[160];
    if (window) OpenWindow();
    else if (!CoverOutputs(options.layer, output, names, sizeof names))
        ExitWithError(1, "%s \"%s\": no such output (the outputs: %s)",
                      options.output != nullptr ? "--output" : "SWAYLOCK_PLUGIN_OUTPUT_NAME", output, names);
    // After a stop signal the compositor may be stopped or hung; it frees
    // our surfaces itself when the connection closes.
    if (!RunFrames(options.delayUs)) return 0;
    if (window) CloseWindow();
    else UncoverOutputs();
    StopEgl();
    Disconnect();
    return 0;
}
