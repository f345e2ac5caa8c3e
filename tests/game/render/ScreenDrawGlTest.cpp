// Sprites and text drawn by the screen drawers on the OpenGL backend (offscreen through
// Mesa), checked by the pixels they cover.
#include <vector>

#include <gtest/gtest.h>

#include "engine/render/draw/RenderView.h"
#include "game/render/NormalShaderGen.h"
#include "game/render/ScreenDrawers.h"
#include "game/render/TextDrawing.h"
#include "tests/game/render/GlDrawTest.h"
#include "tests/game/render/ScreenDrawFixture.h"

namespace mareldon {
namespace {

constexpr int kSize = 64;
constexpr ScreenColor kWhite{1, 1, 1, 1};

// A 32 x 32 sheet, transparent but for the white sprite "S" at texels (8, 4), 8 x 6,
// and white texels at x 0..7, y 0..3 and down the last column, which "Out" (beyond the
// right edge) would show with wrapped or clamped addressing. A font whose 'A' inks
// x 2..9, y 3..20 of its 24 x 24 cell.
std::vector<uint8_t> Archive() {
    MbdWriter writer;
    std::vector<uint8_t> rgba(32 * 32 * 4, 0);
    auto white = [&](int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                for (int c = 0; c < 4; ++c)
                    rgba[size_t((y * 32 + x) * 4 + c)] = 0xFF;
            }
        }
    };
    white(8, 4, 16, 10);
    white(0, 0, 8, 4);
    white(31, 0, 32, 32);
    writer.AddSprite("systemimage", writer.AddImage(EncodePng(32, 32, rgba)),
                     {{"S", 8, 4, 8, 6}, {"Out", 32, 0, 8, 4}});
    std::vector<bool> ink(24 * 24);
    for (int y = 3; y <= 20; ++y) {
        for (int x = 2; x <= 9; ++x)
            ink[size_t(y * 24 + x)] = true;
    }
    EncodedFont font = EncodeFont(24, 24, {{'A', 24, ink}});
    writer.AddFont("F24", 24, 24, writer.AddWordArray(font.offsetTable), writer.AddBlob(font.bitStream));
    return writer.Build();
}

using ScreenDrawGlTest = GlDrawTest;

TEST_F(ScreenDrawGlTest, SpriteAndTextLandOnTheirPixels) {
    ASSERT_NE(MakeDevice(kSize), nullptr);
    ScreenDrawFixture draw;
    draw.Load(DeviceHandle(), Archive());
    ClearRecord clear = RenderView::DefaultClear();
    clear.flags = 0x3;
    clear.color = 0xFF000000u;
    draw.set->AddView(RefPtr<RenderView>(new RenderView(
        draw.renderer, RefPtr<TextureBase>(device->ScreenTexture()), clear,
        RefPtr<ShaderGenBase>(NormalShaderGen::NormalShaderGenAlt(draw.renderer)), TextureViewport{})));

    RefPtr<SpriteSheet> sheet(new SpriteSheet(draw.renderer, "systemimage"));
    ASSERT_EQ(sheet->Width(), 32);
    RefPtr<SpriteDrawer> sprites(new SpriteDrawer(*draw.set, "shadingname", sheet));
    RefPtr<TextDrawer> text(new TextDrawer(*draw.set, "shadingname", "F24"));
    // "S" centred on (12, 13): x 8..15, y 10..15. 'A' with its cell's left edge at 30, top at 20.
    sprites->DrawSprite("S", Vec3{12, 13, 0.5f}, kWhite);
    sprites->DrawSprite("Out", Vec3{50, 56, 0.5f}, kWhite);
    Vec3 end{};
    text->DrawWideText(end, Vec3{30, 20, 0.5f}, 12, 24, kWhite, "A");
    draw.set->Draw();

    std::vector<uint32_t> pixels = ReadBack();
    ASSERT_EQ(pixels.size(), size_t(kSize * kSize));
    auto at = [&](int x, int y) { return pixels[size_t(y * kSize + x)] & 0xFFFFFFu; };
    for (int y = 6; y < 20; ++y) {
        for (int x = 4; x < 20; ++x) {
            const bool inside = x >= 8 && x <= 15 && y >= 10 && y <= 15;
            ASSERT_EQ(at(x, y), inside ? 0xFFFFFFu : 0u) << "sprite " << x << "," << y;
        }
    }
    for (int y = 18; y < 46; ++y) {
        for (int x = 28; x < 56; ++x) {
            const bool inside = x >= 32 && x <= 39 && y >= 23 && y <= 40;
            ASSERT_EQ(at(x, y), inside ? 0xFFFFFFu : 0u) << "text " << x << "," << y;
        }
    }
    // Texels outside the sheet are transparent black.
    for (int y = 52; y < 60; ++y) {
        for (int x = 44; x < 56; ++x)
            ASSERT_EQ(at(x, y), 0u) << "border " << x << "," << y;
    }
}

}  // namespace
}  // namespace mareldon
