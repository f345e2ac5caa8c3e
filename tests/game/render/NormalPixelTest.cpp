// The skinned placeholder model drawn by the "Normal" generator on the OpenGL backend
// (offscreen through Mesa), through a camera and one directional light, checked by its
// pixels against what the CPU computes from the same constants and bones.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/scene/Bone.h"
#include "engine/render/scene/CameraNode.h"
#include "game/objects/StaticModelPart.h"
#include "game/objects/StaticModelRoot.h"
#include "game/render/LightNodes.h"
#include "game/render/NormalShaderGen.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tests/game/render/GlDrawTest.h"
#include "tools/archive/ArchiveFixtures.h"

namespace mareldon {
namespace {

constexpr int kSize = 128;
constexpr uint32_t kClear = 0xFF203050u;
constexpr float kPi = 3.14159265f;
const Vec4 kLightColour{0.6f, 0.5f, 0.4f, 1.0f};
constexpr float kEmissive = 0.1f;     // the bar's "Emissive": its ambient, without an ambient light
const int kTexels[2] = {0x55, 0xDD};  // the checker's two greys (ARGB4444 0xF555 and 0xFDDD)

Object3D* FindNode(Object3D& node, const char* name) {
    if (node.name.Equals(name))
        return &node;
    Object3D* found = nullptr;
    node.ForEachChildNode([&](Object3D& child) {
        if (found == nullptr)
            found = FindNode(child, name);
    });
    return found;
}

class NormalPixelTest : public GlDrawTest {
  protected:
    void SetUp() override {
        ASSERT_NE(MakeDevice(kSize), nullptr);
        files->files["MARELDON.mbd"] = MakeGameArchive();
        renderer.Reset(new Renderer(RefPtr<FileSystem>(files), DeviceHandle(), RefPtr<SoundBox>()));
        ASSERT_TRUE(renderer->LoadArchive("MARELDON.mbd"));
        renderer->BuildModels(*device);
        top.renderer = renderer;
        top.framePeriod = 1.0f / 60.0f;
        top.frameRate = 60.0f;

        root = new StaticModelRoot(&top);
        skinned = new StaticModelPart(root, "placeholder_skinned");
        // Above and in front of the bar's middle, looking down at it.
        camera = new CameraNode(root, 1.0f, 50.0f, 0.8f, 1.0f, 1.0f);
        camera->SetPosition(Vec3{1.0f, 3.0f, -4.0f});
        camera->SetRotation(Vec3{std::atan2(3.0f, 4.0f), 0.0f, 0.0f});
        ClearRecord clear;
        clear.flags = 0x3;
        clear.color = kClear;
        clear.z = 1.0f;
        view.Reset(new RenderView(renderer, RefPtr<TextureBase>(device->ScreenTexture()), clear,
                                  RefPtr<ShaderGenBase>(new NormalShaderGen(renderer)),
                                  TextureViewport{0, 0, 0, 0, 0.0f, 0.0f}));  // the whole target
        camera->AddView(view);
        // Shining straight down.
        light = new DirectionalLight(root, kLightColour);
        light->SetRotation(Vec3{kPi / 2, 0.0f, 0.0f});
    }
    void TearDown() override {
        delete root;  // the nodes hold geometry of the device
        view.Reset();
        top.renderer.Reset();
        renderer.Reset();
        GlDrawTest::TearDown();
    }

