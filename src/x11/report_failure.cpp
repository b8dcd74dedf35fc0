#include "x11/report_failure.h"

#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

void PrintLine(const char* format, std::va_list arguments) {
    std::fputs("glimmerbox: ", stderr);
    std::vfprintf(stderr, format, arguments);
    std::fputc('\n', stderr);
}

}  // namespace

void ReportProblem(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    PrintLine(format, arguments);
    va_end(arguments);
}

void ExitWithError(int status, const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    PrintLine(format, arguments);
    va_end(arguments);
    std::exit(status);
}

void ExitAtOnce(int status, const char* text) {
    std::fprintf(stderr, "glimmerbox: %s\n", text);
    _exit(status);
}
