// Plays Add/Remove Programs and winget: runs a command of the uninstall entry
// exactly as the registry holds it, and takes the process's exit as the end.
#include <windows.h>

#include <string>

#include "report.h"
#include "scenarios.h"
#include "waiting.h"

namespace {

constexpr const char* EntryKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Glimmerbox";
constexpr DWORD UninstallMs = 3 * DeadlineMs;

}  // namespace

void UninstallRun(const Arguments& args) {
    char command[2048];
    DWORD size = sizeof command;
    const LSTATUS read = RegGetValueA(HKEY_LOCAL_MACHINE, EntryKey, args.at(0).c_str(), RRF_RT_REG_SZ, nullptr,
                                      command, &size);
    if (!Check(read == ERROR_SUCCESS, "no %s in HKLM\\%s (error %ld)", args.at(0).c_str(), EntryKey, read)) return;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!Check(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process),
               "CreateProcessA(%s) failed, error %lu", command, GetLastError()))
        return;
    const double from = NowMs();
    DWORD code = STILL_ACTIVE;
    if (Check(WaitPumping(process.hProcess, UninstallMs), "%s still runs after %lu ms", command, UninstallMs))
        GetExitCodeProcess(process.hProcess, &code);
    Note("%s ended with %lu after %.0f ms", command, code, NowMs() - from);
    Check(code == std::stoul(args.at(1)), "%s exited with %lu, expected %s", command, code, args.at(1).c_str());
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}
