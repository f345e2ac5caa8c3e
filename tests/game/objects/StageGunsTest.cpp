#include "game/objects/StageGuns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/objects/GunPart.h"
#include "tests/game/objects/GunStageFixture.h"

namespace mareldon {
namespace {

struct GunCase {
    const char* name;
    // Guns the node gets on stages 1, 2 and 4.
    int32_t built[3];
    // Active steps of the first and second shot that fired bullets (0: never within
    // the run); `late` allows the first that much later.
    int32_t first;
    int32_t second;
    // Bullets of the first shot (with `late`, at least 1 each).
    int32_t bullets;
    // The kinds of the first shot's bullets.
    std::set<int32_t> kinds;
    // Sizes all 1.0, or each drawn within [0.8, 1.2).
    bool unitSize = true;
    int32_t late = 0;
};

// Built from the volley numbers: the first bullet leaves on active step
// delay + pause + gap + 2, the next gap + 1 later within a volley, or
// 2 x gap + 2 + pause later after a one-shot volley.
const GunCase kCases[] = {
    {"BS_t_battery", {1, 1, 1}, 102, 254, 1, {13}},
    {"BS_ONION_CENTER", {1, 1, 1}, 14, 17, 3, {14}},
    {"BS_ONION1", {1, 1, 1}, 36, 41, 3, {15}},
    {"BS_ONION_1", {1, 1, 1}, 36, 41, 3, {15}},
    {"BS_ONION2", {1, 1, 1}, 42, 63, 1, {16}},
    {"BS_ONION_2", {1, 1, 1}, 42, 63, 1, {16}},
    {"BS_EG_SENYOU", {1, 1, 1}, 43, 45, 2, {12}},
    {"BS_MG01TANKB", {1, 1, 1}, 33, 35, 2, {10}},
    {"BS_YOKONAGA", {1, 1, 1}, 102, 254, 1, {10}},
    {"BS_BIGTANK_R", {1, 1, 1}, 102, 254, 1, {10}},
    {"BS_BIGTANK_L", {1, 1, 1}, 102, 254, 1, {10}},
    {"BS_TANK_KAITEN_CENTER", {1, 1, 1}, 102, 254, 1, {10}},
    {"BS_LARGEWING_L", {1, 1, 1}, 102, 254, 1, {10}},
    {"BS_LARGEWING_R", {1, 1, 1}, 102, 254, 1, {10}},
    {"BS_LARGEWING_CENTER", {1, 1, 1}, 102, 254, 1, {10}},
    {"BS_TULIP", {1, 1, 1}, 102, 254, 1, {10}},
    {"BS_LARGEBATTERY", {1, 1, 1}, 107, 113, 1, {11}},
    {"BS_MG05TANK_A", {1, 1, 1}, 84, 170, 3, {10}},
    {"BS_MG05TANK_B_R", {1, 1, 1}, 84, 170, 3, {10}},
    {"BS_MG05TANK_B_L", {1, 1, 1}, 84, 170, 3, {10}},
    // The spray fires while its counter AND 12 is 8: from its fourth shot.
    {"BS_MIDWING_L2", {1, 1, 1}, 65, 66, 1, {10}},
    {"BS_MIDWING_R2", {1, 1, 1}, 65, 66, 1, {10}},
    {"BS_MIDWING_REAR", {1, 1, 1}, 203, 205, 3, {24}},
    {"BS_TORISAN", {1, 1, 1}, 34, 36, 5, {10, 11, 40}},
    {"BS_TORISANBEAM", {2, 2, 2}, 26, 28, 3, {10}},
    {"BS_TORILASER", {1, 1, 1}, 33, 35, 1, {26}},
    // The five-way half fires first: the aimed one waits for its counter's bits 5-6.
    {"BS_KANKYO_LU", {2, 2, 2}, 57, 79, 5, {10}},
    {"BS_KANKYO_LD", {2, 2, 2}, 57, 79, 5, {10}},
    {"BS_KANKYO_RU", {2, 2, 2}, 57, 79, 5, {10}},
    {"BS_KANKYO_RD", {2, 2, 2}, 57, 79, 5, {10}},
    {"BS_HEAVYTANK_CENTER", {1, 1, 1}, 103, 105, 6, {0}, false},
    {"BS_HEAVYTANK_R", {1, 1, 1}, 54, 57, 3, {24}},
    {"BS_HEAVYTANK_L", {1, 1, 1}, 54, 57, 3, {24}},
    {"BS_HEAVYTANK_CIRCLE", {1, 1, 1}, 37, 43, 1, {0}},
    {"BS_MAINBASE_EYE", {2, 2, 2}, 40, 44, 12, {0}},
    {"BS_HOVER_R", {1, 1, 1}, 224, 227, 3, {16, 30}},
    {"BS_HOVER_L", {1, 1, 1}, 224, 227, 3, {16, 30}},
    {"BS_HOVER_FRONT", {1, 1, 1}, 224, 227, 3, {11, 30}},
    {"BS_HOVER_R2", {1, 1, 1}, 0, 0, 0, {}},
    {"BS_HOVER_L2", {1, 1, 1}, 0, 0, 0, {}},
    {"BS_HOVER_FRONT2", {1, 1, 1}, 0, 0, 0, {}},
    {"BS_HOVER_R3", {1, 1, 1}, 75, 79, 3, {16}},
    {"BS_HOVER_L3", {1, 1, 1}, 75, 79, 3, {16}},
    {"BS_HOVER_FRONT3", {1, 1, 1}, 55, 59, 1, {16}},
    {"BS_HIKOUSEN_CENTER", {1, 1, 1}, 54, 57, 1, {22}},
    {"BS_HIKOUSEN_R", {1, 1, 1}, 53, 55, 1, {22}},
    {"BS_HIKOUSEN_L", {1, 1, 1}, 53, 55, 1, {22}},
    {"BS_COVER_R", {2, 2, 2}, 46, 51, 2, {10, 11}},
    {"BS_COVER_L", {2, 2, 2}, 46, 51, 2, {10, 11}},
    {"BS_KUUCYUUHOU", {2, 2, 2}, 66, 71, 1, {13}},
    // Difficulty 3: the pause of 50.
    {"BS_TUTU_R", {1, 1, 1}, 57, 63, 3, {30}},
    {"BS_TUTU_L", {1, 1, 1}, 57, 63, 3, {30}},
    {"BS_MAC_C", {1, 1, 1}, 52, 53, 1, {22}},
    {"BS_MAC_RO", {1, 1, 1}, 34, 47, 3, {0}},
    {"BS_MAC_LO", {1, 1, 1}, 34, 47, 3, {0}},
    {"BS_MAC_RI", {1, 1, 1}, 133, 135, 2, {22}},
    {"BS_MAC_LI", {1, 1, 1}, 133, 135, 2, {22}},
    {"BS_ISLAND_C", {1, 1, 1}, 75, 79, 4, {10}},
    {"BS_LENSHOUDAI_NORMAL", {1, 1, 1}, 73, 75, 2, {10, 11}},
    // Five to nine bullets by the gun's own generator: its first draw gives the count.
    {"BS_UKISHIMA_C", {1, 1, 1}, 54, 57, -1, {6}},
    // The spray skips the steps whose frame has bit 2 set.
    {"BS_FUYUUHOU_0", {1, 1, 1}, 82, 0, 1, {10}, false, 4},
    {"BS_FUYUUHOU_1", {1, 1, 1}, 82, 0, 1, {10}, false, 4},
    {"BS_FUYUUHOU_2", {1, 1, 1}, 82, 0, 1, {10}, false, 4},
    {"BS_FUYUUHOU_3", {1, 1, 1}, 82, 0, 1, {10}, false, 4},
    {"BS_FUYUUHOU_CENTER", {1, 1, 1}, 212, 224, 1, {11}},
    // The sweeping fan first: k = 12 gives five bullets, then the aimed one.
    {"BS_NAMAZU", {3, 3, 3}, 54, 57, 6, {}, false},
    {"BS_OINU_R0", {1, 1, 1}, 23, 47, 1, {10}},
    {"BS_OINU_R1", {1, 1, 1}, 23, 25, 1, {10}},
    {"BS_OINU_L3", {1, 1, 1}, 23, 25, 1, {10}},
    {"BS_NOZULE", {1, 1, 1}, 55, 59, 20, {24, 26}},
    {"BS_NEKO_C", {1, 1, 1}, 52, 53, 1, {16}},
    {"BS_NEKO_RO", {1, 1, 1}, 32, 43, 3, {10}},
    {"BS_NEKO_LO", {1, 1, 1}, 32, 43, 3, {10}},
    {"BS_NEKO_RI", {1, 1, 1}, 133, 135, 2, {26}},
    {"BS_NEKO_LI", {1, 1, 1}, 133, 135, 2, {26}},
    {"BS_MIDBOSS03_R", {1, 1, 1}, 54, 57, 1, {0}},
    {"BS_MIDBOSS03_L", {1, 1, 1}, 54, 57, 1, {0}},
    // The scattering gun first; its sprite is 10 or 37 by a draw.
    {"BS_MIDBOSS03_CENTER", {3, 3, 3}, 63, 65, 1, {}, false},
    // By the stage played; their rhythms are the stage rows below.
    {"BS_MG01TANK_L", {1, 1, 1}, 0, 0, 0, {}},
    {"BS_MG01TANK_R", {1, 1, 1}, 0, 0, 0, {}},
    {"BS_HENKEIHOU_DOWN_L", {1, 1, 1}, 55, 59, 1, {24}},
    {"BS_HENKEIHOU_DOWN_R", {1, 1, 1}, 55, 59, 1, {24}},
    {"BS_MIDWING_R", {1, 1, 0}, 63, 65, 9, {0, 1}},
    {"BS_MIDWING_L", {1, 1, 0}, 63, 65, 9, {0, 1}},
    {"BS_MIDWING_R3", {0, 1, 0}, 256, 259, 1, {30}},
    {"BS_MIDWING_L3", {0, 1, 0}, 224, 227, 1, {30}},
};

// The stage-dependent rows of the stage-1 class: shots of the first 320 active steps.
struct StageRow {
    const char* name;
    int32_t stage;
    int32_t first;
    int32_t second;
    int32_t bullets;
    int32_t volleyShots;
};
const StageRow kStageRows[] = {
    {"BS_MG01TANK_L", 1, 122, 304, 1, 1},      {"BS_MG01TANK_L", 2, 62, 154, 3, 1},
    {"BS_MG01TANK_R", 4, 62, 154, 3, 1},       {"BS_HENKEIHOU_DOWN_L", 1, 55, 59, 1, 5},
    {"BS_HENKEIHOU_DOWN_R", 2, 55, 59, 1, 20},
};

std::vector<std::string> AllNames() {
    std::vector<std::string> names;
    for (const GunCase& c : kCases)
        names.push_back(c.name);
    return names;
}

class StageGunsTest : public ::testing::TestWithParam<int32_t> {};

TEST_P(StageGunsTest, EveryGunNodeFiresItsRhythmBulletsAndKinds) {
    const int32_t stage = GetParam();
    const int32_t column = stage == 1 ? 0 : stage == 2 ? 1 : 2;
    GunStageFixture f(AllNames());
    ASSERT_TRUE(f.StartAtStage(stage));
    const int32_t base = f.StepToFirstActiveStep("BS_TULIP");
    ASSERT_GT(base, 0);
    f.log.Clear();
    for (int i = 0; i < 320; ++i)
        f.Step();
    const auto shots = ShotsByGun(f.log);
    std::map<std::string, int32_t> built;
    for (GunPart* gun : f.Find<GunPart>())
        built[gun->name.Text()] += 1;

    for (const GunCase& c : kCases) {
        SCOPED_TRACE(std::string(c.name) + " on stage " + std::to_string(stage));
        EXPECT_EQ(built[c.name], c.built[column]);
        if (c.built[column] == 0 || c.first == 0) {
            const bool byStage =
                std::any_of(std::begin(kStageRows), std::end(kStageRows),
                            [&](const StageRow& row) { return std::string(row.name) == c.name; });
            if (c.first == 0 && !byStage) {
                EXPECT_EQ(shots.count(c.name), 0u) << "fires nothing";
            }
            continue;
        }
        auto it = shots.find(c.name);
        ASSERT_NE(it, shots.end()) << "never fired";
        const std::vector<Shot>& list = it->second;
        const int32_t first = list.front().step - base + 1;
        EXPECT_GE(first, c.first);
        EXPECT_LE(first, c.first + c.late);
        std::vector<Shot> firstShot;
        int32_t second = 0;
        for (const Shot& s : list) {
            if (s.step == list.front().step)
                firstShot.push_back(s);
            else if (second == 0)
                second = s.step - base + 1;
        }
        if (c.second != 0) {
            EXPECT_EQ(second, c.second) << "the rhythm";
        }
        if (c.bullets > 0)
            EXPECT_EQ(int32_t(firstShot.size()), c.bullets);
        else
            EXPECT_TRUE(firstShot.size() >= 5 && firstShot.size() <= 9) << firstShot.size();
        std::set<int32_t> kinds;
        for (const Shot& s : firstShot) {
            kinds.insert(s.kind);
            if (c.unitSize)
                EXPECT_EQ(s.size, 1.0f);
            else
                EXPECT_TRUE(s.size >= 0.8f && s.size <= 1.2f) << s.size;
        }
        if (!c.kinds.empty()) {
            EXPECT_EQ(kinds, c.kinds);
        }
    }

    for (const StageRow& row : kStageRows) {
        if (row.stage != stage)
            continue;
        SCOPED_TRACE(row.name);
        const std::vector<Shot>& list = shots.at(row.name);
        std::vector<int32_t> steps;
        for (const Shot& s : list) {
            if (steps.empty() || steps.back() != s.step - base + 1)
                steps.push_back(s.step - base + 1);
        }
        ASSERT_GE(steps.size(), 2u);
        EXPECT_EQ(steps[0], row.first);
        EXPECT_EQ(steps[1], row.second);
        EXPECT_EQ(std::count_if(list.begin(), list.end(),
                                [&](const Shot& s) { return s.step == list.front().step; }),
                  row.bullets);
        // Shots of the first volley: gap 3, so one every 4 steps until the pause.
        int32_t volley = 1;
        while (size_t(volley) < steps.size() && steps[size_t(volley)] - steps[size_t(volley) - 1] == 4)
            ++volley;
        if (row.volleyShots > 1) {
            EXPECT_EQ(volley, row.volleyShots);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Stages, StageGunsTest, ::testing::Values(1, 2, 4));

TEST(StageGunsWorldDrawTest, OnlyTheLooseForwardGunsDrawTheWorldGeneratorPerShot) {
    GunStageFixture f(AllNames());
    ASSERT_TRUE(f.StartAtStage(2));
    f.Step();
    for (GunPart* gun : f.Find<GunPart>()) {
        const std::string name = gun->name.Text();
        Random& random = f.screen->GetRandom();
        const uint32_t before = random.state;
        const float speed = gun->BulletSpeed();
        const float angle = gun->AngleToPlayer();
        gun->FireBullet(gun->GetWorldPosition(), angle, speed);
        gun->OnShotFired();
        Random replay;
        replay.state = before;
        int32_t draws = 0;
        while (replay.state != random.state && draws < 100) {
            replay.Next();
            ++draws;
        }
        const int32_t expected = (name == "BS_MAC_C" || name == "BS_NEKO_C") ? 2 : 0;
        EXPECT_EQ(draws, expected) << name;
    }
}

TEST(StageGunsRegistryTest, EveryGunNameIsTakenOnceAndTheTrainsAreLeftOut) {
    StageNodeRegistry registry;
    RegisterStageObjects(registry);
    EXPECT_EQ(registry.RefusedCount(), 0);
    for (const GunCase& c : kCases)
        EXPECT_NE(registry.Find(StageNodeRegistry::Kind::kFrame, c.name), nullptr) << c.name;
    for (const char* name : {"BS_OINU_R2", "BS_OINU_R3", "BS_OINU_L0", "BS_OINU_L1", "BS_OINU_L2"})
        EXPECT_NE(registry.Find(StageNodeRegistry::Kind::kFrame, name), nullptr) << name;
    // The train's guns come with the train, not with these.
    StageNodeRegistry guns;
    RegisterStageGuns(guns);
    for (const char* name :
         {"BS_RAIL_CARGO", "BS_RAIL_LOCOMOTIVE", "BS_METAL_A_HOUTOU", "BS_RAIL_METAL_B_LAUNCHER"}) {
        EXPECT_EQ(guns.Find(StageNodeRegistry::Kind::kFrame, name), nullptr) << name;
        EXPECT_NE(registry.Find(StageNodeRegistry::Kind::kFrame, name), nullptr) << name;
    }
}

}  // namespace
}  // namespace mareldon
