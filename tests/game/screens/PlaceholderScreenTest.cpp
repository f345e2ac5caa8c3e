#include "game/screens/PlaceholderScreen.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/game/system/GameSystemFixture.h"

namespace mareldon {
namespace {

using testing::ElementsAre;
using Event = std::pair<uint32_t, uint32_t>;

class PlaceholderScreenTest : public testing::Test, public GameSystemFixture {
  protected:
    PlaceholderScreenTest() : GameSystemFixture(4) {}
};

TEST_F(PlaceholderScreenTest, NoticeReportsItsStartAndEnd) {
    Start();
    ASSERT_TRUE(RunUntil("notice"));
    EXPECT_EQ(Events().back(), (Event{0x03000000, 0}));
    ASSERT_TRUE(RunUntil("logo1"));
    EXPECT_THAT(Events(), ElementsAre(Event{0x03000000, 0}, Event{0x04000000, 0}));
}

TEST_F(PlaceholderScreenTest, HandsOverAfterItsSteps) {
    Start();
    ASSERT_TRUE(RunUntil("logo1"));
    for (int i = 0; i < 3; ++i) {
        Step();
        EXPECT_EQ(system->GetCurrentSceneName(), "logo1");
    }
    Step();
    EXPECT_EQ(system->GetCurrentSceneName(), "logo2");
}

TEST_F(PlaceholderScreenTest, OverlayHoldsItsFlagWhileItRuns) {
    Start();
    Step();
    new standin::Overlay(system, 2, 2, "JoinInScreen");
    EXPECT_EQ(system->GetPlayerFlags(2)[2], 1);
    const int32_t children = system->childCount;
    for (int i = 0; i < 4; ++i) {
        Step();
    }
    EXPECT_EQ(system->GetPlayerFlags(2)[2], 0);
    EXPECT_EQ(system->childCount, children - 1);
}

}  // namespace
}  // namespace mareldon
