// Finding the saver's windows from outside its process.
#pragma once

#include <windows.h>

#include <string>

// The window's text (title, or a control's caption).
std::string TextOf(HWND window);
// The window's class name.
std::string ClassOf(HWND window);
// The first top-level window of process pid with class className (and title,
// unless null); null when there is none.
HWND FindProcessWindow(DWORD pid, const char* className, const char* title);
// Polls FindProcessWindow for up to ms, handling the probe's messages; with
// shown, only once the window is visible (a dialog's controls exist by then).
HWND WaitForProcessWindow(DWORD pid, const char* className, const char* title, DWORD ms, bool shown = false);
// The first visible top-level window of process pid, or null.
HWND VisibleProcessWindow(DWORD pid);
// The top-level windows of process pid, as "[class \"title\" shown|hidden]"
// items, for failure messages.
std::string DescribeProcessWindows(DWORD pid);
// The first child of parent with class className and non-empty text, or null.
HWND ChildWithText(HWND parent, const char* className);
