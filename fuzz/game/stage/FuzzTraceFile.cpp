// Any bytes as a ".trace" file: what the check accepts is replayed record by record
// and past its end, and a refused file must leave the input with nothing to replay.
#include <cstddef>
#include <cstdint>

#include "engine/core/PlayerInput.h"
#include "engine/core/RefPtr.h"
#include "game/stage/StageTraces.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mareldon;
    RefPtr<PlayerInput> input(new PlayerInput(nullptr, PlayerInput::kReplay));
    int32_t shipType = -1;
    const char* problem = nullptr;
    const bool taken = StageTraces::ReadImage(data, size, *input, shipType, &problem);
    if (taken != (problem == nullptr))
        __builtin_trap();
    if (!taken) {
        if (input->tableCapacity != 0 || shipType != -1)
            __builtin_trap();
        return 0;
    }
    if (shipType < 0 || shipType > 3)
        __builtin_trap();
    if (size_t(input->tableCapacity) * PlayerInput::kRecordSize > size - StageTraces::kTableOffset)
        __builtin_trap();
    input->Reset();
    for (int32_t step = 0; step < input->tableCapacity + 2; ++step)
        input->Update();
    if (input->GetButtons().held != 0)
        __builtin_trap();
    return 0;
}
