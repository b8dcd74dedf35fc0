#include "host/command_line.h"

#include <windows.h>

#include "host/arguments.h"

namespace {

const char* NextAnsiCharacter(const char* p) { return CharNextA(p); }

}  // namespace

void CommandArgument(int n, ArgumentText& out) {
    SplitArgument(GetCommandLineA(), n, NextAnsiCharacter, out, sizeof out);
}
