// Small hand-made PE files for testing the resource reader: DOS header, PE
// header, one .rsrc section at an RVA unlike its file offset, and a resource
// tree laid out the way linkers lay it out.
#pragma once

#include <cstdint>
#include <vector>

#include "pe_resources.h"

struct TestResource {
    ResourceName type;
    ResourceName name;
    uint16_t language = 0;
    std::vector<uint8_t> data;
};

struct TestPe {
    std::vector<uint8_t> bytes;
    std::size_t coffHeader = 0;       // file offset of the COFF header
    std::size_t optionalHeader = 0;   // file offset of the optional header
    std::size_t resourceDataDir = 0;  // file offset of the resource (RVA, size) pair
    std::size_t sectionHeader = 0;    // file offset of the .rsrc section header
    std::size_t resourceRoot = 0;     // file offset of the resource directory
    std::size_t firstDataEntry = 0;   // file offset of the first data entry
    uint32_t resourceRva = 0;
};

// The section's RVA, deliberately far from its file offset.
inline constexpr uint32_t TestResourceRva = 0x3000;

// A PE32 (or PE32+) file holding the resources. Directories list string
// names before ids; the last resource's data ends the file.
TestPe BuildTestPe(bool pe32Plus, const std::vector<TestResource>& resources);
// Overwrites 16 bits at offset, low byte first.
void PatchU16(std::vector<uint8_t>& bytes, std::size_t offset, uint16_t value);
// Overwrites 32 bits at offset, low byte first.
void PatchU32(std::vector<uint8_t>& bytes, std::size_t offset, uint32_t value);
