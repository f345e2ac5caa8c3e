#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "game/objects/StageNodes.h"
#include "tests/game/objects/EnemyStageFixture.h"

namespace mareldon {
namespace {

using Node = MbdWriter::Node;

AttackVector Damage(float amount) {
    AttackVector attack;
    attack.values[0] = amount;
    return attack;
}

TEST(EnemyWindowTest, AKeylessEnemyIsAlwaysActiveAndAKeyedOneOnlyInItsInclusiveWindow) {
    EnemyStageFixture f([](StageModelBuilder& b) {
        Node always = b.Box("always:Layer0");
        b.At(always, -3.0f, 0.0f, 0.0f);
        Node keyed = b.Box("keyed:Layer0");
        b.Window(keyed, 3.0f, 0.0f, 0.0f, 0.5f, 1.0f);
        return std::vector<Node>{always, keyed};
    });
    f.registry.Add(StageNodeRegistry::Kind::kLayer, "always:Layer0", BuildTestLayerEnemy);
    f.registry.Add(StageNodeRegistry::Kind::kLayer, "keyed:Layer0", BuildTestLayerEnemy);
    ASSERT_TRUE(f.StartWorld());
    LayerEnemy* always = f.FindNamed<LayerEnemy>("always:Layer0");
    LayerEnemy* keyed = f.FindNamed<LayerEnemy>("keyed:Layer0");
    ASSERT_NE(always, nullptr);
    ASSERT_NE(keyed, nullptr);
    f.Step();
    EXPECT_EQ(always->active, 1);
    EXPECT_EQ(keyed->active, 0);
    EXPECT_EQ(keyed->activated, 0);

    // Frame by frame across the window's ends, in exact sixtieths.
    bool sawInside = false;
    for (int i = 0; i < 200 && f.StageTime() < 1.1f; ++i) {
        f.Step();
        const float t = keyed->GetMotionTime();
        const bool inside = t >= 0.5f && t <= 1.0f;
        sawInside |= inside;
        EXPECT_EQ(keyed->IsInActiveWindow(), inside) << "t = " << t;
        EXPECT_EQ(keyed->IsPastActiveWindow(), t > 1.0f) << "t = " << t;
        EXPECT_EQ(always->active, 1);
    }
    EXPECT_TRUE(sawInside);
    EXPECT_EQ(keyed->activated, 1);
    EXPECT_EQ(keyed->pastWindow, 1);
    EXPECT_EQ(keyed->active, 0);
    EXPECT_EQ(keyed->nodeDrawSelf, 0);
}

TEST(EnemyKillTest, PointBlankKillPaysTheTopScoreWithTwentySparksOnce) {
    EnemyStageFixture f([](StageModelBuilder& b) {
        Node enemy = b.Box("target:Layer0");
        b.At(enemy, 0.0f, 0.0f, 0.0f);
        return std::vector<Node>{enemy};
    });
    f.registry.Add(StageNodeRegistry::Kind::kLayer, "target:Layer0", BuildTestLayerEnemy);
    ASSERT_TRUE(f.StartWorld());
    f.Step();
    LayerEnemy* enemy = f.FindNamed<LayerEnemy>("target:Layer0");
    PlayerShip* ship = f.screen->GetPlayer(1);
    ASSERT_NE(enemy, nullptr);
    ASSERT_NE(ship, nullptr);
    ship->SetPosition(enemy->GetWorldPosition());
    f.log.Clear();
    enemy->ApplyAttack(1, Damage(10.0f));
    EXPECT_EQ(enemy->durability, 0.0f);
    EXPECT_EQ(f.log.Count("AddScore", "1 1000000"), 1);
    EXPECT_EQ(f.log.Count("SpawnSpark"), 20);
    EXPECT_EQ(f.log.Count("SpawnItem"), 1);
    EXPECT_EQ(f.log.Count("EnemyKilled"), 1);
    enemy->ApplyAttack(1, Damage(10.0f));
    EXPECT_EQ(f.log.Count("EnemyKilled"), 1) << "a dead enemy takes no second kill";
}

}  // namespace
}  // namespace mareldon
