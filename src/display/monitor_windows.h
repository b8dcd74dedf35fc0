// Windows over the monitors other than the primary one, which the saver
// window covers: one each, drawing the same scene in step with it.
#pragma once

#include <windows.h>

#include <cstdint>

inline constexpr const char* MonitorWindowClass = "GlimmerboxMonitorCls";
// Monitors past this many beyond the primary stay uncovered.
inline constexpr int MaxMonitorWindows = 15;

struct MonitorWindow {
    HWND window;
    HDC dc;
    HGLRC context;  // SaverRC where the pixel formats match, else its own
    int32_t width, height;
};

// The windows made so far, in order of creation.
extern MonitorWindow MonitorWindows[MaxMonitorWindows];
extern int32_t MonitorWindowCount;

// Covers every monitor but the primary with a borderless topmost window,
// shown without taking the focus; the saver window's context is current
// before and after. A monitor whose window or context cannot be made stays
// uncovered, silently.
void CreateMonitorWindows(int32_t colourBits);
// Draws the current frame on each monitor window and presents it; the scene
// is not advanced, so every monitor shows the same moment.
void DrawMonitorFrames();
// Releases the monitor windows and contexts, the last made first, then
// their class.
void DestroyMonitorWindows();
// The window procedure of the monitor windows.
LRESULT CALLBACK MonitorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
