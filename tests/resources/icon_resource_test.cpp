// The program icon as compiled into both Windows builds: the group directory
// and the two images it names, which must be the images of
// res/glimmerbox.ico.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "icon_bytes.h"
#include "saver_files.h"

namespace {

constexpr uint16_t RussianLanguage = 1049;
constexpr int32_t Side = 32;

// Bytes of a 32x32 image: header, palette, XOR rows and AND rows, each row
// padded to four bytes.
uint32_t ExpectedImageBytes(uint16_t bitCount) {
    const uint32_t palette = bitCount <= 8 ? (1u << bitCount) * 4 : 0;
    const uint32_t xorRow = (Side * bitCount + 31) / 32 * 4;
    const uint32_t andRow = (Side + 31) / 32 * 4;
    return BitmapHeaderSize + palette + (xorRow + andRow) * Side;
}

// The images of the committed .ico file, in directory order.
std::vector<std::vector<uint8_t>> CommittedIconImages() {
    std::vector<uint8_t> ico;
    if (!ReadWholeFile(GLIMMERBOX_ICON_FILE, ico)) {
        ADD_FAILURE() << "cannot read " << GLIMMERBOX_ICON_FILE;
        return {};
    }
    std::vector<IconDirEntry> entries;
    std::string error;
    if (!ReadIcoDirectory(ico, entries, error)) {
        ADD_FAILURE() << GLIMMERBOX_ICON_FILE << ": " << error;
        return {};
    }
    std::vector<std::vector<uint8_t>> images;
    for (const IconDirEntry& entry : entries) {
        if (!InRange(ico.size(), entry.location, entry.bytesInRes)) {
            ADD_FAILURE() << GLIMMERBOX_ICON_FILE << ": image outside the file";
            return {};
        }
        const auto first = ico.begin() + static_cast<std::ptrdiff_t>(entry.location);
        images.emplace_back(first, first + static_cast<std::ptrdiff_t>(entry.bytesInRes));
    }
    return images;
}

TEST(MainIconResource, GroupNamesAn8BitAndA24BitImageBothRecordedAs24Bits) {
    const std::vector<std::vector<uint8_t>> committed = CommittedIconImages();
    ASSERT_EQ(committed.size(), 2u);
    constexpr uint16_t ImageBitCounts[] = {8, 24};
    for (const SaverBuild& build : SaverBuilds) {
        SCOPED_TRACE(build.preset);
        LoadedSaver saver;
        std::string error;
        ASSERT_TRUE(LoadSaver(build, saver, error)) << error;
        const PeResource* group = FindResource(saver.image, RtGroupIcon, StringName(u"MAINICON"), RussianLanguage);
        ASSERT_NE(group, nullptr) << "no icon group MAINICON in language 1049";
        std::vector<IconDirEntry> entries;
        ASSERT_TRUE(ReadGroupIconDirectory(ResourceBytes(saver.file, *group), entries, error)) << error;
        ASSERT_EQ(entries.size(), 2u);

        for (std::size_t i = 0; i < entries.size(); ++i) {
            SCOPED_TRACE("image " + std::to_string(i + 1));
            const IconDirEntry& entry = entries[i];
            EXPECT_EQ(entry.width, Side);
            EXPECT_EQ(entry.height, Side);
            EXPECT_EQ(entry.colorCount, 0);
            EXPECT_EQ(entry.reserved, 0);
            EXPECT_EQ(entry.planes, 1);
            EXPECT_EQ(entry.bitCount, 24) << "the group records 24 bits for every image";
            EXPECT_EQ(entry.bytesInRes, ExpectedImageBytes(ImageBitCounts[i]));

            const PeResource* image =
                FindResource(saver.image, RtIcon, IdName(static_cast<uint16_t>(entry.location)), RussianLanguage);
            ASSERT_NE(image, nullptr) << "no RT_ICON " << entry.location;
            EXPECT_EQ(image->size, entry.bytesInRes);
            const Bytes bytes = ResourceBytes(saver.file, *image);
            BitmapHeader header;
            ASSERT_TRUE(ReadBitmapHeader(bytes, header));
            EXPECT_EQ(header.size, BitmapHeaderSize);
            EXPECT_EQ(header.width, Side);
            EXPECT_EQ(header.height, 2 * Side) << "XOR bitmap and AND mask";
            EXPECT_EQ(header.planes, 1);
            EXPECT_EQ(header.bitCount, ImageBitCounts[i]);
            EXPECT_EQ(header.compression, 0u);
            if (header.bitCount == 8) {
                EXPECT_TRUE(header.clrUsed == 0 || header.clrUsed == 256) << header.clrUsed;
            }
            EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), committed[i].begin(), committed[i].end()))
                << "differs from image " << i + 1 << " of res/glimmerbox.ico; after a new icon, touch "
                << "res/glimmerbox.rc and rebuild the preset, as the build does not track the .ico";
        }
        EXPECT_NE(entries[0].location, entries[1].location);
        EXPECT_EQ(ResourcesOfType(saver.image, RtIcon).size(), 2u);
        EXPECT_EQ(ResourcesOfType(saver.image, RtGroupIcon).size(), 1u);
    }
}

}  // namespace
