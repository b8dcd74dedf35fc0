// The message box the preview shows when it is handed no window.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "report.h"
#include "saver_process.h"
#include "scenarios.h"
#include "waiting.h"
#include "window_search.h"

namespace {

constexpr const char* DialogClass = "#32770";
constexpr const char* ErrorCaption = "Error";
constexpr const char* ErrorText = "Unable to create window!";
constexpr DWORD BoxStaysMs = 300;
constexpr int MostBoxes = 10;

// The box's text; checks it offers OK alone, stays until answered, then
// presses OK.
std::string AnswerErrorBox(HWND box, const SaverRun& run) {
    HWND text = ChildWithText(box, "Static");
    const std::string shown = text != nullptr ? TextOf(text) : "";
    HWND ok = GetDlgItem(box, IDOK);
    Check(ok != nullptr && TextOf(ok) == "OK", "the error box \"%s\" has no OK button", shown.c_str());
    Check(GetDlgItem(box, IDCANCEL) == nullptr && GetDlgItem(box, IDNO) == nullptr,
          "the error box \"%s\" has more buttons than OK", shown.c_str());
    PumpFor(BoxStaysMs);
    Check(SaverRunning(run) && IsWindow(box), "the error box \"%s\" went before it was answered", shown.c_str());
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
    return shown;
}

// A shown error box other than previous, while the saver runs; null once the
// saver has ended, or when none comes in time.
HWND NextErrorBox(const SaverRun& run, HWND previous) {
    const double end = NowMs() + DeadlineMs;
    while (SaverRunning(run) && NowMs() < end) {
        HWND next = FindProcessWindow(run.info.dwProcessId, DialogClass, ErrorCaption);
        if (next != nullptr && next != previous && IsWindowVisible(next)) return next;
        PumpFor(5);
    }
    return nullptr;
}

// Answers every error box in turn until the saver ends or none follows.
std::vector<std::string> AnswerErrorBoxes(const SaverRun& run) {
    std::vector<std::string> texts;
    HWND box = WaitForProcessWindow(run.info.dwProcessId, DialogClass, ErrorCaption, DeadlineMs, true);
    Check(box != nullptr, "no \"%s\" box within %lu ms; saver %s", ErrorCaption, DeadlineMs, SaverState(run).c_str());
    while (box != nullptr && static_cast<int>(texts.size()) < MostBoxes) {
        texts.push_back(AnswerErrorBox(box, run));
        box = NextErrorBox(run, box);
    }
    return texts;
}

}  // namespace

void PreviewError(const Arguments& args) {
    const std::string& handle = args.at(1);
    const auto handleValue = static_cast<uintptr_t>(std::stoull(handle));
    if (!Check(!IsWindow(reinterpret_cast<HWND>(handleValue)), "%s is a window here; pick another number",
               handle.c_str()))
        return;
    SaverRun run{};
    if (StartSaver(args.at(0), "/p " + handle, run)) {
        const std::vector<std::string> texts = AnswerErrorBoxes(run);
        std::string all;
        for (const std::string& text : texts) {
            all += '[';
            all += text;
            all += "] ";
        }
        Note("error boxes shown: %s", all.c_str());
        Check(texts.size() == 1 && texts[0] == ErrorText, "the saver showed the error boxes %sexpected exactly [%s]",
              all.c_str(), ErrorText);
        ExpectCleanExit(run, DeadlineMs, "the last error box was answered");
    }
    FinishSaver(run);
}
