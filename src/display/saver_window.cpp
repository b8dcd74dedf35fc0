#include "display/saver_window.h"

#include "display/report_error.h"
#include "host/fpu_control.h"
#include "loop/saver_loop.h"
#include "scene/scene.h"

HINSTANCE AppInstance;
HWND SaverWindow;
HDC SaverDC;
HGLRC SaverRC;
UINT_PTR FpsTimerId;

namespace {

constexpr UINT SaverClassStyle = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
constexpr DWORD FullScreenStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD FullScreenExStyle = WS_EX_APPWINDOW;
constexpr DWORD WindowedStyle = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD WindowedExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
constexpr UINT FpsTimerPeriodMs = 1000;
constexpr BYTE DepthBits = 16;

// Asks for width x height at colourBits; false only on DISP_CHANGE_FAILED.
bool SwitchToFullScreen(int32_t width, int32_t height, int32_t colourBits) {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmBitsPerPel = static_cast<DWORD>(colourBits);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_FAILED;
}

// The double-buffered RGBA pixel format request with a 16-bit depth buffer.
PIXELFORMATDESCRIPTOR SaverPixelFormat(int32_t colourBits) {
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = static_cast<BYTE>(colourBits);
    format.cDepthBits = DepthBits;
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}

}  // namespace

bool FailCreation(bool fullScreen, const char* windowClass, const char* message) {
    DestroySaverWindow(fullScreen, windowClass);
    ReportError(message);
    return false;
}

HWND CreateWindowKeepingFpu(DWORD exStyle, const char* windowClass, const char* title, DWORD style, int x, int y,
                            int width, int height, HWND parent, HINSTANCE instance) {
    // HACK: some drivers and hooks loaded during window creation change the
    // floating-point control word; the saver's masked state must survive.
    const FpuControl control = ReadFpuControl();
    HWND window = CreateWindowExA(exStyle, windowClass, title, style, x, y, width, height, parent, nullptr,
                                  instance, nullptr);
    WriteFpuControl(control);
    return window;
}

bool RegisterFullScreenClass(const char* name, UINT style, WNDPROC procedure, HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    return RegisterClassA(&windowClass) != 0;
}

bool SetSaverPixelFormat(HDC dc, int32_t colourBits) {
    const PIXELFORMATDESCRIPTOR format = SaverPixelFormat(colourBits);
    const int index = ChoosePixelFormat(dc, &format);
    return index != 0 && SetPixelFormat(dc, index, &format);
}

bool AttachRenderingContext(int32_t colourBits, bool fullScreen, const char* windowClass) {
    SaverDC = GetDC(SaverWindow);
    if (SaverDC == nullptr) return FailCreation(fullScreen, windowClass, "Unable to get a device context!");
    const PIXELFORMATDESCRIPTOR format = SaverPixelFormat(colourBits);
    const int index = ChoosePixelFormat(SaverDC, &format);
    if (index == 0) return FailCreation(fullScreen, windowClass, "Unable to find a suitable pixel format");
    if (!SetPixelFormat(SaverDC, index, &format))
        return FailCreation(fullScreen, windowClass, "Unable to set the pixel format");
    SaverRC = wglCreateContext(SaverDC);
    if (SaverRC == nullptr)
        return FailCreation(fullScreen, windowClass, "Unable to create an OpenGL rendering context");
    if (!wglMakeCurrent(SaverDC, SaverRC))
        return FailCreation(fullScreen, windowClass, "Unable to activate OpenGL rendering context");
    return true;
}

bool CreateSaverWindow(int32_t width, int32_t height, bool fullScreen, int32_t colourBits) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterFullScreenClass(SaverWindowClass, SaverClassStyle, SaverWndProc, instance)) {
        ReportError("Failed to register the window class!");
        return false;
    }

    if (fullScreen && !SwitchToFullScreen(width, height, colourBits)) {
        ReportError("Unable to switch to fullscreen!");
        fullScreen = false;
    }
    const DWORD style = fullScreen ? FullScreenStyle : WindowedStyle;
    const DWORD exStyle = fullScreen ? FullScreenExStyle : WindowedExStyle;
    if (fullScreen) ShowCursor(FALSE);

    SaverWindow =
        CreateWindowKeepingFpu(exStyle, SaverWindowClass, SaverWindowTitle, style, 0, 0, width, height, nullptr, instance);
    if (SaverWindow == nullptr) return FailCreation(fullScreen, SaverWindowClass, "Unable to create window!");
    if (!AttachRenderingContext(colourBits, fullScreen, SaverWindowClass)) return false;

    FpsTimerId = SetTimer(SaverWindow, FpsTimerIdentifier, FpsTimerPeriodMs, nullptr);
    ShowWindow(SaverWindow, SW_SHOW);
    SetForegroundWindow(SaverWindow);
    SetFocus(SaverWindow);
    ResizeScene(width, height);
    InitScene();
    return true;
}

void DestroySaverWindow(bool fullScreen, const char* windowClass) {
    if (fullScreen) {
        ChangeDisplaySettingsA(nullptr, 0);
        ShowCursor(TRUE);
    }
    if (FpsTimerId != 0 && !KillTimer(SaverWindow, FpsTimerId)) ReportError("Stop FPS Timer  failed!");
    // A context that was never made is not released: deleting a null one
    // always fails, and reporting that would put phantom failures ahead of
    // the real one when creation fails early.
    if (SaverRC != nullptr) {
        if (!wglMakeCurrent(SaverDC, nullptr)) ReportError("Release of DC and RC failed!");
        if (!wglDeleteContext(SaverRC)) {
            ReportError("Release of rendering context failed!");
            SaverRC = nullptr;
        }
    }
    if (SaverDC != nullptr && !ReleaseDC(SaverWindow, SaverDC)) {
        ReportError("Release of device context failed!");
        SaverDC = nullptr;
    }
    if (SaverWindow != nullptr && !DestroyWindow(SaverWindow)) {
        ReportError("Unable to destroy window!");
        SaverWindow = nullptr;
    }
    if (!UnregisterClassA(windowClass, AppInstance)) {
        ReportError("Unable to unregister window class!");
        AppInstance = nullptr;
    }
}
