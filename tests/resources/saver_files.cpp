#include "saver_files.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

bool LoadSaver(const SaverBuild& build, LoadedSaver& saver, std::string& error) {
    std::error_code status;
    if (!std::filesystem::is_regular_file(build.path, status)) {
        error = std::string(build.path) + " does not exist: build the " + build.preset +
                " preset first (cmake --preset " + build.preset + " && cmake --build --preset " + build.preset + ")";
        return false;
    }
    if (!ReadWholeFile(build.path, saver.file)) {
        error = std::string("cannot read ") + build.path;
        return false;
    }
    if (!ReadPeImage(saver.file, saver.image, error)) {
        error = std::string(build.path) + ": " + error;
        return false;
    }
    return true;
}
