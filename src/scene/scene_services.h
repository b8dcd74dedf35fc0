// What the scene needs from the program around it. Each platform (the saver,
// the native tools and tests) links its own definitions.
#pragma once

#include <cstdint>

// A 32-bit clock reading that differs between runs, to seed the plasma.
uint32_t ReadSeedClock();

// Shows a modal message with no owner and ends the process with exitCode.
[[noreturn]] void ExitWithMessage(const char* text, const char* caption, bool errorIcon,
                                  int exitCode);
