#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "game/objects/LayerEnemies.h"
#include "game/objects/StageLayers.h"
#include "game/objects/StageNodes.h"
#include "game/objects/StageWatchers.h"
#include "tests/game/objects/EnemyStageFixture.h"

namespace mareldon {
namespace {

using Node = MbdWriter::Node;

AttackVector Damage(float amount) {
    AttackVector attack;
    attack.values[0] = amount;
    return attack;
}

// The reaction events since the last clear, operation and first argument.
std::vector<std::string> Reactions(const WorldEventLog& log) {
    static const std::set<std::string> kShown = {"SpawnItem",    "SpawnEffect", "CreateUvScrollObject",
                                                 "Emitter",      "NodeEmitter", "PlaySe",
                                                 "CancelBullets"};
    std::vector<std::string> out;
    for (const WorldEvent& event : log.Events()) {
        if (kShown.count(event.operation) == 0)
            continue;
        std::string first = event.arguments.substr(0, event.arguments.find(' '));
        if (event.operation == "Emitter" || event.operation == "NodeEmitter")
            first = event.arguments;
        out.push_back(first.empty() ? event.operation : event.operation + " " + first);
    }
    return out;
}

TEST(StageLayerTableTest, StageDependentDurabilitiesFollowTheStagePlayedAndTheDifficulty) {
    struct Case {
        const char* name;
        int32_t stage;
        int32_t level;
        float expected;
    };
    const Case cases[] = {
        {"lg_01hover:Layer0", 1, 4, 451.7857f},    {"lg_01hover:Layer0", 2, 4, 616.0715f},
        {"lg_01hover:Layer0", 0, 4, 616.0715f},    {"lg_01hover:Layer0", 4, 4, 616.0715f},
        {"lg_01hover:Layer0", 1, 0, 137.5f},       {"lg_01hover:Layer0", 0, 0, 187.5f},
        {"lg_01hover:Layer0", 1, 8, 766.0715f},    {"lg_01hover_02:Layer0", 1, 0, 22.5f},
        {"lg_01hover_02:Layer0", 2, 8, 323.2143f}, {"lg_01hover_03:Layer0", 1, 4, 246.4286f},
        {"lg_01hover_03:Layer0", 4, 0, 100.0f},    {"lg_02tank_heavy:Layer0", 1, 8, 800.0f},
        {"lg_02tank_heavy:Layer0", 0, 0, 900.0f},  {"lg_02tank_heavy:Layer0", 2, 4, 900.0f},
        {"rader_1:Layer0", 1, 8, 10.0f},
    };
    for (const Case& c : cases) {
        const LayerRow* row = FindStageLayerRow(c.name);
        ASSERT_NE(row, nullptr) << c.name;
        const float scale = float(c.level) * GameWorldScreen::kDifficultyScale;
        EXPECT_NEAR(StageLayerDurability(*row, c.stage, scale), c.expected, 1e-3f)
            << c.name << " stage " << c.stage << " level " << c.level;
    }
}

TEST(StageLayerTableTest, NamesAreWholeUniqueAndEveryRowIsRegistered) {
    StageNodeRegistry registry;
    RegisterStageLayers(registry);
    EXPECT_EQ(registry.RefusedCount(), 0);
    EXPECT_EQ(registry.Count(StageNodeRegistry::Kind::kLayer), StageLayerRows().size());
    EXPECT_EQ(FindStageLayerRow("sg_01tank:Layer"), nullptr);
    EXPECT_EQ(FindStageLayerRow("sg_01tank:Layer10"), nullptr);
    EXPECT_EQ(FindStageLayerRow("ma_09tutu6:Layer8")->form, LayerForm::kPassive);
    EXPECT_EQ(FindStageLayerRow("ma_09tutu6:Layer0")->form, LayerForm::kDrop);
}

// One of each form on the world screen (stage 0, difficulty 3).
class LayerFactoryTest : public ::testing::Test {
  protected:
    LayerFactoryTest()
        : f([](StageModelBuilder& b) {
              std::vector<Node> nodes;
              auto add = [&](const char* name, float x, float z, std::vector<Node> children = {}) {
                  Node node = b.Box(name);
                  b.At(node, x, 0.0f, z);
                  node.children = std::move(children);
                  nodes.push_back(node);
              };
              add("sg_01tank:Layer0", -8.0f, 6.0f, {b.Box("sg_01tank:Layer1", 0.3f)});
              add("mg_01tankB:Layer0", -4.0f, 6.0f, {b.Box("mg_01tankB:Layer1", 0.3f)});
              add("t_midwing:Layer0", 0.0f, 6.0f);
              add("eg_mainbase:Layer3", 4.0f, 6.0f);
              add("sa_11isekifighterA:Layer0", 8.0f, 6.0f);
              add("ma_07kuucyuuhou1:Layer0", -8.0f, -2.0f);
              add("ma_09tutu6:Layer0", -4.0f, -2.0f);
              add("sg_04tank_kaiten4ana:Layer1", 0.0f, -2.0f);
              add("VIEWFRAME:Layer0", 4.0f, -2.0f);
              add("mystery:Layer0", 8.0f, -2.0f);
              std::vector<Node> hoverParts;
              for (int i = 1; i <= 7; ++i)
                  hoverParts.push_back(b.Box("part" + std::to_string(i) + ":Layer0", 0.2f));
              add("lg_01hover:Layer0", -6.0f, -8.0f, hoverParts);
              add("lg_02tank_heavy:Layer0", 0.0f, -8.0f, {b.Box("lg_02tank_heavy:Layer1", 0.3f)});
              add("lg_01hover_03:Layer0", 6.0f, -8.0f);
              return nodes;
          }) {}

