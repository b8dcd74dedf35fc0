// The version resource as compiled into both Windows builds, read as the
// node tree it is: fixed file information, the 040904E4 string table and
// the translation.
#include <gtest/gtest.h>

#include <string>

#include "saver_files.h"
#include "version_info.h"

namespace {

constexpr uint16_t RussianLanguage = 1049;
constexpr uint32_t Version1000Ms = 0x00010000;  // 1.0 in the high dword
constexpr uint32_t Version1000Ls = 0x00000000;  // .0.0 in the low dword

// Checks the VS_FIXEDFILEINFO in the root's value.
void ExpectFixedInfo(const VersionNode& root) {
    EXPECT_EQ(root.key, u"VS_VERSION_INFO");
    EXPECT_EQ(root.type, 0);
    FixedFileInfo info;
    ASSERT_TRUE(ReadFixedFileInfo(root, info)) << "root value is " << root.value.size() << " bytes, not 52";
    EXPECT_EQ(info.signature, FixedFileInfoSignature);
    EXPECT_EQ(info.fileVersionMs, Version1000Ms);
    EXPECT_EQ(info.fileVersionLs, Version1000Ls);
    EXPECT_EQ(info.productVersionMs, Version1000Ms);
    EXPECT_EQ(info.productVersionLs, Version1000Ls);
    EXPECT_EQ(info.flagsMask, 0x3Fu);
    EXPECT_EQ(info.flags, 0u);
    EXPECT_EQ(info.os, 4u);    // VOS__WINDOWS32
    EXPECT_EQ(info.type, 1u);  // VFT_APP
    EXPECT_EQ(info.subtype, 0u);
}

// Checks the one string table and its values.
void ExpectStrings(const VersionNode& root) {
    const VersionNode* strings = FindVersionChild(root, u"StringFileInfo");
    ASSERT_NE(strings, nullptr);
    ASSERT_EQ(strings->children.size(), 1u);
    const VersionNode& table = strings->children[0];
    EXPECT_EQ(table.key, u"040904E4");
    const auto text = [&](std::u16string_view key) {
        const VersionNode* node = FindVersionChild(table, key);
        EXPECT_NE(node, nullptr) << "no " << Narrow(std::u16string(key));
        if (node == nullptr) return std::u16string();
        EXPECT_EQ(node->type, 1) << Narrow(std::u16string(key)) << " is not text";
        return VersionText(*node);
    };
    EXPECT_EQ(text(u"FileDescription"), u"Glimmerbox Screensaver");
    EXPECT_EQ(text(u"FileVersion"), u"1.0.0.0");
    EXPECT_EQ(text(u"ProductName"), u"Glimmerbox");
    EXPECT_EQ(text(u"ProductVersion"), u"1.0");
    EXPECT_FALSE(text(u"CompanyName").empty());
    EXPECT_FALSE(text(u"LegalCopyright").empty());
}

// Checks VarFileInfo's Translation: language 0x0409, code page 0x04E4.
void ExpectTranslation(const VersionNode& root) {
    const VersionNode* variables = FindVersionChild(root, u"VarFileInfo");
    ASSERT_NE(variables, nullptr);
    const VersionNode* translation = FindVersionChild(*variables, u"Translation");
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(translation->type, 0);
    uint16_t language = 0;
    uint16_t codePage = 0;
    ASSERT_EQ(translation->value.size(), 4u);
    ASSERT_TRUE(ReadU16(translation->value, 0, language) && ReadU16(translation->value, 2, codePage));
    EXPECT_EQ(language, 0x0409);
    EXPECT_EQ(codePage, 0x04E4);
}

TEST(VersionResource, CarriesTheFixedInfoStringsAndTranslation) {
    for (const SaverBuild& build : SaverBuilds) {
        SCOPED_TRACE(build.preset);
        LoadedSaver saver;
        std::string error;
        ASSERT_TRUE(LoadSaver(build, saver, error)) << error;
        const PeResource* resource = FindResource(saver.image, RtVersion, IdName(1), RussianLanguage);
        ASSERT_NE(resource, nullptr) << "no version resource 1 in language 1049";
        VersionNode root;
        ASSERT_TRUE(ReadVersionInfo(ResourceBytes(saver.file, *resource), root, error)) << error;
        ExpectFixedInfo(root);
        ExpectStrings(root);
        ExpectTranslation(root);
    }
}

// Appends a node: header, key, padding, value, padding and children.
void PutNode(std::vector<uint8_t>& out, const std::u16string& key, uint16_t type, const std::vector<uint8_t>& value,
             uint16_t valueLength, const std::vector<uint8_t>& children) {
    const std::size_t start = out.size();
    out.resize(start + 6);
    for (const char16_t unit : key + u'\0') {
        out.push_back(static_cast<uint8_t>(unit & 0xFF));
        out.push_back(static_cast<uint8_t>(unit >> 8));
    }
    out.resize(AlignTo4(out.size()));
    out.insert(out.end(), value.begin(), value.end());
    if (!children.empty()) {
        out.resize(AlignTo4(out.size()));
        out.insert(out.end(), children.begin(), children.end());
    }
    const std::size_t length = out.size() - start;
    out[start] = static_cast<uint8_t>(length & 0xFF);
    out[start + 1] = static_cast<uint8_t>(length >> 8);
    out[start + 2] = static_cast<uint8_t>(valueLength & 0xFF);
    out[start + 3] = static_cast<uint8_t>(valueLength >> 8);
    out[start + 4] = static_cast<uint8_t>(type);
}

TEST(VersionInfoReader, ReadsNestedNodesAndRejectsBadLengths) {
    // Root with a text child "A" = "xy" and a binary child "Bee" of 3 bytes.
    std::vector<uint8_t> children;
    PutNode(children, u"A", 1, {'x', 0, 'y', 0, 0, 0}, 3, {});
    children.resize(AlignTo4(children.size()));
    PutNode(children, u"Bee", 0, {7, 8, 9}, 3, {});
    std::vector<uint8_t> whole;
    PutNode(whole, u"Root", 0, {}, 0, children);

    VersionNode root;
    std::string error;
    ASSERT_TRUE(ReadVersionInfo(whole, root, error)) << error;
    EXPECT_EQ(root.key, u"Root");
    ASSERT_EQ(root.children.size(), 2u);
    const VersionNode* a = FindVersionChild(root, u"A");
    const VersionNode* bee = FindVersionChild(root, u"Bee");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(bee, nullptr);
    EXPECT_EQ(VersionText(*a), u"xy");
    EXPECT_EQ(bee->value, (std::vector<uint8_t>{7, 8, 9}));

    for (std::size_t length = 0; length < whole.size(); ++length) {
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(ReadVersionInfo(cut, root, error)) << "cut to " << length;
    }
    const std::size_t firstChild = whole.size() - children.size();
    std::vector<uint8_t> bad = whole;
    bad[firstChild] = 0;
    bad[firstChild + 1] = 0;
    EXPECT_FALSE(ReadVersionInfo(bad, root, error)) << "child of length 0, which would never end";
    bad[firstChild] = 2;
    EXPECT_FALSE(ReadVersionInfo(bad, root, error)) << "child shorter than a header";
    bad = whole;
    bad[firstChild] = 0xFF;
    bad[firstChild + 1] = 0x0F;
    EXPECT_FALSE(ReadVersionInfo(bad, root, error)) << "child longer than its parent";
    bad = whole;
    bad[firstChild + 2] = 200;
    EXPECT_FALSE(ReadVersionInfo(bad, root, error)) << "text value longer than its node";
}

}  // namespace
