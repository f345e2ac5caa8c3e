#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/bosses/MultiPartEnemy.h"
#include "tests/game/bosses/Boss1Fixture.h"
#include "tools/archive/PlaceholderBoss6.h"

namespace mareldon {
namespace {

// The boss placed by code under a clock of its own, stepped by hand at chosen frames.
struct Boss6OnAClock {
    StaticModelPart clock{nullptr};
    MultiPartEnemy* boss = Build(clock);

    static MultiPartEnemy* Build(StaticModelPart& clock) {
        clock.frameRate = 60.0f;
        clock.framePeriod = 1.0f / 60.0f;
        return new MultiPartEnemy(&clock);
    }

    void At(int32_t frame) {
        clock.SetMotionTime((float(frame) + 0.5f) / 60.0f);
        boss->OnUpdatePre();
    }
    std::vector<int32_t> Guns() {
        std::vector<int32_t> classes;
        boss->ForEachChildNode([&](Object3D& child) {
            if (auto* gun = dynamic_cast<MultiPartGun*>(&child))
                classes.push_back(gun->GunClass());
        });
        return classes;
    }
};

TEST(MultiPartEnemy, BuildsEachScheduledGunOnceWhateverStepsTheClockTakes) {
    const struct {
        const char* name;
        std::vector<int32_t> frames;
        std::vector<int32_t> guns;
    } kCases[] = {
        {"every frame", {1196, 1197, 1198, 1199}, {3, 4, 5}},
        {"repeated", {1197, 1198, 1198, 1198, 1199}, {3, 4, 5}},
        {"skipped", {1196, 1197, 1199, 1200}, {3, 4, 5}},
        {"first update on the frame", {1198}, {3, 4, 5}},
        {"first update after the frame", {1199, 1200}, {}},
        {"two entries in one jump", {2620, 2730}, {8, 9, 8, 9}},
        {"a frame the clock never shows", {-1, 0, 1}, {}},
        {"negative frames shown", {-275, -274, -200, -100}, {1, 1, 2}},
        {"clock going back", {1198, 1100, 1197}, {3, 4, 5}},
    };
    for (const auto& c : kCases) {
        Boss6OnAClock b;
        for (int32_t frame : c.frames)
            b.At(frame);
        EXPECT_EQ(b.Guns(), c.guns) << c.name;
    }
}

TEST(MultiPartEnemy, HittableOnlyInsideTheWindowThenEndsItselfAndBuildsNoMore) {
    Boss6OnAClock b;
    b.At(274);
    EXPECT_EQ(b.boss->registrationFrames, 0);
    b.At(275);
    b.At(5419);
    EXPECT_EQ(b.boss->registrationFrames, 2);
    EXPECT_EQ(b.boss->deathRound, 0);
    b.At(5420);
    EXPECT_EQ(b.boss->registrationFrames, 2);
    EXPECT_EQ(b.boss->timeUp, 1);
    EXPECT_EQ(b.boss->deathRound, 1);
    // The death sequence replaces the whole step: no guns, no spheres; the round moves
    // only on frames with bit 2 set.
    const size_t guns = b.Guns().size();
    int32_t emitterFrames = 0;
    for (int32_t frame = 5421; frame <= 5470; ++frame) {
        const int32_t round = b.boss->deathRound;
        b.At(frame);
        if ((frame & 4) == 0)
            EXPECT_EQ(b.boss->deathRound, round) << frame;
        else if (b.boss->deathRound == round + 1)
            ++emitterFrames;
    }
    EXPECT_EQ(b.Guns().size(), guns);
    EXPECT_EQ(b.boss->registrationFrames, 2);
    EXPECT_EQ(b.boss->gone, 1);
    EXPECT_GE(emitterFrames, 5);
    EXPECT_EQ(b.boss->IsAlive(), false);
}

TEST(MultiPartGun12, HalfWidthSwingsUpTo30AndDownTo2BelowZero) {
    Boss6OnAClock b;
    MultiPartGun gun(b.boss, nullptr, 12);
    gun.OnVolleyStart();
    std::vector<int32_t> widths;
    for (int i = 0; i < 34; ++i) {
        gun.OnActiveStep();
        widths.push_back(gun.halfWidth);
    }
    std::vector<int32_t> expected;
    for (int32_t n = 2; n <= 30; n += 2)
        expected.push_back(n);
    for (int32_t n = 28; n >= -2; n -= 2)
        expected.push_back(n);
    expected.push_back(0);
    expected.push_back(2);
    expected.push_back(4);
    EXPECT_EQ(widths, expected);
}

// The guns fired into a world: the bullets of one fire call, by class and settings.
class Boss6Guns : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(f.Start());
        boss = new MultiPartEnemy(f.screen->GetWorldRoot());
        boss->world = f.screen;
    }
    int32_t Shots(MultiPartGun& gun) {
        const std::string label = "MultiPartGun" + std::to_string(gun.GunClass());
        const int32_t before = CountShots(label);
        gun.FireBullet(gun.GetWorldPosition(), gun.AngleToPlayer(), gun.BulletSpeed());
        return CountShots(label) - before;
    }
    int32_t CountShots(const std::string& label) {
        int32_t n = 0;
        for (const WorldEvent& e : f.log.Events())
            n += e.operation == "GunShot" && e.arguments.rfind(label + " ", 0) == 0 ? 1 : 0;
        return n;
    }

