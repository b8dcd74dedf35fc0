// Control of the stand-in Windows API: the recorded calls, forced results,
// the message queue, the tick count and the windows that exist.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Forgets every call, window, class, queued message and forced result.
void FakeReset();
// Every call so far, one line each, e.g. "GetDC(wnd1)"; messages the stand-in
// sends to a window procedure appear as "wnd1 <- WM_SIZE(0, 800x600)".
const std::vector<std::string>& FakeCalls();
// Adds a line of the program's own (the scene stand-in's calls).
void FakeRecord(const std::string& line);
// The calls whose function (or "<-" message line) is one of names.
std::vector<std::string> FakeCallsOf(std::initializer_list<std::string_view> names);
// The next call of function returns value instead of succeeding.
void FakeReturn(const std::string& function, intptr_t value);
// hook runs after every call of function (after it is recorded).
void FakeOnCall(const std::string& function, std::function<void()> hook);

void FakeSetCommandLine(const char* line);
void FakeSetStartupShow(bool useShowWindow, WORD show);
// Lead bytes 0x81..0x9F and 0xE0..0xFC start two-byte characters.
void FakeSetDoubleByteCodePage(bool on);
void FakeSetDisplayMode(DWORD width, DWORD height, DWORD bits);
void FakeSetForegroundWindow(HWND window);
void FakeSetPasswordProvider(bool libraryPresent, bool entryPresent);
// The tick count; Sleep advances it.
uint32_t& FakeTicks();
// A window that the program did not make (the host's), with a client size.
HWND FakeForeignWindow(uintptr_t value, LONG width, LONG height);
// The window is gone at once, its children left alone, as when another
// process's window goes away.
void FakeVanish(HWND window);
// Puts a message at the back of the queue.
void FakePost(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Messages a modal dialog receives after WM_INITDIALOG, until it ends.
void FakeSetDialogScript(std::vector<MSG> messages);
WNDPROC FakeClassProcedure(const char* className);
bool FakeClassRegistered(const char* className);
// The readable name the log uses for a handle.
std::string FakeName(const void* handle);
// The monitors EnumDisplayMonitors reports, in order; by default one, the
// display mode's size at (0, 0).
void FakeSetMonitors(std::vector<RECT> monitors);
