#include "test_pe_image.h"

#include <algorithm>

namespace {

constexpr std::size_t PeOffset = 64;
constexpr std::size_t RawDataOffset = 0x200;
constexpr uint32_t HighBit = 0x80000000u;

// The entries of one directory: a name and what it points to.
struct NameGroup {
    ResourceName name;
    std::vector<std::size_t> resources;  // indices into the input, by language
};
struct TypeGroup {
    ResourceName type;
    std::vector<NameGroup> names;
};

// True when two names are the same id or the same string.
bool SameName(const ResourceName& a, const ResourceName& b) {
    return a.isString == b.isString && (a.isString ? a.text == b.text : a.id == b.id);
}

// Groups the resources by type, then name, in first-seen order, with string
// names ahead of ids in each directory as the format requires.
std::vector<TypeGroup> GroupResources(const std::vector<TestResource>& resources) {
    std::vector<TypeGroup> types;
    for (std::size_t i = 0; i < resources.size(); ++i) {
        const TestResource& resource = resources[i];
        auto type = std::find_if(types.begin(), types.end(),
                                 [&](const TypeGroup& group) { return SameName(group.type, resource.type); });
        if (type == types.end()) type = types.insert(types.end(), TypeGroup{resource.type, {}});
        auto name = std::find_if(type->names.begin(), type->names.end(),
                                 [&](const NameGroup& group) { return SameName(group.name, resource.name); });
        if (name == type->names.end()) name = type->names.insert(type->names.end(), NameGroup{resource.name, {}});
        name->resources.push_back(i);
    }
    const auto stringFirst = [](const auto& a, const auto& b) { return a > b; };
    std::stable_sort(types.begin(), types.end(), [&](const TypeGroup& a, const TypeGroup& b) {
        return stringFirst(a.type.isString, b.type.isString);
    });
    for (TypeGroup& type : types)
        std::stable_sort(type.names.begin(), type.names.end(), [&](const NameGroup& a, const NameGroup& b) {
            return stringFirst(a.name.isString, b.name.isString);
        });
    return types;
}

// Writes a directory header with its entry counts at offset.
void PutDirectoryHeader(std::vector<uint8_t>& bytes, std::size_t offset, uint16_t named, uint16_t numbered) {
    PatchU16(bytes, offset + 12, named);
    PatchU16(bytes, offset + 14, numbered);
}

}  // namespace

void PatchU16(std::vector<uint8_t>& bytes, std::size_t offset, uint16_t value) {
    bytes.at(offset) = static_cast<uint8_t>(value & 0xFF);
    bytes.at(offset + 1) = static_cast<uint8_t>(value >> 8);
}

void PatchU32(std::vector<uint8_t>& bytes, std::size_t offset, uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<uint8_t>((value >> (8 * i)) & 0xFF);
}

