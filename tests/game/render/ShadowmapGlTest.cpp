// The shadow map on the OpenGL backend (offscreen through Mesa): depths drawn as grey
// into the 256x256 render target, what stays out of it, and receivers darkened
// exactly inside a caster's footprint.
#include <cmath>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/Texture.h"
#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/scene/CameraNode.h"
#include "engine/render/scene/ClockNode.h"
#include "game/render/NormalShaderGen.h"
#include "game/render/ShadowmapNode.h"
#include "game/render/SpriteSheet.h"
#include "tests/engine/render/draw/TestRenderer.h"
#include "tests/game/render/GlDrawTest.h"

namespace mareldon {
namespace {

class ShadowmapGlTest : public GlDrawTest {
  protected:
    void SetUp() override {
        ASSERT_NE(MakeDevice(64), nullptr);
        renderer = MakeTestRenderer(DeviceHandle());
        top.renderer = renderer;
        top.framePeriod = 1.0f / 60.0f;
        root = new ClockNode(&top, 0, kRootNode);
        const float* p = ShadowmapNode::kDefaultParameters;
        node = new ShadowmapNode(root, p[0], p[1], p[2], p[3], p[4], p[5], nullptr);
        node->SetPosition(Vec3{0, 20, 0});
        node->SetRotation(Vec3{1.5707964f, 0, 0});
    }
    void TearDown() override {
        delete root;
        root = nullptr;
        node = nullptr;
        top.renderer = RefPtr<Renderer>();
        renderer = RefPtr<Renderer>();
        GlDrawTest::TearDown();
    }

    // A horizontal square at height y, both windings, half-size s around (cx, cz).
    RefPtr<RenderBatch> Plane(float y, float s = 100.0f, float cx = 0.0f, float cz = 0.0f,
                              bool normal = false) {
        RefPtr<RenderBatch> batch(new RenderBatch(0, 0, 0));
        RefPtr<MeshPart> part(new MeshPart());
        part->layout.AddElement(2, "Position");
        if (normal)
            part->layout.AddElement(2, "Normal");
        part->castShadow = 1;
        const float c[4][2] = {{-s, -s}, {s, -s}, {s, s}, {-s, s}};
        const int order[12] = {0, 1, 2, 0, 2, 3, 0, 2, 1, 0, 3, 2};
        std::vector<float> v;
        for (int i : order) {
            v.push_back(cx + c[i][0]);
            v.push_back(y);
            v.push_back(cz + c[i][1]);
        }
        part->geometry =
            device->CreateGeometryBuffer(3, part->layout, device->CreateVertexBuffer(12, 12, v.data(), 0), 0,
                                         12, RefPtr<IndexBuffer>(), 0, 0);
        batch->parts.Add(part);
        return batch;
    }

    // One frame: the lights, then the shadow camera with the batches drawn into it.
    void RenderShadow(const std::vector<RefPtr<RenderBatch>>& batches) {
        root->StepAnimation();
        root->DrawHierarchy();
        node->Camera().Render(root);
        for (const RefPtr<RenderBatch>& batch : batches)
            renderer->DrawView(node->View(), batch);
    }

    // Normal onto the 64 x 64 back buffer, from `height` straight above the origin.
    // Given its size: a default viewport does not mean the whole target.
    RefPtr<RenderView> ViewFromAbove(float height) {
        RefPtr<RenderView> view(new RenderView(
            renderer, RefPtr<TextureBase>(device->ScreenTexture()), RenderView::DefaultClear(),
            RefPtr<ShaderGenBase>(new NormalShaderGen(renderer)), TextureViewport{0, 0, 64, 64, 0.0f, 1.0f}));
        view->SetCamera({0, height, 0}, {0, -1, 0}, {0, 0, 1}, 1.0f, 100.0f, 0.8f, 1.0f, 1.0f);
        return view;
    }
    // The batch drawn over black, and the picture. Cleared through the screen texture,
    // which binds it: the shadow map is still the device's target.
    std::vector<uint32_t> DrawOverBlack(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& batch) {
        ClearRecord clear;
        clear.flags = 3;
        clear.color = 0xFF000000u;
        device->ScreenTexture()->Clear(clear);
        renderer->DrawView(view, batch);
        std::vector<uint32_t> pixels = ReadBack();
        EXPECT_EQ(pixels.size(), size_t(64 * 64));
        pixels.resize(64 * 64);
        return pixels;
    }

