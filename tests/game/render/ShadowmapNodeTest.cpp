#include "game/render/ShadowmapNode.h"

#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include <string>

#include "engine/platform/recording/RecordingGpuResources.h"
#include "engine/render/device/Texture.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/scene/CameraNode.h"
#include "engine/render/scene/ClockNode.h"
#include "game/render/SpriteSheet.h"
#include "tests/engine/render/device/DeviceFixture.h"
#include "tests/engine/render/device/SpyGraphicsDevice.h"
#include "tests/engine/render/draw/TestRenderer.h"

namespace mareldon {
namespace {

struct Scene {
    Scene() {
        top.renderer = MakeTestRenderer(RefPtr<GraphicsDevice>(new SpyGraphicsDevice()));
        top.framePeriod = 1.0f / 60.0f;
        root = new ClockNode(&top, 0, kRootNode);
        const float* p = ShadowmapNode::kDefaultParameters;
        node = new ShadowmapNode(root, p[0], p[1], p[2], p[3], p[4], p[5], nullptr);
        // 20 above the origin, looking down.
        node->SetPosition(Vec3{0, 20, 0});
        node->SetRotation(Vec3{float(M_PI / 2), 0, 0});
    }
    const LightList& Frame() {
        root->StepAnimation();
        root->DrawHierarchy();
        return top.renderer->Lights();
    }
    TaskObject top{nullptr, 0};
    ClockNode* root;
    ShadowmapNode* node;
};

Vec4 Transform(const Matrix4& m, const Vec3& p) {
    return {m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3], m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7],
            m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11], m[12] * p.x + m[13] * p.y + m[14] * p.z + m[15]};
}

TEST(ShadowmapNodeTest, PublishesItsRecordWithTheDefaultsEveryFrame) {
    Scene scene;
    for (int frame = 0; frame < 3; ++frame) {
        const LightList& lights = scene.Frame();
        ASSERT_EQ(lights.Count(), 1);
        const LightRecord& r = lights[0];
        EXPECT_STREQ(r.name.Text(), "Shadowmap");
        EXPECT_EQ(r.count, 27);
        EXPECT_EQ(r.texture.Get(), static_cast<TextureBase*>(scene.node->ShadowTexture().Get()));
        EXPECT_EQ(r.values[19], 19.0f);
        EXPECT_EQ(r.values[20], 41.0f);
        EXPECT_EQ(r.values[21], 0.0f);
        EXPECT_EQ(r.values[22], 0.1f);
        const float colour[4] = {-0.1f, -0.08f, -0.08f, 1.0f};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(r.values[23 + i], colour[i]);
        Matrix4 t = scene.node->TextureMatrix();
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(r.values[3 + i], t[i]);
    }
    scene.node->drawSelf = 0;
    EXPECT_EQ(scene.Frame().Count(), 0);
}

// view, projection, scale (0.5, -0.5, 1), translation (0.5, 0.5, 0), in that order:
// u = 0.5 x + 0.5 w, v = -0.5 y + 0.5 w of the clip point.
TEST(ShadowmapNodeTest, TextureMatrixIsViewProjectionScaleTranslation) {
    Scene scene;
    scene.Frame();
    const Matrix4 t = scene.node->TextureMatrix();
    CameraNode& camera = scene.node->Camera();
    const Matrix4 clip = MatrixMultiply(camera.view, camera.projection);
    for (const Vec3& p : {Vec3{0, 0, 0}, Vec3{1, -1, 2}, Vec3{-3, 5, 0.5f}}) {
        Vec4 c = Transform(clip, p);
        Vec4 uv = Transform(t, p);
        EXPECT_NEAR(uv.x, 0.5f * c.x + 0.5f * c.w, 1e-5f);
        EXPECT_NEAR(uv.y, -0.5f * c.y + 0.5f * c.w, 1e-5f);
        EXPECT_NEAR(uv.z, c.z, 1e-5f);
        EXPECT_NEAR(uv.w, c.w, 1e-5f);
    }
    // A point on the camera's axis lands in the middle; parallel depth is (d - near) / (far - near).
    Vec4 centre = Transform(t, Vec3{0, -10, 0});
    EXPECT_NEAR(centre.x, 0.5f * centre.w, 1e-5f);
    EXPECT_NEAR(centre.y, 0.5f * centre.w, 1e-5f);
    EXPECT_NEAR(centre.z / centre.w, (30.0f - 19.0f) / 22.0f, 1e-5f);
    // +x of the world is to the right in the texture, and the camera's up (+z) is its top.
    EXPECT_GT(Transform(t, Vec3{1, 0, 0}).x, centre.x);
    EXPECT_LT(Transform(t, Vec3{0, 0, 1}).y, 0.5f);
}

