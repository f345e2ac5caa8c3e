#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/RotationTrack.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/scene/CameraNode.h"
#include "game/render/LightNodes.h"
#include "game/render/ShadowmapNode.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tests/game/stage/WorldScreenFixture.h"
#include "tools/archive/LightFileWriter.h"
#include "tools/archive/MbdWriter.h"
#include "tools/archive/PlaceholderSounds.h"
#include "tools/archive/PlaceholderStages.h"

namespace mareldon {
namespace {

template <typename T>
std::vector<T*> ChildrenOf(TaskObject& task) {
    std::vector<T*> found;
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        if (auto* child = dynamic_cast<T*>(static_cast<TaskObject*>(node)))
            found.push_back(child);
    }
    return found;
}

std::vector<TreeNode*> Children(TreeNode& task) {
    std::vector<TreeNode*> found;
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next)
        found.push_back(node);
    return found;
}

// Entry 6 of the stage table, with the stage parts asked for.
std::vector<uint8_t> StageArchive(const StageModelParts& parts) {
    MbdWriter writer;
    for (const char* id : StageModelNames())
        writer.AddModel(id, PlaceholderStageModel(writer, id, parts));
    const PlaceholderSoundSlots sounds = AddPlaceholderSounds(writer);
    writer.AddGroup({"SYSTEMSE", sounds.effects, {}, {}});
    writer.AddGroup({"SYSTEMBGM", sounds.tunes, {}, {}});
    return writer.Build();
}

std::vector<uint8_t> Bytes(const LightTracks& record) {
    ByteWriter out;
    WriteLightRecord(out, record);
    return out.bytes;
}

std::vector<uint8_t> ShadowRecord(float nearValue) {
    LightTracks record;
    record.type = LightFileType::Shadowmap;
    record.parameters[0].defaultValue = nearValue;
    record.transform[1].SetKey(0.0f, 12.0f, 3);
    return Bytes(record);
}

std::vector<uint8_t> AmbientRecord() {
    LightTracks record;
    record.type = LightFileType::Ambient;
    record.colour[0].SetKey(0.0f, 0.3f, 3);
    return Bytes(record);
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> bytes;
    for (const auto& part : parts)
        bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}

std::vector<uint8_t> Word(uint32_t value) {
    return {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
}

class StageFixture : public WorldScreenFixture {
  public:
    explicit StageFixture(const StageModelParts& parts = {}) : WorldScreenFixture(StageArchive(parts)) {
        AddScreen();
    }
    void PutFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        static_cast<MemoryFileSystem*>(root.fileSystem.Get())->files[name] = bytes;
    }
    // The light file of the fixture's stage (entry 6).
    static constexpr const char* kLightFile = "STAGE_HATE.lights";
    Object3D& SceneRoot() { return *screen->GetStageScene()->sceneRoot; }
};

enum Shadow { kKeyless, kKeyedDefault, kFromFile };

struct LightCase {
    const char* name;
    std::optional<std::vector<uint8_t>> file;
    int ambient, directional, specular, fog, shadowMaps;
    Shadow shadow;
    float shadowNear;       // the kept shadow map's first parameter
    float shadowY = 12.0f;  // its height key, when read from the file
};

