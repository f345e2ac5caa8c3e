#include "tools/archive/PlaceholderScreenData.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "engine/core/Cp932.h"
#include "engine/render/archive/ResourceManager.h"
#include "game/render/TextDrawing.h"
#include "game/testmode/TestModeTexts.h"
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
    const std::pair<std::string, std::pair<float, float>> prompts[] = {
        {"1P", {32, 16}},          {"2P", {32, 16}},          {"Insert", {80, 16}},
        {"Add", {48, 16}},         {"COINS", {64, 16}},       {"ToStart", {96, 16}},
        {"ToContinue", {128, 16}}, {"PleaseWait", {128, 16}}, {"PressStartButton", {128, 16}}};
    sizes.insert(sizes.end(), std::begin(prompts), std::end(prompts));
    for (int digit = 0; digit < 10; ++digit)
        sizes.push_back({"1016_kazu_" + std::to_string(digit), {16, 16}});
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

// Every character of the test mode's texts has a glyph of its own, and the
// sound test's tunes (the slots below the effect count that no effect takes) are
// the placeholder tunes.
TEST(PlaceholderScreenDataTest, BootArchiveCoversTheTestMode) {
    RefPtr<MemoryFileSystem> files(new MemoryFileSystem());
    files->files["MARELDON.mbd"] = MakeBootArchive();
    ResourceManager manager{RefPtr<FileSystem>(files), RefPtr<GraphicsDevice>(), RefPtr<SoundBox>()};
    ASSERT_TRUE(manager.LoadArchive("MARELDON.mbd"));
    RefPtr<FontData> font = manager.FindFont("F24");
    ASSERT_TRUE(font);
    std::set<std::vector<uint32_t>> shapes;
    std::set<char16_t> codes;
    for (const TextPair& pair : TestModeTexts::All()) {
        for (const char* text : pair.text) {
            for (char16_t code : Cp932ToUtf16(text)) {
                EXPECT_NE(code, 0x30FB) << "a text that is not cp932: " << text;
                if (code <= 0x20 || !codes.insert(code).second) {
                    continue;
                }
                const uint32_t entry = font->offsetTable->words[code];
                ASSERT_NE(entry >> 24, 0u) << "no glyph for " << int(code);
                std::vector<uint32_t> pixels(24 * 24);
                DecodeGlyph(font->glyphs->bytes.data(), font->glyphs->bytes.size(), entry & 0xFFFFFF, 24, 24,
                            pixels.data());
                EXPECT_TRUE(shapes.insert(pixels).second) << "two codes look alike: " << int(code);
            }
        }
    }
    EXPECT_GT(codes.size(), 200u);

    const std::vector<int32_t>& effects = manager.FindGroup("SYSTEMSE").sounds;
    const std::vector<int32_t>& tunes = manager.FindGroup("SYSTEMBGM").sounds;
    ASSERT_GT(effects.size(), tunes.size());
    for (size_t i = 0; i < tunes.size(); ++i) {
        EXPECT_EQ(tunes[i], int32_t(i));
    }
    for (int32_t slot : effects) {
        EXPECT_GE(slot, int32_t(tunes.size()));
    }
}

}  // namespace
}  // namespace mareldon
