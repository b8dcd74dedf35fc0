#include "x11/gl_window.h"

#include <GL/glx.h>
#include <X11/Xutil.h>

#include <cstdlib>

#include "linux/options.h"
#include "linux/report_failure.h"
#include "x11/x_errors.h"

Display* XDisplay;
Window DrawWindow;
bool OwnsWindow;
int32_t WindowWidth;
int32_t WindowHeight;
Atom ProtocolsAtom;
Atom DeleteWindowAtom;

namespace {

constexpr const char* OwnWindowTitle = "Glimmerbox v 1.0";

GLXContext Context;
Colormap OwnColormap;
bool DoubleBuffered;

// A direct context from the visual, made current on DrawWindow.
void MakeContext(XVisualInfo* visual, const char* source) {
    TrapXErrors();
    Context = glXCreateContext(XDisplay, visual, nullptr, True);
    if (UntrapXErrors() != 0 || Context == nullptr) ExitWithError(1, "%s: cannot create a GLX context", source);
    int doubleBuffer = 0;
    glXGetConfig(XDisplay, visual, GLX_DOUBLEBUFFER, &doubleBuffer);
    DoubleBuffered = doubleBuffer != 0;
    TrapXErrors();
    const bool current = glXMakeCurrent(XDisplay, DrawWindow, Context);
    if (UntrapXErrors() != 0 || !current)
        ExitWithError(1, "%s: cannot draw into window 0x%lx with OpenGL", source, DrawWindow);
}

// A double-buffered RGBA visual with a depth buffer; null when there is none.
XVisualInfo* DepthBufferedVisual(int screen) {
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1,
                        GLX_DEPTH_SIZE, 16, None};
    return glXChooseVisual(XDisplay, screen, attributes);
}

// Our own titled window at 640x480, with the close button wired to us.
void CreateOwnWindow() {
    const int screen = DefaultScreen(XDisplay);
    XVisualInfo* visual = DepthBufferedVisual(screen);
    if (visual == nullptr) ExitWithError(1, "--window: no double-buffered RGBA GLX visual with a depth buffer");
    WindowWidth = OwnWindowWidth;
    WindowHeight = OwnWindowHeight;
    TrapXErrors();
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
    XStoreName(XDisplay, DrawWindow, OwnWindowTitle);
    XClassHint classHint{const_cast<char*>("glimmerbox"), const_cast<char*>("Glimmerbox")};
    XSetClassHint(XDisplay, DrawWindow, &classHint);
    ProtocolsAtom = XInternAtom(XDisplay, "WM_PROTOCOLS", False);
    DeleteWindowAtom = XInternAtom(XDisplay, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(XDisplay, DrawWindow, &DeleteWindowAtom, 1);
    XMapWindow(XDisplay, DrawWindow);
    if (UntrapXErrors() != 0) ExitWithError(1, "--window: cannot create a window");
    MakeContext(visual, "--window");
    XFree(visual);
}

// A window made by someone else: a context from its own visual, and news of
// its size and its end.
void AdoptWindow(Window window, const char* source) {
    DrawWindow = window;
    XWindowAttributes attributes{};
    // Size news first, so that a resize right after the size is read is not lost.
    TrapXErrors();
    XSelectInput(XDisplay, window, StructureNotifyMask);
    const Status read = XGetWindowAttributes(XDisplay, window, &attributes);
    if (UntrapXErrors() != 0 || !read) ExitWithError(1, "%s 0x%lx: not a window on this display", source, window);
    WindowWidth = attributes.width;
    WindowHeight = attributes.height;
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(XDisplay, VisualIDMask, &wanted, &count);
    int usesGl = 0;
    if (visual == nullptr || glXGetConfig(XDisplay, visual, GLX_USE_GL, &usesGl) != 0 || !usesGl)
        ExitWithError(1, "%s 0x%lx: its visual 0x%lx has no GLX support", source, window, wanted.visualid);
    int depthBits = 0;
    glXGetConfig(XDisplay, visual, GLX_DEPTH_SIZE, &depthBits);
    MakeContext(visual, source);
    XFree(visual);
    // Without a depth buffer the cube would show its far faces over its
    // near ones; culling the faces turned away draws a convex cube right
    // with no depth test at all.
    if (depthBits == 0) glEnable(GL_CULL_FACE);
}

}  // namespace

void OpenXDisplay(const char* source) {
    const char* name = std::getenv("DISPLAY");
    XDisplay = XOpenDisplay(nullptr);
    if (XDisplay == nullptr) ExitWithError(1, "DISPLAY \"%s\": cannot open the X display", name ? name : "");
    int errorBase = 0, eventBase = 0;
    if (!glXQueryExtension(XDisplay, &errorBase, &eventBase))
        ExitWithError(1, "%s: no GLX visual: the X display \"%s\" has no GLX extension", source, DisplayString(XDisplay));
    CatchXErrors(errorBase);
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
