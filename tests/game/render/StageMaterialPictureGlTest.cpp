// Stage materials drawn on the OpenGL backend (offscreen through Mesa) and their
// pictures probed where the constants put them.
#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/Texture.h"
#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/scene/CameraNode.h"
#include "game/objects/StaticModelPart.h"
#include "game/objects/StaticModelRoot.h"
#include "game/render/ExpShaderGen.h"
#include "game/render/LightWeightShaderGen.h"
#include "game/render/WaterShaderGen.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tests/engine/render/draw/TestRenderer.h"
#include "tests/game/render/GlDrawTest.h"
#include "tests/game/render/NormalDrawFixture.h"
#include "tools/archive/ArchiveFixtures.h"

namespace mareldon {
namespace {

constexpr int kSize = 64;

class StageMaterialPictureGlTest : public GlDrawTest {
  protected:
    void SetUp() override {
        ASSERT_NE(MakeDevice(kSize), nullptr);
        renderer = MakeTestRenderer(DeviceHandle());
    }
    void TearDown() override {
        renderer = RefPtr<Renderer>();
        GlDrawTest::TearDown();
    }

    // A view of the back buffer, looking along +z from z = -5. Its viewport is given as
    // the size: a default viewport does not mean the whole target.
    RefPtr<RenderView> ScreenView(const RefPtr<ShaderGenBase>& generator) {
        RefPtr<RenderView> view(new RenderView(renderer, RefPtr<TextureBase>(device->ScreenTexture()),
                                               RenderView::DefaultClear(), generator,
                                               TextureViewport{0, 0, kSize, kSize, 0.0f, 1.0f}));
        view->SetCamera({0, 0, -5}, {0, 0, 1}, {0, 1, 0}, 1.0f, 100.0f, 0.8f, 1.0f, 1.0f);
        return view;
    }
    // Through the screen texture, which binds it first.
    void ClearBlack() {
        ClearRecord clear;
        clear.flags = 3;
        clear.color = 0xFF000000u;
        device->ScreenTexture()->Clear(clear);
    }

    // The pixel a point lands on through world and view.
    static std::pair<int, int> PixelOf(const Vec3& p, const Matrix4& world, const RenderView& view) {
        const Vec3 ndc = Vec3TransformCoord(p, MatrixMultiply(world, view.viewProjection));
        return {int((ndc.x + 1.0f) * 0.5f * kSize), int((1.0f - ndc.y) * 0.5f * kSize)};
    }
    static NamedValue Value(const char* name, float value) {
        NamedValue named;
        named.name = name;
        named.track.Reset(new KeyTrack());
        named.track->defaultValue = value;
        return named;
    }

