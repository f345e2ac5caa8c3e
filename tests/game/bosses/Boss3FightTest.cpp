#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/bosses/Boss3Fixture.h"

namespace mareldon {
namespace {

std::string Layer(int n) {
    return "bg_03big_spider:Layer" + std::to_string(n);
}

// Patterns firing on the body's muzzles.
int32_t FiringPatterns(Boss3Body& body) {
    int32_t firing = 0;
    for (int32_t slot = 0; slot < kBoss3MuzzleCount; ++slot) {
        Boss3Muzzle* muzzle = body.Muzzle(slot);
        for (int32_t k = 0; muzzle != nullptr && k < muzzle->PatternCount(); ++k)
            firing += muzzle->Pattern(k)->GetBurstsLeft() > 0 ? 1 : 0;
    }
    return firing;
}

// A fight whose fight start has run.
class Boss3Fight : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(f.Start());
        ASSERT_NE(f.Body3(), nullptr);
        f.StartFight();
    }
    Boss3Body& Body() { return *f.Body3(); }
    // Core damage up to the phase change, then the steps to cycle B.
    void ToCycleB() {
        BossStageFixture::Hit(f.Part(kBoss3Core), 2401.0f);
        f.Steps3(2);
        ASSERT_TRUE(Body().IsPhaseChanging());
        f.Steps3(302);
        ASSERT_TRUE(Body().IsCycleBStarted());
    }

    Boss3StageFixture f;
};

TEST(Boss3FightStart, ALumpOfWorldFramesPassing8700StartsTheFightInThatUpdate) {
    Boss3StageFixture f;
    ASSERT_TRUE(f.Start());
    Boss3Body* body = f.Body3();
    ASSERT_NE(body, nullptr);
    for (int32_t slot = 0; slot < kBoss3PartCount; ++slot)
        EXPECT_NE(body->Part(slot), nullptr) << slot;
    for (int32_t slot = 0; slot < kBoss3MuzzleCount; ++slot)
        EXPECT_NE(body->Muzzle(slot), nullptr) << Boss3MuzzleTable(slot).node;
    f.Steps3(20);
    EXPECT_EQ(f.Count("BossHittable"), 0);
    f.screen->GetWorldRoot()->SetMotionTime(9000.0f / 60.0f);
    f.Step3();
    const int32_t step = f.log.GetStep();
    EXPECT_EQ(f.StepOf("BossEvent", "fight.start 8700"), step);
    for (int layer : {0, 16, 17, 13, 14, 5, 20, 19, 21})
        EXPECT_EQ(f.StepOf("BossHittable", (Layer(layer) + " 1").c_str()), step) << layer;
    for (int layer : {6, 2, 11, 12, 3, 4})
        EXPECT_EQ(f.Count("BossHittable", (Layer(layer) + " 1").c_str()), 0) << layer;
    EXPECT_TRUE(body->IsFighting());
    // Cycle A comes before the fight-start timer among the body's timelines: its frame 0
    // runs in the next update.
    EXPECT_EQ(f.Count("BossPatternStart"), 0);
    f.Step3();
    EXPECT_EQ(f.StepOf("BossPatternStart", "kasaLcenter.4"), step + 1);
}

TEST_F(Boss3Fight, CycleAStartsKasaMuzzlesTwoStepsApartAndLoops) {
    const int32_t start = f.FrameOf("BossPatternStart", "kasaLcenter.4");
    ASSERT_GT(start, 0);
    f.StepToWorldFrame(start + 1010);
    EXPECT_EQ(f.FrameOf("BossPatternStart", "kasaRcenter.4"), start + 240);
    EXPECT_EQ(f.FrameOf("BossPatternStart", "kasaLcenter.7"), start + 912);
    for (int32_t j = 0; j < 12; ++j) {
        const std::string r = "kasaR" + std::to_string(j + 1) + ".0";
        const std::string l = "kasaL" + std::to_string(j + 1) + ".0";
        EXPECT_EQ(f.FrameOf("BossPatternStart", r.c_str()), start + 912 + 2 * j) << r;
        EXPECT_EQ(f.FrameOf("BossPatternStart", l.c_str()), start + 984 + 2 * j) << l;
    }
    f.StepToWorldFrame(start + 1505);
    EXPECT_EQ(f.Count("BossEvent", "A.loop 1500"), 1);
    EXPECT_EQ(f.Count("BossPatternStart", "kasaLcenter.4"), 2);
    EXPECT_GT(f.shots.size(), 500u);
}

