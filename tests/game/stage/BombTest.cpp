#include <gtest/gtest.h>

#include "game/stage/BomberModel.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StaticModelRoot.h"
#include "game/system/GameSystem.h"
#include "tests/game/stage/WorldScreenFixture.h"
#include "tools/archive/PlaceholderItems.h"

namespace mareldon {
namespace {

// Counts the strikes it takes and keeps the last attack.
class CountingTarget : public AttackTarget {
  public:
    void ApplyAttack(uint32_t mask, const AttackVector& attack) override {
        ++strikes;
        lastMask = mask;
        last = attack;
    }
    int strikes = 0;
    uint32_t lastMask = 0;
    AttackVector last{};
};

// A target that registers itself at a point every step, as an enemy does.
class SteppedTarget : public TaskObject, public CountingTarget {
  public:
    SteppedTarget(TaskObject* parent, GameWorldScreen& screen, const Vec3& point)
        : TaskObject(parent, 0), screen(screen), point(point) {}
    void OnUpdatePre() override { screen.HitLists().RegisterTarget(this, point, 10.0f); }

  private:
    GameWorldScreen& screen;
    Vec3 point;
};

class BombTest : public testing::Test, public WorldScreenFixture {
  protected:
    void StartWithShip() {
        Enter(1);
        ASSERT_TRUE(StartWorld());
        ASSERT_GE(StepUntil([&] { return screen->ships[0] != nullptr && screen->GetStageTime() > 0.0f; }, 10),
                  0);
    }
    PlayerRecord& Player(int player) { return system->GetPlayer(player); }
    int Bombers() const {
        int count = 0;
        TreeNode* node = screen->bomberParent->firstChild;
        for (int32_t i = 0; i < screen->bomberParent->childCount; ++i, node = node->next)
            count += dynamic_cast<BomberModel*>(static_cast<TaskObject*>(node)) != nullptr ? 1 : 0;
        return count;
    }
};

TEST_F(BombTest, OneBombAtATimeForTheFirstPlayerWhoHasOne) {
    StartWithShip();
    struct Case {
        uint32_t mask;
        int32_t stock1, stock2;
        bool free;
        int32_t owner;  // 0: no bomb
        int32_t after1, after2;
    } const cases[] = {
        {1, 2, 2, false, 1, 1, 2},
        {3, 0, 2, false, 2, 0, 1},
        {3, 2, 2, false, 1, 1, 2},
        {1, 10, 0, false, 1, 10, 0},
        {1, 0, 5, false, 0, 0, 5},
        {2, 3, 1, false, 2, 3, 0},
        // Last: free bombs stay on once enabled.
        {1, 0, 0, true, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mask " << c.mask << " stocks " << c.stock1 << "/" << c.stock2);
        screen->SetBombActive(false);
        delete screen->bomber;
        Player(1).bombStock = c.stock1;
        Player(2).bombStock = c.stock2;
        Player(1).shipType = 1;
        Player(2).shipType = 3;
        if (c.free)
            screen->EnableFreeBombs();
        const int sounds = log.Count("PlaySe");
        const char* bomberSe = c.owner == 1 ? "38" : "40";
        const int bomberSes = log.Count("PlaySe", bomberSe);
        screen->LaunchBomb(c.mask);
        // A second request in the same step finds the bomb running.
        if (c.owner != 0)
            screen->LaunchBomb(c.mask == 1 ? 2 : 1);
        EXPECT_EQ(Player(1).bombStock, c.after1);
        EXPECT_EQ(Player(2).bombStock, c.after2);
        if (c.owner == 0) {
            EXPECT_FALSE(screen->IsBombActive());
            EXPECT_EQ(Bombers(), 0);
            EXPECT_EQ(log.Count("PlaySe"), sounds);
            continue;
        }
        EXPECT_TRUE(screen->IsBombActive());
        EXPECT_EQ(screen->bombOwnerMask, c.owner);
        EXPECT_EQ(Bombers(), 1);
        EXPECT_EQ(log.Count("PlaySe"), sounds + 1);
        EXPECT_EQ(log.Count("PlaySe", bomberSe), bomberSes + 1);
    }
}

// The bomb turns the bullets into chips, strikes every registered target once a step
// while it runs, stops the owner's ship acting, and lasts the bomber's animation.
TEST_F(BombTest, TheBombStrikesRegisteredTargetsUntilTheBomberEnds) {
    StartWithShip();
    Player(1).bombStock = 1;
    Player(1).shipType = 0;
    const Vec3 middle = screen->GetSceneRoot()->GetWorldPosition();
    ASSERT_NE(screen->FireEnemyBullet(middle, {0.0f, 0.0f, -0.05f}, 0, 1.0f), nullptr);

    CountingTarget inside;
    CountingTarget outside;
    screen->HitLists().RegisterTarget(&inside, middle, 10.0f);
    EXPECT_FALSE(screen->HitLists().RegisterTarget(&outside, {middle.x + 500.0f, middle.y, middle.z}, 1.0f));
    screen->ApplyBombDamage();
    EXPECT_EQ(inside.strikes, 0) << "no bomb, no damage";

    screen->LaunchBomb(1);
    ASSERT_TRUE(screen->IsBombActive());
    EXPECT_EQ(screen->Bullets().GetEnemyBulletCount(), 0);
    EXPECT_EQ(screen->GetScoreChipCount(), 1) << "the bullet became a chip";
    EXPECT_FALSE(screen->CanPlayerAct(1));
    EXPECT_EQ(log.Events().back().arguments, "37");

    screen->ApplyBombDamage();
    EXPECT_EQ(inside.strikes, 1);
    EXPECT_EQ(outside.strikes, 0);
    EXPECT_EQ(inside.lastMask, 1u);
    const AttackVector& table = GameWorldScreen::BombAttackTable();
    EXPECT_EQ(table.values[2], 1.0f);
    for (int i = 0; i < AttackVector::kSize; ++i)
        EXPECT_EQ(inside.last.values[size_t(i)], i == 2 ? 1.0f : 0.0f);

    // Through whole steps: an on-screen enemy takes one strike a step, an off-screen one none.
    auto* onScreen = new SteppedTarget(screen, *screen, middle);
    auto* offScreen = new SteppedTarget(screen, *screen, {middle.x + 500.0f, middle.y, middle.z});
    const int steps = StepUntil([&] { return !screen->IsBombActive(); }, 400);
    EXPECT_NEAR(onScreen->strikes, steps, 1);
    EXPECT_GT(onScreen->strikes, 0);
    EXPECT_EQ(offScreen->strikes, 0);
    EXPECT_NEAR(steps, int(kPlaceholderBomberSeconds * 60.0f), 3);
    EXPECT_EQ(screen->bombOwnerMask, 0);
    EXPECT_TRUE(screen->CanPlayerAct(1));
    Step();
    EXPECT_EQ(screen->bomber, nullptr) << "the ended bomber is gone";
    EXPECT_EQ(log.Count("SetBombActive", "0"), 1);
}

TEST_F(BombTest, TheBomberEndsTheBombOnce) {
    StartWithShip();
    auto* bomber = new BomberModel(screen->bomberParent, screen, "pl02_bomber");
    EXPECT_TRUE(screen->IsBombActive());
    EXPECT_GT(bomber->clock.end, 0.0f);
    bomber->OnMotionEnd();
    bomber->OnMotionEnd();
    EXPECT_FALSE(screen->IsBombActive());
    EXPECT_FALSE(bomber->IsAlive());
    EXPECT_EQ(log.Count("SetBombActive", "0"), 1);
    delete bomber;
}

}  // namespace
}  // namespace mareldon
