// The executable's entry: start-up, then one mode chosen by the first
// argument, then exit code 0.
#include <windows.h>

#include "display/saver_window.h"
#include "host/command_line.h"
#include "host/fpu_control.h"
#include "host/mode_choice.h"
#include "host/modes.h"
#include "loop/saver_loop.h"

ArgumentText ModeArgument;

namespace {

constexpr int DefaultShowCommand = SW_SHOWDEFAULT;

// The show command the process was started with.
int StartupShowCommand() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : DefaultShowCommand;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    AppInstance = GetModuleHandleA(nullptr);
    LPSTR commandLine = GetCommandLineA();
    const int showCommand = StartupShowCommand();
    MaskFpuExceptions();

    CommandArgument(1, ModeArgument);
    switch (ChooseMode(ModeArgument)) {
        case SaverMode::Settings: ShowSettings(); break;
        case SaverMode::Password: ChangeSaverPassword(); break;
        case SaverMode::Preview: RunPreview(); break;
        case SaverMode::FullScreen: RunSaver(AppInstance, nullptr, commandLine, showCommand); break;
    }
    return 0;
}
