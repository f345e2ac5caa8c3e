#include "game/stage/EnemyBullets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/game/stage/StageTestWorld.h"

namespace mareldon {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct EnemyBulletsTest : ::testing::Test {
    EnemyBulletsTest() { SetupTestCamera(mapping); }

    EnemyBulletRecord* Fire(float screenX, float screenY, const Vec3& velocity = {0.0f, 0.0f, -0.5f},
                            int32_t index = 0) {
        return bullets.FireEnemyBullet(PlanePoint(screenX, screenY), velocity, index, 1.0f);
    }
    Vec3 ScreenOf(const EnemyBulletRecord& record) {
        return mapping.ProjectToScreen(record.GetWorldPosition());
    }

    TestBulletWorld world;
    ScreenMapping mapping;
    WorldHitLists hitLists{mapping};
    EnemyBullets bullets{world, mapping, hitLists};
};

TEST_F(EnemyBulletsTest, RefusalsMakeNoBulletAndNoMuzzleFlash) {
    struct Case {
        const char* reason;
        void (*setup)(TestBulletWorld&);
        Vec3 position;
        Vec3 velocity;
    };
    const Vec3 p = PlanePoint(100.0f, 100.0f);
    const Vec3 v{0.1f, 0.0f, 0.2f};
    const Case cases[] = {
        {"time", [](TestBulletWorld& w) { w.timeLeft = 0.49f; }, p, v},
        {"zero velocity", [](TestBulletWorld&) {}, p, {0.0f, 0.0f, 0.0f}},
        {"clear", [](TestBulletWorld& w) { w.cleared = true; }, p, v},
        {"bomb", [](TestBulletWorld& w) { w.bomb = true; }, p, v},
        {"no ship", [](TestBulletWorld& w) { w.hasShip = false; }, p, v},
        {"off screen", [](TestBulletWorld&) {}, PlanePoint(-5.0f, 100.0f), v},
        {"vertical velocity", [](TestBulletWorld&) {}, p, {0.0f, 0.3f, 0.0f}},
        {"camera level", [](TestBulletWorld&) {}, {1.0f, kTestEye.y, 1.0f}, v},
        {"not finite", [](TestBulletWorld&) {}, {kNaN, 0.0f, 0.0f}, v},
        {"not finite", [](TestBulletWorld&) {}, p, {kInf, 0.0f, 0.0f}},
        {"not finite", [](TestBulletWorld&) {}, p, {0.1f, kNaN, 0.0f}},
    };
    for (const Case& c : cases) {
        TestBulletWorld fresh;
        c.setup(fresh);
        EnemyBullets refusing(fresh, mapping, hitLists);
        EXPECT_EQ(refusing.FireEnemyBullet(c.position, c.velocity, 3, 1.0f), nullptr) << c.reason;
        EXPECT_TRUE(fresh.effects.empty()) << c.reason;
        EXPECT_EQ(refusing.GetEnemyBulletCount(), 0) << c.reason;
        ASSERT_EQ(fresh.log.Events().size(), 1u) << c.reason;
        EXPECT_EQ(fresh.log.Events()[0].arguments, std::string("refused ") + c.reason);
    }
}

TEST_F(EnemyBulletsTest, ABulletFourPixelsOutIsTakenWithItsMuzzleFlash) {
    EnemyBulletRecord* record = Fire(-4.0f, 100.0f);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(bullets.GetEnemyBulletCount(), 1);
    ASSERT_EQ(world.effects.size(), 1u);
    EXPECT_EQ(world.effects[0].name, "TEKIDAN_HATSYA01");
    EXPECT_NEAR(world.effects[0].position.x, record->position.x, 1e-6f);
    EXPECT_NEAR(ScreenOf(*record).x, -4.0f, 1e-3f);
}

TEST_F(EnemyBulletsTest, SpriteRowsPickTheCellAndTheQuadSize) {
    struct Case {
        int32_t index;
        bool tall;
    };
    const Case cases[] = {{0, false},  {15, false}, {16, true}, {30, true},  {31, false},
                          {51, false}, {52, true},  {54, true}, {55, false}, {63, false}};
    for (const Case& c : cases) {
        // Flying straight up the screen (+z): the corners are not turned.
        EnemyBulletRecord* record =
            bullets.FireEnemyBullet(PlanePoint(100.0f, 100.0f), {0.0f, 0.0f, 0.2f}, c.index, 0.5f);
        ASSERT_NE(record, nullptr);
        EXPECT_FLOAT_EQ(record->vMin, float(c.index) / 64.0f);
        EXPECT_FLOAT_EQ(record->vMax - record->vMin, c.tall ? 63.0f / 2048.0f : 31.0f / 2048.0f) << c.index;
        EXPECT_FLOAT_EQ(record->uMax - record->uMin, 31.0f / 2048.0f);
        EXPECT_NEAR(record->corners[3].x, 6.0f, 1e-5f) << c.index;
        EXPECT_NEAR(record->corners[3].y, c.tall ? 9.0f : 6.0f, 1e-5f) << c.index;
    }
}

TEST_F(EnemyBulletsTest, CornersTurnWithTheFlight) {
    // Flying along +x: a quarter turn.
    EnemyBulletRecord* record = Fire(100.0f, 100.0f, {0.3f, 0.0f, 0.0f}, 20);
    ASSERT_NE(record, nullptr);
    Matrix4 turn = MatrixRotationZ(float(M_PI / 2));
    Vec3 expected = Vec3TransformCoord({12.0f, 18.0f, 0.0f}, turn);
    EXPECT_NEAR(record->corners[3].x, expected.x, 1e-5f);
    EXPECT_NEAR(record->corners[3].y, expected.y, 1e-5f);
}

TEST_F(EnemyBulletsTest, ARaisedFiringPointStartsWhereItIsSeen) {
    SetupTestCamera(mapping, 0.5235988f);
    world.sceneRoot[7] = -1.0f;  // the play plane a unit below the origin
    const Vec3 p{3.0f, 5.0f, 4.0f};
    const Vec3 v{0.2f, 0.0f, -0.1f};
    EnemyBulletRecord* record = bullets.FireEnemyBullet(p, v, 0, 1.0f);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->position.y, 0.0f);
    EXPECT_EQ(record->velocity.y, 0.0f);
    Vec3 seen = mapping.ProjectToScreen(p);
    Vec3 start = ScreenOf(*record);
    EXPECT_NEAR(start.x, seen.x, 1e-3f);
    EXPECT_NEAR(start.y, seen.y, 1e-3f);
    // Slower on the plane by the ratio of the distances to the eye: the same speed on
    // screen as at its true depth.
    float ratio = (kTestEye.y + 1.0f) / (kTestEye.y - p.y);
    EXPECT_NEAR(record->velocity.x, v.x * ratio, 1e-5f);
    EXPECT_NEAR(record->velocity.z, v.z * ratio, 1e-5f);
}

