#include "fake_windows.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>

namespace {

struct Window {
    std::string className;
    WNDPROC procedure;
    HWND parent;
    LONG width, height;
    bool alive;
};

struct State {
    std::vector<std::string> calls;
    std::map<std::string, std::deque<intptr_t>> forced;
    std::map<std::string, std::function<void()>> hooks;
    std::map<std::string, WNDCLASSA> classes;
    std::map<HWND, Window> windows;
    std::map<const void*, std::string> names;
    std::deque<MSG> queue;
    std::string commandLine = "glimmerbox.scr";
    bool useShowWindow = false;
    WORD show = 0;
    bool doubleByte = false;
    DWORD displayWidth = 1024, displayHeight = 768, displayBits = 32;
    HWND foreground = nullptr;
    bool libraryPresent = true, entryPresent = true;
    uint32_t ticks = 0;
    int cursorCount = 0;
    int windowsMade = 0, dcsMade = 0, contextsMade = 0;
    DLGPROC dialogProcedure = nullptr;
    std::vector<MSG> dialogScript;
    bool dialogEnded = false;
    INT_PTR dialogResult = 0;
    long sleeps = 0;
    std::vector<RECT> monitors;
};

State& S() {
    static State state;
    return state;
}

constexpr long SleepLimit = 200000;
constexpr INT_PTR DialogNeverEnded = 0x7FFF;

template <typename T>
T* MakeHandle(uintptr_t value) {
    return reinterpret_cast<T*>(value);
}

HINSTANCE Instance() { return MakeHandle<HINSTANCE__>(0x400000); }
HCURSOR Arrow() { return MakeHandle<HCURSOR__>(0x50001); }
HMODULE Provider() { return MakeHandle<HINSTANCE__>(0x60001); }
HWND Dialog() { return MakeHandle<HWND__>(0x70001); }

std::string Hex(uintptr_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(value));
    return text;
}

std::string Quote(LPCSTR text) {
    if (text == nullptr) return "null";
    if (reinterpret_cast<uintptr_t>(text) < 0x10000) return "#" + std::to_string(reinterpret_cast<uintptr_t>(text));
    return "\"" + std::string(text) + "\"";
}

