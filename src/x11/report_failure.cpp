#include "x11/report_failure.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

void ExitWithError(int status, const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::fputs("glimmerbox: ", stderr);
    std::vfprintf(stderr, format, arguments);
    std::fputc('\n', stderr);
    va_end(arguments);
    std::exit(status);
}
