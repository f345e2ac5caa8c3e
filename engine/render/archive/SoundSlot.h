#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"

namespace mareldon {

class SoundBuffer;

// A sound in the archive file, read on first use; the resource manager keeps the list.
class SoundSlot {
  public:
    virtual ~SoundSlot() = default;
    uint64_t fileOffset = 0;
    uint32_t size = 0;
    int32_t useCount = 0;
    RefPtr<SoundBuffer> sound;  // empty until loaded
};

struct SoundName {
    String name;
    int32_t slot = 0;
};

}  // namespace mareldon
