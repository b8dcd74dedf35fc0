#include "ico_file.h"

#include <cstddef>

namespace {

constexpr uint16_t IconResourceType = 1;
constexpr uint16_t ImageCount = 2;

// Appends a 16-bit value, low byte first.
void PutU16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

// Appends a 32-bit value, low byte first.
void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>((value >> shift) & 0xFF));
}

// Row length in bytes for a bit count, padded to four bytes.
uint32_t RowBytes(uint16_t bitCount) { return (IconSide * bitCount + 31) / 32 * 4; }

// Palette bytes that follow the header: 256 RGBQUADs for 8 bits, none for 24.
uint32_t PaletteBytes(uint16_t bitCount) { return bitCount == 8 ? PaletteSize * 4 : 0; }

// One directory entry for an image of the given size at the given offset.
void PutEntry(std::vector<uint8_t>& out, uint32_t bytes, uint32_t offset) {
    out.push_back(static_cast<uint8_t>(IconSide));
    out.push_back(static_cast<uint8_t>(IconSide));
    out.push_back(0);  // colour count: 0 for 256 and more
    out.push_back(0);  // reserved
    PutU16(out, 1);    // planes
    PutU16(out, IcoEntryBitCount);
    PutU32(out, bytes);
    PutU32(out, offset);
}

// The BITMAPINFOHEADER: doubled height for the XOR bitmap plus the AND mask.
void PutBitmapHeader(std::vector<uint8_t>& out, uint16_t bitCount) {
    PutU32(out, BitmapHeaderBytes);
    PutU32(out, IconSide);
    PutU32(out, IconSide * 2);
    PutU16(out, 1);  // planes
    PutU16(out, bitCount);
    PutU32(out, 0);  // BI_RGB
    PutU32(out, (RowBytes(bitCount) + RowBytes(1)) * IconSide);
    PutU32(out, 0);  // pixels per metre, x
    PutU32(out, 0);  // pixels per metre, y
    PutU32(out, 0);  // colours used: all that the bit count allows
    PutU32(out, 0);  // colours important: all
}

// The AND mask, bottom row first, most significant bit leftmost.
void PutAndMask(std::vector<uint8_t>& out, const IconPicture& picture) {
    for (int32_t row = IconSide - 1; row >= 0; --row) {
        const std::size_t start = out.size();
        out.resize(start + RowBytes(1), 0);
        for (int32_t column = 0; column < IconSide; ++column)
            if (!picture.opaque[static_cast<std::size_t>(row * IconSide + column)])
                out[start + static_cast<std::size_t>(column / 8)] |= static_cast<uint8_t>(0x80u >> (column % 8));
    }
}

// The 8-bit image: header, palette as blue, green, red, 0, then indices.
void PutIndexedImage(std::vector<uint8_t>& out, const IconPicture& picture, const IconPalette& palette,
                     const IconIndices& indices) {
    PutBitmapHeader(out, 8);
    for (const Rgb& colour : palette) {
        out.push_back(colour.b);
        out.push_back(colour.g);
        out.push_back(colour.r);
        out.push_back(0);
    }
    for (int32_t row = IconSide - 1; row >= 0; --row) {
        for (int32_t column = 0; column < IconSide; ++column)
            out.push_back(indices[static_cast<std::size_t>(row * IconSide + column)]);
        out.resize(out.size() + RowBytes(8) - IconSide, 0);
    }
    PutAndMask(out, picture);
}

// The 24-bit image: header, then blue, green, red per pixel.
void PutTrueColourImage(std::vector<uint8_t>& out, const IconPicture& picture) {
    PutBitmapHeader(out, 24);
    for (int32_t row = IconSide - 1; row >= 0; --row) {
        for (int32_t column = 0; column < IconSide; ++column) {
            const Rgb& colour = picture.colour[static_cast<std::size_t>(row * IconSide + column)];
            out.push_back(colour.b);
            out.push_back(colour.g);
            out.push_back(colour.r);
        }
        out.resize(out.size() + RowBytes(24) - IconSide * 3, 0);
    }
    PutAndMask(out, picture);
}

}  // namespace

uint32_t IconImageBytes(uint16_t bitCount) {
    return BitmapHeaderBytes + PaletteBytes(bitCount) + (RowBytes(bitCount) + RowBytes(1)) * IconSide;
}

std::vector<uint8_t> EncodeIco(const IconPicture& picture, const IconPalette& palette, const IconIndices& indices) {
    // Transparent pixels must be black in both images whatever the caller
    // left in them, or the XOR step would tint the desktop.
    IconPicture clean = picture;
    IconIndices cleanIndices = indices;
    for (std::size_t i = 0; i < static_cast<std::size_t>(IconPixels); ++i) {
        if (clean.opaque[i]) continue;
        clean.colour[i] = Rgb{};
        cleanIndices[i] = TransparentIndex;
    }

    const uint32_t first = IcoHeaderBytes + IcoEntryBytes * ImageCount;
    std::vector<uint8_t> out;
    PutU16(out, 0);  // reserved
    PutU16(out, IconResourceType);
    PutU16(out, ImageCount);
    PutEntry(out, IconImageBytes(8), first);
    PutEntry(out, IconImageBytes(24), first + IconImageBytes(8));
    PutIndexedImage(out, clean, palette, cleanIndices);
    PutTrueColourImage(out, clean);
    return out;
}
