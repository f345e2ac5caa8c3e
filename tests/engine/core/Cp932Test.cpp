#include "engine/core/Cp932.h"

#include <gtest/gtest.h>

namespace mareldon {
namespace {

TEST(Cp932Test, UsesTheMicrosoftMapping) {
    struct Case {
        const char* cp932;
        char16_t unit;
    };
    // Where CP932 and SHIFT_JIS part ways, the Windows values are the ones fonts use.
    const Case cases[] = {
        {"\x82\xA0", u'\u3042'}, {"\x81\x60", u'\uFF5E'}, {"\x81\x5F", u'\uFF3C'},
        {"\x81\x61", u'\u2225'}, {"\x81\x7C", u'\uFF0D'}, {"\xB1", u'\uFF71'},
    };
    for (const Case& c : cases) {
        std::u16string wide = Cp932ToUtf16(c.cp932);
        ASSERT_EQ(wide.size(), 1u) << c.cp932;
        EXPECT_EQ(wide[0], c.unit) << c.cp932;
    }
}

TEST(Cp932Test, InvalidBytesAreSubstitutedNotFatal) {
    EXPECT_EQ(Cp932ToUtf16("a\x82"), (std::u16string{u'a', kCp932Substitute16}));
    EXPECT_EQ(Cp932ToUtf16("\x82\x20z"), (std::u16string{kCp932Substitute16, u' ', u'z'}));
    EXPECT_EQ(Cp932ToUtf16("\xFD\x82\xA0"), (std::u16string{kCp932Substitute16, u'\u3042'}));
    EXPECT_EQ(Cp932ToUtf8("\xFF"), "\xE3\x83\xBB");
}

TEST(Cp932Test, Utf8RoundTrip) {
    const char* cp932 = "\x83\x5C\x83\x74\x83\x67 abc";  // katakana "software" with a 0x5C trail
    std::string utf8 = Cp932ToUtf8(cp932);
    EXPECT_EQ(utf8, "\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88 abc");
    EXPECT_EQ(Utf8ToCp932(utf8), cp932);
    EXPECT_EQ(Utf8ToCp932("\xF0\x9F\x98\x80x\xC3"), "?x?");  // not in cp932, then truncated
}

TEST(Cp932Test, CharacterLength) {
    EXPECT_TRUE(IsCp932LeadByte(0x81));
    EXPECT_TRUE(IsCp932LeadByte(0xFC));
    EXPECT_FALSE(IsCp932LeadByte(0xA0));
    EXPECT_FALSE(IsCp932LeadByte(0x80));
    EXPECT_EQ(Cp932CharLength("\x83\x5C"), 2);
    EXPECT_EQ(Cp932CharLength("\x83"), 1);
    EXPECT_EQ(Cp932CharLength(""), 0);
}

}  // namespace
}  // namespace mareldon
