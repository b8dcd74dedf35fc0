// The settings dialog's procedure and what its result does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_windows.h"
#include "host/games_page.h"
#include "host/modes.h"
#include "host/settings_dialog.h"
#include "program_state.h"

namespace {

using Calls = std::vector<std::string>;

MSG Message(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return MSG{nullptr, message, wParam, lParam, 0, {}}; }

const std::string OpenPage =
    "ShellExecuteA(0, \"open\", \"" + std::string(GamesPageUrl) + "\", null, null, 1)";

TEST(Settings, DialogProcedureTable) {
    const HWND dialog = reinterpret_cast<HWND>(0x70);
    const struct {
        UINT message;
        WPARAM wParam;
        INT_PTR result;
        Calls calls;
    } table[] = {
        {WM_INITDIALOG, 0, -1, {}},
        {WM_CLOSE, 0, -1, {"SendMessageA(112, WM_COMMAND, 0, 0)", "112 <- WM_COMMAND(0, 0)"}},
        {WM_COMMAND, 0, -1, {"EndDialog(112, 0)"}},
        {WM_COMMAND, 1, -1, {"EndDialog(112, 1)"}},
        {WM_COMMAND, 0x00010001, -1, {"EndDialog(112, 1)"}},  // the notification code is not looked at
        {WM_COMMAND, 0xFFFF0000, -1, {"EndDialog(112, 0)"}},
        {WM_COMMAND, IDCANCEL, 0, {}},  // Escape: nothing
        {WM_COMMAND, 0x00010002, 0, {}},
        {WM_PAINT, 0, 0, {}},
        {WM_KEYDOWN, VK_ESCAPE, 0, {}},
    };
    for (const auto& row : table) {
        ResetProgram();
        EXPECT_EQ(SettingsDlgProc(dialog, row.message, row.wParam, 0), row.result) << row.message << " " << row.wParam;
        EXPECT_EQ(FakeCalls(), row.calls) << row.message << " " << row.wParam;
    }
}

TEST(Settings, OnlyTheGamesButtonOpensThePage) {
    const struct {
        const char* what;
        std::vector<MSG> script;
        bool opens;
    } cases[] = {
        {"games button", {Message(WM_COMMAND, 1)}, true},
        {"Escape, then Close", {Message(WM_COMMAND, IDCANCEL), Message(WM_COMMAND, 0)}, false},
        {"close box or Alt+F4", {Message(WM_CLOSE)}, false},
        {"Escape, then the games button", {Message(WM_COMMAND, IDCANCEL), Message(WM_COMMAND, 1)}, true},
    };
    for (const auto& c : cases) {
        ResetProgram();
        FakeSetDialogScript(c.script);
        ShowSettings();
        EXPECT_EQ(FakeCallsOf({"ShellExecuteA"}), c.opens ? Calls{OpenPage} : Calls{}) << c.what;
        EXPECT_EQ(FakeCallsOf({"EndDialog"}).size(), 1u) << c.what;
    }
}

TEST(Settings, OwnedByTheForegroundWindowAndQuietOnFailure) {
    ResetProgram();
    const HWND foreground = FakeForeignWindow(0x900, 10, 10);
    FakeSetForegroundWindow(foreground);
    FakeSetDialogScript({Message(WM_COMMAND, 1)});
    ShowSettings();
    const Calls expected = {
        "GetModuleHandleA(null)", "GetForegroundWindow()", "DialogBoxParamA(inst, \"SETTINGS\", host, procedure, 0)",
        "dialog <- WM_INITDIALOG(0, 0)", "  = -1", "dialog <- WM_COMMAND(1, 0)", "EndDialog(dialog, 1)", "  = -1",
        OpenPage,
    };
    EXPECT_EQ(FakeCalls(), expected);

    ResetProgram();
    FakeReturn("DialogBoxParamA", -1);  // the dialog could not be made
    ShowSettings();
    EXPECT_TRUE(FakeCallsOf({"ShellExecuteA", "MessageBoxA"}).empty());
}

TEST(Settings, GamesPageIsHostThenQuery) {
    const std::string url = GamesPageUrl;
    const std::string scheme = "http://";
    const std::string query = "?utm_campaign=Glimmerbox&utm_source=appOptions";
    ASSERT_GT(url.size(), scheme.size() + query.size());
    EXPECT_EQ(url.substr(0, scheme.size()), scheme);
    EXPECT_EQ(url.substr(url.size() - query.size()), query);
    const std::string host = url.substr(scheme.size(), url.size() - scheme.size() - query.size());
    EXPECT_EQ(host, GamesPageHost);
    EXPECT_EQ(host.find_first_of("/?# "), std::string::npos);
    EXPECT_NE(host.find('.'), std::string::npos);
}

}  // namespace
