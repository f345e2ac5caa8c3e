#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "game/bosses/BossParts.h"

namespace mareldon {

// A pattern's fire timer: steps between bursts, steps between shots, shots per burst,
// bursts per firing.
struct BurstTimer {
    int32_t between;
    int32_t gap;
    int32_t shots;
    int32_t bursts;
};

// The steps after a restart on which the shots of the first `bursts` bursts fall: the
// first on step 1, a burst's shots max(gap, 1) apart, the next burst's first shot
// max(between, 1) + max(gap, 1) - 1 steps after the last one.
inline std::vector<int32_t> TimerSteps(int32_t between, int32_t gap, const std::vector<int32_t>& shots);
inline std::vector<int32_t> TimerSteps(const BurstTimer& timer, int32_t bursts) {
    return TimerSteps(timer.between, timer.gap, std::vector<int32_t>(size_t(bursts), timer.shots));
}

// The same for bursts whose shot counts differ, one count a burst.
inline std::vector<int32_t> TimerSteps(int32_t between, int32_t gap, const std::vector<int32_t>& shots) {
    std::vector<int32_t> steps;
    int32_t step = 1;
    for (int32_t count : shots) {
        for (int32_t s = 0; s < std::max(count, 1); ++s) {
            steps.push_back(step);
            step += std::max(gap, 1);
        }
        step += std::max(between, 1) - 1;
    }
    return steps;
}

// Restarts the pattern and steps until `bursts` bursts have fired (or `limit` steps);
// the steps (1 = the first after the restart) on which its shots fell. `firing` is the
// bursts the restart set.
inline std::vector<int32_t> ShotSteps(BossPattern* pattern, const std::function<void()>& step, int32_t bursts,
                                      int32_t* firing, int32_t limit = 4000) {
    pattern->Restart();
    *firing = pattern->GetBurstsLeft();
    const int32_t until = std::max(0, *firing - bursts);
    std::vector<int32_t> steps;
    for (int32_t i = 1; i <= limit && pattern->GetBurstsLeft() > until; ++i) {
        const int32_t shotsLeft = pattern->GetShotsLeft();
        const int32_t burstsLeft = pattern->GetBurstsLeft();
        step();
        if (pattern->GetShotsLeft() != shotsLeft || pattern->GetBurstsLeft() != burstsLeft)
            steps.push_back(i);
    }
    return steps;
}

// Checks a pattern's timer from the steps its shots fall on: the first three bursts
// (all of a shorter firing) and the bursts the restart set.
inline void ExpectTimer(BossPattern* pattern, const std::function<void()>& step, const BurstTimer& timer) {
    const int32_t bursts = std::min(timer.bursts, 3);
    int32_t firing = 0;
    const std::vector<int32_t> steps = ShotSteps(pattern, step, bursts, &firing);
    EXPECT_EQ(firing, timer.bursts);
    EXPECT_EQ(steps, TimerSteps(timer, bursts));
}

}  // namespace mareldon
