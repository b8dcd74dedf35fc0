#include "icon_bytes.h"

namespace {

constexpr std::size_t DirectoryHeaderBytes = 6;
constexpr uint16_t IconType = 1;

// Reads the header shared by both directories and the entries after it;
// the two kinds differ only in their last field.
bool ReadDirectory(Bytes bytes, bool inFile, std::vector<IconDirEntry>& entries, std::string& error) {
    entries.clear();
    uint16_t reserved = 0;
    uint16_t type = 0;
    uint16_t count = 0;
    if (!ReadU16(bytes, 0, reserved) || !ReadU16(bytes, 2, type) || !ReadU16(bytes, 4, count)) {
        error = "icon directory shorter than its header";
        return false;
    }
    if (reserved != 0 || type != IconType) {
        error = "icon directory header is not reserved 0, type 1";
        return false;
    }
    const std::size_t entryBytes = inFile ? 16 : 14;
    for (uint16_t i = 0; i < count; ++i) {
        const std::size_t at = DirectoryHeaderBytes + i * entryBytes;
        IconDirEntry entry;
        bool ok = ReadU8(bytes, at, entry.width) && ReadU8(bytes, at + 1, entry.height) &&
                  ReadU8(bytes, at + 2, entry.colorCount) && ReadU8(bytes, at + 3, entry.reserved) &&
                  ReadU16(bytes, at + 4, entry.planes) && ReadU16(bytes, at + 6, entry.bitCount) &&
                  ReadU32(bytes, at + 8, entry.bytesInRes);
        if (inFile) {
            ok = ok && ReadU32(bytes, at + 12, entry.location);
        } else {
            uint16_t id = 0;
            ok = ok && ReadU16(bytes, at + 12, id);
            entry.location = id;
        }
        if (!ok) {
            error =
                "icon directory entry " + std::to_string(i + 1) + " of " + std::to_string(count) + " runs past the end";
            return false;
        }
        entries.push_back(entry);
    }
    return true;
}

}  // namespace

bool ReadIcoDirectory(Bytes bytes, std::vector<IconDirEntry>& entries, std::string& error) {
    return ReadDirectory(bytes, true, entries, error);
}

bool ReadGroupIconDirectory(Bytes bytes, std::vector<IconDirEntry>& entries, std::string& error) {
    return ReadDirectory(bytes, false, entries, error);
}

bool ReadBitmapHeader(Bytes bytes, BitmapHeader& header) {
    return ReadU32(bytes, 0, header.size) && ReadI32(bytes, 4, header.width) && ReadI32(bytes, 8, header.height) &&
           ReadU16(bytes, 12, header.planes) && ReadU16(bytes, 14, header.bitCount) &&
           ReadU32(bytes, 16, header.compression) && ReadU32(bytes, 20, header.sizeImage) &&
           ReadI32(bytes, 24, header.xPelsPerMeter) && ReadI32(bytes, 28, header.yPelsPerMeter) &&
           ReadU32(bytes, 32, header.clrUsed) && ReadU32(bytes, 36, header.clrImportant);
}
