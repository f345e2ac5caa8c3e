#include "game/render/ScreenDrawers.h"

#include <cmath>

#include <gtest/gtest.h>

#include "tests/engine/render/device/DeviceFixture.h"
#include "tests/game/render/ScreenDrawFixture.h"

namespace mareldon {
namespace {

constexpr ScreenColor kWhite{1, 1, 1, 1};

class ScreenDrawersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gpu.Make();
        MbdWriter writer;
        // 256 x 256 with "A" 32 x 16 at texel (64, 0).
        AddWhiteSheet(writer, "systemimage", 256, 256, {{"A", 64, 0, 32, 16}});
        writer.AddSprite("broken", writer.AddImage({1, 2, 3, 4}), {{"A", 0, 0, 8, 8}});
        draw.Load(RefPtr<GraphicsDevice>(gpu.device.get(), [](GraphicsDevice*) {}), writer.Build());
        sheet.Reset(new SpriteSheet(draw.renderer, "systemimage"));
        ASSERT_EQ(sheet->Width(), 256);
    }

    DeviceFixture gpu;
    ScreenDrawFixture draw;
    RefPtr<SpriteSheet> sheet;
};

TEST_F(ScreenDrawersTest, DrawersDescribeTheirVerticesLayerAndTexture) {
    SpriteDrawer sprites(*draw.set, "shadingname", sheet);
    TexturedScreenDrawer textured(*draw.set, "addsat", sheet);
    ColoredScreenDrawer coloured(*draw.set, "shadingname");
    EXPECT_EQ(sprites.VertexSize(), 36);
    EXPECT_EQ(textured.VertexSize(), 20);
    EXPECT_EQ(coloured.VertexSize(), 28);
    EXPECT_STREQ(textured.layerName.Text(), "addsat");
    EXPECT_TRUE(coloured.textures.empty());
    for (const ScreenDrawer* drawer :
         {static_cast<ScreenDrawer*>(&sprites), static_cast<ScreenDrawer*>(&textured)}) {
        ASSERT_EQ(drawer->textures.size(), 1u);
        const MaterialTexture& slot = drawer->textures[0];
        EXPECT_STREQ(slot.slotName.Text(), "Diffuse");
        EXPECT_EQ(slot.texture.Get(), static_cast<TextureBase*>(sheet.Get()));
        EXPECT_EQ(slot.sampler.addressU, TextureAddress::Border);
        EXPECT_EQ(slot.sampler.addressV, TextureAddress::Border);
        EXPECT_EQ(slot.sampler.addressW, TextureAddress::Wrap);
        EXPECT_EQ(slot.sampler.borderColor[3], 0.0f);
        EXPECT_EQ(slot.sampler.minFilter, TextureFilter::None);
    }
    EXPECT_EQ(sprites.layout.Element(0).offset, 0);
    EXPECT_STREQ(sprites.layout.Element(2).name.Text(), "TextureUV");
    EXPECT_EQ(sprites.layout.Element(2).offset, 28);
}

TEST_F(ScreenDrawersTest, QuadBuildsItsOffCornersAndKeysEachTriangleByItsLargestZ) {
    ColoredScreenDrawer coloured(*draw.set, "shadingname");
    coloured.DrawQuad(ColoredVertex{0, 0, 1, 1, 0, 0, 1}, ColoredVertex{10, 20, 3, 0, 0, 1, 0});
    ASSERT_EQ(draw.Commands().CommandCount(), 2);
    // Draw order is descending key: (D, C, B) with key 3 first.
    EXPECT_EQ(draw.Commands().CommandAt(0).key, 3.0f);
    EXPECT_EQ(draw.Commands().CommandAt(1).key, 2.0f);
    EXPECT_EQ(draw.Commands().CommandAt(0).descriptor, &coloured);
    std::vector<ColoredVertex> second = draw.Vertices<ColoredVertex>(0);
    std::vector<ColoredVertex> first = draw.Vertices<ColoredVertex>(1);
    const ColoredVertex a = first[0], c = first[1], d = first[2];
    EXPECT_EQ(a.x, 0.0f);
    EXPECT_EQ(a.z, 1.0f);
    EXPECT_EQ(c.x, 10.0f);
    EXPECT_EQ(c.y, 0.0f);
    EXPECT_EQ(c.z, 2.0f);
    EXPECT_EQ(d.x, 0.0f);
    EXPECT_EQ(d.y, 20.0f);
    EXPECT_EQ(d.z, 2.0f);
    EXPECT_EQ(c.r, 0.5f);
    EXPECT_EQ(c.b, 0.5f);
    EXPECT_EQ(c.a, 0.5f);
    EXPECT_EQ(second[0].y, 20.0f);  // D
    EXPECT_EQ(second[1].x, 10.0f);  // C
    EXPECT_EQ(second[2].x, 10.0f);  // B
    EXPECT_EQ(second[2].y, 20.0f);
}