TEST_F(Boss3Fight, CoreMeterChangesPhaseAfter2400PointsAndLosesDamageWhileChanging) {
    Boss3Section* core = f.Part(kBoss3Core);
    BossStageFixture::Hit(core, 2400.0f);
    f.Steps3(3);
    EXPECT_EQ(f.Count("BossEvent", "core.2400 2400"), 0);
    EXPECT_FALSE(Body().IsPhaseChanging());
    BossStageFixture::Hit(core, 1.0f);
    f.Step3();
    const int32_t reached = f.FrameOf("BossEvent", "core.2400 2400");
    ASSERT_GT(reached, 0);
    f.Step3();
    EXPECT_EQ(f.FrameOf("BossEvent", "phase.begin 0"), reached + 1);
    EXPECT_TRUE(Body().IsPhaseChanging());
    EXPECT_EQ(FiringPatterns(Body()), 0);
    EXPECT_EQ(f.Count("BossHittable", (Layer(11) + " 0").c_str()), 0);  // never hittable

    const float taken = Body().CoreDamageTaken();
    BossStageFixture::Hit(core, 500.0f);
    f.Step3();
    EXPECT_EQ(Body().CoreDamageTaken(), taken);
    // Layer6 feeds the core meter too, with the same rule.
    BossStageFixture::Hit(f.Part(kBoss3Layer6), 500.0f);
    f.Step3();
    EXPECT_EQ(Body().CoreDamageTaken(), taken);

    f.StepToWorldFrame(reached + 1 + 301);
    EXPECT_EQ(f.FrameOf("BossEvent", "phase.legs 180"), reached + 181);
    EXPECT_EQ(f.FrameOf("BossEvent", "phase.cycleB 300"), reached + 301);
    EXPECT_EQ(f.FrameOf("BossPatternStart", "kasaLcenter.3"), reached + 302);
    EXPECT_TRUE(Body().IsCycleBStarted());
    // The rear legs broke; the frozen parts move by their own motion now.
    EXPECT_EQ(f.Count("BossHittable", (Layer(16) + " 0").c_str()), 1);
    EXPECT_EQ(f.Part(kBoss3Layer2)->frozen, 1);
    const float z = f.Part(kBoss3Layer2)->GetPosition().z;
    f.Steps3(5);
    EXPECT_GT(f.Part(kBoss3Layer2)->GetPosition().z, z);
    BossStageFixture::Hit(core, 100.0f);
    f.Step3();
    EXPECT_EQ(Body().CoreDamageTaken(), taken + 100.0f);
}