TEST_F(EnemyBulletsTest, BulletsMoveRegisterAndGoAtNinetySixPixelsOut) {
    // 5 pixels a step to the left, from 4 pixels outside the edge.
    ASSERT_NE(Fire(-4.0f, 100.0f, {-0.5f, 0.0f, 0.0f}), nullptr);
    ASSERT_NE(Fire(200.0f, 100.0f, {0.0f, 0.0f, 0.1f}), nullptr);
    for (int step = 1; step <= 18; ++step) {
        hitLists.ClearHitLists();
        bullets.UpdateEnemyBullets();
    }
    EXPECT_EQ(bullets.GetEnemyBulletCount(), 2) << "at -94 pixels";
    ASSERT_EQ(hitLists.enemyBullets.Count(), 2);
    EXPECT_NEAR(hitLists.enemyBullets.Entries()[0].y, 100.0f - 18.0f, 1e-3f) << "newest first";
    EXPECT_NEAR(hitLists.enemyBullets.Entries()[1].x, -94.0f, 1e-3f);
    hitLists.ClearHitLists();
    bullets.UpdateEnemyBullets();
    EXPECT_EQ(bullets.GetEnemyBulletCount(), 1) << "at -99 pixels";
    EXPECT_EQ(hitLists.enemyBullets.Count(), 1);
    EXPECT_EQ(bullets.FirstEnemyBullet()->age, 19);
    EXPECT_EQ(bullets.EnemyPool().FreeCount(), 1023);
}

TEST_F(EnemyBulletsTest, AStoppedBulletIsDropped) {
    EnemyBulletRecord* record = Fire(200.0f, 100.0f);
    ASSERT_NE(record, nullptr);
    record->velocity = {0.0f, 0.0f, 0.0f};
    bullets.UpdateEnemyBullets();
    EXPECT_EQ(bullets.GetEnemyBulletCount(), 0);
    EXPECT_EQ(hitLists.enemyBullets.Count(), 0);
}

