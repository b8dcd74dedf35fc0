#include "native_services.h"

#include <cstdio>
#include <cstdlib>

#include "scene/scene_services.h"

uint32_t NativeSeedClock;

uint32_t ReadSeedClock() { return NativeSeedClock; }

void ExitWithMessage(const char* text, const char* caption, bool, int exitCode) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::exit(exitCode);
}
