#include "icon_args.h"

#include <algorithm>
#include <limits>

const std::string_view IconUsage =
    "Usage: glimmerbox-icon [--seed N] [--time MS] --out FILE\n"
    "\n"
    "Draws one frame of the Glimmerbox scene offscreen and writes it as a Windows\n"
    "icon with two 32x32 images: 8-bit with a median-cut palette, then 24-bit.\n"
    "The same arguments always give the same bytes.\n"
    "\n"
    "  --seed N   plasma seed, 0..4294967295 (default 2)\n"
    "  --time MS  animation time of the frame, 26..2147483647 (default 1800)\n"
    "  --out FILE the icon file to write (required)\n"
    "  --help     print this text and exit\n"
    "\n"
    "Exit status: 0 on success, 2 for bad arguments (nothing written), 1 when\n"
    "rendering or writing fails.\n";

namespace {

// Below this the frame would show the black texture InitScene uploads: the
// first plasma is drawn only once the refresh interval has passed.
constexpr uint32_t MinTimeMs = 26;
constexpr uint32_t MaxTimeMs = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
constexpr uint32_t Uint32Max = std::numeric_limits<uint32_t>::max();

// The quoted form of a value for error messages; built by appending, which
// also keeps GCC 12's -Wrestrict false alarm on "\"" + string away.
std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.push_back('"');
    quoted.append(text);
    quoted.push_back('"');
    return quoted;
}

// Reads plain decimal digits (no sign, no blanks) into value; false when the
// text is empty, holds anything else or lies outside low..high.
bool ReadDecimal(std::string_view text, uint32_t low, uint32_t high, uint32_t& value) {
    if (text.empty()) return false;
    uint64_t total = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        total = total * 10 + static_cast<uint64_t>(c - '0');
        if (total > high) return false;  // also keeps total far from overflowing
    }
    if (total < low) return false;
    value = static_cast<uint32_t>(total);
    return true;
}

// Stores one option's value; false with error set when it does not read.
bool ReadOption(std::string_view option, std::string_view value, IconArgs& args, std::string& error) {
    const std::string quoted = Quoted(value);
    if (option == "--seed") {
        if (ReadDecimal(value, 0, Uint32Max, args.seed)) return true;
        error = "--seed: expected an integer from 0 to 4294967295, got " + quoted;
        return false;
    }
    if (option == "--time") {
        uint32_t time = 0;
        if (ReadDecimal(value, MinTimeMs, MaxTimeMs, time)) {
            args.timeMs = static_cast<int32_t>(time);
            return true;
        }
        error = "--time: expected an integer from 26 to 2147483647, got " + quoted;
        return false;
    }
    // --out
    if (value.empty()) {
        error = "--out: expected a file name, got \"\"";
        return false;
    }
    args.outPath = std::string(value);
    return true;
}

}  // namespace

bool ParseIconArgs(const std::vector<std::string>& arguments, IconArgs& args, std::string& error) {
    constexpr std::string_view Options[] = {"--seed", "--time", "--out"};
    IconArgs parsed;
    std::vector<std::string_view> seen;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view option = arguments[i];
        if (option == "--help") {
            args = IconArgs{};
            args.help = true;
            return true;
        }
        if (std::find(std::begin(Options), std::end(Options), option) == std::end(Options)) {
            error = (option.empty() ? Quoted(option) : std::string(option)) + ": unknown argument (see --help)";
            return false;
        }
        if (std::find(seen.begin(), seen.end(), option) != seen.end()) {
            error = std::string(option) + ": given more than once";
            return false;
        }
        seen.push_back(option);
        if (i + 1 == arguments.size()) {
            error = std::string(option) + ": missing value";
            return false;
        }
        if (!ReadOption(option, arguments[++i], parsed, error)) return false;
    }
    if (parsed.outPath.empty()) {
        error = "--out: required, the icon file to write";
        return false;
    }
    args = std::move(parsed);
    return true;
}
