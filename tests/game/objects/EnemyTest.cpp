#include "game/objects/Enemy.h"

#include <gtest/gtest.h>

#include "game/stage/StaticModelRoot.h"
#include "tests/engine/render/scene/SceneTestNodes.h"

namespace mareldon {
namespace {

class CountingEnemy : public Enemy {
  public:
    using Enemy::Enemy;
    void OnDamaged(float damage, uint32_t mask) override {
        damages.push_back(damage);
        lastMask = mask;
    }
    void OnDestroyed() override { ++destroyed; }

    std::vector<float> damages;
    uint32_t lastMask = 0;
    int destroyed = 0;
};

TEST(EnemyTest, AttacksAreWeighedAndStopAtZero) {
    SceneTestRoot root;
    CountingEnemy enemy(&root, 5.0f);
    enemy.attackWeights.values[3] = 2.0f;
    AttackVector attack = kReflectAttack;
    attack.values[0] = 0.5f;
    enemy.ApplyAttack(2, attack);
    EXPECT_FLOAT_EQ(enemy.durability, 5.0f - (0.5f + 3.4f));
    EXPECT_EQ(enemy.lastMask, 2u);
    EXPECT_EQ(enemy.hitFlashPending, 1);
    enemy.ApplyAttack(1, attack);
    EXPECT_EQ(enemy.durability, 0.0f);
    EXPECT_EQ(enemy.damages, (std::vector<float>{3.9f, 3.9f})) << "the full damage, not what was left";
    EXPECT_EQ(enemy.destroyed, 1);
    // Dead but not yet swept: a late strike changes nothing.
    enemy.ApplyAttack(1, attack);
    EXPECT_EQ(enemy.damages.size(), 2u);
    EXPECT_EQ(enemy.destroyed, 1);
}

TEST(EnemyTest, PastTheWindowOnceTheStageClockPassesItsLastKey) {
    SceneTestRoot top;
    StaticModelRoot stage(&top);
    Enemy enemy(&stage, 1.0f);
    enemy.keySpanStart = 1.0f;
    enemy.keySpanEnd = 2.0f;
    stage.SetMotionTime(2.0f);
    EXPECT_FALSE(enemy.IsPastActiveWindow());
    stage.SetMotionTime(2.01f);
    EXPECT_TRUE(enemy.IsPastActiveWindow());
    enemy.attached = 1;
    EXPECT_FALSE(enemy.IsPastActiveWindow()) << "an attached part follows its parent";
}

TEST(EnemyTest, HeldHiddenKeepsTheSweepFromShowingItInItsWindow) {
    SceneTestRoot top;
    StaticModelRoot stage(&top);
    Enemy enemy(&stage, 1.0f);
    enemy.keySpanStart = 0.0f;
    enemy.keySpanEnd = 5.0f;
    stage.SetMotionTime(1.0f);
    enemy.heldHidden = 1;
    EXPECT_TRUE(enemy.IsAlive());
    EXPECT_FALSE(enemy.GetUpdateSelf());
    EXPECT_FALSE(enemy.GetDrawSelf());
    EXPECT_EQ(enemy.nodeChildren, 0);
    enemy.heldHidden = 0;
    EXPECT_TRUE(enemy.IsAlive());
    EXPECT_TRUE(enemy.GetUpdateSelf());
    EXPECT_TRUE(enemy.GetDrawSelf());
    EXPECT_EQ(enemy.nodeChildren, 1);
}

}  // namespace
}  // namespace mareldon