std::string MessageName(UINT message) {
    static const std::map<UINT, const char*> names = {
        {WM_CREATE, "WM_CREATE"},         {WM_DESTROY, "WM_DESTROY"},   {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},             {WM_PAINT, "WM_PAINT"},       {WM_CLOSE, "WM_CLOSE"},
        {WM_QUIT, "WM_QUIT"},             {WM_KEYDOWN, "WM_KEYDOWN"},   {WM_KEYUP, "WM_KEYUP"},
        {WM_CHAR, "WM_CHAR"},             {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"}, {WM_SYSKEYUP, "WM_SYSKEYUP"},
        {WM_INITDIALOG, "WM_INITDIALOG"}, {WM_COMMAND, "WM_COMMAND"},   {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
        {WM_TIMER, "WM_TIMER"},           {WM_MOUSEMOVE, "WM_MOUSEMOVE"}, {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"}};
    const auto found = names.find(message);
    return found != names.end() ? found->second : Hex(message);
}

std::string Join(std::initializer_list<std::string> parts) {
    std::string joined;
    for (const std::string& part : parts) joined += (joined.empty() ? "" : ", ") + part;
    return joined;
}

// Records a call and runs its hook.
void Record(const std::string& function, const std::string& arguments) {
    S().calls.push_back(function + "(" + arguments + ")");
    const auto hook = S().hooks.find(function);
    if (hook != S().hooks.end()) hook->second();
}

// The forced result of the next call of function, or its usual one.
intptr_t Result(const std::string& function, intptr_t usual) {
    auto found = S().forced.find(function);
    if (found == S().forced.end() || found->second.empty()) return usual;
    const intptr_t value = found->second.front();
    found->second.pop_front();
    return value;
}

template <typename Handle>
Handle ResultHandle(const std::string& function, Handle usual) {
    return reinterpret_cast<Handle>(Result(function, reinterpret_cast<intptr_t>(usual)));
}

Window* FindWindow(HWND window) {
    const auto found = S().windows.find(window);
    return found != S().windows.end() && found->second.alive ? &found->second : nullptr;
}

// Delivers a message to a window's procedure, recording it.
LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const std::string& shown) {
    S().calls.push_back(FakeName(window) + " <- " + MessageName(message) + "(" + shown + ")");
    if (window == Dialog() && S().dialogProcedure != nullptr)
        return S().dialogProcedure(window, message, wParam, lParam);
    Window* target = FindWindow(window);
    return target != nullptr ? target->procedure(window, message, wParam, lParam) : 0;
}

LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Deliver(window, message, wParam, lParam,
                   std::to_string(wParam) + ", " + std::to_string(static_cast<long long>(lParam)));
}

std::string DescribeMode(const DEVMODEA* mode) {
    if (mode == nullptr) return "null";
    DEVMODEA others = *mode;
    others.dmSize = 0;
    others.dmPelsWidth = others.dmPelsHeight = others.dmBitsPerPel = others.dmFields = 0;
    static const DEVMODEA zero{};
    const bool restZero = std::memcmp(&others, &zero, sizeof others) == 0;
    return "{size " + std::to_string(mode->dmSize) + ", " + std::to_string(mode->dmPelsWidth) + "x" +
           std::to_string(mode->dmPelsHeight) + "x" + std::to_string(mode->dmBitsPerPel) + ", fields " +
           Hex(mode->dmFields) + (restZero ? "" : ", OTHER FIELDS SET") + "}";
}

std::string DescribeFormat(const PIXELFORMATDESCRIPTOR* f) {
    PIXELFORMATDESCRIPTOR others = *f;
    others.nSize = others.nVersion = 0;
    others.dwFlags = 0;
    others.cColorBits = others.cDepthBits = 0;
    static const PIXELFORMATDESCRIPTOR zero{};
    const bool restZero = std::memcmp(&others, &zero, sizeof others) == 0;
    return "{size " + std::to_string(f->nSize) + ", version " + std::to_string(f->nVersion) + ", flags " +
           Hex(f->dwFlags) + ", colour " + std::to_string(f->cColorBits) + ", depth " +
           std::to_string(f->cDepthBits) + (restZero ? "" : ", OTHER FIELDS SET") + "}";
}

DWORD FakePwdChangePasswordA(LPCSTR provider, HWND owner, DWORD reserved1, DWORD reserved2) {
    Record("PwdChangePasswordA",
           Join({Quote(provider), FakeName(owner), std::to_string(reserved1), std::to_string(reserved2)}));
    return 0;
}

}  // namespace

void FakeReset() { S() = State{}; }
const std::vector<std::string>& FakeCalls() { return S().calls; }
void FakeRecord(const std::string& line) { S().calls.push_back(line); }

std::vector<std::string> FakeCallsOf(std::initializer_list<std::string_view> names) {
    std::vector<std::string> kept;
    for (const std::string& call : S().calls)
        for (std::string_view name : names)
            if (call.compare(0, name.size() + 1, std::string(name) + "(") == 0 ||
                (name == "<-" && call.find(" <- ") != std::string::npos)) {
                kept.push_back(call);
                break;
            }
    return kept;
}

void FakeReturn(const std::string& function, intptr_t value) { S().forced[function].push_back(value); }
void FakeOnCall(const std::string& function, std::function<void()> hook) { S().hooks[function] = std::move(hook); }
void FakeSetCommandLine(const char* line) { S().commandLine = line; }
void FakeSetStartupShow(bool useShowWindow, WORD show) {
    S().useShowWindow = useShowWindow;
    S().show = show;
}
void FakeSetDoubleByteCodePage(bool on) { S().doubleByte = on; }
void FakeSetDisplayMode(DWORD width, DWORD height, DWORD bits) {
    S().displayWidth = width;
    S().displayHeight = height;
    S().displayBits = bits;
}
void FakeSetForegroundWindow(HWND window) { S().foreground = window; }
void FakeSetPasswordProvider(bool libraryPresent, bool entryPresent) {
    S().libraryPresent = libraryPresent;
    S().entryPresent = entryPresent;
}
uint32_t& FakeTicks() { return S().ticks; }

HWND FakeForeignWindow(uintptr_t value, LONG width, LONG height) {
    const HWND window = MakeHandle<HWND__>(value);
    S().windows[window] = Window{"host", [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; }, nullptr, width,
                                 height, true};
    S().names[window] = "host";
    return window;
}

void FakeVanish(HWND window) {
    if (Window* target = FindWindow(window)) target->alive = false;
}

void FakePost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    S().queue.push_back(MSG{window, message, wParam, lParam, 0, {0, 0}});
}

