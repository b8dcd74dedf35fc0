#include "loop/message_pump.h"

WPARAM RunMessageLoop(FrameFunction drawFrame, DWORD sleepMs) {
    MSG message{};
    bool done = false;
    while (!done) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                done = true;
            } else {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        } else {
            done = !drawFrame();
        }
        Sleep(sleepMs);
    }
    return message.wParam;
}
