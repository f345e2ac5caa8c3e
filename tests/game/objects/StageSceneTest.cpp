#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/objects/StageNodes.h"
#include "game/objects/StageWatchers.h"
#include "tests/game/objects/EnemyStageFixture.h"

namespace mareldon {
namespace {

using Node = MbdWriter::Node;
using Kind = StageNodeRegistry::Kind;

std::string Layer(int i) {
    return "e" + std::to_string(i) + ":Layer0";
}

TEST(StageNodeRegistryTest, TheStageObjectsRegisterEachNameOnceAndBossesReplaceTheirStandIns) {
    StageNodeRegistry registry;
    RegisterStageObjects(registry);
    EXPECT_EQ(registry.RefusedCount(), 0);
    EXPECT_GT(registry.Count(Kind::kFrame), 100u);
    EXPECT_EQ(registry.Count(Kind::kBone), 2u);
    EXPECT_NE(registry.defaultLayer, nullptr);
    EXPECT_NE(registry.groupHook, nullptr);
    const size_t frames = registry.Count(Kind::kFrame);
    const size_t layers = registry.Count(Kind::kLayer);
    EXPECT_GT(layers, 100u);
    RegisterStageObjects(registry);
    EXPECT_EQ(size_t(registry.RefusedCount()), frames + 2u + layers)
        << "every second registration is refused";

    auto boss = [](Object3D*, NodeSpawnInfo&) -> Object3D* { return nullptr; };
    EXPECT_FALSE(registry.Add(Kind::kFrame, "Null_JYUUKOU_meR", boss));
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_meR", boss);
    EXPECT_EQ(registry.Find(Kind::kFrame, "Null_JYUUKOU_meR"), boss);
    EXPECT_EQ(registry.Find(Kind::kFrame, "Null_JYUUKOU_me"), nullptr) << "whole names only";
}

TEST(StageSceneTest, FrameNodesBecomeTheObjectsTheirWholeNamesGive) {
    EnemyStageFixture f([](StageModelBuilder& b) {
        using B = StageModelBuilder;
        Node host = b.Box("host:Layer0", 0.5f, 0xE05030,
                          {B::Frame("GP*B07"), B::Frame("bs_Null", {B::Frame("Null_shiroi_hikari_all")}),
                           B::Frame("Null_JYUUKOU_meR"), B::Frame("Null_JYUUKOU_kasaL12"),
                           B::Frame("bs_Null2"), B::Bone("BNba_01_medamaL"), B::Bone("BNother")});
        b.At(host, 0.0f, 0.0f, 0.0f);
        return std::vector<Node>{host, B::Frame("UnderWater"), B::Frame("BoundaryWater"),
                                 B::Frame("Splasher2"), b.Box("scenery:Layer0")};
    });
    f.registry.Add(Kind::kLayer, "host:Layer0", BuildTestLayerEnemy);
    ASSERT_TRUE(f.StartWorld());
    StageScene& scene = f.Scene();
    LayerEnemy* host = f.FindNamed<LayerEnemy>("host:Layer0");
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->groupLetter, 2);
    EXPECT_EQ(host->groupNumber, 7);
    EXPECT_TRUE(scene.sceneRoot->name.Equals("Scene"));
    EXPECT_TRUE(scene.keptTypeFiveNode->name.Equals("CameraMount"));
    ASSERT_NE(scene.underWaterNode, nullptr);
    EXPECT_TRUE(scene.underWaterNode->name.Equals("UnderWater"));
    ASSERT_NE(scene.boundaryWaterNode, nullptr);
    EXPECT_TRUE(scene.boundaryWaterNode->name.Equals("BoundaryWater"));