    template <typename T>
    T* Named(const char* name) {
        T* found = f.FindNamed<T>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // Kills the enemy and answers the reaction events.
    std::vector<std::string> Kill(Enemy* enemy) {
        f.log.Clear();
        enemy->ApplyAttack(1, Damage(1e6f));
        return Reactions(f.log);
    }

    EnemyStageFixture f;
};

TEST_F(LayerFactoryTest, EachLayerBecomesItsClassWithItsArguments) {
    ASSERT_TRUE(f.StartWorld());
    f.Step();
    auto* tank = Named<LayerTankEnemy>("sg_01tank:Layer0");
    ASSERT_NE(tank, nullptr);
    EXPECT_EQ(tank->durability, 5.0f);
    EXPECT_EQ(tank->radius, 0.6f);
    EXPECT_EQ(tank->lingerFrames, 5);
    EXPECT_STREQ(tank->bonus.Text(), "BONUS_S");
    EXPECT_STREQ(tank->explosion.Text(), "EXPLOSION_SG01");
    auto* turret = Named<LayerTankTurret>("sg_01tank:Layer1");
    ASSERT_NE(turret, nullptr);
    EXPECT_STREQ(turret->bonus.Text(), "3.000000");
    EXPECT_EQ(turret->turnSpeed, 3.0f);
    EXPECT_EQ(turret->turn, LayerTankTurret::Turn::kTank);
    auto* second = Named<LayerTankTurret>("mg_01tankB:Layer1");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->turnSpeed, 24.0f);
    EXPECT_EQ(second->turn, LayerTankTurret::Turn::kSecond);
    auto* wing = Named<DurabilityFormEnemy>("t_midwing:Layer0");
    ASSERT_NE(wing, nullptr);
    EXPECT_EQ(wing->durability, 1150.0f);
    auto* fighter = Named<EmitterFormEnemy>("sa_11isekifighterA:Layer0");
    ASSERT_NE(fighter, nullptr);
    EXPECT_EQ(fighter->lingerFrames, 20);
    EXPECT_EQ(fighter->rule, HitRule::kNoseAndBody);
    auto* passive = Named<LayerEnemy>("sg_04tank_kaiten4ana:Layer1");
    ASSERT_NE(passive, nullptr);
    EXPECT_EQ(passive->radius, 0.0f);
    EXPECT_STREQ(passive->itemName.Text(), "3.000000");
    auto* hover = Named<HoverEnemy>("lg_01hover:Layer0");
    ASSERT_NE(hover, nullptr);
    EXPECT_NEAR(hover->durability, (3.0f * GameWorldScreen::kDifficultyScale + 0.25f) * 750.0f, 1e-3f);
    auto* heavy = Named<HeavyTankEnemy>("lg_02tank_heavy:Layer0");
    ASSERT_NE(heavy, nullptr);
    EXPECT_EQ(heavy->durability, 900.0f);
    EXPECT_NE(Named<HoverEnemy3>("lg_01hover_03:Layer0"), nullptr);

