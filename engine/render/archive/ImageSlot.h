#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"

namespace mareldon {

class ResourceProxy;

// An image in the archive file, read on first use; the resource manager keeps the list.
class ImageSlot {
  public:
    virtual ~ImageSlot() = default;
    uint64_t fileOffset = 0;
    uint32_t size = 0;
    int32_t useCount = 0;
    RefPtr<ResourceProxy> texture;  // empty until loaded
};

}  // namespace mareldon
