#include "game/objects/MidBoss03Guns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "game/objects/GunVariants.h"
#include "tests/game/objects/GunStageFixture.h"

namespace mareldon {
namespace {

struct CentreRig {
    CentreRig() : f({"BS_MIDBOSS03_CENTER", "BS_MIDBOSS03_R"}) {
        started = f.StartAtStage(3);
        if (started)
            f.Step();
    }
    template <typename T>
    T* Gun(const char* name = "BS_MIDBOSS03_CENTER") {
        for (GunPart* gun : f.Guns(name)) {
            if (auto* match = dynamic_cast<T*>(gun))
                return match;
        }
        return nullptr;
    }
    std::vector<Shot> Fire(GunPart& gun, float angle, float speed) {
        f.log.Clear();
        gun.FireBullet(gun.GetWorldPosition(), angle, speed);
        return AllShots(f.log);
    }

    GunStageFixture f;
    bool started = false;
};

TEST(MidBoss03GunsTest, TheCentreNodeBuildsTheThreeGunsInOrder) {
    CentreRig rig;
    ASSERT_TRUE(rig.started);
    std::vector<GunPart*> guns = rig.f.Guns("BS_MIDBOSS03_CENTER");
    ASSERT_EQ(guns.size(), 3u);
    EXPECT_NE(dynamic_cast<MidBoss03CenterGunC*>(guns[0]), nullptr);
    EXPECT_NE(dynamic_cast<MidBoss03CenterGunA*>(guns[1]), nullptr);
    EXPECT_NE(dynamic_cast<MidBoss03CenterGunB*>(guns[2]), nullptr);
    EXPECT_NE(rig.Gun<MidBoss03SideGun>("BS_MIDBOSS03_R"), nullptr);
}

TEST(MidBoss03GunsTest, TheHalfCircleFanIgnoresThePassedAngle) {
    CentreRig rig;
    ASSERT_TRUE(rig.started);
    MidBoss03CenterGunC* gun = rig.Gun<MidBoss03CenterGunC>();
    ASSERT_NE(gun, nullptr);
    gun->OnVolleyStart();
    EXPECT_EQ(gun->BulletSpeed(), 0.02f);
    for (float passed : {0.0f, 1.3f, -2.0f}) {
        const std::vector<Shot> shots = rig.Fire(*gun, passed, 0.02f);
        ASSERT_EQ(shots.size(), 18u);
        for (size_t i = 0; i < shots.size(); ++i) {
            const float radians = (-180.0f + 10.0f * float(i)) * kDegree;
            EXPECT_NEAR(shots[i].vx, std::cos(radians) * 0.02f, 1e-6f) << i;
            EXPECT_NEAR(shots[i].vz, std::sin(radians) * 0.02f, 1e-6f) << i;
            EXPECT_EQ(shots[i].kind, 6);
            EXPECT_EQ(shots[i].size, 1.0f);
        }
    }
}

// Golden: the turning triple adds 10 and 20 to a radian angle, as it always has.
TEST(MidBoss03GunsGoldenTest, TheTurningTripleAddsTenAndTwentyRadians) {
    CentreRig rig;
    ASSERT_TRUE(rig.started);
    MidBoss03CenterGunB* gun = rig.Gun<MidBoss03CenterGunB>();
    ASSERT_NE(gun, nullptr);
    const std::vector<Shot> shots = rig.Fire(*gun, 0.5f, 0.1f);
    ASSERT_EQ(shots.size(), 3u);
    const float angles[3] = {0.5f, 10.5f, 20.5f};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(shots[size_t(i)].vx, std::cos(angles[i]) * 0.1f, 1e-5f) << i;
        EXPECT_NEAR(shots[size_t(i)].vz, std::sin(angles[i]) * 0.1f, 1e-5f) << i;
        EXPECT_EQ(shots[size_t(i)].kind, 22);
    }
    const float before = gun->storedAngle;
    gun->OnActiveStep();
    EXPECT_FLOAT_EQ(gun->storedAngle, before + 0.25f);
}

TEST(MidBoss03GunsTest, TheScatterGunDrawsFourTimesPerBulletFromItsOwnGenerator) {
    CentreRig rig;
    ASSERT_TRUE(rig.started);
    MidBoss03CenterGunA* gun = rig.Gun<MidBoss03CenterGunA>();
    ASSERT_NE(gun, nullptr);
    Random expected = gun->random;
    const uint32_t world = rig.f.screen->GetRandom().state;
    const std::vector<Shot> shots = rig.Fire(*gun, 0.0f, 0.1f);
    ASSERT_EQ(shots.size(), 1u);
    const float offset = expected.Range(-20.0f * kDegree, 20.0f * kDegree);
    expected.Next();
    const float size = expected.Range(0.8f, 1.2f);
    const int32_t sprite = (expected.Next() & 1) != 0 ? 10 : 37;
    EXPECT_EQ(gun->random.state, expected.state);
    EXPECT_EQ(rig.f.screen->GetRandom().state, world);
    EXPECT_NEAR(shots[0].size, size, 1e-3f);
    EXPECT_EQ(shots[0].kind, sprite);
    EXPECT_NEAR(shots[0].vx, std::cos(offset) * 0.1f, 1e-5f);
    gun->OnShotFired();
    EXPECT_FLOAT_EQ(gun->secondSpeed, 0.001f);
}

}  // namespace
}  // namespace mareldon
