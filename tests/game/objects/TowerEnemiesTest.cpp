#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "game/objects/DebrisShooter.h"
#include "game/objects/GunVariants.h"
#include "game/objects/StageNodes.h"
#include "game/objects/TowerEnemies.h"
#include "game/objects/TransformingShip.h"
#include "game/objects/WreckModel.h"
#include "game/stage/StageScene.h"
#include "tests/game/objects/EnemyStageFixture.h"
#include "tests/game/objects/GunStageFixture.h"
#include "tools/archive/PlaceholderRailEnemies.h"

namespace mareldon {
namespace {

using Node = MbdWriter::Node;
using B = StageModelBuilder;
using V = std::vector<std::string>;

AttackVector Damage(float amount) {
    AttackVector attack;
    attack.values[0] = amount;
    return attack;
}

// What a kill showed: operation and first argument; the random explosion sound as "~".
V Reactions(const WorldEventLog& log) {
    static const std::set<std::string> kShown = {"SpawnItem",     "SpawnEffect", "CreateUvScrollObject",
                                                 "Emitter",       "NodeEmitter", "PlaySe",
                                                 "CancelBullets", "Wreck"};
    V out;
    for (const WorldEvent& event : log.Events()) {
        if (kShown.count(event.operation) == 0)
            continue;
        std::string first = event.arguments.substr(0, event.arguments.find(' '));
        if (event.operation == "Emitter" || event.operation == "NodeEmitter")
            first = event.arguments;
        if (event.operation == "PlaySe" && (first == "2" || first == "3"))
            first = "~";
        out.push_back(first.empty() ? event.operation : event.operation + " " + first);
    }
    return out;
}

Node ShipWithFlag(B& b, const char* name, bool open) {
    Node control = B::Frame("EC_GENERAL");
    b.ScaleKeys(control, 0, {{0.0f, 1.0f}});
    b.ScaleKeys(control, 1, {{0.0f, 1.0f}});
    b.ScaleKeys(control, 2, {{0.0f, open ? 1.0f : 0.0f}});
    Node ship = b.Box(name, 0.5f, 0xE05030, {control});
    return ship;
}

class TowerEnemiesTest : public ::testing::Test {
  protected:
    TowerEnemiesTest()
        : f(WholeModel{[](B& b) {
              AddPlaceholderWreckModels(b);
              std::vector<Node> nodes;
              auto add = [&](Node node, float x, float z) {
                  b.At(node, x, 0.0f, z);
                  nodes.push_back(std::move(node));
              };
              add(b.Box("tou_001:Layer0"), -8.0f, 6.0f);
              add(b.Box("eg_06houdai:Layer0"), -4.0f, 6.0f);
              add(b.Box("eg_04houdai_big:Layer0"), 0.0f, 6.0f);
              add(b.Box("eg_houdaimalti:Layer0", 0.5f, 0xE05030, {b.Box("eg_houdaimalti:Layer1", 0.3f)}),
                  4.0f, 6.0f);
              add(b.Box("bs4_t:Layer2"), 8.0f, 6.0f);
              add(b.Box("mg_09tankisekiD:Layer0"), -8.0f, -2.0f);
              Node closed = ShipWithFlag(b, "ma13_henkeihou_kan:Layer0", false);
              closed.children.push_back(b.Box("ma13_henkeihou_kan:Layer1", 0.2f));
              add(closed, -4.0f, -2.0f);
              add(ShipWithFlag(b, "ma13_henkeihou_kan:Layer0", true), 0.0f, -2.0f);
              Node fighter = b.Box("sa_12isekifighterB:Layer0");
              b.Window(fighter, 4.0f, 0.0f, -2.0f, 29.5f, 60.0f);
              nodes.push_back(fighter);
              add(B::Frame("lone", {b.Box("la_01tank_yusoukan:Layer0")}), 8.0f, -2.0f);
              add(B::Frame("pair", {b.Box("la_01tank_yusoukan:Layer0"), b.Box("other:Layer0")}), 8.0f, -6.0f);
              // A tower whose window is far off is still stepped and drawn.
              Node late = b.Box("tou_002:Layer0");
              b.Window(late, -8.0f, 0.0f, -6.0f, 200.0f, 210.0f);
              nodes.push_back(late);
              return b.Stage(kFixtureStage, nodes, 300.0f, 25.0f);
          }}) {}