TEST_F(EnemyBulletsTest, CancellingTurnsEveryBulletIntoOneChip) {
    for (int i = 0; i < 37; ++i)
        ASSERT_NE(Fire(10.0f + 10.0f * float(i), 300.0f), nullptr);
    world.sceneRoot[3] = 2.0f;  // the scene moves on, and its bullets with it
    bullets.UpdateEnemyBullets();
    EXPECT_EQ(hitLists.enemyBullets.Count(), 37);
    bullets.CancelAllEnemyBullets();
    EXPECT_EQ(bullets.GetEnemyBulletCount(), 0);
    EXPECT_EQ(bullets.FirstEnemyBullet(), nullptr);
    EXPECT_EQ(hitLists.enemyBullets.Count(), 0);
    ASSERT_EQ(world.items.size(), 37u);
    for (const TestBulletWorld::Spawn& item : world.items) {
        EXPECT_EQ(item.name, "BONUS_SS");
        EXPECT_EQ(item.velocity.x, 0.0f);
        EXPECT_EQ(item.velocity.z, 0.0f);
    }
    // Newest first: the last fired, carried 20 pixels right by the scene and moved one step.
    Vec3 chip = mapping.ProjectToScreen(world.items[0].position);
    EXPECT_NEAR(chip.x, 370.0f + 20.0f, 1e-3f);
    EXPECT_NEAR(chip.y, 305.0f, 1e-3f);
    EXPECT_EQ(world.log.Count("CancelAllEnemyBullets", "37"), 1);
    EXPECT_EQ(bullets.EnemyPool().FreeCount(), 1024);
}

TEST_F(EnemyBulletsTest, TheThousandTwentyFifthBulletAddsAPoolBlock) {
    for (int i = 0; i < 1025; ++i)
        ASSERT_NE(Fire(240.0f, 320.0f), nullptr);
    EXPECT_EQ(bullets.EnemyPool().BlockCount(), 2);
    bullets.CancelAllEnemyBullets();
    EXPECT_EQ(bullets.EnemyPool().BlockCount(), 2);
    EXPECT_EQ(bullets.EnemyPool().FreeCount(), 2048);
}

struct Triangle {
    float key;
    BulletVertex v[3];
};

struct RecordingSink : BulletTriangleSink {
    void AddTriangle(float key, const BulletVertex& a, const BulletVertex& b,
                     const BulletVertex& c) override {
        triangles.push_back({key, {a, b, c}});
    }
    std::vector<Triangle> triangles;
};

TEST_F(EnemyBulletsTest, DrawingAnimatesAlongTheRowEveryTwoUpdates) {
    ASSERT_NE(Fire(200.0f, 300.0f, {0.0f, 0.0f, 0.01f}, 5), nullptr);
    const float expectedShift[] = {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 0, 0};
    for (int age = 0; age < 18; ++age) {
        RecordingSink sink;
        bullets.DrawEnemyBullets(sink);
        ASSERT_EQ(sink.triangles.size(), 2u);
        EXPECT_NEAR(sink.triangles[0].v[0].u, expectedShift[age] / 64.0f, 1e-6f) << age;
        EXPECT_NEAR(sink.triangles[0].v[0].v, 5.0f / 64.0f, 1e-6f);
        bullets.UpdateEnemyBullets();
    }
    RecordingSink sink;
    bullets.DrawEnemyBullets(sink);
    Vec3 centre = ScreenOf(*bullets.FirstEnemyBullet());
    const Triangle& t = sink.triangles[0];
    EXPECT_NEAR(t.v[0].x, centre.x - 12.0f, 1e-3f);
    EXPECT_NEAR(t.v[1].x, centre.x + 12.0f, 1e-3f);
    EXPECT_EQ(t.key, std::max({t.v[0].z, t.v[1].z, t.v[2].z}));
}

class CountingTarget : public AttackTarget {
  public:
    void ApplyAttack(uint32_t mask, const AttackVector& attack) override {
        ++attacks;
        lastMask = mask;
        lastAttack = attack;
    }
    int attacks = 0;
    uint32_t lastMask = 0;
    AttackVector lastAttack;
};

