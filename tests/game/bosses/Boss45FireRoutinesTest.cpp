#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "game/bosses/Boss45FireRoutines.h"
#include "tests/game/bosses/FirePatternBench.h"

namespace mareldon {
namespace {

constexpr float kTurn = 6.2831855f;

struct RoutineCase {
    const char* name;
    std::function<BossFirePattern*(Object3D*, GameWorldScreen*)> make;
    int32_t shots;    // shot steps of one firing
    int32_t bullets;  // bullets of the whole firing
    std::set<int32_t> sprites;
    std::set<float> sizes;
    float minSpeed, maxSpeed;
};

TEST(Boss45FireRoutines, EachSharedRoutineFiresItsTable) {
    const TurningRingSpec ring4{0.055f, 0.19634955f, -0.061086528f, 0.008f, 12, 1.2f};
    const TurningRingSpec ring7{0.06f, 0.1963495f, 0.061086528f, 0.006f, 12, 1.2f};
    const std::vector<RoutineCase> cases = {
        {"pulsing ring",
         [](Object3D* m, GameWorldScreen* s) {
             return new PulsingRingPattern(m, s, "t", {30, 30, 2, 6});
         },
         18,
         18 * 32,
         {12},
         {1.0f, 1.5f},
         0.035f,
         0.055f},
        {"aimed column",
         [](Object3D* m, GameWorldScreen* s) {
             return new AimedColumnPattern(m, s, "t", {5, 0, 1, 12}, 45698, kAimedColumn);
         },
         24,
         24 * 7,
         {12, 41},
         {0.4f, 0.8f, 1.2f, 1.6f},
         0.25f,
         0.37f},
        {"aimed column 2",
         [](Object3D* m, GameWorldScreen* s) {
             return new AimedColumnPattern(m, s, "t", {20, 8, 1, 14}, 427165699, kAimedColumn2);
         },
         28,
         28 * 7,
         {12, 41},
         {1.0f, 1.2f, 1.4f, 1.6f},
         0.2f,
         0.32f},
        {"aimed column 3",
         [](Object3D* m, GameWorldScreen* s) {
             return new AimedColumnPattern(m, s, "t", {5, 0, 1, 11}, 427165699, kAimedColumn3);
         },
         22,
         22 * 7,
         {10, 39},
         {0.7f, 1.0f, 1.3f, 1.6f},
         0.2f,
         0.32f},
        {"spray of four sprites",
         [](Object3D* m, GameWorldScreen* s) {
             return new RandomSprayPattern(m, s, "t", {0, 1, 240, 1}, 34752, SprayKind::kFourSprites);
         },
         241,
         241,
         {24, 26, 28, 30},
         {1.0f},
         0.05f,
         0.1f},
        {"spray 28",
         [](Object3D* m, GameWorldScreen* s) {
             return new RandomSprayPattern(m, s, "t", {0, 1, 240, 1}, 427296771, SprayKind::kSprite28);
         },
         241,
         241,
         {28},
         {1.0f},
         0.05f,
         0.1f},
        {"fast spray 28",
         [](Object3D* m, GameWorldScreen* s) {
             return new RandomSprayPattern(m, s, "t", {0, 1, 240, 1}, 34752, SprayKind::kFast28);
         },
         241,
         241,
         {28},
         {1.0f},
         0.15f,
         0.2f},
        {"turning ring, slowing sprite 12",
         [ring4](Object3D* m, GameWorldScreen* s) {
             return new TurningRingPattern(m, s, "t", {0, 4, 3, 1}, ring4);
         },
         4,
         128,
         {12},
         {1.2f},
         0.055f,
         0.079f},
        {"turning ring 7",
         [ring7](Object3D* m, GameWorldScreen* s) {
             return new TurningRingPattern(m, s, "t", {0, 4, 3, 1}, ring7);
         },
         4,
         128,
         {12},
         {1.2f},
         0.06f,
         0.078f},
    };
    for (const RoutineCase& c : cases) {
        FirePatternBench bench;
        BossFirePattern* pattern = c.make(bench.mount, bench.f.screen);
        const std::vector<int32_t> perShot = bench.Run(pattern);
        EXPECT_EQ(int32_t(perShot.size()), c.shots) << c.name;
        EXPECT_EQ(int32_t(bench.f.shots.size()), c.bullets) << c.name;
        std::set<int32_t> sprites;
        std::set<float> sizes;
        for (const BossShot& s : bench.f.shots) {
            sprites.insert(s.sprite);
            sizes.insert(s.size);
            EXPECT_GE(ShotSpeed(s), c.minSpeed - 1e-4f) << c.name;
            EXPECT_LE(ShotSpeed(s), c.maxSpeed + 1e-4f) << c.name;
            EXPECT_EQ(s.velocity.y, 0.0f) << c.name;
        }
        EXPECT_EQ(sprites, c.sprites) << c.name;
        EXPECT_EQ(sizes, c.sizes) << c.name;
    }
}

TEST(Boss45FireRoutines, ColumnsRunAlongTheCameraAimWithinTheirSpread) {
    for (const ColumnSpec* spec : {&kAimedColumn, &kAimedColumn2, &kAimedColumn3}) {
        FirePatternBench bench;
        auto* pattern = new AimedColumnPattern(bench.mount, bench.f.screen, "t", {5, 0, 1, 12}, 45698, *spec);
        pattern->Restart();
        for (int32_t volley = 0; volley < 6; ++volley) {
            const std::vector<BossShot> shots = bench.NextVolley();
            ASSERT_EQ(shots.size(), 7u);
            const float aim = pattern->CameraAim();
            const float along = ShotAngle(shots[0]);
            EXPECT_LE(std::fabs(AngleGap(along, aim)), spec->spreadDegrees * 0.017453294f + 1e-4f);
            for (size_t i = 0; i < 7; ++i) {
                EXPECT_NEAR(AngleGap(ShotAngle(shots[i]), along), 0.0f, 1e-5f);
                EXPECT_NEAR(ShotSpeed(shots[i]), spec->speeds[i], 1e-6f);
                EXPECT_EQ(shots[i].sprite, spec->sprites[i]);
                EXPECT_EQ(shots[i].size, spec->sizes[i]);
            }
        }
    }
}

TEST(Boss45FireRoutines, RosettesShareOneVelocityOnTheirCircles) {
    FirePatternBench bench;
    auto* pattern = new BossFirePattern(bench.mount, bench.f.screen, "t", {0, 0, 0, 1});
    const Vec3 centre{1.0f, 2.0f, -3.0f};
    const RosetteSpec spec{12, 0.66f, 6, 0.33f, 40, 1.0f};
    pattern->FireRosettePair(centre, 1.2f, 0.2f, spec);
    ASSERT_EQ(bench.f.shots.size(), 18u);
    const Vec3 v = bench.f.shots[0].velocity;
    EXPECT_NEAR(v.x, std::cos(1.2f) * 0.2f, 1e-6f);
    EXPECT_NEAR(v.z, std::sin(1.2f) * 0.2f, 1e-6f);
    for (size_t i = 0; i < 18; ++i) {
        const BossShot& s = bench.f.shots[i];
        EXPECT_EQ(s.velocity.x, v.x);
        EXPECT_EQ(s.velocity.z, v.z);
        EXPECT_EQ(s.position.y, centre.y);
        const float dx = s.position.x - centre.x;
        const float dz = s.position.z - centre.z;
        const bool outer = i < 12;
        EXPECT_NEAR(std::sqrt(dx * dx + dz * dz), outer ? 0.66f : 0.33f, 1e-5f) << i;
        // Bullet k of n sits at k x 360 / n degrees.
        const float k = float(outer ? i : i - 12);
        const float expected = k * kTurn / (outer ? 12.0f : 6.0f);
        EXPECT_NEAR(AngleGap(std::atan2(dz, dx), expected), 0.0f, 1e-4f) << i;
    }
    // A rosette of none fires nothing.
    pattern->FireRosette(centre, 0, 1.0f, v, 40, 1.0f);
    EXPECT_EQ(bench.f.shots.size(), 18u);
}

TEST(Boss45FireRoutines, PulsingRingStartsAtTheDegreeAimReadAsRadians) {
    FirePatternBench bench;
    auto* pattern = new PulsingRingPattern(bench.mount, bench.f.screen, "t", {30, 30, 2, 6});
    pattern->Restart();
    const std::vector<BossShot> shots = bench.NextVolley();
    ASSERT_EQ(shots.size(), 32u);
    const Vec3 at = pattern->Muzzle();
    const float aim = pattern->AngleToNearestPlayer(at.x, at.y, at.z);
    // Against the angle: -(cos a, 0, sin a).
    EXPECT_NEAR(AngleGap(ShotAngle(shots[0]), aim + 3.1415927f), 0.0f, 1e-4f);
    EXPECT_NEAR(AngleGap(ShotAngle(shots[31]), aim + 3.1415927f + 31.0f * 0.1963495f), 0.0f, 1e-4f);
    // The first shot of a burst has shots-left 2: slow and small.
    EXPECT_NEAR(ShotSpeed(shots[0]), 0.035f, 1e-6f);
    EXPECT_EQ(shots[0].size, 1.0f);
}

TEST(Boss45FireRoutines, TurningRingTurnsAndSpeedsUpShotByShot) {
    FirePatternBench bench;
    const TurningRingSpec spec{0.055f, 0.19634955f, -0.061086528f, 0.008f, 41, 1.2f};
    auto* pattern = new TurningRingPattern(bench.mount, bench.f.screen, "t", {0, 4, 3, 1}, spec);
    pattern->Restart();
    for (int32_t shot = 0; shot < 4; ++shot) {
        const std::vector<BossShot> shots = bench.NextVolley();
        ASSERT_EQ(shots.size(), 32u);
        EXPECT_NEAR(AngleGap(ShotAngle(shots[0]), spec.turn * float(shot)), 0.0f, 1e-5f) << shot;
        EXPECT_NEAR(AngleGap(ShotAngle(shots[1]), ShotAngle(shots[0])), spec.step, 1e-5f) << shot;
        EXPECT_NEAR(ShotSpeed(shots[0]), spec.startSpeed + spec.speedStep * float(shot), 1e-6f) << shot;
    }
    // A restart configures afresh.
    pattern->Restart();
    EXPECT_NEAR(AngleGap(ShotAngle(bench.NextVolley()[0]), 0.0f), 0.0f, 1e-6f);
}

TEST(Boss45FireRoutines, SpraysDrawAngleSpeedAndSpriteFromTheirOwnSeed) {
    // The draws, in the routine's order, from a generator of the pattern's seed.
    struct SprayCase {
        SprayKind kind;
        uint32_t seed;
    };
    for (const SprayCase& c :
         {SprayCase{SprayKind::kFourSprites, 34752}, SprayCase{SprayKind::kSprite28, 427296771},
          SprayCase{SprayKind::kFast28, 34752}}) {
        FirePatternBench bench;
        bench.Run(new RandomSprayPattern(bench.mount, bench.f.screen, "t", {0, 1, 9, 1}, c.seed, c.kind));
        ASSERT_EQ(bench.f.shots.size(), 10u);
        Random expected(c.seed);
        for (const BossShot& s : bench.f.shots) {
            const float a = expected.Range(0.0f, kTurn);
            const float speed = c.kind == SprayKind::kFast28 ? expected.Range(0.15f, 0.2f)
                                                             : (expected.Range(0.0f, 1.0f) + 1.0f) * 0.05f;
            const int32_t sprite = c.kind == SprayKind::kFourSprites
                                       ? std::vector<int32_t>{24, 26, 28, 30}[expected.Next() % 4u]
                                       : 28;
            EXPECT_FLOAT_EQ(s.velocity.x, -std::cos(a) * speed);
            EXPECT_FLOAT_EQ(s.velocity.z, -std::sin(a) * speed);
            EXPECT_EQ(s.sprite, sprite);
        }
    }
}

}  // namespace
}  // namespace mareldon
