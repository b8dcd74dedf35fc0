// The settings dialog as compiled into both Windows builds: a classic
// template with exactly the placement, styles, font and three controls the
// saver's settings code expects.
#include <gtest/gtest.h>

#include <string>

#include "dialog_template.h"
#include "saver_files.h"

namespace {

constexpr uint16_t RussianLanguage = 1049;  // LANG_RUSSIAN, SUBLANG_DEFAULT

// True when the text holds a year from 1900 to 2099 standing alone.
bool HasYear(const std::string& text) {
    const auto digit = [&](std::size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
    for (std::size_t at = 0; at + 4 <= text.size(); ++at) {
        const bool century = text.compare(at, 2, "19") == 0 || text.compare(at, 2, "20") == 0;
        if (century && digit(at + 2) && digit(at + 3) && !digit(at + 4) && (at == 0 || !digit(at - 1))) return true;
    }
    return false;
}

// True when the text holds "www." or "http(s)://" followed by a dotted host.
bool HasWebAddress(const std::string& text) {
    const auto hostChar = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
    };
    for (const char* prefix : {"https://", "http://", "www."}) {
        const std::size_t start = text.find(prefix);
        if (start == std::string::npos) continue;
        std::size_t at = start + std::char_traits<char>::length(prefix);
        int labels = 0;
        while (at < text.size() && hostChar(text[at])) {
            while (at < text.size() && hostChar(text[at])) ++at;
            ++labels;
            if (at + 1 < text.size() && text[at] == '.' && hostChar(text[at + 1])) ++at;
        }
        // "www." already ends one label.
        if (labels + (prefix[0] == 'w' ? 1 : 0) >= 2) return true;
    }
    return false;
}

struct ExpectedItem {
    uint16_t id;
    uint16_t classAtom;
    uint32_t style;
    int16_t x, y, cx, cy;
};

constexpr ExpectedItem ExpectedItems[] = {
    {1, ButtonAtom, 0x50010000, 50, 7, 100, 16},
    {0, ButtonAtom, 0x50010000, 50, 25, 100, 16},
    {0xFFFF, StaticAtom, 0x50020001, 16, 48, 161, 26},
};

// Checks one control against its expected numbers.
void ExpectItem(const DialogItem& item, const ExpectedItem& expected) {
    EXPECT_EQ(item.id, expected.id);
    EXPECT_TRUE(item.windowClass.present && item.windowClass.isOrdinal)
        << "class should be a predefined atom, got \"" << Narrow(item.windowClass.text) << "\"";
    EXPECT_EQ(item.windowClass.ordinal, expected.classAtom);
    EXPECT_EQ(item.style, expected.style) << std::hex << "style 0x" << item.style;
    EXPECT_EQ(item.exStyle, 0u);
    EXPECT_EQ(item.x, expected.x);
    EXPECT_EQ(item.y, expected.y);
    EXPECT_EQ(item.cx, expected.cx);
    EXPECT_EQ(item.cy, expected.cy);
    EXPECT_TRUE(item.title.present && !item.title.isOrdinal);
    EXPECT_EQ(item.extraBytes, 0);
}

TEST(SettingsDialogResource, IsTheClassicTemplateWithItsThreeControls) {
    for (const SaverBuild& build : SaverBuilds) {
        SCOPED_TRACE(build.preset);
        LoadedSaver saver;
        std::string error;
        ASSERT_TRUE(LoadSaver(build, saver, error)) << error;
        const PeResource* resource = FindResource(saver.image, RtDialog, StringName(u"SETTINGS"), RussianLanguage);
        ASSERT_NE(resource, nullptr) << "no dialog SETTINGS in language 1049";

        DialogTemplate dialog;
        ASSERT_TRUE(ReadDialogTemplate(ResourceBytes(saver.file, *resource), dialog, error)) << error;
        ASSERT_FALSE(dialog.extended) << "compiled as DLGTEMPLATEEX";
        EXPECT_EQ(dialog.style, 0x80C800C0u) << std::hex << "style 0x" << dialog.style;
        EXPECT_EQ(dialog.exStyle, 0u);
        EXPECT_EQ(dialog.x, 77);
        EXPECT_EQ(dialog.y, 115);
        EXPECT_EQ(dialog.cx, 200);
        EXPECT_EQ(dialog.cy, 62);
        EXPECT_FALSE(dialog.menu.present);
        EXPECT_FALSE(dialog.windowClass.present);
        EXPECT_EQ(dialog.title, u"Glimmerbox");
        ASSERT_TRUE(dialog.hasFont);
        EXPECT_EQ(dialog.pointSize, 8);
        EXPECT_EQ(dialog.fontName, u"MS Sans Serif");

        ASSERT_EQ(dialog.items.size(), std::size(ExpectedItems));
        for (std::size_t i = 0; i < dialog.items.size(); ++i) {
            SCOPED_TRACE("item " + std::to_string(i + 1));
            ExpectItem(dialog.items[i], ExpectedItems[i]);
        }
        EXPECT_EQ(dialog.items[0].title.text, u"&Play Free Puzzle Games");
        EXPECT_EQ(dialog.items[1].title.text, u"&Close");
        const std::string notice = Narrow(dialog.items[2].title.text);
        EXPECT_FALSE(notice.empty());
        EXPECT_TRUE(HasYear(notice)) << "no year in: " << notice;
        EXPECT_TRUE(HasWebAddress(notice)) << "no web address in: " << notice;
    }
}

TEST(DialogTemplateReader, CutShortTemplatesAreErrors) {
    // A template with a font and one item, cut at every length.
    // clang-format off
    const std::vector<uint8_t> whole = {
        0xC0, 0x00, 0xC8, 0x80,  0, 0, 0, 0,  1, 0,  1, 0, 2, 0, 3, 0, 4, 0,  // header
        0, 0,  0, 0,  'T', 0, 0, 0,                                          // menu, class, caption
        8, 0,  'F', 0, 0, 0,                                                 // font, ends on 4
        0, 0, 0, 0x50,  0, 0, 0, 0,  5, 0, 6, 0, 7, 0, 8, 0,  9, 0,          // item
        0xFF, 0xFF, 0x80, 0x00,  'B', 0, 0, 0,  0, 0};                       // class, title, extra
    // clang-format on
    DialogTemplate dialog;
    std::string error;
    ASSERT_TRUE(ReadDialogTemplate(whole, dialog, error)) << error;
    ASSERT_EQ(dialog.items.size(), 1u);
    EXPECT_EQ(dialog.items[0].id, 9);
    EXPECT_EQ(dialog.items[0].windowClass.ordinal, ButtonAtom);
    EXPECT_EQ(dialog.items[0].title.text, u"B");
    EXPECT_EQ(dialog.fontName, u"F");
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(ReadDialogTemplate(cut, dialog, error)) << "cut to " << length;
    }
}

TEST(NoticeText, FindsYearsAndWebAddressesOnlyWhereTheyAre) {
    EXPECT_TRUE(HasYear("Copyright (c) 2026 X"));
    EXPECT_TRUE(HasYear("1999"));
    EXPECT_FALSE(HasYear("12026 and 202"));
    EXPECT_FALSE(HasYear("3026"));
    EXPECT_TRUE(HasWebAddress("see www.example.net"));
    EXPECT_TRUE(HasWebAddress("https://example.org/x"));
    EXPECT_FALSE(HasWebAddress("www."));
    EXPECT_FALSE(HasWebAddress("https://localhost"));
    EXPECT_FALSE(HasWebAddress("example dot com"));
}

TEST(DialogTemplateReader, RecognisesTheExtendedForm) {
    const std::vector<uint8_t> extended = {1, 0, 0xFF, 0xFF, 0, 0, 0, 0};
    DialogTemplate dialog;
    std::string error;
    ASSERT_TRUE(ReadDialogTemplate(extended, dialog, error)) << error;
    EXPECT_TRUE(dialog.extended);
}

}  // namespace
