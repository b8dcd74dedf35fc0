#include "linux/report_failure.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

void PrintLine(const char* format, std::va_list arguments) {
    std::fprintf(stderr, "%s: ", ProgramName);
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
    std::fprintf(stderr, "%s: %s\n", ProgramName, text);
    _exit(status);
}

void OpenStandardFiles() {
    for (int fd = 0; fd <= 2; ++fd)
        if (fcntl(fd, F_GETFD) == -1 && open("/dev/null", O_RDWR) != fd) std::_Exit(1);
}
