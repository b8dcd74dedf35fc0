// Preview mode: the scene in a child of the host's preview window.
#pragma once

#include <windows.h>

inline constexpr const char* PreviewWindowClass = "GlimmerboxPreviewCls";

// The host's window, from the second command-line argument.
extern HWND PreviewParent;

// Builds the child window, its context and the scene; on failure tears down,
// reports and returns false.
bool CreatePreviewWindow(HWND parent);
// The preview child's window procedure: a close request ends the mode.
LRESULT CALLBACK PreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