TEST_F(Boss3Fight, DeathStopsEverythingAndClearsTheStageAtDeathFrame900) {
    ToCycleB();
    f.Steps3(500);
    ASSERT_GT(FiringPatterns(Body()), 0);
    BossStageFixture::Hit(f.Part(kBoss3Core), 1600.0f);
    f.Steps3(2);
    const int32_t began = f.FrameOf("BossEvent", "death.begin 0");
    ASSERT_GT(began, 0);
    EXPECT_TRUE(Body().IsDying());
    EXPECT_TRUE(Body().attackCycleB->IsStopped());
    EXPECT_EQ(FiringPatterns(Body()), 0);
    EXPECT_EQ(f.Count("CancelAllEnemyBullets"), 1);
    EXPECT_FALSE(f.screen->IsTimeLimitEnabled());
    EXPECT_EQ(f.Part(kBoss3Core)->hittable, 0);
    // The model runs down from the next step, by 1/120 a step.
    EXPECT_EQ(f.BossRoot3()->timeScale, 1.0f);
    f.Step3();
    EXPECT_NEAR(f.BossRoot3()->timeScale, 1.0f - 1.0f / 120.0f, 1e-6f);
    const size_t shotsAtDeath = f.shots.size();

    // Layer6 drops to 0 at its own frame 800 and goes; its timeline is not stopped.
    f.StepToWorldFrame(began + 799);
    ASSERT_NE(f.Part(kBoss3Layer6), nullptr);
    EXPECT_GT(f.Part(kBoss3Layer6)->durability, 0.0f);
    f.Step3();
    Boss3Section* layer6 = f.Part(kBoss3Layer6);
    EXPECT_TRUE(layer6 == nullptr || layer6->durability == 0.0f);
    EXPECT_EQ(f.Count("BeginStageClear"), 0);
    f.StepToWorldFrame(began + 905);
    EXPECT_EQ(f.Count("BeginStageClear"), 1);
    EXPECT_EQ(f.FrameOf("BeginStageClear"), began + 900);
    EXPECT_EQ(f.shots.size(), shotsAtDeath);
    EXPECT_EQ(f.BossRoot3()->timeScale, 0.0f);
    // The sections broke in order; the body stays.
    EXPECT_EQ(f.FrameOf("BossEvent", "death.13 300"), began + 300);
    for (int32_t slot : {kBoss3Core, kBoss3Layer13, kBoss3Layer14, kBoss3Layer3, kBoss3Layer4})
        EXPECT_EQ(f.Part(slot), nullptr) << slot;
    EXPECT_NE(f.Body3(), nullptr);
}

TEST_F(Boss3Fight, PartMetersBreakTheirSectionsAndPlatesBreakAgainInTheDeath) {
    BossStageFixture::Hit(f.Part(kBoss3Layer16), 100.0f);
    f.Step3();
    EXPECT_EQ(f.Count("BossEvent", "G.100 100"), 0);
    BossStageFixture::Hit(f.Part(kBoss3Layer16), 1.0f);
    f.Step3();
    EXPECT_GT(f.StepOf("BossEvent", "G.100 100"), 0);
    EXPECT_GT(f.StepOf("BossHittable", (Layer(16) + " 0").c_str()), 0);

    Boss3Section* plate = f.Part(kBoss3Layer5);
    BossStageFixture::Hit(plate, 201.0f);
    f.Steps3(2);
    EXPECT_GT(f.StepOf("BossEvent", "I.200 200"), 0);
    EXPECT_EQ(plate->broken, 1);
    // Broken: still hittable, but it enters no sphere and feeds nothing more.
    EXPECT_EQ(plate->hittable, 1);
    f.Steps3(60);
    EXPECT_EQ(plate->DrawSet().Get(), Body().Holder()->Slot(5)->DrawSet().Get());
    EXPECT_TRUE(plate->death->IsStopped());

    ToCycleB();
    BossStageFixture::Hit(f.Part(kBoss3Core), 1600.0f);
    f.Steps3(2);
    const int32_t began = f.FrameOf("BossEvent", "death.begin 0");
    ASSERT_GT(began, 0);
    // Started again at death frame 60, the broken plate plays its breaking once more:
    // its frame 50 is the only sound 4 until Layer21's.
    f.StepToWorldFrame(began + 59);
    const int32_t se4 = f.Count("PlaySe", "4");
    f.StepToWorldFrame(began + 120);
    EXPECT_EQ(f.Count("PlaySe", "4"), se4 + 1);
    ASSERT_NE(f.Part(kBoss3Layer5), nullptr);
    EXPECT_TRUE(f.Part(kBoss3Layer5)->death->IsStopped());
}