    uint32_t ShadowPixel(int x, int y) {
        std::vector<uint32_t> pixels;
        Texture* texture = node->ShadowTexture()->DeviceTexture();
        EXPECT_NE(texture, nullptr);
        if (texture == nullptr || !Gl().ReadPixels(texture->TopSurface(), pixels)) {
            ADD_FAILURE() << "no read " << (texture ? (void*)texture->TopSurface() : nullptr);
            return 0;
        }
        EXPECT_EQ(pixels.size(), size_t(256 * 256));
        return pixels[size_t(y * 256 + x)];
    }

    RefPtr<Renderer> renderer;
    TaskObject top{nullptr, 0};
    ClockNode* root = nullptr;
    ShadowmapNode* node = nullptr;
};

TEST_F(ShadowmapGlTest, DepthIsWrittenAsGrey) {
    EXPECT_EQ(node->ShadowTexture()->Width(), 256);
    EXPECT_EQ(node->ShadowTexture()->Height(), 256);
    {
        ClearRecord c;
        c.flags = 3;
        c.color = 0xFFFFFFFFu;
    }
    for (float depth : {22.0f, 30.0f, 38.0f}) {
        RenderShadow({Plane(20.0f - depth)});
        uint32_t p = ShadowPixel(128, 128);
        const int expected = int(255.0f * (depth - 19.0f) / 22.0f + 0.5f);
        EXPECT_NEAR(int(p & 0xFF), expected, 2) << depth;
        EXPECT_NEAR(int((p >> 8) & 0xFF), expected, 2) << depth;
    }
}

TEST_F(ShadowmapGlTest, UnshadowedLayersAndNonCastersLeaveItWhite) {
    RefPtr<RenderBatch> addsat = Plane(-10.0f);
    addsat->parts[0]->name = "addsat";
    RefPtr<RenderBatch> noCast = Plane(-5.0f);
    noCast->parts[0]->castShadow = 0;
    RefPtr<RenderBatch> noCastUnculled = Plane(-6.0f);
    noCastUnculled->parts[0]->castShadow = 0;
    noCastUnculled->parts[0]->cullSwitch = 1;
    RenderShadow({addsat, noCast, noCastUnculled});
    EXPECT_EQ(ShadowPixel(128, 128) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(ShadowPixel(10, 240) & 0xFFFFFF, 0xFFFFFFu);
}

// A small caster: the map is darker only inside its footprint, and +x of the world
// lies to the right, +z (the camera's up) towards the top row.
TEST_F(ShadowmapGlTest, FootprintLiesWhereTheTextureMatrixSaysAndTopRowFirst) {
    RenderShadow({Plane(0.0f, 1.0f, 3.0f, 3.0f)});
    const Matrix4 t = node->TextureMatrix();
    const float x = 3.0f, z = 3.0f;
    const float u = t[0] * x + t[2] * z + t[3], v = t[4] * x + t[6] * z + t[7];
    const float w = t[12] * x + t[14] * z + t[15];
    const int px = int(256.0f * u / w), py = int(256.0f * v / w);
    EXPECT_GT(px, 128);
    EXPECT_LT(py, 128);
    EXPECT_NE(ShadowPixel(px, py) & 0xFFFFFF, 0xFFFFFFu) << px << "," << py;
    EXPECT_EQ(ShadowPixel(256 - px, py) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(ShadowPixel(px, 256 - py) & 0xFFFFFF, 0xFFFFFFu);
}

// The small caster's shadow on a receiving plane below it, drawn with Normal onto the
// back buffer from straight above: darker by the shadow colour inside the footprint,
// untouched outside.
TEST_F(ShadowmapGlTest, NormalReceiverIsDarkerInsideTheFootprint) {
    RenderShadow({Plane(0.0f, 1.0f, 3.0f, 3.0f)});
    const float ambient[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    renderer->Lights().Add(LightRecord("AmbientLight", 4, ambient));

    RefPtr<RenderView> view = ViewFromAbove(30.0f);
    RefPtr<MeshPart> receiver(new MeshPart());
    receiver->layout.AddElement(2, "Position");
    receiver->layout.AddElement(2, "Normal");
    receiver->cullMode = 0;
    receiver->receiveShadow = 1;
    constexpr float kY = -5.0f;
    const float c[4][2] = {{-6, -6}, {6, -6}, {6, 6}, {-6, 6}};
    std::vector<float> v;
    for (int i : {0, 1, 2, 0, 2, 3})
        v.insert(v.end(), {c[i][0], kY, c[i][1], 0, 1, 0});
    receiver->geometry =
        device->CreateGeometryBuffer(3, receiver->layout, device->CreateVertexBuffer(24, 6, v.data(), 0), 0,
                                     6, RefPtr<IndexBuffer>(), 0, 0);
    RefPtr<RenderBatch> batch(new RenderBatch(0, 0, 0));
    batch->parts.Add(receiver);
    std::vector<uint32_t> pixels = DrawOverBlack(view, batch);
    auto red = [&](float x, float z) {
        const Vec3 ndc = Vec3TransformCoord({x, kY, z}, view->viewProjection);
        const int px = int((ndc.x + 1.0f) * 32.0f), py = int((1.0f - ndc.y) * 32.0f);
        return int((pixels[size_t(py * 64 + px)] >> 16) & 0xFF);
    };
    const int lit = int(255.0f * ambient[0] + 0.5f);
    const int shadowed = lit + int(255.0f * ShadowmapNode::kDefaultColour[0] - 0.5f);
    EXPECT_NEAR(red(3.0f, 3.0f), shadowed, 3);
    for (auto [x, z] : {std::pair{-3.0f, 3.0f}, {3.0f, -3.0f}, {0.0f, 0.0f}, {3.0f, 5.0f}})
        EXPECT_NEAR(red(x, z), lit, 3) << x << "," << z;
}

// A slope facing the light, casting and receiving, with a map of the backdrop's range
// (depth 16 to 26 over 8 bits, 0.14 a unit, bias 0.01), seen from above: no pixel of it
// takes its own shadow, whichever way it faces.
TEST_F(ShadowmapGlTest, ALitSlopeTakesNoShadowFromItself) {
    const float parameters[6] = {16.0f, 26.0f, 0.0f, 0.14f, 0.14f, 0.01f};
    for (int i = 0; i < 6; ++i)
        node->parameters[i].defaultValue = parameters[i];
    const float ambient[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    RefPtr<RenderView> view = ViewFromAbove(6.0f);
    const int lit = int(255.0f * ambient[0] + 0.5f);
    for (float tilt : {30.0f, 60.0f, 67.0f, 70.0f}) {
        for (float heading = 0.0f; heading < 360.0f; heading += 45.0f) {
            const float a = tilt * 0.017453294f, b = heading * 0.017453294f;
            // x across, s down the slope, turned by the heading about y.
            auto at = [&](float x, float s) {
                const Vec3 p{x, s * std::sin(a), s * std::cos(a)};
                return Vec3{p.x * std::cos(b) + p.z * std::sin(b), p.y,
                            p.z * std::cos(b) - p.x * std::sin(b)};
            };
            const Vec3 n{-std::sin(a) * std::sin(b), std::cos(a), -std::sin(a) * std::cos(b)};
            RefPtr<MeshPart> slope(new MeshPart());
            slope->layout.AddElement(2, "Position");
            slope->layout.AddElement(2, "Normal");
            slope->cullMode = 0;
            slope->castShadow = 1;
            slope->receiveShadow = 1;
            const float c[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
            std::vector<float> v;
            for (int i : {0, 1, 2, 0, 2, 3, 0, 2, 1, 0, 3, 2}) {
                const Vec3 p = at(c[i][0], c[i][1]);
                v.insert(v.end(), {p.x, p.y, p.z, n.x, n.y, n.z});
            }
            slope->geometry = device->CreateGeometryBuffer(3, slope->layout,
                                                           device->CreateVertexBuffer(24, 12, v.data(), 0), 0,
                                                           12, RefPtr<IndexBuffer>(), 0, 0);
            RefPtr<RenderBatch> batch(new RenderBatch(0, 0, 0));
            batch->parts.Add(slope);
            RenderShadow({batch});
            renderer->Lights().Add(LightRecord("AmbientLight", 4, ambient));
            std::vector<uint32_t> pixels = DrawOverBlack(view, batch);
            // Samples inside the slope's picture; those on the background (an edge) are
            // left out.
            const int shadowedRed = lit + int(255.0f * ShadowmapNode::kDefaultColour[0] - 0.5f);
            int covered = 0, shadowed = 0;
            for (float x = -0.8f; x <= 0.8f; x += 0.05f) {
                for (float s = -0.8f; s <= 0.8f; s += 0.05f) {
                    const Vec3 ndc = Vec3TransformCoord(at(x, s), view->viewProjection);
                    const int px = int((ndc.x + 1.0f) * 32.0f), py = int((1.0f - ndc.y) * 32.0f);
                    const int red = int((pixels[size_t(py * 64 + px)] >> 16) & 0xFF);
                    covered += std::abs(red - lit) <= 3 ? 1 : 0;
                    shadowed += std::abs(red - shadowedRed) <= 3 ? 1 : 0;
                }
            }
            EXPECT_GT(covered, 900) << "tilt " << tilt << ", heading " << heading;
            EXPECT_EQ(shadowed, 0) << "tilt " << tilt << ", heading " << heading << ": " << shadowed << " of "
                                   << covered + shadowed;
        }
    }
}

}  // namespace
}  // namespace mareldon
