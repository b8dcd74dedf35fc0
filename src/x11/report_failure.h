// How the X11 program reports a failure: one line on standard error.
#pragma once

// Prints "glimmerbox: " and the formatted text as one line, then ends the
// process with the given status.
[[noreturn]] void ExitWithError(int status, const char* format, ...) __attribute__((format(printf, 2, 3)));
