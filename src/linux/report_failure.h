// How the Linux programs report a problem: one line on standard error, the
// program's name, ": " and the formatted text.
#pragma once

// "glimmerbox" or "glimmerbox-wl": defined by each program's main.cpp.
extern const char ProgramName[];

// Prints the line and goes on.
void ReportProblem(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Prints the line, then ends the process with the given status.
[[noreturn]] void ExitWithError(int status, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Prints the line, then ends the process at once, without exit handlers:
// for callbacks from inside a library that cannot go on.
[[noreturn]] void ExitAtOnce(int status, const char* text);
// A daemon may start us with standard input, output or error closed; the
// display connection would then take that number, and a message meant for
// standard error would go into the protocol stream. Opens /dev/null on each
// that is closed; call it first.
void OpenStandardFiles();
