// Reading the command line: argument splitting, integers in both widths and
// the choice of mode, as plain data.
#include <gtest/gtest.h>

#include <string>

#include "host/arguments.h"
#include "host/mode_choice.h"

namespace {

const char* SingleByte(const char* p) { return *p != '\0' ? p + 1 : p; }

// A double-byte code page: 0x81..0x9F and 0xE0..0xFC lead two-byte characters.
const char* DoubleByte(const char* p) {
    const auto byte = static_cast<unsigned char>(*p);
    if (byte == 0) return p;
    const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    return p + (lead && p[1] != '\0' ? 2 : 1);
}

std::string Argument(const char* line, int n, CharNextFunction next = SingleByte) {
    char out[64];
    SplitArgument(line, n, next, out, sizeof out);
    return out;
}

TEST(CommandLine, SplitsOnBlanksOutsideQuotes) {
    const struct {
        const char* line;
        int n;
        const char* expected;
    } cases[] = {
        {"saver.scr /p 700", 1, "/p"},
        {"saver.scr /p 700", 2, "700"},
        {"saver.scr /p 700", 3, ""},
        {"saver.scr", 1, ""},
        {"", 1, ""},
        {"saver.scr /p:700", 1, "/p:700"},
        {"saver.scr /p:700", 2, ""},
        {"\"C:\\Program Files\\saver.scr\" /s", 1, "/s"},
        {"\"C:\\Program Files\\saver.scr\"   \"/p\" \"700\"", 2, "700"},
        {"saver.scr \"/p\" \"700\"", 1, "/p"},
        {"saver.scr \"a\"b", 1, "ab"},
        {"saver.scr a\"b c\"d e", 1, "ab cd"},
        {"saver.scr a\"b c\"d e", 2, "e"},
        {"saver.scr \"open ended", 1, "open ended"},
        {"saver.scr \"\" /c", 1, "/c"},   // an empty pair where an argument would begin
        {"saver.scr \"\"   /c", 1, "/c"},
        {"s \"\" \"\" /c", 1, "/c"},   // every such pair, again after each skip
        {"s \"\"\"\" /c", 1, "/c"},
        {"\"\"\"\" e", 0, "e"},   // 0: the program name
        {"\"\"\"\" e", 1, ""},
        {"saver.scr x\"\"y", 1, "xy"},   // inside an argument it is just two quotes
        {"saver.scr\t\x01/a\x1f 5", 1, "/a"},  // every byte 1..32 is a blank
        {"saver.scr\t\x01/a\x1f 5", 2, "5"},
        {"  saver.scr   /c  ", 1, "/c"},
    };
    for (const auto& c : cases) EXPECT_EQ(Argument(c.line, c.n), c.expected) << c.line << " #" << c.n;
}

TEST(CommandLine, NeverSplitsADoubleByteCharacter) {
    // 0x81 0x22: the trail byte is a quote byte, but it belongs to the
    // character, so it neither opens a quote nor ends the argument.
    EXPECT_EQ(Argument("saver.scr /\x81\x22x y", 1, DoubleByte), "/\x81\x22x");
    EXPECT_EQ(Argument("saver.scr /\x81\x22x y", 2, DoubleByte), "y");
    // The blank is the trail byte, so it does not end the argument.
    EXPECT_EQ(Argument("saver.scr \x81 z", 1, DoubleByte), "\x81 z");
    EXPECT_EQ(Argument("saver.scr \x81 z", 2, DoubleByte), "");
    // Read byte by byte, the same line splits differently.
    EXPECT_EQ(Argument("saver.scr /\x81\x22x y", 1, SingleByte), "/\x81x y");
}

TEST(CommandLine, LongArgumentsAreCutButMeasured) {
    char small[4];
    EXPECT_EQ(SplitArgument("saver.scr abcdefgh", 1, SingleByte, small, sizeof small), 8u);
    EXPECT_STREQ(small, "abc");
}

TEST(ArgumentInteger, ReadsDecimalAndHexadecimal) {
    const struct {
        const char* text;
        int32_t width32;
        int64_t width64;
    } cases[] = {
        {"700", 700, 700},
        {"", 0, 0},
        {"abc", 0, 0},
        {"12ab", 12, 12},
        {"$1F", 31, 31},
        {"x1f", 31, 31},
        {"X1F", 31, 31},
        {"0x1F", 31, 31},
        {"0X1f", 31, 31},
        {"  42", 42, 42},
        {"\t42", 0, 0},  // only code 32 is skipped
        {"+42", 42, 42},
        {"-12", -12, -12},
        {"-12x", 12, -12},  // 32-bit: the sign counts only when the digits reach the end
        {"-$10", -16, -16},
        {"-", 0, 0},
        {"2147483647", 2147483647, 2147483647},
        {"2147483648", static_cast<int32_t>(2147483648u), 2147483648},
        {"4294967295", 429496729, 4294967295},  // 32-bit: the last digit is over the bound
        {"$FFFFFFFF", -1, 0xFFFFFFFF},
        {"$123456789", 0x12345678, 0x123456789},
        {"9223372036854775807", 922337203, 9223372036854775807},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ArgumentInteger32(c.text), c.width32) << c.text;
        EXPECT_EQ(ArgumentInteger64(c.text), c.width64) << c.text;
    }
    // At the 64-bit bound and past it: no overflow, the value wraps.
    EXPECT_EQ(ArgumentInteger64("92233720368547758099"), static_cast<int64_t>(9223372036854775809ull));
    EXPECT_EQ(ArgumentInteger64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(ArgumentInteger64("$FFFFFFFFFFFFFFFFF"), -1);
}

TEST(ModeChoice, OnlyTheSecondCharacterCounts) {
    const struct {
        const char* argument;
        SaverMode mode;
    } cases[] = {
        {"", SaverMode::FullScreen},      {"/", SaverMode::FullScreen},     {"c", SaverMode::FullScreen},
        {"/s", SaverMode::FullScreen},    {"-s", SaverMode::FullScreen},    {"/S", SaverMode::FullScreen},
        {"/C", SaverMode::FullScreen},    {"/A", SaverMode::FullScreen},    {"/P", SaverMode::FullScreen},
        {"/c", SaverMode::Settings},      {"-c", SaverMode::Settings},      {"xc", SaverMode::Settings},
        {"/c:700", SaverMode::Settings},  {"/a", SaverMode::Password},      {"/p", SaverMode::Preview},
        {"/preview", SaverMode::Preview}, {"ca", SaverMode::Password},      {"pc", SaverMode::Settings},
    };
    for (const auto& c : cases) EXPECT_EQ(ChooseMode(c.argument), c.mode) << c.argument;
}

}  // namespace
