#include "render_args.h"

#include <algorithm>
#include <limits>

#include "option_reading.h"

const std::string_view RenderUsage =
    "Usage: glimmerbox-render --at T1,T2,... [--seed N] [--frame-ms F] [--size WxH] [--out DIR]\n"
    "\n"
    "Renders the Glimmerbox scene offscreen, simulating the saver's frame loop, and\n"
    "writes one PNG per requested time as DIR/frame-TTTTTT.png (time zero-padded).\n"
    "\n"
    "  --at T1,T2,...  raw times in ms to write, in any order, distinct, 0..4294967295;\n"
    "                  each file shows the last frame drawn at or before its time\n"
    "                  (before the first frame: the scene as InitScene left it, drawn\n"
    "                  once at animation time 0, which is all black)\n"
    "  --seed N        plasma seed, 0..4294967295 (default 1)\n"
    "  --frame-ms F    one frame every F ms of raw time, 1..4294967295 (default 4)\n"
    "  --size WxH      window size, each side 1..8192 (default 640x480)\n"
    "  --out DIR       existing directory to write into (default: current directory)\n"
    "  --help          print this text and exit\n"
    "\n"
    "Exit status: 0 on success, 2 for bad arguments (nothing written), 1 when\n"
    "rendering or writing fails.\n";

namespace {

constexpr uint32_t Uint32Max = std::numeric_limits<uint32_t>::max();

// Reads "WxH" with both sides in 1..MaxRenderSide.
bool ReadSize(std::string_view text, RenderArgs& args, std::string& error) {
    const std::size_t cross = text.find('x');
    uint32_t width = 0;
    uint32_t height = 0;
    if (cross == std::string_view::npos || !ReadDecimal(text.substr(0, cross), 0, Uint32Max, width) ||
        !ReadDecimal(text.substr(cross + 1), 0, Uint32Max, height)) {
        error = "--size: expected WxH, got " + Quoted(text);
        return false;
    }
    if (width < 1 || height < 1 || width > MaxRenderSide || height > MaxRenderSide) {
        error = "--size: each side must be 1 to " + std::to_string(MaxRenderSide) + ", got " + Quoted(text);
        return false;
    }
    args.width = static_cast<int32_t>(width);
    args.height = static_cast<int32_t>(height);
    return true;
}

// Reads the comma-separated times, sorts them and rejects repeats.
bool ReadTimes(std::string_view text, RenderArgs& args, std::string& error) {
    std::vector<uint32_t> times;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view item = text.substr(start, comma - start);
        uint32_t time = 0;
        if (!item.empty() && item[0] == '-') {
            error = "--at: times cannot be negative, got " + Quoted(item);
            return false;
        }
        if (!ReadDecimal(item, 0, Uint32Max, time)) {
            error = "--at: expected comma-separated times in ms (0 to 4294967295), got " + Quoted(text);
            return false;
        }
        times.push_back(time);
        if (comma == text.size()) break;
        start = comma + 1;
    }
    std::sort(times.begin(), times.end());
    const auto repeat = std::adjacent_find(times.begin(), times.end());
    if (repeat != times.end()) {
        error = "--at: time " + std::to_string(*repeat) + " is given more than once";
        return false;
    }
    args.times = std::move(times);
    return true;
}

// Option codes.
enum : int { Seed = 's', FrameMs = 'f', Size = 'z', At = 'a', Out = 'o' };

// Stores one option's value; false with error set when it does not read.
bool ReadOption(int code, std::string_view value, RenderArgs& args, std::string& error) {
    switch (code) {
    case Seed:
        if (ReadDecimal(value, 0, Uint32Max, args.seed)) return true;
        error = "--seed: expected an integer from 0 to 4294967295, got " + Quoted(value);
        return false;
    case FrameMs:
        if (ReadDecimal(value, 1, Uint32Max, args.frameMs)) return true;
        error = "--frame-ms: expected an integer from 1 to 4294967295, got " + Quoted(value);
        return false;
    case Size:
        return ReadSize(value, args, error);
    case At:
        return ReadTimes(value, args, error);
    default:  // Out
        if (value.empty()) {
            error = "--out: expected a directory, got \"\"";
            return false;
        }
        args.outDir = std::string(value);
        return true;
    }
}

}  // namespace

bool ParseRenderArgs(int argc, char* const* argv, RenderArgs& args, std::string& error) {
    static constexpr option Options[] = {{"seed", required_argument, nullptr, Seed},
                                         {"frame-ms", required_argument, nullptr, FrameMs},
                                         {"size", required_argument, nullptr, Size},
                                         {"at", required_argument, nullptr, At},
                                         {"out", required_argument, nullptr, Out},
                                         {"help", no_argument, nullptr, HelpOption},
                                         {}};
    RenderArgs parsed;
    const auto read = [&parsed](int code, std::string_view value, std::string& message) {
        return ReadOption(code, value, parsed, message);
    };
    if (!ReadOptions(argc, argv, Options, read, parsed.help, error)) return false;
    if (parsed.help) {
        args = RenderArgs{};
        args.help = true;
        return true;
    }
    if (parsed.times.empty()) {
        error = "--at: required, the raw times in ms to write (e.g. --at 0,500)";
        return false;
    }
    args = std::move(parsed);
    return true;
}
