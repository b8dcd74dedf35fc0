// The saver's window with everything hung on it: class, display mode, device
// context, pixel format, OpenGL context and the one-second frame-rate timer.
#pragma once

#include <windows.h>

#include <cstdint>

inline constexpr const char* SaverWindowClass = "GlimmerboxCls";
inline constexpr const char* SaverWindowTitle = "Glimmerbox v 1.0";
inline constexpr UINT_PTR FpsTimerIdentifier = 1;

extern HINSTANCE AppInstance;
extern HWND SaverWindow;
extern HDC SaverDC;
extern HGLRC SaverRC;
extern UINT_PTR FpsTimerId;

// Builds the window, context and timer and sets up the scene; on failure
// tears down what was built, reports it and returns false.
bool CreateSaverWindow(int32_t width, int32_t height, bool fullScreen, int32_t colourBits);
// Releases everything in reverse order, reporting each failed release;
// windowClass names the class to unregister.
void DestroySaverWindow(bool fullScreen, const char* windowClass = SaverWindowClass);
// A creation step failed: teardown first, then the step's own message; false.
bool FailCreation(bool fullScreen, const char* windowClass, const char* message);
// Chooses and sets the pixel format, creates the OpenGL context and makes it
// current, on SaverDC; on failure tears down, reports and returns false.
bool AttachRenderingContext(int32_t colourBits, bool fullScreen, const char* windowClass);
// Registers a class with the arrow cursor and no icon, brush or menu; false
// when the system refuses.
bool RegisterFullScreenClass(const char* name, UINT style, WNDPROC procedure, HINSTANCE instance);
// Chooses and sets the saver's pixel format on dc; false when either fails.
bool SetSaverPixelFormat(HDC dc, int32_t colourBits);
// CreateWindowExA with the floating-point control state it may change restored.
HWND CreateWindowKeepingFpu(DWORD exStyle, const char* windowClass, const char* title, DWORD style, int x, int y,
                            int width, int height, HWND parent, HINSTANCE instance);
