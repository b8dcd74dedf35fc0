#include "png_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <png.h>
#include <unistd.h>

namespace {

constexpr int RgbChannels = 3;
constexpr int64_t MaxStride = std::numeric_limits<png_int_32>::max();

// "path: reason" for the current errno.
std::string SystemError(const std::string& path, int number) { return path + ": " + std::strerror(number); }

// Writes all of bytes to fd, retrying short writes and interruptions.
bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

bool EncodeRgbPng(const uint8_t* rgb, int32_t width, int32_t height, std::vector<uint8_t>& png,
                  std::string& error) {
    // Rows must be addressable with libpng's 32-bit signed stride.
    if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * RgbChannels > MaxStride) {
        error = "cannot encode a " + std::to_string(width) + "x" + std::to_string(height) + " image";
        return false;
    }
    // The simplified API keeps libpng's longjmp inside libpng and writes only
    // IHDR, sRGB, IDAT and IEND: nothing that varies between runs.
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    // An upper bound, so one pass of compression is enough.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    png.resize(size);
    const auto stride = static_cast<png_int_32>(width * RgbChannels);
    if (png_image_write_to_memory(&image, png.data(), &size, 0, rgb, stride, nullptr) == 0) {
        error = std::string("PNG encoding failed: ") + image.message;
        png_image_free(&image);
        png.clear();
        return false;
    }
    png.resize(size);
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
    // Same directory, so the rename cannot cross file systems; the process id
    // keeps two concurrent runs off each other's temporaries.
    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = SystemError(temporary, errno);
        return false;
    }
    bool ok = WriteAll(fd, bytes);
    int failure = ok ? 0 : errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        error = SystemError(temporary, failure);
        unlink(temporary.c_str());
        return false;
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        error = SystemError(path, errno);
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool WriteRgbPngFile(const std::string& path, const uint8_t* rgb, int32_t width, int32_t height,
                     std::string& error) {
    std::vector<uint8_t> png;
    if (!EncodeRgbPng(rgb, width, height, png, error)) {
        error = path + ": " + error;
        return false;
    }
    return WriteFileAtomically(path, png, error);
}
