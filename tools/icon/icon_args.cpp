#include "icon_args.h"

#include <limits>

#include "option_reading.h"

const std::string_view IconUsage =
    "Usage: glimmerbox-icon [--seed N] [--time MS] --out FILE\n"
    "\n"
    "Draws one frame of the Glimmerbox scene offscreen and writes it as a Windows\n"
    "icon with two 32x32 images: 8-bit (256 colours from pngquant), then 24-bit.\n"
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

// Option codes.
enum : int { Seed = 's', Time = 't', Out = 'o' };

// Stores one option's value; false with error set when it does not read.
bool ReadOption(int code, std::string_view value, IconArgs& args, std::string& error) {
    switch (code) {
    case Seed:
        if (ReadDecimal(value, 0, Uint32Max, args.seed)) return true;
        error = "--seed: expected an integer from 0 to 4294967295, got " + Quoted(value);
        return false;
    case Time: {
        uint32_t time = 0;
        if (!ReadDecimal(value, MinTimeMs, MaxTimeMs, time)) {
            error = "--time: expected an integer from 26 to 2147483647, got " + Quoted(value);
            return false;
        }
        args.timeMs = static_cast<int32_t>(time);
        return true;
    }
    default:  // Out
        if (value.empty()) {
            error = "--out: expected a file name, got \"\"";
            return false;
        }
        args.outPath = std::string(value);
        return true;
    }
}

}  // namespace

bool ParseIconArgs(int argc, char* const* argv, IconArgs& args, std::string& error) {
    static constexpr option Options[] = {{"seed", required_argument, nullptr, Seed},
                                         {"time", required_argument, nullptr, Time},
                                         {"out", required_argument, nullptr, Out},
                                         {"help", no_argument, nullptr, HelpOption},
                                         {}};
    IconArgs parsed;
    const auto read = [&parsed](int code, std::string_view value, std::string& message) {
        return ReadOption(code, value, parsed, message);
    };
    if (!ReadOptions(argc, argv, Options, read, parsed.help, error)) return false;
    if (parsed.help) {
        args = IconArgs{};
        args.help = true;
        return true;
    }
    if (parsed.outPath.empty()) {
        error = "--out: required, the icon file to write";
        return false;
    }
    args = std::move(parsed);
    return true;
}
