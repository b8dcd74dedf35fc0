// The floating-point control state: masked exceptions for the whole run, and
// saved and restored around calls that may change it.
#pragma once

#include <cstdint>

// All six exception masks, extended precision, rounding to nearest.
inline constexpr uint16_t SaverX87ControlWord = 0x133F;
// The control word's defined bits; bit 6 is reserved and may read back as 1.
inline constexpr uint16_t X87DefinedBits = 0x1F3F;

struct FpuControl {
    uint16_t x87;
    uint32_t mxcsr;  // 0, and left alone, in builds whose code uses no SSE
};

FpuControl ReadFpuControl();
void WriteFpuControl(FpuControl control);
// Sets the x87 control word to SaverX87ControlWord and masks every SSE
// exception as well.
void MaskFpuExceptions();
