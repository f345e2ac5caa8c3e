#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "tests/game/bosses/Boss1Fixture.h"

namespace mareldon {

// A world without a boss, recording every enemy bullet asked for, and a mount under
// its world root for the patterns under test.
class FirePatternBench {
  public:
    FirePatternBench() : f(NoBossNodes) {
        EXPECT_TRUE(f.Start());
        mount = new Object3D(f.screen->GetWorldRoot(), 0);
    }

    // Restarts the pattern and steps through one whole firing (at most `limit` steps);
    // the bullets of each step that fired a shot.
    std::vector<int32_t> Run(BossPattern* pattern, int32_t limit = 3000) {
        pattern->Restart();
        std::vector<int32_t> perShot;
        for (int32_t i = 0; i < limit && pattern->GetBurstsLeft() > 0; ++i) {
            const size_t before = f.shots.size();
            const int32_t shotsLeft = pattern->GetShotsLeft();
            const int32_t burstsLeft = pattern->GetBurstsLeft();
            f.BossStep();
            if (pattern->GetShotsLeft() != shotsLeft || pattern->GetBurstsLeft() != burstsLeft ||
                f.shots.size() != before)
                perShot.push_back(int32_t(f.shots.size() - before));
        }
        return perShot;
    }
    // The shots of one step, from the first step that fires.
    std::vector<BossShot> NextVolley(int32_t limit = 200) {
        for (int32_t i = 0; i < limit; ++i) {
            const size_t before = f.shots.size();
            f.BossStep();
            if (f.shots.size() != before)
                return std::vector<BossShot>(f.shots.begin() + long(before), f.shots.end());
        }
        return {};
    }

    BossStageFixture f;
    Object3D* mount;
};

// atan2(z, x) of the velocity.
inline float ShotAngle(const BossShot& s) {
    return std::atan2(s.velocity.z, s.velocity.x);
}
// The difference of two angles in radians, folded into [-pi, pi].
inline float AngleGap(float a, float b) {
    return std::remainder(a - b, 6.2831855f);
}

}  // namespace mareldon