    template <typename T>
    std::vector<T*> All(const char* name) {
        std::vector<T*> found;
        for (T* node : f.Find<T>())
            if (node->name.Equals(name))
                found.push_back(node);
        return found;
    }
    // Starts the world and steps it a little; the ship is kept from the open ship's guns.
    bool Begin() {
        if (!f.StartWorld())
            return false;
        for (int i = 0; i < 3; ++i)
            f.Step();
        PlayerShip* ship = f.screen->GetPlayer(1);
        if (ship == nullptr)
            return false;
        ship->SetProtection(1 << 30, 1);
        return true;
    }
    V Kill(Enemy* enemy) {
        f.log.Clear();
        enemy->ApplyAttack(1, Damage(1e6f));
        return Reactions(f.log);
    }

    EnemyStageFixture f;
};

TEST_F(TowerEnemiesTest, KillsShowTheirRowsReactionInOrder) {
    ASSERT_TRUE(Begin());
    struct Case {
        const char* name;
        int index;
        V expected;
    };
    V opened(21, "SpawnItem BONUS_M");
    opened.insert(opened.end(), {"SpawnEffect EXPLOSION_ita_MA01", "PlaySe 4"});
    const Case cases[] = {
        {"tou_001:Layer0", 0, {"Emitter 7 1 2 10 EXPLOSION_SG01", "SpawnItem BONUS_M", "PlaySe ~"}},
        // Its bonus is "NULL": the burst 7 units up only.
        {"eg_06houdai:Layer0", 0, {"NodeEmitter 1 1 2 10 EXPLOSION_SG01"}},
        {"eg_04houdai_big:Layer0",
         0,
         {"SpawnItem BONUS_L", "SpawnEffect EXPLOSION_LG01", "CreateUvScrollObject chijyou_bakha_ato4_0",
          "PlaySe ~"}},
        {"eg_houdaimalti:Layer1", 0, {"CreateUvScrollObject chijyou_bakha_ato4_0", "PlaySe ~"}},
        {"bs4_t:Layer2",
         0,
         {"Wreck nozule_k", "SpawnItem BONUS_BOMB", "Emitter 6 20 2 10 EXPLOSION_ita_SA01", "PlaySe ~",
          "CancelBullets"}},
        {"mg_09tankisekiD:Layer0",
         0,
         {"Wreck mg_09tankisekiD_k", "SpawnItem BONUS_L", "Emitter 6 20 2 10 EXPLOSION_ita_SA01",
          "PlaySe ~"}},
        {"ma13_henkeihou_kan:Layer0", 0, {"SpawnItem BONUS_L", "SpawnEffect EXPLOSION_ita_MA01", "PlaySe 4"}},
        {"ma13_henkeihou_kan:Layer0", 1, opened},
        {"la_01tank_yusoukan:Layer0",
         0,
         {"Emitter 4 10 2 10 EXPLOSION_ita_SA01", "SpawnItem BONUS_M", "SpawnEffect EXPLOSION_ita_LA01",
          "PlaySe ~"}},
    };
    for (const Case& c : cases) {
        std::vector<Enemy*> found = All<Enemy>(c.name);
        ASSERT_GT(found.size(), size_t(c.index)) << c.name;
        EXPECT_EQ(Kill(found[size_t(c.index)]), c.expected) << c.name << " " << c.index;
    }
    // The wrecks stand where their enemies stood, as scenery.
    std::vector<WreckModel*> wrecks = f.Find<WreckModel>();
    ASSERT_EQ(wrecks.size(), 2u);
    for (WreckModel* wreck : wrecks) {
        std::vector<StageMeshObject*> layers = FindNodes<StageMeshObject>(*wreck);
        ASSERT_EQ(layers.size(), 1u);
        EXPECT_NEAR(wreck->GetWorldPosition().z, wreck->name.Equals("nozule_k") ? 6.0f : -2.0f, 1e-4f);
    }
}

TEST_F(TowerEnemiesTest, TowersBurnTwentyStepsThenLeaveTheirWreckAndBatteriesBurnTen) {
    ASSERT_TRUE(Begin());
    // Stepped and drawn outside its window while it stands.
    TowerEnemy* late = All<TowerEnemy>("tou_002:Layer0").at(0);
    EXPECT_GT(late->registrationFrames, 0);
    EXPECT_EQ(late->nodeDrawSelf, 1);

    TowerEnemy* tower = All<TowerEnemy>("tou_001:Layer0").at(0);
    BatteryEnemy* battery = f.Find<BatteryEnemy>().at(0);
    tower->ApplyAttack(1, Damage(1e6f));
    battery->ApplyAttack(1, Damage(1e6f));
    const int32_t died = tower->timeOfDeath;
    std::vector<int32_t> towerBursts;
    int batteryBursts = 0;
    int wreckStep = -1;
    for (int i = 0; i < 40; ++i) {
        f.log.Clear();
        const int32_t frame = f.Scene().GetStepCount();
        f.Step();
        if (f.log.Count("Emitter", "7 1 2 10 EXPLOSION_SG01") > 0)
            towerBursts.push_back(frame);
        batteryBursts += f.log.Count("Emitter", "5 1 2 10 EXPLOSION_ita_LA01");
        if (f.log.Count("Wreck", "tou_001b -8 0 6") > 0) {
            EXPECT_EQ(wreckStep, -1);
            wreckStep = frame;
        }
    }
    // Two steps on, two off, for twenty steps.
    EXPECT_GE(towerBursts.size(), 9u);
    EXPECT_LE(towerBursts.size(), 11u);
    for (int32_t frame : towerBursts)
        EXPECT_LE(frame - died, TowerEnemy::kBurnSteps + 1);
    EXPECT_GE(wreckStep - died, TowerEnemy::kBurnSteps);
    EXPECT_LE(wreckStep - died, TowerEnemy::kBurnSteps + 2);
    EXPECT_GE(batteryBursts, 10);
    EXPECT_LE(batteryBursts, 11);
    EXPECT_TRUE(All<TowerEnemy>("tou_001:Layer0").empty());
    EXPECT_TRUE(f.Find<BatteryEnemy>().empty());
    EXPECT_EQ(f.Find<WreckModel>().size(), 1u);
}

TEST(BigBatteryRuleTest, TurnsFasterOneWayAndPausesBeforeTurningBack) {
    struct Step {
        float bearing;
        float turn;
    };
    // Bearings in degrees, offset included: 1..180 turns up, 180..359 down.
    const Step steps[] = {{90.0f, 3.1f},  {90.0f, 3.2f},   {179.0f, 3.3f},  {270.0f, 0.0f}, {270.0f, 0.0f},
                          {270.0f, 0.0f}, {270.0f, -3.1f}, {270.0f, -3.2f}, {90.0f, 0.0f},  {90.0f, 0.0f},
                          {90.0f, 0.0f},  {90.0f, 3.1f},   {0.5f, 0.0f},    {359.5f, 0.0f}};
    NodeSpawnInfo info;
    BigBatteryEnemy battery(nullptr, info, 70.0f, 2.0f, 3.0f, 2, 3.1415927f);
    int index = 0;
    for (const Step& step : steps) {
        EXPECT_NEAR(battery.Turn(step.bearing), step.turn, 1e-4f) << "step " << index;
        ++index;
    }
}

TEST_F(TowerEnemiesTest, TurretsFollowThePlayerAndTheBigOneNeverTurnsBackWithoutAPause) {
    ASSERT_TRUE(Begin());
    BigBatteryEnemy* big = f.Find<BigBatteryEnemy>().at(0);
    SmoothTurret* smooth = f.Find<SmoothTurret>().at(0);
    PlayerShip* ship = f.screen->GetPlayer(1);
    ASSERT_NE(ship, nullptr);
    int32_t last = big->lastDirection;
    int pauses = 0;
    for (int i = 0; i < 600; ++i) {
        f.Step();
        const int32_t now = big->lastDirection;
        EXPECT_FALSE((last == 1 && now == 2) || (last == 2 && now == 1)) << "step " << i;
        pauses += now == 0 && big->pausing != 0 && big->pauseCounter == 1 ? 1 : 0;
        last = now;
    }
    EXPECT_GT(pauses, 0);
    // The smooth turret ends up looking at the ship.
    const Vec3 from = smooth->GetWorldPosition();
    const Vec3 to = ship->GetWorldPosition();
    const Vec3 toward = Vec3Normalize({to.x - from.x, to.y - from.y, to.z - from.z});
    const Vec3 forward = smooth->GetWorldForward();
    EXPECT_GT(forward.x * toward.x + forward.y * toward.y + forward.z * toward.z, 0.99f);
}

TEST_F(TowerEnemiesTest, TheDebrisFighterThrowsOneShooterThatFliesItsPathAndGoes) {
    ASSERT_TRUE(Begin());
    f.StepTo(30.0f);
    ASSERT_NEAR(f.StageTime(), 30.0f, 0.05f);
    EXPECT_TRUE(f.Find<DebrisShooter>().empty());
    f.log.Clear();
    f.StepTo(31.0f);
    ASSERT_EQ(f.log.Count("DebrisShooter"), 1);
    EXPECT_EQ(f.log.Count("DebrisShooter", "30 4 -2"), 1) << "seeded with the whole seconds";
    DebrisShooter* shooter = f.Find<DebrisShooter>().at(0);
    ASSERT_EQ(shooter->path[0].keyCount, 12);
    for (int k = 1; k <= 10; ++k) {
        const float t = 0.25f * float(k);
        EXPECT_EQ(shooter->path[0].keys[k].time, t);
        EXPECT_LE(std::fabs(shooter->path[0].keys[k].value), t);
        EXPECT_LE(std::fabs(shooter->path[2].keys[k].value), 1.5f * t);
        EXPECT_EQ(shooter->path[1].keys[k].value, 0.0f);
    }
    EXPECT_GE(shooter->path[2].keys[11].value, 0.0f);
    EXPECT_LE(std::fabs(shooter->path[0].keys[11].value), 16.5f);
    f.log.Clear();
    f.StepTo(34.0f);
    EXPECT_TRUE(f.Find<DebrisShooter>().empty());
    EXPECT_GE(f.log.Count("SpawnSpark"), 120);
    int bullets = 0;
    for (const WorldEvent& event : f.log.Events())
        bullets += event.operation == "FireEnemyBullet" && event.arguments.rfind("11 ", 0) == 0 ? 1 : 0;
    EXPECT_GT(bullets, 0);
}

TEST_F(TowerEnemiesTest, TheShipOpensAndTheCarrierTankHidesByItsControlFlagAndCompany) {
    ASSERT_TRUE(Begin());
    std::vector<TransformingShipEnemy*> ships = All<TransformingShipEnemy>("ma13_henkeihou_kan:Layer0");
    ASSERT_EQ(ships.size(), 2u);
    EXPECT_EQ(ships[0]->gunsBuilt, 0);
    EXPECT_EQ(FindNodes<TableGun>(*ships[0]).size(), 0u);
    EXPECT_EQ(ships[1]->gunsBuilt, 1);
    EXPECT_EQ(FindNodes<TableGun>(*ships[1]).size(), 2u) << "two side guns away from the second stage";
    EXPECT_EQ(f.log.Count("ShipGuns"), 1);
    // Six spheres open, two closed, each step.
    const int32_t closed = ships[0]->registrationFrames;
    EXPECT_GT(closed, 0);

    std::vector<Enemy*> carriers = All<Enemy>("la_01tank_yusoukan:Layer0");
    ASSERT_EQ(carriers.size(), 2u);
    EXPECT_GT(carriers[0]->registrationFrames, 0) << "alone under its node";
    EXPECT_EQ(carriers[1]->registrationFrames, 0) << "with company and no flag";
}

TEST(TransformingShipGunsTest, TheSecondStageGivesFrontAndSideGunsOtherStagesSideGunsOnly) {
    struct Case {
        int32_t stage;
        size_t guns;
        GunRow::Fire side;
    };
    const Case cases[] = {
        {1, 2, gun::CountedBurst16}, {2, 4, gun::CountedBurst}, {3, 2, gun::CountedBurst16}};
    for (const Case& c : cases) {
        GunStageFixture f({"EC_GENERAL"});
        f.registry.Replace(StageNodeRegistry::Kind::kLayer, "carrier_EC_GENERAL:Layer0",
                           [](Object3D* parent, NodeSpawnInfo& info) -> Object3D* {
                               return new TransformingShipEnemy(parent, info, 70.0f);
                           });
        ASSERT_TRUE(f.StartAtStage(c.stage)) << c.stage;
        for (int i = 0; i < 3; ++i)
            f.Step();
        std::vector<TransformingShipEnemy*> ships = f.Find<TransformingShipEnemy>();
        ASSERT_EQ(ships.size(), 1u);
        std::vector<TableGun*> guns = FindNodes<TableGun>(*ships[0]);
        ASSERT_EQ(guns.size(), c.guns) << c.stage;
        int front = 0;
        for (TableGun* g : guns) {
            if (g->row.fire == gun::SideSpread) {
                ++front;
                EXPECT_NEAR(g->GetPosition().x, ships[0]->GetPivot().x, 1e-6f);
                EXPECT_EQ(g->storedSpeed >= 0.06f, true);
            } else {
                EXPECT_EQ(g->row.fire, c.side);
            }
        }
        EXPECT_EQ(front, c.stage == 2 ? 2 : 0);
    }
}

}  // namespace
}  // namespace mareldon
