#include "x11/gl_window.h"

#include <GL/glx.h>
#include <X11/Xutil.h>

#include <cstdlib>

#include "x11/report_failure.h"

Display* XDisplay;
Window DrawWindow;
bool OwnsWindow;
int32_t WindowWidth;
int32_t WindowHeight;
Atom ProtocolsAtom;
Atom DeleteWindowAtom;

namespace {

constexpr int32_t OwnWindowWidth = 640;
constexpr int32_t OwnWindowHeight = 480;
constexpr const char* OwnWindowTitle = "Glimmerbox v 1.0";

GLXContext Context;
Colormap OwnColormap;
bool DoubleBuffered;
int LastXError;

// Keeps X errors to ourselves: the caller that expects one asks for it, and
// one that comes while the window is being destroyed under us is no fault.
int NoteXError(Display*, XErrorEvent* event) {
    LastXError = event->error_code;
    return 0;
}

// The connection is gone (the server ended): say so in one line.
int LostConnection(Display*) { ExitWithError(1, "lost the connection to the X display"); }

// The error code of the requests sent since the last call, 0 for none.
int TakeXError() {
    XSync(XDisplay, False);
    const int error = LastXError;
    LastXError = 0;
    return error;
}

// A direct context from the visual, made current on DrawWindow.
void MakeContext(XVisualInfo* visual, const char* source) {
    Context = glXCreateContext(XDisplay, visual, nullptr, True);
    if (Context == nullptr || TakeXError() != 0) ExitWithError(1, "%s: cannot create a GLX context", source);
    int doubleBuffer = 0;
    glXGetConfig(XDisplay, visual, GLX_DOUBLEBUFFER, &doubleBuffer);
    DoubleBuffered = doubleBuffer != 0;
    if (!glXMakeCurrent(XDisplay, DrawWindow, Context) || TakeXError() != 0)
        ExitWithError(1, "%s: cannot draw into window 0x%lx with OpenGL", source, DrawWindow);
}

// Our own titled window at 640x480, with the close button wired to us.
void CreateOwnWindow() {
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1,
                        GLX_DEPTH_SIZE, 16, None};
    const int screen = DefaultScreen(XDisplay);
    XVisualInfo* visual = glXChooseVisual(XDisplay, screen, attributes);
    if (visual == nullptr) ExitWithError(1, "--window: no double-buffered RGBA GLX visual with a depth buffer");
    const Window root = RootWindow(XDisplay, screen);
    OwnColormap = XCreateColormap(XDisplay, root, visual->visual, AllocNone);
    XSetWindowAttributes set{};
    set.colormap = OwnColormap;
    set.background_pixel = BlackPixel(XDisplay, screen);
    set.border_pixel = BlackPixel(XDisplay, screen);
    // Keys and size only: the mouse does not end the program.
    set.event_mask = KeyPressMask | StructureNotifyMask;
    DrawWindow = XCreateWindow(XDisplay, root, 0, 0, OwnWindowWidth, OwnWindowHeight, 0, visual->depth, InputOutput,
                               visual->visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &set);
    OwnsWindow = true;
    WindowWidth = OwnWindowWidth;
    WindowHeight = OwnWindowHeight;
    XStoreName(XDisplay, DrawWindow, OwnWindowTitle);
    XClassHint classHint{const_cast<char*>("glimmerbox"), const_cast<char*>("Glimmerbox")};
    XSetClassHint(XDisplay, DrawWindow, &classHint);
    ProtocolsAtom = XInternAtom(XDisplay, "WM_PROTOCOLS", False);
    DeleteWindowAtom = XInternAtom(XDisplay, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(XDisplay, DrawWindow, &DeleteWindowAtom, 1);
    XMapWindow(XDisplay, DrawWindow);
    if (TakeXError() != 0) ExitWithError(1, "--window: cannot create a window");
    MakeContext(visual, "--window");
    XFree(visual);
}

// A window made by someone else: a context from its own visual, and news of
// its size and its end.
void AdoptWindow(Window window, const char* source) {
    DrawWindow = window;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(XDisplay, window, &attributes) || TakeXError() != 0)
        ExitWithError(1, "%s 0x%lx: not a window on this display", source, window);
    XSelectInput(XDisplay, window, StructureNotifyMask);
    WindowWidth = attributes.width;
    WindowHeight = attributes.height;
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(XDisplay, VisualIDMask, &wanted, &count);
    int usesGl = 0;
    if (visual == nullptr || glXGetConfig(XDisplay, visual, GLX_USE_GL, &usesGl) != 0 || !usesGl)
        ExitWithError(1, "%s 0x%lx: its visual 0x%lx has no GLX support", source, window, wanted.visualid);
    MakeContext(visual, source);
    XFree(visual);
}

}  // namespace

void OpenXDisplay(const char* source) {
    const char* name = std::getenv("DISPLAY");
    XDisplay = XOpenDisplay(nullptr);
    if (XDisplay == nullptr) ExitWithError(1, "DISPLAY \"%s\": cannot open the X display", name ? name : "");
    XSetErrorHandler(NoteXError);
    XSetIOErrorHandler(LostConnection);
    int errorBase = 0, eventBase = 0;
    if (!glXQueryExtension(XDisplay, &errorBase, &eventBase))
        ExitWithError(1, "%s: no GLX visual: the X display \"%s\" has no GLX extension", source, DisplayString(XDisplay));
}

void SetUpWindow(const WindowChoice& choice) {
    if (choice.kind == WindowKind::Own) CreateOwnWindow();
    else AdoptWindow(choice.kind == WindowKind::Root ? DefaultRootWindow(XDisplay) : choice.window, choice.source);
}

void PresentFrame() {
    if (DoubleBuffered) glXSwapBuffers(XDisplay, DrawWindow);
    else glFlush();
}

void CloseXDisplay() {
    if (XDisplay == nullptr) return;
    glXMakeCurrent(XDisplay, None, nullptr);
    if (Context != nullptr) glXDestroyContext(XDisplay, Context);
    if (OwnsWindow) {
        XDestroyWindow(XDisplay, DrawWindow);
        XFreeColormap(XDisplay, OwnColormap);
    }
    XCloseDisplay(XDisplay);
    XDisplay = nullptr;
    Context = nullptr;
}
