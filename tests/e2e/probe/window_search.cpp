#include "window_search.h"

#include "waiting.h"

namespace {

constexpr DWORD PollMs = 5;

struct WindowQuery {
    DWORD pid;
    const char* className;
    const char* title;
    bool visibleOnly;
    HWND found;
};

// Whether window belongs to the query's process and matches its filters.
bool Matches(HWND window, const WindowQuery& query) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query.pid) return false;
    if (query.visibleOnly && !IsWindowVisible(window)) return false;
    if (query.className != nullptr && ClassOf(window) != query.className) return false;
    return query.title == nullptr || TextOf(window) == query.title;
}

// EnumWindows callback: stops at the first match.
BOOL CALLBACK TakeMatch(HWND window, LPARAM data) {
    auto& query = *reinterpret_cast<WindowQuery*>(data);
    if (!Matches(window, query)) return TRUE;
    query.found = window;
    return FALSE;
}

struct ChildQuery {
    const char* className;
    HWND found;
};

// EnumChildWindows callback: stops at the first child of the class with text.
BOOL CALLBACK TakeTextChild(HWND window, LPARAM data) {
    auto& query = *reinterpret_cast<ChildQuery*>(data);
    if (ClassOf(window) != query.className || TextOf(window).empty()) return TRUE;
    query.found = window;
    return FALSE;
}

struct Listing {
    DWORD pid;
    std::string text;
};

// EnumWindows callback: appends each window of the process to the listing.
BOOL CALLBACK ListWindow(HWND window, LPARAM data) {
    auto& listing = *reinterpret_cast<Listing*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != listing.pid) return TRUE;
    listing.text += '[';
    listing.text += ClassOf(window);
    listing.text += " \"";
    listing.text += TextOf(window);
    listing.text += IsWindowVisible(window) ? "\" shown] " : "\" hidden] ";
    return TRUE;
}

}  // namespace

std::string TextOf(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

HWND FindProcessWindow(DWORD pid, const char* className, const char* title) {
    WindowQuery query{pid, className, title, false, nullptr};
    EnumWindows(TakeMatch, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND WaitForProcessWindow(DWORD pid, const char* className, const char* title, DWORD ms, bool shown) {
    const double end = NowMs() + ms;
    for (;;) {
        HWND found = FindProcessWindow(pid, className, title);
        if (found != nullptr && (!shown || IsWindowVisible(found))) return found;
        if (NowMs() > end) return nullptr;
        PumpFor(PollMs);
    }
}

HWND VisibleProcessWindow(DWORD pid) {
    WindowQuery query{pid, nullptr, nullptr, true, nullptr};
    EnumWindows(TakeMatch, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::string DescribeProcessWindows(DWORD pid) {
    Listing listing{pid, ""};
    EnumWindows(ListWindow, reinterpret_cast<LPARAM>(&listing));
    return listing.text.empty() ? "none" : listing.text;
}

HWND ChildWithText(HWND parent, const char* className) {
    ChildQuery query{className, nullptr};
    EnumChildWindows(parent, TakeTextChild, reinterpret_cast<LPARAM>(&query));
    return query.found;
}
