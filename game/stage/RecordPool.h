#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

namespace mareldon {

// Plain records handed out from blocks of 1024 and a free stack. It grows a block at a
// time when the stack runs dry and never gives memory back before it dies, so taking
// and returning records during play costs no allocation once the stage has warmed up.
template <typename Record>
class RecordPool {
    static_assert(std::is_trivially_copyable_v<Record>, "records are plain data");

  public:
    static constexpr int32_t kBlockRecords = 1024;

    RecordPool() { AddBlock(); }
    RecordPool(const RecordPool&) = delete;
    RecordPool& operator=(const RecordPool&) = delete;

    // A zeroed record.
    Record* Take() {
        if (free.empty())
            AddBlock();
        Record* record = free.back();
        free.pop_back();
        *record = Record{};
        return record;
    }
    void Return(Record* record) { free.push_back(record); }

    int32_t BlockCount() const { return int32_t(blocks.size()); }
    int32_t FreeCount() const { return int32_t(free.size()); }

  private:
    void AddBlock() {
        free.reserve((blocks.size() + 1) * kBlockRecords);
        blocks.push_back(std::make_unique<Record[]>(kBlockRecords));
        Record* block = blocks.back().get();
        // Pushed last to first, so a fresh block hands out its records in address order.
        for (int32_t i = kBlockRecords - 1; i >= 0; --i)
            free.push_back(block + i);
    }

    std::vector<std::unique_ptr<Record[]>> blocks;
    std::vector<Record*> free;
};

}  // namespace mareldon