TEST_F(ScreenDrawersTest, SpriteCornersAndTexelInsets) {
    SpriteDrawer sprites(*draw.set, "shadingname", sheet);
    sprites.DrawSprite("A", Vec3{100, 100, 0}, ScreenColor{1, 0.5f, 0.25f, 1});
    ASSERT_EQ(draw.Commands().CommandCount(), 2);
    std::vector<SpriteVertex> acd = draw.Vertices<SpriteVertex>(0);
    std::vector<SpriteVertex> dcb = draw.Vertices<SpriteVertex>(1);
    EXPECT_EQ(acd[0].x, 84.0f);
    EXPECT_EQ(acd[0].y, 92.0f);
    EXPECT_EQ(acd[0].u, 0.25f);
    EXPECT_EQ(acd[0].v, 0.0f);
    EXPECT_EQ(acd[0].g, 0.5f);
    EXPECT_EQ(dcb[2].x, 116.0f);
    EXPECT_EQ(dcb[2].y, 108.0f);
    EXPECT_FLOAT_EQ(dcb[2].u, 95.5f / 256);
    EXPECT_FLOAT_EQ(dcb[2].v, 15.5f / 256);
    // C takes (B.u, A.v).
    EXPECT_FLOAT_EQ(acd[1].u, 95.5f / 256);
    EXPECT_EQ(acd[1].v, 0.0f);

    TexturedScreenDrawer textured(*draw.set, "shadingname", sheet);
    textured.DrawSpriteScaled("A", Vec3{100, 100, 0}, 2.0f, 1.0f);
    ASSERT_EQ(draw.Commands().CommandCount(), 4);
    // The later-made drawer's commands come first among equal keys.
    std::vector<TexturedVertex> t = draw.Vertices<TexturedVertex>(0);
    EXPECT_EQ(t[0].x, 68.0f);
    EXPECT_FLOAT_EQ(t[0].u, 64.5f / 256);
    EXPECT_FLOAT_EQ(t[0].v, 0.5f / 256);
    std::vector<TexturedVertex> tb = draw.Vertices<TexturedVertex>(1);
    EXPECT_EQ(tb[2].x, 132.0f);
    EXPECT_FLOAT_EQ(tb[2].u, 95.5f / 256);
}

TEST_F(ScreenDrawersTest, SpriteRectTakesEachCornersColourAndMeansTheOthers) {
    SpriteDrawer sprites(*draw.set, "shadingname", sheet);
    sprites.DrawSpriteRect("A", Vec3{0, 0, 0}, ScreenColor{1, 0, 0, 1}, Vec3{64, 32, 0},
                           ScreenColor{0, 0, 1, 0});
    std::vector<SpriteVertex> acd = draw.Vertices<SpriteVertex>(0);
    EXPECT_EQ(acd[0].r, 1.0f);
    EXPECT_EQ(acd[1].r, 0.5f);
    EXPECT_EQ(acd[1].b, 0.5f);
    EXPECT_EQ(acd[1].x, 64.0f);
}

// A name the sheet lacks takes the zero rectangle: a point-sized quad when centred,
// texture coordinates around the origin when stretched. No message.
TEST_F(ScreenDrawersTest, MissingSpriteNameDrawsTheZeroRectangle) {
    SpriteDrawer sprites(*draw.set, "shadingname", sheet);
    TexturedScreenDrawer textured(*draw.set, "shadingname", sheet);
    sprites.DrawSprite("nothing", Vec3{50, 60, 0}, kWhite);
    ASSERT_EQ(draw.Commands().CommandCount(), 2);
    for (const SpriteVertex& v : draw.Vertices<SpriteVertex>(0)) {
        EXPECT_EQ(v.x, 50.0f);
        EXPECT_EQ(v.y, 60.0f);
    }
    draw.Commands().Process();

    sprites.DrawSpriteRect("nothing", Vec3{0, 0, 0}, kWhite, Vec3{8, 8, 0}, kWhite);
    std::vector<SpriteVertex> s = draw.Vertices<SpriteVertex>(0);
    EXPECT_EQ(s[0].u, 0.0f);
    EXPECT_EQ(s[0].v, 0.0f);
    EXPECT_FLOAT_EQ(draw.Vertices<SpriteVertex>(1)[2].u, -0.5f / 256);
    draw.Commands().Process();

    textured.DrawSprite("nothing", Vec3{0, 0, 0}, Vec3{8, 8, 0});
    std::vector<TexturedVertex> t = draw.Vertices<TexturedVertex>(0);
    EXPECT_FLOAT_EQ(t[0].u, 0.5f / 256);
    EXPECT_FLOAT_EQ(t[0].v, 0.5f / 256);
    EXPECT_FLOAT_EQ(draw.Vertices<TexturedVertex>(1)[2].v, -0.5f / 256);
}

