#include "engine/render/scene/MeshObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/render/scene/Bone.h"
#include "tests/engine/render/scene/SceneDrawFixture.h"

namespace mareldon {
namespace {

using Log = std::vector<std::string>;

struct MeshObjectTest : ::testing::Test, SceneDrawFixture {
    TestClock* scene = new TestClock(&root, kRootNode);
    RefPtr<RenderView> view = View({0, 0, 0, 0, 0.0f, 0.0f});
};

TEST_F(MeshObjectTest, SubmitDrawsChildrenFirstAndTheFlagsHideWhatTheyGate) {
    auto* parent = new MeshObject(scene, DrawSet(Mesh(false), 3));
    new MeshObject(parent, DrawSet(Mesh(false), 6));
    new MeshObject(parent, RefPtr<RenderBatch>());  // no draw set: nothing at all
    const std::pair<uint8_t, uint8_t> flags[] = {{1, 1}, {0, 1}, {1, 0}, {0, 0}};
    const Log expected[] = {{"draw 2", "draw 1"}, {"draw 2"}, {"draw 1"}, {}};
    for (size_t i = 0; i < 4; ++i) {
        parent->nodeDrawSelf = flags[i].first;
        parent->nodeChildren = flags[i].second;
        target->log.clear();
        scene->DrawHierarchy();
        scene->SubmitTraversal(view);
        EXPECT_EQ(target->log, expected[i]) << i;
    }
}

TEST_F(MeshObjectTest, InstancesGoToTheCollectorUntilTheRendererDrawsIt) {
    RefPtr<MeshData> shared = Mesh(true);
    auto* first = new MeshObject(scene, DrawSet(shared, 48));
    auto* second = new MeshObject(scene, DrawSet(shared, 48));
    ASSERT_TRUE(first->Collector());
    EXPECT_EQ(first->Collector(), second->Collector());
    scene->SubmitTraversal(view);
    EXPECT_TRUE(target->log.empty()) << "collected, not drawn";
    EXPECT_EQ(first->Collector()->InstanceCount(), 2);
    EXPECT_EQ(first->Collector()->Instance(0), first->DrawSet());
    renderer->DrawRegistered(view);
    EXPECT_EQ(target->log, (Log{"draw 2"}));
    EXPECT_EQ(first->Collector()->InstanceCount(), 0);
    delete second;
    EXPECT_EQ(renderer->CollectorUses(0), 1);
    delete first;
    EXPECT_EQ(renderer->CollectorCount(), 0);
}

TEST_F(MeshObjectTest, TheDrawPassFeedsTheBatchMatricesTimeAndParameters) {
    RefPtr<RenderBatch> drawSet = DrawSet(Mesh(false, 0, 1), 3);
    RefPtr<KeyTrack> weight(new KeyTrack());
    weight->SetKey(0.0f, 0.0f, 3);
    weight->SetKey(1.0f, 1.0f, 3);
    RefPtr<KeyTrack> other(new KeyTrack());
    other->defaultValue = 9.0f;
    // Longer than the batch's one parameter: what fits is filled.
    std::vector<ParamTrack> params = {{RefPtr<String>(new String("w")), weight},
                                      {RefPtr<String>(new String("x")), other},
                                      {RefPtr<String>(new String("y")), RefPtr<KeyTrack>()}};
    auto* mesh = new MeshObject(scene, RefPtr<ModelNodeData>(), drawSet, &params);
    EXPECT_EQ(mesh->nodeType, kNodeMesh);
    mesh->SetPosition({1, 2, 3});
    scene->SetMotionTime(0.25f);
    scene->DrawHierarchy();
    ASSERT_EQ(drawSet->parameters.size(), 1u);
    EXPECT_FLOAT_EQ(drawSet->parameters[0], 0.25f);
    EXPECT_EQ(drawSet->time, 0.25f);
    EXPECT_EQ(drawSet->world[3], 1.0f);
    EXPECT_EQ(drawSet->inverseWorld[11], -3.0f);
    EXPECT_FALSE(mesh->IsInverseDirty());
}

TEST_F(MeshObjectTest, BonesWriteTheirPaletteEntryOnlyInsideThePalette) {
    RefPtr<RenderBatch> drawSet = DrawSet(Mesh(false, 2), 3);
    auto* mesh = new MeshObject(scene, drawSet);
    mesh->SetPosition({1, 2, 3});
    mesh->SetRotation({0.3f, 0.7f, -0.2f});
    mesh->SetScale({2, 1, 0.5f});
    // At the mesh's own transform with an identity offset: identity.
    new Bone(mesh, RefPtr<ModelNodeData>(), mesh, 0, Matrix4Identity());
    // Moved 1 up in the mesh, with an offset 5 along x: the origin lands at (5, 1, 0)
    // of mesh space, the offset applied first.
    auto* moved = new Bone(mesh, RefPtr<ModelNodeData>(), mesh, 1,
                           ComposeLocalMatrix(kMaskPosition, {5, 0, 0}, {}, {}, {}, {}));
    moved->SetPosition({0, 1, 0});
    // Outside the palette, or without a mesh: nothing is written.
    new Bone(mesh, RefPtr<ModelNodeData>(), mesh, 2, Matrix4Identity());
    new Bone(mesh, RefPtr<ModelNodeData>(), mesh, -1, Matrix4Identity());
    new Bone(scene, RefPtr<ModelNodeData>(), nullptr, 0, Matrix4Identity());
    Matrix4 marker;
    for (int i = 0; i < 16; ++i)
        marker[i] = 7.0f;
    drawSet->palette[0] = marker;
    drawSet->palette[1] = marker;

    scene->DrawHierarchy();
    EXPECT_LT(MaxDifference(drawSet->palette[0], Matrix4Identity()), 1e-5f);
    const Vec3 origin = Vec3TransformCoord({0, 0, 0}, drawSet->palette[1]);
    EXPECT_NEAR(origin.x, 5.0f, 1e-5f);
    EXPECT_NEAR(origin.y, 1.0f, 1e-5f);
    EXPECT_NEAR(origin.z, 0.0f, 1e-5f);
    EXPECT_EQ(drawSet->palette.size(), 2u);
}

}  // namespace
}  // namespace mareldon
