// The services the portable scene and clock take from Windows.
#include <windows.h>

#include "scene/scene_services.h"

uint32_t ReadSeedClock() {
    LARGE_INTEGER counter;
    if (QueryPerformanceCounter(&counter)) return static_cast<uint32_t>(counter.QuadPart);
    return GetTickCount();
}

void ExitWithMessage(const char* text, const char* caption, bool errorIcon, int exitCode) {
    MessageBoxA(nullptr, text, caption, MB_OK | (errorIcon ? MB_ICONERROR : 0));
    ExitProcess(static_cast<UINT>(exitCode));
}
