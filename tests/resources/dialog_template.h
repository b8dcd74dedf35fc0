// Reading a compiled dialog resource: the classic DLGTEMPLATE with its
// DLGITEMTEMPLATE items, or just the fact that it is a DLGTEMPLATEEX.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "le_bytes.h"

inline constexpr uint32_t DsSetFont = 0x40;
inline constexpr uint16_t ButtonAtom = 0x0080;
inline constexpr uint16_t StaticAtom = 0x0082;

// A field that is absent, a 16-bit ordinal (0xFFFF marker) or a string.
struct DialogField {
    bool present = false;
    bool isOrdinal = false;
    uint16_t ordinal = 0;
    std::u16string text;
};

struct DialogItem {
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint16_t id = 0;
    DialogField windowClass;
    DialogField title;
    uint16_t extraBytes = 0;
};

struct DialogTemplate {
    bool extended = false;  // a DLGTEMPLATEEX: nothing else is read
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    DialogField menu;
    DialogField windowClass;
    std::u16string title;
    bool hasFont = false;  // DS_SETFONT: pointSize and fontName follow
    uint16_t pointSize = 0;
    std::u16string fontName;
    std::vector<DialogItem> items;
};

// Reads a whole dialog resource; items start on 4-byte boundaries from the
// start of the resource. False with error set when anything runs past the
// end.
bool ReadDialogTemplate(Bytes bytes, DialogTemplate& dialog, std::string& error);
