#include "engine/core/CounterCellPool.h"

#include <gtest/gtest.h>

#include <vector>

namespace mareldon {
namespace {

TEST(CounterCellPoolTest, GrowsByWholeBlocksAndHandsOutLastCellsFirst) {
    CounterCellPool pool;
    std::vector<CounterCell*> cells;
    cells.push_back(pool.Alloc());
    EXPECT_EQ(pool.BlockCount(), 1);
    EXPECT_EQ(cells[0], &pool.FirstBlock()->cells[1023]);
    for (int i = 1; i < 1025; ++i)
        cells.push_back(pool.Alloc());
    EXPECT_EQ(pool.BlockCount(), 2);
    EXPECT_EQ(pool.FreeTop(), 1023);
    const CounterCellPool::Block* second = pool.FirstBlock()->link;
    EXPECT_NE(second, pool.FirstBlock());
    EXPECT_EQ(second->link, pool.FirstBlock());
    EXPECT_EQ(cells[1024], &second->cells[1023]);
    EXPECT_EQ(cells[1023], &pool.FirstBlock()->cells[0]);

    for (CounterCell* cell : cells)
        pool.Free(cell);
    EXPECT_EQ(pool.FreeTop(), 2048);        // every cell of both blocks is free again
    EXPECT_EQ(pool.Alloc(), cells.back());  // last pushed, first out
    pool.Shutdown();
    EXPECT_EQ(pool.BlockCount(), 0);
}

TEST(CounterCellPoolTest, AThirdBlockLinksInBehindTheFirst) {
    CounterCellPool pool;
    pool.Init();
    std::vector<CounterCell*> cells;
    for (int i = 0; i < 2049; ++i)
        cells.push_back(pool.Alloc());
    EXPECT_EQ(pool.BlockCount(), 3);
    const CounterCellPool::Block* first = pool.FirstBlock();
    EXPECT_EQ(cells.back(), &first->link->cells[1023]);  // the newest block
    EXPECT_EQ(first->link->link->link, first);
    pool.Shutdown();
}

}  // namespace
}  // namespace mareldon
