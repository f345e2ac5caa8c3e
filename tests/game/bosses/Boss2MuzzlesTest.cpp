#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "tests/game/bosses/Boss2Fixture.h"

namespace mareldon {
namespace {

// A pattern row on a mount under the world root of a stage without a boss.
class RowBench {
  public:
    RowBench() : f(NoBossNodes) {
        EXPECT_TRUE(f.Start());
        // Long runs of every row would outlast the stage's time limit.
        f.screen->SetTimeLimitEnabled(false);
        mount = new Object3D(f.screen->GetWorldRoot(), 0);
    }
    Boss2ShotPattern* Make(const char* name) {
        const Boss2PatternRow* row = FindBoss2PatternRow(name);
        EXPECT_NE(row, nullptr) << name;
        return row != nullptr ? new Boss2ShotPattern(mount, f.screen, *row) : nullptr;
    }
    // One step; the bullets it fired.
    std::vector<BossShot> Step() {
        const size_t before = f.shots.size();
        f.Shield();
        f.root.Update();
        f.root.CollectDead();
        return std::vector<BossShot>(f.shots.begin() + long(before), f.shots.end());
    }
    // The bullets of each shot step of one whole firing from a restart.
    std::vector<std::vector<BossShot>> Fire(Boss2ShotPattern* pattern) {
        pattern->Restart();
        std::vector<std::vector<BossShot>> volleys;
        for (int32_t i = 0; i < 5000 && pattern->GetBurstsLeft() > 0; ++i) {
            const int32_t shotsLeft = pattern->GetShotsLeft();
            const int32_t burstsLeft = pattern->GetBurstsLeft();
            std::vector<BossShot> fired = Step();
            if (pattern->GetShotsLeft() != shotsLeft || pattern->GetBurstsLeft() != burstsLeft ||
                !fired.empty())
                volleys.push_back(std::move(fired));
        }
        return volleys;
    }
    float AimOf(Boss2ShotPattern* pattern) {
        const Vec3 at = pattern->GetWorldPosition();
        return pattern->AngleToNearestPlayer(at.x, at.y, at.z);
    }

