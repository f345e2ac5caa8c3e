#include "engine/render/device/PixelConvert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace mareldon {
namespace {

std::vector<uint8_t> Words32(const std::vector<uint32_t>& words) {
    std::vector<uint8_t> bytes;
    for (uint32_t w : words) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<uint8_t>(w >> (8 * i)));
        }
    }
    return bytes;
}

uint32_t Read16(const uint8_t* p) {
    return p[0] | (p[1] << 8);
}
uint32_t Read32(const uint8_t* p) {
    return Read16(p) | (Read16(p + 2) << 16);
}

// One pixel through a converter, as the destination sees it.
uint32_t ConvertOne(PixelConverter convert, uint32_t word, int destSize) {
    const std::vector<uint8_t> source = Words32({word});
    uint8_t dest[4] = {};
    convert(dest, destSize, source.data(), 1, 1);
    return destSize == 4 ? Read32(dest) : Read16(dest);
}

TEST(PixelConvert, PixelRulesAreBitExact) {
    struct Case {
        const char* name;
        PixelConverter convert;
        int destSize;
        uint32_t source;
        uint32_t expected;
    };
    const Case cases[] = {
        {"argb to argb4444", &ConvertArgb8888ToArgb4444, 2, 0xFF804020, 0xF842},
        {"argb to abgr4444", &ConvertAbgr8888ToArgb4444, 2, 0xFF804020, 0xF248},
        {"argb to abgr1555", &ConvertArgb8888ToAbgr1555, 2, 0x80FF8040, 0xA21F},
        // Top bits only: nothing is rounded up.
        {"argb to argb4444, low nibbles", &ConvertArgb8888ToArgb4444, 2, 0x0F0F0F0F, 0x0000},
        {"argb to argb4444, lowest kept bit", &ConvertArgb8888ToArgb4444, 2, 0x10203040, 0x1234},
        {"abgr to argb4444", &ConvertAbgr8888ToArgb4444, 2, 0xA0B0C0D0, 0xADCB},
        {"argb to abgr1555, alpha below half", &ConvertArgb8888ToAbgr1555, 2, 0x7FFFFFFF, 0x7FFF},
        {"argb to abgr1555, low bits", &ConvertArgb8888ToAbgr1555, 2, 0xFF070707, 0x8000},
        {"argb to abgr1555, lowest kept bit", &ConvertArgb8888ToAbgr1555, 2, 0x00081020, 0x1041},
        {"abgr to abgr1555", &ConvertAbgr8888ToAbgr1555, 2, 0x80FF8040, 0xFE08},
        {"abgr to abgr1555, channels apart", &ConvertAbgr8888ToAbgr1555, 2, 0x00F80000, 0x7C00},
        {"swap red and blue", &SwapRedBlue32, 4, 0x11223344, 0x11443322},
        {"copy 32", &CopyPixels32, 4, 0x11223344, 0x11223344},
        {"copy 16", &CopyPixels16, 2, 0xBEEF1234, 0x1234},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertOne(c.convert, c.source, c.destSize), c.expected) << c.name;
    }
}

// The same rules written channel by channel, checked against every converter on random pixels.
TEST(PixelConvert, ConvertersMatchTheChannelRules) {
    auto channel = [](uint32_t w, int byte) { return (w >> (8 * byte)) & 0xFFu; };
    struct Case {
        PixelConverter convert;
        uint32_t (*rule)(uint32_t, decltype(channel));
    };
    const Case cases[] = {
        {&ConvertArgb8888ToArgb4444,
         [](uint32_t w, auto ch) {
             return (ch(w, 3) >> 4) << 12 | (ch(w, 2) >> 4) << 8 | (ch(w, 1) >> 4) << 4 | (ch(w, 0) >> 4);
         }},
        {&ConvertAbgr8888ToArgb4444,
         [](uint32_t w, auto ch) {
             return (ch(w, 3) >> 4) << 12 | (ch(w, 0) >> 4) << 8 | (ch(w, 1) >> 4) << 4 | (ch(w, 2) >> 4);
         }},
        {&ConvertArgb8888ToAbgr1555,
         [](uint32_t w, auto ch) {
             return (ch(w, 3) >> 7) << 15 | (ch(w, 0) >> 3) << 10 | (ch(w, 1) >> 3) << 5 | (ch(w, 2) >> 3);
         }},
        {&ConvertAbgr8888ToAbgr1555,
         [](uint32_t w, auto ch) {
             return (ch(w, 3) >> 7) << 15 | (ch(w, 2) >> 3) << 10 | (ch(w, 1) >> 3) << 5 | (ch(w, 0) >> 3);
         }},
    };
    std::mt19937 random(1234);
    for (int i = 0; i < 2000; ++i) {
        const uint32_t w = random();
        for (const Case& c : cases) {
            ASSERT_EQ(ConvertOne(c.convert, w, 2), c.rule(w, channel)) << std::hex << w;
        }
    }
}

