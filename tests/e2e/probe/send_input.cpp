#include "send_input.h"

#include <vector>

#include "waiting.h"

namespace {

constexpr DWORD StepMs = 40;

// One keyboard event for key, pressed or released.
INPUT KeyEvent(WORD key, bool release) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    return input;
}

// One relative pointer move.
INPUT MoveEvent(LONG dx, LONG dy) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    return input;
}

}  // namespace

void PressKeys(const WORD* keys, int count) {
    std::vector<INPUT> inputs;
    for (int i = 0; i < count; ++i) inputs.push_back(KeyEvent(keys[i], false));
    for (int i = count - 1; i >= 0; --i) inputs.push_back(KeyEvent(keys[i], true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PressKey(WORD key) { PressKeys(&key, 1); }

void WanderMouse() {
    const POINT spots[] = {{100, 100}, {500, 400}, {900, 700}, {300, 600}, {512, 384}};
    for (const POINT& spot : spots) {
        SetCursorPos(spot.x, spot.y);
        PumpFor(StepMs);
        INPUT move = MoveEvent(25, -15);
        SendInput(1, &move, sizeof move);
        PumpFor(StepMs);
    }
}
