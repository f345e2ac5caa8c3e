// The skinned placeholder model drawn by the "Normal" generator on the recording device:
// the bone palette that reaches the vertex constants, with a turned bone inside a
// moved and turned model.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/scene/Bone.h"
#include "engine/render/scene/CameraNode.h"
#include "game/objects/StaticModelPart.h"
#include "game/objects/StaticModelRoot.h"
#include "game/render/NormalShaderGen.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tests/engine/render/device/DeviceFixture.h"
#include "tools/archive/ArchiveFixtures.h"

namespace mareldon {
namespace {

constexpr float kPi = 3.14159265f;

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

class BonePaletteTest : public testing::Test {
  protected:
    void SetUp() override {
        files->files["MARELDON.mbd"] = MakeGameArchive();
        RefPtr<GraphicsDevice> device(&devices.Make(), [](GraphicsDevice*) {});
        renderer.Reset(new Renderer(RefPtr<FileSystem>(files), device, RefPtr<SoundBox>()));
        ASSERT_TRUE(renderer->LoadArchive("MARELDON.mbd"));
        renderer->BuildModels(*device);
        top.renderer = renderer;
        top.framePeriod = 1.0f / 60.0f;
        top.frameRate = 60.0f;
        root = new StaticModelRoot(&top);
        skinned = new StaticModelPart(root, "placeholder_skinned");
        camera = new CameraNode(root, 1.0f, 50.0f, 0.8f, 1.0f, 1.0f);
        camera->SetPosition(Vec3{1.0f, 3.0f, -4.0f});
        camera->SetRotation(Vec3{std::atan2(3.0f, 4.0f), 0.0f, 0.0f});
        view.Reset(new RenderView(
            renderer, RefPtr<TextureBase>(device->ScreenTexture()), RenderView::DefaultClear(),
            RefPtr<ShaderGenBase>(new NormalShaderGen(renderer)), TextureViewport{0, 0, 0, 0, 0.0f, 0.0f}));
        camera->AddView(view);
    }
    void TearDown() override {
        delete root;
        view.Reset();
        top.renderer.Reset();
        renderer.Reset();
    }

    DeviceFixture devices;
    MemoryFileSystem* files = new MemoryFileSystem();
    RefPtr<Renderer> renderer;
    TaskObject top{nullptr, 0};
    StaticModelRoot* root = nullptr;
    StaticModelPart* skinned = nullptr;
    CameraNode* camera = nullptr;
    RefPtr<RenderView> view;
};

TEST_F(BonePaletteTest, ATurnedBoneReachesTheConstantsAsMeshInverseTimesBoneTimesOffset) {
    auto* bone1 = static_cast<Bone*>(FindNode(*skinned, "bone1"));
    ASSERT_NE(bone1, nullptr);
    bone1->ClearTracks();  // at x 1 of bone0, as bound
    bone1->SetRotation(Vec3{0.0f, 0.0f, kPi / 2});
    // The whole model moved and turned: the palette stays in the layer's own space.
    skinned->SetPosition(Vec3{2.0f, -1.0f, 0.5f});
    skinned->SetRotation(Vec3{0.4f, -0.7f, 0.2f});
    root->DrawHierarchy();
    camera->Render(root);

    // Bone1 turned a quarter about z at x 1, its offset taking x 1 back to the origin:
    // inverse(mesh world) . bone world . offset = T(1, 0, 0) . Rz(90) . T(-1, 0, 0),
    // whatever the model's own place. Bone0 sits at the layer's origin: identity. The
    // palette goes out three rows a bone from register 5.
    const float expected[6][4] = {
        {1, 0, 0, 0},  {0, 1, 0, 0},  {0, 0, 1, 0},  // bone0
        {0, -1, 0, 1}, {1, 0, 0, -1}, {0, 0, 1, 0},  // bone1
    };
    for (int row = 0; row < 6; ++row) {
        const float* c = devices.Gpu().VertexConstant(uint32_t(5 + row));
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(c[i], expected[row][i], 1e-5f) << "c" << 5 + row << "[" << i << "]";
    }
    // (2, 0, 0), the bar's tip, lands at (1, 1, 0) of the layer's space.
    const float* x = devices.Gpu().VertexConstant(8);
    const float* y = devices.Gpu().VertexConstant(9);
    EXPECT_NEAR(2 * x[0] + x[3], 1.0f, 1e-5f);
    EXPECT_NEAR(2 * y[0] + y[3], 1.0f, 1e-5f);
}

}  // namespace
}  // namespace mareldon
