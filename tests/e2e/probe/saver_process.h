// Starting the saver the way the screensaver host does, and watching it end.
#pragma once

#include <windows.h>

#include <string>

struct SaverRun {
    PROCESS_INFORMATION info;
    double startMs;  // just before CreateProcess
};

// A Unix path as the Windows path Wine maps it to (drive Z:); a path that
// already names a drive, such as C:\Windows\..., stays as it is.
std::string WindowsPath(const std::string& unixPath);
// Starts "<saver>" <arguments>; reports and returns false when it cannot.
bool StartSaver(const std::string& saverUnixPath, const std::string& arguments, SaverRun& run);
// Starts a command line handed whole to CreateProcess, as the system does.
bool StartCommand(std::string commandLine, SaverRun& run);
// True while the saver's process has not ended.
bool SaverRunning(const SaverRun& run);
// "running" or "ended", with the saver's top-level windows, for failure lines.
std::string SaverState(const SaverRun& run);
// Checks that the process ends within ms with exit code expected.
bool ExpectCleanExit(SaverRun& run, DWORD ms, const char* after, DWORD expected = 0);
// Ends the process if it still runs and closes its handles.
void FinishSaver(SaverRun& run);
