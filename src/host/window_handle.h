// Window handles given on the command line as 32-bit numbers.
#pragma once

#include <windows.h>

#include <cstdint>

// A 32-bit handle value as a handle; on 64-bit Windows it is sign-extended,
// as the system itself widens 32-bit handle values.
inline HWND HandleFromLow32(uint32_t value) {
    return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(value)));
}
