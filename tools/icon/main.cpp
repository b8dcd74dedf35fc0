// glimmerbox-icon: draws the saver's cube offscreen and writes the program's
// icon, an 8-bit and a 24-bit 32x32 image of it.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "icon_args.h"
#include "icon_file.h"
#include "icon_picture.h"
#include "render_cube.h"

namespace {

constexpr const char* ProgramName = "glimmerbox-icon";
constexpr int ExitFailure = 1;
constexpr int ExitBadArguments = 2;

// Prints "glimmerbox-icon: text" on standard error.
void ReportError(const std::string& text) { std::fprintf(stderr, "%s: %s\n", ProgramName, text.c_str()); }

}  // namespace

int main(int argc, char** argv) {
    IconArgs args;
    std::string error;
    if (!ParseIconArgs(argc, argv, args, error)) {
        ReportError(error);
        return ExitBadArguments;
    }
    if (args.help) {
        std::fwrite(IconUsage.data(), 1, IconUsage.size(), stdout);
        return 0;
    }
    const std::vector<uint8_t> rgba = RenderCube(args.seed, args.timeMs, IconRenderSide);
    if (rgba.empty()) {
        ReportError("cannot draw the scene on a " + std::to_string(IconRenderSide) + "x" +
                    std::to_string(IconRenderSide) + " offscreen OpenGL context");
        return ExitFailure;
    }
    IconPicture picture;
    if (!PictureFromRender(rgba, IconRenderSide, IconRenderSide, picture)) {
        ReportError("the frame shows no cube to make an icon of");
        return ExitFailure;
    }
    if (!WriteIcon(picture, args.outPath, error)) {
        ReportError(error);
        return ExitFailure;
    }
    return 0;
}