void FakeSetDialogScript(std::vector<MSG> messages) { S().dialogScript = std::move(messages); }

WNDPROC FakeClassProcedure(const char* className) {
    const auto found = S().classes.find(className);
    return found != S().classes.end() ? found->second.lpfnWndProc : nullptr;
}

bool FakeClassRegistered(const char* className) { return S().classes.count(className) != 0; }

std::string FakeName(const void* handle) {
    if (handle == nullptr) return "0";
    const auto found = S().names.find(handle);
    return found != S().names.end() ? found->second : std::to_string(reinterpret_cast<uintptr_t>(handle));
}

// kernel32

HMODULE GetModuleHandleA(LPCSTR name) {
    Record("GetModuleHandleA", Quote(name));
    S().names[Instance()] = "inst";
    return Instance();
}

LPSTR GetCommandLineA() {
    Record("GetCommandLineA", "");
    return S().commandLine.data();
}

void GetStartupInfoA(STARTUPINFOA* info) {
    Record("GetStartupInfoA", "");
    const DWORD size = info->cb;
    *info = STARTUPINFOA{};
    info->cb = size;
    info->dwFlags = S().useShowWindow ? STARTF_USESHOWWINDOW : 0;
    info->wShowWindow = S().show;
}

DWORD GetTickCount() {
    Record("GetTickCount", "");
    return S().ticks;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* counter) {
    Record("QueryPerformanceCounter", "");
    counter->QuadPart = 0x123456789ABCDEFll;
    return static_cast<BOOL>(Result("QueryPerformanceCounter", TRUE));
}

void Sleep(DWORD milliseconds) {
    if (++S().sleeps > SleepLimit) {
        std::fprintf(stderr, "stand-in: the loop never ended (%ld sleeps)\n", SleepLimit);
        std::abort();
    }
    S().ticks += milliseconds;
    Record("Sleep", std::to_string(milliseconds));
}

HMODULE LoadLibraryA(LPCSTR name) {
    Record("LoadLibraryA", Quote(name));
    S().names[Provider()] = "mpr";
    const bool found = S().libraryPresent && std::string(name) == "MPR.DLL";
    return found ? Provider() : nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
    Record("GetProcAddress", Join({FakeName(module), Quote(name)}));
    if (module != Provider() || !S().entryPresent || std::string(name) != "PwdChangePasswordA") return nullptr;
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakePwdChangePasswordA));
}

BOOL FreeLibrary(HMODULE module) {
    Record("FreeLibrary", FakeName(module));
    return TRUE;
}

void ExitProcess(UINT exitCode) {
    Record("ExitProcess", std::to_string(exitCode));
    // The calls that led here, for a death test to match.
    for (const std::string& call : S().calls) std::fprintf(stderr, "%s\n", call.c_str());
    std::exit(static_cast<int>(exitCode));
}

// user32

