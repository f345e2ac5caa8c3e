#include "game/stage/PlayerBullet.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/render/scene/Object3D.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/game/stage/WorldScreenFixture.h"

namespace mareldon {
namespace {

// An enemy stand-in that registers itself at a world point every step from `from`
// steps on, and counts the attacks it takes.
class CountingTarget : public Object3D, public AttackTarget {
  public:
    CountingTarget(TaskObject* parent, GameWorldScreen* screen, const Vec3& at, int from = 0)
        : Object3D(parent, 0), screen(screen), at(at), from(from) {}
    bool IsAlive() override { return true; }
    void OnUpdatePre() override {
        if (steps++ >= from)
            screen->HitLists().RegisterTarget(this, at, 0.3f);
    }
    void ApplyAttack(uint32_t mask, const AttackVector& attack) override {
        ++hits;
        lastMask = mask;
        lastAttack = attack.values[3];
    }

    GameWorldScreen* screen;
    Vec3 at;
    int from;
    int steps = 0;
    int hits = 0;
    uint32_t lastMask = 0;
    float lastAttack = 0.0f;
};

class PlayerBulletTest : public testing::Test, public WorldScreenFixture {
  protected:
    void SetUp() override {
        Enter(1);
        ASSERT_TRUE(StartWorld());
        ASSERT_GE(StepUntil([&] { return screen->ships[0] != nullptr; }, 10), 0);
    }
    PlayerBullet* Fire(const Vec3& at, const Vec3& velocity, int32_t slot = 0) {
        AttackVector attack;
        attack.values[3] = 2.5f;
        return new PlayerBullet(screen->playerShotParent, at, velocity, screen, 1, slot, 0, attack);
    }
    bool Exists(const PlayerBullet* bullet) {
        TreeNode* node = screen->playerShotParent->firstChild;
        for (int32_t i = 0; i < screen->playerShotParent->childCount; ++i, node = node->next) {
            if (node == bullet)
                return true;
        }
        return false;
    }
};

TEST_F(PlayerBulletTest, PointsFallOffWithTheAgeOfTheHit) {
    struct Case {
        int age;
        int score;
        bool closeSound;
    };
    // A bullet made between steps is one frame old at its first hit test.
    const Case cases[] = {{1, 6561, true}, {4, 1296, true}, {5, 625, false}, {9, 1, false}, {14, 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.age);
        log.Clear();
        auto* target = new CountingTarget(screen->GetWorldRoot(), screen, {0.0f, 0.0f, 0.0f}, c.age - 1);
        PlayerBullet* bullet = Fire({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f});
        int age = -1;
        for (int i = 0; i < 30 && target->hits == 0; ++i) {
            age = bullet->GetStepCount() + 1;
            Step();
        }
        EXPECT_EQ(target->hits, 1);
        EXPECT_EQ(age, c.age);
        EXPECT_EQ(target->lastMask, 1u);
        EXPECT_EQ(target->lastAttack, 2.5f);
        EXPECT_EQ(log.Count("AddScore", "1 " + std::to_string(c.score)), 1);
        EXPECT_EQ(log.Count("PlaySe", "49"), 1);
        EXPECT_EQ(log.Count("PlaySe", "50"), c.closeSound ? 1 : 0);
        EXPECT_EQ(screen->GetLivePlayerBullets(), 0) << "a hit spends the bullet";
        delete target;
    }
}

TEST_F(PlayerBulletTest, OneTargetPerBulletAndBalancedCounters) {
    auto* first = new CountingTarget(screen->GetWorldRoot(), screen, {0.0f, 0.0f, 0.0f});
    auto* second = new CountingTarget(screen->GetWorldRoot(), screen, {0.05f, 0.0f, 0.0f});
    Fire({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 2);
    Fire({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, PlayerBullet::kUncountedSlot);
    EXPECT_EQ(screen->GetPlayerSlot(1)[2], 1);
    EXPECT_EQ(screen->GetLivePlayerBullets(), 2);
    Step();
    EXPECT_EQ(first->hits, 2);
    EXPECT_EQ(second->hits, 0);
    EXPECT_EQ(screen->GetPlayerSlot(1)[2], 0);
    EXPECT_EQ(screen->GetLivePlayerBullets(), 0);
    for (int slot = 0; slot < GameWorldScreen::kPlayerSlotWords; ++slot)
        EXPECT_EQ(screen->GetPlayerSlot(1)[slot], 0);
    delete first;
    delete second;
}

TEST_F(PlayerBulletTest, WithoutATargetItLivesWhileOnScreen) {
    PlayerBullet* bullet = Fire({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.5f});
    int steps = 0;
    while (Exists(bullet) && steps < 200) {
        EXPECT_TRUE(screen->IsOnScreen(bullet->GetWorldPosition(), 0.0f)) << steps;
        Step();
        ++steps;
    }
    EXPECT_LT(steps, 200);
    EXPECT_GT(steps, 1);
    EXPECT_EQ(screen->GetLivePlayerBullets(), 0);
}

TEST(PlayerBulletNameTest, PriorityHashOfTheName) {
    EXPECT_EQ(PlayerBullet::NamePriority(""), 0);
    EXPECT_EQ(PlayerBullet::NamePriority("A"), 65);
    EXPECT_EQ(PlayerBullet::NamePriority("AB"), 66 ^ (65 << 11));
    // Bytes are signed and the right shift copies the sign.
    EXPECT_EQ(PlayerBullet::NamePriority("\xff"), -1);
    EXPECT_EQ(PlayerBullet::NamePriority("\xff\x01"), 1 ^ -1);
}

}  // namespace
}  // namespace mareldon
