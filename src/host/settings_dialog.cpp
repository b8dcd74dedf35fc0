// The settings mode: a small dialog whose one action opens the games page.
#include <windows.h>
#include <shellapi.h>

#include "host/games_page.h"
#include "host/modes.h"
#include "host/settings_dialog.h"

namespace {

constexpr int CloseCommand = 0;
constexpr int GamesCommand = 1;

}  // namespace

INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return -1;  // non-zero: the first tab stop, the games button, gets the focus
        case WM_CLOSE:
            SendMessageA(dialog, WM_COMMAND, CloseCommand, 0);
            return -1;
        case WM_COMMAND:
            // Escape arrives as IDCANCEL and is left alone on purpose.
            switch (LOWORD(wParam)) {
                case CloseCommand: EndDialog(dialog, CloseCommand); return -1;
                case GamesCommand: EndDialog(dialog, GamesCommand); return -1;
                default: return 0;
            }
        default:
            return 0;
    }
}

void ShowSettings() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const HWND owner = GetForegroundWindow();  // none is fine: the dialog is then unowned
    const INT_PTR result = DialogBoxParamA(instance, "SETTINGS", owner, SettingsDlgProc, 0);
    if (result == GamesCommand) ShellExecuteA(nullptr, "open", GamesPageUrl, nullptr, nullptr, SW_SHOWNORMAL);
}
