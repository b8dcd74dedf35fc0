#include "saver_process.h"

#include "report.h"
#include "waiting.h"
#include "window_search.h"

std::string WindowsPath(const std::string& unixPath) {
    if (unixPath.size() > 1 && unixPath[1] == ':') return unixPath;
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

bool StartSaver(const std::string& saverUnixPath, const std::string& arguments, SaverRun& run) {
    std::string commandLine = "\"" + WindowsPath(saverUnixPath) + '"';
    if (!arguments.empty()) commandLine += " " + arguments;
    return StartCommand(commandLine, run);
}

bool StartCommand(std::string commandLine, SaverRun& run) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    run = SaverRun{};
    run.startMs = NowMs();
    const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &run.info);
    Note("started %s (pid %lu)", commandLine.c_str(), started ? run.info.dwProcessId : 0ul);
    return Check(started != 0, "CreateProcessA(%s) failed, error %lu", commandLine.c_str(), GetLastError());
}

bool SaverRunning(const SaverRun& run) { return WaitForSingleObject(run.info.hProcess, 0) == WAIT_TIMEOUT; }

std::string SaverState(const SaverRun& run) {
    std::string state = SaverRunning(run) ? "running" : "ended";
    state += ", windows: ";
    state += DescribeProcessWindows(run.info.dwProcessId);
    return state;
}

bool ExpectCleanExit(SaverRun& run, DWORD ms, const char* after, DWORD expected) {
    const double from = NowMs();
    if (!Check(WaitPumping(run.info.hProcess, ms), "process still running %lu ms after %s", ms, after)) return false;
    Note("process ended %.0f ms after %s", NowMs() - from, after);
    DWORD code = 0;
    GetExitCodeProcess(run.info.hProcess, &code);
    return Check(code == expected, "exit code after %s is %lu, expected %lu", after, code, expected);
}

void FinishSaver(SaverRun& run) {
    if (run.info.hProcess == nullptr) return;
    if (SaverRunning(run)) {
        TerminateProcess(run.info.hProcess, 99);
        WaitForSingleObject(run.info.hProcess, 5000);
    }
    CloseHandle(run.info.hThread);
    CloseHandle(run.info.hProcess);
    run.info = PROCESS_INFORMATION{};
}
