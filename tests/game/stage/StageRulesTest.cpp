#include <gtest/gtest.h>

#include "game/stage/BomberModel.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/Items.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/StraightShot.h"
#include "game/system/GameSystem.h"
#include "tests/game/stage/ScriptedInput.h"
#include "tests/game/stage/WorldScreenFixture.h"

namespace mareldon {
namespace {

class StageRulesTest : public testing::Test, public WorldScreenFixture {
  protected:
    // Starts with the players of `mask` in play and steps until their ships fly.
    void Start(int mask) {
        for (int player = 1; player <= 2; ++player) {
            if (mask & player)
                Enter(player);
        }
        ASSERT_TRUE(StartWorld());
        ASSERT_GE(StepUntil(
                      [&] {
                          return (!(mask & 1) || screen->ships[0]) && (!(mask & 2) || screen->ships[1]) &&
                                 screen->GetStageTime() > 0.0f;
                      },
                      10),
                  0);
        for (PlayerShip* ship : screen->ships) {
            if (ship != nullptr)
                ship->SetInput(ScriptedInput({}));
        }
    }
};

// A dead ship comes back at the x it died at, within 6.5 of a partner, 6 below the
// middle.
TEST_F(StageRulesTest, AShipRespawnsAtTheXItDiedAt) {
    struct Case {
        const char* name;
        float deathX;
        bool partner;
        float partnerX;
        float respawnX;
    } const cases[] = {
        {"alone", 3.0f, false, 0.0f, 3.0f},
        {"alone, left", -4.25f, false, 0.0f, -4.25f},
        {"within reach of the partner", 3.0f, true, -2.0f, 3.0f},
        {"too far right of the partner", 3.0f, true, -5.0f, 1.5f},
        {"too far left of the partner", -4.0f, true, 4.0f, -2.5f},
    };
    Start(1);
    system->GetPlayer(1).shipStock = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.partner && screen->ships[1] == nullptr) {
            Enter(2);
            ASSERT_GE(StepUntil([&] { return screen->ships[1] != nullptr; }, 5), 0);
            screen->ships[1]->SetInput(ScriptedInput({}));
        }
        PlayerShip* ship = screen->ships[0];
        ship->SetPosition({c.deathX, 0.0f, 1.0f});
        if (c.partner)
            screen->ships[1]->SetPosition({c.partnerX, 0.0f, 0.0f});
        // The last step of a death sequence.
        ship->dying = 1;
        ship->deathCountdown = 1;
        ASSERT_GE(StepUntil([&] { return screen->ships[0] != nullptr && screen->ships[0] != ship; }, 5), 0);
        PlayerShip* again = screen->ships[0];
        again->SetInput(ScriptedInput({}));
        EXPECT_FLOAT_EQ(again->GetPosition().x, c.respawnX);
        // Spawned at -6; the entry flight may have begun.
        EXPECT_NEAR(again->GetPosition().z, -6.0f + 0.08f * float(again->entrySteps), 1e-4f);
    }
}

// With no ship the world stands, but the items and the players' shots move on.
TEST_F(StageRulesTest, ItemsAndShotsMoveWhileTheWorldIsFrozen) {
    ASSERT_TRUE(StartWorld());
    ASSERT_EQ(screen->ships[0], nullptr);
    ASSERT_EQ(screen->ships[1], nullptr);
    const Vec3 middle = screen->GetSceneRoot()->GetWorldPosition();
    // Worth 100: launched straight up at 0.12, slowing by 0.003 a step.
    auto* item = dynamic_cast<ScoreItem*>(screen->SpawnItem(middle, {}, "BONUS_L"));
    ASSERT_NE(item, nullptr);
    auto* shot =
        new StraightShot(StraightShotKind::Ship0Main, screen->playerShotParent, middle, {0.0f, 0.0f, 0.1f},
                         screen, 1, PlayerBullet::kUncountedSlot, 0, AttackVector{});
    const Vec3 itemAt = item->GetPosition();
    const Vec3 shotAt = shot->GetPosition();
    const float stageTime = screen->GetStageTime();
    for (int i = 0; i < 3; ++i)
        Step();
    EXPECT_EQ(screen->GetStageTime(), stageTime) << "the world stands";
    EXPECT_NEAR(item->GetPosition().z - itemAt.z, 0.12f + 0.117f + 0.114f, 1e-5f);
    EXPECT_NEAR(item->velocity.z, 0.111f, 1e-5f);
    EXPECT_NEAR(shot->GetPosition().z - shotAt.z, 0.3f, 1e-5f);
}

// The bomb lasts while the bomber's clock is at its end time and ends once the clock
// is past it.
TEST_F(StageRulesTest, TheBombEndsOnlyOnceTheBombersClockIsPastItsEnd) {
    Start(1);
    struct Case {
        const char* name;
        float endAfterSteps;  // the end time, in steps from now
        int activeSteps;      // steps the bomb is still on
    } const cases[] = {
        {"lands on the end", 1.0f, 1},
        {"half a step short of the end", 0.5f, 0},
        {"lands on the end two steps on", 2.0f, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        system->GetPlayer(1).bombStock = 3;
        screen->LaunchBomb(1);
        auto* bomber = dynamic_cast<BomberModel*>(screen->bomber);
        ASSERT_NE(bomber, nullptr);
        ASSERT_TRUE(screen->IsBombActive());
        // The clock adds the step period a step; the end is set by the same sums.
        float end = bomber->clock.time;
        for (int i = 0; i < int(c.endAfterSteps); ++i)
            end += 1.0f * bomber->framePeriod;
        if (c.endAfterSteps < 1.0f)
            end += 0.5f * bomber->framePeriod;
        bomber->clock.end = end;
        int active = 0;
        for (int i = 0; i < 4; ++i) {
            Step();
            if (!screen->IsBombActive())
                break;
            ++active;
        }
        EXPECT_EQ(active, c.activeSteps);
        StepUntil([&] { return screen->bomber == nullptr; }, 3);
    }
}

}  // namespace
}  // namespace mareldon
