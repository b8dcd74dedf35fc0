#include "icon_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include <png.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The picture as a 32x32 RGBA PNG; the background fully transparent.
bool WritePicturePng(const IconPicture& picture, const std::string& path) {
    std::vector<uint8_t> rgba;
    for (std::size_t i = 0; i < picture.colour.size(); ++i) {
        const Rgb& colour = picture.colour[i];
        rgba.insert(rgba.end(), {colour.r, colour.g, colour.b, static_cast<uint8_t>(picture.opaque[i] ? 255 : 0)});
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = image.height = IconSide;
    image.format = PNG_FORMAT_RGBA;
    const bool written = png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return written;
}

// Runs a program from PATH and waits for it; false with error set unless it
// exits with 0.
bool Run(std::vector<std::string> arguments, std::string& error) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        error = "cannot run " + arguments[0] + " (see tools/setup-debian.sh)";
        return false;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    error = arguments[0] + " failed";
    return false;
}

// The saver's icon group records 24 bits per pixel for both images, the
// 8-bit one included, and windres copies the file's directory into it.
bool RecordTwentyFourBits(const std::string& path) {
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    constexpr char TwentyFour[2] = {24, 0};
    for (const std::streamoff entry : {0, 1}) file.seekp(6 + 16 * entry + 6).write(TwentyFour, 2);
    file.close();
    return static_cast<bool>(file);
}

}  // namespace

bool WriteIcon(const IconPicture& picture, const std::string& path, std::string& error) {
    std::error_code status;
    std::string scratch = (std::filesystem::temp_directory_path(status) / "glimmerbox-icon-XXXXXX").string();
    if (status || mkdtemp(scratch.data()) == nullptr) {
        error = "cannot make a temporary directory";
        return false;
    }
    const std::string full = scratch + "/24.png";
    const std::string quantised = scratch + "/8.png";
    const std::string partial = path + ".partial";
    // One thread, so libimagequant adds up its colour sums in one order.
    setenv("OMP_NUM_THREADS", "1", 1);
    bool made = WritePicturePng(picture, full);
    if (!made) error = "cannot write " + full;
    // No dithering: each pixel takes its nearest palette colour. Speed 1
    // searches hardest for the palette.
    made = made && Run({"pngquant", "--nofs", "--speed", "1", "--strip", "--output", quantised, "256", "--", full},
                       error);
    // -b sets each image's least bit depth: a palette image, then true colour.
    made = made && Run({"icotool", "-c", "-o", partial, "-b", "8", quantised, "-b", "24", full}, error);
    if (made && !RecordTwentyFourBits(partial)) {
        made = false;
        error = "cannot patch " + partial;
    }
    if (made) {
        std::filesystem::rename(partial, path, status);
        if (status) error = "cannot write \"" + path + "\"";
    }
    made = made && !status;
    std::filesystem::remove(partial, status);
    std::filesystem::remove_all(scratch, status);
    return made;
}
