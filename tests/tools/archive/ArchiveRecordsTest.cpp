#include "tools/archive/ArchiveRecords.h"

#include <gtest/gtest.h>
#include <png.h>

#include "tools/archive/ArchiveFixtures.h"

namespace mareldon {
namespace {

// The glyph decoder as the text drawer reads the stream: colour bit, then runs in
// interleaved Elias gamma, a run past the end cut short.
std::vector<bool> DecodeGlyph(const std::vector<uint8_t>& stream, size_t offset, size_t pixels) {
    size_t bit = offset * 8;
    auto next = [&] {
        bool one = bit / 8 < stream.size() && (stream[bit / 8] >> (7 - bit % 8)) & 1;
        ++bit;
        return one;
    };
    std::vector<bool> out;
    bool ink = next();
    while (out.size() < pixels) {
        uint32_t value = 0, m = 1;
        while (!next()) {
            if (next()) {
                value += m;
            }
            m *= 2;
        }
        for (uint32_t i = 0; i < value + m && out.size() < pixels; ++i) {
            out.push_back(ink);
        }
        ink = !ink;
    }
    return out;
}

TEST(ArchiveRecordsTest, GlyphCodeRoundTrips) {
    // Seven one-pixel runs starting with ink are the single byte 0xFF.
    std::vector<bool> alternate = {true, false, true, false, true, false, true};
    EXPECT_EQ(EncodeGlyph(7, 1, alternate), std::vector<uint8_t>{0xFF});
    // Lengths 2 and 5: 0 0 1 and 0 1 0 0 1 after a background colour bit.
    std::vector<bool> runs = {false, false, true, true, true, true, true};
    EXPECT_EQ(EncodeGlyph(7, 1, runs), (std::vector<uint8_t>{0b0'001'0100, 0b1000'0000}));
    for (uint16_t code : {uint16_t('A'), uint16_t('B'), uint16_t(0x3042)}) {
        std::vector<bool> glyph = SampleGlyph(code);
        EXPECT_EQ(DecodeGlyph(EncodeGlyph(24, 24, glyph), 0, glyph.size()), glyph) << code;
    }
}

TEST(ArchiveRecordsTest, FontTablePointsAtEachGlyphWithItsAdvance) {
    EncodedFont font = EncodeFont(24, 24, {{'A', 24, SampleGlyph('A')}, {0x3042, 12, SampleGlyph(0x3042)}});
    ASSERT_EQ(font.offsetTable.size(), 65536u);
    EXPECT_EQ(font.offsetTable['A'], 24u << 24);
    const uint32_t second = font.offsetTable[0x3042];
    EXPECT_EQ(second >> 24, 12u);
    EXPECT_EQ(DecodeGlyph(font.bitStream, second & 0xFFFFFF, 576), SampleGlyph(0x3042));
    EXPECT_EQ(font.offsetTable['Z'], 0u);
}

TEST(ArchiveRecordsTest, IimgHeaderAndLevels) {
    std::vector<uint16_t> pixels(3 * 5);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = uint16_t(0xF000 + i);
    }
    std::vector<uint8_t> image = EncodeIimg(2, 3, 5, 3, pixels);
    // Levels 3x5, 1x2 and 1x1 of 16-bit pixels behind the 32-byte header.
    ASSERT_EQ(image.size(), 32u + 2 * (15 + 2 + 1));
    EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "IIMG");
    EXPECT_EQ(image[4], 2);
    EXPECT_EQ(image[8], 3);
    EXPECT_EQ(image[12], 5);
    EXPECT_EQ(image[16], 3);
    EXPECT_EQ(image[32 + 2 * 14], 14);
    EXPECT_EQ(image[32 + 2 * 14 + 1], 0xF0);
}

TEST(ArchiveRecordsTest, PngDecodesWithLibpng) {
    std::vector<uint8_t> rgba = {255, 0, 0, 255, 0, 255, 0, 128};
    std::vector<uint8_t> file = EncodePng(2, 1, rgba);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, file.data(), file.size()));
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    EXPECT_EQ(image.width, 2u);
    EXPECT_EQ(pixels, rgba);
}

TEST(ArchiveRecordsTest, SoundRecordPadsPcmToFourBytes) {
    std::vector<uint8_t> record = EncodeSoundRecord({9, 8, 7, 6, 5}, 8, 11025, 2);
    ASSERT_EQ(record.size(), 4u + 8u + 6 * 4u);
    EXPECT_EQ(record[0], 5);
    EXPECT_EQ(record[4 + 5], 0);
    EXPECT_EQ(record[12], 8);
    EXPECT_EQ(record[16] | record[17] << 8, 11025);
    EXPECT_EQ(record[20], 2);
}

}  // namespace
}  // namespace mareldon