ATOM RegisterClassA(const WNDCLASSA* c) {
    Record("RegisterClassA",
           Join({Quote(c->lpszClassName), "style " + Hex(c->style), "instance " + FakeName(c->hInstance),
                 "cursor " + FakeName(c->hCursor), "icon " + FakeName(c->hIcon),
                 "brush " + FakeName(c->hbrBackground), "menu " + Quote(c->lpszMenuName),
                 "extra " + std::to_string(c->cbClsExtra) + "/" + std::to_string(c->cbWndExtra)}));
    if (FakeClassRegistered(c->lpszClassName)) return static_cast<ATOM>(Result("RegisterClassA", 0));
    const auto atom = static_cast<ATOM>(Result("RegisterClassA", 0xC001));
    if (atom != 0) S().classes[c->lpszClassName] = *c;
    return atom;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance) {
    Record("UnregisterClassA", Join({Quote(className), FakeName(instance)}));
    bool ok = FakeClassRegistered(className) && instance == Instance();
    // The system refuses while a window of the class exists.
    for (const auto& [handle, window] : S().windows)
        if (window.alive && window.className == className) ok = false;
    ok = Result("UnregisterClassA", ok ? TRUE : FALSE) != 0;
    if (ok) S().classes.erase(className);
    return ok ? TRUE : FALSE;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    Record("LoadCursorA", Join({FakeName(instance), Quote(name)}));
    S().names[Arrow()] = "arrow";
    return instance == nullptr && name == IDC_ARROW ? Arrow() : nullptr;
}

LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags) {
    Record("ChangeDisplaySettingsA", Join({DescribeMode(mode), std::to_string(flags)}));
    return static_cast<LONG>(Result("ChangeDisplaySettingsA", DISP_CHANGE_SUCCESSFUL));
}

BOOL EnumDisplaySettingsA(LPCSTR device, DWORD modeNumber, DEVMODEA* mode) {
    Record("EnumDisplaySettingsA", Join({Quote(device), Hex(modeNumber), "size " + std::to_string(mode->dmSize)}));
    const BOOL ok = static_cast<BOOL>(Result("EnumDisplaySettingsA", TRUE));
    if (ok) {
        mode->dmPelsWidth = S().displayWidth;
        mode->dmPelsHeight = S().displayHeight;
        mode->dmBitsPerPel = S().displayBits;
    }
    return ok;
}

int GetSystemMetrics(int index) {
    Record("GetSystemMetrics", std::to_string(index));
    return static_cast<int>(index == SM_CXSCREEN ? S().displayWidth : S().displayHeight);
}

int ShowCursor(BOOL show) {
    Record("ShowCursor", show ? "TRUE" : "FALSE");
    return S().cursorCount += show ? 1 : -1;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, void* parameter) {
    Record("CreateWindowExA",
           Join({Hex(exStyle), Quote(className), Quote(title), Hex(style), std::to_string(x), std::to_string(y),
                 std::to_string(width), std::to_string(height), FakeName(parent), FakeName(menu),
                 FakeName(instance), FakeName(parameter)}));
    const auto found = S().classes.find(className);
    const bool parentOk = parent == nullptr || FindWindow(parent) != nullptr;
    HWND window = nullptr;
    if (found != S().classes.end() && parentOk)
        window = MakeHandle<HWND__>(0x10000 + static_cast<uintptr_t>(++S().windowsMade));
    window = ResultHandle("CreateWindowExA", window);
    if (window == nullptr) return nullptr;
    S().names[window] = "wnd" + std::to_string(S().windowsMade);
    S().windows[window] = Window{className, found->second.lpfnWndProc, parent, width, height, true};
    // What the system sends while it makes a window, before returning it.
    Deliver(window, WM_CREATE, 0, 0, "0, 0");
    Deliver(window, WM_SIZE, 0, static_cast<LPARAM>((height & 0xFFFF) << 16 | (width & 0xFFFF)),
            "0, " + std::to_string(width) + "x" + std::to_string(height));
    Deliver(window, WM_MOVE, 0, 0, "0, 0");
    return window;
}

BOOL DestroyWindow(HWND window) {
    Record("DestroyWindow", FakeName(window));
    Window* target = FindWindow(window);
    const BOOL ok = static_cast<BOOL>(Result("DestroyWindow", target != nullptr ? TRUE : FALSE));
    if (ok && target != nullptr) {
        Deliver(window, WM_DESTROY, 0, 0);
        target->alive = false;
        for (auto& [handle, child] : S().windows)
            if (child.parent == window && child.alive) DestroyWindow(handle);
    }
    return ok;
}