TEST(StageLightsTest, LightFilesBuildTheirNodesAndTheStageAlwaysHasAShadowMap) {
    const float near = ShadowmapNode::kDefaultParameters[0];
    std::vector<uint8_t> truncated = Join({AmbientRecord(), ShadowRecord(30.0f)});
    truncated.resize(truncated.size() - 40);
    std::vector<uint8_t> hugeCount = AmbientRecord();
    // The first colour track's key count.
    const std::vector<uint8_t> all = Word(0xFFFFFFFFu);
    std::copy(all.begin(), all.end(), hugeCount.begin() + 4 + 12);
    const LightCase cases[] = {
        {"missing", std::nullopt, 1, 2, 1, 1, 1, kKeyless, near},
        {"empty", std::vector<uint8_t>{}, 0, 0, 0, 0, 1, kKeyedDefault, near},
        {"only a shadow map", ShadowRecord(30.0f), 0, 0, 0, 0, 1, kFromFile, 30.0f},
        {"two shadow maps", Join({ShadowRecord(30.0f), ShadowRecord(33.0f)}), 0, 0, 0, 0, 2, kFromFile,
         33.0f},
        {"truncated in the shadow map", truncated, 1, 0, 0, 0, 1, kKeyedDefault, near},
        {"word 7, then an ambient", Join({Word(7), AmbientRecord()}), 1, 0, 0, 0, 1, kKeyedDefault, near},
        {"two ambients", Join({AmbientRecord(), AmbientRecord()}), 2, 0, 0, 0, 1, kKeyedDefault, near},
        {"key count 0xFFFFFFFF", hugeCount, 0, 0, 0, 0, 1, kKeyedDefault, near},
        {"a lone partial word", std::vector<uint8_t>{4, 0}, 0, 0, 0, 0, 1, kKeyedDefault, near},
        {"the placeholder stages' file", PlaceholderStageLightFile(), 1, 1, 0, 1, 1, kFromFile, 12.0f, 20.0f},
    };
    for (const LightCase& c : cases) {
        SCOPED_TRACE(c.name);
        StageFixture f;
        f.plainWorld = true;
        if (c.file)
            f.PutFile(StageFixture::kLightFile, *c.file);
        ASSERT_TRUE(f.StartWorld());
        TaskObject& world = *f.screen->GetWorldRoot();
        EXPECT_EQ(ChildrenOf<AmbientLight>(world).size(), size_t(c.ambient));
        EXPECT_EQ(ChildrenOf<DirectionalLight>(world).size(), size_t(c.directional));
        EXPECT_EQ(ChildrenOf<DirectionalSpecularLight>(world).size(), size_t(c.specular));
        EXPECT_EQ(ChildrenOf<SimpleFog>(world).size(), size_t(c.fog));
        const std::vector<ShadowmapNode*> maps = ChildrenOf<ShadowmapNode>(f.SceneRoot());
        ASSERT_EQ(maps.size(), size_t(c.shadowMaps));
        ShadowmapNode* kept = f.screen->shadowMapNode;
        ASSERT_EQ(kept, maps.back());
        EXPECT_FLOAT_EQ(kept->parameters[0].defaultValue, c.shadowNear);
        switch (c.shadow) {
            case kKeyless:
                EXPECT_EQ(kept->rotationTrack.keyCount, 0);
                for (int axis = 0; axis < 3; ++axis)
                    EXPECT_EQ(kept->tracks[axis].keyCount, 0);
                break;
            case kKeyedDefault: {
                ASSERT_EQ(kept->rotationTrack.keyCount, 1);
                EXPECT_EQ(kept->rotationTrack.keys[0].time, 0.0f);
                const Quaternion q = EulerToQuaternion(-1.6580629f, 0.0f, 0.0f);
                EXPECT_FLOAT_EQ(kept->rotationTrack.keys[0].rotation.x, q.x);
                EXPECT_FLOAT_EQ(kept->rotationTrack.keys[0].rotation.w, q.w);
                const float position[3] = {0.0f, 20.0f, 0.0f};
                for (int axis = 0; axis < 3; ++axis) {
                    ASSERT_EQ(kept->tracks[axis].keyCount, 1);
                    EXPECT_EQ(kept->tracks[axis].keys[0].time, 0.0f);
                    EXPECT_EQ(kept->tracks[axis].keys[0].value, position[axis]);
                }
                break;
            }
            case kFromFile:
                ASSERT_EQ(kept->tracks[1].keyCount, 1);
                EXPECT_EQ(kept->tracks[1].keys[0].value, c.shadowY);
                break;
        }
    }
}

TEST(StageLightsTest, TheDefaultLightsWithoutAFile) {
    StageFixture f;
    f.plainWorld = true;
    ASSERT_TRUE(f.StartWorld());
    TaskObject& world = *f.screen->GetWorldRoot();
    const std::vector<DirectionalLight*> directional = ChildrenOf<DirectionalLight>(world);
    ASSERT_EQ(directional.size(), 2u);
    const float warm[3] = {0.7f, 0.5f, 0.4f};
    const float violet[3] = {0.6f, 0.4f, 0.6f};
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(directional[0]->colour[i].defaultValue, warm[i]);
        EXPECT_FLOAT_EQ(directional[1]->colour[i].defaultValue, violet[i]);
    }
    const std::vector<SimpleFog*> fog = ChildrenOf<SimpleFog>(world);
    ASSERT_EQ(fog.size(), 1u);
    EXPECT_FLOAT_EQ(fog[0]->nearTrack.defaultValue, 1.0f);
    EXPECT_FLOAT_EQ(fog[0]->farTrack.defaultValue, 150.0f);
    EXPECT_FLOAT_EQ(ChildrenOf<AmbientLight>(world)[0]->colour[2].defaultValue, 0.1f);
}

// The generator numbers that draw a shading group through one camera, view by view.
std::vector<int> DrawnBy(GameWorldScreen& screen, CameraNode& camera, const char* group) {
    std::vector<int> numbers;
    for (int32_t v = 0; v < camera.views.Count(); ++v) {
        RenderView& view = *camera.views[v];
        RenderLayer* layer = view.FindLayer(String(group));
        ShaderGenBase* generator = layer != nullptr ? layer->generator.Get() : view.defaultGenerator.Get();
        if (generator == nullptr)
            continue;
        int number = 0;
        for (int n = 1; n <= GameWorldScreen::kGeneratorCount; ++n) {
            if (screen.GetGenerator(n).Get() == generator)
                number = n;
        }
        numbers.push_back(number);
    }
    return numbers;
}

