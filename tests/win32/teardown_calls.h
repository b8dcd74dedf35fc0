// Pieces of the expected call tables for window creation and teardown,
// shared by the saver window's and the preview's tests.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

using Calls = std::vector<std::string>;

// An error report: no owner, caption "Error", MB_OK | MB_ICONERROR.
inline std::string Box(const std::string& text) { return "MessageBoxA(0, \"" + text + "\", \"Error\", 0x10)"; }

inline Calls JoinCalls(std::initializer_list<Calls> parts) {
    Calls all;
    for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

inline const Calls DestroyFirstWindow = {"DestroyWindow(wnd1)", "wnd1 <- WM_DESTROY(0, 0)",
                                         "DefWindowProcA(wnd1, WM_DESTROY, 0, 0)"};
