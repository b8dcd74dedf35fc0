// The command line of glimmerbox-render, read into plain data. No I/O here:
// main.cpp prints the error or the usage.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Largest width or height accepted; bigger buffers are rarely wanted and
// quickly exhaust memory (8192 x 8192 is already 256 MB of RGBA).
inline constexpr int32_t MaxRenderSide = 8192;

struct RenderArgs {
    uint32_t seed = 1;             // what the seed clock reads during InitScene
    uint32_t frameMs = 4;          // raw milliseconds between frames, > 0
    int32_t width = 640;           // 1..MaxRenderSide
    int32_t height = 480;          // 1..MaxRenderSide
    std::vector<uint32_t> times;   // raw times to write, ascending and distinct
    std::string outDir = ".";      // existing directory for the PNG files
    bool help = false;             // --help: print RenderUsage, nothing else
};

// The --help text, ending in a newline.
extern const std::string_view RenderUsage;

// Reads the arguments after the program name into args. On failure returns
// false and sets error to one line that starts with the offending option.
bool ParseRenderArgs(int argc, char* const* argv, RenderArgs& args, std::string& error);
