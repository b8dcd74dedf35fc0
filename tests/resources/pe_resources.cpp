#include "pe_resources.h"

#include <algorithm>
#include <utility>

namespace {

constexpr uint16_t DosMagic = 0x5A4D;     // "MZ"
constexpr uint32_t PeSignature = 0x4550;  // "PE\0\0"
constexpr std::size_t DosLfanewOffset = 0x3C;
constexpr std::size_t CoffHeaderBytes = 20;
constexpr std::size_t SectionHeaderBytes = 40;
constexpr std::size_t ResourceDirectoryIndex = 2;
constexpr std::size_t DirectoryHeaderBytes = 16;
constexpr std::size_t DirectoryEntryBytes = 8;
constexpr std::size_t DataEntryBytes = 16;
constexpr uint32_t HighBit = 0x80000000u;
constexpr int TreeLevels = 3;  // type, name, language

struct Section {
    uint32_t virtualAddress = 0;
    uint32_t virtualSize = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
};

// What the tree walk needs: the file, its sections and the resource
// directory's place.
struct TreeContext {
    Bytes file;
    std::vector<Section> sections;
    uint32_t rootRva = 0;
    uint32_t rootSize = 0;
    PeImage* image = nullptr;
};

// The file offset of length bytes at rva, when one section's raw data holds
// them all and the file does too.
// Takes 64 bits so that an offset added to the directory's RVA cannot wrap.
bool MapRva(const TreeContext& context, uint64_t rva, uint32_t length, std::size_t& offset) {
    for (const Section& section : context.sections) {
        if (rva < section.virtualAddress) continue;
        const uint64_t into = rva - section.virtualAddress;
        // Past the virtual size the bytes are not part of the image, past the
        // raw size they are not in the file.
        const uint32_t mapped =
            section.virtualSize == 0 ? section.rawSize : std::min(section.virtualSize, section.rawSize);
        if (into > mapped || length > mapped - into) continue;
        const std::size_t at = static_cast<std::size_t>(section.rawOffset) + static_cast<std::size_t>(into);
        if (!InRange(context.file.size(), at, length)) return false;
        offset = at;
        return true;
    }
    return false;
}

// The file offset of length bytes at offset into the resource directory,
// which must hold them.
bool MapTreeOffset(const TreeContext& context, uint32_t treeOffset, uint32_t length, std::size_t& offset) {
    if (!InRange(context.rootSize, treeOffset, length)) return false;
    return MapRva(context, static_cast<uint64_t>(context.rootRva) + treeOffset, length, offset);
}

// Reads a directory entry's name: an id, or a counted UTF-16 string.
bool ReadEntryName(const TreeContext& context, uint32_t field, ResourceName& name, std::string& error) {
    name = ResourceName{};
    if ((field & HighBit) == 0) {
        if (field > 0xFFFF) {
            error = "resource id " + std::to_string(field) + " does not fit 16 bits";
            return false;
        }
        name.id = static_cast<uint16_t>(field);
        return true;
    }
    const uint32_t stringOffset = field & ~HighBit;
    std::size_t at = 0;
    uint16_t length = 0;
    if (!MapTreeOffset(context, stringOffset, 2, at) || !ReadU16(context.file, at, length) ||
        !MapTreeOffset(context, stringOffset + 2, static_cast<uint32_t>(length) * 2, at)) {
        error = "resource name string at " + std::to_string(stringOffset) + " lies outside the resource directory";
        return false;
    }
    name.isString = true;
    for (uint16_t i = 0; i < length; ++i) {
        uint16_t unit = 0;
        if (!ReadU16(context.file, at + 2u * i, unit)) return false;
        name.text.push_back(static_cast<char16_t>(unit));
    }
    return true;
}

// Reads a data entry and records the leaf with its path.
bool ReadDataEntry(const TreeContext& context, uint32_t entryOffset, const ResourceName path[2], uint16_t language,
                   std::string& error) {
    std::size_t at = 0;
    uint32_t dataRva = 0;
    uint32_t size = 0;
    uint32_t codePage = 0;
    if (!MapTreeOffset(context, entryOffset, DataEntryBytes, at) || !ReadU32(context.file, at, dataRva) ||
        !ReadU32(context.file, at + 4, size) || !ReadU32(context.file, at + 8, codePage)) {
        error = "resource data entry at " + std::to_string(entryOffset) + " lies outside the resource directory";
        return false;
    }
    std::size_t dataAt = 0;
    if (!MapRva(context, dataRva, size, dataAt)) {
        error = "resource data of " + std::to_string(size) + " bytes at RVA " + std::to_string(dataRva) +
                " is not inside a section's raw data";
        return false;
    }
    if (context.image->resources.size() >= MaxPeResources) {
        error = "more than " + std::to_string(MaxPeResources) + " resources";
        return false;
    }
    context.image->resources.push_back(PeResource{path[0], path[1], language, codePage, dataAt, size});
    return true;
}

// Reads the directory at offset into the tree on the given level (0 type,
// 1 name, 2 language) and everything below it. The depth is fixed, so a
// directory that points back at itself ends with an error, not a loop.
bool ReadDirectory(const TreeContext& context, uint32_t directoryOffset, int level, ResourceName path[2],
                   std::string& error) {
    std::size_t at = 0;
    uint16_t named = 0;
    uint16_t numbered = 0;
    if (!MapTreeOffset(context, directoryOffset, DirectoryHeaderBytes, at) || !ReadU16(context.file, at + 12, named) ||
        !ReadU16(context.file, at + 14, numbered)) {
        error = "resource directory at " + std::to_string(directoryOffset) + " lies outside the resource directory";
        return false;
    }
    const uint32_t count = static_cast<uint32_t>(named) + numbered;
    if (!MapTreeOffset(context, directoryOffset + DirectoryHeaderBytes, count * DirectoryEntryBytes, at)) {
        error = "the " + std::to_string(count) + " entries of the resource directory at " +
                std::to_string(directoryOffset) + " run past the resource directory";
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t nameField = 0;
        uint32_t target = 0;
        if (!ReadU32(context.file, at + i * DirectoryEntryBytes, nameField) ||
            !ReadU32(context.file, at + i * DirectoryEntryBytes + 4, target)) {
            error = "resource directory entry outside the file";
            return false;
        }
        ResourceName name;
        if (!ReadEntryName(context, nameField, name, error)) return false;
        const bool isDirectory = (target & HighBit) != 0;
        if (isDirectory != (level < TreeLevels - 1)) {
            error = std::string("resource tree level ") + std::to_string(level + 1) + " holds a " +
                    (isDirectory ? "subdirectory" : "data entry") + " where the other was expected";
            return false;
        }
        if (!isDirectory) {
            if (name.isString) {
                error = "a language entry is named by a string";
                return false;
            }
            if (!ReadDataEntry(context, target, path, name.id, error)) return false;
            continue;
        }
        path[level] = std::move(name);
        if (!ReadDirectory(context, target & ~HighBit, level + 1, path, error)) return false;
    }
    return true;
}

// Reads the section table that follows the optional header.
bool ReadSections(Bytes file, std::size_t tableOffset, uint16_t count, std::vector<Section>& sections,
                  std::string& error) {
    if (!InRange(file.size(), tableOffset, static_cast<std::size_t>(count) * SectionHeaderBytes)) {
        error = "the section table runs past the end of the file";
        return false;
    }
    sections.clear();
    for (uint16_t i = 0; i < count; ++i) {
        const std::size_t at = tableOffset + static_cast<std::size_t>(i) * SectionHeaderBytes;
        Section section;
        if (!ReadU32(file, at + 8, section.virtualSize) || !ReadU32(file, at + 12, section.virtualAddress) ||
            !ReadU32(file, at + 16, section.rawSize) || !ReadU32(file, at + 20, section.rawOffset)) {
            error = "section header outside the file";
            return false;
        }
        sections.push_back(section);
    }
    return true;
}

}  // namespace

