#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/render/scene/Object3D.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/HomingShot.h"
#include "game/stage/PlayerShotSprite.h"
#include "game/stage/PodShot.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/game/stage/WorldScreenFixture.h"

namespace mareldon {
namespace {

// An enemy stand-in at a world point that registers itself every step while it is
// `registering`, ahead of the player shots (so a homing shot sees it in the same step),
// and counts the attacks it takes.
class LiveTarget : public Object3D, public AttackTarget {
  public:
    LiveTarget(GameWorldScreen* screen, const Vec3& at)
        : Object3D(screen->GetSceneRoot(), -1), screen(screen), at(at) {}
    bool IsAlive() override { return true; }
    void OnUpdatePre() override {
        if (registering)
            screen->HitLists().RegisterTarget(this, at, 0.3f);
    }
    void ApplyAttack(uint32_t, const AttackVector&) override { ++hits; }
    bool IsLiveTarget() override { return live; }
    Vec3 TargetWorldPosition() override { return at; }

    GameWorldScreen* screen;
    Vec3 at;
    bool registering = true;
    bool live = true;
    int hits = 0;
};

class PlayerShotsTest : public testing::Test, public WorldScreenFixture {
  protected:
    void SetUp() override {
        Enter(1);
        ASSERT_TRUE(StartWorld());
        ASSERT_GE(StepUntil([&] { return screen->ships[0] != nullptr; }, 10), 0);
    }
    Ship2SubBullet* Homing(const Vec3& at, float speed) {
        return new Ship2SubBullet(screen->playerShotParent, at, {0.0f, 0.0f, speed}, screen, 1, 1, 0,
                                  AttackVector{}, speed);
    }
    Ship3PodBullet* Pod(const Vec3& at, const Vec3& direction, int32_t level = 0) {
        return new Ship3PodBullet(screen->playerShotParent, at, direction, 0.15f, screen, 1, 2, level,
                                  AttackVector{});
    }
    template <typename Shot>
    std::vector<Shot*> Shots() {
        std::vector<Shot*> found;
        TreeNode* node = screen->playerShotParent->firstChild;
        for (int32_t i = 0; i < screen->playerShotParent->childCount; ++i, node = node->next) {
            if (auto* shot = dynamic_cast<Shot*>(node))
                found.push_back(shot);
        }
        return found;
    }
    int32_t Slot(int32_t slot) { return screen->GetPlayerSlot(1)[slot]; }
    int Effects(const std::string& name) const {
        int count = 0;
        for (const WorldEvent& event : log.Events())
            count += event.operation == "SpawnEffect" && event.arguments.rfind(name + " ", 0) == 0 ? 1 : 0;
        return count;
    }
};

TEST_F(PlayerShotsTest, AHomingShotTurnsOntoItsTargetSlowingWhileItTurnsHard) {
    auto* target = new LiveTarget(screen, {3.0f, 0.0f, 2.0f});
    Ship2SubBullet* shot = Homing({0.0f, 0.0f, 0.0f}, 0.4f);
    Step();
    ASSERT_EQ(shot->GetTarget(), target);
    // 56 degrees off its course: it turns a little and slows.
    EXPECT_GT(shot->GetHeading(), 0.0f);
    EXPECT_LT(shot->GetHeading(), 10.0f);
    EXPECT_FLOAT_EQ(shot->GetSpeed(), 0.385f);
    EXPECT_NEAR(shot->GetRotation().y * 57.295776f, shot->GetHeading(), 1e-3f);
    // Its velocity follows the heading (0 is +z, 90 is +x).
    const float h = shot->GetHeading() * 0.017453294f;
    EXPECT_NEAR(shot->velocity.x, std::sin(h) * 0.385f, 1e-5f);
    EXPECT_NEAR(shot->velocity.z, std::cos(h) * 0.385f, 1e-5f);
    const int steps = StepUntil([&] { return target->hits > 0; }, 120);
    EXPECT_GT(steps, 0);
    EXPECT_EQ(target->hits, 1);
    EXPECT_EQ(Effects("STE_pl02_h_chakudan"), 1);
    EXPECT_EQ(Slot(1), 0);
    delete target;
}

TEST_F(PlayerShotsTest, AHomingShotLetsADeadTargetGoAndPicksAnotherTheNextStep) {
    auto* first = new LiveTarget(screen, {-4.0f, 0.0f, 4.0f});
    Ship2SubBullet* shot = Homing({0.0f, 0.0f, -3.0f}, 0.2f);
    Step();
    Step();
    ASSERT_EQ(shot->GetTarget(), first);
    const float heading = shot->GetHeading();
    const Vec3 rotation = shot->GetRotation();
    const float speed = shot->GetSpeed();

    first->live = false;
    first->registering = false;
    auto* second = new LiveTarget(screen, {4.0f, 0.0f, 4.0f});
    Step();
    EXPECT_EQ(shot->GetTarget(), nullptr);
    EXPECT_EQ(shot->GetHeading(), heading) << "flies on along its last heading";
    EXPECT_EQ(shot->GetRotation().y, rotation.y);
    EXPECT_FLOAT_EQ(shot->GetSpeed(), speed + 0.015f);
    Step();
    EXPECT_EQ(shot->GetTarget(), second);

    // A target that goes away empties the shot's link at once.
    delete second;
    EXPECT_EQ(shot->GetTarget(), nullptr);
    Step();
    EXPECT_EQ(shot->GetTarget(), nullptr);
    delete first;
}

TEST_F(PlayerShotsTest, WithoutATargetAHomingShotSpeedsUpToItsTopSpeedAndFliesStraight) {
    Ship2SubBullet* shot = Homing({1.0f, 0.0f, -4.0f}, 0.1f);
    std::vector<float> speeds;
    for (int i = 0; i < 24; ++i) {
        Step();
        speeds.push_back(shot->GetSpeed());
    }
    EXPECT_FLOAT_EQ(speeds[0], 0.115f);
    EXPECT_NEAR(speeds[19], 0.4f, 1e-6f);
    EXPECT_FLOAT_EQ(speeds[23], 0.4f);
    EXPECT_NEAR(shot->GetPosition().x, 1.0f, 1e-5f);
    EXPECT_EQ(shot->GetHeading(), 0.0f);
}

TEST_F(PlayerShotsTest, APodShotLeavesABlastWhenItsLifeRunsOutButNotOffScreen) {
    Ship3PodBullet* shot = Pod({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -1.0f});
    Vec3 last{};
    int steps = 0;
    while (!Shots<Ship3PodBullet>().empty() && steps < 100) {
        last = shot->GetPosition();
        Step();
        ++steps;
    }
    EXPECT_EQ(steps, 61) << "ends in the step its life goes below 0";
    std::vector<Ship3PodBlast*> blasts = Shots<Ship3PodBlast>();
    ASSERT_EQ(blasts.size(), 1u);
    // Its last step of 0.05 took it there.
    EXPECT_NEAR(blasts[0]->GetPosition().z, last.z - 0.05f, 1e-4f);
    EXPECT_EQ(blasts[0]->GetGunSlot(), 2);
    EXPECT_EQ(Slot(2), 1) << "the blast counts as a live shot of the gun";
    EXPECT_EQ(log.Count("AddScore"), 0);

    // Already off the screen: gone without a blast.
    Pod({0.0f, 0.0f, -60.0f}, {0.0f, 0.0f, -1.0f});
    Step();
    EXPECT_EQ(Shots<Ship3PodBullet>().size(), 0u);
    EXPECT_EQ(Shots<Ship3PodBlast>().size(), 1u);
}

TEST_F(PlayerShotsTest, APodShotHitScoresTheSquareQuietlyAndLeavesABlast) {
    auto* target = new LiveTarget(screen, {0.0f, 0.0f, 0.0f});
    Pod({0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f});
    Step();
    EXPECT_EQ(target->hits, 1);
    EXPECT_EQ(log.Count("AddScore", "1 9801"), 1);  // (100 - 1)^2
    EXPECT_EQ(log.Count("PlaySe", "49"), 0);
    EXPECT_EQ(log.Count("SpawnSpark"), 0);
    EXPECT_EQ(Shots<Ship3PodBullet>().size(), 0u);
    EXPECT_EQ(Shots<Ship3PodBlast>().size(), 1u);
    delete target;
}

TEST_F(PlayerShotsTest, ABlastGrowsToItsLevelSizeStrikesEveryStepAndEndsWithItsLife) {
    auto* target = new LiveTarget(screen, {0.0f, 0.0f, 0.0f});
    auto* blast = new Ship3PodBlast(screen->playerShotParent, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, screen,
                                    1, 2, 3, AttackVector{});
    EXPECT_EQ(blast->noSpark, 1);
    EXPECT_NEAR(Vec3Length(blast->GetScale()), 0.07f, 1e-6f);
    std::vector<float> sizes;
    int steps = 0;
    while (!Shots<Ship3PodBlast>().empty() && steps < 100) {
        Step();
        ++steps;
        if (steps < 60) {
            sizes.push_back(blast->GetSizeFactor());
            EXPECT_NEAR(Vec3Length(blast->GetScale()), blast->GetSizeFactor(), 1e-5f);
        }
    }
    EXPECT_EQ(steps, 60) << "removed in the step its life reaches 0";
    EXPECT_NEAR(sizes[0], 0.1f, 1e-6f);
    EXPECT_NEAR(sizes[5], 0.6f, 1e-5f);
    EXPECT_FLOAT_EQ(sizes[6], 0.7f);
    EXPECT_FLOAT_EQ(sizes[58], 0.7f);
    EXPECT_EQ(target->hits, 60);
    EXPECT_EQ(log.Count("PlaySe", "49"), 60);
    EXPECT_EQ(log.Count("SpawnSpark"), 0);
    EXPECT_EQ(Slot(2), 0);
    EXPECT_EQ(screen->GetLivePlayerBullets(), 0);
    // Each level has its size; a level no gun gives takes the smallest.
    const float expected[] = {0.4f, 0.5f, 0.6f, 0.7f, 0.4f, 0.4f};
    const int32_t levels[] = {0, 1, 2, 3, 4, -1};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Ship3PodBlast::MaxSizeOf(levels[i]), expected[i]);
    delete target;
}

TEST_F(PlayerShotsTest, SpriteCellsFollowTheAgeAndLieOnTheSheet) {
    Ship2SubBullet* homing = Homing({0.0f, 0.0f, -4.0f}, 0.1f);
    Ship3PodBullet* pod = Pod({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -1.0f}, 2);
    Ship3PodBullet* badLevel = Pod({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -1.0f}, 4);
    for (int age = 0; age < 18; ++age) {
        SCOPED_TRACE(age);
        EXPECT_EQ(homing->SpriteCell(), 32 + age % 8);
        EXPECT_EQ(pod->SpriteCell(), 40 + age % 16);
        EXPECT_EQ(badLevel->SpriteCell(), -1);
        Step();
    }

    struct Case {
        int32_t cell;
        bool drawn;
        float u0, v0;
    };
    const Case cases[] = {{0, true, 0.625732f, 0.0625f},   {11, true, 0.969482f, 0.0625f},
                          {12, true, 0.625732f, 0.09375f}, {55, true, 0.844482f, 0.1875f},
                          {56, false, 0.0f, 0.0f},         {-1, false, 0.0f, 0.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        float uv[4] = {};
        ASSERT_EQ(PlayerShotCellUv(c.cell, uv), c.drawn);
        if (!c.drawn)
            continue;
        EXPECT_NEAR(uv[0], c.u0, 1e-6f);
        EXPECT_NEAR(uv[1], c.v0, 1e-6f);
        EXPECT_NEAR(uv[2] - uv[0], 0.030029f, 1e-6f);
        EXPECT_NEAR(uv[3], c.v0 + 0.0307617f, 1e-6f);
        EXPECT_LE(uv[2], 1.0f);
    }
}

}  // namespace
}  // namespace mareldon
