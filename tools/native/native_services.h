// The scene's services on Linux: a settable seed clock and a fatal message on
// standard error.
#pragma once

#include <cstdint>

// What ReadSeedClock returns; tools and tests set it for reproducible runs.
extern uint32_t NativeSeedClock;