TEST(Boss3TimeUp, CoreMeterStopsAtOneSecondLeftButPartMetersGoOn) {
    Boss3StageFixture f;
    ASSERT_TRUE(f.Start());
    for (int i = 0; i < 10000 && f.screen->GetTimeLeft() > 1.0f; ++i)
        f.Step3();
    ASSERT_LE(f.screen->GetTimeLeft(), 1.0f);
    f.Step3();
    ASSERT_TRUE(f.Body3()->IsTimeUp());
    f.JumpWorldBefore(8701);
    f.Steps3(2);
    ASSERT_TRUE(f.Body3()->IsFighting());
    BossStageFixture::Hit(f.Part(kBoss3Core), 5000.0f);
    BossStageFixture::Hit(f.Part(kBoss3Layer17), 150.0f);
    f.Steps3(3);
    EXPECT_EQ(f.Body3()->CoreDamageTaken(), 0.0f);
    EXPECT_FALSE(f.Body3()->IsPhaseChanging());
    EXPECT_GT(f.StepOf("BossEvent", "H.100 100"), 0);
}

TEST(Boss3BadModel, AMissingMuzzleOrSectionLeavesItsSlotEmptyAndTheFightRuns) {
    for (const PlaceholderBoss3Omit& omit :
         {PlaceholderBoss3Omit{-1, "kasaR3"}, PlaceholderBoss3Omit{13, nullptr},
          PlaceholderBoss3Omit{0, nullptr}, PlaceholderBoss3Omit{-1, "kasaLcenter"}}) {
        Boss3StageFixture f(omit);
        ASSERT_TRUE(f.Start());
        Boss3Body* body = f.Body3();
        ASSERT_NE(body, nullptr);
        if (omit.muzzle != nullptr) {
            const int32_t slot = std::string(omit.muzzle) == "kasaR3" ? kBoss3KasaR1 + 2 : kBoss3KasaLcenter;
            EXPECT_EQ(body->Muzzle(slot), nullptr);
        }
        if (omit.layer == 13) {
            EXPECT_EQ(body->Part(kBoss3Layer13), nullptr);
            // Its twelve muzzles hang under it.
            EXPECT_EQ(body->Muzzle(kBoss3KasaR1), nullptr);
        }
        if (omit.layer == 0) {
            EXPECT_EQ(body->Part(kBoss3Core), nullptr);
        }
        f.StartFight();
        f.Steps3(1300);
        EXPECT_EQ(f.Count("BossEvent", "fight.start 8700"), 1);
        EXPECT_GT(f.shots.size(), 100u) << omit.layer;
        if (Boss3Section* layer6 = body->Part(kBoss3Layer6)) {
            BossStageFixture::Hit(layer6, 4001.0f);
            f.Steps3(1000);
        }
        EXPECT_EQ(f.Count("BeginStageClear"), 1) << omit.layer;
    }
}

// The same fight twice: the same log and the same bullets.
std::vector<std::string> ScriptedFight(std::vector<BossShot>* shots) {
    Boss3StageFixture f;
    EXPECT_TRUE(f.Start());
    f.StartFight();
    f.Steps3(1000);
    BossStageFixture::Hit(f.Part(kBoss3Layer5), 210.0f);
    BossStageFixture::Hit(f.Part(kBoss3Core), 2500.0f);
    f.Steps3(1400);
    *shots = f.shots;
    return f.Lines();
}

TEST(Boss3Replay, TwoRunsGiveTheSameLogAndBullets) {
    std::vector<BossShot> first;
    std::vector<BossShot> second;
    const std::vector<std::string> a = ScriptedFight(&first);
    const std::vector<std::string> b = ScriptedFight(&second);
    EXPECT_EQ(a, b);
    ASSERT_EQ(first.size(), second.size());
    ASSERT_GT(first.size(), 1000u);
    for (size_t i = 0; i < first.size(); ++i) {
        ASSERT_EQ(first[i].velocity.x, second[i].velocity.x) << i;
        ASSERT_EQ(first[i].velocity.z, second[i].velocity.z) << i;
        ASSERT_EQ(first[i].position.x, second[i].position.x) << i;
        ASSERT_EQ(first[i].sprite, second[i].sprite) << i;
    }
}

}  // namespace
}  // namespace mareldon