    // A square of half-size s at depth z facing the camera, both windings, with the
    // elements Position and, when uv, TextureUV (0..1 across).
    RefPtr<MeshPart> Square(float s, float z, bool uv) {
        RefPtr<MeshPart> part(new MeshPart());
        part->layout.AddElement(ElementType("Position"), "Position");
        if (uv)
            part->layout.AddElement(ElementType("TextureUV"), "TextureUV");
        part->cullMode = 0;
        const float c[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        std::vector<float> v;
        for (int i : {0, 1, 2, 0, 2, 3}) {
            v.insert(v.end(), {s * c[i][0], s * c[i][1], z});
            if (uv)
                v.insert(v.end(), {(c[i][0] + 1) / 2, (1 - c[i][1]) / 2});
        }
        const uint32_t stride = uv ? 20 : 12;
        part->geometry =
            device->CreateGeometryBuffer(3, part->layout, device->CreateVertexBuffer(stride, 6, v.data(), 0),
                                         0, 6, RefPtr<IndexBuffer>(), 0, 0);
        return part;
    }

    RefPtr<Renderer> renderer;
};

// 16 instances in one draw call: each section k's quad goes
// through its instance's matrix (X16 y = 4k) and takes that instance's alpha (X16
// x = k). White over black shows 1 - t.
TEST_F(StageMaterialPictureGlTest, LightWeightInstancesLandAtTheirMatricesWithTheirAlpha) {
    RefPtr<LightWeightShaderGen> gen(new LightWeightShaderGen(renderer));
    RefPtr<RenderView> view = ScreenView(RefPtr<ShaderGenBase>(gen));
    RefPtr<RenderBatch> batch(new RenderBatch(0, 0, 0));
    batch->instancing = 1;
    RefPtr<MeshPart> part(new MeshPart());
    part->layout.AddElement(ElementType("Position"), "Position");
    part->layout.AddElement(ElementType("X16"), "X16");
    part->cullMode = 0;
    part->values.push_back(Value("Transparency", 0.0f));
    constexpr float kHalf = 0.2f;
    std::vector<float> v;
    for (int k = 0; k < 16; ++k) {
        const float c[4][2] = {{-kHalf, -kHalf}, {kHalf, -kHalf}, {kHalf, kHalf}, {-kHalf, kHalf}};
        for (int i : {0, 1, 2, 0, 2, 3})
            v.insert(v.end(), {c[i][0], c[i][1], 0.0f, float(k), float(4 * k)});
    }
    part->geometry = device->CreateGeometryBuffer(
        3, part->layout, device->CreateVertexBuffer(20, uint32_t(v.size() / 5), v.data(), 0), 0,
        int32_t(v.size() / 5), RefPtr<IndexBuffer>(), 0, 0);
    batch->parts.Add(part);
    // Instance i on a 4 x 4 grid, transparency i / 16.
    std::vector<RefPtr<RenderBatch>> instances;
    for (int i = 0; i < 16; ++i) {
        RefPtr<RenderBatch> instance(new RenderBatch(0, 0, 0));
        instance->world[3] = float(i % 4) - 1.5f;
        instance->world[7] = float(i / 4) - 1.5f;
        RefPtr<MeshPart> own(new MeshPart());
        own->values.push_back(Value("Transparency", float(i) / 16.0f));
        instance->parts.Add(own);
        batch->AppendInstance(instance);
        instances.push_back(instance);
    }
    ClearBlack();
    const uint32_t drawsBefore = device->Statistics()->drawCalls;
    renderer->DrawView(view, batch);
    // The device keeps 256 constants (12 shared registers, 10 per instance): all 16
    // instances in one draw.
    ASSERT_EQ(device->MaxVertexShaderConstants(), 256u);
    EXPECT_EQ(device->Statistics()->drawCalls, drawsBefore + 1);

    std::vector<uint32_t> pixels = ReadBack();
    ASSERT_EQ(pixels.size(), size_t(kSize * kSize));
    for (int i = 0; i < 16; ++i) {
        const auto [x, y] = PixelOf({0, 0, 0}, instances[size_t(i)]->world, *view);
        const uint32_t p = pixels[size_t(y * kSize + x)];
        const int expected = int(255.0f * (1.0f - float(i) / 16.0f) + 0.5f);
        EXPECT_NEAR(int(p & 0xFF), expected, 2) << i << " at " << x << "," << y;
        EXPECT_NEAR(int((p >> 16) & 0xFF), expected, 2) << i;
        // Just outside the quad: background.
        const auto [ox, oy] = PixelOf({kHalf + 0.1f, 0, 0}, instances[size_t(i)]->world, *view);
        EXPECT_EQ(pixels[size_t(oy * kSize + ox)] & 0xFFFFFFu, 0u) << i;
    }
}

// An effect quad behind an opaque one still blends over it: Exp tests no depth.
TEST_F(StageMaterialPictureGlTest, ExpBlendsOverTheSceneRegardlessOfDepth) {
    RefPtr<RenderView> front = ScreenView(RefPtr<ShaderGenBase>(new LightWeightShaderGen(renderer)));
    RefPtr<RenderBatch> opaque(new RenderBatch(0, 0, 0));
    opaque->parts.Add(Square(0.2f, -2.0f, false));
    RefPtr<RenderView> effects = ScreenView(RefPtr<ShaderGenBase>(new ExpShaderGen(renderer)));
    RefPtr<RenderBatch> effect(new RenderBatch(0, 0, 0));
    RefPtr<MeshPart> quad = Square(1.0f, 2.0f, true);
    RefPtr<Texture> red = device->CreateTexture(kTextureSampled, 4, 4);
    ASSERT_TRUE(red);
    // Alpha 0x88 survives a 4-bit alpha texture format unchanged.
    constexpr uint32_t kAlpha = 0x88;
    const std::vector<uint32_t> texels(16, kAlpha << 24 | 0xFF0000u);
    red->Upload(TextureRect{0, 0, 4, 4}, PixelKind::ARGB8888, texels.data());
    quad->textures.resize(1);
    quad->textures[0].texture = RefPtr<TextureBase>(red);
    effect->parts.Add(quad);

    ClearBlack();
    renderer->DrawView(front, opaque);
    renderer->DrawView(effects, effect);
    std::vector<uint32_t> pixels = ReadBack();
    ASSERT_EQ(pixels.size(), size_t(kSize * kSize));
    auto at = [&](const Vec3& p) {
        const auto [x, y] = PixelOf(p, Matrix4Identity(), *front);
        return pixels[size_t(y * kSize + x)];
    };
    // Half red over white in front; half red over black beside the opaque quad.
    const uint32_t over = at({0, 0, -2});
    const int through = 255 - int(kAlpha);
    EXPECT_NEAR(int((over >> 16) & 0xFF), 255, 2);
    EXPECT_NEAR(int((over >> 8) & 0xFF), through, 2);
    EXPECT_NEAR(int(over & 0xFF), through, 2);
    const uint32_t beside = at({0.8f, 0.8f, 2});
    EXPECT_NEAR(int((beside >> 16) & 0xFF), int(kAlpha), 2);
    EXPECT_EQ(beside & 0xFFFFu, 0u);
}

// Water projects the "TextureProjection" texture through the record's matrix, each
// vertex's coordinate moved by twice its normal's x and z; the coordinate's own w (1)
// joins the projection's w. A 2x2 checker over a plane at z 0, seen from the camera.
TEST_F(StageMaterialPictureGlTest, WaterProjectsTheCheckerWhereTheMatrixPutsIt) {
    RefPtr<Texture> checker = device->CreateTexture(kTextureSampled, 2, 2);
    RefPtr<Texture> white = device->CreateTexture(kTextureSampled, 2, 2);
    ASSERT_TRUE(checker && white);
    const uint32_t texels[4] = {0xFFFFFFFFu, 0xFF000000u, 0xFF000000u, 0xFFFFFFFFu};
    checker->Upload(TextureRect{0, 0, 2, 2}, PixelKind::ARGB8888, texels);
    const std::vector<uint32_t> plain(4, 0xFFFFFFFFu);
    white->Upload(TextureRect{0, 0, 2, 2}, PixelKind::ARGB8888, plain.data());
    // World x -1..1 to u 0..1 and y 1..-1 to v 0..1 once divided by w + 1 = 2.
    const Matrix4 t{{1, 0, 0, 1, 0, -1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1}};
    std::vector<float> record(19, 0.0f);
    std::copy(t.m, t.m + 16, record.begin() + 3);
    LightRecord projection("TextureProjection", 19, record.data());
    projection.texture = RefPtr<TextureBase>(checker);
    const float ambient[4] = {1, 1, 1, 1};

    for (float nx : {0.0f, 0.5f}) {
        SCOPED_TRACE(nx);
        renderer->Lights().Clear();
        renderer->Lights().Add(LightRecord("AmbientLight", 4, ambient));
        renderer->Lights().Add(projection);
        RefPtr<RenderView> view = ScreenView(RefPtr<ShaderGenBase>(new WaterShaderGen(renderer)));
        RefPtr<MeshPart> part(new MeshPart());
        part->layout.AddElement(ElementType("Position"), "Position");
        part->layout.AddElement(ElementType("Normal"), "Normal");
        part->layout.AddElement(ElementType("TextureUV"), "TextureUV");
        part->cullMode = 0;
        part->textures.resize(1);
        part->textures[0].texture = RefPtr<TextureBase>(white);
        const float c[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        std::vector<float> v;
        for (int i : {0, 1, 2, 0, 2, 3})
            v.insert(v.end(), {c[i][0], c[i][1], 0, nx, 1, 0, 0, 0});
        part->geometry =
            device->CreateGeometryBuffer(3, part->layout, device->CreateVertexBuffer(32, 6, v.data(), 0), 0,
                                         6, RefPtr<IndexBuffer>(), 0, 0);
        RefPtr<RenderBatch> batch(new RenderBatch(0, 0, 0));
        batch->parts.Add(part);
        ClearBlack();
        renderer->DrawView(view, batch);
        std::vector<uint32_t> pixels = ReadBack();
        ASSERT_EQ(pixels.size(), size_t(kSize * kSize));
        for (float x : {-0.5f, 0.5f}) {
            for (float y : {-0.5f, 0.5f}) {
                const Vec3 p{x, y, 0};
                const float u = (t[0] * x + t[1] * y + t[3] + 2 * nx) / (t[12] * x + t[13] * y + t[15] + 1);
                const float w = (t[4] * x + t[5] * y + t[7]) / (t[12] * x + t[13] * y + t[15] + 1);
                const int texel = (int(u * 2) & 1) + 2 * (int(w * 2) & 1);
                const auto [px, py] = PixelOf(p, Matrix4Identity(), *view);
                EXPECT_EQ(pixels[size_t(py * kSize + px)] & 0xFFFFFFu, texels[texel] & 0xFFFFFFu)
                    << x << "," << y << " u " << u << " v " << w;
            }
        }
    }
}

// The placeholder data's instanced effect quad, bound twice from the game archive: one
// instanced Exp draw puts a checker quad at each binding and nothing between them.
TEST_F(StageMaterialPictureGlTest, PlaceholderEffectDrawsAtEachBinding) {
    RefPtr<MemoryFileSystem> files(new MemoryFileSystem());
    files->files["MARELDON.mbd"] = MakeGameArchive();
    RefPtr<Renderer> game(new Renderer(RefPtr<FileSystem>(files), DeviceHandle(), RefPtr<SoundBox>()));
    ASSERT_TRUE(game->LoadArchive("MARELDON.mbd"));
    game->BuildModels(*device);
    TaskObject top{nullptr, 0};
    top.renderer = game;
    top.framePeriod = 1.0f / 60.0f;
    top.frameRate = 60.0f;
    StaticModelRoot* root = new StaticModelRoot(&top);
    const Vec3 at[2] = {{-1.0f, 0.0f, 0.0f}, {1.0f, 0.5f, 0.0f}};
    for (const Vec3& p : at)
        (new StaticModelPart(root, "placeholder_effect"))->SetPosition(p);
    CameraNode* camera = new CameraNode(root, 1.0f, 50.0f, 0.8f, 1.0f, 1.0f);
    camera->SetPosition(Vec3{0.0f, 0.0f, -5.0f});
    ClearRecord clear;
    clear.flags = 0x3;
    clear.color = 0xFF203050u;
    RefPtr<RenderView> view(new RenderView(game, RefPtr<TextureBase>(device->ScreenTexture()), clear,
                                           RefPtr<ShaderGenBase>(new ExpShaderGen(game)),
                                           TextureViewport{0, 0, 0, 0, 0.0f, 0.0f}));
    camera->AddView(view);
    const uint32_t drawsBefore = device->Statistics()->drawCalls;
    root->StepAnimation();
    root->DrawHierarchy();
    camera->Render(root);
    EXPECT_EQ(device->Statistics()->drawCalls, drawsBefore + 1);

    std::vector<uint32_t> pixels = ReadBack();
    ASSERT_EQ(pixels.size(), size_t(kSize * kSize));
    auto pixel = [&](const Vec3& p) {
        const auto [x, y] = PixelOf(p, Matrix4Identity(), *view);
        return pixels[size_t(y * kSize + x)] & 0xFFFFFFu;
    };
    // A grey between the checker's two (0x55 and 0xDD; minified, they mix).
    for (const Vec3& p : at) {
        for (float d : {-0.3f, 0.3f}) {
            const uint32_t got = pixel({p.x + d, p.y + d, 0});
            const uint32_t grey = got & 0xFF;
            EXPECT_EQ(got, grey * 0x010101u) << std::hex << got;
            EXPECT_TRUE(grey >= 0x55 && grey <= 0xDD) << std::hex << got;
        }
    }
    EXPECT_EQ(pixel({0, 0, 0}), 0x203050u);
    EXPECT_EQ(pixel({-1.0f, 0.9f, 0}), 0x203050u);
    delete root;
    view.Reset();
    top.renderer.Reset();
}

}  // namespace
}  // namespace mareldon
