// The tutorial overlay's lever, lights and pages.
#include <gtest/gtest.h>

#include "game/screens/TutorialGuide.h"

namespace mareldon {
namespace {

ButtonSet Held(uint32_t bits) {
    return ButtonSet{bits, 0, 0, 0};
}

TEST(TutorialGuideTest, LeverShowsTheHeldDirection) {
    // Direction bits: up 1, down 2, left 4, right 8; opposites cancel to neutral.
    const struct {
        uint32_t held;
        int sprite;
    } cases[] = {{0, 1}, {1, 6}, {2, 2},  {3, 1},  {4, 4},  {5, 5},  {6, 3},  {7, 1},
                 {8, 8}, {9, 7}, {10, 9}, {11, 1}, {12, 1}, {14, 1}, {15, 0}, {0x40 | 9, 7}};
    for (const auto& c : cases) {
        TutorialGuide guide;
        guide.Step(Held(c.held), 0);
        EXPECT_EQ(guide.LeverSprite(), c.sprite) << c.held;
    }
}

TEST(TutorialGuideTest, ButtonLightsOnPressAndRepeatThenFade) {
    TutorialGuide guide;
    guide.Step(ButtonSet{0x40, 0x40, 0x40, 0}, 1);
    EXPECT_EQ(guide.shotLight, 15);
    EXPECT_EQ(TutorialGuide::ButtonFrame(guide.shotLight), 3);
    EXPECT_EQ(guide.bombLight, 0);
    // Steps whose count has bit 1 take 2 off: 15, 13, 13, 11, 11, 9 ...
    int frames[12];
    for (int s = 2; s < 14; ++s) {
        guide.Step(ButtonSet{}, s);
        frames[s - 2] = TutorialGuide::ButtonFrame(guide.shotLight);
    }
    EXPECT_EQ(guide.shotLight, 3);
    EXPECT_EQ(frames[0], 3);
    EXPECT_EQ(frames[5], 2);
    EXPECT_EQ(frames[11], 1);
    for (int s = 14; s < 20; ++s)
        guide.Step(ButtonSet{}, s);
    EXPECT_EQ(guide.shotLight, 0) << "never below 0";
    // A repeating bomb button holds it long.
    guide.Step(ButtonSet{0x80, 0, 0x80, 0}, 0);
    EXPECT_EQ(guide.bombLight, 100);
    guide.Step(ButtonSet{0x80, 0, 0x80, 0}, 2);
    EXPECT_EQ(guide.bombLight, 98);
}

TEST(TutorialGuideTest, PagesFollowTheStageClockUpToTheLast) {
    TutorialGuide guide;
    const struct {
        float seconds;
        int page, arrow, topic;
    } cases[] = {{2.9f, 0, 0, 0},  {3.0f, 1, 1, 1},  {4.0f, 1, 1, 1},  {5.0f, 2, 0, 1},  {9.5f, 3, 1, 2},
                 {11.0f, 4, 0, 2}, {14.0f, 5, 0, 2}, {16.0f, 6, 1, 2}, {24.0f, 7, 2, 3}, {28.0f, 8, 0, 0}};
    for (const auto& c : cases) {
        guide.AdvancePage(c.seconds);
        EXPECT_EQ(guide.page, c.page) << c.seconds;
        EXPECT_EQ(guide.ArrowPlace(), c.arrow) << c.seconds;
        EXPECT_EQ(guide.Topic(), c.topic) << c.seconds;
    }
    for (int frame = 0; frame < 20; ++frame)
        guide.AdvancePage(1000.0f);
    EXPECT_EQ(guide.page, TutorialGuide::kPages - 1);
    // One page a frame at most.
    TutorialGuide late;
    late.AdvancePage(30.0f);
    EXPECT_EQ(late.page, 1);
}

}  // namespace
}  // namespace mareldon