BOOL IsWindow(HWND window) {
    Record("IsWindow", FakeName(window));
    return FindWindow(window) != nullptr ? TRUE : FALSE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
    Record("GetClientRect", FakeName(window));
    const Window* target = FindWindow(window);
    if (target == nullptr) return FALSE;
    *rect = RECT{0, 0, target->width, target->height};
    return TRUE;
}

HDC GetDC(HWND window) {
    Record("GetDC", FakeName(window));
    HDC dc = FindWindow(window) != nullptr ? MakeHandle<HDC__>(0x20000 + static_cast<uintptr_t>(++S().dcsMade)) : nullptr;
    dc = ResultHandle("GetDC", dc);
    if (dc != nullptr) S().names[dc] = "dc" + std::to_string(S().dcsMade);
    return dc;
}

int ReleaseDC(HWND window, HDC dc) {
    Record("ReleaseDC", Join({FakeName(window), FakeName(dc)}));
    return static_cast<int>(Result("ReleaseDC", 1));
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC procedure) {
    Record("SetTimer", Join({FakeName(window), std::to_string(id), std::to_string(period),
                             procedure == nullptr ? "null" : "procedure"}));
    return static_cast<UINT_PTR>(Result("SetTimer", static_cast<intptr_t>(id)));
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    Record("KillTimer", Join({FakeName(window), std::to_string(id)}));
    return static_cast<BOOL>(Result("KillTimer", TRUE));
}

BOOL ShowWindow(HWND window, int command) {
    Record("ShowWindow", Join({FakeName(window), std::to_string(command)}));
    return FALSE;
}

BOOL SetForegroundWindow(HWND window) {
    Record("SetForegroundWindow", FakeName(window));
    return TRUE;
}

HWND SetFocus(HWND window) {
    Record("SetFocus", FakeName(window));
    return nullptr;
}

HWND GetForegroundWindow() {
    Record("GetForegroundWindow", "");
    return S().foreground;
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
    Record("SetWindowTextA", Join({FakeName(window), Quote(text)}));
    return TRUE;
}

BOOL PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT remove) {
    Record("PeekMessageA", Join({FakeName(window), std::to_string(first), std::to_string(last), std::to_string(remove)}));
    if (S().queue.empty()) return FALSE;
    *message = S().queue.front();
    if (remove == PM_REMOVE) S().queue.pop_front();
    return TRUE;
}

BOOL TranslateMessage(const MSG* message) {
    Record("TranslateMessage", MessageName(message->message));
    return FALSE;
}

LRESULT DispatchMessageA(const MSG* message) {
    Record("DispatchMessageA", MessageName(message->message));
    return Deliver(message->hwnd, message->message, message->wParam, message->lParam);
}

void PostQuitMessage(int exitCode) {
    Record("PostQuitMessage", std::to_string(exitCode));
    FakePost(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Record("DefWindowProcA", Join({FakeName(window), MessageName(message), std::to_string(wParam),
                                   std::to_string(static_cast<long long>(lParam))}));
    return Result("DefWindowProcA", 0);
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Record("SendMessageA", Join({FakeName(window), MessageName(message), std::to_string(wParam),
                                 std::to_string(static_cast<long long>(lParam))}));
    return Deliver(window, message, wParam, lParam);
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    Record("MessageBoxA", Join({FakeName(owner), Quote(text), Quote(caption), Hex(type)}));
    return IDOK;
}

LPSTR CharNextA(LPCSTR text) {
    const auto byte = static_cast<unsigned char>(*text);
    if (byte == 0) return const_cast<LPSTR>(text);
    const bool lead = S().doubleByte && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
    return const_cast<LPSTR>(text + (lead && text[1] != '\0' ? 2 : 1));
}

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure, LPARAM parameter) {
    Record("DialogBoxParamA", Join({FakeName(instance), Quote(templateName), FakeName(owner),
                                    procedure == nullptr ? "null" : "procedure", std::to_string(parameter)}));
    const intptr_t forced = Result("DialogBoxParamA", DialogNeverEnded);
    if (forced != DialogNeverEnded) return forced;
    S().names[Dialog()] = "dialog";
    S().dialogProcedure = procedure;
    S().dialogEnded = false;
    const INT_PTR initResult = Deliver(Dialog(), WM_INITDIALOG, 0, parameter);
    S().calls.push_back("  = " + std::to_string(static_cast<long long>(initResult)));
    for (const MSG& m : S().dialogScript) {
        if (S().dialogEnded) break;
        const INT_PTR result = Deliver(Dialog(), m.message, m.wParam, m.lParam);
        S().calls.push_back("  = " + std::to_string(static_cast<long long>(result)));
    }
    S().dialogProcedure = nullptr;
    return S().dialogEnded ? S().dialogResult : DialogNeverEnded;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    Record("EndDialog", Join({FakeName(dialog), std::to_string(static_cast<long long>(result))}));
    S().dialogEnded = true;
    S().dialogResult = result;
    return TRUE;
}

