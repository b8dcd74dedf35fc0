// The password mode: the system's password provider does the work.
#include <windows.h>

#include "host/arguments.h"
#include "host/command_line.h"
#include "host/modes.h"
#include "host/window_handle.h"

namespace {

using PwdChangePasswordFunction = DWORD(WINAPI*)(LPCSTR providerKey, HWND owner, DWORD reserved1, DWORD reserved2);

ArgumentText OwnerArgument;

}  // namespace

void ChangeSaverPassword() {
    CommandArgument(2, OwnerArgument);
    const HWND owner = HandleFromLow32(static_cast<uint32_t>(ArgumentInteger32(OwnerArgument)));
    const HMODULE provider = LoadLibraryA("MPR.DLL");
    if (provider == nullptr) return;
    const FARPROC found = GetProcAddress(provider, "PwdChangePasswordA");
    if (found != nullptr) {
        const auto change = reinterpret_cast<PwdChangePasswordFunction>(reinterpret_cast<void*>(found));
        change("SCRSAVE", owner, 0, 0);
    }
    FreeLibrary(provider);
}
