#include "game/render/LightNodes.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/platform/FileSystem.h"
#include "engine/render/scene/ClockNode.h"
#include "game/render/LightFile.h"
#include "tests/engine/render/device/SpyGraphicsDevice.h"
#include "tests/engine/render/draw/TestRenderer.h"
#include "tools/archive/LightFileWriter.h"

namespace mareldon {
namespace {

// A scene root on its own clock under a task that hands down a Renderer; a frame is
// one animation step and one hierarchy draw.
struct LightScene {
    LightScene() {
        top.renderer = MakeTestRenderer(RefPtr<GraphicsDevice>(new SpyGraphicsDevice()));
        top.framePeriod = 1.0f / 60.0f;
        root = new ClockNode(&top, 0, kRootNode);
    }
    const LightList& Frame() {
        root->StepAnimation();
        root->DrawHierarchy();
        return top.renderer->Lights();
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        const LightList& lights = top.renderer->Lights();
        for (int32_t i = 0; i < lights.Count(); ++i)
            names.emplace_back(lights[i].name.Text());
        return names;
    }

    TaskObject top{nullptr, 0};
    ClockNode* root;
};

void ExpectValues(const LightRecord& record, std::vector<float> values) {
    ASSERT_EQ(record.count, int32_t(values.size())) << record.name.Text();
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_NEAR(record.values[i], values[i], 1e-6f * std::max(1.0f, std::fabs(values[i])))
            << record.name.Text() << " value " << i;
}

TEST(LightNodesTest, NodesWithoutKeysPublishTheirValuesEveryFrame) {
    LightScene scene;
    new AmbientLight(scene.root, Vec4{0.1f, 0.2f, 0.3f, 1.0f});
    new SimpleFog(scene.root, 5.0f, 40.0f, Vec4{0.2f, 0.3f, 0.4f, 1.0f});
    auto* light = new DirectionalLight(scene.root, Vec4{0.7f, 0.5f, 0.4f, 1.0f});
    for (int frame = 0; frame < 3; ++frame) {
        const LightList& lights = scene.Frame();
        ASSERT_EQ(lights.Count(), 3);
        ExpectValues(lights[0], {0.1f, 0.2f, 0.3f, 1.0f});
        ExpectValues(lights[1], {5.0f, 40.0f, 0.2f, 0.3f, 0.4f, 1.0f});
        ExpectValues(lights[2], {0.0f, 0.0f, 1.0f, 0.7f, 0.5f, 0.4f, 1.0f});
    }
    EXPECT_EQ(scene.Names(), (std::vector<std::string>{"AmbientLight", "SimpleFog", "DirectionalLight"}));
    EXPECT_EQ(light->colour[0].preMode, 1);
    EXPECT_EQ(light->colour[3].postMode, 1);

    // Disabled either way, a node is silent; the list starts empty every frame.
    light->drawSelf = 0;
    EXPECT_EQ(scene.Frame().Count(), 2);
    light->drawSelf = 1;
    light->nodeDrawSelf = 0;
    EXPECT_EQ(scene.Frame().Count(), 2);
    light->nodeDrawSelf = 1;
    EXPECT_EQ(scene.Frame().Count(), 3);
    delete light;
    EXPECT_EQ(scene.Frame().Count(), 2);
}

// Two directional lights publish one record each, in tree order, pointing along the
// world +z of each: the parent's turn applies too.
TEST(LightNodesTest, DirectionalLightsShineAlongTheirWorldForward) {
    LightScene scene;
    auto* frame = new Object3D(scene.root, 0);
    frame->SetRotation(Vec3{0.0f, 1.5707964f, 0.0f});  // a quarter turn about y
    new DirectionalLight(frame, Vec4{1, 1, 1, 1});
    auto* tilted = new DirectionalSpecularLight(scene.root, Vec4{0.5f, 0.5f, 0.5f, 1});
    tilted->AddRotationKey(0.0f, EulerToQuaternion(0.0f, 0.0f, 0.0f));
    tilted->AddRotationKey(1.0f, EulerToQuaternion(0.0f, 1.5707964f, 0.0f));
    new DirectionalLight(scene.root, Vec4{1, 1, 1, 1});
    const LightList& lights = scene.Frame();
    EXPECT_EQ(scene.Names(),
              (std::vector<std::string>{"DirectionalLight", "DirectionalSpecularLight", "DirectionalLight"}));
    Vec3 turned = frame->GetWorldForward();
    ExpectValues(lights[0], {turned.x, turned.y, turned.z, 1, 1, 1, 1});
    EXPECT_NEAR(std::fabs(lights[0].values[0]), 1.0f, 1e-6f);
    EXPECT_NEAR(lights[0].values[2], 0.0f, 1e-6f);
    ExpectValues(lights[2], {0, 0, 1, 1, 1, 1, 1});
    for (int i = 0; i < 59; ++i)
        scene.Frame();
    // One second on, the rotation track has turned the specular light as far.
    Vec3 forward = tilted->GetWorldForward();
    EXPECT_NEAR(std::fabs(forward.x), 1.0f, 1e-5f);
    EXPECT_NEAR(lights[1].values[0], forward.x, 1e-6f);
}

TEST(LightNodesTest, TracksAreEvaluatedAtTheMotionTime) {
    LightScene scene;
    auto* fog = new SimpleFog(scene.root, 1.0f, 150.0f, Vec4{0.2f, 0.2f, 0.2f, 1.0f});
    fog->farTrack.SetKey(0.0f, 100.0f, 3);
    fog->farTrack.SetKey(1.0f, 50.0f, 3);
    fog->colour[1].SetKey(0.0f, 0.0f, 3);
    fog->colour[1].SetKey(2.0f, 1.0f, 3);
    for (int i = 0; i < 30; ++i)
        scene.Frame();
    EXPECT_NEAR(scene.root->GetMotionTime(), 0.5f, 1e-5f);
    ExpectValues(scene.top.renderer->Lights()[0], {1.0f, 75.0f, 0.2f, 0.25f, 0.2f, 1.0f});
}

// Without a light file: exactly the default set, in order.
TEST(LightNodesTest, MissingFileGivesTheDefaultLights) {
    LightScene scene;
    std::vector<std::unique_ptr<LightTracks>> shadowMaps;
    EXPECT_FALSE(LoadLightFile(scene.root, RefPtr<FileSystem>(), "STAGE_NONE.lights", &shadowMaps));
    const LightList& lights = scene.Frame();
    EXPECT_EQ(scene.Names(), (std::vector<std::string>{"AmbientLight", "DirectionalLight", "DirectionalLight",
                                                       "DirectionalSpecularLight", "SimpleFog"}));
    ExpectValues(lights[0], {0.05f, 0.07f, 0.1f, 1.0f});
    ExpectValues(lights[1], {0, 0, 1, 0.7f, 0.5f, 0.4f, 1.0f});
    ExpectValues(lights[2], {0, 0, 1, 0.6f, 0.4f, 0.6f, 1.0f});
    ExpectValues(lights[3], {0, 0, 1, 1, 1, 1, 1});
    ExpectValues(lights[4], {1.0f, 150.0f, 0.2f, 0.2f, 0.2f, 1.0f});
    EXPECT_TRUE(shadowMaps.empty());
}

// The nodes of a file take all their values from its tracks; shadow-map records come
// back as tracks; damage keeps the nodes before it.
TEST(LightNodesTest, FileRecordsBecomeNodes) {
    LightScene scene;
    std::vector<uint8_t> bytes = MakeSampleLightFile();
    std::vector<std::unique_ptr<LightTracks>> shadowMaps;
    EXPECT_EQ(BuildLightNodes(scene.root, bytes.data(), bytes.size(), "sample.lights", &shadowMaps), 4u);
    ASSERT_EQ(shadowMaps.size(), 1u);
    EXPECT_EQ(shadowMaps[0]->parameters[1].defaultValue, 41.0f);
    const LightList& lights = scene.Frame();
    EXPECT_EQ(scene.Names(), (std::vector<std::string>{"AmbientLight", "DirectionalLight",
                                                       "DirectionalSpecularLight", "SimpleFog"}));
    EXPECT_NEAR(lights[0].values[0], 0.1f + 0.2f / 60.0f, 1e-6f);  // keyed 0.1 to 0.3 over 1 s
    EXPECT_EQ(lights[2].values[3], 1.0f);
    ExpectValues(lights[3], {10.0f, 150.0f - 50.0f / 240.0f, 0.2f, 0.2f, 0.2f, 1.0f});

    // Cut inside the fog record: the three lights before it stay.
    LightScene cut;
    // The shadow-map record ends the sample: 4 + 3 x 16 + 20 + 10 x 16 bytes.
    const size_t shadowBytes = 232;
    EXPECT_EQ(BuildLightNodes(cut.root, bytes.data(), bytes.size() - shadowBytes - 10, "cut.lights", nullptr),
              3u);
    EXPECT_EQ(cut.Frame().Count(), 3);

    LightScene empty;
    EXPECT_EQ(BuildLightNodes(empty.root, bytes.data(), 0, "empty.lights", nullptr), 0u);
    const uint8_t seven[4] = {7, 0, 0, 0};
    EXPECT_EQ(BuildLightNodes(empty.root, seven, 4, "seven.lights", nullptr), 0u);
    EXPECT_EQ(empty.Frame().Count(), 0);
    EXPECT_EQ(empty.root->childCount, 0);
}

}  // namespace
}  // namespace mareldon
