#include "dialog_template.h"

namespace {

constexpr uint16_t OrdinalMarker = 0xFFFF;
constexpr uint16_t ExtendedSignature = 0xFFFF;
constexpr std::size_t HeaderBytes = 18;
constexpr std::size_t ItemHeaderBytes = 18;

// Reads a menu, class or title field: 0 for none, 0xFFFF and an ordinal, or
// a zero-terminated string. offset moves past it.
bool ReadField(Bytes bytes, std::size_t& offset, DialogField& field) {
    field = DialogField{};
    uint16_t first = 0;
    if (!ReadU16(bytes, offset, first)) return false;
    if (first == 0) {
        offset += 2;
        return true;
    }
    field.present = true;
    if (first == OrdinalMarker) {
        field.isOrdinal = true;
        if (!ReadU16(bytes, offset + 2, field.ordinal)) return false;
        offset += 4;
        return true;
    }
    return ReadUtf16z(bytes, offset, field.text);
}

// Reads the five numbers that place a dialog or item after its two styles.
bool ReadRect(Bytes bytes, std::size_t offset, int16_t& x, int16_t& y, int16_t& cx, int16_t& cy) {
    return ReadI16(bytes, offset, x) && ReadI16(bytes, offset + 2, y) && ReadI16(bytes, offset + 4, cx) &&
           ReadI16(bytes, offset + 6, cy);
}

// Reads one item at offset (already aligned); offset moves past it.
bool ReadItem(Bytes bytes, std::size_t& offset, DialogItem& item) {
    if (!ReadU32(bytes, offset, item.style) || !ReadU32(bytes, offset + 4, item.exStyle) ||
        !ReadRect(bytes, offset + 8, item.x, item.y, item.cx, item.cy) || !ReadU16(bytes, offset + 16, item.id))
        return false;
    offset += ItemHeaderBytes;
    if (!ReadField(bytes, offset, item.windowClass) || !ReadField(bytes, offset, item.title)) return false;
    if (!ReadU16(bytes, offset, item.extraBytes)) return false;
    offset += 2;
    if (!InRange(bytes.size(), offset, item.extraBytes)) return false;
    offset += item.extraBytes;
    return true;
}

}  // namespace

bool ReadDialogTemplate(Bytes bytes, DialogTemplate& dialog, std::string& error) {
    dialog = DialogTemplate{};
    uint16_t version = 0;
    uint16_t signature = 0;
    if (!ReadU16(bytes, 0, version) || !ReadU16(bytes, 2, signature)) {
        error = "dialog shorter than its header";
        return false;
    }
    if (version == 1 && signature == ExtendedSignature) {
        dialog.extended = true;
        return true;
    }
    uint16_t itemCount = 0;
    if (!ReadU32(bytes, 0, dialog.style) || !ReadU32(bytes, 4, dialog.exStyle) || !ReadU16(bytes, 8, itemCount) ||
        !ReadRect(bytes, 10, dialog.x, dialog.y, dialog.cx, dialog.cy)) {
        error = "dialog shorter than its header";
        return false;
    }
    std::size_t offset = HeaderBytes;
    if (!ReadField(bytes, offset, dialog.menu) || !ReadField(bytes, offset, dialog.windowClass) ||
        !ReadUtf16z(bytes, offset, dialog.title)) {
        error = "dialog menu, class or caption runs past the end";
        return false;
    }
    dialog.hasFont = (dialog.style & DsSetFont) != 0;
    if (dialog.hasFont) {
        if (!ReadU16(bytes, offset, dialog.pointSize)) {
            error = "dialog font size runs past the end";
            return false;
        }
        offset += 2;
        if (!ReadUtf16z(bytes, offset, dialog.fontName)) {
            error = "dialog font name runs past the end";
            return false;
        }
    }
    for (uint16_t i = 0; i < itemCount; ++i) {
        offset = AlignTo4(offset);
        DialogItem item;
        if (!ReadItem(bytes, offset, item)) {
            error = "dialog item " + std::to_string(i + 1) + " of " + std::to_string(itemCount) + " runs past the end";
            return false;
        }
        dialog.items.push_back(std::move(item));
    }
    return true;
}
