// The process's own command-line arguments, read as the host writes them.
#pragma once

#include <cstddef>

// Long enough for any argument: Windows command lines hold at most 32767.
inline constexpr std::size_t ArgumentCapacity = 32768;
using ArgumentText = char[ArgumentCapacity];

// The n-th argument after the program name (n >= 1), empty when absent.
void CommandArgument(int n, ArgumentText& out);
