// The services the portable scene takes from the Linux programs.
#include "scene/scene_services.h"

#include <ctime>

#include "linux/report_failure.h"

uint32_t ReadSeedClock() {
    // The nanoseconds of the real-time clock differ from run to run.
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<uint32_t>(now.tv_sec) * 1'000'000'000u + static_cast<uint32_t>(now.tv_nsec);
}

void ExitWithMessage(const char* text, const char* caption, bool, int exitCode) {
    ExitWithError(exitCode, "%s: %s", caption, text);
}
