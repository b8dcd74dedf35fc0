// The command line of glimmerbox-icon, read into plain data. No I/O here:
// main.cpp prints the error or the usage.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The picture in res/glimmerbox.ico: a seed whose first plasma is a vivid
// violet, at a time when the cube shows its top and two sides.
inline constexpr uint32_t DefaultIconSeed = 2;
inline constexpr int32_t DefaultIconTimeMs = 1800;
// Side of the square render the icon is cut from.
inline constexpr int32_t IconRenderSide = 512;

struct IconArgs {
    uint32_t seed = DefaultIconSeed;     // what the seed clock reads in InitScene
    int32_t timeMs = DefaultIconTimeMs;  // animation time of the one frame, 26..2147483647
    std::string outPath;                 // the .ico file to write
    bool help = false;                   // --help: print IconUsage, nothing else
};

// The --help text, ending in a newline.
extern const std::string_view IconUsage;

// Reads the arguments after the program name into args. On failure returns
// false and sets error to one line that starts with the offending argument.
bool ParseIconArgs(int argc, char* const* argv, IconArgs& args, std::string& error);