TestPe BuildTestPe(bool pe32Plus, const std::vector<TestResource>& resources) {
    const std::vector<TypeGroup> types = GroupResources(resources);

    // Layout of the section: directories, data entries, name strings, data.
    std::size_t end = 16 + 8 * types.size();
    std::vector<std::size_t> typeDirs;
    std::vector<std::vector<std::size_t>> nameDirs;
    for (const TypeGroup& type : types) {
        typeDirs.push_back(end);
        end += 16 + 8 * type.names.size();
    }
    for (const TypeGroup& type : types) {
        nameDirs.emplace_back();
        for (const NameGroup& name : type.names) {
            nameDirs.back().push_back(end);
            end += 16 + 8 * name.resources.size();
        }
    }
    std::vector<std::size_t> dataEntries(resources.size());
    for (const TypeGroup& type : types)
        for (const NameGroup& name : type.names)
            for (const std::size_t index : name.resources) {
                dataEntries[index] = end;
                end += 16;
            }
    std::vector<std::size_t> typeStrings(types.size());
    std::vector<std::vector<std::size_t>> nameStrings(types.size());
    for (std::size_t t = 0; t < types.size(); ++t) {
        typeStrings[t] = end;
        if (types[t].type.isString) end += 2 + 2 * types[t].type.text.size();
        for (const NameGroup& name : types[t].names) {
            nameStrings[t].push_back(end);
            if (name.name.isString) end += 2 + 2 * name.name.text.size();
        }
    }
    std::vector<std::size_t> data(resources.size());
    for (std::size_t i = 0; i < resources.size(); ++i) {
        end = AlignTo4(end);
        data[i] = end;
        end += resources[i].data.size();
    }
    const std::size_t sectionSize = end;

    TestPe pe;
    pe.coffHeader = PeOffset + 4;
    pe.optionalHeader = pe.coffHeader + 20;
    const std::size_t optionalSize = pe32Plus ? 240 : 224;
    const std::size_t directories = pe.optionalHeader + (pe32Plus ? 112 : 96);
    pe.resourceDataDir = directories + 2 * 8;
    pe.sectionHeader = pe.optionalHeader + optionalSize;
    pe.resourceRoot = RawDataOffset;
    pe.resourceRva = TestResourceRva;
    pe.firstDataEntry =
        resources.empty() ? 0 : RawDataOffset + *std::min_element(dataEntries.begin(), dataEntries.end());

    std::vector<uint8_t>& bytes = pe.bytes;
    bytes.assign(RawDataOffset + sectionSize, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    PatchU32(bytes, 0x3C, PeOffset);
    bytes[PeOffset] = 'P';
    bytes[PeOffset + 1] = 'E';
    PatchU16(bytes, pe.coffHeader, pe32Plus ? 0x8664 : 0x14C);
    PatchU16(bytes, pe.coffHeader + 2, 1);  // one section
    PatchU16(bytes, pe.coffHeader + 16, static_cast<uint16_t>(optionalSize));
    PatchU16(bytes, pe.optionalHeader, pe32Plus ? OptionalMagicPe32Plus : OptionalMagicPe32);
    PatchU32(bytes, directories - 4, 16);  // number of data directories
    PatchU32(bytes, pe.resourceDataDir, TestResourceRva);
    PatchU32(bytes, pe.resourceDataDir + 4, static_cast<uint32_t>(sectionSize));
    std::copy_n(".rsrc", 5, bytes.begin() + static_cast<std::ptrdiff_t>(pe.sectionHeader));
    PatchU32(bytes, pe.sectionHeader + 8, static_cast<uint32_t>(sectionSize));
    PatchU32(bytes, pe.sectionHeader + 12, TestResourceRva);
    PatchU32(bytes, pe.sectionHeader + 16, static_cast<uint32_t>(sectionSize));
    PatchU32(bytes, pe.sectionHeader + 20, RawDataOffset);

    // Entry name field: the id, or the string's offset with the high bit.
    const auto nameField = [](const ResourceName& name, std::size_t stringOffset) {
        return name.isString ? HighBit | static_cast<uint32_t>(stringOffset) : uint32_t{name.id};
    };
    const auto putString = [&](const ResourceName& name, std::size_t offset) {
        if (!name.isString) return;
        PatchU16(bytes, RawDataOffset + offset, static_cast<uint16_t>(name.text.size()));
        for (std::size_t i = 0; i < name.text.size(); ++i)
            PatchU16(bytes, RawDataOffset + offset + 2 + 2 * i, static_cast<uint16_t>(name.text[i]));
    };
    const auto countStrings = [](const auto& groups, const auto& nameOf) {
        return static_cast<uint16_t>(
            std::count_if(groups.begin(), groups.end(), [&](const auto& group) { return nameOf(group).isString; }));
    };

    const uint16_t namedTypes =
        countStrings(types, [](const TypeGroup& group) -> const ResourceName& { return group.type; });
    PutDirectoryHeader(bytes, RawDataOffset, namedTypes, static_cast<uint16_t>(types.size() - namedTypes));
    for (std::size_t t = 0; t < types.size(); ++t) {
        const std::size_t entry = RawDataOffset + 16 + 8 * t;
        PatchU32(bytes, entry, nameField(types[t].type, typeStrings[t]));
        PatchU32(bytes, entry + 4, HighBit | static_cast<uint32_t>(typeDirs[t]));
        putString(types[t].type, typeStrings[t]);

        const std::vector<NameGroup>& names = types[t].names;
        const uint16_t namedNames =
            countStrings(names, [](const NameGroup& group) -> const ResourceName& { return group.name; });
        PutDirectoryHeader(bytes, RawDataOffset + typeDirs[t], namedNames,
                           static_cast<uint16_t>(names.size() - namedNames));
        for (std::size_t n = 0; n < names.size(); ++n) {
            const std::size_t nameEntry = RawDataOffset + typeDirs[t] + 16 + 8 * n;
            PatchU32(bytes, nameEntry, nameField(names[n].name, nameStrings[t][n]));
            PatchU32(bytes, nameEntry + 4, HighBit | static_cast<uint32_t>(nameDirs[t][n]));
            putString(names[n].name, nameStrings[t][n]);

            const std::size_t languageDir = RawDataOffset + nameDirs[t][n];
            PutDirectoryHeader(bytes, languageDir, 0, static_cast<uint16_t>(names[n].resources.size()));
            for (std::size_t l = 0; l < names[n].resources.size(); ++l) {
                const std::size_t index = names[n].resources[l];
                PatchU32(bytes, languageDir + 16 + 8 * l, resources[index].language);
                PatchU32(bytes, languageDir + 16 + 8 * l + 4, static_cast<uint32_t>(dataEntries[index]));
                const std::size_t dataEntry = RawDataOffset + dataEntries[index];
                PatchU32(bytes, dataEntry, TestResourceRva + static_cast<uint32_t>(data[index]));
                PatchU32(bytes, dataEntry + 4, static_cast<uint32_t>(resources[index].data.size()));
                PatchU32(bytes, dataEntry + 8, 1252);  // code page
                std::copy(resources[index].data.begin(), resources[index].data.end(),
                          bytes.begin() + static_cast<std::ptrdiff_t>(RawDataOffset + data[index]));
            }
        }
    }
    return pe;
}
