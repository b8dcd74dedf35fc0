#include "x11/x_errors.h"

#include <cstdint>

#include "x11/gl_window.h"
#include "linux/report_failure.h"

namespace {

// GLX's error for a drawable that is gone, counted from its error base.
constexpr int GlxBadDrawable = 2;

bool Trapping;
int TrappedError;
int GlxErrorBase;

// The errors already printed: each kind once, so a fault in every frame
// does not flood standard error.
struct ErrorKind {
    uint8_t code, request, minor;
};
constexpr int MaxKinds = 16;
ErrorKind Printed[MaxKinds];
int PrintedCount;
bool ToldOfMore;

bool PrintedBefore(const XErrorEvent& event) {
    for (int i = 0; i < PrintedCount; ++i) {
        const ErrorKind& kind = Printed[i];
        if (kind.code == event.error_code && kind.request == event.request_code && kind.minor == event.minor_code)
            return true;
    }
    if (PrintedCount < MaxKinds) {
        Printed[PrintedCount++] = {event.error_code, event.request_code, event.minor_code};
        return false;
    }
    // Past that many kinds, one line says so and the rest stay quiet.
    if (!ToldOfMore) ReportProblem("further X errors are not shown");
    ToldOfMore = true;
    return true;
}

// The daemon destroys the window we draw in when it is done with us; the
// requests already on their way then fail, and DestroyNotify ends the loop.
bool FromOurWindowsEnd(const XErrorEvent& event) {
    const bool ours = event.resourceid == DrawWindow;
    const bool gone = event.error_code == BadWindow || event.error_code == BadDrawable ||
                      event.error_code == GlxErrorBase + GlxBadDrawable;
    return ours && gone;
}

// Xlib calls it from inside its own calls: it may print but not talk to the server.
int OnXError(Display* display, XErrorEvent* event) {
    if (Trapping) {
        if (TrappedError == 0) TrappedError = event->error_code;
        return 0;
    }
    if (FromOurWindowsEnd(*event) || PrintedBefore(*event)) return 0;
    char text[80];
    XGetErrorText(display, event->error_code, text, sizeof text);
    ReportProblem("X error %d (%s) in request %d.%d on 0x%lx", event->error_code, text, event->request_code,
                  event->minor_code, event->resourceid);
    return 0;
}

// The server ended or closed our connection. Xlib cannot go on, and the exit
// handlers could call back into it, so the process ends without them.
int OnLostConnection(Display*) { ExitAtOnce(1, "lost the connection to the X display"); }

}  // namespace

void CatchXErrors(int glxErrorBase) {
    GlxErrorBase = glxErrorBase;
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnLostConnection);
}

void TrapXErrors() {
    Trapping = true;
    TrappedError = 0;
}

int UntrapXErrors() {
    XSync(XDisplay, False);
    Trapping = false;
    return TrappedError;
}
