#include "x11/stop_signals.h"

#include <poll.h>
#include <signal.h>

namespace {

volatile sig_atomic_t Stopping;
sigset_t WaitMask;  // the mask while waiting: the stop signals let through

// The handler of both signals: the loop sees the flag after its wait.
void NoteStop(int) { Stopping = 1; }

}  // namespace

void HoldStopSignals() {
    struct sigaction action{};
    action.sa_handler = NoteStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    // Threads started later (the GL driver's) inherit the held mask, so the
    // signals reach this thread, and only inside ppoll.
    sigprocmask(SIG_BLOCK, &stops, &WaitMask);
    sigdelset(&WaitMask, SIGTERM);
    sigdelset(&WaitMask, SIGINT);
}

bool StopRequested() { return Stopping != 0; }

void WaitForInput(int fd, int64_t timeoutNs) {
    pollfd input{fd, POLLIN, 0};
    const timespec timeout{static_cast<time_t>(timeoutNs / 1'000'000'000), static_cast<long>(timeoutNs % 1'000'000'000)};
    ppoll(&input, 1, &timeout, &WaitMask);
}