// A frame drawn before the first step (a screen's first) already carries the light's
// matrix, and a moved node's matrix follows it in the same frame.
TEST(ShadowmapNodeTest, TheRecordFollowsTheNodeWithoutWaitingForAStep) {
    Scene drawnFirst, stepped;
    drawnFirst.root->DrawHierarchy();
    stepped.Frame();
    const LightList& lights = drawnFirst.top.renderer->Lights();
    ASSERT_EQ(lights.Count(), 1);
    const Matrix4 expected = stepped.node->TextureMatrix();
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(lights[0].values[3 + i], expected[i], 1e-6f) << i;
    stepped.node->SetPosition(Vec3{2, 20, 0});
    stepped.top.renderer->Lights().Clear();
    stepped.root->DrawHierarchy();
    Vec4 centre = Transform(stepped.node->TextureMatrix(), Vec3{2, -10, 0});
    EXPECT_NEAR(centre.x, 0.5f * centre.w, 1e-5f);
}

TEST(ShadowmapNodeTest, ShadowViewSkipsUnshadowedLayers) {
    Scene scene;
    const RefPtr<RenderView>& view = scene.node->View();
    EXPECT_EQ(view->defaultGenerator.Get(), static_cast<ShaderGenBase*>(scene.node->Generator().Get()));
    for (const char* layer :
         {"waterface", "alphaface", "addsat", "nonshadeaddsat", "bullet0", "bullet1", "bullet2"}) {
        RenderLayer* found = view->FindLayer(layer);
        ASSERT_NE(found, nullptr) << layer;
        EXPECT_FALSE(found->generator) << layer;
    }
    EXPECT_EQ(view->clear.flags, 3u);
    EXPECT_EQ(view->clear.color, 0xFFFFFFFFu);
}

// Two nodes on the recording device: each draws into a 256x256 target of its own and
// publishes that target, so a receiver of one node's record never samples another
// node's picture. With nothing to cast, each pass still clears its own target white.
TEST(ShadowmapNodeTest, EachNodeDrawsIntoItsOwnTarget) {
    DeviceFixture devices;
    TaskObject top{nullptr, 0};
    top.renderer = MakeTestRenderer(RefPtr<GraphicsDevice>(&devices.Make(), [](GraphicsDevice*) {}));
    top.framePeriod = 1.0f / 60.0f;
    ClockNode* root = new ClockNode(&top, 0, kRootNode);
    const float* p = ShadowmapNode::kDefaultParameters;
    ShadowmapNode* nodes[2] = {new ShadowmapNode(root, p[0], p[1], p[2], p[3], p[4], p[5], nullptr),
                               new ShadowmapNode(root, p[0], p[1], p[2], p[3], p[4], p[5], nullptr)};
    nodes[1]->SetPosition(Vec3{5, 20, 0});
    root->StepAnimation();
    root->DrawHierarchy();
    const LightList& lights = top.renderer->Lights();
    ASSERT_EQ(lights.Count(), 2);

    devices.gpu.ClearCalls();
    Texture* targets[2] = {};
    for (int i = 0; i < 2; ++i) {
        const RefPtr<SpriteSheet>& sheet = nodes[i]->ShadowTexture();
        ASSERT_TRUE(sheet);
        targets[i] = sheet->Inner().Get();
        ASSERT_NE(targets[i], nullptr) << i;
        EXPECT_EQ(sheet->Width(), 256) << i;
        EXPECT_EQ(sheet->Height(), 256) << i;
        EXPECT_TRUE(targets[i]->Flags() & kTextureRenderTarget) << i;
        EXPECT_EQ(lights[i].texture.Get(), static_cast<TextureBase*>(sheet.Get())) << i;
        EXPECT_EQ(nodes[i]->View()->target.Get(), static_cast<TextureBase*>(sheet.Get())) << i;
        nodes[i]->Camera().Render(root);
    }
    ASSERT_NE(targets[0], targets[1]);
    ASSERT_NE(targets[0]->GpuTextureObject(), targets[1]->GpuTextureObject());
    const std::vector<std::string>& calls = devices.gpu.Calls();
    size_t from = 0;
    for (int i = 0; i < 2; ++i) {
        auto* surface = dynamic_cast<RecordingGpuSurface*>(targets[i]->TopSurface());
        ASSERT_NE(surface, nullptr) << i;
        const std::string bind = "SetRenderTarget(#" + std::to_string(surface->Id()) + ",";
        while (from < calls.size() && calls[from].rfind(bind, 0) != 0)
            ++from;
        ASSERT_LT(from, calls.size()) << "pass " << i << " never drew into its target";
        size_t clear = from;
        while (clear < calls.size() && calls[clear].rfind("Clear(", 0) != 0)
            ++clear;
        ASSERT_LT(clear, calls.size()) << i;
        EXPECT_EQ(calls[clear], "Clear(3, 0xFFFFFFFF, 1, 0)") << i;
        uint16_t texel = 0;
        std::memcpy(&texel, surface->Row(0), sizeof texel);
        EXPECT_EQ(texel, 0xFFFFu) << i;
    }
}

}  // namespace
}  // namespace mareldon
