#include "game/stage/StaticModelPart.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/scene/MeshObject.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/engine/render/scene/ArchiveSceneFixture.h"
#include "tools/archive/ArchiveFixtures.h"

namespace mareldon {
namespace {

Object3D* Child(Object3D& node, int index) {
    Object3D* found = nullptr;
    int at = 0;
    node.ForEachChildNode([&](Object3D& child) {
        if (at++ == index)
            found = &child;
    });
    return found;
}

TEST(StaticModelRootTest, OwnsTheClockAndTimeScaleOfItsSubtree) {
    SceneTestRoot top;
    StaticModelRoot root(&top);
    EXPECT_EQ(root.nodeType, kNodeSceneRoot);
    EXPECT_EQ(root.motionRoot, &root);
    EXPECT_EQ(root.timeScaleOwner, &root);
    EXPECT_EQ(root.clock.end, 0.0f);
    StaticModelPart part(&root);
    EXPECT_EQ(part.motionRoot, &part);
    EXPECT_EQ(part.timeScaleOwner, &root);
    for (int i = 0; i < 60; ++i)
        root.StepAnimation();
    EXPECT_NEAR(root.GetMotionTime(), 1.0f, 1e-6f);
    EXPECT_NEAR(part.GetMotionTime(), 1.0f, 1e-6f) << "runs on past its end of 0";
    root.timeScale = 0.5f;
    for (int i = 0; i < 60; ++i)
        root.StepAnimation();
    EXPECT_NEAR(root.GetMotionTime(), 1.5f, 1e-5f);
    EXPECT_NEAR(part.GetMotionTime(), 1.5f, 1e-5f);
    EXPECT_EQ(MaxDifference(root.GetWorldMatrix(), Matrix4Identity()), 0.0f);
    EXPECT_FALSE(root.IsWorldDirty());
}

struct StaticModelPartTest : ::testing::Test, ArchiveSceneFixture {
    StaticModelPartTest() : ArchiveSceneFixture(MakeGameArchive()) { EXPECT_TRUE(loaded); }
};

TEST_F(StaticModelPartTest, BindsTheNamedModelAndTurnsWithItsClock) {
    StaticModelRoot scene(&root);
    StaticModelPart cube(&scene, "placeholder_cube");
    EXPECT_EQ(cube.name, "placeholder_cube");
    EXPECT_EQ(cube.clock.end, 4.0f);
    Object3D* spin = Child(cube, 0);
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->name, "spin");
    auto* layer = dynamic_cast<MeshObject*>(Child(*spin, 0));
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->name, "placeholder_cube:Layer1");
    const MeshPart& part = *layer->DrawSet()->parts[0];
    EXPECT_EQ(part.radius, 1.8f);
    EXPECT_EQ(part.cullMode, 2);
    EXPECT_EQ(part.receiveShadow, 1);
    EXPECT_TRUE(part.textures[0].texture);
    EXPECT_EQ(part.geometry->PrimitiveCount(), 12);

    EXPECT_FLOAT_EQ(spin->GetRotation().x, 0.4f);
    for (int i = 0; i < 60; ++i)
        scene.StepAnimation();
    EXPECT_NEAR(spin->GetRotation().y, float(M_PI / 2), 1e-4f);
    // Past the model's end the clock runs on and the turn cycles.
    for (int i = 0; i < 240; ++i)
        scene.StepAnimation();
    EXPECT_NEAR(cube.GetMotionTime(), 5.0f, 1e-4f);
    EXPECT_NEAR(spin->GetRotation().y, float(M_PI / 2), 1e-3f);
}

TEST_F(StaticModelPartTest, AMissingNameBindsTheEmptyFirstModel) {
    StaticModelPart part(&root, "no such model");
    EXPECT_EQ(part.name, "placeholder_empty");
    EXPECT_EQ(part.childCount, 0);
    EXPECT_EQ(part.clock.end, 1.0f);
    // Without a renderer there is nothing to bind.
    SceneTestRoot bare;
    StaticModelPart unbound(&bare, "placeholder_cube");
    EXPECT_EQ(unbound.childCount, 0);
}

TEST_F(StaticModelPartTest, AStageObjectKeepsItsScreenAndStandsWhereItIsPut) {
    StaticModelRoot scene(&root);
    int storage = 0;
    auto* screen = reinterpret_cast<GameWorldScreen*>(&storage);  // only compared, never used
    StaticModelPart cube(&scene, screen, {1.0f, 2.0f, -3.0f}, "placeholder_cube");
    EXPECT_EQ(cube.screen, screen);
    EXPECT_EQ(cube.name, "placeholder_cube");
    EXPECT_EQ(cube.clock.end, 4.0f);
    Vec3 at = cube.GetWorldPosition();
    EXPECT_EQ(at.x, 1.0f);
    EXPECT_EQ(at.y, 2.0f);
    EXPECT_EQ(at.z, -3.0f);
    StaticModelPart plain(&scene);
    EXPECT_EQ(plain.screen, nullptr);
}

}  // namespace
}  // namespace mareldon
