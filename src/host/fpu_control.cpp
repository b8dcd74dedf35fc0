#include "host/fpu_control.h"

namespace {

constexpr uint32_t MxcsrExceptionMasks = 0x1F80;

}  // namespace

FpuControl ReadFpuControl() {
    FpuControl control{0, 0};
    asm volatile("fnstcw %0" : "=m"(control.x87));
#if defined(__SSE__)
    asm volatile("stmxcsr %0" : "=m"(control.mxcsr));
#endif
    return control;
}

void WriteFpuControl(FpuControl control) {
    asm volatile("fldcw %0" : : "m"(control.x87));
#if defined(__SSE__)
    asm volatile("ldmxcsr %0" : : "m"(control.mxcsr));
#endif
}

void MaskFpuExceptions() {
    FpuControl control = ReadFpuControl();
    control.x87 = SaverX87ControlWord;
    control.mxcsr |= MxcsrExceptionMasks;
    WriteFpuControl(control);
}
