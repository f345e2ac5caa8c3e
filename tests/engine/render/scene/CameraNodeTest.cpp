#include "engine/render/scene/CameraNode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/render/scene/MeshObject.h"
#include "tests/engine/render/scene/SceneDrawFixture.h"

namespace mareldon {
namespace {

using Log = std::vector<std::string>;

struct CameraNodeTest : ::testing::Test, SceneDrawFixture {
    TestClock* scene = new TestClock(&root, kRootNode);
    CameraNode* camera = new CameraNode(scene, 1.0f, 100.0f, 0.8f, 4.0f / 3.0f, 1.0f);

    CameraNodeTest() { camera->SetPosition({0, 0, -6}); }
};

TEST_F(CameraNodeTest, EachViewGetsItsViewportClearAndSubmitPassWithStatesRestored) {
    new MeshObject(scene, DrawSet(Mesh(false), 3));
    // Two instances of one mesh: 16 sections of 3 vertices, one per instance.
    RefPtr<MeshData> shared = Mesh(true);
    auto* first = new MeshObject(scene, RefPtr<ModelNodeData>(), DrawSet(shared, 48));
    auto* second = new MeshObject(scene, RefPtr<ModelNodeData>(), DrawSet(shared, 48));
    ASSERT_EQ(first->Collector(), second->Collector());
    RefPtr<RenderView> left = View({0, 0, 240, 320, 0.0f, 1.0f});
    RefPtr<RenderView> right = View({240, 320, 240, 320, 0.0f, 1.0f});
    camera->AddView(left);
    camera->AddView(right);
    const RenderStateBlock before = *dx.GetRenderStateBlock();

    camera->Render();
    EXPECT_EQ(target->log,
              (Log{"viewport 0 0 240 320", "clear 3", "draw 1", "draw 2", "viewport 0 0 480 640",
                   "viewport 240 320 240 320", "clear 3", "draw 1", "draw 2", "viewport 0 0 480 640"}));
    // The collector was drawn once per view with both instances, and emptied.
    EXPECT_EQ(generator->instancePasses, (std::vector<int32_t>{2, 2}));
    EXPECT_EQ(first->Collector()->InstanceCount(), 0);
    const RenderStateBlock after = *dx.GetRenderStateBlock();
    EXPECT_EQ(after.destBlend, before.destBlend);
    EXPECT_EQ(after.zWrite, before.zWrite);
    // Each view looks from the camera at the scene.
    EXPECT_FLOAT_EQ(right->direction.z, 1.0f);
    EXPECT_FLOAT_EQ(right->view[11], 6.0f);
    EXPECT_EQ(right->fov, 0.8f);
}

TEST_F(CameraNodeTest, RendersOnlyTheGivenRoot) {
    auto* inside = new TestClock(scene);
    new MeshObject(inside, DrawSet(Mesh(false), 3));
    new MeshObject(scene, DrawSet(Mesh(false), 6));
    camera->AddView(View({0, 0, 0, 0, 0.0f, 0.0f}));
    camera->Render(inside);
    EXPECT_EQ(target->log, (Log{"viewport 0 0 480 640", "clear 3", "draw 1", "viewport 0 0 480 640"}));
}

TEST_F(CameraNodeTest, ACameraNotDrawingItselfRendersNothing) {
    new MeshObject(scene, DrawSet(Mesh(false), 3));
    camera->AddView(View({0, 0, 0, 0, 0.0f, 0.0f}));
    camera->nodeDrawSelf = 0;
    fixture.gpu.ClearCalls();
    camera->Render();
    EXPECT_TRUE(fixture.gpu.Calls().empty());
    EXPECT_TRUE(target->log.empty());
}

TEST_F(CameraNodeTest, AnimateBuildsItsMatricesAndTheFieldOfViewFollowsItsTrack) {
    scene->StepAnimation();
    EXPECT_EQ(camera->fov, 0.8f) << "no keys: the constructor's";
    EXPECT_FLOAT_EQ(camera->projection[5], 1.0f / std::tan(0.4f));
    EXPECT_FLOAT_EQ(camera->projection[0], 4.0f / 3.0f / std::tan(0.4f));
    EXPECT_FLOAT_EQ(camera->view[11], 6.0f) << "the eye 6 units behind the origin";

    camera->fovTrack.SetKey(0.0f, 0.5f, 3);
    camera->fovTrack.SetKey(1.0f, 1.0f, 3);
    scene->SetMotionTime(0.5f);
    camera->Animate();
    EXPECT_FLOAT_EQ(camera->fov, 0.75f);
    EXPECT_FLOAT_EQ(camera->projection[5], 1.0f / std::tan(0.375f));
    EXPECT_EQ(camera->nodeType, kNodeCamera);
    EXPECT_EQ(camera->priority, -1);
}

}  // namespace
}  // namespace mareldon