    struct Expect {
        const char* name;
        bool frameNode;
        uint8_t underFrameNode;
    };
    const Expect expects[] = {
        {"bs_Null", true, 0},
        {"Null_shiroi_hikari_all", true, 1},
        {"Null_JYUUKOU_meR", true, 0},  // a boss node's stand-in
        {"Null_JYUUKOU_kasaL12", true, 0},
        {"bs_Null2", false, 0},
        {"GP*B07", false, 0},
    };
    for (const Expect& e : expects) {
        Object3D* node = f.FindNamed<Object3D>(e.name);
        ASSERT_NE(node, nullptr) << e.name;
        auto* frameNode = dynamic_cast<NullNodeObject*>(node);
        EXPECT_EQ(frameNode != nullptr, e.frameNode) << e.name;
        if (frameNode != nullptr) {
            EXPECT_EQ(frameNode->attached, 1) << e.name;
            EXPECT_EQ(frameNode->parentIsFrameNode, e.underFrameNode) << e.name;
        } else {
            EXPECT_EQ(typeid(*node), typeid(Object3D)) << e.name;
        }
    }
    EXPECT_NE(f.FindNamed<Splasher2>("Splasher2"), nullptr);
    EXPECT_NE(f.FindNamed<EyeBonePart>("BNba_01_medamaL"), nullptr);
    Object3D* otherBone = f.FindNamed<Object3D>("BNother");
    ASSERT_NE(otherBone, nullptr);
    EXPECT_EQ(typeid(*otherBone), typeid(Bone));
    EXPECT_NE(f.FindNamed<StageMeshObject>("scenery:Layer0"), nullptr)
        << "a layer without an entry is scenery";
}

TEST(StageSceneTest, MalformedGroupNodesArePlainNodesAndSetNoGroup) {
    struct Case {
        const char* name;
        uint8_t letter;
        uint8_t number;
    };
    const Case cases[] = {
        {"GP*A01", 1, 1}, {"GP*Z99", 26, 99}, {"GP*C05tail", 3, 5}, {"GP*", 0, 0},    {"GP*A", 0, 0},
        {"GP*A0", 0, 0},  {"GP*a01", 0, 0},   {"GP*[01", 0, 0},     {"GP*@01", 0, 0}, {"GP*A0x", 0, 0},
        {"GP*AB1", 0, 0}, {"GP A01", 0, 0},   {"gp*A01", 0, 0},
    };
    const int count = int(std::size(cases));
    EnemyStageFixture f([&](StageModelBuilder& b) {
        std::vector<Node> nodes;
        for (int i = 0; i < count; ++i) {
            Node host = b.Box(Layer(i), 0.5f, 0xE05030, {StageModelBuilder::Frame(cases[i].name)});
            b.At(host, float(i % 5) - 2.0f, 0.0f, float(i / 5));
            nodes.push_back(host);
        }
        // Under a node that is no enemy the rule has nothing to set.
        nodes.push_back(StageModelBuilder::Frame("holder", {StageModelBuilder::Frame("GP*D04")}));
        return nodes;
    });
    for (int i = 0; i < count; ++i)
        f.registry.Add(Kind::kLayer, Layer(i), BuildTestLayerEnemy);
    ASSERT_TRUE(f.StartWorld());
    f.Step();
    for (int i = 0; i < count; ++i) {
        LayerEnemy* host = f.FindNamed<LayerEnemy>(Layer(i).c_str());
        ASSERT_NE(host, nullptr) << cases[i].name;
        EXPECT_EQ(host->groupLetter, cases[i].letter) << cases[i].name;
        EXPECT_EQ(host->groupNumber, cases[i].number) << cases[i].name;
        Object3D* node = f.FindNamed<Object3D>(cases[i].name);
        ASSERT_NE(node, nullptr) << cases[i].name;
        EXPECT_EQ(typeid(*node), typeid(Object3D)) << cases[i].name;
    }
    EXPECT_NE(f.FindNamed<Object3D>("GP*D04"), nullptr);
}

TEST(StageSceneTest, AControlNodeDrivesItsEnemysFlagsWhateverTheEnemysOwnWindow) {
    EnemyStageFixture f([](StageModelBuilder& b) {
        Node control = StageModelBuilder::Frame("EC_GENERAL");
        b.ScaleKeys(control, 0, {{0.0f, 1.0f}, {1.5f, 0.0f}});
        b.ScaleKeys(control, 1, {{0.0f, 0.0f}, {1.0f, 1.0f}, {2.0f, 0.0f}});
        b.ScaleKeys(control, 2, {{0.0f, 0.0f}, {0.5f, 1.0f}});
        Node host = b.Box("host:Layer0", 0.5f, 0xE05030, {control});
        b.Window(host, 0.0f, 0.0f, 0.0f, 0.0f, 3.0f);
        Node loose = StageModelBuilder::Frame("holder", {StageModelBuilder::Frame("EC_GENERAL")});
        return std::vector<Node>{host, loose};
    });
    f.registry.Add(Kind::kLayer, "host:Layer0", BuildTestLayerEnemy);
    ASSERT_TRUE(f.StartWorld());
    LayerEnemy* host = f.FindNamed<LayerEnemy>("host:Layer0");
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->externallyControlled, 1);
    EXPECT_EQ(f.Find<EnemyControlNode>().size(), 1u) << "the one under a plain node stays plain";

