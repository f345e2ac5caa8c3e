#include "game/stage/ShooterObject.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace mareldon {
namespace {

// Logs its hooks as "step:hook", the shots with GetShotsLeft.
class LoggingShooter : public ShooterObject {
  public:
    LoggingShooter(TaskObject* parent, int32_t b, int32_t s, int32_t n, int32_t k)
        : ShooterObject(parent, nullptr), b(b), s(s), n(n), k(k) {}

    void Step() {
        ++step;
        UpdateFireTimer();
    }
    std::vector<int> ShotSteps() const {
        std::vector<int> steps;
        for (const std::string& e : log)
            if (e.find(":F") != std::string::npos)
                steps.push_back(std::stoi(e));
        return steps;
    }

    int32_t b, s, n, k;
    int step = 0;
    int configured = 0;
    std::vector<std::string> log;

  protected:
    void Configure() override {
        ++configured;
        SetBurstInterval(b);
        SetShotInterval(s);
        SetBurstShots(n);
        SetBurstCount(k);
    }
    void OnStop() override { Add("stop"); }
    void OnBurstStart() override { Add("start"); }
    void FireShot() override { Add("F" + std::to_string(GetShotsLeft())); }
    void OnBurstEnd() override { Add("end"); }

  private:
    void Add(const std::string& what) { log.push_back(std::to_string(step) + ":" + what); }
};

class ShooterObjectTest : public ::testing::Test {
  protected:
    LoggingShooter& Make(int32_t b, int32_t s, int32_t n, int32_t k) {
        return *new LoggingShooter(&top, b, s, n, k);
    }
    static void Run(LoggingShooter& shooter, int steps) {
        for (int i = 0; i < steps; ++i)
            shooter.Step();
    }

