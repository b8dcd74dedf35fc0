// Preview mode seen from the host's side: the child window and how it ends.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "host_window.h"
#include "report.h"
#include "saver_process.h"
#include "scenarios.h"
#include "waiting.h"
#include "window_search.h"

namespace {

constexpr const char* PreviewClass = "GlimmerboxPreviewCls";
constexpr DWORD CaptureWaitMs = 2 * DeadlineMs;
constexpr DWORD DrawingMs = 300;

// Polls for the saver's child of host, handling the host's messages; the
// child counts once its creation is complete (its visible bit is set last);
// at the deadline, whatever is there.
HWND WaitForChild(HWND host) {
    const double end = NowMs() + DeadlineMs;
    for (;;) {
        HWND child = FindWindowExA(host, nullptr, PreviewClass, nullptr);
        if (child != nullptr && (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0) return child;
        if (NowMs() > end) return child;
        PumpFor(5);
    }
}

// Child of the saver's process, visible, at (0,0), filling host's client area.
void ExpectChildShape(HWND host, HWND child, DWORD saverPid) {
    DWORD owner = 0;
    GetWindowThreadProcessId(child, &owner);
    Check(owner == saverPid, "the preview child belongs to process %lu, not the saver %lu", owner, saverPid);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    Check((style & (WS_CHILD | WS_VISIBLE)) == (WS_CHILD | WS_VISIBLE), "child style 0x%08lx lacks WS_CHILD|WS_VISIBLE",
          style);
    Check(GetParent(child) == host, "the child's parent is not the host window");
    RECT client{};
    GetClientRect(child, &client);
    Check(client.right == PreviewWidth && client.bottom == PreviewHeight, "child client size %ldx%ld, expected %dx%d",
          client.right, client.bottom, PreviewWidth, PreviewHeight);
    POINT origin{0, 0};
    MapWindowPoints(child, host, &origin, 1);
    Check(origin.x == 0 && origin.y == 0, "child at (%ld,%ld) in the host, expected (0,0)", origin.x, origin.y);
}

// Tells the driving script the child is up, then waits for its capture.
void HandOverForCapture(HWND child, const std::string& readyFile, const std::string& doneFile) {
    const std::string ready = WindowsPath(readyFile), done = WindowsPath(doneFile);
    if (FILE* file = std::fopen(ready.c_str(), "w")) {
        std::fprintf(file, "%llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(child)));
        std::fclose(file);
    }
    const double end = NowMs() + CaptureWaitMs;
    while (GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES && NowMs() < end) PumpFor(20);
    Check(GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES, "the capture step did not finish in %lu ms",
          CaptureWaitMs);
}

// Starts the saver on a new host window; returns the child or null.
HWND StartPreview(const std::string& saver, HWND& host, SaverRun& run) {
    host = CreateHostWindow();
    if (!Check(host != nullptr, "CreateWindowExA for the host failed, error %lu", GetLastError())) return nullptr;
    PumpFor(50);
    const std::string arguments = "/p " + std::to_string(reinterpret_cast<uintptr_t>(host));
    if (!StartSaver(saver, arguments, run)) return nullptr;
    HWND child = WaitForChild(host);
    if (!Check(child != nullptr, "no child of class %s in the host within %lu ms; saver %s", PreviewClass,
               DeadlineMs, SaverState(run).c_str()))
        return nullptr;
    Note("preview child 0x%llx after %.0f ms", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(child)),
         NowMs() - run.startMs);
    ExpectChildShape(host, child, run.info.dwProcessId);
    return child;
}

}  // namespace

void PreviewRun(const Arguments& args) {
    HWND host = nullptr;
    SaverRun run{};
    if (HWND child = StartPreview(args.at(0), host, run)) {
        // Only the child, all along: no window of its own on this or any
        // other monitor.
        HWND shown = nullptr;
        for (const double end = NowMs() + DrawingMs; shown == nullptr && NowMs() < end; PumpFor(5))
            shown = VisibleProcessWindow(run.info.dwProcessId);
        Check(shown == nullptr, "the preview also shows a top-level window of class %s", ClassOf(shown).c_str());
        HandOverForCapture(child, args.at(1), args.at(2));
        Check(SaverRunning(run), "the preview ended before it was asked to");
        PostMessageA(child, WM_CLOSE, 0, 0);
        ExpectCleanExit(run, DeadlineMs, "WM_CLOSE to the preview child");
    }
    FinishSaver(run);
    if (host != nullptr) DestroyWindow(host);
}

void PreviewHostGone(const Arguments& args) {
    HWND host = nullptr;
    SaverRun run{};
    if (StartPreview(args.at(0), host, run) != nullptr) {
        PumpFor(DrawingMs);
        Check(SaverRunning(run), "the preview ended before the host window went");
        DestroyWindow(host);
        host = nullptr;
        ExpectCleanExit(run, DeadlineMs, "the host window was destroyed");
    }
    FinishSaver(run);
    if (host != nullptr) DestroyWindow(host);
}
