#include <windows.h>

#include "display/saver_window.h"
#include "loop/clock.h"
#include "loop/frame_title.h"
#include "loop/saver_loop.h"
#include "scene/scene.h"

bool KeyDown[KeyCount];
int32_t FrameCount;

namespace {

// Marks a key held or released; codes past the table (only another program
// could send one) are ignored.
void SetKey(WPARAM code, bool held) {
    if (code < KeyCount) KeyDown[code] = held;
}

void ShowFrameRate() {
    FrameCount = FramesPerSecond(FrameCount);
    SetWindowTextA(SaverWindow, FrameRateTitle(FrameCount).text);
    FrameCount = 0;
}

}  // namespace

void DrawSaverFrame() {
    FrameCount = static_cast<int32_t>(static_cast<uint32_t>(FrameCount) + 1u);
    AdvanceClock();
    DrawScene();
    SwapBuffers(SaverDC);
}

LRESULT CALLBACK SaverWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return 0;
        case WM_MOVE:
            // Only once the run loop's clock runs: a move during creation
            // comes before any rendering context exists.
            if (PrevElapsedMs > 0) DrawSaverFrame();
            return 0;
        case WM_SIZE:
            ResizeScene(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
        case WM_KEYDOWN:
            PostQuitMessage(0);
            SetKey(wParam, true);
            return 0;
        case WM_KEYUP:
            SetKey(wParam, false);
            return 0;
        case WM_TIMER:
            if (wParam == FpsTimerIdentifier) ShowFrameRate();
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
