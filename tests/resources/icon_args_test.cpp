// The glimmerbox-icon command line: defaults, values, limits and refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "icon_args.h"

namespace {

// Parses arguments, expecting success.
IconArgs Parsed(const std::vector<std::string>& arguments) {
    IconArgs args;
    std::string error;
    EXPECT_TRUE(ParseIconArgs(arguments, args, error)) << error;
    return args;
}

// Parses arguments, expecting failure, and returns the error.
std::string Refused(const std::vector<std::string>& arguments) {
    IconArgs args;
    args.outPath = "untouched";
    std::string error;
    EXPECT_FALSE(ParseIconArgs(arguments, args, error));
    EXPECT_EQ(args.outPath, "untouched") << "a refused command line must leave args alone";
    return error;
}

TEST(IconArguments, OutAloneTakesTheDefaults) {
    const IconArgs args = Parsed({"--out", "x.ico"});
    EXPECT_EQ(args.outPath, "x.ico");
    EXPECT_EQ(args.seed, DefaultIconSeed);
    EXPECT_EQ(args.timeMs, DefaultIconTimeMs);
    EXPECT_FALSE(args.help);
    // The usage names the same defaults.
    EXPECT_NE(IconUsage.find("(default " + std::to_string(DefaultIconSeed) + ")"), std::string_view::npos);
    EXPECT_NE(IconUsage.find("(default " + std::to_string(DefaultIconTimeMs) + ")"), std::string_view::npos);
}

TEST(IconArguments, ReadsSeedAndTimeInAnyOrderUpToTheirLimits) {
    IconArgs args = Parsed({"--time", "26", "--out", "a", "--seed", "4294967295"});
    EXPECT_EQ(args.seed, 4294967295u);
    EXPECT_EQ(args.timeMs, 26);
    args = Parsed({"--seed", "0", "--time", "2147483647", "--out", "b"});
    EXPECT_EQ(args.seed, 0u);
    EXPECT_EQ(args.timeMs, 2147483647);
}

TEST(IconArguments, RefusesBadValuesAndNamesTheOption) {
    EXPECT_EQ(Refused({"--out", "a", "--time", "25"}).rfind("--time:", 0), 0u) << "before the first plasma";
    EXPECT_EQ(Refused({"--out", "a", "--time", "2147483648"}).rfind("--time:", 0), 0u);
    EXPECT_EQ(Refused({"--out", "a", "--time", "-5"}).rfind("--time:", 0), 0u);
    EXPECT_EQ(Refused({"--out", "a", "--seed", "4294967296"}).rfind("--seed:", 0), 0u);
    EXPECT_EQ(Refused({"--out", "a", "--seed", "1x"}).rfind("--seed:", 0), 0u);
    EXPECT_EQ(Refused({"--out", "a", "--seed", ""}).rfind("--seed:", 0), 0u);
    EXPECT_EQ(Refused({"--out", ""}).rfind("--out:", 0), 0u);
}

TEST(IconArguments, RefusesMissingRepeatedAndUnknownArguments) {
    EXPECT_EQ(Refused({}).rfind("--out:", 0), 0u);
    EXPECT_EQ(Refused({"--seed", "3"}).rfind("--out:", 0), 0u);
    EXPECT_EQ(Refused({"--out"}), "--out: missing value");
    EXPECT_EQ(Refused({"--out", "a", "--out", "b"}), "--out: given more than once");
    EXPECT_EQ(Refused({"--size", "64"}).rfind("--size:", 0), 0u);
    EXPECT_EQ(Refused({"icon.ico"}).rfind("icon.ico:", 0), 0u);
}

TEST(IconArguments, HelpWinsOverEverythingElse) {
    EXPECT_TRUE(Parsed({"--help"}).help);
    EXPECT_TRUE(Parsed({"--help", "--bogus"}).help);
    const IconArgs args = Parsed({"--seed", "5", "--help"});
    EXPECT_TRUE(args.help);
    EXPECT_EQ(args.seed, DefaultIconSeed) << "help returns plain defaults";
}

}  // namespace
