#include "host_window.h"

namespace {

constexpr const char* HostClass = "GlimmerboxProbeHost";
constexpr DWORD HostStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
constexpr int HostX = 240;
constexpr int HostY = 200;

}  // namespace

HWND CreateHostWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = HostClass;
    RegisterClassA(&windowClass);
    RECT frame{0, 0, PreviewWidth, PreviewHeight};
    AdjustWindowRectEx(&frame, HostStyle, FALSE, 0);
    return CreateWindowExA(0, HostClass, "Preview host", HostStyle, HostX, HostY, frame.right - frame.left,
                           frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}
