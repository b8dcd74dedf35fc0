#include "test_files.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <png.h>

std::string MakeScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "glimmerbox-render-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

void RemoveTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::vector<std::string> ListDirectory(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool DecodePng(const std::vector<uint8_t>& png, DecodedPng& image) {
    png_image reader;
    std::memset(&reader, 0, sizeof reader);
    reader.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&reader, png.data(), png.size()) == 0) return false;
    reader.format = PNG_FORMAT_RGB;
    image.width = static_cast<int32_t>(reader.width);
    image.height = static_cast<int32_t>(reader.height);
    image.rgb.assign(PNG_IMAGE_SIZE(reader), 0);
    return png_image_finish_read(&reader, nullptr, image.rgb.data(), 0, nullptr) != 0;
}

std::vector<std::string> PngChunkTypes(const std::vector<uint8_t>& png) {
    constexpr uint8_t Signature[8] = {137, 'P', 'N', 'G', 13, 10, 26, 10};
    if (png.size() < 8 || !std::equal(std::begin(Signature), std::end(Signature), png.begin())) return {};
    std::vector<std::string> types;
    std::size_t at = 8;
    while (at + 8 <= png.size()) {
        const uint32_t length = (uint32_t{png[at]} << 24) | (uint32_t{png[at + 1]} << 16) |
                                (uint32_t{png[at + 2]} << 8) | uint32_t{png[at + 3]};
        types.emplace_back(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                           png.begin() + static_cast<std::ptrdiff_t>(at + 8));
        at += 12 + std::size_t{length};  // length, type, data, CRC
    }
    return types;
}
