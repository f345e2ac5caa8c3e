#include "engine/core/CounterCellPool.h"

#include <cstddef>

namespace mareldon {

constinit CounterCellPool theCounterCellPool;

namespace {
int32_t guardCount = 0;
}  // namespace

void CounterCellPool::PushCells(Block* block) {
    for (int32_t i = 0; i < kCellsPerBlock; ++i)
        freeStack[freeTop++] = &block->cells[i];
}

void CounterCellPool::Init() {
    if (blockCount != 0)
        return;
    freeStack = new CounterCell*[kCellsPerBlock];
    blocks = new Block;
    blocks->link = blocks;
    freeTop = 0;
    PushCells(blocks);
    blockCount = 1;
}

CounterCell* CounterCellPool::Grow() {
    if (blockCount == 0) {
        Init();
        return freeStack[--freeTop];
    }
    // Every cell is in use, so the stack is empty and can be replaced by a larger one.
    delete[] freeStack;
    ++blockCount;
    freeStack = new CounterCell*[static_cast<size_t>(kCellsPerBlock) * blockCount];
    Block* block = new Block;
    block->link = blocks->link;
    blocks->link = block;
    PushCells(block);
    return freeStack[--freeTop];
}

void CounterCellPool::Shutdown() {
    Block* block = blocks;
    for (int32_t i = 0; i < blockCount; ++i) {
        Block* next = block->link;
        delete block;
        block = next;
    }
    delete[] freeStack;
    blocks = nullptr;
    freeStack = nullptr;
    blockCount = 0;
    freeTop = 0;
}

CounterCellPoolGuard::CounterCellPoolGuard() : order(guardCount++) {
    if (order == 0)
        theCounterCellPool.Init();
}

CounterCellPoolGuard::~CounterCellPoolGuard() {
    if (order == 0)
        theCounterCellPool.Shutdown();
}

}  // namespace mareldon
