#include "x11/frame_loop.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "loop/clock.h"
#include "loop/frame_title.h"
#include "scene/scene.h"
#include "x11/fps_overlay.h"
#include "x11/gl_window.h"
#include "x11/stop_signals.h"
#include "x11/system_clock.h"

namespace {

constexpr int64_t NsPerUs = 1'000;
constexpr int64_t FrameRatePeriodNs = 1'000'000'000;

bool WindowEnded;  // the window was destroyed, or the user closed ours
int32_t FrameCount;
int32_t ShownFramesPerSecond;

// One event: a new size reaches the scene; keys and the close button end our
// own window; the end of a given window ends the program.
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

// Handles every event that has arrived; false once the loop should end.
bool HandleEvents() {
    while (!WindowEnded && XPending(XDisplay) > 0) {
        XEvent event;
        XNextEvent(XDisplay, &event);
        HandleEvent(event);
    }
    return !WindowEnded && !StopRequested();
}

// Handles events until the deadline; false once the loop should end. It
// waits at least once, with no time left if need be, so that a held stop
// signal is taken.
bool WaitUntil(int64_t deadlineNs) {
    const int fd = ConnectionNumber(XDisplay);
    int64_t leftNs = 0;
    do {
        if (!HandleEvents()) return false;
        leftNs = deadlineNs - MonotonicNs();
        WaitForInput(fd, leftNs > 0 ? leftNs : 0);
    } while (leftNs > 0);
    return HandleEvents();
}

// Once a second: the frame rate into our title, or kept for the overlay.
void ShowFrameRate() {
    ShownFramesPerSecond = FramesPerSecond(FrameCount);
    FrameCount = 0;
    if (OwnsWindow) XStoreName(XDisplay, DrawWindow, FrameRateTitle(ShownFramesPerSecond).text);
}

}  // namespace

void RunFrames(uint32_t delayUs, bool showFps) {
    const bool overlay = showFps && !OwnsWindow && LoadOverlayFont();
    StartTick = TickCountMs();
    int64_t nextRateNs = MonotonicNs() + FrameRatePeriodNs;
    while (HandleEvents()) {
        const int64_t frameStartNs = MonotonicNs();
        // A frame counts in the second it starts in.
        if (frameStartNs >= nextRateNs) {
            ShowFrameRate();
            nextRateNs += FrameRatePeriodNs;
            if (nextRateNs <= frameStartNs) nextRateNs = frameStartNs + FrameRatePeriodNs;
        }
        AdvanceClock();
        DrawScene();
        if (overlay) DrawFpsOverlay(ShownFramesPerSecond, WindowWidth, WindowHeight);
        PresentFrame();
        ++FrameCount;
        if (!WaitUntil(frameStartNs + static_cast<int64_t>(delayUs) * NsPerUs)) break;
    }
}