    struct Expect {
        float time;
        uint8_t hittable, active, third;
    };
    const Expect expects[] = {
        {0.25f, 1, 0, 0}, {0.75f, 1, 0, 1}, {1.25f, 1, 1, 1}, {1.75f, 0, 1, 1}, {2.5f, 0, 0, 1}};
    for (const Expect& e : expects) {
        f.StepTo(e.time);
        EXPECT_TRUE(host->IsInActiveWindow()) << e.time;
        EXPECT_EQ(host->hittable, e.hittable) << e.time;
        EXPECT_EQ(host->active, e.active) << e.time;
        EXPECT_EQ(host->thirdControlFlag, e.third) << e.time;
    }
    // Not hittable: no sphere goes into the list.
    EXPECT_FALSE(host->RegisterHitSphere(host->GetWorldPosition(), 1.0f));
}

TEST(StageSceneTest, OnlyTheLastTypeFiveNodeIsKeptAndNoKeptPointerOutlivesItsNode) {
    EnemyStageFixture f(WholeModel{[](StageModelBuilder&) {
        using B = StageModelBuilder;
        // The first mount holds "Scene" and the water; the second replaces it, the
        // third lies inside the second and cannot delete it.
        Node first = B::TypeFive("First", {B::Frame("Scene"), B::Frame("UnderWater")});
        Node second = B::TypeFive("Second", {B::TypeFive("Nested")});
        Node root;
        root.name = kFixtureStage;
        root.type = 0;
        root.endTime = 300.0f;
        root.children = {first, B::Frame("BoundaryWater"), second};
        return root;
    }});
    ASSERT_TRUE(f.StartWorld());
    f.Step();
    StageScene& scene = f.Scene();
    EXPECT_EQ(f.FindNamed<Object3D>("First"), nullptr);
    EXPECT_NE(f.FindNamed<Object3D>("Second"), nullptr);
    ASSERT_NE(scene.keptTypeFiveNode, nullptr);
    EXPECT_TRUE(scene.keptTypeFiveNode->name.Equals("Nested"));
    EXPECT_EQ(scene.sceneRoot, &scene) << "its \"Scene\" went with the first mount";
    EXPECT_EQ(scene.underWaterNode, nullptr);
    ASSERT_NE(scene.boundaryWaterNode, nullptr);
    EXPECT_TRUE(scene.boundaryWaterNode->name.Equals("BoundaryWater"));
}

TEST(StageSceneTest, AModelWithoutSceneOrMountGetsTheSceneInTheirPlace) {
    EnemyStageFixture f(WholeModel{[](StageModelBuilder& b) {
        Node root;
        root.name = kFixtureStage;
        root.type = 0;
        root.endTime = 10.0f;
        root.children = {b.Box("scenery:Layer0")};
        return root;
    }});
    ASSERT_TRUE(f.StartWorld());
    f.Step();
    EXPECT_EQ(f.Scene().sceneRoot, &f.Scene());
    EXPECT_EQ(f.Scene().keptTypeFiveNode, &f.Scene());
}

TEST(StageSceneTest, TheStageClockRunsOnPastTheModelsEnd) {
    EnemyStageFixture f(
        [](StageModelBuilder& b) {
            Node late = b.Box("late:Layer0");
            b.Window(late, 0.0f, 0.0f, 0.0f, 1.5f, 2.0f);
            return std::vector<Node>{late};
        },
        1.0f);
    f.registry.Add(Kind::kLayer, "late:Layer0", BuildTestLayerEnemy);
    ASSERT_TRUE(f.StartWorld());
    f.StepTo(1.75f);
    EXPECT_GT(f.StageTime(), 1.0f);
    LayerEnemy* late = f.FindNamed<LayerEnemy>("late:Layer0");
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(late->active, 1) << "a window after the model's end still opens";
    f.StepTo(2.5f);
    EXPECT_EQ(late->pastWindow, 1);
}

}  // namespace
}  // namespace mareldon

