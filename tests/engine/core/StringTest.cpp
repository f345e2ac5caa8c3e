#include "engine/core/String.h"

#include <gtest/gtest.h>

#include <cstring>

namespace mareldon {
namespace {

TEST(StringTest, GrowthFollowsTheFixedSizes) {
    String fifteen("123456789012345");
    EXPECT_EQ(fifteen.Capacity(), 16);
    const char* self = reinterpret_cast<const char*>(&fifteen);
    EXPECT_TRUE(fifteen.Text() >= self && fifteen.Text() < self + sizeof fifteen);  // inline

    String sixteen("1234567890123456");
    EXPECT_EQ(sixteen.Capacity(), 32);
    EXPECT_EQ(sixteen.Length(), 16u);
    String copy(sixteen);
    EXPECT_EQ(copy.Capacity(), 32);
    EXPECT_STREQ(copy.Text(), "1234567890123456");

    String assigned;
    assigned.Assign("12345678901234567890");
    EXPECT_EQ(assigned.Capacity(), 40);
    assigned.Assign("short");  // never shrinks, stays on the heap
    EXPECT_EQ(assigned.Capacity(), 40);
    EXPECT_STREQ(assigned.Text(), "short");

    String appended("12345678901234");
    appended.Append("abc");
    EXPECT_EQ(appended.Length(), 17u);
    EXPECT_EQ(appended.Capacity(), 34);
    EXPECT_STREQ(appended.Text(), "12345678901234abc");
}

TEST(StringTest, AppendOfItselfWhileGrowingKeepsTheText) {
    String text("0123456789");
    text.Append(text);  // 20 bytes: moves to the heap while reading itself
    EXPECT_STREQ(text.Text(), "01234567890123456789");
    text.Append(text.Text() + 10);  // a pointer into its own heap block
    EXPECT_STREQ(text.Text(), "012345678901234567890123456789");
    EXPECT_EQ(text.Capacity(), 40);
    text.Append(text);  // grows out of its own heap block
    EXPECT_EQ(text.Length(), 60u);
    EXPECT_EQ(text.Capacity(), 120);
    EXPECT_EQ(std::strncmp(text.Text() + 30, "012345678901234567890123456789", 30), 0);

    String small("ab");
    small.Append(small);  // no growth, overlapping copy
    EXPECT_STREQ(small.Text(), "abab");
    small.Assign(small.Text() + 1);
    EXPECT_STREQ(small.Text(), "bab");
    small = small;
    EXPECT_STREQ(small.Text(), "bab");
}

TEST(StringTest, NumbersAndOperators) {
    EXPECT_STREQ(String(1.5f).Text(), "1.500000");
    String big(3.0e38f);  // "%f" of a large float runs past the inline buffer
    EXPECT_GT(big.Length(), 15u);
    EXPECT_EQ(big.Capacity(), static_cast<int32_t>(2 * big.Length()));
    EXPECT_STREQ(String(-2147483647 - 1).Text(), "-2147483648");

    struct Case {
        int value, width, precision;
        const char* expected;
    };
    const Case cases[] = {
        {7, 3, -1, "  7"}, {7, 3, 2, " 07"}, {7, -1, 5, "7"}, {-12, 5, 3, " -012"}, {42, -4, -1, "42  "},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(NumberString(c.value, c.width, c.precision).Text(), c.expected) << c.expected;
    }
    NumberString wide(1, 1 << 30, 1 << 30);  // limited instead of asking for gigabytes
    EXPECT_EQ(wide.Length(), static_cast<uint32_t>(NumberString::kMaxNumberWidth));
    EXPECT_STREQ(NumberString('x').Text(), "x");
    EXPECT_STREQ(NumberString('\0').Text(), "");

    EXPECT_STREQ((String("ab") + String("cd")).Text(), "abcd");
    EXPECT_STREQ((String("ab") + "cd").Text(), "abcd");
    EXPECT_STREQ(("ab" + String("cd")).Text(), "abcd");
    EXPECT_FALSE(String("ab") == String("abc"));
    EXPECT_TRUE(String("abc") == String("abc"));
    EXPECT_TRUE(String("abc").Equals("abc"));
    EXPECT_FALSE(String("abc").Equals("ab"));
    EXPECT_TRUE(StringDiffers(String("abc"), "abd"));
}

TEST(StringTest, CompareIsUnsigned) {
    EXPECT_EQ(StrCompare("\x82", "a"), 1);
    EXPECT_EQ(StrCompare("a", "\x82"), -1);
    EXPECT_EQ(StrCompare("abc", "abc"), 0);
    EXPECT_EQ(StrCompare("ab", "abc"), -1);
    EXPECT_EQ(StrLength("abc"), 3u);
}

TEST(StringTest, NextCharacterNeverStepsBackOrPastTheZero) {
    struct Case {
        const char* text;
        int step;
    };
    const Case cases[] = {
        {"\x83\x5C", 2},                                  // a trail byte that looks like a backslash
        {"\x82\xA0", 2}, {"a", 1}, {"", 0}, {"\x82", 1},  // truncated: lead byte then the zero
        {"\x82\x20", 1},                                  // invalid trail byte
        {"\xA0", 1},                                      // half-width katakana
        {"\xFD\x41", 1},                                  // not a lead byte
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextCharacter(c.text) - c.text, c.step)
            << static_cast<int>(static_cast<uint8_t>(c.text[0]));
    }
}

TEST(StringTest, WideConversionUsesTheMicrosoftTable) {
    char16_t out[8];
    EXPECT_EQ(ConvertToWide(out, 8, "\x82\xA0"), 1);
    EXPECT_EQ(out[0], u'\u3042');
    EXPECT_EQ(out[1], 0);
    ConvertToWide(out, 8, "\x81\x60");
    EXPECT_EQ(out[0], u'\uFF5E');
    EXPECT_EQ(WideCharCount("a\x82\xA0z"), 3);
    EXPECT_EQ(WideCharCount("\x82"), 1);            // invalid bytes count as one substitute
    EXPECT_EQ(ConvertToWide(out, 3, "abcdef"), 2);  // never past the buffer
    EXPECT_EQ(out[2], 0);
}

TEST(StringTest, ArraysOwnTheirElements) {
    StringArray names(1);
    EXPECT_EQ(names.Add("a"), 0);
    EXPECT_EQ(names.Add(String("b")), 1);
    EXPECT_EQ(names.Add("c"), 2);
    EXPECT_EQ(names.Capacity(), 4);
    EXPECT_STREQ(names[2]->Text(), "c");

    static int deleted = 0;
    struct Probe {
        ~Probe() { ++deleted; }
    };
    {
        PtrArray<Probe> probes;
        probes.Add(new Probe);
        probes.Add(nullptr);
        probes.Add(new Probe);
        probes.DeleteAll();
        EXPECT_EQ(probes.Count(), 0);
        EXPECT_EQ(deleted, 2);
        probes.Add(new Probe);
    }
    EXPECT_EQ(deleted, 3);
}

}  // namespace
}  // namespace mareldon