    void Frame() {
        root->StepAnimation();
        root->DrawHierarchy();
        camera->Render(root);
        pixels = ReadBack();
        ASSERT_EQ(pixels.size(), size_t(kSize * kSize));
    }
    // The pixel a world point lands on, through the view's matrices.
    std::pair<int, int> Project(const Vec3& p) const {
        const Matrix4& m = view->viewProjection;
        float x = m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3];
        float y = m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7];
        float w = m[12] * p.x + m[13] * p.y + m[14] * p.z + m[15];
        return {int(std::floor((x / w + 1.0f) / 2.0f * kSize)),
                int(std::floor((1.0f - y / w) / 2.0f * kSize))};
    }
    uint32_t At(const Vec3& p) const {
        auto [x, y] = Project(p);
        EXPECT_TRUE(x >= 0 && x < kSize && y >= 0 && y < kSize) << x << "," << y;
        return pixels[size_t(std::clamp(y, 0, kSize - 1) * kSize + std::clamp(x, 0, kSize - 1))] & 0xFFFFFFu;
    }
    // Lit colour v0 = ambient + max(0, N . -L) colour, times either checker texel.
    static ::testing::AssertionResult Shaded(uint32_t pixel, float facing) {
        const float v0[3] = {std::min(1.0f, kEmissive + std::max(0.0f, facing) * kLightColour.x),
                             std::min(1.0f, kEmissive + std::max(0.0f, facing) * kLightColour.y),
                             std::min(1.0f, kEmissive + std::max(0.0f, facing) * kLightColour.z)};
        const int got[3] = {int(pixel >> 16 & 0xFF), int(pixel >> 8 & 0xFF), int(pixel & 0xFF)};
        for (int texel : kTexels) {
            bool close = true;
            for (int c = 0; c < 3; ++c)
                close = close && std::abs(got[c] - int(std::lround(v0[c] * float(texel)))) <= 3;
            if (close)
                return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << std::hex << "pixel 0x" << pixel << " is neither texel lit by "
                                             << v0[0] << ", " << v0[1] << ", " << v0[2];
    }

    MemoryFileSystem* files = new MemoryFileSystem();
    RefPtr<Renderer> renderer;
    TaskObject top{nullptr, 0};
    StaticModelRoot* root = nullptr;
    StaticModelPart* skinned = nullptr;
    CameraNode* camera = nullptr;
    DirectionalLight* light = nullptr;
    RefPtr<RenderView> view;
    std::vector<uint32_t> pixels;
};

TEST_F(NormalPixelTest, FacesTowardsAndAwayFromTheLight) {
    Frame();
    const Vec3 down = light->GetWorldForward();
    ASSERT_NEAR(down.y, -1.0f, 1e-6f);
    const LightList& lights = renderer->Lights();
    ASSERT_EQ(lights.Count(), 1);
    EXPECT_NEAR(lights[0].values[1], -1.0f, 1e-6f);
    // Near the middle of bone0's half, which bends nothing: the top faces the light,
    // the front (towards the camera) is lit by the ambient alone.
    EXPECT_TRUE(Shaded(At(Vec3{0.5f, 0.15f, 0.0f}), 1.0f));
    EXPECT_TRUE(Shaded(At(Vec3{0.5f, 0.0f, -0.15f}), 0.0f));
    EXPECT_EQ(At(Vec3{1.0f, -1.0f, 0.0f}), kClear & 0xFFFFFFu);
}

// Bone1 turned a quarter about z: the tip stands where the CPU puts its vertices, and
// the place it left shows the clear colour.
TEST_F(NormalPixelTest, TheBentTipFollowsItsBone) {
    auto* bone1 = static_cast<Bone*>(FindNode(*skinned, "bone1"));
    ASSERT_NE(bone1, nullptr);
    bone1->ClearTracks();  // its position (x 1) stays as bound
    bone1->SetRotation(Vec3{0.0f, 0.0f, kPi / 2});
    Frame();
    // A vertex of the tip in the layer's space, through the bone: world = bone1 world .
    // offset . p (the layer and the model sit at the origin).
    auto skin = [&](const Vec3& p) {
        return Vec3TransformCoord(Vec3TransformCoord(p, bone1->offset), bone1->GetWorldMatrix());
    };
    const Vec3 tipTop = skin(Vec3{1.75f, 0.15f, 0.0f});
    EXPECT_NEAR(std::fabs(tipTop.y), 0.75f, 1e-5f);
    EXPECT_NEAR(tipTop.x, 1.0f - 0.15f * (tipTop.y > 0 ? 1.0f : -1.0f), 1e-5f);
    for (float along : {1.3f, 1.6f, 1.9f}) {
        const Vec3 side = skin(Vec3{along, 0.0f, -0.15f});  // the front side, turned
        EXPECT_NE(At(side), kClear & 0xFFFFFFu) << along;
    }
    for (float along : {1.6f, 1.9f})
        EXPECT_EQ(At(Vec3{along, 0.0f, 0.0f}), kClear & 0xFFFFFFu) << along;
    // Bone0's half stays.
    EXPECT_TRUE(Shaded(At(Vec3{0.5f, 0.15f, 0.0f}), 1.0f));
}

}  // namespace
}  // namespace mareldon