TEST(StageViewsTest, EachCameraDrawsEachGroupWithItsGenerators) {
    StageFixture f;
    f.plainWorld = true;
    ASSERT_TRUE(f.StartWorld());
    GameWorldScreen& s = *f.screen;
    using C = GameWorldScreen::CameraId;
    struct Row {
        C camera;
        const char* group;
        std::vector<int> generators;
    };
    // 1 default, 2 add, 3 alpha, 4 unlit, 5 unlit add, 6 water, 7 scroll, 9 line,
    // 10 light-weight alpha, 11 light-weight add, 12 second light-weight alpha, 13 and
    // 14 light-weight unlit and unlit add.
    const Row rows[] = {
        {C::kScene, "unseen", {}},          {C::kBomb, "unseen", {}},
        {C::kShip, "unseen", {1}},          {C::kWater, "unseen", {}},
        {C::kEffect, "unseen", {}},         {C::kScene, "Layer1", {1}},
        {C::kBomb, "Layer1", {1}},          {C::kShip, "Layer1", {1}},
        {C::kWater, "Layer1", {1}},         {C::kEffect, "Layer1", {10}},
        {C::kScene, "waterface", {6, 3}},   {C::kBomb, "waterface", {6, 3}},
        {C::kWater, "waterface", {}},       {C::kScene, "nonshade", {4}},
        {C::kShip, "nonshade", {13}},       {C::kEffect, "nonshade", {13}},
        {C::kBomb, "nonshadeaddsat2", {5}}, {C::kBomb, "nonshade2", {5}},
        {C::kScene, "3dlines", {1, 9}},     {C::kShip, "alphaface", {12}},
        {C::kShip, "addsat", {11}},         {C::kEffect, "uvscroll8x4", {7}},
        {C::kEffect, "bullet1", {10, 11}},  {C::kEffect, "UScroll8", {13}},
        {C::kWater, "nonshadeaddsat", {5}}, {C::kScene, "zangai2x2", {3}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(int(row.camera)) + " " + row.group);
        ASSERT_NE(s.GetCamera(row.camera), nullptr);
        EXPECT_EQ(DrawnBy(s, *s.GetCamera(row.camera), row.group), row.generators);
    }
    const int viewCounts[5] = {4, 5, 4, 4, 4};
    for (int c = 0; c < 5; ++c) {
        CameraNode& camera = *s.GetCamera(C(c));
        ASSERT_EQ(camera.views.Count(), viewCounts[c]);
        EXPECT_EQ(camera.parent, static_cast<TreeNode*>(s.cameraRig));
        for (int32_t v = 0; v < camera.views.Count(); ++v) {
            const RenderView& view = *camera.views[v];
            EXPECT_EQ(view.clear.flags, 0u);
            const bool water = C(c) == C::kWater;
            EXPECT_EQ(view.viewport.width, water ? 256 : s.screenTarget->Width());
            EXPECT_EQ(view.viewport.height, water ? 256 : s.screenTarget->Height());
            EXPECT_EQ(view.target.Get() == static_cast<TextureBase*>(s.screenTarget.Get()), !water);
        }
    }
    EXPECT_EQ(s.cameraRig->ControllerCount(), 1);
    EXPECT_NE(s.textureProjection, nullptr);
    // The spawn parents come after the model's nodes and the shadow map.
    const std::vector<TreeNode*> children = Children(f.SceneRoot());
    const auto at = [&](TreeNode* node) {
        return std::find(children.begin(), children.end(), node) - children.begin();
    };
    for (TreeNode* parent : {static_cast<TreeNode*>(s.playerShotParent), static_cast<TreeNode*>(s.itemParent),
                             static_cast<TreeNode*>(s.effectParent), static_cast<TreeNode*>(s.underlayParent),
                             static_cast<TreeNode*>(s.bomberParent)})
        EXPECT_LT(at(s.shadowMapNode), at(parent));
}

// One frame's passes: "Render camera subtree" and "Clear target flags".
std::vector<std::string> DrawFrame(StageFixture& f) {
    f.log.Clear();
    f.screen->DrawWorld();
    std::vector<std::string> passes;
    for (const WorldEvent& event : f.log.Events()) {
        if (event.operation == "Render" || event.operation == "Clear")
            passes.push_back(event.operation + " " + event.arguments);
    }
    return passes;
}

