// The probe's stand-in for the host's preview window.
#pragma once

#include <windows.h>

inline constexpr int PreviewWidth = 152;
inline constexpr int PreviewHeight = 112;

// A visible top-level window whose client area is PreviewWidth x PreviewHeight.
HWND CreateHostWindow();