    BossStageFixture f;
    Object3D* mount;
};

float Wrap360(float degrees) {
    degrees = std::fmod(degrees, 360.0f);
    return degrees < 0.0f ? degrees + 360.0f : degrees;
}
float Bearing(const BossShot& s) {
    return Wrap360(std::atan2(s.velocity.x, s.velocity.z) * 57.29578f);
}
float AngleGap(float a, float b) {
    const float d = std::fabs(Wrap360(a) - Wrap360(b));
    return d > 180.0f ? 360.0f - d : d;
}

struct RowCase {
    std::string name;
    int32_t shots;    // shot steps of one firing
    int32_t bullets;  // bullets of the whole firing
    std::set<int32_t> sprites;
    float minSize, maxSize;
    float minSpeed, maxSpeed;
};

// Every row of every gun: shot count, bullets, cells, sizes and speeds of one firing.
TEST(Boss2Patterns, EveryRowFiresItsTable) {
    std::vector<RowCase> cases;
    for (const char* unit : {"Runit1", "Lunit1"}) {
        const std::string u(unit);
        auto add = [&](const char* k, RowCase c) {
            c.name = u + k;
            cases.push_back(c);
        };
        add("_0", {"", 13, 156, {41, 12}, 0.8f, 1.2f, 0.02f, 0.06f});
        add("_1", {"", 1, 64, {39, 10}, 1.5f, 1.5f, 0.04f, 0.04f});
        add("_2", {"", 17, 204, {15}, 0.8f, 1.8f, 0.03f, 0.1f});
        add("_3", {"", 2, 130, {10, 39, 1}, 0.8f, 1.2f, 0.08f, 0.08f});
        add("_4", {"", 21, 168, {11, 0}, 0.8f, 1.2f, 0.04f, 0.13f});
        add("_5", {"", 33, 96, {26}, 1.0f, 1.0f, 0.04f, 0.04f});
    }
    const std::vector<RowCase> fixedRows = {
        {"Runit2_0", 7, 21, {18}, 1.5f, 1.5f, 0.15f, 0.17f},
        {"Lunit2_0", 7, 21, {18}, 1.0f, 1.0f, 0.15f, 0.17f},
        {"Runit2_1", 48, 240, {10}, 1.0f, 1.0f, 0.02f, 0.03f},
        {"Lunit2_1", 48, 240, {10}, 1.0f, 1.0f, 0.02f, 0.03f},
        {"Runit2_2", 420, 2100, {18}, 1.0f, 1.0f, 0.03f, 0.048f},
        {"Lunit2_2", 420, 2100, {18}, 1.0f, 1.0f, 0.03f, 0.048f},
        {"center0_0", 1, 32, {15}, 0.8f, 1.8f, 0.02f, 0.1f},
        {"center0_1", 1, 32, {15}, 0.8f, 1.8f, 0.02f, 0.1f},
        {"center0_2", 34, 102, {28}, 1.0f, 1.0f, 0.05f, 0.09f},
        {"center0_3", 52, 156, {20}, 1.0f, 1.0f, 0.035f, 0.07f},
        {"center0_4", 34, 102, {28}, 1.0f, 1.0f, 0.05f, 0.09f},
        {"center0_5", 34, 204, {28}, 1.0f, 1.0f, 0.05f, 0.09f},
        {"center0_6", 1, 96, {40, 0}, 1.0f, 1.0f, 0.04f, 0.08f},
        {"center0_7", 4, 256, {39, 10}, 1.5f, 1.5f, 0.04f, 0.04f},
        {"center1_0", 1, 32, {16}, 1.5f, 1.5f, 0.07f, 0.07f},
        {"center1_1", 20, 640, {16}, 1.2f, 1.2f, 0.06f, 0.06f},
        {"center1_2", 25, 100, {41, 12}, 0.8f, 1.2f, 0.02f, 0.06f},
        {"center1_3", 121, 242, {41, 12}, 1.0f, 1.0f, 0.029f, 0.041f},
        {"center1_4", 121, 242, {41, 12}, 1.0f, 1.0f, 0.029f, 0.041f},
        {"revolver1_2", 12, 240, {8}, 1.0f, 1.0f, 0.08f, 0.08f},
        {"revolver5_2", 12, 240, {8}, 1.0f, 1.0f, 0.08f, 0.08f},
        {"revolver2_0", 5, 15, {18}, 1.0f, 1.0f, 0.15f, 0.17f},
        {"revolver3_0", 5, 15, {18}, 1.0f, 1.0f, 0.15f, 0.17f},
        {"revolver2_1", 9, 18, {18}, 1.0f, 1.0f, 0.15f, 0.15f},
        {"revolver3_1", 9, 18, {18}, 1.0f, 1.0f, 0.15f, 0.15f},
    };
    cases.insert(cases.end(), fixedRows.begin(), fixedRows.end());
    static const char* const kRevolvers[] = {"revolver0", "revolver1", "revolver4", "revolver5"};
    for (const char* r : kRevolvers) {
        cases.push_back({std::string(r) + "_0", 11, 55, {16}, 1.3f, 1.3f, 0.12f, 0.12f});
        cases.push_back({std::string(r) + "_1", 11, 66, {16}, 1.3f, 1.3f, 0.12f, 0.12f});
        const bool four = std::string(r) == "revolver1" || std::string(r) == "revolver5";
        cases.push_back({std::string(r) + (four ? "_3" : "_2"), 5, 15, {16}, 1.0f, 1.0f, 0.13f, 0.15f});
    }
    ASSERT_EQ(cases.size(), 49u);

    for (const RowCase& c : cases) {
        SCOPED_TRACE(c.name);
        // A fresh world each: the spent bullets' effects would pile up.
        RowBench bench;
        Boss2ShotPattern* pattern = bench.Make(c.name.c_str());
        ASSERT_NE(pattern, nullptr);
        const auto volleys = bench.Fire(pattern);
        EXPECT_EQ(int32_t(volleys.size()), c.shots);
        int32_t bullets = 0;
        std::set<int32_t> sprites;
        float minSize = 1e9f, maxSize = -1e9f, minSpeed = 1e9f, maxSpeed = -1e9f;
        for (const auto& volley : volleys) {
            for (const BossShot& s : volley) {
                ++bullets;
                sprites.insert(s.sprite);
                minSize = std::min(minSize, s.size);
                maxSize = std::max(maxSize, s.size);
                minSpeed = std::min(minSpeed, ShotSpeed(s));
                maxSpeed = std::max(maxSpeed, ShotSpeed(s));
            }
        }
        EXPECT_EQ(bullets, c.bullets);
        EXPECT_EQ(sprites, c.sprites);
        EXPECT_GE(minSize, c.minSize - 1e-5f);
        EXPECT_LE(maxSize, c.maxSize + 1e-5f);
        EXPECT_GE(minSpeed, c.minSpeed - 1e-4f);
        EXPECT_LE(maxSpeed, c.maxSpeed + 1e-4f);
    }
}

// 33 shots, a four-bullet volley on three of every four, turning 19 a shot one way or
// the other.
TEST(Boss2Patterns, UnitQuadSpinFires24VolleysTurning19AShot) {
    const struct {
        const char* name;
        float turn;
    } kCases[] = {{"Runit1_5", -19.0f}, {"Lunit1_5", 19.0f}};
    RowBench bench;
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        Boss2ShotPattern* pattern = bench.Make(c.name);
        const auto volleys = bench.Fire(pattern);
        ASSERT_EQ(volleys.size(), 33u);
        int32_t fired = 0;
        for (size_t s = 0; s < volleys.size(); ++s) {
            const int32_t shotsLeft = 32 - int32_t(s);
            if ((shotsLeft & 3) == 0) {
                EXPECT_TRUE(volleys[s].empty()) << s;
                continue;
            }
            ASSERT_EQ(volleys[s].size(), 4u) << s;
            ++fired;
            const float theta = c.turn * float(s);
            const float expected[4] = {theta + 1.0f, theta - 1.0f, theta + 181.0f, theta + 179.0f};
            for (int i = 0; i < 4; ++i)
                EXPECT_LT(AngleGap(Bearing(volleys[s][size_t(i)]), expected[i]), 1e-2f) << s << " " << i;
        }
        EXPECT_EQ(fired, 24);
        EXPECT_FLOAT_EQ(pattern->Theta(), c.turn * 33.0f);
    }
}

// Four rings of 64, each 11.25 radians on from the last (not degrees: the rings do not
// line up), in 16 groups of four.
TEST(Boss2Patterns, Center0RingTurns11Point25RadiansARing) {
    RowBench bench;
    Boss2ShotPattern* pattern = bench.Make("center0_7");
    const auto volleys = bench.Fire(pattern);
    ASSERT_EQ(volleys.size(), 4u);
    for (size_t k = 0; k < volleys.size(); ++k) {
        ASSERT_EQ(volleys[k].size(), 64u);
        const BossShot& first = volleys[k][0];
        const float expected = std::remainder(11.25f * float(k), 6.2831855f);
        EXPECT_NEAR(std::remainder(std::atan2(first.velocity.z, first.velocity.x) - expected, 6.2831855f),
                    0.0f, 1e-3f)
            << k;
        // Directions 0-3 fire and 4-7 do not: the fifth bullet is direction 8.
        const BossShot& fifth = volleys[k][4];
        EXPECT_NEAR(
            std::remainder(std::atan2(fifth.velocity.z, fifth.velocity.x) - expected - 8 * 0.049087387f,
                           6.2831855f),
            0.0f, 1e-3f);
        EXPECT_EQ(first.sprite, 10);
        EXPECT_EQ(volleys[k][1].sprite, 39);
    }
}

// A restart in the middle of a firing begins a new one at once with fresh values.
TEST(Boss2Patterns, RestartMidFiringBeginsAfresh) {
    for (const char* name : {"Runit2_1", "center0_3", "center1_3", "revolver1_2"}) {
        SCOPED_TRACE(name);
        RowBench bench;
        Boss2ShotPattern* pattern = bench.Make(name);
        const auto whole = bench.Fire(pattern);
        pattern->Restart();
        for (int i = 0; i < 40; ++i)
            bench.Step();
        const auto again = bench.Fire(pattern);
        ASSERT_EQ(again.size(), whole.size());
        ASSERT_EQ(again[0].size(), whole[0].size());
        for (size_t i = 0; i < again[0].size(); ++i) {
            EXPECT_NEAR(ShotSpeed(again[0][i]), ShotSpeed(whole[0][i]), 1e-6f);
            EXPECT_LT(AngleGap(Bearing(again[0][i]), Bearing(whole[0][i])), 1e-3f);
        }
    }
}

// The sweeps start on the side the bursts left give: center0_4 mirrors center0_2, and
// center0_5 runs both at once.
TEST(Boss2Patterns, SweepsStartOnTheSideTheBurstParityGives) {
    const struct {
        const char* name;
        float firstSide;  // offset from the aim of the first burst's first bullet
        float step;
    } kCases[] = {
        {"center0_2", 135.0f, -16.875f}, {"center0_4", -135.0f, 16.875f}, {"center0_5", -135.0f, 16.875f}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        RowBench bench;
        Boss2ShotPattern* pattern = bench.Make(c.name);
        const float aim = bench.AimOf(pattern);
        const auto volleys = bench.Fire(pattern);
        ASSERT_EQ(volleys.size(), 34u);
        // Burst 1 (two left) then burst 2 (one left) from the other side.
        EXPECT_LT(AngleGap(Bearing(volleys[0][0]), aim + c.firstSide), 1e-2f);
        EXPECT_LT(AngleGap(Bearing(volleys[1][0]), aim + c.firstSide + c.step), 1e-2f);
        EXPECT_LT(AngleGap(Bearing(volleys[17][0]), aim - c.firstSide), 1e-2f);
        EXPECT_NEAR(ShotSpeed(volleys[0][0]), 0.09f, 1e-5f);
        EXPECT_NEAR(ShotSpeed(volleys[0][1]), 0.05f, 1e-5f);
        if (std::string(c.name) == "center0_5") {
            EXPECT_LT(AngleGap(Bearing(volleys[0][3]), aim - c.firstSide), 1e-2f);
        }
    }
}

// The sprayed bullets start around the muzzle within their radius.
TEST(Boss2Patterns, SprayedBulletsStartWithinTheirRadius) {
    const struct {
        const char* name;
        float r0, r1;
    } kCases[] = {{"Runit1_3", 0.5f, 0.6f}, {"Runit1_4", 0.0f, 0.4f}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        RowBench bench;
        Boss2ShotPattern* pattern = bench.Make(c.name);
        const Vec3 at = pattern->GetWorldPosition();
        const auto volleys = bench.Fire(pattern);
        size_t counted = 0;
        for (const auto& volley : volleys) {
            // Runit1_3's lead bullet starts on the muzzle.
            const size_t from = std::string(c.name) == "Runit1_3" ? 1 : 0;
            for (size_t i = from; i < volley.size(); ++i) {
                const float d = std::hypot(volley[i].position.x - at.x, volley[i].position.z - at.z);
                EXPECT_GE(d, c.r0 - 1e-4f);
                EXPECT_LT(d, c.r1 + 1e-4f);
                ++counted;
            }
        }
        EXPECT_GT(counted, 100u);
    }
}

}  // namespace
}  // namespace mareldon