namespace mareldon {
namespace {

// A layer enemy that leaves once its window is over, as the stages' own classes do.
class WindowedEnemy : public LayerEnemy {
  public:
    WindowedEnemy(TaskObject* parent, NodeSpawnInfo& info)
        : LayerEnemy(parent, info, 3.0f, 1.0f, String("BONUS_S")) {}
    bool IsAlive() override { return LayerEnemy::IsAlive() && pastWindow == 0; }
    void OnUpdatePre() override {
        LayerEnemy::OnUpdatePre();
        ++activeSteps;
    }
    int activeSteps = 0;
};

Object3D* BuildWindowed(Object3D* parent, NodeSpawnInfo& info) {
    return new WindowedEnemy(parent, info);
}

std::vector<uint8_t> PlaceholderArchive() {
    MbdWriter writer;
    AddPlaceholderStageData(writer);
    const PlaceholderSoundSlots sounds = AddPlaceholderSounds(writer);
    writer.AddGroup({"SYSTEMSE", sounds.effects, {}, {}});
    writer.AddGroup({"SYSTEMBGM", sounds.tunes, {}, {}});
    return writer.Build();
}

TEST(PlaceholderStageTest, StageHiBindsItsEnemiesAndEachIsActiveInItsWindow) {
    WorldScreenFixture f(PlaceholderArchive());
    f.entry = 2;
    f.plainWorld = true;
    f.musicOn = 0;
    f.Enter(1);
    StageNodeRegistry registry;
    RegisterStageObjects(registry);
    for (const PlaceholderEnemy& enemy : PlaceholderStageHiEnemies())
        registry.Replace(StageNodeRegistry::Kind::kLayer, enemy.layer, BuildWindowed);
    ScopedStageNodeRegistry scope(registry);
    ASSERT_TRUE(f.StartWorld());
    ASSERT_TRUE(f.screen->GetStageEntry()->stageId.Equals("STAGE_HI"));
    TaskObject& world = *f.screen->GetWorldRoot();

    const std::vector<PlaceholderEnemy>& enemies = PlaceholderStageHiEnemies();
    std::vector<WindowedEnemy*> built = FindNodes<WindowedEnemy>(world);
    ASSERT_EQ(built.size(), enemies.size());
    // Besides those of the list: the transforming ship's control node, the train's
    // holder and its ten cars' frame-node objects.
    EXPECT_EQ(FindNodes<EnemyControlNode>(world).size(), 2u);
    EXPECT_EQ(FindNodes<EyeBonePart>(world).size(), 1u);
    // Twelve, and the stage-2 boss's twelve guns (stand-ins here, without the boss classes).
    ASSERT_EQ(FindNodes<NullNodeObject>(world).size(), 12u + 12u);
    // The field's six parts (ground, two blocks, "unseen", "alphaface", "addsat"), the
    // layer under "bs_Null" and the boss's fifteen layers are scenery.
    EXPECT_EQ(FindNodes<StageMeshObject>(world).size(), 7u + 15u);
    size_t gunNodes = 0;
    for (const PlaceholderEnemy& enemy : enemies)
        gunNodes += enemy.guns.size();
    EXPECT_EQ(gunNodes, PlaceholderGunNodeNames().size());

    // Two minutes and a bit: each enemy runs through its whole window, then goes.
    std::vector<int> activeSteps(enemies.size(), 0);
    std::vector<int> shots(enemies.size(), 0);
    size_t seen = f.log.Events().size();
    for (int step = 0; step < 7500; ++step) {
        for (size_t i = 0; i < built.size(); ++i) {
            if (built[i] != nullptr && built[i]->active)
                ++activeSteps[i];
        }
        // The stage's guns fire at the ship: it stays protected, so the stage runs on.
        if (PlayerShip* ship = f.screen->GetPlayer(1))
            ship->SetProtection(1 << 30, 1);
        f.Step();
        // Each shot names its gun node: it counts for the enemy that holds that gun.
        const std::vector<WorldEvent>& events = f.log.Events();
        for (; seen < events.size(); ++seen) {
            if (events[seen].operation != "GunShot")
                continue;
            const std::string gun = events[seen].arguments.substr(0, events[seen].arguments.find(' '));
            for (size_t i = 0; i < enemies.size(); ++i) {
                const std::vector<std::string>& guns = enemies[i].guns;
                if (built[i] != nullptr && std::find(guns.begin(), guns.end(), gun) != guns.end())
                    ++shots[i];
            }
        }
        std::vector<WindowedEnemy*> live = FindNodes<WindowedEnemy>(world);
        for (WindowedEnemy*& enemy : built) {
            if (enemy != nullptr && std::find(live.begin(), live.end(), enemy) == live.end())
                enemy = nullptr;
        }
    }
    for (size_t i = 0; i < enemies.size(); ++i) {
        SCOPED_TRACE(enemies[i].layer);
        EXPECT_EQ(built[i], nullptr) << "gone after its window";
        const float seconds = float(activeSteps[i]) / 60.0f;
        // The control node keeps one enemy inactive for the first half of its window.
        const float expected = i == 4 ? 2.5f : enemies[i].end - enemies[i].start;
        EXPECT_NEAR(seconds, expected, 0.1f);
        EXPECT_GT(shots[i], 0) << "its guns fire in its window";
    }
    EXPECT_EQ(f.log.Count("EnemyRefused"), 0) << "the first wave has gone when the second comes";
}

}  // namespace
}  // namespace mareldon
