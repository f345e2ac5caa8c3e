#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "game/objects/DeathReactions.h"
#include "game/objects/Destroyer.h"
#include "game/objects/GunshipEnemies.h"
#include "game/objects/LensTurret.h"
#include "game/objects/StageLayers.h"
#include "game/stage/EffectLayers.h"
#include "tests/game/objects/GunStageFixture.h"
#include "tools/archive/PlaceholderGunships.h"

namespace mareldon {
namespace {

using Node = MbdWriter::Node;
using V = std::vector<std::string>;

AttackVector Damage(float amount) {
    AttackVector attack;
    attack.values[0] = amount;
    return attack;
}

// The kill's events since the last clear: operation and first argument; the random
// explosion sound as "PlaySe R".
V Reactions(const WorldEventLog& log) {
    static const std::set<std::string> kShown = {"SpawnItem",     "SpawnEffect",    "CreateUvScrollObject",
                                                 "Emitter",       "NodeEmitter",    "PlaySe",
                                                 "CancelBullets", "FireEnemyBullet"};
    V out;
    for (const WorldEvent& event : log.Events()) {
        if (kShown.count(event.operation) == 0)
            continue;
        std::string first = event.arguments.substr(0, event.arguments.find(' '));
        if (event.operation == "Emitter" || event.operation == "NodeEmitter")
            first = event.arguments;
        // Each bullet's muzzle flash is the bullets' business.
        if (first == "TEKIDAN_HATSYA01")
            continue;
        if (event.operation == "PlaySe" && (first == "2" || first == "3"))
            first = "R";
        out.push_back(first.empty() ? event.operation : event.operation + " " + first);
    }
    return out;
}

// The gunship layers, each at rest in the upper half of the view, on the stage played.
const char* const kShips[] = {"sa_07hikoutei_gray:Layer0",
                              "sa_09light_fighter:Layer0",
                              "mg_02hover3:Layer0",
                              "sa_10zenbiyoku:Layer0",
                              "eg_houdai_kari02_:Layer1",
                              "sa_06hikoutei_ao:Layer0",
                              "sa_itemC:Layer0",
                              "t_fukuyou:Layer0",
                              "ma_17kuzira_yusouki:Layer0",
                              "ma_11large_wing:Layer0",
                              "ma_14enban:Layer0",
                              "bs4_t:Layer6",
                              "bs4_t:Layer14",
                              "bs4_t:Layer5",
                              "sg_10tank_isekiE:Layer0",
                              "mg_07tankisekiC:Layer0",
                              "t_niren:Layer0",
                              "sg_05tankA:Layer0",
                              "sa_15sinkuukan:Layer0",
                              "mg_11porvik:Layer0",
                              "sa_13ougon_jet:Layer0",
                              "sa_16goma:Layer0",
                              "STAGE_TEN:Layer17",
                              "STAGE_TEN:Layer4",
                              "lg_03soudou_bigfighter:Layer0"};

// All gunships in two rows across the upper view (about 48 pixels a unit), plus whatever
// the test adds.
EnemyStageFixture* MakeShips(const std::function<void(StageModelBuilder&, std::vector<Node>&)>& extra = {}) {
    WholeModel model{[extra](StageModelBuilder& b) {
        std::vector<Node> nodes;
        int i = 0;
        for (const char* name : kShips) {
            Node ship = b.Box(name, 0.4f);
            b.At(ship, -4.5f + 0.75f * float(i % 13), 0.0f, 5.0f - 1.5f * float(i / 13));
            nodes.push_back(ship);
            ++i;
        }
        if (extra)
            extra(b, nodes);
        return b.Stage(kFixtureStage, nodes, 300.0f, 25.0f);
    }};
    // The muzzle flash every bullet shows, so the flashes end.
    model.extra = [](MbdWriter& writer) {
        writer.AddModel("TEKIDAN_HATSYA01", QuadModel(writer, "TEKIDAN_HATSYA01", 0.25f, 0.25f));
    };
    return new EnemyStageFixture(model);
}

// Goes through "nextstage" until the world plays `stage`, as the gun fixture does.
bool ReachStage(EnemyStageFixture& f, int32_t stage) {
    if (!f.StartWorld())
        return false;
    while (f.system->GetPlayingStage() < stage) {
        SceneTask* before = f.system->GetCurrentScene();
        before->RequestSuccessor(String("nextstage"));
        if (f.StepUntil([&] { return f.system->GetCurrentScene() != before; }, 20) < 0)
            return false;
        f.screenGone = false;
        if (f.StepUntil([&] { return f.screenGone; }, 200) < 0)
            return false;
        f.system->GetCurrentScene()->RequestSuccessor(String(""));
        if (f.StepUntil(
                [&] { return dynamic_cast<GameWorldScreen*>(f.system->GetCurrentScene()) != nullptr; }, 20) <
            0)
            return false;
    }
    return f.system->GetPlayingStage() == stage;
}

struct ShipCase {
    const char* name;
    std::function<bool(Enemy*)> isClass;
    float durability[2];  // stage 1, other stages
    int32_t guns[2];
    int32_t shots[2];  // the first gun's shots a volley (0: not checked)
};

template <typename T>
std::function<bool(Enemy*)> Is() {
    return [](Enemy* e) { return dynamic_cast<T*>(e) != nullptr; };
}

// Difficulty 3 throughout (the world fixture's).
const ShipCase kCases[] = {
    {"sa_07hikoutei_gray:Layer0", Is<SmallCraftEnemy>(), {5, 5}, {1, 1}, {1, 2}},
    {"sa_09light_fighter:Layer0", Is<SmallCraftEnemy>(), {10, 10}, {0, 0}, {0, 0}},
    {"mg_02hover3:Layer0", Is<SmallCraftEnemy>(), {10, 10}, {1, 1}, {1, 2}},
    {"eg_houdai_kari02_:Layer1", Is<HoudaiKariEnemy>(), {10, 10}, {1, 1}, {2, 2}},
    {"sa_06hikoutei_ao:Layer0", Is<HikouteiAoEnemy>(), {10, 10}, {1, 1}, {1, 6}},
    {"sa_itemC:Layer0", Is<ItemCEnemy>(), {10, 10}, {1, 2}, {10, 10}},
    {"t_fukuyou:Layer0", Is<FukuyouEnemy>(), {1, 1}, {1, 1}, {2, 2}},
    {"ma_17kuzira_yusouki:Layer0", Is<KuziraYusoukiEnemy>(), {60, 100}, {3, 3}, {10, 10}},
    {"ma_11large_wing:Layer0", Is<LargeWingEnemy>(), {220, 220}, {1, 1}, {20, 20}},
    {"ma_14enban:Layer0", Is<EnbanEnemy>(), {20, 20}, {1, 1}, {1, 3}},
    {"bs4_t:Layer14", Is<Bs4tLayer14Enemy>(), {30, 30}, {1, 1}, {20, 20}},
    {"sg_10tank_isekiE:Layer0", Is<TankIsekiEEnemy>(), {15, 15}, {1, 1}, {2, 2}},
    {"t_niren:Layer0", Is<NirenEnemy>(), {60, 60}, {2, 2}, {8, 16}},
    {"sg_05tankA:Layer0", Is<TankABEnemy>(), {17.5f, 17.5f}, {1, 1}, {2, 1}},
    {"mg_11porvik:Layer0", Is<PorvikTankEnemy>(), {70, 70}, {3, 3}, {10, 10}},
    {"sa_13ougon_jet:Layer0", Is<OugonJetEnemy>(), {180, 180}, {3, 3}, {1000, 1000}},
    {"sa_16goma:Layer0", Is<GomaEnemy>(), {5, 5}, {1, 1}, {2, 2}},
    {"STAGE_TEN:Layer4", Is<StageTenLayer4Enemy>(), {700, 700}, {1, 1}, {30, 30}},
    {"lg_03soudou_bigfighter:Layer0", Is<BigFighterEnemy>(), {600, 600}, {0, 0}, {0, 0}},
};

class GunshipStageTest : public ::testing::TestWithParam<int32_t> {};

TEST_P(GunshipStageTest, EachLayerBuildsItsClassGunsAndVolleysForTheStagePlayed) {
    const int32_t stage = GetParam();
    const int column = stage == 1 ? 0 : 1;
    std::unique_ptr<EnemyStageFixture> f(MakeShips());
    ASSERT_TRUE(ReachStage(*f, stage));
    f->Step();
    for (const ShipCase& c : kCases) {
        SCOPED_TRACE(std::string(c.name) + " on stage " + std::to_string(stage));
        auto* ship = f->FindNamed<GunshipEnemy>(c.name);
        ASSERT_NE(ship, nullptr);
        EXPECT_TRUE(c.isClass(ship));
        EXPECT_EQ(ship->durability, c.durability[column]);
        EXPECT_EQ(ship->GunCount(), c.guns[column]);
        if (c.shots[column] != 0 && ship->guns[0] != nullptr) {
            EXPECT_EQ(ship->guns[0]->ShotsPerVolley(), c.shots[column]);
        }
    }

    // Every armed ship fires within 450 steps; the stage decides the extra bullets.
    f->log.Clear();
    for (int i = 0; i < 450; ++i)
        f->Step();
    const auto shots = ShotsByGun(f->log);
    for (const ShipCase& c : kCases) {
        const bool fired = shots.count(c.name) > 0;
        EXPECT_EQ(fired, c.guns[column] > 0) << c.name << " on stage " << stage;
    }
    std::set<int32_t> hikouteiKinds;
    for (const Shot& s : shots.at("sa_06hikoutei_ao:Layer0"))
        hikouteiKinds.insert(s.kind);
    EXPECT_EQ(hikouteiKinds, stage == 3 ? (std::set<int32_t>{10, 11}) : (std::set<int32_t>{10}));
    // The whale's third gun streams kind 11 at falling sizes on stage 2 only.
    int32_t streamed = 0;
    for (const Shot& s : shots.at("ma_17kuzira_yusouki:Layer0"))
        streamed += s.size < 0.99f ? 1 : 0;
    EXPECT_EQ(streamed > 0, stage == 2) << streamed;
}

INSTANTIATE_TEST_SUITE_P(Stages, GunshipStageTest, ::testing::Values(1, 2, 3));

TEST(GunshipTableTest, DifficultyTablesAndTheirFallbacks) {
    struct Case {
        int32_t level;
        int32_t hikoutei;
        int32_t isekiE;
        float parting;
    };
    const Case cases[] = {
        {0, 4, 1, 0.06f},  {1, 4, 1, 0.06f}, {2, 6, 2, 0.06f}, {3, 6, 2, 0.08f}, {4, 8, 3, 0.08f},
        {5, 10, 3, 0.08f}, {6, 10, 4, 0.1f}, {7, 12, 5, 0.1f}, {8, 8, 3, 0.08f}, {-1, 8, 3, 0.08f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gunship::HikouteiShots(2, c.level), c.hikoutei) << c.level;
        EXPECT_EQ(gunship::HikouteiShots(0, c.level), c.hikoutei) << c.level;
        EXPECT_EQ(gunship::HikouteiShots(1, c.level), 1) << c.level;
        EXPECT_EQ(gunship::TankIsekiEShots(c.level), c.isekiE) << c.level;
        EXPECT_EQ(reactions::PartingShotSpeed(c.level), c.parting) << c.level;
    }
    // The stage-dependent row: 60 on the first stage, 100 on any other (0 included).
    const LayerRow* whale = FindStageLayerRow("ma_17kuzira_yusouki:Layer0");
    ASSERT_NE(whale, nullptr);
    EXPECT_EQ(StageLayerDurability(*whale, 1, 0.0f), 60.0f);
    EXPECT_EQ(StageLayerDurability(*whale, 0, 0.0f), 100.0f);
    EXPECT_EQ(StageLayerDurability(*whale, 3, 0.0f), 100.0f);
}

TEST(GunshipBehaviourTest, VolleySpeedsHitRulesAndTheLargeWingGate) {
    std::unique_ptr<EnemyStageFixture> f(MakeShips([](StageModelBuilder& b, std::vector<Node>& nodes) {
        // A turret below the ground and a large wing far off screen.
        Node sunk = b.Box("eg_houdai_kari02_:Layer2", 0.4f);
        b.At(sunk, 0.0f, -2.0f, 2.0f);
        nodes.push_back(sunk);
        Node away = b.Box("ma_11large_wing:Layer0", 0.4f);
        b.At(away, 90.0f, 0.0f, 6.0f);
        away.name = "ma_11large_wing:Layer0";
        nodes.push_back(away);
    }));
    ASSERT_TRUE(ReachStage(*f, 2));
    f->Step();
    auto* sunk = f->FindNamed<GunshipEnemy>("eg_houdai_kari02_:Layer2");
    auto* surfaced = f->FindNamed<GunshipEnemy>("eg_houdai_kari02_:Layer1");
    ASSERT_NE(sunk, nullptr);
    ASSERT_NE(surfaced, nullptr);
    std::vector<LargeWingEnemy*> wings = f->Find<LargeWingEnemy>();
    ASSERT_EQ(wings.size(), 2u);
    LargeWingEnemy* far = wings[0]->GetWorldPosition().x > 50.0f ? wings[0] : wings[1];
    LargeWingEnemy* near = far == wings[0] ? wings[1] : wings[0];
    // Without its gun the far wing still offers itself each step.
    delete far->guns[0];
    EXPECT_EQ(far->guns[0], nullptr);

    f->log.Clear();
    for (int i = 0; i < 300; ++i)
        f->Step();
    EXPECT_EQ(sunk->everRegistered, 0) << "below the ground: no target";
    EXPECT_EQ(surfaced->everRegistered, 1);
    EXPECT_EQ(near->guns[0]->enabled, 1);
    EXPECT_GT(far->registrationFrames, 250) << "gunless, it still offers itself";
    const auto shots = ShotsByGun(f->log);
    EXPECT_GT(shots.count("ma_11large_wing:Layer0"), 0u);

    // The small craft's first two bullets: (scale + 0.08) x 0.1, then 0.012 faster.
    const std::vector<Shot>& paired = shots.at("t_fukuyou:Layer0");
    ASSERT_GE(paired.size(), 2u);
    const float scale = f->screen->GetDifficultyScale();
    EXPECT_NEAR(std::hypot(paired[0].vx, paired[0].vz), (scale + 0.08f) * 0.1f, 1e-5f);
    EXPECT_NEAR(std::hypot(paired[1].vx, paired[1].vz), (scale + 0.08f) * 0.1f + 0.012f, 1e-5f);
    EXPECT_EQ(paired[1].step - paired[0].step, 2);
}

TEST(GunshipDeathTest, EachClassShowsItsReactionInOrder) {
    std::unique_ptr<EnemyStageFixture> f(MakeShips([](StageModelBuilder& b, std::vector<Node>& nodes) {
        Node tank = b.Box("sg_06tankB:Layer0", 0.4f);
        b.At(tank, 4.0f, 0.0f, 2.0f);
        nodes.push_back(StageModelBuilder::Frame("NULL_YUSOUKAN", {tank}));
    }));
    ASSERT_TRUE(ReachStage(*f, 2));
    f->Step();
    auto kill = [&](const char* name) {
        Enemy* enemy = f->FindNamed<Enemy>(name);
        EXPECT_NE(enemy, nullptr) << name;
        if (enemy == nullptr)
            return V{};
        f->log.Clear();
        enemy->ApplyAttack(1, Damage(1e6f));
        return Reactions(f->log);
    };
    const std::string scorch = "CreateUvScrollObject chijyou_bakha_ato4_0";
    struct Case {
        const char* name;
        V expected;
    };
    const Case cases[] = {
        {"eg_houdai_kari02_:Layer1",
         {"SpawnItem BONUS_S", "SpawnEffect EXPLOSION_ita_SA01", scorch, "PlaySe R"}},
        {"sa_09light_fighter:Layer0", {"SpawnItem BONUS_S", "SpawnEffect EXPLOSION_ita_MA01", "PlaySe R"}},
        {"mg_02hover3:Layer0", {scorch, "SpawnItem BONUS_M", "SpawnEffect EXPLOSION_ita_MA01", "PlaySe R"}},
        {"ma_11large_wing:Layer0", {"SpawnItem BONUS_M", "SpawnEffect EXPLOSION_ita_MA01", "PlaySe 4"}},
        {"mg_11porvik:Layer0", {"SpawnItem BONUS_M", "SpawnEffect EXPLOSION_ita_SA01", "PlaySe 4"}},
        {"mg_07tankisekiC:Layer0",
         {"Emitter 1.5 5 2 10 EXPLOSION_ita_SA01", "SpawnItem BONUS_M", scorch, "PlaySe R"}},
        {"sg_10tank_isekiE:Layer0",
         {"SpawnItem BONUS_M", "SpawnEffect EXPLOSION_ita_SA01", scorch, "PlaySe R"}},
        {"STAGE_TEN:Layer17",
         {"Emitter 1.5 3 2 10 EXPLOSION_ita_SA01", "SpawnItem BONUS_M", "SpawnEffect EXPLOSION_ita_SA01",
          "PlaySe R"}},
        {"STAGE_TEN:Layer4", {"SpawnItem BONUS_M", "Emitter 4 10 2 10 EXPLOSION_ita_SA01", "PlaySe R"}},
        {"sg_05tankA:Layer0", {"SpawnItem BONUS_M", "SpawnEffect EXPLOSION_ita_SA01", scorch, "PlaySe R"}},
        // On the transport, with its control flag off: no scorch.
        {"sg_06tankB:Layer0", {"SpawnItem BONUS_M", "SpawnEffect EXPLOSION_ita_SA01", "PlaySe R"}},
        {"sa_13ougon_jet:Layer0", {"SpawnItem BONUS_M", "SpawnEffect EXPLOSION_ita_SA01", "PlaySe R"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kill(c.name), c.expected) << c.name;

    V scatter = kill("t_niren:Layer0");
    V expected(7, "SpawnItem BONUS_M");
    expected.push_back("SpawnEffect EXPLOSION_ita_MA01");
    expected.push_back("PlaySe R");
    EXPECT_EQ(scatter, expected);

    // The parting shot: ten bullets of sprite 41 while the ship is farther than 2.0.
    V parting = kill("sa_16goma:Layer0");
    ASSERT_EQ(parting.size(), 13u);
    EXPECT_EQ(std::count(parting.begin(), parting.end(), "FireEnemyBullet 41"), 10);
    EXPECT_EQ(V(parting.end() - 3, parting.end()),
              (V{"SpawnItem BONUS_M", "SpawnEffect EXPLOSION_ita_SA01", "PlaySe R"}));
}

TEST(GunshipDeathTest, NoPartingShotCloseToTheShip) {
    std::unique_ptr<EnemyStageFixture> f(MakeShips());
    ASSERT_TRUE(ReachStage(*f, 1));
    f->Step();
    auto* goma = f->FindNamed<GomaEnemy>("sa_16goma:Layer0");
    PlayerShip* ship = f->screen->GetPlayer(1);
    ASSERT_NE(goma, nullptr);
    ASSERT_NE(ship, nullptr);
    // Onto the ship: within 2.0 of the nearest player.
    const Vec3 at = ship->GetWorldPosition();
    const Vec3 now = goma->GetWorldPosition();
    const Vec3 local = goma->GetPosition();
    goma->SetPosition(Vec3{local.x + at.x - now.x, local.y, local.z + at.z - now.z});
    f->log.Clear();
    goma->ApplyAttack(1, Damage(1e6f));
    EXPECT_EQ(Reactions(f->log), (V{"SpawnItem BONUS_M", "SpawnEffect EXPLOSION_ita_SA01", "PlaySe R"}));
}

// The destroyer: the hull with its two deck sections (one carrying a gun), and a lone
// deck section; with or without the wreck model in the archive.
EnemyStageFixture* MakeDestroyer(bool wreckModel) {
    WholeModel model{[](StageModelBuilder& b) {
        Node hull = b.Box("la_kuchiku:Layer0", 0.6f);
        b.At(hull, -3.0f, 0.0f, 4.0f);
        Node front = b.Box("la_kuchiku:Layer1", 0.3f);
        b.At(front, 0.0f, 0.3f, 0.8f);
        Node back = b.Box("la_kuchiku:Layer2", 0.3f);
        b.At(back, 0.0f, 0.3f, -0.8f);
        front.children.push_back(StageModelBuilder::Frame("BS_TULIP"));
        hull.children = {front, back};
        Node lone = b.Box("la_kuchiku:Layer1", 0.3f);
        b.At(lone, 4.0f, 0.0f, 4.0f);
        return b.Stage(kFixtureStage, {hull, lone}, 300.0f, 25.0f);
    }};
    if (wreckModel)
        model.extra = AddPlaceholderGunshipModels;
    return new EnemyStageFixture(model);
}

TEST(DestroyerTest, AHullWreckedByABombShedsItsListedDeckSectionsWithoutTheirReactions) {
    std::unique_ptr<EnemyStageFixture> f(MakeDestroyer(true));
    ASSERT_TRUE(f->StartWorld());
    for (int i = 0; i < 3; ++i)
        f->Step();
    std::vector<KuchikuEnemy*> sections = f->Find<KuchikuEnemy>();
    ASSERT_EQ(sections.size(), 4u);
    KuchikuEnemy* hull = f->FindNamed<KuchikuEnemy>("la_kuchiku:Layer0");
    ASSERT_NE(hull, nullptr);
    ASSERT_GT(hull->childCount, 0);
    ASSERT_NE(hull->wreckScene, nullptr);
    ASSERT_NE(hull->wreckScene->wreckLayer, nullptr);
    EXPECT_TRUE(hull->wreckScene->wreckLayer->name.Equals("la_kuchiku_k:Layer0"));
    const RefPtr<RenderBatch> wreckMesh = hull->wreckScene->wreckLayer->DrawSet();
    EXPECT_FALSE(hull->DrawSet() == wreckMesh);

    // The bomb walks this step's targets: the hull first, then its sections.
    hull->durability = 0.001f;
    f->log.Clear();
    f->screen->SetBombActive(true);
    f->screen->ApplyBombDamage();
    f->screen->SetBombActive(false);
    V events = Reactions(f->log);
    V bonuses;
    for (const std::string& e : events) {
        if (e.rfind("SpawnItem", 0) == 0)
            bonuses.push_back(e);
    }
    EXPECT_EQ(bonuses,
              (V{"SpawnItem BONUS_M", "SpawnItem BONUS_M", "SpawnItem BONUS_M", "SpawnItem BONUS_L"}))
        << "the hull's drops alone";
    EXPECT_EQ(std::count(events.begin(), events.end(), "SpawnEffect EXPLOSION_ita_LA01"), 20);
    EXPECT_EQ(std::count(events.begin(), events.end(), "CreateUvScrollObject chijyou_bakha_ato4_0"), 0);
    EXPECT_EQ(hull->wrecked, 1);
    EXPECT_TRUE(hull->DrawSet() == wreckMesh) << "drawn as its wreck";

    f->log.Clear();
    f->Step();
    EXPECT_EQ(hull->childCount, 0) << "the sweep took the sections";
    EXPECT_EQ(f->Find<KuchikuEnemy>().size(), 2u);
    EXPECT_EQ(f->log.Count("SpawnItem"), 0);
    const int32_t registered = hull->registrationFrames;
    f->Step();
    EXPECT_EQ(hull->registrationFrames, registered) << "a wreck is no target";

    // A lone deck section leaves a scorch and goes.
    KuchikuEnemy* lone = f->FindNamed<KuchikuEnemy>("la_kuchiku:Layer1");
    ASSERT_NE(lone, nullptr);
    f->log.Clear();
    lone->ApplyAttack(1, Damage(1e6f));
    V deck = Reactions(f->log);
    ASSERT_EQ(deck.size(), 8u);
    EXPECT_EQ(V(deck.begin(), deck.begin() + 2),
              (V{"CreateUvScrollObject chijyou_bakha_ato4_0", "SpawnEffect EXPLOSION_ita_MA01"}));
    EXPECT_EQ(deck[6], "PlaySe 4");
    EXPECT_EQ(deck[7], "CancelBullets");
    f->Step();
    EXPECT_EQ(f->Find<KuchikuEnemy>().size(), 1u);
}

}  // namespace
}  // namespace mareldon

namespace mareldon {
namespace {

TEST(DestroyerTest, WithoutItsWreckModelTheHullKeepsItsMesh) {
    std::unique_ptr<EnemyStageFixture> f(MakeDestroyer(false));
    ASSERT_TRUE(f->StartWorld());
    f->Step();
    KuchikuEnemy* hull = f->FindNamed<KuchikuEnemy>("la_kuchiku:Layer0");
    ASSERT_NE(hull, nullptr);
    ASSERT_NE(hull->wreckScene, nullptr);
    EXPECT_EQ(hull->wreckScene->wreckLayer, nullptr);
    const RefPtr<RenderBatch> own = hull->DrawSet();
    hull->ApplyAttack(1, Damage(1e6f));
    EXPECT_EQ(hull->wrecked, 1);
    EXPECT_TRUE(hull->DrawSet() == own);
    f->Step();
    EXPECT_EQ(hull->childCount, 0);
    EXPECT_NE(f->FindNamed<KuchikuEnemy>("la_kuchiku:Layer0"), nullptr) << "the wreck stays";
}

}  // namespace
}  // namespace mareldon

namespace mareldon {
namespace {

// A lens base with its core, cover and four turrets, and the three floating islands.
EnemyStageFixture* MakeLens() {
    return new EnemyStageFixture([](StageModelBuilder& b) {
        Node base = b.Box("eg_07_lens_houdai:Layer0", 0.8f);
        b.At(base, -2.0f, 0.0f, 4.0f);
        base.children.push_back(b.Box("eg_07_lens_houdai:Layer1", 0.3f));
        base.children.push_back(b.Box("eg_07_lens_houdai:Layer2", 0.2f));
        for (int i = 3; i <= 6; ++i) {
            Node turret = b.Box("eg_07_lens_houdai:Layer" + std::to_string(i), 0.2f);
            b.At(turret, i % 2 == 0 ? -0.8f : 0.8f, 0.0f, i < 5 ? 0.8f : -0.8f);
            base.children.push_back(turret);
        }
        std::vector<Node> nodes{base};
        const char* const islands[] = {"eg_ukishima_A:Layer0", "eg_ukishima_B:Layer1",
                                       "eg_ukishima_C:Layer1"};
        for (int i = 0; i < 3; ++i) {
            Node island = b.Box(islands[i], 0.4f);
            b.At(island, 2.0f + 2.5f * float(i), 0.0f, 6.0f);
            nodes.push_back(island);
        }
        return nodes;
    });
}

TEST(LensTurretTest, KindsGunsScorchesAndFacing) {
    std::unique_ptr<EnemyStageFixture> f(MakeLens());
    ASSERT_TRUE(f->StartWorld());
    f->Step();
    struct Case {
        const char* name;
        int32_t kind;
        bool gun;
        int32_t linger;
        float scorch;
    };
    const Case cases[] = {
        {"eg_07_lens_houdai:Layer3", -1, false, 5, 1.0f},
        {"eg_ukishima_A:Layer0", 0, true, 0, 0.7f},
        {"eg_ukishima_B:Layer1", 1, true, 0, 1.0f},
        {"eg_ukishima_C:Layer1", 10, false, 5, 1.0f},
    };
    auto* facing = f->FindNamed<LensHoudaiEnemy>("eg_ukishima_C:Layer1");
    ASSERT_NE(facing, nullptr);
    for (int i = 0; i < 5; ++i)
        f->Step();
    // Kind 10 keeps turning to the player: yaw = atan2(-(dz), dx).
    PlayerShip* ship = f->screen->GetPlayer(1);
    ASSERT_NE(ship, nullptr);
    const Vec3 p = ship->GetWorldPosition();
    const Vec3 q = facing->GetWorldPosition();
    // (Turned in its step, before the ship moved on.)
    EXPECT_NEAR(facing->GetRotation().y, std::atan2(-(p.z - q.z), p.x - q.x), 0.01f);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* turret = f->FindNamed<LensHoudaiEnemy>(c.name);
        ASSERT_NE(turret, nullptr);
        EXPECT_EQ(turret->kind, c.kind);
        EXPECT_EQ(turret->gun != nullptr, c.gun);
        EXPECT_EQ(turret->lingerFrames, c.linger);
        f->log.Clear();
        turret->ApplyAttack(1, Damage(1e6f));
        EXPECT_EQ(turret->intact, 0);
        V events = Reactions(f->log);
        ASSERT_EQ(events.size(), 4u);
        EXPECT_EQ(V(events.begin(), events.begin() + 2),
                  (V{"SpawnItem BONUS_M", "SpawnEffect EXPLOSION_ita_SA01"}));
        EXPECT_EQ(events[3], "PlaySe R");
        // The newest decal, under the turret's parent.
        std::vector<UvScrollObject*> decals = f->Find<UvScrollObject>();
        ASSERT_FALSE(decals.empty());
        UvScrollObject* decal = nullptr;
        for (UvScrollObject* d : decals) {
            if (d->parent == turret->parent)
                decal = d;
        }
        ASSERT_NE(decal, nullptr);
        EXPECT_FLOAT_EQ(decal->GetScale().x, c.scorch);
        f->Step();
    }
}

TEST(LensTurretTest, TheBaseOpensIntoAFountainAndTheCoreBurstsItOnlyWithNoTurretLeft) {
    std::unique_ptr<EnemyStageFixture> f(MakeLens());
    ASSERT_TRUE(f->StartWorld());
    f->Step();
    auto* base = f->FindNamed<LensBaseEnemy>("eg_07_lens_houdai:Layer0");
    auto* core = f->FindNamed<LensCoreEnemy>("eg_07_lens_houdai:Layer1");
    ASSERT_NE(base, nullptr);
    ASSERT_NE(core, nullptr);
    EXPECT_EQ(base->TurretsLeft(LensBaseEnemy::kTurrets), 4);
    // Stages 0 to 3 pass one a step while their turret layers stand; then it opens
    // and drops a "BONUS_M" every fourth frame instead of being a target.
    f->log.Clear();
    for (int i = 0; i < 40; ++i)
        f->Step();
    EXPECT_EQ(base->open, 1);
    const int fountain = f->log.Count("SpawnItem");
    EXPECT_GE(fountain, 8);
    EXPECT_LE(fountain, 11);

    // The core goes while turrets stand: the base learns it, no burst.
    f->log.Clear();
    core->ApplyAttack(1, Damage(1e6f));
    EXPECT_EQ(base->coreDestroyed, 1);
    EXPECT_EQ(Reactions(f->log),
              (V{"Emitter 4 10 2 10 EXPLOSION_ita_SA01", "SpawnItem BONUS_L", "PlaySe R"}));
    f->log.Clear();
    for (int i = 0; i < 8; ++i)
        f->Step();
    EXPECT_EQ(f->log.Count("SpawnItem"), 0) << "no fountain once the core is gone";

    // A turret that goes empties its place on the base.
    for (int i = 3; i <= 6; ++i) {
        auto* turret = f->FindNamed<LensHoudaiEnemy>(("eg_07_lens_houdai:Layer" + std::to_string(i)).c_str());
        ASSERT_NE(turret, nullptr);
        delete turret;
    }
    EXPECT_EQ(base->TurretsLeft(LensBaseEnemy::kTurrets), 0);
    // A second core on a bare base bursts it.
    NodeSpawnInfo info;
    info.InitLayer(f->screen, String("eg_07_lens_houdai:Layer1"), RefPtr<ModelNodeData>(),
                   RefPtr<RenderBatch>(), nullptr, 0);
    LayerArgs args;
    args.durability = 1.0f;
    auto* second = new LensCoreEnemy(base, info, args);
    info.ReleaseLayer();
    f->log.Clear();
    second->ApplyAttack(1, Damage(1e6f));
    EXPECT_EQ(Reactions(f->log), (V{"Emitter 4 10 2 10 EXPLOSION_ita_SA01", "SpawnItem BONUS_L",
                                    "Emitter 5 10 2 10 EXPLOSION_ita_SA01", "PlaySe R"}));
    // A core on anything but a base tells nobody.
    NodeSpawnInfo loose;
    loose.InitLayer(f->screen, String("eg_07_lens_houdai:Layer1"), RefPtr<ModelNodeData>(),
                    RefPtr<RenderBatch>(), nullptr, 0);
    auto* stray = new LensCoreEnemy(f->screen->GetWorldRoot(), loose, args);
    loose.ReleaseLayer();
    f->log.Clear();
    stray->ApplyAttack(1, Damage(1e6f));
    EXPECT_EQ(Reactions(f->log),
              (V{"Emitter 4 10 2 10 EXPLOSION_ita_SA01", "SpawnItem BONUS_L", "PlaySe R"}));
}

}  // namespace
}  // namespace mareldon

namespace mareldon {
namespace {

// With no game behind it (attract-mode screens after a game reset) the world plays
// stage 0: every ship takes the guns and numbers of the stages other than 1.
TEST(GunshipStageZeroTest, ShipsBuiltOnStageZeroTakeTheOtherStagesGuns) {
    auto* screen = new GameWorldScreen(nullptr, String(), String(), 3, 0, 0, 0, 1);
    ASSERT_EQ(screen->GetPlayingStage(), 0);
    struct Case {
        const char* name;
        Object3D* (*build)(Object3D*, NodeSpawnInfo&, const LayerArgs&);
        int32_t guns;
        int32_t shots;
    };
    const Case cases[] = {
        {"sa_itemC:Layer0", BuildLayerClass<ItemCEnemy>, 2, 10},
        {"ma_17kuzira_yusouki:Layer0", BuildLayerClass<KuziraYusoukiEnemy>, 3, 10},
        {"sa_06hikoutei_ao:Layer0", BuildLayerClass<HikouteiAoEnemy>, 1, 6},
        {"ma_14enban:Layer0", BuildLayerClass<EnbanEnemy>, 1, 3},
        {"t_niren:Layer0", BuildLayerClass<NirenEnemy>, 2, 16},
        {"sg_05tankA:Layer0", BuildLayerClass<TankABEnemy>, 1, 1},
        {"sa_07hikoutei_gray:Layer0", BuildLayerClass<SmallCraftEnemy>, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LayerRow* row = FindStageLayerRow(c.name);
        ASSERT_NE(row, nullptr);
        NodeSpawnInfo info;
        info.InitLayer(screen, String(c.name), RefPtr<ModelNodeData>(), RefPtr<RenderBatch>(), nullptr, 0);
        LayerArgs args{StageLayerDurability(*row, 0, screen->GetDifficultyScale()),
                       row->radius,
                       row->linger,
                       row->bonus,
                       row->explosion,
                       row->kind,
                       row->flag};
        auto* ship = dynamic_cast<GunshipEnemy*>(c.build(screen->GetWorldRoot(), info, args));
        info.ReleaseLayer();
        ASSERT_NE(ship, nullptr);
        EXPECT_EQ(ship->stage, 0);
        EXPECT_EQ(ship->GunCount(), c.guns);
        ASSERT_NE(ship->guns[0], nullptr);
        EXPECT_EQ(ship->guns[0]->ShotsPerVolley(), c.shots);
        if (std::string(c.name) == "ma_17kuzira_yusouki:Layer0") {
            EXPECT_EQ(ship->durability, 100.0f);
        }
        delete ship;
    }
    delete screen;
}

}  // namespace
}  // namespace mareldon
