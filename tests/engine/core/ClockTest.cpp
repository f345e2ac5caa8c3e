#include "engine/core/Clock.h"

#include <gtest/gtest.h>

namespace mareldon {
namespace {

TEST(ClockTest, VirtualClockWrapsLikeTheTickCounter) {
    VirtualClock clock(0xFFFFFFF0u);
    ScopedClock scope(clock);
    uint32_t start = TickCount();
    clock.Advance(0x20);
    EXPECT_EQ(TickCount(), 0x10u);
    EXPECT_EQ(TickCount() - start, 0x20u);  // unsigned difference survives the wrap
    clock.Sleep(5);
    EXPECT_EQ(TickCount() - start, 0x25u);
}

TEST(ClockTest, ScopedClockRestoresThePreviousClock) {
    VirtualClock outer(100);
    ScopedClock a(outer);
    {
        VirtualClock inner(7);
        ScopedClock b(inner);
        EXPECT_EQ(TickCount(), 7u);
    }
    EXPECT_EQ(TickCount(), 100u);
}

TEST(ClockTest, SystemClockNeverRunsBackwards) {
    SystemClock clock;
    uint32_t a = clock.Milliseconds();
    clock.Sleep(2);
    uint32_t b = clock.Milliseconds();
    EXPECT_GE(b - a, 1u);
    EXPECT_LT(b - a, 1000u);
}

}  // namespace
}  // namespace mareldon
