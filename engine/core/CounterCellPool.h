#pragma once

#include <cstdint>

namespace mareldon {

// The count of a shared handle lives outside the object, in a 4-byte cell from one
// pool. Cells come out of blocks of 1024 through a free stack (last pushed first
// out); the pool only grows. Not locked: handles belong to the main thread.
using CounterCell = int32_t;

class CounterCellPool {
  public:
    static constexpr int32_t kCellsPerBlock = 1024;

    struct Block {
        Block* link;
        CounterCell cells[kCellsPerBlock];
    };

    constexpr CounterCellPool() = default;

    CounterCell* Alloc() {
        if (freeTop > 0)
            return freeStack[--freeTop];
        return Grow();
    }
    void Free(CounterCell* cell) { freeStack[freeTop++] = cell; }

    // The first block; Alloc does it on its own when nobody called it.
    void Init();
    // Frees every block and the free stack; the pool can be used again afterwards.
    void Shutdown();

    int32_t BlockCount() const { return blockCount; }
    int32_t FreeTop() const { return freeTop; }
    // Newer blocks link in right behind the first: first -> newest -> ... -> second.
    const Block* FirstBlock() const { return blocks; }

  private:
    CounterCell* Grow();
    void PushCells(Block* block);

    Block* blocks = nullptr;
    CounterCell** freeStack = nullptr;
    int32_t blockCount = 0;
    int32_t freeTop = 0;
};

// The process-wide pool. Trivially destructible, so it is valid before any static
// constructor runs and until the first guard tears it down.
extern constinit CounterCellPool theCounterCellPool;

inline CounterCell* AllocCounterCell() {
    return theCounterCellPool.Alloc();
}
inline void FreeCounterCell(CounterCell* cell) {
    theCounterCellPool.Free(cell);
}

// One per source unit that uses handles (RefPtr.h declares it): the first one built
// sets the pool up and, being destroyed last, tears it down after every static handle.
class CounterCellPoolGuard {
  public:
    CounterCellPoolGuard();
    ~CounterCellPoolGuard();
    CounterCellPoolGuard(const CounterCellPoolGuard&) = delete;
    CounterCellPoolGuard& operator=(const CounterCellPoolGuard&) = delete;

  private:
    int32_t order;
};

}  // namespace mareldon
