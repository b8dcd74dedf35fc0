// glimmerbox-render: draws the scene offscreen the way the saver's frame loop
// would and writes the frames at the requested raw times as PNG files.
#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "frame_rows.h"
#include "loop/clock.h"
#include "native_services.h"
#include "offscreen_gl.h"
#include "png_file.h"
#include "render_args.h"
#include "scene/scene.h"

namespace {

constexpr const char* ProgramName = "glimmerbox-render";
constexpr int ExitFailure = 1;
constexpr int ExitBadArguments = 2;

// Prints "glimmerbox-render: text" on standard error.
void ReportError(const std::string& text) { std::fprintf(stderr, "%s: %s\n", ProgramName, text.c_str()); }

// The output file for a raw time: frame-000500.png.
std::string FrameFileName(uint32_t time) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06u.png", static_cast<unsigned>(time));
    return name;
}

// Reads back the frame just drawn and writes it under the name for time.
bool WriteFrame(const RenderArgs& args, uint32_t time) {
    const GLenum glError = glGetError();
    if (glError != GL_NO_ERROR) {
        ReportError("OpenGL error " + std::to_string(glError) + " while drawing the frame for " +
                    std::to_string(time) + " ms");
        return false;
    }
    const std::vector<uint8_t> rgb = RgbTopDownFromGl(ReadOffscreenPixels(), args.width, args.height);
    if (rgb.empty()) {
        ReportError("could not read back the frame for " + std::to_string(time) + " ms");
        return false;
    }
    const std::string path = (std::filesystem::path(args.outDir) / FrameFileName(time)).string();
    std::string error;
    if (!WriteRgbPngFile(path, rgb.data(), args.width, args.height, error)) {
        ReportError(error);
        return false;
    }
    return true;
}

// Runs the frame loop over the current context up to the last requested
// time, writing each requested frame; false after the first failure.
bool RunFrames(const RenderArgs& args) {
    NativeSeedClock = args.seed;
    ResizeScene(args.width, args.height);
    InitScene();
    StartTick = 0;
    ElapsedMs = PrevElapsedMs = LastTextureUpdateMs = 0;

    // Times before the first frame show the scene as InitScene left it, drawn
    // once at animation time 0. That draw leaves the plasma alone (nothing is
    // more than 25 ms past 0), so the frames after it are unaffected.
    if (args.times.front() < args.frameMs) DrawScene();

    // 64 bits: the frame after the last one may lie past 2^32 ms.
    uint64_t nextFrame = args.frameMs;
    for (const uint32_t time : args.times) {
        while (nextFrame <= time) {
            StepClock(static_cast<uint32_t>(nextFrame));
            DrawScene();
            nextFrame += args.frameMs;
        }
        if (!WriteFrame(args, time)) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    RenderArgs args;
    std::string error;
    if (!ParseRenderArgs(argc, argv, args, error)) {
        ReportError(error);
        return ExitBadArguments;
    }
    if (args.help) {
        std::fwrite(RenderUsage.data(), 1, RenderUsage.size(), stdout);
        return 0;
    }
    // The directory must exist: creating it would turn a typo into a silent
    // new directory somewhere unexpected.
    std::error_code status;
    if (!std::filesystem::is_directory(args.outDir, status)) {
        ReportError("--out: \"" + args.outDir + "\" is not an existing directory");
        return ExitFailure;
    }
    if (!MakeOffscreenContext(args.width, args.height)) {
        ReportError("cannot make a " + std::to_string(args.width) + "x" + std::to_string(args.height) +
                    " offscreen OpenGL context");
        return ExitFailure;
    }
    const bool ok = RunFrames(args);
    DestroyOffscreenContext();
    return ok ? 0 : ExitFailure;
}
