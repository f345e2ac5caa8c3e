#include "game/stage/PlayerRules.h"

#include <gtest/gtest.h>

namespace mareldon {
namespace {

TEST(PlayerRulesTest, EitherPlayerFollowsTheScreensGenerator) {
    Random screen;
    Random reference(0x19700920);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(ChoosePlayer(3, true, true, screen), (reference.Next() & 1) ? 2 : 1) << i;
    // Only a choice between two ships draws a number.
    uint32_t state = screen.state;
    EXPECT_EQ(ChoosePlayer(3, true, false, screen), 1);
    EXPECT_EQ(ChoosePlayer(3, false, true, screen), 2);
    EXPECT_EQ(ChoosePlayer(3, false, false, screen), kDummyPlayer);
    EXPECT_EQ(ChoosePlayer(1, false, true, screen), 1);
    EXPECT_EQ(ChoosePlayer(2, true, false, screen), 2);
    EXPECT_EQ(ChoosePlayer(0, true, true, screen), kNoPlayer);
    EXPECT_EQ(ChoosePlayer(4, true, true, screen), kNoPlayer);
    EXPECT_EQ(screen.state, state);
}

TEST(PlayerRulesTest, TheNearestShipWithTiesToPlayerTwo) {
    const Vec3 left{-2.0f, 0.0f, 0.0f};
    const Vec3 right{2.0f, 0.0f, 0.0f};
    EXPECT_EQ(ChooseNearestPlayer(left, right, {0.0f, 0.0f, 5.0f}), 2);
    EXPECT_EQ(ChooseNearestPlayer(left, right, {-0.01f, 0.0f, 5.0f}), 1);
    EXPECT_EQ(ChooseNearestPlayer(left, right, {0.01f, 0.0f, 5.0f}), 2);
    EXPECT_EQ(ChooseNearestPlayer(std::nullopt, right, {-2.0f, 0.0f, 0.0f}), 2);
    EXPECT_EQ(ChooseNearestPlayer(left, std::nullopt, {2.0f, 0.0f, 0.0f}), 1);
    EXPECT_EQ(ChooseNearestPlayer(std::nullopt, std::nullopt, {}), kDummyPlayer);
}

TEST(PlayerRulesTest, ShipsStayWithinSevenPointTwoOfEachOther) {
    struct Case {
        int32_t player;
        float x1, x2;
        bool negative, positive;
    };
    const Case cases[] = {
        {1, 0.0f, 7.3f, false, true}, {1, 0.0f, 7.2f, true, true},  {1, 7.3f, 0.0f, true, false},
        {2, 7.3f, 0.0f, false, true}, {2, 0.0f, 7.3f, true, false}, {2, 0.0f, -7.2f, true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CanMoveNegativeX(c.player, c.x1, c.x2), c.negative)
            << c.player << " " << c.x1 << " " << c.x2;
        EXPECT_EQ(CanMovePositiveX(c.player, c.x1, c.x2), c.positive)
            << c.player << " " << c.x1 << " " << c.x2;
    }
    EXPECT_TRUE(CanMoveNegativeX(1, 0.0f, std::nullopt));
    EXPECT_TRUE(CanMovePositiveX(2, std::nullopt, 100.0f));
}

}  // namespace
}  // namespace mareldon
