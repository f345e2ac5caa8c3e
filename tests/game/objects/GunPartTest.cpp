#include "game/objects/GunPart.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/objects/Enemy.h"
#include "game/objects/GunVariants.h"
#include "tests/game/objects/GunStageFixture.h"

namespace mareldon {
namespace {

struct Numbers {
    int32_t shots = 1;
    int32_t gap = 2;
    int32_t pause = 30;
    int32_t volleys = -1;
    int32_t delay = 0;
};

// A gun with set volley numbers that notes the steps it fires on, its volley starts,
// suppression decisions and the order of the speed and angle questions.
class MachineGun : public GunPart {
  public:
    MachineGun(TaskObject* parent, const Numbers& n, const int32_t& step)
        : GunPart(parent, nullptr), n(n), step(step) {}

    void FireBullet(const Vec3&, float, float) override { fired.push_back(step); }
    float AngleToPlayer() override {
        order += 'a';
        return 0.0f;
    }
    float BulletSpeed() override {
        order += 's';
        return 0.1f;
    }
    int32_t ShotsPerVolley() override { return n.shots; }
    int32_t FramesBetweenShots() override { return n.gap; }
    int32_t PauseBetweenVolleys() override { return n.pause; }
    int32_t VolleyCount() override { return n.volleys; }
    int32_t InitialDelay() override { return n.delay; }
    void OnVolleyStart() override { ++volleyStarts; }
    void OnActiveStep() override { ++activeSteps; }
    void OnVolleyEnd() override { ++volleyEnds; }

    Numbers n;
    const int32_t& step;
    std::vector<int32_t> fired;
    std::string order;
    int32_t volleyStarts = 0;
    int32_t volleyEnds = 0;
    int32_t activeSteps = 0;
    // What the suppression tests answer now.
    bool suppressNow = false;
    int32_t decisions = 0;

  protected:
    bool DecideSuppressed() override {
        ++decisions;
        return suppressNow;
    }
};

// An active enemy with the gun under it, stepped by hand; steps count from 1.
struct Rig {
    explicit Rig(const Numbers& n) : enemy(&root, 10.0f), gun(&enemy, n, step) { enemy.active = 1; }
    // Runs the machine up to and including step `last`.
    void RunTo(int32_t last) {
        while (step < last) {
            ++step;
            gun.OnUpdatePre();
        }
    }

