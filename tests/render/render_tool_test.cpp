// End-to-end runs of the built glimmerbox-render: what it writes, that it
// repeats itself exactly, and that bad arguments write nothing.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "test_files.h"

namespace {

constexpr const char* RenderTool = GLIMMERBOX_RENDER_PATH;

class RenderToolRun : public ::testing::Test {
protected:
    void SetUp() override {
        scratch = MakeScratchDirectory();
        ASSERT_FALSE(scratch.empty());
    }
    void TearDown() override { RemoveTree(scratch); }

    // A fresh output directory under the scratch directory.
    std::string OutputDirectory(const std::string& name) {
        const std::string dir = scratch + "/" + name;
        std::filesystem::create_directory(dir);
        return dir;
    }
    // Runs the tool with arguments; keeps its output in Stdout and Stderr
    // and returns its exit code.
    int Run(const std::string& arguments) {
        const std::string out = scratch + "/stdout";
        const std::string err = scratch + "/stderr";
        const std::string command =
            std::string("'") + RenderTool + "' " + arguments + " >'" + out + "' 2>'" + err + "'";
        const int status = std::system(command.c_str());
        Stdout = ReadText(out);
        Stderr = ReadText(err);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    static std::string ReadText(const std::string& path) {
        std::ifstream file(path);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    // The decoded frame, failing the test when it does not decode.
    static DecodedPng Decode(const std::string& path) {
        DecodedPng image;
        EXPECT_TRUE(DecodePng(ReadFileBytes(path), image)) << path;
        return image;
    }

    std::string scratch;
    std::string Stdout;
    std::string Stderr;
};

// True when every byte of the image is zero.
bool AllBlack(const DecodedPng& image) {
    for (const uint8_t byte : image.rgb)
        if (byte != 0) return false;
    return !image.rgb.empty();
}

TEST_F(RenderToolRun, SameArgumentsGiveTheSameBytesAndAnotherSeedOtherBytes) {
    const std::string a = OutputDirectory("a");
    const std::string b = OutputDirectory("b");
    const std::string c = OutputDirectory("c");
    const std::string common = " --size 64x48 --at 2000,100 --out ";
    ASSERT_EQ(Run("--seed 7" + common + a), 0) << Stderr;
    ASSERT_EQ(Run("--seed 7" + common + b), 0) << Stderr;
    ASSERT_EQ(Run("--seed 8" + common + c), 0) << Stderr;
    const std::vector<std::string> names = {"frame-000100.png", "frame-002000.png"};
    for (const std::string& dir : {a, b, c}) EXPECT_EQ(ListDirectory(dir), names);
    for (const std::string& name : names) {
        const std::vector<uint8_t> first = ReadFileBytes(a + "/" + name);
        ASSERT_FALSE(first.empty());
        EXPECT_EQ(first, ReadFileBytes(b + "/" + name)) << name;
        EXPECT_NE(first, ReadFileBytes(c + "/" + name)) << name;
    }
}

TEST_F(RenderToolRun, TwoSecondsInShowsAColouredCubeOnBlack) {
    constexpr int32_t Width = 64;
    constexpr int32_t Height = 48;
    const std::string out = OutputDirectory("out");
    ASSERT_EQ(Run("--size 64x48 --at 2000 --out " + out), 0) << Stderr;
    const DecodedPng image = Decode(out + "/frame-002000.png");
    ASSERT_EQ(image.width, Width);
    ASSERT_EQ(image.height, Height);
    const auto pixel = [&image](int32_t x, int32_t y) {
        return &image.rgb[static_cast<std::size_t>((y * Width + x) * 3)];
    };
    // The cube never reaches the corners.
    for (const int32_t x0 : {0, Width - 4})
        for (const int32_t y0 : {0, Height - 4})
            for (int32_t y = y0; y < y0 + 4; ++y)
                for (int32_t x = x0; x < x0 + 4; ++x) {
                    const uint8_t* p = pixel(x, y);
                    EXPECT_EQ(p[0] + p[1] + p[2], 0) << x << "," << y;
                }
    // Around the centre it always covers: plasma, lit and not grey.
    int coloured = 0;
    for (int32_t y = Height / 2 - 4; y < Height / 2 + 4; ++y)
        for (int32_t x = Width / 2 - 4; x < Width / 2 + 4; ++x) {
            const uint8_t* p = pixel(x, y);
            EXPECT_GT(p[0] + p[1] + p[2], 0) << x << "," << y;
            if (p[0] != p[1] || p[1] != p[2]) ++coloured;
        }
    EXPECT_GT(coloured, 32);
}

TEST_F(RenderToolRun, EachTimeShowsTheLastFrameAtOrBeforeIt) {
    // One frame every 10 ms: 1000 and 1009 show the frame of 1000, 1010 the
    // next. Times out of order and an extra time 0 change nothing.
    const std::string all = OutputDirectory("all");
    const std::string one = OutputDirectory("one");
    ASSERT_EQ(Run("--size 48x32 --frame-ms 10 --at 1010,1000,0,1009 --out " + all), 0) << Stderr;
    ASSERT_EQ(Run("--size 48x32 --frame-ms 10 --at 1009 --out " + one), 0) << Stderr;
    const std::vector<uint8_t> at1009 = ReadFileBytes(all + "/frame-001009.png");
    ASSERT_FALSE(at1009.empty());
    EXPECT_EQ(ReadFileBytes(all + "/frame-001000.png"), at1009);
    EXPECT_EQ(ReadFileBytes(one + "/frame-001009.png"), at1009);
    EXPECT_NE(ReadFileBytes(all + "/frame-001010.png"), at1009);
}

TEST_F(RenderToolRun, BeforeTheFirstRefreshThePictureIsBlack) {
    // With 60 ms frames: 0 and 59 come before any frame and show the black
    // texture InitScene uploads; the frame at 60 has the clock at 30 ms,
    // past the 25 ms refresh, so the plasma appears.
    const std::string out = OutputDirectory("out");
    ASSERT_EQ(Run("--size 32x24 --frame-ms 60 --at 0,59,60 --out " + out), 0) << Stderr;
    EXPECT_TRUE(AllBlack(Decode(out + "/frame-000000.png")));
    EXPECT_TRUE(AllBlack(Decode(out + "/frame-000059.png")));
    const DecodedPng at60 = Decode(out + "/frame-000060.png");
    EXPECT_EQ(at60.width, 32);
    EXPECT_FALSE(AllBlack(at60));
}

TEST_F(RenderToolRun, BadArgumentsExitWith2AndWriteNothing) {
    const std::string out = OutputDirectory("out");
    const struct {
        std::string arguments;
        std::string named;
    } cases[] = {
        {"--bogus --at 1", "--bogus"},
        {"--size 64x --at 1", "--size"},
        {"--frame-ms 0 --at 1", "--frame-ms"},
        {"--at 5,5", "--at"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.arguments + " --out " + out), 2) << c.arguments;
        EXPECT_EQ(Stderr.rfind("glimmerbox-render: " + c.named + ": ", 0), 0u) << Stderr;
        EXPECT_EQ(std::count(Stderr.begin(), Stderr.end(), '\n'), 1) << Stderr;
        EXPECT_TRUE(Stdout.empty());
        EXPECT_TRUE(ListDirectory(out).empty()) << c.arguments;
    }
}

TEST_F(RenderToolRun, FileProblemsFailWithoutPartialFiles) {
    // A missing output directory is not created.
    const std::string missing = scratch + "/missing";
    EXPECT_EQ(Run("--size 16x16 --at 1 --out " + missing), 1);
    EXPECT_EQ(Stderr.rfind("glimmerbox-render: --out: ", 0), 0u) << Stderr;
    EXPECT_FALSE(std::filesystem::exists(missing));

    // A directory in the way of the second file: the first stays complete
    // and no temporary is left.
    const std::string out = OutputDirectory("out");
    std::filesystem::create_directory(out + "/frame-000200.png");
    EXPECT_EQ(Run("--size 16x16 --at 100,200 --out " + out), 1);
    EXPECT_NE(Stderr.find("frame-000200.png"), std::string::npos) << Stderr;
    EXPECT_EQ(ListDirectory(out), (std::vector<std::string>{"frame-000100.png", "frame-000200.png"}));
    EXPECT_EQ(Decode(out + "/frame-000100.png").width, 16);
}

TEST_F(RenderToolRun, HelpPrintsUsageAndExitsZero) {
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_EQ(Stdout.rfind("Usage: glimmerbox-render", 0), 0u) << Stdout;
    EXPECT_TRUE(Stderr.empty());
}

}  // namespace
