// Reading glimmerbox-render's command line: what each option accepts, and for
// each of our refusals an error that names the argument at fault.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render_args.h"

namespace {

// ParseRenderArgs over the arguments after a program name.
bool Parse(std::vector<std::string> arguments, RenderArgs& args, std::string& error) {
    arguments.insert(arguments.begin(), "glimmerbox-render");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    return ParseRenderArgs(static_cast<int>(arguments.size()), argv.data(), args, error);
}

TEST(RenderArgs, ReadsDefaultsEveryOptionAndBothEndsOfEachRange) {
    RenderArgs args;
    std::string error;
    ASSERT_TRUE(Parse({"-at", "500"}, args, error)) << error;
    EXPECT_EQ(args.seed, 1u);
    EXPECT_EQ(args.frameMs, 4u);
    EXPECT_EQ(args.width, 640);
    EXPECT_EQ(args.height, 480);
    EXPECT_EQ(args.outDir, ".");
    EXPECT_FALSE(args.help);

    ASSERT_TRUE(Parse({"--out", "shots", "--at", "2000,0,4294967295,7", "--size", "8192x1", "--frame-ms",
                       "4294967295", "--seed", "4294967295"},
                      args, error))
        << error;
    EXPECT_EQ(args.seed, 4294967295u);
    EXPECT_EQ(args.frameMs, 4294967295u);
    EXPECT_EQ(args.width, 8192);
    EXPECT_EQ(args.height, 1);
    EXPECT_EQ(args.times, (std::vector<uint32_t>{0, 7, 2000, 4294967295u}));
    EXPECT_EQ(args.outDir, "shots");

    ASSERT_TRUE(Parse({"--seed", "0", "--frame-ms", "1", "--size", "1x8192", "--at", "0"}, args, error));
    EXPECT_EQ(args.seed, 0u);
    EXPECT_EQ(args.frameMs, 1u);
    EXPECT_EQ(args.width, 1);
    EXPECT_EQ(args.height, 8192);
}

TEST(RenderArgs, HelpWinsOverWhatFollowsButNotOverAnEarlierMistake) {
    RenderArgs args;
    std::string error;
    ASSERT_TRUE(Parse({"--at", "5", "--help", "--bogus"}, args, error)) << error;
    EXPECT_TRUE(args.help);
    EXPECT_FALSE(Parse({"--seed", "x", "--help"}, args, error));
}

TEST(RenderArgs, RejectsMistakesNamingTheArgument) {
    struct Case {
        std::vector<std::string> arguments;
        std::string start;     // the error begins with this
        std::string fragment;  // and also holds this
    };
    const Case cases[] = {
        {{"--at", "1", ""}, "\"\": ", "unknown option"},
        {{"--at", "1", "--seed"}, "--seed: ", "missing value"},
        {{"--seed", "1", "--seed", "2", "--at", "1"}, "--seed: ", "more than once"},
        {{"--seed", "3"}, "--at: ", "required"},
        {{"--seed", "+1", "--at", "1"}, "--seed: ", "\"+1\""},
        {{"--seed", "4294967296", "--at", "1"}, "--seed: ", "\"4294967296\""},
        {{"--frame-ms", "0", "--at", "1"}, "--frame-ms: ", "\"0\""},
        {{"--size", "64x", "--at", "1"}, "--size: expected WxH, got \"64x\"", ""},
        {{"--size", "64x48x2", "--at", "1"}, "--size: ", "\"64x48x2\""},
        {{"--size", "0x48", "--at", "1"}, "--size: ", "1 to 8192"},
        {{"--size", "64x8193", "--at", "1"}, "--size: ", "1 to 8192"},
        {{"--at", "1,,2"}, "--at: ", "\"1,,2\""},
        {{"--at", "1,2,"}, "--at: ", "\"1,2,\""},
        {{"--at", "5,-3"}, "--at: ", "negative"},
        {{"--at", "5,1,05"}, "--at: ", "5 is given more than once"},
        {{"--at", "1", "--out", ""}, "--out: ", "\"\""},
    };
    for (const Case& c : cases) {
        RenderArgs args;
        std::string error;
        std::string shown;
        for (const std::string& a : c.arguments) shown += "[" + a + "] ";
        EXPECT_FALSE(Parse(c.arguments, args, error)) << shown;
        EXPECT_EQ(error.rfind(c.start, 0), 0u) << shown << "-> " << error;
        EXPECT_NE(error.find(c.fragment), std::string::npos) << shown << "-> " << error;
    }
}

}  // namespace
