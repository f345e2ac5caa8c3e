#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/core/PlayerInput.h"
#include "engine/core/RefPtr.h"

namespace mareldon {

// A player input that replays one button word a step (then nothing), with no device
// under it. Nothing updates it by itself: call Update before the step that reads it.
// The input's own reset reads one record: an empty one is put first for it.
inline RefPtr<PlayerInput> ScriptedInput(std::vector<uint32_t> words) {
    words.insert(words.begin(), 0u);
    std::vector<uint8_t> table((words.size() + 1) * PlayerInput::kRecordSize, 0);
    auto put = [&table](size_t at, uint32_t value) { std::memcpy(table.data() + at, &value, 4); };
    put(0, PlayerInput::kTraceTag);
    put(8, uint32_t(table.size()));
    put(12, uint32_t(words.size()));
    for (size_t i = 0; i < words.size(); ++i)
        put((i + 1) * PlayerInput::kRecordSize, words[i]);
    return RefPtr<PlayerInput>(new PlayerInput(nullptr, PlayerInput::kReplay, table.data(), table.size()));
}

}  // namespace mareldon
