#include "game/render/SpriteSheet.h"

#include <gtest/gtest.h>

#include "tests/engine/render/device/DeviceFixture.h"
#include "tests/game/render/ScreenDrawFixture.h"

namespace mareldon {
namespace {

class SpriteSheetTest : public ::testing::Test {
  protected:
    void Load(const std::vector<uint8_t>& archive) {
        gpu.Make();
        draw.Load(RefPtr<GraphicsDevice>(gpu.device.get(), [](GraphicsDevice*) {}), archive);
    }
    DeviceFixture gpu;
    ScreenDrawFixture draw;
};

TEST_F(SpriteSheetTest, RectanglesComeFromTheEntryAndMissingNamesGiveZero) {
    MbdWriter writer;
    AddWhiteSheet(writer, "first", 16, 16, {{"x", 1, 2, 3, 4}});
    AddWhiteSheet(writer, "systemimage", 128, 64, {{"credit", 0, 0, 80, 16}, {"Enjoy", 0, 16, 80, 16}});
    AddWhiteSheet(writer, "bare", 8, 8, {});
    Load(writer.Build());

    SpriteSheet sheet(draw.renderer, "systemimage");
    EXPECT_EQ(sheet.Width(), 128);
    EXPECT_EQ(sheet.Height(), 64);
    EXPECT_EQ(sheet.RectCount(), 2);
    const SpriteRect& enjoy = sheet.Find("Enjoy");
    EXPECT_EQ(enjoy.y, 16.0f);
    EXPECT_EQ(enjoy.w, 80.0f);
    EXPECT_EQ(sheet.FindOrNull("nothing"), nullptr);
    const SpriteRect& none = sheet.Find("nothing");
    EXPECT_EQ(none.x + none.y + none.w + none.h, 0.0f);

    SpriteSheet bare(draw.renderer, "bare");
    EXPECT_EQ(bare.RectCount(), 0);
    for (const char* name : {"", "credit", "x"}) {
        const SpriteRect& rect = bare.Find(name);
        EXPECT_EQ(rect.w + rect.h, 0.0f) << name;
    }
    // An image name the archive lacks gives its first sprite entry.
    SpriteSheet fallback(draw.renderer, "unknown");
    EXPECT_EQ(fallback.Width(), 16);
    EXPECT_EQ(fallback.Find("x").h, 4.0f);
}

TEST_F(SpriteSheetTest, SheetsOfOneTextureNameShareOneTexture) {
    Load(MbdWriter().Build());
    RefPtr<SpriteSheet> a(
        SpriteSheet::SpriteSheetForTexture(draw.renderer, "F24", kTextureSampled, 512, 512));
    const size_t made = gpu.gpu.Count("CreateTexture");
    RefPtr<SpriteSheet> b(
        SpriteSheet::SpriteSheetForTexture(draw.renderer, "F24", kTextureSampled, 512, 512));
    RefPtr<SpriteSheet> other(
        SpriteSheet::SpriteSheetForTexture(draw.renderer, "F12", kTextureSampled, 64, 64));
    ASSERT_TRUE(a->Inner());
    EXPECT_EQ(a->Inner().Get(), b->Inner().Get());
    EXPECT_NE(a->Inner().Get(), other->Inner().Get());
    EXPECT_EQ(a->Width(), 512);
    EXPECT_EQ(b->RectCount(), 0);
    // The second sheet of "F24" made no texture; "F12" made one.
    EXPECT_EQ(gpu.gpu.Count("CreateTexture"), made + 1);
    // Without a renderer there is no texture and no size.
    RefPtr<SpriteSheet> none(SpriteSheet::SpriteSheetForTexture(RefPtr<Renderer>(), "F24", 1, 512, 512));
    EXPECT_EQ(none->Width(), 0);
}

}  // namespace
}  // namespace mareldon