TEST(PixelConvert, UploadPicksTheConverterOfEachKindPair) {
    constexpr PixelConverter none = nullptr;
    constexpr PixelConverter copy32 = &CopyPixels32, swap = &SwapRedBlue32,
                             to4444 = &ConvertArgb8888ToArgb4444, from4444 = &ConvertAbgr8888ToArgb4444,
                             argb1555 = &ConvertArgb8888ToAbgr1555, abgr1555 = &ConvertAbgr8888ToAbgr1555,
                             copy16 = &CopyPixels16;
    // Rows: source kind 0-5; columns: texture kind 0-5.
    const PixelConverter table[6][6] = {
        {copy32, swap, to4444, from4444, argb1555, none}, {swap, copy32, from4444, to4444, abgr1555, none},
        {none, none, copy16, none, none, none},           {none, none, none, copy16, none, none},
        {none, none, none, none, copy16, none},           {none, none, none, none, none, copy16},
    };
    for (uint32_t source = 0; source < 6; ++source) {
        for (uint32_t texture = 0; texture < 6; ++texture) {
            EXPECT_EQ(FindPixelConverter(PixelKind(source), PixelKind(texture)), table[source][texture])
                << source << " -> " << texture;
        }
    }
    EXPECT_EQ(PixelKindSize(PixelKind::ABGR8888), 4);
    EXPECT_EQ(PixelKindSize(PixelKind::ARGB1555), 2);
}

// Widths around the 64-pixel block, rows wider than the rectangle: every pixel of the
// rectangle is written, the gap after each row and the rows below are not.
TEST(PixelConvert, WritesExactlyTheRectangle) {
    const PixelConverter converters[] = {&CopyPixels32,
                                         &SwapRedBlue32,
                                         &ConvertArgb8888ToArgb4444,
                                         &ConvertAbgr8888ToArgb4444,
                                         &ConvertArgb8888ToAbgr1555,
                                         &ConvertAbgr8888ToAbgr1555,
                                         &CopyPixels16};
    constexpr uint8_t kUntouched = 0xCD;
    for (PixelConverter convert : converters) {
        const bool dest32 = convert == &CopyPixels32 || convert == &SwapRedBlue32;
        const int destSize = dest32 ? 4 : 2;
        const int sourceSize = convert == &CopyPixels16 ? 2 : 4;
        for (int width : {0, 1, 63, 64, 65, 130}) {
            for (int height : {-1, 0, 1, 3}) {
                SCOPED_TRACE(testing::Message()
                             << "width " << width << " height " << height << " dest " << destSize);
                const int pitch = (width + 3) * destSize;
                const int rows = std::max(height, 0);
                std::vector<uint8_t> source(static_cast<std::size_t>(width * rows * sourceSize));
                for (std::size_t i = 0; i < source.size(); ++i) {
                    source[i] = static_cast<uint8_t>(i * 7 + 1);
                }
                std::vector<uint8_t> dest(static_cast<std::size_t>(pitch * (rows + 1)), kUntouched);
                convert(dest.data(), pitch, source.data(), width, height);
                for (int y = 0; y <= rows; ++y) {
                    for (int x = 0; x < pitch / destSize; ++x) {
                        const uint8_t* pixel = dest.data() + y * pitch + x * destSize;
                        const bool inside = y < rows && x < width;
                        const uint32_t got = dest32 ? Read32(pixel) : Read16(pixel);
                        if (!inside) {
                            ASSERT_EQ(got, dest32 ? 0xCDCDCDCDu : 0xCDCDu) << "x " << x << " y " << y;
                        } else {
                            const uint8_t* from = source.data() + (y * width + x) * sourceSize;
                            ASSERT_EQ(got, ConvertOne(convert, sourceSize == 4 ? Read32(from) : Read16(from),
                                                      destSize))
                                << "x " << x << " y " << y;
                        }
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace mareldon
