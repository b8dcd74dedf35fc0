// A small reader of the resources in a Windows PE file (PE32 or PE32+):
// headers, section table, and the type / name / language resource tree down
// to each data entry's place in the file. Portable, no Windows headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "le_bytes.h"

inline constexpr uint16_t RtIcon = 3;
inline constexpr uint16_t RtDialog = 5;
inline constexpr uint16_t RtGroupIcon = 14;
inline constexpr uint16_t RtVersion = 16;
inline constexpr uint16_t RtManifest = 24;

inline constexpr uint16_t OptionalMagicPe32 = 0x10B;
inline constexpr uint16_t OptionalMagicPe32Plus = 0x20B;

// A resource type or name: a 16-bit id or a UTF-16 string.
struct ResourceName {
    bool isString = false;
    uint16_t id = 0;
    std::u16string text;
};

// One leaf of the tree; its bytes are file[fileOffset, fileOffset + size).
struct PeResource {
    ResourceName type;
    ResourceName name;
    uint16_t language = 0;
    uint32_t codePage = 0;
    std::size_t fileOffset = 0;
    uint32_t size = 0;
};

struct PeImage {
    uint16_t machine = 0;
    uint16_t optionalMagic = 0;  // OptionalMagicPe32 or OptionalMagicPe32Plus
    std::vector<PeResource> resources;
};

// More leaves than this means a tree that shares subdirectories to blow up.
inline constexpr std::size_t MaxPeResources = 65536;

// Reads the headers and the whole resource tree; a file without a resource
// directory gives no resources. False with error set when any structure lies
// outside the file, its section or the resource directory, or breaks the
// three-level shape.
bool ReadPeImage(Bytes file, PeImage& image, std::string& error);
// A numbered name.
ResourceName IdName(uint16_t id);
// A string name.
ResourceName StringName(std::u16string text);
// The name as a message shows it: 16 or "SETTINGS".
std::string DescribeName(const ResourceName& name);
// The resource of that type, name and language, or null.
const PeResource* FindResource(const PeImage& image, uint16_t type, const ResourceName& name, uint16_t language);
// Every resource of that type, in tree order.
std::vector<const PeResource*> ResourcesOfType(const PeImage& image, uint16_t type);
// A resource's bytes inside the file it was read from.
Bytes ResourceBytes(Bytes file, const PeResource& resource);
