#include "linux/stop_signals.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t Stopping;
volatile sig_atomic_t Waiting;  // the main thread is in the wait, or about to enter it with the signals held
pthread_t MainThread;
sigset_t StopSet;

// Outside the wait the main thread may be blocked in a display call that
// never returns, so the process ends here; _exit is safe in a handler and
// the server frees our windows and buffers. The GL driver's threads may take a
// signal too: they hand it to the main thread, which alone decides.
void OnStopSignal(int signal) {
    if (!pthread_equal(pthread_self(), MainThread)) {
        pthread_kill(MainThread, signal);
        return;
    }
    if (Waiting == 0) _exit(0);
    Stopping = 1;
}

}  // namespace

void CatchStopSignals() {
    MainThread = pthread_self();
    sigemptyset(&StopSet);
    sigaddset(&StopSet, SIGTERM);
    sigaddset(&StopSet, SIGINT);
    struct sigaction action{};
    action.sa_handler = OnStopSignal;
    action.sa_mask = StopSet;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool StopRequested() { return Stopping != 0; }

bool WaitForInput(int fd, int64_t timeoutNs, bool orWritable) {
    // The signals are held from before the flag is read until ppoll lets
    // them through, so one that comes in between is taken inside ppoll
    // instead of being lost until the timeout.
    sigset_t openMask;
    pthread_sigmask(SIG_BLOCK, &StopSet, &openMask);
    Waiting = 1;
    if (Stopping == 0) {
        pollfd input{fd, static_cast<short>(orWritable ? POLLIN | POLLOUT : POLLIN), 0};
        const timespec timeout{static_cast<time_t>(timeoutNs / 1'000'000'000),
                               static_cast<long>(timeoutNs % 1'000'000'000)};
        ppoll(&input, 1, timeoutNs < 0 ? nullptr : &timeout, &openMask);
    }
    Waiting = 0;
    pthread_sigmask(SIG_SETMASK, &openMask, nullptr);
    return Stopping == 0;
}