TEST(WorldDrawTest, PassesInOrderInLiveAndDemoPlayWithAndWithoutABomb) {
    for (const bool live : {true, false}) {
        SCOPED_TRACE(live ? "live" : "demo");
        StageFixture f;
        f.plainWorld = true;
        f.livePlay = live ? 1 : 0;
        f.Enter(1);
        ASSERT_TRUE(f.StartWorld());
        // Outside live play no ship comes by itself.
        if (!live)
            f.screen->SpawnPlayers(1);
        ASSERT_GE(f.StepUntil([&] { return f.screen->ships[0] != nullptr; }, 20), 0);
        std::vector<std::string> expected = {"Render shadow all"};
        if (live)
            expected.push_back("Clear screen 3");
        expected.insert(expected.end(), {"Render scene all", "Render effect underlay", "Render scene scene",
                                         "Render effect effects", "Render drawset", "Render effect shots"});
        if (live)
            expected.push_back("Render ship ship1");
        expected.push_back("Render effect items");
        EXPECT_EQ(DrawFrame(f), expected);

        f.screen->SetBombActive(true);
        std::vector<std::string> bombed = expected;
        auto scene = std::find(bombed.begin(), bombed.end(), "Render scene all");
        bombed.insert(scene + 1, {"Render bomb bomber", "Clear screen 2"});
        EXPECT_EQ(DrawFrame(f), bombed);
    }
}

TEST(WorldDrawTest, AfterAFrameTheTreeIsWholeAndTheSpawnParentsEndTheScene) {
    StageFixture f;
    f.plainWorld = true;
    f.Enter(3);
    ASSERT_TRUE(f.StartWorld());
    ASSERT_GE(f.StepUntil([&] { return f.screen->ships[0] != nullptr && f.screen->ships[1] != nullptr; }, 20),
              0);
    GameWorldScreen& s = *f.screen;
    TreeNode* sceneParent = s.GetStageScene()->sceneRoot->parent;
    DrawFrame(f);
    EXPECT_EQ(s.GetStageScene()->sceneRoot->parent, sceneParent);
    std::vector<TreeNode*> children = Children(f.SceneRoot());
    ASSERT_GE(children.size(), 7u);
    const std::vector<TreeNode*> tail(children.end() - 7, children.end());
    const std::vector<TreeNode*> expected = {s.underlayParent,   s.effectParent, s.bomberParent,
                                             s.playerShotParent, s.ships[0],     s.ships[1],
                                             s.itemParent};
    EXPECT_EQ(tail, expected);
    // The next frame leaves the order as it is.
    DrawFrame(f);
    children = Children(f.SceneRoot());
    EXPECT_EQ(std::vector<TreeNode*>(children.end() - 7, children.end()), expected);
}

TEST(WorldDrawTest, TheWaterTextureIsDrawnEveryOtherFrame) {
    StageModelParts parts;
    parts.underWater = true;
    StageFixture f(parts);
    f.plainWorld = true;
    f.livePlay = 0;
    ASSERT_TRUE(f.StartWorld());
    ASSERT_NE(f.screen->GetStageScene()->underWaterNode, nullptr);
    GameWorldScreen::ResetWaterParity();
    const std::vector<std::string> head = {"Render shadow all", "Clear water 2"};
    for (int frame = 1; frame <= 4; ++frame) {
        SCOPED_TRACE(frame);
        std::vector<std::string> passes = DrawFrame(f);
        std::vector<std::string> expected = head;
        if (frame % 2 == 1)
            expected.insert(expected.end(), {"Render water all", "Render water underwater"});
        expected.push_back("Render scene all");
        ASSERT_GE(passes.size(), expected.size());
        EXPECT_EQ(std::vector<std::string>(passes.begin(), passes.begin() + long(expected.size())), expected);
    }
    // Put back where it was, as the last child.
    Object3D* underWater = f.screen->GetStageScene()->underWaterNode;
    ASSERT_NE(underWater->parent, nullptr);
    EXPECT_EQ(underWater->parent->firstChild->prev, static_cast<TreeNode*>(underWater));
}

TEST(WorldDrawTest, ABoundaryWaterStageUsesTheWaterPassForItsFirstTwentySeconds) {
    StageModelParts parts;
    parts.boundaryWater = true;
    StageFixture f(parts);
    f.plainWorld = true;
    f.livePlay = 0;
    ASSERT_TRUE(f.StartWorld());
    GameWorldScreen::ResetWaterParity();
    const std::vector<std::string> early = DrawFrame(f);
    ASSERT_GE(early.size(), 4u);
    EXPECT_EQ(early[1], "Clear water 2");
    EXPECT_EQ(early[2], "Render water boundary");
    EXPECT_EQ(early[3], "Render scene all");
    f.screen->GetWorldRoot()->SetMotionTime(20.0f);
    const std::vector<std::string> late = DrawFrame(f);
    ASSERT_GE(late.size(), 2u);
    EXPECT_EQ(late[1], "Render scene all");
}

}  // namespace
}  // namespace mareldon
