#include "game/screens/TutorialGuide.h"

namespace mareldon {

namespace {

// Lever sprite by direction bits (up 1, down 2, left 4, right 8); opposite
// directions cancel, so their combinations show the neutral lever.
constexpr int32_t kLeverSprites[16] = {1, 6, 2, 1, 4, 5, 3, 1, 8, 7, 9, 1, 1, 1, 1, 1};
constexpr float kPageSeconds[TutorialGuide::kPages - 1] = {3.0f,  5.0f,  9.0f,  11.0f,
                                                           14.0f, 16.0f, 24.0f, 28.0f};

int32_t Light(int32_t light, const ButtonSet& in, uint32_t bit) {
    if ((in.pressed & bit) != 0)
        return TutorialGuide::kPressLight;
    if ((in.repeat & bit) != 0)
        return TutorialGuide::kRepeatLight;
    return light;
}

int32_t Fade(int32_t light, int32_t stepCount) {
    if (light <= 0)
        return light;
    light -= stepCount & 2;
    return light < 0 ? 0 : light;
}

}  // namespace

void TutorialGuide::Step(const ButtonSet& replayed, int32_t stepCount) {
    shotLight = Fade(Light(shotLight, replayed, kShot), stepCount);
    bombLight = Fade(Light(bombLight, replayed, kBomb), stepCount);
    lever = int32_t(replayed.held & 15u);
    for (int32_t i = 0; i < 15; ++i)
        leverFlags[i] = lever == i ? 1 : 0;
}

void TutorialGuide::AdvancePage(float stageSeconds) {
    if (page < kPages - 1 && stageSeconds >= kPageSeconds[page])
        ++page;
}

int32_t TutorialGuide::LeverSprite() const {
    for (int32_t i = 0; i < 15; ++i) {
        if (leverFlags[i])
            return kLeverSprites[i];
    }
    return 0;
}

int32_t TutorialGuide::ButtonFrame(int32_t light) {
    if (light < 5)
        return 1;
    return light < 10 ? 2 : 3;
}

int32_t TutorialGuide::ArrowPlace() const {
    if (page == 1 || page == 3 || page == 6)
        return 1;
    return page == 7 ? 2 : 0;
}

int32_t TutorialGuide::Topic() const {
    if (page == 1 || page == 2)
        return 1;
    if (page >= 3 && page <= 6)
        return 2;
    return page == 7 ? 3 : 0;
}

}  // namespace mareldon
