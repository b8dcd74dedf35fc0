// The .ico encoder: directory, headers, palette order, bottom-up rows and
// the AND mask, read back with the readers in icon_bytes.h.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ico_file.h"
#include "icon_bytes.h"

namespace {

constexpr std::size_t XorRow8 = 32;   // 32 one-byte pixels
constexpr std::size_t XorRow24 = 96;  // 32 three-byte pixels
constexpr std::size_t AndRow = 4;     // 32 bits
constexpr std::size_t PaletteBytes8 = 1024;

// What EncodeIco takes.
struct Sample {
    IconPicture picture;
    IconPalette palette{};
    IconIndices indices{};
};

// A picture with a pattern: opaque except where (row + 2 * column) % 7 == 0,
// colours and indices varying with the place.
Sample MakeSample() {
    Sample sample;
    for (std::size_t entry = 0; entry < sample.palette.size(); ++entry)
        sample.palette[entry] =
            Rgb{static_cast<uint8_t>(entry), static_cast<uint8_t>(255 - entry), static_cast<uint8_t>(entry * 7)};
    sample.palette[TransparentIndex] = Rgb{};
    for (int32_t row = 0; row < IconSide; ++row) {
        for (int32_t column = 0; column < IconSide; ++column) {
            const auto at = static_cast<std::size_t>(row * IconSide + column);
            sample.picture.opaque[at] = (row + 2 * column) % 7 != 0;
            // Transparent pixels keep a colour and index: the encoder must
            // still write black and index 0 for them.
            sample.picture.colour[at] = Rgb{static_cast<uint8_t>(row * 8), static_cast<uint8_t>(column * 8), 200};
            sample.indices[at] = static_cast<uint8_t>(1 + (row * IconSide + column) % 255);
        }
    }
    return sample;
}

// The byte at offset; fails the test instead of reading outside.
uint8_t At(const std::vector<uint8_t>& bytes, std::size_t offset) {
    EXPECT_LT(offset, bytes.size());
    return offset < bytes.size() ? bytes[offset] : 0;
}

TEST(IcoEncoder, DirectoryListsTwo32PixelImagesBackToBack) {
    const Sample sample = MakeSample();
    const std::vector<uint8_t> ico = EncodeIco(sample.picture, sample.palette, sample.indices);
    std::vector<IconDirEntry> entries;
    std::string error;
    ASSERT_TRUE(ReadIcoDirectory(ico, entries, error)) << error;
    ASSERT_EQ(entries.size(), 2u);
    const uint32_t sizes[] = {static_cast<uint32_t>(BitmapHeaderSize + PaletteBytes8 + (XorRow8 + AndRow) * 32),
                              static_cast<uint32_t>(BitmapHeaderSize + (XorRow24 + AndRow) * 32)};
    uint32_t next = 6 + 2 * 16;
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i + 1));
        EXPECT_EQ(entries[i].width, 32);
        EXPECT_EQ(entries[i].height, 32);
        EXPECT_EQ(entries[i].colorCount, 0);
        EXPECT_EQ(entries[i].reserved, 0);
        EXPECT_EQ(entries[i].planes, 1);
        EXPECT_EQ(entries[i].bitCount, 24);
        EXPECT_EQ(entries[i].bytesInRes, sizes[i]);
        EXPECT_EQ(entries[i].location, next);
        next += sizes[i];
    }
    EXPECT_EQ(ico.size(), next) << "nothing after the second image";
    EXPECT_EQ(IconImageBytes(8), sizes[0]);
    EXPECT_EQ(IconImageBytes(24), sizes[1]);
}

