// The glimmerbox-icon command line: defaults, limits and our refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "icon_args.h"

namespace {

// ParseIconArgs over the arguments after a program name; the error, or ""
// when they were accepted.
std::string Parse(std::vector<std::string> arguments, IconArgs& args) {
    arguments.insert(arguments.begin(), "glimmerbox-icon");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::string error;
    const bool accepted = ParseIconArgs(static_cast<int>(arguments.size()), argv.data(), args, error);
    EXPECT_EQ(accepted, error.empty()) << error;
    return error;
}

TEST(IconArguments, ReadsDefaultsAndBothEndsOfEachRange) {
    IconArgs args;
    ASSERT_EQ(Parse({"-out", "x.ico"}, args), "");
    EXPECT_EQ(args.outPath, "x.ico");
    EXPECT_EQ(args.seed, DefaultIconSeed);
    EXPECT_EQ(args.timeMs, DefaultIconTimeMs);
    // The usage names the same defaults.
    EXPECT_NE(IconUsage.find("(default " + std::to_string(DefaultIconSeed) + ")"), std::string_view::npos);
    EXPECT_NE(IconUsage.find("(default " + std::to_string(DefaultIconTimeMs) + ")"), std::string_view::npos);
    ASSERT_EQ(Parse({"--time", "26", "--out", "a", "--seed", "4294967295"}, args), "");
    EXPECT_EQ(args.seed, 4294967295u);
    EXPECT_EQ(args.timeMs, 26);
    ASSERT_EQ(Parse({"--seed", "0", "--time", "2147483647", "--out", "b"}, args), "");
    EXPECT_EQ(args.seed, 0u);
    EXPECT_EQ(args.timeMs, 2147483647);
}

TEST(IconArguments, RefusesBadValuesAndNamesTheOption) {
    const struct {
        std::vector<std::string> arguments;
        std::string start;
    } cases[] = {
        {{"--out", "a", "--time", "25"}, "--time: "},  // before the first plasma
        {{"--out", "a", "--time", "2147483648"}, "--time: "},
        {{"--out", "a", "--seed", "4294967296"}, "--seed: "},
        {{"--out", ""}, "--out: "},
        {{"--seed", "3"}, "--out: required"},
    };
    for (const auto& c : cases) {
        IconArgs args;
        EXPECT_EQ(Parse(c.arguments, args).rfind(c.start, 0), 0u) << c.start;
    }
}

}  // namespace
