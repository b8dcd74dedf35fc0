// A stand-in for the system's password provider DLL: it records each call's
// arguments, one line each, in the file named by GLIMMERBOX_MPR_LOG.
#include <windows.h>

#include <cstdint>
#include <cstdio>

// Appends "<provider> <owner> <reserved1> <reserved2>" to the log; returns 0.
extern "C" DWORD WINAPI PwdChangePasswordA(LPCSTR providerKey, HWND owner, DWORD reserved1, DWORD reserved2) {
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("GLIMMERBOX_MPR_LOG", path, sizeof path);
    if (length == 0 || length >= sizeof path) return ERROR_PATH_NOT_FOUND;
    FILE* log = std::fopen(path, "ab");
    if (log == nullptr) return ERROR_PATH_NOT_FOUND;
    std::fprintf(log, "%s %lld %lu %lu\n", providerKey != nullptr ? providerKey : "(null)",
                 static_cast<long long>(reinterpret_cast<intptr_t>(owner)), static_cast<unsigned long>(reserved1),
                 static_cast<unsigned long>(reserved2));
    std::fclose(log);
    return 0;
}