    TaskObject top{nullptr, 0};
};

TEST_F(ShooterObjectTest, ABurstOfFiveBetweenItsHooks) {
    LoggingShooter& shooter = Make(0, 2, 4, 1);
    shooter.SetFiring(true);
    Run(shooter, 40);
    EXPECT_EQ(shooter.log,
              (std::vector<std::string>{"1:start", "1:F4", "3:F3", "5:F2", "7:F1", "9:F0", "9:end"}));
    EXPECT_EQ(shooter.GetBurstsLeft(), 0);
    EXPECT_TRUE(shooter.IsFiring());  // stays set after the bursts ran out
}

// Shot steps for configurations (B, S, N, K), the bosses' two among them: N + 1 shots
// max(S, 1) apart, bursts max(B, 1) + max(S, 1) - 1 apart, none for K <= 0.
TEST_F(ShooterObjectTest, ShotStepsFollowTheFourParameters) {
    struct Case {
        int32_t b, s, n, k;
        std::vector<int> shots;
    };
    const Case cases[] = {
        {60, 5, 12, 1, {1, 6, 11, 16, 21, 26, 31, 36, 41, 46, 51, 56, 61}},
        {10, 0, 0, 4, {1, 11, 21, 31}},
        {3, 2, 1, 2, {1, 3, 7, 9}},
        {0, 0, -3, 3, {1, 2, 3}},  // N below 0: one shot a burst
        {5, 1, 2, 0, {}},
        {5, 1, 2, -1, {}},
    };
    for (const Case& c : cases) {
        LoggingShooter& shooter = Make(c.b, c.s, c.n, c.k);
        shooter.SetFiring(true);
        EXPECT_EQ(shooter.configured, 1);
        Run(shooter, 200);
        EXPECT_EQ(shooter.ShotSteps(), c.shots) << c.b << " " << c.s << " " << c.n << " " << c.k;
    }
}

TEST_F(ShooterObjectTest, StartingAgainWhileBurstsRemainChangesNothing) {
    LoggingShooter& shooter = Make(10, 3, 1, 2);
    shooter.SetFiring(true);
    Run(shooter, 2);
    shooter.b = 1;  // a reconfiguration would show in the gap
    shooter.SetFiring(true);
    Run(shooter, 40);
    EXPECT_EQ(shooter.configured, 1);
    EXPECT_EQ(shooter.ShotSteps(), (std::vector<int>{1, 4, 16, 19}));
}

// Restarted right after the last burst, without a stop between: configured again, and
// the first new shot waits the full gap, as the waits kept their last values.
TEST_F(ShooterObjectTest, StartingAfterTheBurstsRanOutWaitsTheFullGap) {
    LoggingShooter& shooter = Make(10, 3, 1, 1);
    shooter.SetFiring(true);
    Run(shooter, 4);
    ASSERT_EQ(shooter.ShotSteps(), (std::vector<int>{1, 4}));
    shooter.SetFiring(true);
    EXPECT_EQ(shooter.configured, 2);
    Run(shooter, 30);
    EXPECT_EQ(shooter.ShotSteps(), (std::vector<int>{1, 4, 4 + 10 + 3 - 1, 4 + 10 + 3 - 1 + 3}));
}

TEST_F(ShooterObjectTest, StoppingZeroesEverythingAndTheNextStartConfigures) {
    LoggingShooter& shooter = Make(10, 3, 4, 2);
    shooter.SetFiring(true);
    Run(shooter, 5);
    shooter.SetFiring(false);
    EXPECT_EQ(shooter.log.back(), "5:stop");
    EXPECT_FALSE(shooter.IsFiring());
    EXPECT_EQ(shooter.GetShotInterval(), 0);
    EXPECT_EQ(shooter.GetBurstShots(), 0);
    EXPECT_EQ(shooter.GetShotsLeft(), 0);
    EXPECT_EQ(shooter.GetBurstsLeft(), 0);
    Run(shooter, 5);
    EXPECT_EQ(shooter.ShotSteps().size(), 2u);
    shooter.SetFiring(true);
    EXPECT_EQ(shooter.configured, 2);
    shooter.Step();
    EXPECT_EQ(shooter.log.back(), "11:F4");
}

// The update pass runs the timer; the shooter stays alive and sits at the pivot its
// parent fires from.
TEST_F(ShooterObjectTest, RunsInTheUpdatePassFromTheParentsPivot) {
    Object3D* gun = new Object3D(&top, 0);
    gun->SetPivot(Vec3{1.0f, 2.0f, 3.0f});
    auto* shooter = new LoggingShooter(gun, 0, 1, 0, 3);
    EXPECT_EQ(shooter->GetPosition().x, 1.0f);
    EXPECT_EQ(shooter->GetPosition().y, 2.0f);
    EXPECT_EQ(shooter->GetPosition().z, 3.0f);
    shooter->SetFiring(true);
    for (int i = 0; i < 3; ++i) {
        top.Update();
        top.CollectDead();
    }
    EXPECT_EQ(shooter->log.size(), 9u);  // start, shot, end, three times
    EXPECT_TRUE(shooter->IsAlive());
}

class SeedReader : public ShotPatternBase {
  public:
    explicit SeedReader(TaskObject* parent) : ShotPatternBase(parent, nullptr) {}
    uint32_t NextDraw() { return Generator().Next(); }
};

TEST_F(ShooterObjectTest, EveryPatternDrawsTheSameSequence) {
    SeedReader* a = new SeedReader(&top);
    SeedReader* b = new SeedReader(&top);
    Random reference(19760729);
    for (int i = 0; i < 8; ++i) {
        const uint32_t expected = reference.Next();
        EXPECT_EQ(a->NextDraw(), expected);
        EXPECT_EQ(b->NextDraw(), expected);
    }
}

TEST(AngleConventionTest, ConvertingSwapsTheConventionsAndTwiceGivesTheWrappedInput) {
    // Input, converted, and the input wrapped (more than 359 loses a turn, below 0 gains one).
    const float cases[][3] = {{0, 90, 0},      {90, 0, 90},  {180, 270, 180},         {270, 180, 270},
                              {-90, 180, 270}, {450, 0, 90}, {359.5f, 90.5f, 359.5f}, {359, 91, 359}};
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(ConvertAngleConvention(c[0]), c[1]) << c[0];
        EXPECT_FLOAT_EQ(ConvertAngleConvention(ConvertAngleConvention(c[0])), c[2]) << c[0];
    }
}

TEST(AngleConventionTest, DirectionsAndBearings) {
    Vec3 out{9, 9, 9};
    EXPECT_EQ(&AngleToDirection(out, 0.0f, 2.0f), &out);
    EXPECT_FLOAT_EQ(out.x, 2.0f);
    EXPECT_EQ(out.y, 0.0f);
    EXPECT_NEAR(out.z, 0.0f, 1e-6f);
    AngleToDirection(out, 90.0f, 0.5f);
    EXPECT_NEAR(out.x, 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(out.z, 0.5f);

    // Bearings from a point toward a ship at (1, 0, 2): 0 = +z, 90 = +x.
    const Vec3 ship{1.0f, 0.0f, 2.0f};
    struct Case {
        Vec3 from;
        float bearing;
    };
    const Case cases[] = {
        {{1, 0, -3}, 0},   // the ship's x, smaller z
        {{-2, 0, 2}, 90},  // on the ship's -x side
        {{1, 0, 5}, 180},  // ahead of it
        {{4, 0, 2}, 270},  // on its +x side
        {{0, 7, 1}, 45},   // height leaves the bearing alone
        {{1, 0, 2}, 0},    // on the ship: no direction, and no NaN
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(BearingBetween(c.from, ship), c.bearing, 1e-4f) << c.from.x << "," << c.from.z;
        // From the ship toward the point: the opposite bearing.
        if (c.from.x != ship.x || c.from.z != ship.z) {
            EXPECT_NEAR(BearingBetween(ship, c.from), std::fmod(c.bearing + 180.0f, 360.0f), 1e-4f);
        }
    }
    EXPECT_EQ(BearingBetween(ship, ship), 0.0f);
}

}  // namespace
}  // namespace mareldon
