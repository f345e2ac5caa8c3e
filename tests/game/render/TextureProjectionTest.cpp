#include "game/render/TextureProjection.h"

#include <gtest/gtest.h>

#include "engine/render/draw/Renderer.h"
#include "engine/render/scene/ClockNode.h"
#include "tests/engine/render/device/FakeTarget.h"
#include "tests/engine/render/device/SpyGraphicsDevice.h"
#include "tests/engine/render/draw/TestRenderer.h"

namespace mareldon {
namespace {

struct Scene {
    Scene() {
        top.renderer = MakeTestRenderer(RefPtr<GraphicsDevice>(new SpyGraphicsDevice()));
        top.framePeriod = 1.0f / 60.0f;
        root = new ClockNode(&top, 0, kRootNode);
    }
    const LightList& Frame() {
        root->StepAnimation();
        root->DrawHierarchy();
        return top.renderer->Lights();
    }
    TaskObject top{nullptr, 0};
    ClockNode* root;
};

TEST(TextureProjectionTest, PublishesTextureAndMatrixWhileDrawn) {
    Scene scene;
    RefPtr<TextureBase> texture(new FakeTarget(16, 16));
    auto* node = new TextureProjection(scene.root, texture);
    for (int i = 0; i < 16; ++i)
        node->projection[i] = float(i) * 0.5f;
    const LightList& lights = scene.Frame();
    ASSERT_EQ(lights.Count(), 1);
    EXPECT_STREQ(lights[0].name.Text(), "TextureProjection");
    EXPECT_EQ(lights[0].count, 19);
    EXPECT_EQ(lights[0].texture.Get(), texture.Get());
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(lights[0].values[3 + i], float(i) * 0.5f);

    node->drawSelf = 0;
    EXPECT_EQ(scene.Frame().Count(), 0);
    node->drawSelf = 1;
    node->texture = RefPtr<TextureBase>();
    const LightList& empty = scene.Frame();
    ASSERT_EQ(empty.Count(), 1);
    EXPECT_FALSE(empty[0].texture);
}

}  // namespace
}  // namespace mareldon
