// Settings mode: the dialog's controls, the ways it closes, and what it opens.
#include <windows.h>

#include <cstdio>
#include <string>

#include "report.h"
#include "saver_process.h"
#include "scenarios.h"
#include "send_input.h"
#include "waiting.h"
#include "window_search.h"

namespace {

constexpr const char* DialogClass = "#32770";
constexpr const char* DialogCaption = "Glimmerbox";
constexpr const char* GamesText = "&Play Free Puzzle Games";
constexpr const char* CloseText = "&Close";
constexpr const char* GamesPageUrl = "http://www.glimmerbox.net?utm_campaign=Glimmerbox&utm_source=appOptions";
constexpr int GamesId = 1;
constexpr int CloseId = 0;
constexpr DWORD EscapeStaysMs = 500;
constexpr DWORD NothingOpenedMs = 1000;

enum class Ending { EscapeThenClose, CloseBox, CloseMessage, AltF4, GamesClick, GamesEnter };

struct EndingName {
    const char* name;
    Ending ending;
};

constexpr EndingName Endings[] = {
    {"escape-then-close", Ending::EscapeThenClose}, {"close-box", Ending::CloseBox},
    {"wm-close", Ending::CloseMessage},              {"alt-f4", Ending::AltF4},
    {"games-click", Ending::GamesClick},             {"games-enter", Ending::GamesEnter},
};

// Everything the browser stand-in has recorded so far.
std::string ReadOpened(const std::string& file) {
    std::string text;
    if (FILE* in = std::fopen(file.c_str(), "rb")) {
        char buffer[512];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) text.append(buffer, n);
        std::fclose(in);
    }
    return text;
}

// Empties the browser stand-in's record.
void ClearOpened(const std::string& file) {
    if (FILE* out = std::fopen(file.c_str(), "wb")) std::fclose(out);
}

// The buttons' texts, the notice, and the games button first and focused.
void ExpectControls(HWND dialog) {
    HWND games = GetDlgItem(dialog, GamesId), close = GetDlgItem(dialog, CloseId);
    Check(games != nullptr && TextOf(games) == GamesText, "button %d is \"%s\", expected \"%s\"", GamesId,
          games ? TextOf(games).c_str() : "(none)", GamesText);
    Check(close != nullptr && TextOf(close) == CloseText, "button %d is \"%s\", expected \"%s\"", CloseId,
          close ? TextOf(close).c_str() : "(none)", CloseText);
    HWND notice = ChildWithText(dialog, "Static");
    Check(notice != nullptr && TextOf(notice).find("Glimmerbox") != std::string::npos,
          "the dialog has no notice naming Glimmerbox");
    Check(GetNextDlgTabItem(dialog, nullptr, FALSE) == games, "the games button is not the first tab stop");
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const double end = NowMs() + DeadlineMs;
    while (NowMs() < end && !(GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) && info.hwndFocus == games))
        PumpFor(10);
    Check(info.hwndFocus == games, "the games button does not have the focus");
}

// Waits until the dialog is the foreground window, so keys reach it.
bool WaitForeground(HWND dialog) {
    const double end = NowMs() + DeadlineMs;
    while (GetForegroundWindow() != dialog && NowMs() < end) PumpFor(10);
    return Check(GetForegroundWindow() == dialog, "the dialog is not the foreground window; keys cannot reach it");
}

// Ends the dialog the chosen way; false when a check on the way failed.
bool EndDialogBy(Ending ending, HWND dialog, SaverRun& run) {
    switch (ending) {
        case Ending::EscapeThenClose:
            if (!WaitForeground(dialog)) return false;
            PressKey(VK_ESCAPE);
            PumpFor(EscapeStaysMs);
            if (!Check(SaverRunning(run) && IsWindowVisible(dialog), "Escape closed the dialog")) return false;
            PostMessageA(GetDlgItem(dialog, CloseId), BM_CLICK, 0, 0);
            return true;
        case Ending::CloseBox: PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); return true;
        case Ending::CloseMessage: PostMessageA(dialog, WM_CLOSE, 0, 0); return true;
        case Ending::AltF4: {
            if (!WaitForeground(dialog)) return false;
            const WORD keys[] = {VK_MENU, VK_F4};
            PressKeys(keys, 2);
            return true;
        }
        case Ending::GamesClick: PostMessageA(GetDlgItem(dialog, GamesId), BM_CLICK, 0, 0); return true;
        case Ending::GamesEnter:
            if (!WaitForeground(dialog)) return false;
            PressKey(VK_RETURN);
            return true;
    }
    return false;
}

// The address as Wine's browser hand-off passes it on: an address with no
// path gets the root path "/" before its query.
std::string WineBrowserForm(const std::string& url) {
    const size_t authority = url.find("://");
    if (authority == std::string::npos) return url;
    const size_t pathStart = url.find_first_of("/?#", authority + 3);
    if (pathStart != std::string::npos && url[pathStart] == '/') return url;
    std::string canonical = url;
    canonical.insert(pathStart == std::string::npos ? url.size() : pathStart, "/");
    return canonical;
}

// After the exit: exactly the games page was opened, or nothing at all.
void ExpectOpened(const std::string& urlFile, bool gamesExpected) {
    const std::string expected = gamesExpected ? std::string(GamesPageUrl) + "\n" : "";
    const std::string passedOn = gamesExpected ? WineBrowserForm(GamesPageUrl) + "\n" : "";
    const double end = NowMs() + (gamesExpected ? DeadlineMs : NothingOpenedMs);
    while (NowMs() < end && ReadOpened(urlFile).empty()) PumpFor(20);
    if (gamesExpected) PumpFor(200);  // a second, unwanted open would land by now
    const std::string opened = ReadOpened(urlFile);
    Check(opened == expected || opened == passedOn, "the browser received \"%s\", expected \"%s\"", opened.c_str(),
          expected.c_str());
}

}  // namespace

void SettingsRun(const Arguments& args) {
    const EndingName* chosen = nullptr;
    for (const EndingName& e : Endings)
        if (args.at(1) == e.name) chosen = &e;
    if (!Check(chosen != nullptr, "unknown settings action %s", args.at(1).c_str())) return;
    const std::string urlFile = WindowsPath(args.at(2));
    ClearOpened(urlFile);
    SaverRun run{};
    if (!StartSaver(args.at(0), "/c", run)) return;
    HWND dialog = WaitForProcessWindow(run.info.dwProcessId, DialogClass, DialogCaption, DeadlineMs, true);
    if (Check(dialog != nullptr, "no dialog \"%s\" within %lu ms; saver %s", DialogCaption, DeadlineMs,
              SaverState(run).c_str())) {
        ExpectControls(dialog);
        const bool games = chosen->ending == Ending::GamesClick || chosen->ending == Ending::GamesEnter;
        if (EndDialogBy(chosen->ending, dialog, run) && ExpectCleanExit(run, DeadlineMs, chosen->name))
            ExpectOpened(urlFile, games);
    }
    FinishSaver(run);
}
