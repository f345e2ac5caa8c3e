#include "game/stage/EnemyGroups.h"

#include <gtest/gtest.h>

#include "game/stage/KillCounter.h"

namespace mareldon {
namespace {

TEST(EnemyGroupsTest, ALetterBelongsToOneWaveWhileItLives) {
    EnemyGroups groups;
    EXPECT_TRUE(groups.JoinGroup(5, 1));
    EXPECT_TRUE(groups.JoinGroup(5, 1));
    EXPECT_FALSE(groups.JoinGroup(5, 2));
    EXPECT_EQ(groups.GetCount(5), 2);
    EXPECT_TRUE(groups.JoinGroup(6, 2)) << "another letter is free";
    groups.LeaveGroup(5);
    EXPECT_FALSE(groups.JoinGroup(5, 2));
    groups.LeaveGroup(5);
    EXPECT_TRUE(groups.JoinGroup(5, 2));
    EXPECT_EQ(groups.GetOwner(5), 2);
}

TEST(EnemyGroupsTest, UnmatchedLeavesAndBadLettersChangeNothing) {
    EnemyGroups groups;
    groups.LeaveGroup(3);
    EXPECT_EQ(groups.GetCount(3), 0);
    EXPECT_TRUE(groups.JoinGroup(3, 9)) << "the letter is not locked by a stray leave";
    for (int32_t bad : {-1, 27, 1000}) {
        EXPECT_FALSE(groups.JoinGroup(bad, 1)) << bad;
        groups.LeaveGroup(bad);
        EXPECT_EQ(groups.GetCount(bad), 0);
    }
    for (int i = 0; i < 300; ++i)
        EXPECT_TRUE(groups.JoinGroup(0, 1));
    EXPECT_EQ(groups.GetCount(0), 300) << "no 8-bit wrap";
}

TEST(KillCounterTest, PercentOfTheFirstPlayerInTheMask) {
    KillCounter counter;
    EXPECT_EQ(counter.GetKillPercent(1), 0) << "no enemies yet";
    for (int i = 0; i < 7; ++i)
        counter.CountAppearedEnemy();
    counter.CountKill(1);
    counter.CountKill(3);
    counter.CountKill(1);
    counter.CountKill(2);
    EXPECT_EQ(counter.GetKills(1), 3);
    EXPECT_EQ(counter.GetKills(2), 2);
    EXPECT_EQ(counter.GetKillPercent(1), 42);
    EXPECT_EQ(counter.GetKillPercent(3), 42);
    EXPECT_EQ(counter.GetKillPercent(2), 28);
    EXPECT_EQ(counter.GetKillPercent(0), 0);
}

}  // namespace
}  // namespace mareldon
