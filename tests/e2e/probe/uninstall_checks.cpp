// Plays Add/Remove Programs and winget: runs a command of the uninstall entry
// exactly as the registry holds it, and takes the process's exit as the end.
#include <string>

#include "report.h"
#include "saver_process.h"
#include "scenarios.h"
#include "waiting.h"

void UninstallRun(const Arguments& args) {
    constexpr const char* EntryKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Glimmerbox";
    char command[2048];
    DWORD size = sizeof command;
    const LSTATUS read = RegGetValueA(HKEY_LOCAL_MACHINE, EntryKey, args.at(0).c_str(), RRF_RT_REG_SZ, nullptr,
                                      command, &size);
    SaverRun run{};
    if (Check(read == ERROR_SUCCESS, "no %s in HKLM\\%s (error %ld)", args.at(0).c_str(), EntryKey, read) &&
        StartCommand(command, run))
        ExpectCleanExit(run, 3 * DeadlineMs, "the uninstall command started", std::stoul(args.at(1)));
    FinishSaver(run);
}
