#include "icon_bytes.h"

namespace {

constexpr std::size_t DirectoryHeaderBytes = 6;
constexpr std::size_t EntryBytes = 16;
constexpr uint16_t IconType = 1;

// Reads a little-endian value of T's width at offset; false when outside bytes.
template <typename T>
bool Read(Bytes bytes, std::size_t offset, T& value) {
    if (!InRange(bytes.size(), offset, sizeof(T))) return false;
    uint64_t raw = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) raw = (raw << 8) | bytes[offset + i];
    value = static_cast<T>(raw);  // modular for the signed widths
    return true;
}

}  // namespace

bool ReadIcoDirectory(Bytes bytes, std::vector<IconDirEntry>& entries, std::string& error) {
    entries.clear();
    uint16_t reserved = 0;
    uint16_t type = 0;
    uint16_t count = 0;
    if (!Read(bytes, 0, reserved) || !Read(bytes, 2, type) || !Read(bytes, 4, count)) {
        error = "icon directory shorter than its header";
        return false;
    }
    if (reserved != 0 || type != IconType) {
        error = "icon directory header is not reserved 0, type 1";
        return false;
    }
    for (uint16_t i = 0; i < count; ++i) {
        const std::size_t at = DirectoryHeaderBytes + i * EntryBytes;
        IconDirEntry entry;
        if (!Read(bytes, at, entry.width) || !Read(bytes, at + 1, entry.height) ||
            !Read(bytes, at + 2, entry.colorCount) || !Read(bytes, at + 3, entry.reserved) ||
            !Read(bytes, at + 4, entry.planes) || !Read(bytes, at + 6, entry.bitCount) ||
            !Read(bytes, at + 8, entry.bytesInRes) || !Read(bytes, at + 12, entry.location)) {
            error =
                "icon directory entry " + std::to_string(i + 1) + " of " + std::to_string(count) + " runs past the end";
            return false;
        }
        entries.push_back(entry);
    }
    return true;
}

bool ReadBitmapHeader(Bytes bytes, BitmapHeader& header) {
    return Read(bytes, 0, header.size) && Read(bytes, 4, header.width) && Read(bytes, 8, header.height) &&
           Read(bytes, 12, header.planes) && Read(bytes, 14, header.bitCount) && Read(bytes, 16, header.compression) &&
           Read(bytes, 20, header.sizeImage) && Read(bytes, 24, header.xPelsPerMeter) &&
           Read(bytes, 28, header.yPelsPerMeter) && Read(bytes, 32, header.clrUsed) &&
           Read(bytes, 36, header.clrImportant);
}
