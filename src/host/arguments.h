// Reading the command line the way the screensaver host writes it: argument
// splitting with quotes, and integers in decimal or hexadecimal.
#pragma once

#include <cstddef>
#include <cstdint>

// Steps to the next character of the ANSI code page (CharNextA on Windows).
using CharNextFunction = const char* (*)(const char*);

// Copies the n-th argument after the program name (n >= 1; 0 reads the
// program name) of line into out, zero-terminated and cut to outSize - 1
// bytes; empty when the line holds fewer arguments. Returns the argument's
// full length.
std::size_t SplitArgument(const char* line, int n, CharNextFunction charNext, char* out, std::size_t outSize);

// The integer an argument stands for, read in 32-bit width: a "-" counts only
// when the digits run to the end of the text.
int32_t ArgumentInteger32(const char* text);
// The same read in 64-bit width, where a "-" always counts.
int64_t ArgumentInteger64(const char* text);
