// The plasma's seed as the page chose it.
#pragma once

#include <cstdint>

// What ReadSeedClock gives: the address's seed, or the clock's milliseconds.
extern uint32_t PageSeed;