bool ReadPeImage(Bytes file, PeImage& image, std::string& error) {
    image = PeImage{};
    uint16_t dosMagic = 0;
    uint32_t peOffset = 0;
    if (!ReadU16(file, 0, dosMagic) || dosMagic != DosMagic || !ReadU32(file, DosLfanewOffset, peOffset)) {
        error = "not an MZ executable";
        return false;
    }
    uint32_t signature = 0;
    if (!ReadU32(file, peOffset, signature) || signature != PeSignature) {
        error = "no PE signature at offset " + std::to_string(peOffset);
        return false;
    }
    const std::size_t coff = static_cast<std::size_t>(peOffset) + 4;
    uint16_t sectionCount = 0;
    uint16_t optionalSize = 0;
    if (!ReadU16(file, coff, image.machine) || !ReadU16(file, coff + 2, sectionCount) ||
        !ReadU16(file, coff + 16, optionalSize)) {
        error = "the COFF header runs past the end of the file";
        return false;
    }
    const std::size_t optional = coff + CoffHeaderBytes;
    if (!InRange(file.size(), optional, optionalSize) || !ReadU16(file, optional, image.optionalMagic)) {
        error = "the optional header runs past the end of the file";
        return false;
    }
    // Where the data directory count and the directories sit differs by 16
    // bytes between the two formats: PE32+ has 64-bit image base and stacks.
    std::size_t countAt = 0;
    if (image.optionalMagic == OptionalMagicPe32) {
        countAt = 92;
    } else if (image.optionalMagic == OptionalMagicPe32Plus) {
        countAt = 108;
    } else {
        error = "unknown optional header magic " + std::to_string(image.optionalMagic);
        return false;
    }
    const Bytes optionalHeader = file.subspan(optional, optionalSize);
    uint32_t directoryCount = 0;
    if (!ReadU32(optionalHeader, countAt, directoryCount)) {
        error = "the optional header is too short for its data directories";
        return false;
    }
    TreeContext context;
    context.file = file;
    context.image = &image;
    if (!ReadSections(file, optional + optionalSize, sectionCount, context.sections, error)) return false;
    if (directoryCount <= ResourceDirectoryIndex) return true;
    const std::size_t resourceEntry = countAt + 4 + ResourceDirectoryIndex * 8;
    if (!ReadU32(optionalHeader, resourceEntry, context.rootRva) ||
        !ReadU32(optionalHeader, resourceEntry + 4, context.rootSize)) {
        error = "the resource data directory lies outside the optional header";
        return false;
    }
    if (context.rootRva == 0 && context.rootSize == 0) return true;
    std::size_t rootAt = 0;
    if (!MapRva(context, context.rootRva, context.rootSize, rootAt)) {
        error = "the resource directory is not inside a section's raw data";
        return false;
    }
    ResourceName path[2];
    return ReadDirectory(context, 0, 0, path, error);
}

ResourceName IdName(uint16_t id) { return ResourceName{false, id, {}}; }

ResourceName StringName(std::u16string text) { return ResourceName{true, 0, std::move(text)}; }

std::string DescribeName(const ResourceName& name) {
    return name.isString ? "\"" + Narrow(name.text) + "\"" : std::to_string(name.id);
}

const PeResource* FindResource(const PeImage& image, uint16_t type, const ResourceName& name, uint16_t language) {
    for (const PeResource& resource : image.resources) {
        if (resource.type.isString || resource.type.id != type || resource.language != language) continue;
        if (resource.name.isString != name.isString) continue;
        if (name.isString ? resource.name.text == name.text : resource.name.id == name.id) return &resource;
    }
    return nullptr;
}

std::vector<const PeResource*> ResourcesOfType(const PeImage& image, uint16_t type) {
    std::vector<const PeResource*> found;
    for (const PeResource& resource : image.resources)
        if (!resource.type.isString && resource.type.id == type) found.push_back(&resource);
    return found;
}

Bytes ResourceBytes(Bytes file, const PeResource& resource) {
    if (!InRange(file.size(), resource.fileOffset, resource.size)) return {};
    return file.subspan(resource.fileOffset, resource.size);
}
