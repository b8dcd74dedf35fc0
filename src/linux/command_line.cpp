#include "linux/command_line.h"

#include <cstdio>
#include <cstdlib>

#include "linux/report_failure.h"

Options ReadCommandLine(Program program, int argc, const char* const* argv) {
    OpenStandardFiles();
    Options options;
    OptionError error{};
    if (!ReadOptions(program, argc, argv, options, error)) ExitWithError(2, "%s", error.text);
    if (options.help) {
        std::fputs(UsageText(program), stdout);
        std::exit(0);
    }
    return options;
}