TEST_F(EnemyBulletsTest, ReflectedBulletsHoldThenAlternateTheirLastFrames) {
    ReflectedBulletRecord* record =
        bullets.FireReflectedBullet(PlanePoint(200.0f, 300.0f), {0.0f, 0.0f, 0.1f}, 1);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(world.sounds, std::vector<int32_t>{45});
    const Vec3 start = record->position;
    for (int step = 1; step <= 14; ++step) {
        bullets.UpdateReflectedBullets();
        EXPECT_EQ(record->position.z, start.z) << step;
    }
    EXPECT_EQ(record->age, 14);
    bullets.UpdateReflectedBullets();
    EXPECT_EQ(record->age, 15);
    EXPECT_NEAR(record->position.z, start.z + 0.1f, 1e-6f);
    bullets.UpdateReflectedBullets();
    EXPECT_EQ(record->age, 14);
    RecordingSink sink;
    bullets.DrawReflectedBullets(sink);
    ASSERT_EQ(sink.triangles.size(), 2u);
    EXPECT_FLOAT_EQ(sink.triangles[0].v[0].u, 0.5f);
    EXPECT_FLOAT_EQ(sink.triangles[0].v[0].v, 0.75f);
    EXPECT_NEAR(sink.triangles[0].v[0].x, mapping.ProjectToScreen(record->GetWorldPosition()).x - 32.0f,
                1e-3f);
}

TEST_F(EnemyBulletsTest, ReflectedBulletsStrikeFromAgeFiveScoringLessWithAge) {
    const int64_t expected[] = {625, 256, 81, 16, 1, 1};
    for (int strikeAge = 5; strikeAge <= 10; ++strikeAge) {
        TestBulletWorld fresh;
        EnemyBullets field(fresh, mapping, hitLists);
        CountingTarget target;
        Vec3 at = PlanePoint(200.0f, 300.0f);
        ASSERT_NE(field.FireReflectedBullet(at, {0.0f, 0.0f, 0.1f}, 2), nullptr);
        // The target overlaps from the first update on for the first case; later ones
        // only appear at the strike age.
        for (int age = 1; age <= strikeAge; ++age) {
            hitLists.ClearHitLists();
            if (strikeAge == 5 || age == strikeAge)
                hitLists.RegisterTarget(&target, at, 3.0f);
            field.UpdateReflectedBullets();
        }
        EXPECT_EQ(target.attacks, 1) << strikeAge;
        EXPECT_EQ(target.lastMask, 2u);
        EXPECT_EQ(target.lastAttack.values[3], 1.7f);
        EXPECT_EQ(target.lastAttack.values[0], 0.0f);
        ASSERT_EQ(fresh.scores.size(), 1u) << strikeAge;
        EXPECT_EQ(fresh.scores[0], (std::pair<uint32_t, int64_t>{2u, expected[strikeAge - 5]})) << strikeAge;
        EXPECT_EQ(fresh.sounds, (std::vector<int32_t>{45, 46}));
        ASSERT_EQ(fresh.sparks.size(), 1u);
        EXPECT_GE(fresh.sparks[0].size, 1.0f + float(expected[strikeAge - 5]) * 0.001f);
        ASSERT_EQ(fresh.items.size(), 1u);
        EXPECT_EQ(fresh.items[0].name, "BONUS_SR");
        EXPECT_EQ(field.GetReflectedBulletCount(), 0);
    }
}

TEST_F(EnemyBulletsTest, ReflectedBulletRefusalsAndCulling) {
    EXPECT_EQ(bullets.FireReflectedBullet(PlanePoint(200.0f, 300.0f), {0.0f, 0.0f, 0.0f}, 1), nullptr);
    EXPECT_EQ(bullets.FireReflectedBullet(PlanePoint(200.0f, 300.0f), {0.0f, -1.0f, 0.0f}, 1), nullptr);
    EXPECT_EQ(bullets.FireReflectedBullet(PlanePoint(-1.0f, 300.0f), {1.0f, 0.0f, 0.0f}, 1), nullptr);
    EXPECT_EQ(bullets.FireReflectedBullet({kNaN, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, 1), nullptr);
    EXPECT_TRUE(world.sounds.empty());
    // 5 pixels a step to the left from the edge: gone once 16 pixels out.
    ASSERT_NE(bullets.FireReflectedBullet(PlanePoint(0.0f, 300.0f), {-0.5f, 0.0f, 0.0f}, 1), nullptr);
    for (int i = 0; i < 17; ++i)
        bullets.UpdateReflectedBullets();
    EXPECT_EQ(bullets.GetReflectedBulletCount(), 1) << "-15 pixels";
    bullets.UpdateReflectedBullets();
    EXPECT_EQ(bullets.GetReflectedBulletCount(), 0) << "-20 pixels";
}

}  // namespace
}  // namespace mareldon
