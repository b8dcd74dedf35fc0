// The PE resource reader on hand-made files: what it reads from good ones,
// and that damaged or cut-short ones give an error without any read outside
// the buffer (this binary runs under the address sanitizer).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pe_resources.h"
#include "test_pe_image.h"

namespace {

// Bytes of a text, for resource data.
std::vector<uint8_t> BytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// Four resources across three types, one string name, two languages under
// one name, and data lengths that need padding between them.
std::vector<TestResource> SampleResources() {
    return {
        {IdName(RtDialog), StringName(u"SETTINGS"), 1049, BytesOf("dialog")},
        {IdName(RtVersion), IdName(1), 1049, BytesOf("version, Russian")},
        {IdName(RtVersion), IdName(1), 1033, BytesOf("version, English!")},
        {IdName(RtManifest), IdName(1), 0, BytesOf("<assembly/>")},
    };
}

// Reads bytes through a buffer of exactly their size, so the sanitizer sees
// any read past the end.
bool ReadExact(const std::vector<uint8_t>& bytes, PeImage& image, std::string& error) {
    const std::vector<uint8_t> exact(bytes.begin(), bytes.end());
    return ReadPeImage(exact, image, error);
}

// Expects the file to be rejected with some error text.
void ExpectRejected(const std::vector<uint8_t>& bytes, const char* what) {
    PeImage image;
    std::string error;
    EXPECT_FALSE(ReadExact(bytes, image, error)) << what;
    EXPECT_FALSE(error.empty()) << what;
}

TEST(PeResourceReader, ReadsEveryResourceFromPe32AndPe32PlusFiles) {
    const std::vector<TestResource> resources = SampleResources();
    for (const bool pe32Plus : {false, true}) {
        SCOPED_TRACE(pe32Plus ? "PE32+" : "PE32");
        const TestPe pe = BuildTestPe(pe32Plus, resources);
        PeImage image;
        std::string error;
        ASSERT_TRUE(ReadExact(pe.bytes, image, error)) << error;
        EXPECT_EQ(image.optionalMagic, pe32Plus ? OptionalMagicPe32Plus : OptionalMagicPe32);
        EXPECT_EQ(image.machine, pe32Plus ? 0x8664 : 0x14C);
        ASSERT_EQ(image.resources.size(), resources.size());
        for (const TestResource& expected : resources) {
            SCOPED_TRACE(DescribeName(expected.type) + "/" + DescribeName(expected.name) + "/" +
                         std::to_string(expected.language));
            const PeResource* found = FindResource(image, expected.type.id, expected.name, expected.language);
            ASSERT_NE(found, nullptr);
            const Bytes data = ResourceBytes(pe.bytes, *found);
            EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.end()), expected.data);
            EXPECT_EQ(found->codePage, 1252u);
        }
        EXPECT_EQ(FindResource(image, RtDialog, StringName(u"SETTING"), 1049), nullptr);
        EXPECT_EQ(FindResource(image, RtDialog, StringName(u"SETTINGS"), 1033), nullptr);
        EXPECT_EQ(FindResource(image, RtManifest, IdName(2), 0), nullptr);
        EXPECT_EQ(ResourcesOfType(image, RtVersion).size(), 2u);
    }
}

TEST(PeResourceReader, StringTypesAndNamesComeBackAsStrings) {
    const TestPe pe = BuildTestPe(
        false, {{StringName(u"PNG"), StringName(u"LOGO"), 0, {1, 2, 3}}, {StringName(u"PNG"), IdName(7), 0, {4}}});
    PeImage image;
    std::string error;
    ASSERT_TRUE(ReadExact(pe.bytes, image, error)) << error;
    ASSERT_EQ(image.resources.size(), 2u);
    EXPECT_TRUE(image.resources[0].type.isString);
    EXPECT_EQ(image.resources[0].type.text, u"PNG");
    EXPECT_TRUE(image.resources[0].name.isString);
    EXPECT_EQ(image.resources[0].name.text, u"LOGO");
    EXPECT_FALSE(image.resources[1].name.isString);
    EXPECT_EQ(image.resources[1].name.id, 7);
    // A numbered lookup does not match a string type of the same text.
    EXPECT_TRUE(ResourcesOfType(image, 0).empty());
}

TEST(PeResourceReader, FileWithoutResourceDirectoryHasNoResources) {
    TestPe pe = BuildTestPe(false, SampleResources());
    PatchU32(pe.bytes, pe.resourceDataDir, 0);
    PatchU32(pe.bytes, pe.resourceDataDir + 4, 0);
    PeImage image;
    std::string error;
    EXPECT_TRUE(ReadExact(pe.bytes, image, error)) << error;
    EXPECT_TRUE(image.resources.empty());

    // Only two data directories: the resource one is not there at all.
    pe = BuildTestPe(true, SampleResources());
    PatchU32(pe.bytes, pe.resourceDataDir - 2 * 8 - 4, 2);
    EXPECT_TRUE(ReadExact(pe.bytes, image, error)) << error;
    EXPECT_TRUE(image.resources.empty());
}

