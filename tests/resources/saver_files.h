// The two Windows builds whose compiled resources the tests check, and
// loading one of them with its resource tree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pe_resources.h"

struct SaverBuild {
    const char* preset;  // the CMake preset that makes the file
    const char* path;
    uint16_t machine;  // COFF machine type the file must have
    uint16_t optionalMagic;
};

inline constexpr uint16_t MachineI386 = 0x14C;
inline constexpr uint16_t MachineAmd64 = 0x8664;

inline constexpr SaverBuild SaverBuilds[] = {
    {"win32", GLIMMERBOX_WIN32_SCR, MachineI386, OptionalMagicPe32},
    {"win64", GLIMMERBOX_WIN64_SCR, MachineAmd64, OptionalMagicPe32Plus},
};

struct LoadedSaver {
    std::vector<uint8_t> file;
    PeImage image;
};

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
// Loads the build's file and its resources. On failure returns false with
// error saying what went wrong, and for a missing file which preset to build.
bool LoadSaver(const SaverBuild& build, LoadedSaver& saver, std::string& error);
