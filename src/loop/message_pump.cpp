#include "loop/message_pump.h"

QueuePass TakeOneMessage(MSG& message) {
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return QueuePass::Empty;
    if (message.message == WM_QUIT) return QueuePass::Quit;
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return QueuePass::Dispatched;
}