TEST(PeResourceReader, DamagedHeadersAreErrors) {
    const TestPe good = BuildTestPe(false, SampleResources());
    ExpectRejected({}, "empty file");
    ExpectRejected({'M', 'Z'}, "MZ and nothing else");

    std::vector<uint8_t> bytes = good.bytes;
    bytes[1] = 'X';
    ExpectRejected(bytes, "no MZ");

    bytes = good.bytes;
    PatchU32(bytes, 0x3C, static_cast<uint32_t>(bytes.size() - 2));
    ExpectRejected(bytes, "PE offset at the end of the file");
    PatchU32(bytes, 0x3C, 0xFFFFFFFFu);
    ExpectRejected(bytes, "PE offset far past the end");

    bytes = good.bytes;
    bytes[good.coffHeader - 2] = 'X';
    ExpectRejected(bytes, "bad PE signature");

    bytes = good.bytes;
    PatchU16(bytes, good.optionalHeader, 0x107);
    ExpectRejected(bytes, "ROM optional header");

    bytes = good.bytes;
    PatchU16(bytes, good.coffHeader + 16, 90);
    ExpectRejected(bytes, "optional header too short for the directory count");

    bytes = good.bytes;
    PatchU16(bytes, good.coffHeader + 16, 0xFFFF);
    ExpectRejected(bytes, "optional header longer than the file");

    bytes = good.bytes;
    PatchU16(bytes, good.coffHeader + 2, 0xFFFF);
    ExpectRejected(bytes, "section table longer than the file");
}

TEST(PeResourceReader, DamagedResourceTreesAreErrors) {
    const TestPe good = BuildTestPe(true, SampleResources());
    const std::size_t root = good.resourceRoot;
    std::vector<uint8_t> bytes = good.bytes;
    PatchU32(bytes, good.resourceDataDir, 0x9000);
    ExpectRejected(bytes, "resource RVA in no section");

    bytes = good.bytes;
    PatchU32(bytes, good.resourceDataDir + 4, 0x10000);
    ExpectRejected(bytes, "resource directory larger than its section");

    bytes = good.bytes;
    PatchU32(bytes, good.sectionHeader + 20, 0xFFFFFF00u);
    ExpectRejected(bytes, "section raw data past the end of the file");

    bytes = good.bytes;
    PatchU16(bytes, root + 14, 0xFFFF);
    ExpectRejected(bytes, "root directory claims 65535 entries");

    bytes = good.bytes;
    PatchU32(bytes, root + 16 + 4, 0x80000000u | 0x7FFFFFF0u);
    ExpectRejected(bytes, "subdirectory far outside");

    bytes = good.bytes;
    PatchU32(bytes, root + 16 + 4, 0x80000000u);
    ExpectRejected(bytes, "type directory pointing back at the root");

    bytes = good.bytes;
    PatchU32(bytes, root + 16 + 4, static_cast<uint32_t>(good.firstDataEntry - root));
    ExpectRejected(bytes, "data entry where a type directory belongs");

    bytes = good.bytes;
    PatchU32(bytes, good.firstDataEntry, TestResourceRva + 0x100000);
    ExpectRejected(bytes, "data outside every section");

    bytes = good.bytes;
    PatchU32(bytes, good.firstDataEntry + 4, static_cast<uint32_t>(bytes.size()));
    ExpectRejected(bytes, "data longer than its section");

    bytes = good.bytes;
    PatchU32(bytes, good.firstDataEntry + 4, 0xFFFFFFFFu);
    ExpectRejected(bytes, "data length that would wrap");

    bytes = good.bytes;
    PatchU32(bytes, root + 16, 0x12345);
    ExpectRejected(bytes, "id wider than 16 bits");
}

TEST(PeResourceReader, BadNameStringsAreErrors) {
    const TestPe good = BuildTestPe(false, SampleResources());
    // The first type's directory holds the "SETTINGS" entry first.
    uint32_t typeDirectory = 0;
    ASSERT_TRUE(ReadU32(good.bytes, good.resourceRoot + 16 + 4, typeDirectory));
    const std::size_t nameEntry = good.resourceRoot + (typeDirectory & 0x7FFFFFFFu) + 16;
    uint32_t nameField = 0;
    ASSERT_TRUE(ReadU32(good.bytes, nameEntry, nameField));
    ASSERT_NE(nameField & 0x80000000u, 0u) << "the builder put the string name first";
    const std::size_t string = good.resourceRoot + (nameField & 0x7FFFFFFFu);

    std::vector<uint8_t> bytes = good.bytes;
    PatchU16(bytes, string, 0xFFFF);
    ExpectRejected(bytes, "name string longer than the directory");

    bytes = good.bytes;
    PatchU32(bytes, nameEntry, 0x80000000u | static_cast<uint32_t>(bytes.size()));
    ExpectRejected(bytes, "name string past the end");
}

TEST(PeResourceReader, EveryCutShortCopyIsAnError) {
    for (const bool pe32Plus : {false, true}) {
        const TestPe pe = BuildTestPe(pe32Plus, SampleResources());
        for (std::size_t length = 0; length < pe.bytes.size(); ++length) {
            const std::vector<uint8_t> cut(pe.bytes.begin(), pe.bytes.begin() + static_cast<std::ptrdiff_t>(length));
            PeImage image;
            std::string error;
            ASSERT_FALSE(ReadPeImage(cut, image, error)) << (pe32Plus ? "PE32+" : "PE32") << " cut to " << length;
        }
    }
}

TEST(PeResourceReader, AnySingleDamagedByteLeavesEveryResourceInsideTheFile) {
    const TestPe good = BuildTestPe(false, SampleResources());
    for (std::size_t at = 0; at < good.bytes.size(); ++at) {
        for (const uint8_t value : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0xFF}}) {
            std::vector<uint8_t> bytes = good.bytes;
            bytes[at] = value;
            PeImage image;
            std::string error;
            if (!ReadExact(bytes, image, error)) continue;
            for (const PeResource& resource : image.resources)
                ASSERT_TRUE(InRange(bytes.size(), resource.fileOffset, resource.size))
                    << "byte " << at << " set to " << int{value};
        }
    }
}

}  // namespace
