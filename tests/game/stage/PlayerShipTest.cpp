#include "game/stage/PlayerShip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "engine/render/draw/RenderBatch.h"
#include "engine/render/scene/MeshObject.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerGun.h"
#include "game/stage/ReflectForce.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/game/stage/ScriptedInput.h"
#include "tests/game/stage/WorldScreenFixture.h"

namespace mareldon {
namespace {

constexpr uint32_t kUp = PlayerShip::kUp, kDown = PlayerShip::kDown, kLeft = PlayerShip::kLeft,
                   kRight = PlayerShip::kRight, kShot = PlayerShip::kShot, kBomb = PlayerShip::kBomb;

class PlayerShipTest : public testing::Test, public WorldScreenFixture {
  protected:
    // Player 1's ship (and player 2's with `both`), out of its entry flight and
    // unprotected, at `at`.
    PlayerShip* Ready(const Vec3& at, bool both = false) {
        Enter(1);
        if (both)
            Enter(2);
        EXPECT_TRUE(StartWorld());
        EXPECT_GE(StepUntil([&] { return screen->ships[0] && (!both || screen->ships[1]); }, 10), 0);
        for (PlayerShip* ship : screen->ships) {
            if (ship == nullptr)
                continue;
            ship->entrySteps = PlayerShip::kEntrySteps;
            ship->SetProtection(0, 0);
            ship->SetInput(ScriptedInput({}));
        }
        PlayerShip* ship = screen->ships[0];
        ship->SetPosition(at);
        return ship;
    }
    // Steps once per word with the ship reading that word.
    void Fly(PlayerShip* ship, const std::vector<uint32_t>& words) {
        ship->SetInput(ScriptedInput(words));
        for (size_t i = 0; i < words.size(); ++i) {
            ship->GetInput()->Update();
            Step();
        }
    }
    static float RollDegrees(PlayerShip* ship) { return ship->model->GetRotation().z * 57.295776f; }
};

TEST_F(PlayerShipTest, MovesByTheButtonsWithinTheField) {
    struct Case {
        const char* name;
        int32_t type;
        Vec3 start;
        uint32_t held;
        float dx, dz;
    };
    const float d = 0.70710677f;
    const Case cases[] = {
        {"left and right cancel", 0, {0, 0, 0}, kLeft | kRight, 0.0f, 0.0f},
        {"up and down cancel", 0, {0, 0, 0}, kUp | kDown | kRight, 0.1f, 0.0f},
        {"diagonal at the type's speed", 1, {0, 0, 0}, kUp | kRight, 0.12f * d, 0.12f * d},
        {"down-left", 2, {0, 0, 0}, kDown | kLeft, -0.08f * d, -0.08f * d},
        {"beyond the left bound: not left", 0, {-5.2f, 0, 0}, kLeft, 0.0f, 0.0f},
        {"beyond the left bound: right", 3, {-5.2f, 0, 0}, kRight, 0.09f, 0.0f},
        {"at the left bound: one more step", 0, {-5.0f, 0, 0}, kLeft, -0.1f, 0.0f},
        {"beyond the top", 0, {0, 0, 4.45f}, kUp | kRight, 0.1f, 0.0f},
        {"beyond the bottom", 0, {0, 0, -4.85f}, kDown, 0.0f, 0.0f},
        {"beyond the right", 0, {5.05f, 0, 0}, kRight | kDown, 0.0f, -0.1f},
        // Exactly on a bound the ship still moves out by a step.
        {"on the right bound", 0, {5.0f, 0, 0}, kRight, 0.1f, 0.0f},
        {"on the top bound", 0, {0, 0, 4.4f}, kUp, 0.0f, 0.1f},
        {"on the bottom bound", 0, {0, 0, -4.8f}, kDown, 0.0f, -0.1f},
        {"on the top and right bounds", 1, {5.0f, 0, 4.4f}, kUp | kRight, 0.12f * d, 0.12f * d},
    };
    PlayerShip* ship = Ready({0, 0, 0});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ship->shipType = c.type;
        ship->moveSpeed = PlayerShip::MoveSpeedOf(c.type);
        ship->SetPosition(c.start);
        Fly(ship, {c.held});
        EXPECT_NEAR(ship->GetPosition().x - c.start.x, c.dx, 1e-5f);
        EXPECT_NEAR(ship->GetPosition().z - c.start.z, c.dz, 1e-5f);
    }
}

// The player steers through their own bomb and through the clear; only the guns and
// the reflect charge wait.
TEST_F(PlayerShipTest, SteersDuringItsOwnBombAndTheClearButNeitherFiresNorCharges) {
    PlayerShip* ship = Ready({0, 0, 0});
    system->GetPlayer(1).bombStock = 2;
    Fly(ship, {kBomb});
    ASSERT_TRUE(screen->IsBombActive());
    ASSERT_FALSE(screen->CanPlayerAct(1));
    struct Phase {
        const char* name;
        std::function<void()> begin;
    };
    const Phase phases[] = {
        {"own bomb", [] {}},
        {"stage clear", [&] { screen->BeginStageClear(); }},
    };
    for (const Phase& phase : phases) {
        SCOPED_TRACE(phase.name);
        phase.begin();
        ASSERT_FALSE(screen->CanPlayerAct(1));
        ship->SetPosition({0, 0, 0});
        // Held: the first step is a press of shot as well.
        Fly(ship, {kLeft | kUp | kShot, kLeft | kUp | kShot, kLeft | kUp | kShot});
        ASSERT_FALSE(screen->CanPlayerAct(1)) << "still running";
        const float d = 3 * 0.1f * 0.70710677f;
        EXPECT_NEAR(ship->GetPosition().x, -d, 1e-5f);
        EXPECT_NEAR(ship->GetPosition().z, d, 1e-5f);
        EXPECT_EQ(ship->fireHoldTimer, 0.0f);
        for (PlayerGunBase* gun : ship->guns)
            EXPECT_FALSE(gun->IsFiring());
        EXPECT_EQ(ship->reflectForce->buttonHeld, 0);
        EXPECT_EQ(ship->reflectForce->chargeLeft, ship->reflectForce->chargeTime);
    }
}

TEST_F(PlayerShipTest, APartnerFarToTheRightBlocksMovingLeft) {
    PlayerShip* ship = Ready({0, 0, 0}, true);
    screen->ships[1]->SetPosition({7.3f, 0, 0});
    Fly(ship, {kLeft});
    EXPECT_EQ(ship->GetPosition().x, 0.0f);
    Fly(ship, {kRight});
    EXPECT_FLOAT_EQ(ship->GetPosition().x, 0.1f);
}

TEST_F(PlayerShipTest, TheEntryFlightIgnoresTheButtons) {
    PlayerShip* ship = Ready({0, 0, 0});
    ship->SetPosition({0.0f, 0.0f, GameWorldScreen::kRespawnZ});
    ship->entrySteps = 0;
    ship->StartEntryFlight();
    // Pressed anew every other step so the presses count too.
    std::vector<uint32_t> words;
    for (int i = 0; i < PlayerShip::kEntrySteps - 1; ++i)
        words.push_back(i % 2 == 0 ? kLeft | kUp | kShot | kBomb : kLeft);
    Fly(ship, words);
    EXPECT_EQ(ship->entrySteps, PlayerShip::kEntrySteps - 1);
    EXPECT_EQ(ship->GetPosition().x, 0.0f);
    EXPECT_EQ(ship->model->GetRotation().z, 0.0f);
    EXPECT_EQ(ship->fireHoldTimer, 0.0f);
    EXPECT_FALSE(ship->guns[0]->IsFiring());
    EXPECT_EQ(log.Count("LaunchBomb"), 0);
    // The last flight step moves the ship up, then already banks, fires and bombs.
    Fly(ship, {kLeft | kUp | kShot | kBomb});
    EXPECT_EQ(ship->entrySteps, PlayerShip::kEntrySteps);
    EXPECT_NEAR(ship->GetPosition().z, -3.52f, 1e-4f);
    EXPECT_EQ(ship->GetPosition().x, 0.0f);
    EXPECT_NEAR(RollDegrees(ship), 4.0f, 1e-3f);
    EXPECT_EQ(ship->fireHoldTimer, PlayerShip::kFireHoldTime);
    EXPECT_EQ(log.Count("LaunchBomb", "1"), 1);
    // Then the ship is the player's.
    Fly(ship, {kLeft | kBomb});
    EXPECT_FLOAT_EQ(ship->GetPosition().x, -0.1f);
    EXPECT_EQ(log.Count("LaunchBomb", "1"), 2);
}

TEST_F(PlayerShipTest, AShotPressHoldsFireForThreeTenthsAndAutoFireEveryStep) {
    PlayerShip* ship = Ready({0, 0, 0});
    // The steps the hold lasts in single precision, counted as the ship counts them.
    int expected = 0;
    for (float timer = PlayerShip::kFireHoldTime; (timer -= 1.0f / 60.0f) > 0.0f;)
        ++expected;
    // The press step fires too.
    ++expected;
    std::vector<uint32_t> words(40, kShot);  // held: only the first step is a press
    ship->SetInput(ScriptedInput(words));
    int firing = 0;
    for (size_t i = 0; i < words.size(); ++i) {
        ship->GetInput()->Update();
        Step();
        if (ship->fireHoldTimer > 0.0f)
            ++firing;
    }
    EXPECT_EQ(firing, expected);
    EXPECT_TRUE(ship->guns[0]->IsFiring());

    ship->SetAutoFire(1);
    Fly(ship, std::vector<uint32_t>(3, 0));
    EXPECT_EQ(ship->fireHoldTimer, PlayerShip::kFireHoldTime);
}

TEST_F(PlayerShipTest, BanksByFourDegreesAStepAndLevelsOut) {
    PlayerShip* ship = Ready({0, 0, 0});
    Fly(ship, {kLeft | kRight});
    EXPECT_NEAR(RollDegrees(ship), 0.0f, 1e-3f);
    Fly(ship, {kRight});
    EXPECT_NEAR(RollDegrees(ship), -4.0f, 1e-3f);
    // The limit is tested before the step: the roll ends one step past 30.
    Fly(ship, std::vector<uint32_t>(12, kRight));
    EXPECT_NEAR(RollDegrees(ship), -32.0f, 1e-3f);
    Fly(ship, std::vector<uint32_t>(8, 0));
    EXPECT_NEAR(RollDegrees(ship), 0.0f, 1e-3f);
    Fly(ship, std::vector<uint32_t>(20, kLeft));
    EXPECT_NEAR(RollDegrees(ship), 32.0f, 1e-3f);
}

TEST_F(PlayerShipTest, TwoBulletsOnAnUnprotectedShipAreSpentAndItDiesSeventyStepsLater) {
    PlayerShip* ship = Ready({0, 0, 0});
    ship->SetProtection(4, 1);
    // A protected ship is never hit, though a bullet sits on it.
    const Vec3 at = ship->GetWorldPosition();
    screen->FireEnemyBullet(at, {0.0f, 0.0f, 0.001f}, 3, 1.0f);
    Fly(ship, {0, 0, 0});
    EXPECT_EQ(ship->dying, 0);
    EXPECT_EQ(ship->protectionTimer, 1);
    screen->FireEnemyBullet(at, {0.001f, 0.0f, 0.0f}, 3, 1.0f);
    const int hitStep = StepUntil([&] { return ship->dying != 0; }, 3);
    ASSERT_GE(hitStep, 0);
    EXPECT_EQ(log.Count("PlaySe", "43"), 2) << "every bullet over the ship is spent";
    const int hitAt = log.Events().back().step;
    const int steps = StepUntil([&] { return screen->ships[0] != ship; }, 80);
    EXPECT_EQ(steps, PlayerShip::kDeathSteps);
    const int goneAt = StepOf("KillPlayers", "1");
    EXPECT_EQ(goneAt - hitAt, PlayerShip::kDeathSteps);
    EXPECT_EQ(StepOf("PlaySe", "41"), goneAt);
    EXPECT_GE(log.Count("SpawnEffect"), 1);
    bool explosion = false;
    for (const WorldEvent& event : log.Events())
        explosion |= event.operation == "SpawnEffect" && event.arguments.rfind("EXPLOSION_PLAYER", 0) == 0 &&
                     event.step == goneAt;
    EXPECT_TRUE(explosion);
}

TEST_F(PlayerShipTest, AProtectedShipGlowsOnOddFramesOnly) {
    PlayerShip* ship = Ready({0, 0, 0});
    ship->SetProtection(100, 1);
    ASSERT_EQ(ship->model->meshCount, ShipModel::kKeptMeshes);
    int odd = 0;
    for (int i = 0; i < 4; ++i) {
        Fly(ship, {0});
        ASSERT_EQ(ship->model->blink, 1);
        ship->model->DrawSelf();
        const int expected = (ship->model->GetStepCount() & 1) != 0 ? 1 : 0;
        odd += expected;
        for (MeshObject* mesh : ship->model->meshes)
            EXPECT_EQ(mesh->DrawSet()->records.Count(), expected) << "step " << i;
    }
    EXPECT_EQ(odd, 2) << "the model's frame runs one a step";
    ship->SetProtection(1, 1);
    Fly(ship, {0});
    EXPECT_EQ(ship->model->blink, 0);
    ship->model->DrawSelf();
    for (MeshObject* mesh : ship->model->meshes)
        EXPECT_EQ(mesh->DrawSet()->records.Count(), 0);
}

TEST_F(PlayerShipTest, PowerLevelReachesEveryGunAndPartsFollowTheType) {
    PlayerShip* ship = Ready({0, 0, 0});
    ship->SetPowerLevel(2);
    EXPECT_EQ(ship->GetPowerLevel(), 2);
    for (PlayerGunBase* gun : ship->guns)
        EXPECT_EQ(gun->GetPowerLevel(), 2);

    const int32_t gunCounts[] = {5, 3, 3, 3};
    for (int32_t type = 0; type < 4; ++type) {
        PlayerShip* other =
            new PlayerShip(screen->GetWorldRoot(), nullptr, 2, type, ScriptedInput({}), 0, 0, 0);
        int count = 0;
        for (PlayerGunBase* gun : other->guns)
            count += gun != nullptr ? 1 : 0;
        EXPECT_EQ(count, gunCounts[type]);
        EXPECT_NE(other->model, nullptr);
        delete other;
    }
    PlayerShip* unknown = new PlayerShip(screen->GetWorldRoot(), nullptr, 2, 4, ScriptedInput({}), 0, 0, 0);
    EXPECT_EQ(unknown->model, nullptr);
    EXPECT_EQ(unknown->guns[0], nullptr);
    EXPECT_EQ(unknown->GetPowerLevel(), 0);
    delete unknown;
}

TEST_F(PlayerShipTest, TheDummyShipDoesNothing) {
    Ready({0, 0, 0});
    PlayerShip* dummy = screen->GetDummyShip();
    ASSERT_NE(dummy, nullptr);
    dummy->SetInput(ScriptedInput({kUp | kShot | kBomb}));
    dummy->GetInput()->Update();
    const Vec3 at = dummy->GetPosition();
    Step();
    EXPECT_EQ(dummy->GetPosition().z, at.z);
    EXPECT_EQ(dummy->fireHoldTimer, 0.0f);
    EXPECT_EQ(log.Count("LaunchBomb"), 0);
    EXPECT_EQ(screen->HitLists().FindPickupPlayer(at), nullptr);
}

}  // namespace
}  // namespace mareldon
