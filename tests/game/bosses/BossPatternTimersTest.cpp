#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/bosses/Boss1LayerParts.h"
#include "game/bosses/Boss1Weapons.h"
#include "game/bosses/Boss2Muzzles.h"
#include "game/bosses/Boss3Muzzles.h"
#include "game/bosses/Boss4Weapons.h"
#include "game/bosses/Boss5Muzzles.h"
#include "game/bosses/MultiPartEnemy.h"
#include "tests/game/bosses/Boss2Fixture.h"
#include "tests/game/bosses/Boss3Fixture.h"
#include "tests/game/bosses/Boss4Fixture.h"
#include "tests/game/bosses/Boss5Fixture.h"
#include "tests/game/bosses/BurstTimer.h"
#include "tests/game/bosses/FirePatternBench.h"

namespace mareldon {
namespace {

struct TimerRow {
    const char* name;
    BurstTimer timer;
};

// A timer written as the setters take it: the shot count value N fires N + 1 shots.
constexpr BurstTimer Set(int32_t between, int32_t gap, int32_t n, int32_t bursts) {
    return {between, gap, n + 1, bursts};
}
constexpr BurstTimer kSingle = {0, 0, 1, 1};

// One pattern of a muzzle: the node after "Null_JYUUKOU_", the pattern and its timer.
struct MuzzleRow {
    std::string node;
    int32_t pattern;
    BurstTimer timer;
};

// The muzzle of that node in the boss's model.
template <typename Muzzle>
Muzzle* MuzzleAt(BossStageFixture& f, const std::string& node) {
    const std::string name = "Null_JYUUKOU_" + node;
    for (Muzzle* muzzle : f.Find<Muzzle>()) {
        if (muzzle->name.Equals(name.c_str()))
            return muzzle;
    }
    return nullptr;
}

// Each row's pattern as its muzzle in the boss's model built it, fired from a restart;
// the fights start thousands of frames later, so nothing else switches them meanwhile.
template <typename Muzzle>
void ExpectMuzzleTimers(BossStageFixture& f, const std::vector<MuzzleRow>& rows) {
    f.screen->SetTimeLimitEnabled(false);
    // The world's first step runs no stage object.
    f.BossStep();
    for (const MuzzleRow& row : rows) {
        SCOPED_TRACE(row.node + " " + std::to_string(row.pattern));
        Muzzle* muzzle = MuzzleAt<Muzzle>(f, row.node);
        ASSERT_NE(muzzle, nullptr);
        BossPattern* pattern = muzzle->Pattern(row.pattern);
        ASSERT_NE(pattern, nullptr);
        ExpectTimer(
            pattern, [&] { f.BossStep(); }, row.timer);
        pattern->SetFiring(false);
    }
}

// Every pattern of the stage-1 boss: the wing roots' seven and twin cannon, the kirai
// cover's three, the turrets' five and three (layer 5's turret where it differs).
TEST(BossPatternTimers, Stage1Boss) {
    const TimerRow wingRows[] = {
        {"wing 0", {60, 5, 13, 1}}, {"wing 1", {10, 0, 1, 4}}, {"wing 2", {20, 3, 9, 2}},
        {"wing 3", {0, 3, 51, 1}},  {"wing 4", {0, 30, 3, 1}}, {"wing 5", {0, 20, 2, 1}},
        {"wing 6", {0, 3, 9, 1}},
    };
    const TimerRow cannonRow = {"twin cannon", {20, 3, 17, 1}};
    const TimerRow kiraiRows[] = {
        {"kirai 0", {0, 4, 61, 1}}, {"kirai 1", {0, 4, 61, 1}}, {"kirai 2", {0, 30, 3, 1}}};
    const TimerRow houdaiBRows[] = {
        {"houdai_B 0", {30, 0, 1, 9999}}, {"houdai_B 1", {60, 2, 16, 9999}}, {"houdai_B 2", {10, 4, 6, 4}},
        {"houdai_B 3", {10, 4, 6, 4}},    {"houdai_B 4", {0, 1, 121, 1}},
    };
    const TimerRow houdaiSRows[] = {
        {"houdai_S 0", {0, 2, 9, 1}}, {"houdai_S 1", {20, 2, 7, 3}}, {"houdai_S 2", {0, 1, 121, 1}}};
    const TimerRow houdaiS2Rows[] = {{"layer 5 houdai_S 0", {0, 2, 9, 1}},
                                     {"layer 5 houdai_S 1", {0, 2, 7, 1}},
                                     {"layer 5 houdai_S 2", {0, 1, 121, 1}}};

    // The wing roots' patterns as the boss builds them; its fight starts long after.
    {
        BossStageFixture f;
        ASSERT_TRUE(f.Start());
        f.screen->SetTimeLimitEnabled(false);
        const auto step = [&] { f.BossStep(); };
        f.BossStep();
        const std::vector<Boss1WingRoot*> roots = f.Find<Boss1WingRoot>();
        ASSERT_EQ(roots.size(), 2u);
        for (Boss1WingRoot* root : roots) {
            for (int32_t i = 0; i < Boss1WingRoot::kPatternCount; ++i) {
                SCOPED_TRACE(wingRows[i].name);
                ExpectTimer(root->patterns[i], step, wingRows[i].timer);
            }
            ASSERT_NE(root->cannon, nullptr);
            SCOPED_TRACE(cannonRow.name);
            ExpectTimer(root->cannon->Pattern(0), step, cannonRow.timer);
        }
    }
    // The weapon models on a mount of their own.
    struct Holder {
        std::function<BossWeaponModel*(Object3D*, GameWorldScreen*)> make;
        const TimerRow* rows;
        int32_t count;
    };
    const Holder holders[] = {
        {[](Object3D* m, GameWorldScreen* s) { return new Boss1KiraiCover(m, s); }, kiraiRows, 3},
        {[](Object3D* m, GameWorldScreen* s) { return new Boss1HoudaiB(m, s); }, houdaiBRows, 5},
        {[](Object3D* m, GameWorldScreen* s) { return new Boss1HoudaiS(m, s); }, houdaiSRows, 3},
        {[](Object3D* m, GameWorldScreen* s) { return new Boss1HoudaiS2(m, s); }, houdaiS2Rows, 3},
    };
    for (const Holder& holder : holders) {
        for (int32_t i = 0; i < holder.count; ++i) {
            SCOPED_TRACE(holder.rows[i].name);
            FirePatternBench bench;
            bench.f.screen->SetTimeLimitEnabled(false);
            BossWeaponModel* model = holder.make(bench.mount, bench.f.screen);
            bench.f.BossStep();
            ExpectTimer(
                model->Pattern(i), [&] { bench.f.BossStep(); }, holder.rows[i].timer);
        }
    }
}

TEST(BossPatternTimers, Stage2Boss) {
    std::vector<MuzzleRow> rows;
    for (const char* unit : {"Runit1", "Lunit1"}) {
        for (const MuzzleRow& row : {MuzzleRow{unit, 0, {0, 3, 13, 1}}, MuzzleRow{unit, 1, kSingle},
                                     MuzzleRow{unit, 2, {0, 3, 17, 1}}, MuzzleRow{unit, 3, {30, 0, 1, 2}},
                                     MuzzleRow{unit, 4, {0, 4, 21, 1}}, MuzzleRow{unit, 5, {0, 3, 33, 1}}})
            rows.push_back(row);
    }
    for (const char* unit : {"Runit2", "Lunit2"}) {
        rows.push_back({unit, 0, {0, 3, 7, 1}});
        rows.push_back({unit, 1, {30, 5, 6, 8}});
        rows.push_back({unit, 2, {10, 5, 7, 60}});
    }
    const MuzzleRow centres[] = {
        {"center0", 0, kSingle},        {"center0", 1, kSingle},        {"center0", 2, {0, 3, 17, 2}},
        {"center0", 3, {0, 6, 13, 4}},  {"center0", 4, {0, 3, 17, 2}},  {"center0", 5, {0, 3, 17, 2}},
        {"center0", 6, kSingle},        {"center0", 7, {0, 60, 4, 1}},  {"center1", 0, kSingle},
        {"center1", 1, {15, 0, 1, 20}}, {"center1", 2, {120, 2, 5, 5}}, {"center1", 3, {0, 3, 121, 1}},
        {"center1", 4, {0, 3, 121, 1}},
    };
    rows.insert(rows.end(), std::begin(centres), std::end(centres));
    for (const char* revolver : {"revolver0", "revolver1", "revolver4", "revolver5"}) {
        const bool four = std::string(revolver) == "revolver1" || std::string(revolver) == "revolver5";
        rows.push_back({revolver, 0, {0, 4, 11, 1}});
        rows.push_back({revolver, 1, {0, 4, 11, 1}});
        if (four)
            rows.push_back({revolver, 2, {20, 0, 1, 12}});
        rows.push_back({revolver, four ? 3 : 2, {0, 4, 5, 1}});
    }
    for (const char* revolver : {"revolver2", "revolver3"}) {
        rows.push_back({revolver, 0, {0, 3, 5, 1}});
        rows.push_back({revolver, 1, {0, 3, 9, 1}});
    }
    ASSERT_EQ(rows.size(), 49u);
    Boss2StageFixture f;
    ASSERT_TRUE(f.Start());
    ExpectMuzzleTimers<Boss2Muzzle>(f, rows);
}

TEST(BossPatternTimers, Stage3Boss) {
    std::vector<MuzzleRow> rows;
    for (const char* side : {"kasaL", "kasaR"}) {
        for (int n = 1; n <= 12; ++n) {
            const std::string kasa = side + std::to_string(n);
            rows.push_back({kasa, 0, Set(0, 3, 3, 1)});
            rows.push_back({kasa, 1, Set(0, 1, 8, 1)});
        }
    }
    for (const char* centre : {"kasaLcenter", "kasaRcenter"}) {
        for (const MuzzleRow& row :
             {MuzzleRow{centre, 0, Set(10, 0, 0, 99999)}, MuzzleRow{centre, 1, Set(14, 0, 0, 99999)},
              MuzzleRow{centre, 2, Set(0, 2, 36, 1)}, MuzzleRow{centre, 3, Set(30, 6, 2, 7)},
              MuzzleRow{centre, 5, Set(10, 3, 8, 2)}, MuzzleRow{centre, 6, Set(0, 12, 12, 1)},
              MuzzleRow{centre, 7, Set(0, 0, 0, 1)}})
            rows.push_back(row);
    }
    rows.push_back({"meC", 0, Set(0, 3, 6, 1)});
    rows.push_back({"meL", 0, Set(10, 2, 4, 28)});
    rows.push_back({"meR", 0, Set(10, 2, 4, 28)});
    for (const char* unit : {"side_unitL", "side_unitR"}) {
        rows.push_back({unit, 0, Set(0, 4, 150, 1)});
        rows.push_back({unit, 1, Set(0, 4, 30, 1)});
    }
    Boss3StageFixture f;
    ASSERT_TRUE(f.Start());
    ExpectMuzzleTimers<Boss3Muzzle>(f, rows);

    // The patterns whose shot interval falls as they fire: kasa pattern 2 (50, then one
    // less after each shot) and centre patterns 4 and 8 (6, one less after each shot
    // whose shots left are a multiple of 10).
    auto stepsOf = [](int32_t interval, int32_t shots, bool everyShot) {
        std::vector<int32_t> steps;
        int32_t step = 1;
        for (int32_t left = shots - 1; left >= 0; --left) {
            steps.push_back(step);
            step += std::max(interval, 1);
            if (everyShot || left % 10 == 0)
                --interval;
        }
        return steps;
    };
    struct Falling {
        const char* node;
        int32_t pattern;
        std::vector<int32_t> steps;
    };
    const Falling falling[] = {
        {"kasaL2", 2, stepsOf(50, 9, true)},       {"kasaR7", 2, stepsOf(50, 9, true)},
        {"kasaLcenter", 4, stepsOf(6, 61, false)}, {"kasaRcenter", 4, stepsOf(6, 61, false)},
        {"kasaLcenter", 8, stepsOf(6, 61, false)}, {"kasaRcenter", 8, stepsOf(6, 61, false)},
    };
    for (const Falling& row : falling) {
        SCOPED_TRACE(std::string(row.node) + " " + std::to_string(row.pattern));
        Boss3Muzzle* muzzle = MuzzleAt<Boss3Muzzle>(f, row.node);
        ASSERT_NE(muzzle, nullptr);
        int32_t firing = 0;
        EXPECT_EQ(ShotSteps(
                      muzzle->Pattern(row.pattern), [&] { f.BossStep(); }, 1, &firing),
                  row.steps);
        EXPECT_EQ(firing, 1);
    }
}

TEST(BossPatternTimers, Stage4Boss) {
    std::vector<MuzzleRow> rows = {
        {"medarion", 0, Set(0, 15, 40, 1)},     {"medarion", 1, Set(30, 30, 2, 6)},
        {"medarion", 2, Set(90, 3, 8, 6)},      {"medarion", 3, Set(30, 8, 2, 8)},
        {"medarion2", 0, Set(20, 8, 3, 6)},     {"medarion2", 1, Set(0, 8, 16, 1)},
        {"medarion2", 2, Set(0, 1, 240, 1)},    {"doguu_ue", 0, Set(120, 30, 2, 2)},
        {"doguu_shita", 0, Set(120, 30, 2, 2)},
    };
    for (const char* hebi :
         {"hebi_Rue", "hebi_Rnaka", "hebi_Rshita", "hebi_Lue", "hebi_Lnaka", "hebi_Lshita"}) {
        rows.push_back({hebi, 0, Set(10, 0, 0, 6)});
        rows.push_back({hebi, 1, Set(0, 2, 18, 1)});
    }
    rows.push_back({"hebi_Rue", 2, Set(0, 1, 4, 160)});
    rows.push_back({"hebi_Lue", 2, Set(0, 1, 4, 160)});
    for (const char* eye : {"U_meR2", "U_meL2"}) {
        for (const MuzzleRow& row :
             {MuzzleRow{eye, 1, Set(20, 1, 8, 28)}, MuzzleRow{eye, 2, Set(0, 2, 24, 1)},
              MuzzleRow{eye, 3, Set(5, 0, 1, 12)}, MuzzleRow{eye, 4, Set(0, 4, 3, 1)},
              MuzzleRow{eye, 5, Set(0, 0, 0, 1)}, MuzzleRow{eye, 6, Set(0, 4, 3, 1)}})
            rows.push_back(row);
    }
    Boss4Fixture f;
    ASSERT_TRUE(f.Start());
    ExpectMuzzleTimers<Boss4Muzzle>(f, rows);

    // The eyes' aimed pairs, (30, 1, 1, 5) and (30, 1, 1000, 5): each burst start sets its
    // own count by the bursts left, 5: 70, 4: 85, 3: 165 (71, 86 and 166 shots).
    for (const char* eye : {"U_meR2", "U_meL2"}) {
        SCOPED_TRACE(eye);
        Boss4Muzzle* muzzle = MuzzleAt<Boss4Muzzle>(f, eye);
        ASSERT_NE(muzzle, nullptr);
        int32_t firing = 0;
        EXPECT_EQ(ShotSteps(
                      muzzle->Pattern(0), [&] { f.BossStep(); }, 3, &firing),
                  TimerSteps(30, 1, {71, 86, 166}));
        EXPECT_EQ(firing, 5);
    }
}

TEST(BossPatternTimers, Stage5Boss) {
    std::vector<MuzzleRow> rows = {
        {"medarion_5BOSS", 0, Set(30, 0, 0, 16)}, {"medarion_5BOSS", 1, Set(0, 1, 30, 1)},
        {"medarion_5BOSS", 2, Set(20, 8, 1, 14)}, {"medarion_5BOSS", 3, Set(0, 1, 240, 1)},
        {"medarion_5BOSS", 4, Set(60, 0, 0, 6)},  {"medarion_5BOSS", 5, Set(60, 0, 0, 6)},
        {"medarion_5BOSS", 6, Set(0, 0, 0, 1)},   {"chusin1", 0, Set(0, 3, 128, 1)},
        {"chusin1", 1, Set(0, 3, 128, 1)},        {"chusin1", 2, Set(30, 0, 0, 12)},
        {"chusin1", 3, Set(0, 1, 240, 1)},        {"chusin1", 4, Set(10, 0, 0, 56)},
        {"chusin1", 5, Set(10, 0, 0, 56)},        {"chusin1", 6, Set(30, 4, 4, 8)},
        {"chusin1", 7, Set(0, 4, 3, 1)},          {"chusin1", 8, Set(0, 4, 3, 1)},
        {"chusin1", 9, Set(5, 0, 1, 11)},         {"chusin1", 10, Set(0, 2, 128, 1)},
        {"chusin1", 11, Set(10, 30, 1, 4)},
    };
    for (const char* ring :
         {"U_cyuou", "R_cyuou", "L_cyuou", "15_18_inazuma", "16_19_inazuma", "17_20_inazuma"}) {
        rows.push_back({ring, 0, Set(0, 3, 256, 1)});
        rows.push_back({ring, 1, Set(0, 3, 10, 1)});
        rows.push_back({ring, 2, Set(0, 3, 10, 1)});
        rows.push_back({ring, 3, Set(0, 2, 320, 1)});
    }
    Boss5StageFixture f;
    ASSERT_TRUE(f.Start());
    ExpectMuzzleTimers<Boss5Muzzle>(f, rows);
}

// The stage-6 boss's fourteen gun classes: shots per volley, frames between shots, pause,
// volleys and initial delay (the gun defaults 1, 2, 30, -1, 0 where a class keeps them),
// and the speed and angle a class sets when it is built.
TEST(BossPatternTimers, Stage6Boss) {
    struct Gun {
        int32_t shots, between, pause, volleys, delay;
        float speed, angle;
    };
    const float x = -1.0f;  // not set at construction
    const Gun guns[MultiPartGun::kClassCount] = {
        {6, 2, 10, 10, 0, x, x},
        {20, 2, 20, 5, 0, x, 0.0f},
        {12, 1, 5, 14, 0, 0.15f, x},
        {12, 1, 5, 14, 0, 0.15f, x},
        {6, 2, 10, 14, 0, 0.15f, 0.0f},
        {8, 3, 50, 10, 0, x, x},
        {5, 100, 10, 1, 10, x, 4.712389f},
        {100, 0, 60, 10, 0, 0.1f, 4.712389f},
        {100, 0, 60, 10, 0, 0.1f, 4.712389f},
        {1, 0, 100, 5, 0, 0.02f, 4.712389f},
        {30, 1, 30, 10, 0, x, x},
        {10, 2, 0, 20, 0, x, x},
        {5, 2, 10, 18, 10, x, 4.712389f},
        {5, 2, 10, 18, 10, x, 4.712389f},
    };
    BossStageFixture f{[](StageModelBuilder&) { return std::vector<MbdWriter::Node>{}; },
                       [](MbdWriter&, StageModelBuilder&) {}};
    ASSERT_TRUE(f.Start());
    auto* boss = new MultiPartEnemy(f.screen->GetWorldRoot());
    boss->world = f.screen;
    for (int32_t k = 1; k <= MultiPartGun::kClassCount; ++k) {
        SCOPED_TRACE(k);
        const Gun& row = guns[k - 1];
        auto* gun = new MultiPartGun(boss, f.screen, k);
        EXPECT_EQ(gun->ShotsPerVolley(), row.shots);
        EXPECT_EQ(gun->FramesBetweenShots(), row.between);
        EXPECT_EQ(gun->PauseBetweenVolleys(), row.pause);
        EXPECT_EQ(gun->VolleyCount(), row.volleys);
        EXPECT_EQ(gun->InitialDelay(), row.delay);
        if (row.speed != x) {
            EXPECT_EQ(gun->storedSpeed, row.speed);
        }
        if (row.angle != x) {
            EXPECT_EQ(gun->storedAngle, row.angle);
        }
        EXPECT_EQ(gun->counter, 0);
    }
    // Class 2 turns 0.03490659 a step to begin with.
    EXPECT_EQ((new MultiPartGun(boss, f.screen, 2))->second, 0.03490659f);
}

}  // namespace
}  // namespace mareldon
