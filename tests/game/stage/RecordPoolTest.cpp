#include "game/stage/RecordPool.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace mareldon {
namespace {

struct Record {
    int32_t value;
    Record* next;
};

TEST(RecordPoolTest, GrowsByABlockWhenDryAndNeverShrinks) {
    RecordPool<Record> pool;
    EXPECT_EQ(pool.BlockCount(), 1);
    EXPECT_EQ(pool.FreeCount(), 1024);
    std::vector<Record*> taken;
    for (int i = 0; i < 1024; ++i)
        taken.push_back(pool.Take());
    EXPECT_EQ(pool.BlockCount(), 1);
    EXPECT_EQ(pool.FreeCount(), 0);
    taken.push_back(pool.Take());
    EXPECT_EQ(pool.BlockCount(), 2);
    EXPECT_EQ(pool.FreeCount(), 1023);
    EXPECT_EQ(std::set<Record*>(taken.begin(), taken.end()).size(), taken.size());
    for (Record* record : taken)
        pool.Return(record);
    EXPECT_EQ(pool.BlockCount(), 2);
    EXPECT_EQ(pool.FreeCount(), 2048);
}

TEST(RecordPoolTest, HandsOutAFreshBlockInOrderAndReusesTheLastReturned) {
    RecordPool<Record> pool;
    Record* first = pool.Take();
    Record* second = pool.Take();
    EXPECT_EQ(second, first + 1);
    first->value = 7;
    pool.Return(first);
    Record* again = pool.Take();
    EXPECT_EQ(again, first);
    EXPECT_EQ(again->value, 0) << "a record comes back zeroed";
}

}  // namespace
}  // namespace mareldon