// gdi32 and opengl32

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* format) {
    Record("ChoosePixelFormat", Join({FakeName(dc), DescribeFormat(format)}));
    return static_cast<int>(Result("ChoosePixelFormat", 7));
}

BOOL SetPixelFormat(HDC dc, int index, const PIXELFORMATDESCRIPTOR* format) {
    Record("SetPixelFormat", Join({FakeName(dc), std::to_string(index), DescribeFormat(format)}));
    return static_cast<BOOL>(Result("SetPixelFormat", TRUE));
}

BOOL SwapBuffers(HDC dc) {
    Record("SwapBuffers", FakeName(dc));
    return TRUE;
}

HGLRC wglCreateContext(HDC dc) {
    Record("wglCreateContext", FakeName(dc));
    HGLRC context = MakeHandle<HGLRC__>(0x30000 + static_cast<uintptr_t>(++S().contextsMade));
    context = ResultHandle("wglCreateContext", context);
    if (context != nullptr) S().names[context] = "rc" + std::to_string(S().contextsMade);
    return context;
}

BOOL wglMakeCurrent(HDC dc, HGLRC context) {
    Record("wglMakeCurrent", Join({FakeName(dc), FakeName(context)}));
    return static_cast<BOOL>(Result("wglMakeCurrent", TRUE));
}

BOOL wglDeleteContext(HGLRC context) {
    Record("wglDeleteContext", FakeName(context));
    // As on Windows, there is nothing to delete without a context.
    return static_cast<BOOL>(Result("wglDeleteContext", context != nullptr ? TRUE : FALSE));
}

// shell32

HINSTANCE ShellExecuteA(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, int show) {
    Record("ShellExecuteA",
           Join({FakeName(window), Quote(verb), Quote(file), Quote(parameters), Quote(directory), std::to_string(show)}));
    return MakeHandle<HINSTANCE__>(33);
}

// Monitors, and sharing between rendering contexts

void FakeSetMonitors(std::vector<RECT> monitors) { S().monitors = std::move(monitors); }

BOOL EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC procedure, LPARAM data) {
    Record("EnumDisplayMonitors", Join({FakeName(dc), clip == nullptr ? "null" : "clip", "procedure"}));
    std::vector<RECT> monitors = S().monitors;
    if (monitors.empty())
        monitors.push_back(RECT{0, 0, static_cast<LONG>(S().displayWidth), static_cast<LONG>(S().displayHeight)});
    for (size_t i = 0; i < monitors.size(); ++i)
        if (!procedure(MakeHandle<HMONITOR__>(0x80001 + i), nullptr, &monitors[i], data)) break;
    return static_cast<BOOL>(Result("EnumDisplayMonitors", TRUE));
}

BOOL wglShareLists(HGLRC first, HGLRC second) {
    Record("wglShareLists", Join({FakeName(first), FakeName(second)}));
    return static_cast<BOOL>(Result("wglShareLists", TRUE));
}