// A sheet whose image failed to load has no size, a missing sheet no texture:
// neither draws (no division by zero).
TEST_F(ScreenDrawersTest, SheetWithoutTexelsOrNoSheetDrawsNothing) {
    RefPtr<SpriteSheet> broken(new SpriteSheet(draw.renderer, "broken"));
    EXPECT_EQ(broken->Width(), 0);
    EXPECT_EQ(broken->RectCount(), 1);
    SpriteDrawer sprites(*draw.set, "shadingname", broken);
    TexturedScreenDrawer textured(*draw.set, "shadingname", RefPtr<SpriteSheet>());
    sprites.DrawSprite("A", Vec3{10, 10, 0}, kWhite);
    sprites.DrawSpriteRect("A", Vec3{0, 0, 0}, kWhite, Vec3{8, 8, 0}, kWhite);
    textured.DrawSprite("A", Vec3{0, 0, 0}, Vec3{8, 8, 0});
    textured.DrawSpriteScaled("A", Vec3{10, 10, 0});
    EXPECT_EQ(draw.Commands().CommandCount(), 0);
}

TEST_F(ScreenDrawersTest, DrawerKeepsItsSheetAfterTheOwnerLetsGo) {
    RefPtr<SpriteDrawer> sprites(new SpriteDrawer(*draw.set, "shadingname", sheet));
    Texture* texture = sheet->Inner().Get();
    sheet.Reset();
    ASSERT_TRUE(sprites->Sheet());
    EXPECT_EQ(sprites->Sheet()->Inner().Get(), texture);
    sprites->DrawSprite("A", Vec3{100, 100, 0}, kWhite);
    ASSERT_EQ(draw.Commands().CommandCount(), 2);
    EXPECT_EQ(draw.Vertices<SpriteVertex>(0)[0].u, 0.25f);
}

TEST_F(ScreenDrawersTest, CircleSegmentCounts) {
    struct Case {
        float segments;
        int outlineLines;
        int fanTriangles;
    };
    const Case cases[] = {{4, 4, 3}, {3, 3, 2},    {0.5f, 0, 0}, {1.5f, 1, 0},
                          {2, 2, 1}, {4.7f, 4, 3}, {0, 0, 0}};
    ColoredScreenDrawer coloured(*draw.set, "shadingname");
    for (const Case& c : cases) {
        coloured.DrawCircleOutline(Vec3{0, 0, 0.5f}, c.segments, 10, kWhite);
        EXPECT_EQ(draw.Commands().CommandCount(), c.outlineLines) << c.segments;
        for (int i = 0; i < draw.Commands().CommandCount(); ++i) {
            EXPECT_EQ(draw.Commands().CommandAt(i).type, DrawCommandList::kLine);
            EXPECT_EQ(draw.Commands().CommandAt(i).key, 0.5f);
        }
        draw.Commands().Process();
        coloured.DrawFilledCircle(Vec3{0, 0, 0}, c.segments, 10, kWhite);
        EXPECT_EQ(draw.Commands().CommandCount(), c.fanTriangles) << c.segments;
        draw.Commands().Process();
    }

    // n = 3: the fan's second triangle runs back to its first rim point.
    coloured.DrawFilledCircle(Vec3{100, 100, 0}, 3, 10, kWhite, 0.0f);
    std::vector<ColoredVertex> second = draw.Vertices<ColoredVertex>(1);
    EXPECT_EQ(second[0].x, 110.0f);
    EXPECT_NEAR(second[2].x, 110.0f, 1e-4);
    EXPECT_NEAR(second[2].y, 100.0f, 1e-4);
    // The outline's first segment starts at angle 0.
    draw.Commands().Process();
    coloured.DrawCircleOutline(Vec3{100, 100, 0}, 4, 10, kWhite);
    std::vector<ColoredVertex> line = draw.Vertices<ColoredVertex>(0);
    EXPECT_EQ(line[0].x, 110.0f);
    EXPECT_NEAR(line[1].x, 100.0f, 1e-4);
    EXPECT_NEAR(line[1].y, 110.0f, 1e-4);
}

TEST_F(ScreenDrawersTest, TriangleAndLineKeepTheirVertices) {
    TexturedScreenDrawer textured(*draw.set, "shadingname", sheet);
    const float uv[3][2] = {{0, 0}, {1, 0}, {0, 1}};
    textured.DrawTriangle(Vec3{0, 0, 1}, uv[0], Vec3{10, 0, 5}, uv[1], Vec3{0, 10, 2}, uv[2]);
    ASSERT_EQ(draw.Commands().CommandCount(), 1);
    EXPECT_EQ(draw.Commands().CommandAt(0).key, 5.0f);
    std::vector<TexturedVertex> t = draw.Vertices<TexturedVertex>(0);
    EXPECT_EQ(t[1].u, 1.0f);
    EXPECT_EQ(t[2].v, 1.0f);
    draw.Commands().Process();

    ColoredScreenDrawer coloured(*draw.set, "shadingname");
    coloured.DrawLine(ColoredVertex{0, 0, 2, 1, 1, 1, 1}, ColoredVertex{5, 5, 7, 1, 1, 1, 1});
    coloured.DrawRect(Vec3{0, 0, 0}, kWhite, Vec3{4, 4, 0}, kWhite);
    ASSERT_EQ(draw.Commands().CommandCount(), 3);
    EXPECT_EQ(draw.Commands().CommandAt(0).type, DrawCommandList::kLine);
    EXPECT_EQ(draw.Commands().CommandAt(0).key, 7.0f);
}

}  // namespace
}  // namespace mareldon
