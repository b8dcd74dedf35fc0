// Modes that must end by themselves without showing any window.
#include <windows.h>

#include "report.h"
#include "saver_process.h"
#include "scenarios.h"
#include "waiting.h"
#include "window_search.h"

void QuietRun(const Arguments& args) {
    SaverRun run{};
    if (!StartSaver(args.at(0), args.size() > 1 ? args[1] : "", run)) return;
    const double end = NowMs() + DeadlineMs;
    HWND shown = nullptr;
    while (shown == nullptr && SaverRunning(run) && NowMs() < end) {
        shown = VisibleProcessWindow(run.info.dwProcessId);
        PumpFor(2);
    }
    if (Check(shown == nullptr, "the saver showed a window of class %s titled \"%s\"", ClassOf(shown).c_str(),
              TextOf(shown).c_str()))
        ExpectCleanExit(run, 0, "the run limit");
    FinishSaver(run);
}
