#include "game/objects/GunVariants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/game/objects/GunStageFixture.h"

namespace mareldon {
namespace {

constexpr float kTolerance = 2e-4f;

float Speed(const Shot& s) {
    return std::sqrt(s.vx * s.vx + s.vz * s.vz);
}

// A gun of the test's row under the carrier of "BS_TULIP" on a world of `stage`.
struct VariantRig {
    explicit VariantRig(int32_t stage = 2) : f({"BS_TULIP"}) {
        started = f.StartAtStage(stage);
        if (started)
            f.Step();
    }
    TableGun* Make(const GunRow& row) { return new TableGun(f.Carrier("BS_TULIP"), f.screen, row); }
    // The bullets of one shot, at the gun's position.
    std::vector<Shot> Fire(TableGun& gun, float angle, float speed) {
        f.log.Clear();
        gun.FireBullet(gun.GetWorldPosition(), angle, speed);
        return AllShots(f.log);
    }

    GunStageFixture f;
    bool started = false;
};

TEST(GunVariantsTest, CountedBurstsFireEightOrSixteenAndRestAsLongWithTheCounterRunningOn) {
    VariantRig rig;
    ASSERT_TRUE(rig.started);
    constexpr GunRow kBurst{.shots = 24, .fire = gun::CountedBurst};
    constexpr GunRow kBurst16{.shots = 24, .fire = gun::CountedBurst16};
    TableGun* burst = rig.Make(kBurst);
    TableGun* burst16 = rig.Make(kBurst16);
    std::vector<int32_t> fired;
    std::vector<int32_t> fired16;
    // Two volleys of 24: the counter is the gun's, not the volley's.
    for (int32_t call = 1; call <= 48; ++call) {
        if (!rig.Fire(*burst, 0.5f, 0.1f).empty())
            fired.push_back(call);
        if (!rig.Fire(*burst16, 0.5f, 0.1f).empty())
            fired16.push_back(call);
    }
    std::vector<int32_t> expected;
    std::vector<int32_t> expected16;
    for (int32_t call = 1; call <= 48; ++call) {
        if (((call - 1) & 8) == 0)
            expected.push_back(call);
        if (((call - 1) & 16) == 0)
            expected16.push_back(call);
    }
    EXPECT_EQ(fired, expected);
    EXPECT_EQ(fired16, expected16);
    ASSERT_EQ(fired.size(), 24u);
    EXPECT_EQ(fired.front(), 1);
    EXPECT_EQ(fired[7], 8);
    EXPECT_EQ(fired[8], 17) << "shots 9-16 of the first volley are skipped";
}

TEST(GunVariantsTest, RandomSprayFiresOneCallAtThePassedSpeedAndTheNewSpeedFromTheNext) {
    VariantRig rig;
    ASSERT_TRUE(rig.started);
    constexpr GunRow kSpray{.shots = 10, .fire = gun::RandomSpray};
    TableGun* spray = rig.Make(kSpray);
    const uint32_t worldBefore = rig.f.screen->GetRandom().state;
    const std::vector<Shot> first = rig.Fire(*spray, 0.0f, 0.3f);
    ASSERT_EQ(first.size(), 3u);
    for (const Shot& s : first) {
        EXPECT_NEAR(Speed(s), 0.3f, kTolerance);
        EXPECT_EQ(s.kind, 14);
        EXPECT_NEAR(s.vz, -0.3f, kTolerance) << "against the forward";
    }
    const float drawn = spray->BulletSpeed();
    EXPECT_GE(drawn, 0.16f);
    EXPECT_LT(drawn, 0.8f);
    const std::vector<Shot> second = rig.Fire(*spray, 0.0f, spray->BulletSpeed());
    ASSERT_EQ(second.size(), 3u);
    for (const Shot& s : second)
        EXPECT_NEAR(Speed(s), drawn, kTolerance);
    EXPECT_EQ(rig.f.screen->GetRandom().state, worldBefore) << "the spray draws the gun's own generator";
}

TEST(GunVariantsTest, TheStreamFiresOnlyWhileTheSecondStageIsPlayed) {
    constexpr GunRow kStream{.shots = 16, .fire = gun::Stream};
    const int32_t expected[][2] = {{0, 0}, {1, 0}, {2, 5}};
    for (const auto& [stage, bullets] : expected) {
        VariantRig rig(stage);
        ASSERT_TRUE(rig.started) << stage;
        TableGun* stream = rig.Make(kStream);
        const std::vector<Shot> shots = rig.Fire(*stream, 0.0f, 0.1f);
        EXPECT_EQ(int32_t(shots.size()), bullets) << "stage " << stage;
        if (bullets == 5) {
            EXPECT_NEAR(Speed(shots[0]), 0.1f, kTolerance);
            EXPECT_NEAR(Speed(shots[4]), 0.08f, kTolerance);
            EXPECT_FLOAT_EQ(shots[4].size, 0.7f);
        }
    }
}

TEST(GunVariantsTest, AimAtAShipOnTheMuzzleKeepsTheLastVelocity) {
    VariantRig rig;
    ASSERT_TRUE(rig.started);
    constexpr GunRow kVector{.start = gun::VectorToPlayer};
    TableGun* gun = rig.Make(kVector);
    PlayerShip* ship = rig.f.screen->GetPlayer(1);
    ASSERT_NE(ship, nullptr);
    gun->vector = {0.0f, 0.0f, -0.18f};
    // Ship and muzzle in one place: no direction, no NaN.
    const Vec3 muzzle = gun->GetWorldPosition();
    ship->SetPosition(Vec3TransformCoord(muzzle, ship->ParentNode()->GetInverseWorldMatrix()));
    const Vec3 at = ship->GetWorldPosition();
    ASSERT_EQ(Vec3Length({at.x - muzzle.x, at.y - muzzle.y, at.z - muzzle.z}), 0.0f);
    gun->OnVolleyStart();
    EXPECT_EQ(gun->vector.z, -0.18f);
    EXPECT_EQ(gun->vector.x, 0.0f);
    EXPECT_TRUE(std::isfinite(gun->vector.x) && std::isfinite(gun->vector.z));
    // Away from it, 0.18 toward the ship.
    ship->SetPosition(Vec3TransformCoord({muzzle.x + 4.0f, muzzle.y, muzzle.z},
                                         ship->ParentNode()->GetInverseWorldMatrix()));
    gun->OnVolleyStart();
    EXPECT_NEAR(Vec3Length(gun->vector), 0.18f, 1e-4f);
    EXPECT_GT(gun->vector.x, 0.17f);
}

// Golden: the shapes these guns have always had, kept as they are.
TEST(GunVariantsGoldenTest, TheBeamGunsCosineAndSineOffsetsDiffer) {
    GunStageFixture f({"BS_TORISANBEAM"});
    ASSERT_TRUE(f.StartAtStage(2));
    f.Step();
    std::vector<TableGun*> guns = f.Guns<TableGun>("BS_TORISANBEAM");
    ASSERT_EQ(guns.size(), 2u);
    TableGun& beam = *guns[0];
    ASSERT_EQ(beam.ShotsPerVolley(), 7);
    const float a = 0.7f;
    const float s = 0.11f;
    beam.counter = 1;
    f.log.Clear();
    beam.FireBullet(beam.GetWorldPosition(), a, s);
    std::vector<Shot> odd = AllShots(f.log);
    ASSERT_EQ(odd.size(), 3u);
    EXPECT_NEAR(odd[0].vx, std::cos(a - 0.56f) * s, 1e-5f);
    EXPECT_NEAR(odd[0].vz, std::sin(a - 0.36f) * s, 1e-5f);
    EXPECT_NEAR(odd[2].vx, std::cos(a + 0.56f) * s, 1e-5f);
    EXPECT_NEAR(odd[2].vz, std::sin(a + 0.36f) * s, 1e-5f);
    beam.counter = 2;
    f.log.Clear();
    beam.FireBullet(beam.GetWorldPosition(), a, s);
    std::vector<Shot> even = AllShots(f.log);
    ASSERT_EQ(even.size(), 2u);
    EXPECT_NEAR(even[0].vx, std::cos(a - 0.14f) * s * 0.7f, 1e-5f);
    EXPECT_NEAR(even[1].vz, std::sin(a + 0.14f) * s * 0.7f, 1e-5f);
}

TEST(GunVariantsGoldenTest, TheSecondAndThirdHoverGunsFireNothing) {
    GunStageFixture f({"BS_HOVER_R2", "BS_HOVER_L2", "BS_HOVER_FRONT2"});
    ASSERT_TRUE(f.StartAtStage(1));
    f.Step();
    for (const char* name : {"BS_HOVER_R2", "BS_HOVER_L2", "BS_HOVER_FRONT2"}) {
        std::vector<TableGun*> guns = f.Guns<TableGun>(name);
        ASSERT_EQ(guns.size(), 1u) << name;
        f.log.Clear();
        guns[0]->FireBullet(guns[0]->GetWorldPosition(), 0.3f, 0.1f);
        EXPECT_EQ(f.log.Count("GunShot"), 0) << name;
        EXPECT_EQ(f.log.Count("FireEnemyBullet"), 0) << name;
    }
}

}  // namespace
}  // namespace mareldon
