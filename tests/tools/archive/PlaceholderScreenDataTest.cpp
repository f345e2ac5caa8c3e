#include "tools/archive/PlaceholderScreenData.h"

#include <string>

#include <gtest/gtest.h>

#include "engine/render/archive/ResourceManager.h"
#include "game/render/TextDrawing.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tools/archive/ArchiveFixtures.h"

namespace mareldon {
namespace {

TEST(PlaceholderScreenDataTest, PixelFontCoversPrintableAscii) {
    EXPECT_EQ(PixelGlyphRows(0x1F), nullptr);
    EXPECT_EQ(PixelGlyphRows(0x7F), nullptr);
    for (uint32_t code = 0x21; code <= 0x7E; ++code) {
        const uint8_t* rows = PixelGlyphRows(code);
        ASSERT_NE(rows, nullptr);
        int ink = 0;
        for (int r = 0; r < 7; ++r) {
            EXPECT_EQ(rows[r] & ~0x1F, 0) << code;
            ink += rows[r] != 0;
        }
        EXPECT_GT(ink, 0) << "glyph " << code << " is blank";
    }
    // "1" at scale 2: its stem is a 2-pixel column at x 4..5; clipped at the mask's edge.
    std::vector<bool> mask(12 * 10);
    StampPixelText(mask, 12, 10, 0, 0, 2, "1");
    EXPECT_TRUE(mask[4] && mask[5] && mask[9 * 12 + 4]);
    EXPECT_FALSE(mask[3] || mask[6]);
}

TEST(PlaceholderScreenDataTest, BootArchiveHoldsTheSheetAndTheFont) {
    RefPtr<MemoryFileSystem> files(new MemoryFileSystem());
    files->files["MARELDON.mbd"] = MakeBootArchive();
    ResourceManager manager{RefPtr<FileSystem>(files), RefPtr<GraphicsDevice>(), RefPtr<SoundBox>()};
    ASSERT_TRUE(manager.LoadArchive("MARELDON.mbd"));

    RefPtr<SpriteEntry> sheet = manager.FindSprite("systemimage");
    ASSERT_TRUE(sheet->name->Equals("systemimage"));
    std::vector<std::pair<std::string, std::pair<float, float>>> sizes = {
        {"credit", {80, 16}}, {"FreePlay_002", {128, 16}}, {"Enjoy", {80, 16}}};
    for (int digit = 0; digit < 10; ++digit)
        sizes.push_back({"1016_Coin_kazu_" + std::to_string(digit), {16, 16}});
    ASSERT_EQ(sheet->frames.size(), sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        EXPECT_STREQ(sheet->frames[i].name->Text(), sizes[i].first.c_str());
        EXPECT_EQ(sheet->frames[i].w, sizes[i].second.first) << sizes[i].first;
        EXPECT_EQ(sheet->frames[i].h, sizes[i].second.second) << sizes[i].first;
    }

    RefPtr<FontData> font = manager.FindFont("F24");
    ASSERT_TRUE(font);
    ASSERT_EQ(font->glyphWidth, 24);
    auto decode = [&](uint16_t code) {
        std::vector<uint32_t> pixels(24 * 24);
        DecodeGlyph(font->glyphs->bytes.data(), font->glyphs->bytes.size(),
                    font->offsetTable->words[code] & 0xFFFFFF, 24, 24, pixels.data());
        return pixels;
    };
    std::vector<bool> expected(24 * 24);
    StampPixelText(expected, 24, 24, 1, 5, 2, "A");
    std::vector<uint32_t> a = decode('A');
    for (size_t i = 0; i < a.size(); ++i)
        ASSERT_EQ(a[i], expected[i] ? 0xFFFFFFFFu : 0u) << i;
    EXPECT_EQ(font->offsetTable->words['A'] >> 24, 12u);
    // The right half stays clear, so fixed pitch text does not overlap.
    for (uint16_t code = 0x20; code < 0x7F; ++code) {
        std::vector<uint32_t> g = decode(code);
        for (int y = 0; y < 24; ++y) {
            for (int x = 12; x < 24; ++x)
                ASSERT_EQ(g[size_t(y * 24 + x)], 0u) << code;
        }
    }
    EXPECT_EQ(font->offsetTable->words[0x30FB] >> 24, 24u);
    EXPECT_EQ(decode(0x30FB)[3 * 24 + 2], 0xFFFFFFFFu);
}

}  // namespace
}  // namespace mareldon
