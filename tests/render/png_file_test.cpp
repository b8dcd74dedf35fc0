// PNG encoding and the atomic write that puts a file in place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <png.h>

#include "png_file.h"

namespace {

struct DecodedPng {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;  // top row first
};

// The names in a directory, sorted.
std::vector<std::string> ListDirectory(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A whole file's bytes; empty when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Decodes PNG bytes to 8-bit RGB with libpng's reader; false when it rejects them.
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

// The chunk types of a PNG stream in order; empty when the signature is wrong.
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

// A width x height RGB gradient in which no two texels are alike.
std::vector<uint8_t> Pattern(int32_t width, int32_t height) {
    std::vector<uint8_t> rgb;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            rgb.push_back(static_cast<uint8_t>(x * 40));
            rgb.push_back(static_cast<uint8_t>(y * 60));
            rgb.push_back(static_cast<uint8_t>(255 - x * 7 - y * 11));
        }
    return rgb;
}

class PngFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = (std::filesystem::temp_directory_path() / "glimmerbox-png-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(dir.data()), nullptr);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string dir;
};

TEST(PngEncoding, DecodesToTheSamePixelsAndRepeatsByteForByte) {
    const std::vector<uint8_t> rgb = Pattern(5, 3);
    std::vector<uint8_t> png;
    std::string error;
    ASSERT_TRUE(EncodeRgbPng(rgb.data(), 5, 3, png, error)) << error;
    DecodedPng image;
    ASSERT_TRUE(DecodePng(png, image));
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(image.rgb, rgb);

    std::vector<uint8_t> again;
    ASSERT_TRUE(EncodeRgbPng(rgb.data(), 5, 3, again, error)) << error;
    EXPECT_EQ(again, png);
    // Nothing that could differ between runs, such as a time or a text.
    const std::vector<std::string> types = PngChunkTypes(png);
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.front(), "IHDR");
    for (const char* varying : {"tIME", "tEXt", "zTXt", "iTXt"})
        EXPECT_EQ(std::count(types.begin(), types.end(), varying), 0) << varying;
    EXPECT_EQ(types.back(), "IEND");
}

TEST_F(PngFile, WritesAndReplacesFilesLeavingNoTemporaries) {
    const std::string path = dir + "/frame-000100.png";
    const std::vector<uint8_t> first = {1, 2, 3};
    const std::vector<uint8_t> second(70000, 9);  // larger, so a leftover tail would show
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, first, error)) << error;
    EXPECT_EQ(ReadFileBytes(path), first);
    ASSERT_TRUE(WriteFileAtomically(path, second, error)) << error;
    EXPECT_EQ(ReadFileBytes(path), second);
    EXPECT_EQ(ListDirectory(dir), std::vector<std::string>{"frame-000100.png"});
}

TEST_F(PngFile, FailuresNameThePathAndLeaveNothingBehind) {
    std::string error;
    const std::vector<uint8_t> bytes = {1, 2, 3};

    // The directory is missing: the temporary cannot even be made.
    const std::string missing = dir + "/missing/frame.png";
    EXPECT_FALSE(WriteFileAtomically(missing, bytes, error));
    EXPECT_NE(error.find(dir + "/missing/"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(dir + "/missing"));

    // The final name is taken by a directory: the rename fails after the
    // temporary was written, which must then go.
    const std::string blocked = dir + "/frame-002000.png";
    std::filesystem::create_directory(blocked);
    error.clear();
    EXPECT_FALSE(WriteFileAtomically(blocked, bytes, error));
    EXPECT_NE(error.find(blocked), std::string::npos) << error;
    EXPECT_EQ(ListDirectory(dir), std::vector<std::string>{"frame-002000.png"});
    EXPECT_TRUE(std::filesystem::is_directory(blocked));

    const std::vector<uint8_t> rgb = Pattern(2, 2);
    EXPECT_FALSE(WriteRgbPngFile(dir + "/frame.png", rgb.data(), 0, 0, error));
    EXPECT_NE(error.find(dir + "/frame.png"), std::string::npos) << error;
    EXPECT_EQ(ListDirectory(dir), std::vector<std::string>{"frame-002000.png"});
}

}  // namespace
