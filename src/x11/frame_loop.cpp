#include "x11/frame_loop.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "loop/clock.h"
#include "loop/frame_title.h"
#include "scene/scene.h"
#include "x11/fps_overlay.h"
#include "x11/gl_window.h"
#include "linux/stop_signals.h"
#include "linux/frame_clock.h"

namespace {

bool WindowEnded;  // the window was destroyed, or the user closed ours
int32_t ShownFramesPerSecond;

// One event: a new size reaches the scene; keys and the close button end our
// own window; the end of the watched window ends the program.
void HandleEvent(const XEvent& event) {
    if (event.type == ConfigureNotify && event.xconfigure.window == DrawWindow) {
        WindowWidth = event.xconfigure.width;
        WindowHeight = event.xconfigure.height;
        ResizeScene(WindowWidth, WindowHeight);
    } else if (event.type == DestroyNotify && event.xdestroywindow.window == DrawWindow) {
        WindowEnded = true;
    } else if (OwnsWindow && event.type == KeyPress) {
        XKeyEvent key = event.xkey;
        const KeySym symbol = XLookupKeysym(&key, 0);
        if (symbol == XK_q || symbol == XK_Q || symbol == XK_Escape) WindowEnded = true;
    } else if (OwnsWindow && event.type == ClientMessage && event.xclient.message_type == ProtocolsAtom &&
               event.xclient.format == 32 && static_cast<Atom>(event.xclient.data.l[0]) == DeleteWindowAtom) {
        WindowEnded = true;
    }
}

// Handles every event that has arrived; false once the window has ended.
bool HandleEvents() {
    while (!WindowEnded && XPending(XDisplay) > 0) {
        XEvent event;
        XNextEvent(XDisplay, &event);
        HandleEvent(event);
    }
    return !WindowEnded;
}

// Handles events until the deadline; false once the loop should end.
bool WaitUntil(int64_t deadlineNs) {
    const int fd = ConnectionNumber(XDisplay);
    for (;;) {
        if (!HandleEvents()) return false;
        const int64_t leftNs = deadlineNs - MonotonicNs();
        if (leftNs <= 0) return true;
        if (!WaitForInput(fd, leftNs)) return false;
    }
}

}  // namespace

bool RunFrames(uint32_t delayUs, bool showFps) {
    const bool overlay = showFps && !OwnsWindow && LoadOverlayFont();
    const int64_t delayNs = DelayToNs(delayUs);
    StartTick = TickCountMs();
    FrameRate rate = StartFrameRate(MonotonicNs());
    int64_t nextFrameNs = MonotonicNs();
    while (HandleEvents()) {
        // Once a second: the frame rate into our title, or kept for the overlay.
        const int32_t framesPerSecond = CountFrame(rate, MonotonicNs());
        if (framesPerSecond >= 0) {
            ShownFramesPerSecond = framesPerSecond;
            if (OwnsWindow) XStoreName(XDisplay, DrawWindow, FrameRateTitle(framesPerSecond).text);
        }
        AdvanceClock();
        DrawScene();
        if (overlay) DrawFpsOverlay(ShownFramesPerSecond, WindowWidth, WindowHeight);
        PresentFrame();
        nextFrameNs = NextFrameNs(nextFrameNs, delayNs, MonotonicNs());
        if (!WaitUntil(nextFrameNs)) break;
    }
    return !StopRequested();
}
