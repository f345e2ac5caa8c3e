#include "game/stage/WorldHitLists.h"

#include <gtest/gtest.h>

#include "tests/game/stage/StageTestWorld.h"

namespace mareldon {
namespace {

struct TestTarget : AttackTarget {
    void ApplyAttack(uint32_t, const AttackVector&) override {}
};

struct WorldHitListsTest : ::testing::Test {
    WorldHitListsTest() { SetupTestCamera(mapping); }

    ScreenMapping mapping;
    WorldHitLists lists{mapping};
    TestTarget a, b;
};

TEST_F(WorldHitListsTest, RegisterTargetKeepsOnlyCirclesThatReachTheScreen) {
    struct Case {
        const char* what;
        float x, y, radius;  // pixels; the camera maps 10 pixels to a unit
        bool result;
        bool listed;
    };
    const Case cases[] = {
        {"inside", 100.0f, 100.0f, 20.0f, true, true},
        {"wholly off the left", -21.0f, 100.0f, 20.0f, false, false},
        {"wholly below", 100.0f, 661.0f, 20.0f, false, false},
        {"touching the left edge", -20.0f, 100.0f, 20.0f, true, true},
        {"partly off the right", 490.0f, 100.0f, 20.0f, true, true},
        {"radius 0", 100.0f, 100.0f, 0.0f, true, false},
        {"negative radius", 100.0f, 100.0f, -5.0f, true, false},
    };
    for (const Case& c : cases) {
        lists.ClearHitLists();
        EXPECT_EQ(lists.RegisterTarget(&a, PlanePoint(c.x, c.y), c.radius / 10.0f), c.result) << c.what;
        EXPECT_EQ(lists.targets.Count(), c.listed ? 1 : 0) << c.what;
        EXPECT_EQ(lists.FindEnemyTarget(PlanePoint(c.x, c.y)), c.listed ? &a : nullptr) << c.what;
    }
}

TEST_F(WorldHitListsTest, QueriesAreStrictAndTheFirstRegisteredWins) {
    lists.RegisterTarget(&a, PlanePoint(100.0f, 100.0f), 2.0f);
    lists.RegisterTarget(&b, PlanePoint(110.0f, 100.0f), 2.0f);
    EXPECT_EQ(lists.FindEnemyTarget(PlanePoint(105.0f, 100.0f)), &a);
    EXPECT_EQ(lists.FindEnemyTarget(PlanePoint(125.0f, 100.0f)), &b);
    EXPECT_EQ(lists.FindEnemyTarget(PlanePoint(130.0f, 100.0f)), nullptr) << "on b's edge";
    EXPECT_EQ(lists.FindEnemyTarget(PlanePoint(110.0f, 120.0f)), nullptr) << "on b's edge";
}

TEST_F(WorldHitListsTest, ShipCirclesAreListedWithoutATestAndLeaveWithTheirShip) {
    int storage[2];
    auto* ship1 = reinterpret_cast<PlayerShip*>(&storage[0]);
    auto* ship2 = reinterpret_cast<PlayerShip*>(&storage[1]);
    lists.RegisterPlayerPickupCircle(ship1, PlanePoint(-100.0f, 100.0f), 1.0f);
    lists.RegisterPlayerPickupCircle(ship2, PlanePoint(100.0f, 100.0f), 1.0f);
    lists.RegisterPlayerHitCircle(ship1, PlanePoint(-100.0f, 100.0f), 0.08f);
    lists.RegisterPlayerHitCircle(ship2, PlanePoint(100.0f, 100.0f), 0.08f);
    EXPECT_EQ(lists.playerPickupCircles.Count(), 2) << "off-screen circles count too";
    EXPECT_EQ(lists.FindPickupPlayer(PlanePoint(105.0f, 100.0f)), ship2);
    EXPECT_EQ(lists.FindPickupPlayer(PlanePoint(110.0f, 100.0f)), nullptr);
    lists.RemovePlayer(ship2);
    EXPECT_EQ(lists.FindPickupPlayer(PlanePoint(105.0f, 100.0f)), nullptr);
    EXPECT_EQ(lists.playerHitCircles.Count(), 1);
    EXPECT_EQ(lists.playerHitCircles.Entries()[0].object, ship1);
}

TEST_F(WorldHitListsTest, BulletQueriesSkipStoppedBulletsAndUseTheQueryRadius) {
    EnemyBulletRecord spent{};
    EnemyBulletRecord moving{};
    moving.velocity = {0.0f, 0.0f, 0.1f};
    Vec3 at = PlanePoint(200.0f, 200.0f);
    lists.enemyBullets.Add(&spent, 200.0f, 200.0f, 0.0f);
    lists.enemyBullets.Add(&moving, 200.0f, 200.0f, 0.0f);
    EXPECT_EQ(lists.FindEnemyBulletHit(at, 0.08f), &moving);
    EXPECT_EQ(lists.FindEnemyBulletHit(PlanePoint(200.7f, 200.0f), 0.08f), &moving);
    EXPECT_EQ(lists.FindEnemyBulletHit(PlanePoint(200.8f, 200.0f), 0.08f), nullptr) << "edge";
    lists.ClearHitLists();
    EXPECT_EQ(lists.FindEnemyBulletHit(at, 0.08f), nullptr);
}

TEST_F(WorldHitListsTest, ClearingKeepsTheCapacity) {
    for (int i = 0; i < 100; ++i)
        lists.RegisterTarget(&a, PlanePoint(100.0f, 100.0f), 1.0f);
    size_t capacity = lists.targets.Entries().capacity();
    lists.ClearHitLists();
    EXPECT_EQ(lists.targets.Count(), 0);
    EXPECT_EQ(lists.targets.Entries().capacity(), capacity);
}

}  // namespace
}  // namespace mareldon