TEST(IcoEncoder, ImagesHaveDoubleHeightHeadersAndTheirBitCounts) {
    const Sample sample = MakeSample();
    const std::vector<uint8_t> ico = EncodeIco(sample.picture, sample.palette, sample.indices);
    std::vector<IconDirEntry> entries;
    std::string error;
    ASSERT_TRUE(ReadIcoDirectory(ico, entries, error)) << error;
    ASSERT_EQ(entries.size(), 2u);
    const uint16_t bitCounts[] = {8, 24};
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE("image " + std::to_string(i + 1));
        BitmapHeader header;
        ASSERT_TRUE(ReadBitmapHeader(Bytes(ico).subspan(entries[i].location), header));
        EXPECT_EQ(header.size, BitmapHeaderSize);
        EXPECT_EQ(header.width, 32);
        EXPECT_EQ(header.height, 64);
        EXPECT_EQ(header.planes, 1);
        EXPECT_EQ(header.bitCount, bitCounts[i]);
        EXPECT_EQ(header.compression, 0u);
        EXPECT_TRUE(header.sizeImage == 0 ||
                    header.sizeImage == entries[i].bytesInRes - BitmapHeaderSize - (i == 0 ? PaletteBytes8 : 0));
        EXPECT_TRUE(header.clrUsed == 0 || (i == 0 && header.clrUsed == 256));
    }
}

TEST(IcoEncoder, PixelsRunBottomUpWithPaletteAndMaskInPlace) {
    const Sample sample = MakeSample();
    const std::vector<uint8_t> ico = EncodeIco(sample.picture, sample.palette, sample.indices);
    std::vector<IconDirEntry> entries;
    std::string error;
    ASSERT_TRUE(ReadIcoDirectory(ico, entries, error)) << error;
    ASSERT_EQ(entries.size(), 2u);

    const std::size_t palette = entries[0].location + BitmapHeaderSize;
    for (std::size_t entry = 0; entry < 256; ++entry) {
        ASSERT_EQ(At(ico, palette + entry * 4), sample.palette[entry].b) << "entry " << entry;
        ASSERT_EQ(At(ico, palette + entry * 4 + 1), sample.palette[entry].g) << "entry " << entry;
        ASSERT_EQ(At(ico, palette + entry * 4 + 2), sample.palette[entry].r) << "entry " << entry;
        ASSERT_EQ(At(ico, palette + entry * 4 + 3), 0) << "entry " << entry;
    }
    const std::size_t xor8 = palette + PaletteBytes8;
    const std::size_t and8 = xor8 + XorRow8 * 32;
    const std::size_t xor24 = entries[1].location + BitmapHeaderSize;
    const std::size_t and24 = xor24 + XorRow24 * 32;
    for (int32_t row = 0; row < IconSide; ++row) {
        const auto stored = static_cast<std::size_t>(IconSide - 1 - row);  // bottom row first
        for (int32_t column = 0; column < IconSide; ++column) {
            SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(column));
            const auto at = static_cast<std::size_t>(row * IconSide + column);
            const auto c = static_cast<std::size_t>(column);
            const bool opaque = sample.picture.opaque[at];
            const Rgb colour = opaque ? sample.picture.colour[at] : Rgb{};
            ASSERT_EQ(At(ico, xor8 + stored * XorRow8 + c), opaque ? sample.indices[at] : TransparentIndex);
            ASSERT_EQ(At(ico, xor24 + stored * XorRow24 + 3 * c), colour.b);
            ASSERT_EQ(At(ico, xor24 + stored * XorRow24 + 3 * c + 1), colour.g);
            ASSERT_EQ(At(ico, xor24 + stored * XorRow24 + 3 * c + 2), colour.r);
            const uint8_t bit = static_cast<uint8_t>(0x80 >> (column % 8));
            const bool masked8 = (At(ico, and8 + stored * AndRow + c / 8) & bit) != 0;
            const bool masked24 = (At(ico, and24 + stored * AndRow + c / 8) & bit) != 0;
            ASSERT_EQ(masked8, !opaque);
            ASSERT_EQ(masked24, !opaque);
        }
    }
}

TEST(IcoEncoder, EqualInputsGiveEqualBytesAndAChangedPixelChangesThem) {
    const Sample sample = MakeSample();
    const std::vector<uint8_t> first = EncodeIco(sample.picture, sample.palette, sample.indices);
    EXPECT_EQ(EncodeIco(sample.picture, sample.palette, sample.indices), first);
    Sample changed = sample;
    changed.picture.colour[5].g ^= 1;
    ASSERT_TRUE(changed.picture.opaque[5]);
    EXPECT_NE(EncodeIco(changed.picture, changed.palette, changed.indices), first);
}

}  // namespace
