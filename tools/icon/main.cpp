// glimmerbox-icon: draws the saver's cube offscreen and writes the program's
// icon, an 8-bit and a 24-bit 32x32 image of it.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "ico_file.h"
#include "icon_args.h"
#include "icon_picture.h"
#include "median_cut.h"
#include "render_cube.h"

namespace {

constexpr const char* ProgramName = "glimmerbox-icon";
constexpr int ExitFailure = 1;
constexpr int ExitBadArguments = 2;

// Prints "glimmerbox-icon: text" on standard error.
void ReportError(const std::string& text) { std::fprintf(stderr, "%s: %s\n", ProgramName, text.c_str()); }

// Writes bytes beside path and renames them into place, so path never holds
// a partial icon; false with nothing left behind on failure.
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string temporary = path + ".partial";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (file) {
            std::error_code status;
            std::filesystem::rename(temporary, path, status);
            if (!status) return true;
        }
    }
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
}

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
    const IconPalette palette = BuildPalette(picture);
    const std::vector<uint8_t> ico = EncodeIco(picture, palette, IndexPicture(picture, palette));
    if (!WriteWholeFile(args.outPath, ico)) {
        ReportError("cannot write \"" + args.outPath + "\"");
        return ExitFailure;
    }
    return 0;
}
