// The start both Linux programs make: standard files, then the command line.
#pragma once

#include "linux/options.h"

// Opens the standard files that are closed, reads the program's options,
// and ends the process: with --help after printing the usage (status 0), on
// a bad word after one line naming it (status 2).
Options ReadCommandLine(Program program, int argc, const char* const* argv);
