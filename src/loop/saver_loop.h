// The full-screen saver's run loop and window procedure.
#pragma once

#include <windows.h>

#include <cstdint>

inline constexpr int KeyCount = 256;

// Held keys by virtual-key code; the run loop ends when Escape is seen held.
extern bool KeyDown[KeyCount];
// Frames drawn since the last frame-rate title.
extern int32_t FrameCount;

// The full-screen mode: window at the desktop's size, frames whenever no
// message waits, teardown at the end. Returns the last message's wParam.
int RunSaver(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);
// The per-frame key hook; nothing to do yet.
void HandleFrameKeys();
// Counts, times, draws and presents one frame.
void DrawSaverFrame();
// The window procedure of the class "GlimmerboxCls".
LRESULT CALLBACK SaverWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
