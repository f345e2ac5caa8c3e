#include "game/stage/PodPair.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "engine/core/Random.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerGun.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/PodShot.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/game/stage/ScriptedInput.h"
#include "tests/game/stage/WorldScreenFixture.h"

namespace mareldon {
namespace {

float Degrees(float radians) {
    return radians * 57.295776f;
}
float Yaw(Object3D* node) {
    return Degrees(node->GetRotation().y);
}
float Roll(Object3D* node) {
    return Degrees(node->GetRotation().z);
}

class PodPairTest : public testing::Test, public WorldScreenFixture {
  protected:
    void SetUp() override {
        Enter(1);
        ASSERT_TRUE(StartWorld());
        ASSERT_GE(StepUntil([&] { return screen->ships[0] != nullptr; }, 10), 0);
    }
    PodPair* Pair(int32_t type) { return new PodPair(screen->GetWorldRoot(), type); }
    // A ship of the type under the scene, out of its entry flight.
    PlayerShip* Ship(int32_t type, const Vec3& at) {
        auto* ship =
            new PlayerShip(screen->GetSceneRoot(), screen, 1, type, ScriptedInput({}), at.x, at.y, at.z);
        ship->SetProtection(1000, 0);
        return ship;
    }
};

TEST_F(PodPairTest, MountsAndPodsAreTurnedMirrorWise) {
    struct Case {
        int32_t type;
        float mountA, podA, mountB, podB;
    };
    const Case cases[] = {{0, 295, 270, 65, 90}, {3, 306, 270, 54, 90}, {2, 360, 360, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        PodPair* pair = Pair(c.type);
        EXPECT_NEAR(Yaw(pair->GetMountA()), c.mountA, 1e-3f);
        EXPECT_NEAR(Yaw(pair->GetMountA()->podModel), c.podA, 1e-3f);
        EXPECT_NEAR(Yaw(pair->GetMountB()), c.mountB, 1e-3f);
        EXPECT_NEAR(Yaw(pair->GetMountB()->podModel), c.podB, 1e-3f);
        EXPECT_TRUE(pair->GetMountA()->podModel->IsSideA());
        EXPECT_FALSE(pair->GetMountB()->podModel->IsSideA());
        delete pair;
    }
    // No table row: nothing placed or turned, and nothing breaks.
    PodPair* unknown = Pair(7);
    EXPECT_EQ(unknown->GetPodPositionA().x, unknown->GetPodPositionB().x);
    Step();
    delete unknown;
}

TEST_F(PodPairTest, PodsSpinByTypeAndTheSecondTypesPairCirclesTheShip) {
    PodPair* pairs[4];
    for (int32_t type = 0; type < 4; ++type)
        pairs[type] = Pair(type);
    const float circle = std::sqrt(0.8f * 0.8f + 0.5f * 0.5f);
    std::vector<float> pairRolls;
    for (int step = 1; step <= 72; ++step) {
        Step();
        pairRolls.push_back(Roll(pairs[1]));
        const Vec3 a = pairs[1]->GetPodPositionA();
        EXPECT_NEAR(std::hypot(a.x, a.y), 0.8f, 1e-4f) << "turns about its forward axis";
        EXPECT_NEAR(std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z), circle, 1e-4f);
    }
    // Type 0 and 3: A forward, B back by 5; type 1 both by 10; type 2 still.
    EXPECT_NEAR(std::fmod(Roll(pairs[0]->GetMountA()->podModel) + 0.5f, 360.0f), 0.5f, 0.05f);
    EXPECT_NEAR(pairRolls[0], 355.0f, 1e-3f);
    EXPECT_NEAR(pairRolls[1], 350.0f, 1e-3f);
    EXPECT_NEAR(std::fmod(pairRolls[71] + 0.5f, 360.0f), 0.5f, 0.05f) << "72 steps a turn";
    for (int32_t type = 0; type < 4; ++type)
        delete pairs[type];

    for (int32_t type = 0; type < 4; ++type)
        pairs[type] = Pair(type);
    Step();
    const float afterOne[4][2] = {{5, 355}, {10, 10}, {0, 0}, {5, 355}};
    for (int32_t type = 0; type < 4; ++type) {
        SCOPED_TRACE(type);
        EXPECT_NEAR(Roll(pairs[type]->GetMountA()->podModel), afterOne[type][0], 1e-3f);
        EXPECT_NEAR(Roll(pairs[type]->GetMountB()->podModel), afterOne[type][1], 1e-3f);
        EXPECT_NEAR(Roll(pairs[type]), type == 1 ? 355.0f : 0.0f, 1e-3f);
        delete pairs[type];
    }
}

TEST_F(PodPairTest, SideGunsFireFromThePods) {
    struct Case {
        int32_t type;
        int podAGuns;  // slots 1.. at pod A, the rest at pod B
    };
    for (const Case& c : {Case{0, 2}, Case{2, 1}}) {
        SCOPED_TRACE(c.type);
        PlayerShip* ship = Ship(c.type, {1.0f, 0.0f, -2.0f});
        ship->SetAutoFire(1);
        Step();
        const Vec3 podA = ship->pods->GetPodPositionA();
        const Vec3 podB = ship->pods->GetPodPositionB();
        EXPECT_GT(podA.x, ship->GetWorldPosition().x);
        EXPECT_LT(podB.x, ship->GetWorldPosition().x);
        const Vec3 centre = ship->GetWorldPosition();
        const Vec3 main = ship->guns[0]->GetWorldPosition();
        EXPECT_NEAR(main.x, centre.x, 1e-5f);
        EXPECT_NEAR(main.z, centre.z + 0.2f, 1e-5f);
        for (int slot = 1; slot < PlayerShip::kGunSlots && ship->guns[slot] != nullptr; ++slot) {
            const Vec3 expected = slot <= c.podAGuns ? podA : podB;
            const Vec3 at = ship->guns[slot]->GetWorldPosition();
            EXPECT_NEAR(at.x, expected.x, 1e-5f) << slot;
            EXPECT_NEAR(at.z, expected.z, 1e-5f) << slot;
        }
        delete ship;
    }
}

TEST_F(PodPairTest, TheFourthTypesPodGunsHangUnderThePodsAndScatterBackward) {
    PlayerShip* ship = Ship(3, {0.0f, 0.0f, 1.0f});
    EXPECT_EQ(ship->guns[1]->parent, ship->pods->GetMountB()->podModel);
    EXPECT_EQ(ship->guns[2]->parent, ship->pods->GetMountA()->podModel);
    ship->SetPowerLevel(3);
    ship->SetAutoFire(1);
    std::set<const TreeNode*> known;
    int fired = 0;
    for (int i = 0; i < 30; ++i) {
        Random before = screen->GetRandom();
        Step();
        int made = 0;
        TreeNode* node = screen->playerShotParent->firstChild;
        for (int32_t n = 0; n < screen->playerShotParent->childCount; ++n, node = node->next) {
            auto* shot = dynamic_cast<Ship3PodBullet*>(node);
            if (shot == nullptr || !known.insert(node).second)
                continue;
            ++made;
            const Vec3 f = ship->guns[shot->GetGunSlot()]->GetWorldForward();
            const Vec3 d = shot->GetDirection();
            const float cosine = -(f.x * d.x + f.z * d.z) / std::hypot(f.x, f.z);
            EXPECT_GE(cosine, std::cos(20.0f * 0.017453294f) - 1e-5f);
            // Fired at the gun's speed, and slowed once if it already moved this step.
            EXPECT_GE(shot->GetSpeedFactor(), 0.145f - 1e-6f);
            EXPECT_LE(shot->GetSpeedFactor(), 0.15f + 1e-6f);
        }
        // One draw of the world generator per pod shot.
        for (int d = 0; d < made; ++d)
            before.Next();
        EXPECT_EQ(before.Next(), screen->GetRandom().Next());
        fired += made;
    }
    EXPECT_GE(fired, 10);
    delete ship;
    Step();
}

}  // namespace
}  // namespace mareldon
