#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "game/objects/GunshipEnemies.h"
#include "game/objects/LensTurret.h"
#include "tests/game/objects/GunStageFixture.h"

namespace mareldon {
namespace {

constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
constexpr int32_t kRandomDelay = -100;
constexpr uint8_t L = GunRow::kLow;
constexpr uint8_t N = GunRow::kNear;

using Build = Object3D* (*)(Object3D*, NodeSpawnInfo&, const LayerArgs&);

// One gun a composite enemy makes for itself, as the gun table gives it.
struct Volley {
    int32_t shots, gap, pause, volleys, delay;
    uint8_t suppress;
};
// What a volley start adds to the stored speed; what each shot adds to the stored speed
// and angle; what each active step adds to the speed. X: not checked here.
struct Hooks {
    float startAdd, shotSpeed, shotTurn, stepSpeed;
};
struct CompositeGun {
    const char* owner;
    Build build;
    int32_t kind;   // the layer's kind number (the lens turret's gun kind)
    int32_t stage;  // the stage played
    int32_t gun;    // which of its guns, in building order
    Volley volley;
    // The speed a volley start sets: {kFixed, s} is s, {a, b} is (difficulty scale + a) x b.
    float startSpeed[2];
    Hooks hooks;
};

constexpr float kFixed = -1.0f;
template <typename T>
constexpr Build B = BuildLayerClass<T>;
constexpr float X = kNone;

// Difficulty level 3 throughout (the world fixture's).
const CompositeGun kComposite[] = {
    // owner, class, kind, stage, gun, {shots, gap, pause, volleys, delay, suppression},
    // start speed, {start adds, shot speed, shot turn, step speed}
    {"small craft kind 1", B<SmallCraftEnemy>, 1, 2, 0, {2, 3, 10, -1, 0, L | N}, {X, 0}, {X, 0, 0, 0}},
    {"small craft kind 1", B<SmallCraftEnemy>, 1, 1, 0, {1, 6, 20, -1, 0, L | N}, {X, 0}, {X, 0, 0, 0}},
    {"small craft kind 2", B<SmallCraftEnemy>, 2, 1, 0, {10, 8, 40, -1, 0, 0}, {X, 0}, {X, 0, 0, 0}},
    {"small craft kind 2", B<SmallCraftEnemy>, 2, 2, 0, {10, 8, 40, -1, 0, 0}, {X, 0}, {X, 0, 0, 0}},
    {"turret", B<HoudaiKariEnemy>, 0, 2, 0, {2, 5, 30, -1, 0, L | N}, {X, 0}, {X, 0, 0, 0}},
    {"blue boat", B<HikouteiAoEnemy>, 0, 1, 0, {1, 3, 50, -1, 0, L}, {X, 0}, {X, 0, 0, X}},
    {"blue boat", B<HikouteiAoEnemy>, 0, 2, 0, {6, 3, 50, -1, 0, L}, {X, 0}, {X, 0, 0, X}},
    {"item carrier", B<ItemCEnemy>, 0, 2, 0, {10, 2, 40, -1, 10, 0}, {X, 0}, {0.01f, 0, 0, X}},
    {"item carrier", B<ItemCEnemy>, 0, 2, 1, {20, 2, 20, -1, 0, 0}, {kFixed, 0.04f}, {X, 0, 0, X}},
    {"escort", B<FukuyouEnemy>, 0, 2, 0, {2, 1, 60, 2, kRandomDelay, L | N}, {X, 0}, {X, 0.012f, 0, 0}},
    {"vacuum craft", B<SinkuukanEnemy>, 0, 2, 0, {2, 1, 60, 2, kRandomDelay, 0}, {X, 0}, {X, 0.012f, 0, 0}},
    {"sesame", B<GomaEnemy>, 0, 2, 0, {2, 1, 60, 2, kRandomDelay, 0}, {X, 0}, {X, 0.012f, 0, 0}},
    {"whale",
     B<KuziraYusoukiEnemy>,
     0,
     2,
     0,
     {10, 20, 10, 20, 40, 0},
     {0.01f, 0.06f},
     {X, 0.002f, 1.308997f, 0}},
    {"whale",
     B<KuziraYusoukiEnemy>,
     0,
     2,
     1,
     {10, 20, 10, 20, 40, 0},
     {0.01f, 0.06f},
     {X, 0.002f, -1.308997f, 0}},
    {"whale", B<KuziraYusoukiEnemy>, 0, 2, 2, {16, 20, 40, 10, 80, 0}, {0.01f, 0.16f}, {X, 0.01f, 0, 0}},
    {"large wing", B<LargeWingEnemy>, 0, 2, 0, {20, 4, 60, -1, 0, 0}, {X, 0}, {X, 0, 0, 0.0008f}},
    {"saucer", B<EnbanEnemy>, 0, 1, 0, {1, 3, 10, -1, 0, L}, {X, 0}, {X, 0, 0, 0}},
    {"saucer", B<EnbanEnemy>, 0, 2, 0, {3, 3, 10, -1, 0, L}, {X, 0}, {X, 0, 0, 0}},
    {"tower 6", B<Bs4tLayer6Enemy>, 0, 2, 0, {5, 1, 10, 10, 10, 0}, {X, 0}, {X, 0.012f, 0, 0}},
    {"tower 14", B<Bs4tLayer14Enemy>, 0, 2, 0, {20, 1, 20, 5, 20, 0}, {X, 0}, {X, 0, 1.3962635f, 0}},
    {"tower 5", B<Bs4tLayer5Enemy>, 0, 2, 0, {20, 1, 20, 5, 20, 0}, {X, 0}, {X, 0, 1.3962635f, 0}},
    {"ruin tank E", B<TankIsekiEEnemy>, 0, 2, 0, {2, 3, 10, -1, 20, L | N}, {X, 0}, {X, 0, 0, 0}},
    {"ruin tank C", B<TankIsekiCEnemy>, 0, 2, 0, {4, 3, 50, -1, 20, L}, {X, 0}, {X, 0, 0, 0}},
    {"twin", B<NirenEnemy>, 0, 1, 0, {8, 8, 20, 10, 160, 0}, {X, 0}, {X, 0.005f, 0, 0}},
    {"twin", B<NirenEnemy>, 0, 2, 0, {16, 8, 20, 10, 160, 0}, {X, 0}, {X, 0.005f, 0, 0}},
    {"twin", B<NirenEnemy>, 0, 1, 1, {8, 2, 20, -1, 160, 0}, {X, 0}, {X, 0.005f, 0, 0}},
    {"twin", B<NirenEnemy>, 0, 2, 1, {16, 2, 20, -1, 160, 0}, {X, 0}, {X, 0.005f, 0, 0}},
    {"heavy tank", B<PorvikTankEnemy>, 0, 2, 0, {10, 3, 60, -1, 100, L | N}, {X, 0}, {X, 0, -0.64577186f, 0}},
    {"heavy tank", B<PorvikTankEnemy>, 0, 2, 1, {10, 3, 60, -1, 100, L | N}, {X, 0}, {X, 0, 0.64577186f, 0}},
    {"heavy tank", B<PorvikTankEnemy>, 0, 2, 2, {2000, 1, 30, -1, 30, L | N}, {X, 0}, {X, 0, 0, 0}},
    {"golden jet", B<OugonJetEnemy>, 0, 2, 0, {1000, 0, 20, -1, 0, 0}, {X, 0}, {X, 0, 0, 0}},
    {"golden jet", B<OugonJetEnemy>, 0, 2, 1, {1000, 0, 20, -1, 0, 0}, {X, 0}, {X, 0, 0, 0}},
    {"golden jet", B<OugonJetEnemy>, 0, 2, 2, {3, 2, 2, -1, 20, 0}, {X, 0}, {X, 0, 0, 0}},
    {"stage ten 17", B<StageTenLayer17Enemy>, 0, 2, 0, {100, 1, 100, -1, 50, L}, {X, 0}, {X, 0, 0, 0}},
    {"stage ten 4", B<StageTenLayer4Enemy>, 0, 2, 0, {30, 3, 20, -1, 120, L}, {X, 0}, {X, 0, 0, 0}},
    {"lens turret 0", B<LensHoudaiEnemy>, 0, 2, 0, {2, 5, 100, -1, 0, L}, {X, 0}, {X, 0, 0, 0}},
    {"lens turret 1", B<LensHoudaiEnemy>, 1, 2, 0, {3, 10, 100, -1, 0, L}, {kFixed, 0.04f}, {X, 0, 0, X}},
    {"lens turret 3", B<LensHoudaiEnemy>, 3, 2, 0, {10, 2, 5, -1, 0, L}, {X, 0}, {X, 0, 0, 0.0001f}},
};

BuiltInGun* GunOf(Object3D* built, int32_t index) {
    if (auto* ship = dynamic_cast<GunshipEnemy*>(built))
        return index >= 0 && index < GunshipEnemy::kMaxGuns ? ship->guns[index] : nullptr;
    if (auto* turret = dynamic_cast<LensHoudaiEnemy*>(built))
        return index == 0 ? turret->gun : nullptr;
    return nullptr;
}

void CheckCompositeRow(GameWorldScreen* screen, const CompositeGun& c) {
    SCOPED_TRACE(std::string(c.owner) + " gun " + std::to_string(c.gun) + " on stage " +
                 std::to_string(c.stage));
    NodeSpawnInfo info;
    info.InitLayer(screen, String("composite:Layer0"), RefPtr<ModelNodeData>(), RefPtr<RenderBatch>(),
                   nullptr, 0);
    LayerArgs args;
    args.durability = 10.0f;
    args.kind = c.kind;
    std::unique_ptr<Object3D> built(c.build(screen->GetWorldRoot(), info, args));
    info.ReleaseLayer();
    BuiltInGun* gun = GunOf(built.get(), c.gun);
    ASSERT_NE(gun, nullptr);
    EXPECT_EQ(gun->ShotsPerVolley(), c.volley.shots);
    EXPECT_EQ(gun->FramesBetweenShots(), c.volley.gap);
    EXPECT_EQ(gun->PauseBetweenVolleys(), c.volley.pause);
    EXPECT_EQ(gun->VolleyCount(), c.volley.volleys);
    if (c.volley.delay == kRandomDelay) {
        EXPECT_GE(gun->InitialDelay(), 0);
        EXPECT_LE(gun->InitialDelay(), 255);
    } else {
        EXPECT_EQ(gun->InitialDelay(), c.volley.delay);
    }
    EXPECT_EQ(gun->SuppressWhenLow(), (c.volley.suppress & L) != 0);
    EXPECT_EQ(gun->SuppressWhenNear(), (c.volley.suppress & N) != 0);

    // No ship in this world: the volley start only sets the speed.
    const float before = 0.05f;
    gun->storedSpeed = before;
    gun->OnVolleyStart();
    if (!std::isnan(c.startSpeed[0])) {
        const float expected = c.startSpeed[0] == kFixed
                                   ? c.startSpeed[1]
                                   : (screen->GetDifficultyScale() + c.startSpeed[0]) * c.startSpeed[1];
        EXPECT_NEAR(gun->storedSpeed, expected, 1e-6f) << "volley start speed";
    }
    if (!std::isnan(c.hooks.startAdd)) {
        EXPECT_NEAR(gun->storedSpeed - before, c.hooks.startAdd, 1e-6f) << "volley start adds";
    }
    gun->storedSpeed = 0.05f;
    gun->storedAngle = 0.5f;
    gun->OnShotFired();
    if (!std::isnan(c.hooks.shotSpeed)) {
        EXPECT_NEAR(gun->storedSpeed - 0.05f, c.hooks.shotSpeed, 1e-6f) << "speed after a shot";
    }
    if (!std::isnan(c.hooks.shotTurn)) {
        EXPECT_NEAR(gun->storedAngle - 0.5f, c.hooks.shotTurn, 1e-6f) << "turn after a shot";
    }
    if (!std::isnan(c.hooks.stepSpeed)) {
        gun->storedSpeed = 0.05f;
        gun->OnActiveStep();
        EXPECT_NEAR(gun->storedSpeed - 0.05f, c.hooks.stepSpeed, 1e-6f) << "speed after an active step";
    }
}

// Each composite enemy's guns against the gun table, on the first and the second stage.
TEST(GunRowTableTest, CompositeEnemyGunsFollowTheGunTable) {
    for (int32_t stage : {1, 2}) {
        GunStageFixture f(std::vector<std::string>{});
        ASSERT_TRUE(f.StartAtStage(stage));
        ASSERT_EQ(f.screen->GetDifficultyLevel(), 3);
        for (const CompositeGun& c : kComposite) {
            if (c.stage == stage)
                CheckCompositeRow(f.screen, c);
        }
    }
}

// One gun class of a "BS_" node as the gun table gives it, on the stages of `stages`
// (bit 0 stage 1, bit 1 stage 2, bit 2 stage 4). `cls` counts the classes one node gets,
// in building order. Speeds and turns as for the composite guns; `stepTurn` is what each
// active step adds to the stored angle. -1 shots: set by the gun's own count.
struct NodeGun {
    const char* node;
    int32_t cls;
    uint8_t stages;
    int32_t shots, gap, pause, volleys, delay;
    uint8_t suppress;
    float startSpeed, shotSpeed, shotTurn, stepSpeed, stepTurn;
};

constexpr uint8_t S1 = 1, S2 = 2, S4 = 4, kAll = 7;

// Difficulty level 3 throughout.
const NodeGun kNodeGuns[] = {
    // node, class, stages, shots, gap, pause, volleys, delay, supp, start speed, shot speed,
    // shot turn, step speed, step turn
    {"BS_t_battery", 0, kAll, 1, 50, 50, -1, 0, 0, 0.16f, X, X, X, X},
    {"BS_ONION_CENTER", 0, kAll, 10, 2, 10, -1, 0, 0, X, X, X, X, X},
    {"BS_ONION1", 0, kAll, 10, 4, 30, -1, 0, 0, 0.48f, X, X, X, X},
    {"BS_ONION_1", 0, kAll, 10, 4, 30, -1, 0, 0, 0.48f, X, X, X, X},
    {"BS_ONION2", 0, kAll, 5, 20, 20, -1, 0, 0, 0.16f, X, X, X, X},
    {"BS_ONION_2", 0, kAll, 5, 20, 20, -1, 0, 0, 0.16f, X, X, X, X},
    {"BS_EG_SENYOU", 0, kAll, 20, 1, 40, -1, 0, 0, 0.08f, X, X, X, X},
    {"BS_MG01TANK_L", 0, S1, 1, 60, 60, -1, 0, L | N, 0.08f, X, X, X, X},
    {"BS_MG01TANK_R", 0, S1, 1, 60, 60, -1, 0, L | N, 0.08f, X, X, X, X},
    {"BS_MG01TANK_L", 0, S2 | S4, 1, 30, 30, -1, 0, L | N, 0.08f, X, X, X, X},
    {"BS_MG01TANK_R", 0, S2 | S4, 1, 30, 30, -1, 0, L | N, 0.08f, X, X, X, X},
    {"BS_MG01TANKB", 0, kAll, 10, 1, 30, -1, 0, L | N, 0.08f, X, X, X, X},
    {"BS_HENKEIHOU_DOWN_L", 0, S1, 5, 3, 50, -1, 0, L, 0.13f, X, X, X, X},
    {"BS_HENKEIHOU_DOWN_R", 0, S1, 5, 3, 50, -1, 0, L, 0.13f, X, X, X, X},
    {"BS_HENKEIHOU_DOWN_L", 0, S2 | S4, 20, 3, 50, -1, 0, L, 0.13f, X, X, X, X},
    {"BS_HENKEIHOU_DOWN_R", 0, S2 | S4, 20, 3, 50, -1, 0, L, 0.13f, X, X, X, X},
    {"BS_YOKONAGA", 0, kAll, 1, 50, 50, -1, 0, L | N, 0.08f, X, X, X, X},
    {"BS_BIGTANK_R", 0, kAll, 1, 50, 50, -1, 0, L | N, 0.08f, X, X, X, X},
    {"BS_BIGTANK_L", 0, kAll, 1, 50, 50, -1, 0, L | N, 0.08f, X, X, X, X},
    {"BS_TANK_KAITEN_CENTER", 0, kAll, 1, 50, 50, -1, 0, L | N, 0.08f, X, X, X, X},
    {"BS_LARGEWING_L", 0, kAll, 1, 50, 50, -1, 0, L | N, 0.08f, X, X, X, X},
    {"BS_LARGEWING_R", 0, kAll, 1, 50, 50, -1, 0, L | N, 0.08f, X, X, X, X},
    {"BS_LARGEWING_CENTER", 0, kAll, 1, 50, 50, -1, 0, L | N, 0.08f, X, X, X, X},
    {"BS_TULIP", 0, kAll, 1, 50, 50, -1, 0, L | N, 0.08f, X, X, X, X},
    {"BS_LARGEBATTERY", 0, kAll, 2, 5, 100, -1, 0, L | N, X, X, X, X, X},
    {"BS_MG05TANK_A", 0, kAll, 1, 2, 80, -1, 0, L | N, X, X, X, X, X},
    {"BS_MG05TANK_B_R", 0, kAll, 1, 2, 80, -1, 0, L | N, X, X, X, X, X},
    {"BS_MG05TANK_B_L", 0, kAll, 1, 2, 80, -1, 0, L | N, X, X, X, X, X},
    {"BS_MIDWING_L2", 0, kAll, 1000, 0, 60, -1, 0, 0, X, X, X, X, X},
    {"BS_MIDWING_R2", 0, kAll, 1000, 0, 60, -1, 0, 0, X, X, X, X, X},
    {"BS_MIDWING_L3", 0, S2, 6, 2, 60, -1, 160, 0, X, X, X, X, X},
    {"BS_MIDWING_R3", 0, S2, 6, 2, 60, -1, 192, 0, X, X, X, X, X},
    {"BS_MIDWING_R", 0, S1 | S2, 16, 1, 60, -1, 0, 0, X, 0.005f, X, X, X},
    {"BS_MIDWING_L", 0, S1 | S2, 16, 1, 60, -1, 0, 0, X, 0.005f, X, X, X},
    {"BS_MIDWING_REAR", 0, kAll, 20, 1, 200, -1, 0, 0, X, X, X, X, X},
    {"BS_TORISAN", 0, kAll, 5, 1, 11, -1, 20, 0, X, X, X, X, X},
    {"BS_TORISANBEAM", 0, kAll, 7, 1, 3, 5, 20, 0, X, X, X, X, X},
    {"BS_TORISANBEAM", 1, kAll, 1, 1, 20, -1, 5, L | N, X, X, X, X, X},
    {"BS_TORILASER", 0, kAll, 10, 1, 10, -1, 20, 0, X, X, X, X, X},
    {"BS_KANKYO_LU", 0, kAll, 5, 2, 16, -1, 20, 0, X, X, X, X, X},
    {"BS_KANKYO_LU", 1, kAll, 1, 5, 10, -1, 40, 0, X, X, X, X, X},
    {"BS_KANKYO_LD", 0, kAll, 5, 2, 16, -1, 20, 0, X, X, X, X, X},
    {"BS_KANKYO_LD", 1, kAll, 1, 5, 10, -1, 40, 0, X, X, X, X, X},
    {"BS_KANKYO_RU", 0, kAll, 5, 2, 16, -1, 20, 0, X, X, X, X, X},
    {"BS_KANKYO_RU", 1, kAll, 1, 5, 10, -1, 40, 0, X, X, X, X, X},
    {"BS_KANKYO_RD", 0, kAll, 5, 2, 16, -1, 20, 0, X, X, X, X, X},
    {"BS_KANKYO_RD", 1, kAll, 1, 5, 10, -1, 40, 0, X, X, X, X, X},
    {"BS_HEAVYTANK_CENTER", 0, kAll, 10, 1, 100, -1, 0, 0, X, X, X, 0.001f, X},
    {"BS_HEAVYTANK_R", 0, kAll, 5, 2, 50, -1, 0, 0, X, X, X, 0.001f, X},
    {"BS_HEAVYTANK_L", 0, kAll, 5, 2, 50, -1, 0, 0, X, X, X, 0.001f, X},
    {"BS_HEAVYTANK_CIRCLE", 0, kAll, 3, 5, 30, -1, 0, 0, X, X, X, X, X},
    {"BS_MAINBASE_EYE", 0, S1, 6, 3, 5, -1, 30, L, 0.15f, X, X, 0.0008f, 0.005235988f},
    {"BS_MAINBASE_EYE", 1, S1, 6, 3, 5, -1, 30, L, 0.15f, X, X, 0.0008f, -0.005235988f},
    {"BS_MAINBASE_EYE", 0, S2 | S4, 6, 3, 5, -1, 30, L, 0.15f, X, X, 0.0008f, 0.008726647f},
    {"BS_MAINBASE_EYE", 1, S2 | S4, 6, 3, 5, -1, 30, L, 0.15f, X, X, 0.0008f, -0.008726647f},
    {"BS_HOVER_R", 0, kAll, 6, 2, 60, 3, 160, 0, X, X, X, X, X},
    {"BS_HOVER_L", 0, kAll, 6, 2, 60, 3, 160, 0, X, X, X, X, X},
    {"BS_HOVER_FRONT", 0, kAll, 6, 2, 60, -1, 160, 0, X, X, X, X, X},
    {"BS_HOVER_R2", 0, kAll, 20, 0, 60, -1, 5, 0, X, X, X, X, X},
    {"BS_HOVER_L2", 0, kAll, 20, 0, 60, -1, 5, 0, X, X, X, X, X},
    {"BS_HOVER_FRONT2", 0, kAll, 100, 0, 0, -1, 20, 0, X, 0.14f, X, X, X},
    {"BS_HOVER_R3", 0, kAll, 20, 3, 40, -1, 30, L, 0.15f, X, X, X, X},
    {"BS_HOVER_L3", 0, kAll, 20, 3, 40, -1, 30, L, 0.15f, X, X, X, X},
    {"BS_HOVER_FRONT3", 0, kAll, 30, 3, 20, -1, 30, L, 0.15f, X, X, X, X},
    {"BS_HIKOUSEN_CENTER", 0, kAll, 10, 2, 50, -1, 0, 0, X, X, X, X, X},
    {"BS_HIKOUSEN_R", 0, kAll, 15, 1, 50, -1, 0, 0, X, X, X, X, 0.03490659f},
    {"BS_HIKOUSEN_L", 0, kAll, 15, 1, 50, -1, 0, 0, X, X, X, X, 0.03490659f},
    {"BS_COVER_R", 0, kAll, 2, 4, 40, -1, 0, L, X, X, X, X, X},
    {"BS_COVER_R", 1, kAll, 10, 4, 40, -1, 0, L, X, X, X, X, X},
    {"BS_COVER_L", 0, kAll, 2, 4, 40, -1, 0, L, X, X, X, X, X},
    {"BS_COVER_L", 1, kAll, 10, 4, 40, -1, 0, L, X, X, X, X, X},
    {"BS_KUUCYUUHOU", 0, kAll, 3, 70, 70, -1, 0, 0, X, X, X, 0.0002f, X},
    {"BS_KUUCYUUHOU", 1, kAll, 12, 4, 60, -1, 0, 0, X, X, X, 0.0008f, X},
    {"BS_TUTU_R", 0, kAll, 2, 5, 50, -1, 0, 0, 0.08f, X, X, X, X},
    {"BS_TUTU_L", 0, kAll, 2, 5, 50, -1, 0, 0, 0.08f, X, X, X, X},
    {"BS_MAC_C", 0, kAll, 30, 0, 50, -1, 0, 0, X, X, X, X, X},
    {"BS_MAC_RO", 0, kAll, 5, 12, 20, -1, 0, 0, X, X, X, X, X},
    {"BS_MAC_LO", 0, kAll, 5, 12, 20, -1, 0, 0, X, X, X, X, X},
    {"BS_MAC_RI", 0, kAll, 15, 1, 50, -1, 80, 0, X, X, X, X, X},
    {"BS_MAC_LI", 0, kAll, 15, 1, 50, -1, 80, 0, X, X, X, X, X},
    {"BS_ISLAND_C", 0, kAll, 5, 3, 70, -1, 0, L, 0.08f, X, X, X, X},
    {"BS_LENSHOUDAI_NORMAL", 0, kAll, 20, 1, 70, -1, 0, L, 0.08f, X, X, X, X},
    {"BS_UKISHIMA_C", 0, kAll, 30, 2, 50, -1, 0, L, X, X, X, X, X},
    {"BS_FUYUUHOU_0", 0, kAll, 16, 0, 30, -1, 50, L | N, X, X, X, X, X},
    {"BS_FUYUUHOU_1", 0, kAll, 16, 0, 30, -1, 50, L | N, X, X, X, X, X},
    {"BS_FUYUUHOU_2", 0, kAll, 16, 0, 30, -1, 50, L | N, X, X, X, X, X},
    {"BS_FUYUUHOU_3", 0, kAll, 16, 0, 30, -1, 50, L | N, X, X, X, X, X},
    {"BS_FUYUUHOU_CENTER", 0, kAll, 1, 0, 10, -1, 200, L | N, X, X, X, X, X},
    {"BS_NAMAZU", 0, kAll, 20, 0, 60, -1, 100, L, X, X, -0.64577186f, X, X},
    {"BS_NAMAZU", 1, kAll, 20, 0, 60, -1, 100, L, X, X, 0.64577186f, X, X},
    {"BS_NAMAZU", 2, kAll, 30, 2, 50, -1, 0, L, 0.1f, X, X, X, X},
    {"BS_OINU_R0", 0, kAll, -1, 1, 20, -1, 0, 0, X, X, 0.012f, X, X},
    {"BS_OINU_L3", 0, kAll, -1, 1, 20, -1, 0, 0, X, X, 0.012f, X, X},
    {"BS_NOZULE", 0, kAll, 30, 3, 20, -1, 30, L, 0.15f, X, X, X, X},
    {"BS_NEKO_C", 0, kAll, 40, 0, 50, -1, 0, 0, X, X, X, X, X},
    {"BS_NEKO_RO", 0, kAll, 5, 10, 20, -1, 0, 0, X, X, X, X, X},
    {"BS_NEKO_LO", 0, kAll, 5, 10, 20, -1, 0, 0, X, X, X, X, X},
    {"BS_NEKO_RI", 0, kAll, 20, 1, 50, -1, 80, 0, X, X, X, X, X},
    {"BS_NEKO_LI", 0, kAll, 20, 1, 50, -1, 80, 0, X, X, X, X, X},
    {"BS_MIDBOSS03_R", 0, kAll, 10, 2, 50, -1, 0, 0, X, X, X, X, X},
    {"BS_MIDBOSS03_L", 0, kAll, 10, 2, 50, -1, 0, 0, X, X, X, X, X},
    {"BS_MIDBOSS03_CENTER", 0, kAll, 20, 1, 30, -1, 30, L | N, X, X, X, X, X},
    {"BS_MIDBOSS03_CENTER", 1, kAll, 40, 1, 80, -1, 0, 0, X, X, X, X, X},
    {"BS_MIDBOSS03_CENTER", 2, kAll, 2, 20, 100, -1, 0, 0, X, X, X, X, X},
};

uint8_t StageBit(int32_t stage) {
    return stage == 1 ? S1 : stage == 2 ? S2 : S4;
}

// Each "BS_" node's guns against the gun table, on stages 1, 2 and 4.
TEST(GunRowTableTest, NodeGunsFollowTheGunTable) {
    std::vector<std::string> names;
    for (const NodeGun& g : kNodeGuns) {
        if (std::find(names.begin(), names.end(), g.node) == names.end())
            names.push_back(g.node);
    }
    for (int32_t stage : {1, 2, 4}) {
        GunStageFixture f(names);
        ASSERT_TRUE(f.StartAtStage(stage));
        ASSERT_EQ(f.screen->GetDifficultyLevel(), 3);
        for (const std::string& name : names) {
            int32_t classes = 0;
            for (const NodeGun& g : kNodeGuns)
                classes += g.node == name && (g.stages & StageBit(stage)) != 0 ? 1 : 0;
            EXPECT_EQ(int32_t(f.Guns(name).size()), classes) << name << " on stage " << stage;
        }
        // A node's classes may stand in any order: each row takes the first gun not yet
        // taken whose numbers are all the row's.
        std::vector<GunPart*> taken;
        for (const NodeGun& g : kNodeGuns) {
            if ((g.stages & StageBit(stage)) == 0)
                continue;
            SCOPED_TRACE(std::string(g.node) + " class " + std::to_string(g.cls) + " on stage " +
                         std::to_string(stage));
            GunPart* gun = nullptr;
            for (GunPart* candidate : f.Guns(g.node)) {
                if (std::find(taken.begin(), taken.end(), candidate) != taken.end())
                    continue;
                if ((g.shots < 0 || candidate->ShotsPerVolley() == g.shots) &&
                    candidate->FramesBetweenShots() == g.gap && candidate->PauseBetweenVolleys() == g.pause &&
                    candidate->VolleyCount() == g.volleys && candidate->InitialDelay() == g.delay &&
                    candidate->SuppressWhenLow() == ((g.suppress & L) != 0) &&
                    candidate->SuppressWhenNear() == ((g.suppress & N) != 0)) {
                    gun = candidate;
                    break;
                }
            }
            if (gun == nullptr) {
                std::string built;
                for (GunPart* other : f.Guns(g.node)) {
                    built += " [" + std::to_string(other->ShotsPerVolley()) + " " +
                             std::to_string(other->FramesBetweenShots()) + " " +
                             std::to_string(other->PauseBetweenVolleys()) + " " +
                             std::to_string(other->VolleyCount()) + " " +
                             std::to_string(other->InitialDelay()) + " " +
                             std::to_string(int(other->SuppressWhenLow())) +
                             std::to_string(int(other->SuppressWhenNear())) + "]";
                }
                ADD_FAILURE() << "no gun of the node has the row's numbers; built:" << built;
                continue;
            }
            taken.push_back(gun);
            if (!std::isnan(g.startSpeed)) {
                gun->storedSpeed = 0.05f;
                gun->OnVolleyStart();
                EXPECT_NEAR(gun->storedSpeed, g.startSpeed, 1e-6f) << "volley start speed";
            }
            if (!std::isnan(g.shotSpeed) || !std::isnan(g.shotTurn)) {
                gun->storedSpeed = 0.05f;
                gun->storedAngle = 0.5f;
                gun->OnShotFired();
                if (!std::isnan(g.shotSpeed)) {
                    EXPECT_NEAR(gun->storedSpeed - 0.05f, g.shotSpeed, 1e-6f) << "speed after a shot";
                }
                if (!std::isnan(g.shotTurn)) {
                    EXPECT_NEAR(gun->storedAngle - 0.5f, g.shotTurn, 1e-6f) << "turn after a shot";
                }
            }
            if (!std::isnan(g.stepSpeed) || !std::isnan(g.stepTurn)) {
                gun->storedSpeed = 0.05f;
                gun->storedAngle = 0.5f;
                gun->OnActiveStep();
                if (!std::isnan(g.stepSpeed)) {
                    EXPECT_NEAR(gun->storedSpeed - 0.05f, g.stepSpeed, 1e-6f) << "speed after an active step";
                }
                if (!std::isnan(g.stepTurn)) {
                    EXPECT_NEAR(gun->storedAngle - 0.5f, g.stepTurn, 1e-6f) << "turn after an active step";
                }
            }
        }
    }
}

}  // namespace
}  // namespace mareldon