    TaskObject root{nullptr, 0};
    Enemy enemy;
    int32_t step = 0;
    MachineGun gun;
};

struct MachineCase {
    const char* what;
    Numbers numbers;
    int32_t steps;
    std::vector<int32_t> fired;
};

TEST(GunPartMachineTest, VolleyRhythmsFollowTheirNumbers) {
    const MachineCase cases[] = {
        {"defaults: the 34th active step, then every 36", {}, 150, {34, 70, 106, 142}},
        {"3 shots, gap 2, pause 10", {3, 2, 10}, 60, {14, 17, 20, 36, 39, 42, 58}},
        {"three volleys and never again", {1, 2, 10, 3}, 300, {14, 30, 46}},
        {"initial delay 7 shifts every shot by 7", {1, 2, 30, -1, 7}, 120, {41, 77, 113}},
        {"a gap of 0 fires every step", {1000, 0, 60}, 66, {62, 63, 64, 65, 66}},
        {"volley count 0 never fires", {1, 2, 30, 0}, 200, {}},
    };
    for (const MachineCase& c : cases) {
        Rig rig(c.numbers);
        rig.RunTo(c.steps);
        EXPECT_EQ(rig.gun.fired, c.fired) << c.what;
    }
}

TEST(GunPartMachineTest, TheSpeedIsAskedBeforeTheAngle) {
    Rig rig({});
    rig.RunTo(34);
    EXPECT_EQ(rig.gun.order, "sa");
}

TEST(GunPartMachineTest, ASpentGunStaysSilentAfterReactivation) {
    Rig rig({1, 2, 10, 3});
    rig.RunTo(50);
    EXPECT_EQ(rig.gun.volleysLeft, 0);
    rig.enemy.active = 0;
    rig.RunTo(60);
    rig.enemy.active = 1;
    rig.RunTo(400);
    EXPECT_EQ(rig.gun.fired, (std::vector<int32_t>{14, 30, 46}));
    EXPECT_EQ(rig.gun.activeSteps, 390) << "the per-step hook still runs";
}

TEST(GunPartMachineTest, ASuppressedVolleyFiresNothingButKeepsItsTimingAndUsesAVolley) {
    Rig rig({3, 2, 10, 2});
    rig.gun.suppressNow = true;
    rig.RunTo(20);
    rig.gun.suppressNow = false;
    rig.RunTo(100);
    EXPECT_EQ(rig.gun.fired, (std::vector<int32_t>{36, 39, 42})) << "the second volley keeps its place";
    EXPECT_EQ(rig.gun.volleyStarts, 2) << "the volley start runs whether suppressed or not";
    EXPECT_EQ(rig.gun.volleyEnds, 1) << "only a fired volley ends through its hook";
    EXPECT_EQ(rig.gun.decisions, 2) << "decided once per volley, at its first shot";
    EXPECT_EQ(rig.gun.volleysLeft, 0);
}

TEST(GunPartMachineTest, ALaterSuppressionDoesNotStopAVolleyUnderWay) {
    Rig rig({3, 2, 10});
    rig.RunTo(14);
    rig.gun.suppressNow = true;
    rig.RunTo(60);
    EXPECT_EQ(rig.gun.fired, (std::vector<int32_t>{14, 17, 20})) << "the next volley is the one suppressed";
    EXPECT_EQ(rig.gun.decisions, 3);
}

TEST(GunPartMachineTest, AnInactiveEnemyFreezesTheMachineAndADestroyedOneStopsItForGood) {
    Rig frozen({3, 2, 10});
    frozen.RunTo(14);
    frozen.enemy.active = 0;
    frozen.RunTo(24);
    frozen.enemy.active = 1;
    frozen.RunTo(60);
    EXPECT_EQ(frozen.gun.fired, (std::vector<int32_t>{14, 27, 30, 46, 49, 52}));
    EXPECT_EQ(frozen.gun.activeSteps, 50);

    Rig destroyed({3, 2, 10});
    destroyed.RunTo(17);
    destroyed.enemy.durability = 0.0f;
    destroyed.RunTo(100);
    EXPECT_EQ(destroyed.gun.fired, (std::vector<int32_t>{14, 17}));
    EXPECT_EQ(destroyed.gun.activeSteps, 17);
}

TEST(GunPartMachineTest, AGunUnderAnythingButAnEnemyNeverFires) {
    TaskObject root(nullptr, 0);
    Object3D mount(&root, 0);
    int32_t step = 0;
    MachineGun gun(&mount, Numbers{}, step);
    for (step = 1; step <= 200; ++step)
        gun.OnUpdatePre();
    EXPECT_EQ(gun.GetEnemy(), nullptr);
    EXPECT_TRUE(gun.fired.empty());
    EXPECT_EQ(gun.activeSteps, 0);
    EXPECT_EQ(gun.volleysLeft, -1) << "the volley count is still read on the first step";
}

TEST(GunPartMachineTest, ReloadStartsTheGunOverFromAPause) {
    Rig rig({1, 2, 10, 1});
    rig.RunTo(40);
    EXPECT_EQ(rig.gun.fired, (std::vector<int32_t>{14}));
    rig.gun.Reload();
    rig.RunTo(80);
    // The pause of 10, then the gap of 2 before the shot.
    EXPECT_EQ(rig.gun.fired, (std::vector<int32_t>{14, 53}));
}

}  // namespace
}  // namespace mareldon

namespace mareldon {
namespace {

// The world's two suppression tests, asked as the machine asks them.
class SuppressionProbe : public TableGun {
  public:
    using GunPart::DecideSuppressed;
    using TableGun::TableGun;
};

TEST(GunPartSuppressionTest, LowOnScreenIsBelowLine360AndNearIsWithinThreeUnits) {
    struct Case {
        const char* what;
        uint8_t suppress;
        float gunZ;          // world z of the muzzle; the camera maps z to y = 320 - 10 z
        float shipDistance;  // along x from the muzzle
        bool expected;
    };
    const Case cases[] = {
        {"high on screen", GunRow::kLow, 6.0f, 20.0f, false},
        {"low on screen", GunRow::kLow, -6.0f, 20.0f, true},
        {"low but not tested", GunRow::kNear, -6.0f, 20.0f, false},
        {"a ship at 2.9", GunRow::kNear, 6.0f, 2.9f, true},
        {"a ship at 3.1", GunRow::kNear, 6.0f, 3.1f, false},
        {"a ship at 2.9, not tested", GunRow::kLow, 6.0f, 2.9f, false},
    };
    GunStageFixture f({"BS_TULIP"});
    ASSERT_TRUE(f.StartAtStage(2));
    f.Step();
    LayerEnemy* carrier = f.Carrier("BS_TULIP");
    PlayerShip* ship = f.screen->GetPlayer(1);
    ASSERT_NE(carrier, nullptr);
    ASSERT_NE(ship, nullptr);
    for (const Case& c : cases) {
        const GunRow row{.suppress = c.suppress};
        auto* gun = new SuppressionProbe(carrier, f.screen, row);
        const Vec3 origin = carrier->GetWorldPosition();
        gun->SetPosition({0.0f, 0.0f, c.gunZ - origin.z});
        const Vec3 muzzle = gun->GetWorldPosition();
        ship->SetPosition(Vec3TransformCoord({muzzle.x + c.shipDistance, muzzle.y, muzzle.z},
                                             ship->ParentNode()->GetInverseWorldMatrix()));
        EXPECT_EQ(gun->DecideSuppressed(), c.expected) << c.what;
        delete gun;
    }
}

}  // namespace
}  // namespace mareldon
