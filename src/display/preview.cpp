#include "display/preview.h"

#include "display/report_error.h"
#include "display/saver_window.h"
#include "host/arguments.h"
#include "host/command_line.h"
#include "host/modes.h"
#include "host/window_handle.h"
#include "loop/clock.h"
#include "loop/message_pump.h"
#include "scene/scene.h"

HWND PreviewParent;

namespace {

constexpr DWORD PreviewStyle = WS_CHILD | WS_VISIBLE;
constexpr int32_t PreviewColourBits = 32;
constexpr DWORD PassSleepMs = 2;

ArgumentText ParentArgument;

// A preview frame. The host may destroy its window, or ours, without a close
// request; then there is nothing left to draw into and the mode ends.
bool DrawPreviewFrame() {
    if (!IsWindow(SaverWindow) || !IsWindow(PreviewParent)) return false;
    AdvanceClock();
    DrawScene();
    SwapBuffers(SaverDC);
    return true;
}

}  // namespace

LRESULT CALLBACK PreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return 0;
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool CreatePreviewWindow(HWND parent) {
    RECT client{};
    GetClientRect(parent, &client);
    const int32_t width = client.right - client.left;
    const int32_t height = client.bottom - client.top;

    WNDCLASSA windowClass{};
    windowClass.style = CS_PARENTDC;
    windowClass.lpfnWndProc = PreviewWndProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = PreviewWindowClass;
    if (RegisterClassA(&windowClass) == 0) {
        ReportError("Failed to register the window class!");
        return false;
    }

    SaverWindow = parent == nullptr ? nullptr
                                    : CreateWindowKeepingFpu(0, PreviewWindowClass, nullptr, PreviewStyle, 0, 0,
                                                             width, height, parent, AppInstance);
    if (SaverWindow == nullptr) return FailCreation(false, PreviewWindowClass, "Unable to create window!");
    if (!AttachRenderingContext(PreviewColourBits, false, PreviewWindowClass)) return false;
    ResizeScene(width, height);
    InitScene();
    return true;
}

void RunPreview() {
    CommandArgument(2, ParentArgument);
    PreviewParent = HandleFromLow32(static_cast<uint32_t>(ArgumentInteger64(ParentArgument)));
    // Started before the window, so creation time counts as animation time.
    StartTick = GetTickCount();
    if (!CreatePreviewWindow(PreviewParent)) return;

    RunMessageLoop(DrawPreviewFrame, PassSleepMs);
}
