#include "report.h"

#include <cstdarg>
#include <cstdio>

int FailureCount;

bool Check(bool ok, const char* format, ...) {
    if (ok) return true;
    ++FailureCount;
    std::va_list args;
    va_start(args, format);
    std::fputs("FAIL: ", stdout);
    std::vfprintf(stdout, format, args);
    std::fputc('\n', stdout);
    va_end(args);
    return false;
}

void Note(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    std::fputc('\n', stdout);
    va_end(args);
}
