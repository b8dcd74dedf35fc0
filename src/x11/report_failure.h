// How the X11 program reports a problem: one line on standard error,
// "glimmerbox: " and the formatted text.
#pragma once

// Prints the line and goes on.
void ReportProblem(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Prints the line, then ends the process with the given status.
[[noreturn]] void ExitWithError(int status, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Prints the line, then ends the process at once, without exit handlers:
// for callbacks from inside a library that cannot go on.
[[noreturn]] void ExitAtOnce(int status, const char* text);
