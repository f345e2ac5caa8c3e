// Any bytes as a stage light file: the walk over its records.
#include <cstddef>
#include <cstdint>

#include "game/render/LightFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mareldon;
    int32_t keys = 0;
    WalkLightFile(data, size, "fuzz.lights", [&keys](std::unique_ptr<LightTracks>& record) {
        keys += record->colour[0].keyCount + record->rotation.keyCount;
        record->colour[0].Evaluate(1.0f);
        record->rotation.Sample(1.0f);
    });
    return 0;
}
