// The probe: plays the screensaver host and checks the saver from outside.
// Usage: probe <sub-command> <saver path> [arguments...]; exit code 1 when
// any check failed.
#include <cstdio>
#include <cstring>

#include "report.h"
#include "scenarios.h"

namespace {

struct SubCommand {
    const char* name;
    void (*run)(const Arguments&);
    size_t minArguments;
};

constexpr SubCommand SubCommands[] = {
    {"fullscreen", FullScreenRun, 1},      {"fullscreen-close", FullScreenClose, 1},
    {"preview", PreviewRun, 3},            {"preview-host-gone", PreviewHostGone, 1},
    {"preview-error", PreviewError, 2},    {"settings", SettingsRun, 3},
    {"quiet", QuietRun, 1},                {"monitors", MonitorsRun, 2},
    {"uninstall", UninstallRun, 2},
};

}  // namespace

// Runs the sub-command named by the first argument.
int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const Arguments args(argv + (argc > 2 ? 2 : argc), argv + argc);
    for (const SubCommand& command : SubCommands) {
        if (argc < 2 || std::strcmp(argv[1], command.name) != 0) continue;
        if (!Check(args.size() >= command.minArguments, "%s needs %zu arguments", command.name, command.minArguments))
            return 1;
        command.run(args);
        if (FailureCount == 0) std::puts("PASS");
        return FailureCount == 0 ? 0 : 1;
    }
    Check(false, "unknown sub-command %s", argc > 1 ? argv[1] : "(none)");
    return 1;
}