    BossStageFixture f{[](StageModelBuilder&) { return std::vector<MbdWriter::Node>{}; },
                       [](MbdWriter&, StageModelBuilder&) {}};
    MultiPartEnemy* boss = nullptr;
};

TEST_F(Boss6Guns, BulletsPerFireCall) {
    const struct {
        int32_t gunClass;
        int32_t bullets;
    } kCases[] = {{1, 3}, {2, 12}, {5, 3}, {6, 3}, {7, 72}, {10, 216}, {11, 2}, {13, 10}, {14, 5}};
    for (const auto& c : kCases) {
        auto* gun = new MultiPartGun(boss, f.screen, c.gunClass);
        EXPECT_EQ(Shots(*gun), c.bullets) << c.gunClass;
    }
}

TEST_F(Boss6Guns, Gun12FiresOneBulletPerFiveDegreesOfItsSpreadAndNothingAtZero) {
    auto* gun = new MultiPartGun(boss, f.screen, 12);
    gun->OnVolleyStart();
    for (const auto& [n, bullets] :
         std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {-2, 0}, {2, 1}, {5, 2}, {30, 12}}) {
        gun->halfWidth = n;
        EXPECT_EQ(Shots(*gun), bullets) << n;
    }
}

TEST_F(Boss6Guns, Gun3SkipsEveryShotWhoseCounterHasBits2And3At10) {
    auto* gun = new MultiPartGun(boss, f.screen, 3);
    int32_t fired = 0;
    for (int i = 0; i < 16; ++i)
        fired += Shots(*gun) > 0 ? 1 : 0;
    // Counters 1..16: those with (c & 12) == 8 are 8..11.
    EXPECT_EQ(fired, 12);
}

// The placeholder boss on its stage: both ends, by hits and by the clock, are one end.
TEST(Boss6Stage, TimeUpEndsAsAKillDoes) {
    for (const bool kill : {true, false}) {
        BossStageFixture f(
            [](StageModelBuilder& b) { return std::vector<MbdWriter::Node>{PlaceholderBoss6Node(b)}; },
            [](MbdWriter&, StageModelBuilder&) {});
        ASSERT_TRUE(f.Start());
        auto* boss = f.FindOne<MultiPartEnemy>();
        ASSERT_NE(boss, nullptr);
        // The boss may be swept once it ends: its state is read only while it is there.
        int32_t deathRound = 0;
        int32_t timeUp = 0;
        const auto step = [&] {
            f.Step();
            if (f.FindOne<MultiPartEnemy>() != boss) {
                boss = nullptr;
                return;
            }
            deathRound = boss->deathRound;
            timeUp = boss->timeUp;
        };
        f.screen->GetStageScene()->SetMotionTime((kill ? 2000.0f : 5410.0f) / 60.0f);
        for (int i = 0; i < 20 && boss != nullptr; ++i)
            step();
        if (kill) {
            ASSERT_NE(boss, nullptr);
            BossStageFixture::Hit(boss, 7000.0f);
        } else {
            while (boss != nullptr && boss->GetStepCount() < 5420)
                step();
        }
        if (boss != nullptr)
            step();
        EXPECT_EQ(deathRound >= 1, true) << kill;
        EXPECT_EQ(f.Count("PlaySe", "5"), 1) << kill;
        EXPECT_EQ(f.Count("BeginStageClear"), 1) << kill;
        EXPECT_EQ(timeUp, kill ? 0 : 1);
        const int32_t guns = f.Count("BossGun");
        for (int i = 0; i < 40; ++i)
            f.Step();
        EXPECT_EQ(f.Count("BossGun"), guns) << kill;
        EXPECT_EQ(f.Count("BeginStageClear"), 1) << kill;
    }
}

}  // namespace
}  // namespace mareldon
