// Runs of the built glimmerbox-icon: the committed res/glimmerbox.ico must be
// exactly what it makes, the same arguments must give the same bytes, and
// the picture must be a cube on a transparent background.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "icon_bytes.h"

namespace {

constexpr const char* IconTool = GLIMMERBOX_ICON_TOOL;

// Runs body with a fresh temporary directory and removes the directory
// afterwards, also when an assertion in body returned early.
template <typename Body>
void InScratchDirectory(Body body) {
    std::string pattern = (std::filesystem::temp_directory_path() / "glimmerbox-icon-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr) << "cannot make a temporary directory";
    body(pattern);
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
}

// Runs the tool with arguments, its output thrown away; the exit code, or
// -1 when it did not exit normally.
int RunIconTool(const std::string& arguments) {
    const std::string command = std::string("'") + IconTool + "' " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The file's bytes, failing the test when it cannot be read.
std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << "cannot read " << path;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The first offset where two byte strings differ, for messages.
std::size_t FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    return at;
}

TEST(IconTool, CommittedIconIsExactlyWhatTheToolMakes) {
    InScratchDirectory([](const std::string& scratch) {
        const std::string made = scratch + "/glimmerbox.ico";
        ASSERT_EQ(RunIconTool("--out '" + made + "'"), 0);
        const std::vector<uint8_t> committed = FileBytes(GLIMMERBOX_ICON_FILE);
        const std::vector<uint8_t> fresh = FileBytes(made);
        ASSERT_FALSE(fresh.empty());
        EXPECT_TRUE(committed == fresh) << "res/glimmerbox.ico is out of date: " << committed.size()
                                        << " bytes against " << fresh.size() << ", first difference at byte "
                                        << FirstDifference(committed, fresh)
                                        << "; regenerate it with glimmerbox-icon --out res/glimmerbox.ico";
    });
}

TEST(IconTool, SameArgumentsSameBytesOtherArgumentsOtherBytes) {
    InScratchDirectory([](const std::string& scratch) {
        const std::string a = scratch + "/a.ico";
        const std::string b = scratch + "/b.ico";
        const std::string c = scratch + "/c.ico";
        const std::string d = scratch + "/d.ico";
        ASSERT_EQ(RunIconTool("--seed 9 --time 5000 --out '" + a + "'"), 0);
        ASSERT_EQ(RunIconTool("--out '" + b + "' --time 5000 --seed 9"), 0);
        ASSERT_EQ(RunIconTool("--seed 10 --time 5000 --out '" + c + "'"), 0);
        ASSERT_EQ(RunIconTool("--seed 9 --time 5100 --out '" + d + "'"), 0);
        const std::vector<uint8_t> first = FileBytes(a);
        EXPECT_EQ(FileBytes(b), first);
        EXPECT_NE(FileBytes(c), first) << "another seed, another plasma";
        EXPECT_NE(FileBytes(d), first) << "another time, another turn of the cube";
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch), {}), 4) << "no stray files";
    });
}

TEST(IconTool, BadArgumentsWriteNothing) {
    InScratchDirectory([](const std::string& scratch) {
        const std::string out = scratch + "/x.ico";
        EXPECT_EQ(RunIconTool("--time 10 --out '" + out + "'"), 2);
        EXPECT_EQ(RunIconTool("--out"), 2);
        EXPECT_EQ(RunIconTool(""), 2);
        EXPECT_FALSE(std::filesystem::exists(out));
        EXPECT_EQ(RunIconTool("--out '" + scratch + "/missing/x.ico'"), 1) << "unwritable place";
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch), {}), 0);
        EXPECT_EQ(RunIconTool("--help"), 0);
    });
}

// The committed icon's 24-bit picture: a solid shape with transparent
// corners, and an 8-bit copy that matches it closely.
TEST(IconTool, CommittedIconShowsASolidShapeOnATransparentBackground) {
    const std::vector<uint8_t> ico = FileBytes(GLIMMERBOX_ICON_FILE);
    std::vector<IconDirEntry> entries;
    std::string error;
    ASSERT_TRUE(ReadIcoDirectory(ico, entries, error)) << error;
    ASSERT_EQ(entries.size(), 2u);
    ASSERT_TRUE(InRange(ico.size(), entries[0].location, entries[0].bytesInRes));
    ASSERT_TRUE(InRange(ico.size(), entries[1].location, entries[1].bytesInRes));
    ASSERT_EQ(entries[0].bytesInRes, BitmapHeaderSize + 1024 + 32 * 32 + 4 * 32);
    ASSERT_EQ(entries[1].bytesInRes, BitmapHeaderSize + 96 * 32 + 4 * 32);

    const std::size_t palette = entries[0].location + BitmapHeaderSize;
    const std::size_t xor8 = palette + 1024;
    const std::size_t and8 = xor8 + 32 * 32;
    const std::size_t xor24 = entries[1].location + BitmapHeaderSize;
    const std::size_t and24 = xor24 + 96 * 32;
    int opaque = 0;
    double error8 = 0;
    for (std::size_t row = 0; row < 32; ++row) {
        for (std::size_t column = 0; column < 32; ++column) {
            const uint8_t bit = static_cast<uint8_t>(0x80 >> (column % 8));
            const bool masked = (ico[and24 + row * 4 + column / 8] & bit) != 0;
            ASSERT_EQ((ico[and8 + row * 4 + column / 8] & bit) != 0, masked) << "the two masks differ";
            const std::size_t pixel = xor24 + row * 96 + column * 3;
            const std::size_t entry = palette + 4u * ico[xor8 + row * 32 + column];
            if (masked) {
                ASSERT_EQ(ico[pixel] | ico[pixel + 1] | ico[pixel + 2], 0) << "transparent pixels are black";
                ASSERT_EQ(ico[entry] | ico[entry + 1] | ico[entry + 2], 0) << "transparent pixels are black";
                continue;
            }
            ++opaque;
            double squared = 0;
            for (std::size_t c = 0; c < 3; ++c) squared += std::pow(ico[pixel + c] - ico[entry + c], 2);
            error8 += std::sqrt(squared);
        }
    }
    // The cube covers a good part of the square but not the corners.
    EXPECT_GT(opaque, 32 * 32 / 3);
    EXPECT_LT(opaque, 32 * 32 * 9 / 10);
    for (const std::size_t corner : {std::size_t{0}, std::size_t{31}})
        for (const std::size_t row : {std::size_t{0}, std::size_t{31}})
            EXPECT_NE(ico[and24 + row * 4 + corner / 8] & (0x80 >> (corner % 8)), 0) << "corner not transparent";
    // An average error of a few levels: the palette was made for this picture.
    EXPECT_LT(error8 / opaque, 6.0);
}

}  // namespace