    // Unknown layers are scenery; hidden ones are plain nodes that draw nothing.
    EXPECT_NE(Named<StageMeshObject>("mystery:Layer0"), nullptr);
    for (MeshObject* mesh : f.Find<MeshObject>())
        EXPECT_FALSE(mesh->name.Equals("VIEWFRAME:Layer0"));
}

TEST_F(LayerFactoryTest, LayersUnderACarrierAreItsPartsAndOnlySixAreKept) {
    ASSERT_TRUE(f.StartWorld());
    f.Step();
    auto* hover = Named<HoverEnemy>("lg_01hover:Layer0");
    ASSERT_NE(hover, nullptr);
    EXPECT_EQ(hover->partCount, 7);
    std::vector<CarriedPart*> parts = f.Find<CarriedPart>();
    int underHover = 0;
    for (CarriedPart* part : parts)
        underHover += part->name.Text()[0] == 'p' ? 1 : 0;
    EXPECT_EQ(underHover, 7);
    for (int i = 0; i < 6; ++i) {
        ASSERT_NE(hover->parts[i], nullptr);
        EXPECT_EQ(hover->parts[i]->name.Text(), "part" + std::to_string(i + 1) + ":Layer0");
    }
    auto* heavy = Named<HeavyTankEnemy>("lg_02tank_heavy:Layer0");
    ASSERT_NE(heavy, nullptr);
    EXPECT_EQ(heavy->partCount, 1);
    auto* turret = dynamic_cast<LayerTankTurret*>(heavy->parts[0]);
    ASSERT_NE(turret, nullptr);
    EXPECT_STREQ(turret->bonus.Text(), "3.141593");
    EXPECT_EQ(f.Find<HoverEnemy3>()[0]->partCount, 0);

    // Flashes only once the counter has run past 1, then counts again.
    hover->flashCounter = 1;
    hover->OnDamaged(1.0f, 1);
    EXPECT_EQ(hover->parts[0]->hitFlashPending, 0);
    hover->flashCounter = 2;
    hover->OnDamaged(1.0f, 1);
    EXPECT_EQ(hover->flashCounter, 0);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(hover->parts[i]->hitFlashPending, 1);

    // A part that goes empties its slot.
    Enemy* first = hover->parts[0];
    delete first;
    EXPECT_EQ(hover->parts[0], nullptr);
    hover->flashCounter = 5;
    hover->OnDamaged(1.0f, 1);
}

TEST_F(LayerFactoryTest, KillsShowTheirRowsReactionInOrder) {
    ASSERT_TRUE(f.StartWorld());
    f.Step();
    using V = std::vector<std::string>;
    auto* tank = Named<Enemy>("sg_01tank:Layer0");
    ASSERT_NE(tank, nullptr);
    V tankLog = Kill(tank);
    ASSERT_EQ(tankLog.size(), 4u);
    EXPECT_EQ(V(tankLog.begin(), tankLog.begin() + 3), (V{"SpawnItem BONUS_S", "SpawnEffect EXPLOSION_SG01",
                                                          "CreateUvScrollObject chijyou_bakha_ato4_0"}));
    EXPECT_TRUE(tankLog[3] == "PlaySe 2" || tankLog[3] == "PlaySe 3") << tankLog[3];

    // The turret drops its number text and shows no "NULL" effect.
    V turretLog = Kill(Named<Enemy>("sg_01tank:Layer1"));
    ASSERT_EQ(turretLog.size(), 3u);
    EXPECT_EQ(turretLog[0], "SpawnItem 3.000000");
    EXPECT_EQ(turretLog[1], "CreateUvScrollObject chijyou_bakha_ato4_0");

    V wingLog = Kill(Named<Enemy>("t_midwing:Layer0"));
    V wingExpected(9, "SpawnItem BONUS_M");
    wingExpected.push_back("SpawnEffect EXPLOSION_ita_MA01");
    wingExpected.push_back("PlaySe 4");
    EXPECT_EQ(wingLog, wingExpected);

    // No explosion name: the emitter, the 19 items and the sound only.
    V antiAir = Kill(Named<Enemy>("ma_07kuucyuuhou1:Layer0"));
    ASSERT_EQ(antiAir.size(), 21u);
    EXPECT_EQ(antiAir[0], "Emitter 4 15 2 10 EXPLOSION_ita_SA01");
    EXPECT_EQ(std::count(antiAir.begin(), antiAir.end(), "SpawnItem BONUS_M"), 19);
    EXPECT_EQ(antiAir[20].rfind("PlaySe ", 0), 0u);

    V tube = Kill(Named<Enemy>("ma_09tutu6:Layer0"));
    ASSERT_EQ(tube.size(), 3u);
    EXPECT_EQ(tube[0], "SpawnItem BONUS_L");
    EXPECT_EQ(tube[1], "NodeEmitter 3 15 2 10 EXPLOSION_ita_SA01");

    V base = Kill(Named<Enemy>("eg_mainbase:Layer3"));
    ASSERT_EQ(base.size(), 4u);
    EXPECT_EQ(base[0], "SpawnItem BONUS_L");
    EXPECT_EQ(base[1], "SpawnEffect EXPLOSION_LLG01");
    EXPECT_EQ(base[3], "CancelBullets");

    V fighter = Kill(Named<Enemy>("sa_11isekifighterA:Layer0"));
    ASSERT_EQ(fighter.size(), 3u);
    EXPECT_EQ(fighter[0], "Emitter 1.5 5 2 10 EXPLOSION_ita_SA01");
    EXPECT_EQ(fighter[1], "SpawnItem BONUS_L");

    // The first hover bursts before its scorch, the third scorches first, half a unit low.
    V hover = Kill(Named<Enemy>("lg_01hover:Layer0"));
    EXPECT_EQ(hover, (V{"SpawnItem BONUS_M", "SpawnItem BONUS_M", "SpawnItem BONUS_M", "SpawnItem BONUS_L",
                        "Emitter 4 10 2 10 EXPLOSION_ita_MA01", "CreateUvScrollObject chijyou_bakha_ato4_0",
                        "PlaySe 4", "CancelBullets"}));
    Enemy* third = Named<Enemy>("lg_01hover_03:Layer0");
    const float pivotY = third->GetWorldPosition().y;
    V hover3 = Kill(third);
    ASSERT_EQ(hover3.size(), 8u);
    EXPECT_EQ(hover3[4], "CreateUvScrollObject chijyou_bakha_ato4_0");
    EXPECT_EQ(hover3[5], "Emitter 4 10 2 10 EXPLOSION_ita_MA01");
    for (const WorldEvent& event : f.log.Events()) {
        if (event.operation == "CreateUvScrollObject") {
            float x, y, z;
            ASSERT_EQ(std::sscanf(event.arguments.c_str(), "%*s %f %f %f", &x, &y, &z), 3);
            EXPECT_NEAR(y, pivotY - 0.5f, 1e-4f);
        }
    }

    V heavy = Kill(Named<Enemy>("lg_02tank_heavy:Layer0"));
    EXPECT_EQ(heavy, (V{"Emitter 3.5 15 2 15 EXPLOSION_ita_SA01", "SpawnItem BONUS_M",
                        "SpawnEffect EXPLOSION_ita_MA01", "PlaySe 4", "CancelBullets"}));
    // The emitters run on after the kill.
    f.log.Clear();
    for (int i = 0; i < 4; ++i)
        f.Step();
    EXPECT_GT(f.log.Count("SpawnEffect"), 0);
}

TEST(TurretRuleTest, BearingsAndTurns) {
    using T = LayerTankTurret::Turn;
    struct Case {
        T turn;
        float bearing;
        float expected;
    };
    const Case cases[] = {
        {T::kTank, 10.0f, 0.0f},    {T::kTank, 10.5f, 3.0f},     {T::kTank, 169.9f, 3.0f},
        {T::kTank, 170.0f, 0.0f},   {T::kTank, -10.0f, 0.0f},    {T::kTank, -90.0f, -3.0f},
        {T::kTank, 180.0f, 0.0f},   {T::kSecond, 10.0f, -24.0f}, {T::kSecond, 169.0f, -24.0f},
        {T::kSecond, 170.0f, 0.0f}, {T::kSecond, -90.0f, 0.0f},  {T::kSecond, 200.0f, 24.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LayerTankTurret::TurnFor(c.turn, c.bearing, c.turn == T::kTank ? 3.0f : 24.0f), c.expected)
            << c.bearing;

    // Target straight ahead is bearing 0; to the -x side +90. The offset is radians.
    EXPECT_NEAR(LayerTankTurret::Bearing(Vec3{0.0f, 0.0f, 1.0f}, 0.0f), 0.0f, 1e-4f);
    EXPECT_NEAR(LayerTankTurret::Bearing(Vec3{-1.0f, 0.0f, 0.0f}, 0.0f), 90.0f, 1e-4f);
    EXPECT_NEAR(LayerTankTurret::Bearing(Vec3{0.0f, 0.0f, 1.0f}, 1.5707964f), 90.0f, 1e-4f);
    // Without an offset the second rule's positive branch is out of reach: no bearing
    // around the circle turns it the other way.
    for (int deg = -179; deg <= 180; ++deg) {
        const float a = float(deg) * 0.01745329252f;
        const float b = LayerTankTurret::Bearing(Vec3{-std::sin(a), 0.0f, std::cos(a)}, 0.0f);
        EXPECT_LE(LayerTankTurret::TurnFor(T::kSecond, b, 24.0f), 0.0f) << deg;
    }
}

TEST_F(LayerFactoryTest, ATurretTurnsTowardThePlayerAndStopsFacingIt) {
    ASSERT_TRUE(f.StartWorld());
    f.Step();
    auto* turret = Named<LayerTankTurret>("sg_01tank:Layer1");
    PlayerShip* ship = f.screen->GetPlayer(1);
    ASSERT_NE(turret, nullptr);
    ASSERT_NE(ship, nullptr);
    auto bearing = [&] {
        const Vec3 local = Vec3TransformCoord(ship->GetWorldPosition(), turret->GetInverseWorldMatrix());
        return LayerTankTurret::Bearing(local, 0.0f);
    };
    const float start = bearing();
    ASSERT_GT(std::fabs(start), 10.0f);
    for (int i = 0; i < 120; ++i)
        f.Step();
    EXPECT_LE(std::fabs(bearing()), 10.0f + 3.0f) << "from " << start;
}

// Two watched "eg_senyou" enemies; the kills are `gap` steps apart.
int WatcherDrops(int gap) {
    EnemyStageFixture f([](StageModelBuilder& b) {
        Node left = b.Box("eg_senyou:Layer0");
        b.At(left, -2.0f, 0.0f, 4.0f);
        Node right = b.Box("eg_senyou:Layer0");
        b.At(right, 4.0f, 0.0f, 4.0f);
        Node watcher = StageModelBuilder::Frame(
            "senyouwatcher",
            {StageModelBuilder::Frame("holderA", {left}), StageModelBuilder::Frame("holderB", {right})});
        return std::vector<Node>{watcher};
    });
    if (!f.StartWorld())
        return -1;
    f.Step();
    std::vector<DropFormEnemy*> watched = f.Find<DropFormEnemy>();
    if (watched.size() != 2 || f.Find<SenyouWatcher>().size() != 1)
        return -1;
    watched[0]->ApplyAttack(1, Damage(1e6f));
    for (int i = 0; i < gap; ++i)
        f.Step();
    watched[1]->ApplyAttack(1, Damage(1e6f));
    f.log.Clear();
    for (int i = 0; i < 40; ++i)
        f.Step();
    int drops = 0;
    for (const WorldEvent& event : f.log.Events()) {
        if (event.operation == "SpawnItem" && event.arguments.rfind("BONUS_S ", 0) == 0) {
            ++drops;
            // At the two enemies' midpoint.
            float x, y, z;
            EXPECT_EQ(std::sscanf(event.arguments.c_str(), "%*s %f %f %f", &x, &y, &z), 3);
            EXPECT_NEAR(x, 1.0f, 1e-3f);
            EXPECT_NEAR(z, 4.0f, 1e-3f);
        }
    }
    return drops;
}

TEST(SenyouWatcherTest, KillsCloseTogetherStartABonusStreamAndFarApartGiveNothing) {
    // The enemies linger 5 steps; then a drop on every fourth frame.
    const int together = WatcherDrops(0);
    EXPECT_GE(together, 7);
    EXPECT_LE(together, 10);
    EXPECT_GT(WatcherDrops(10), 0);
    EXPECT_EQ(WatcherDrops(25), 0);
}

}  // namespace
}  // namespace mareldon
