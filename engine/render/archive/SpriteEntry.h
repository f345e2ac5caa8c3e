#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"

namespace mareldon {

class ResourceProxy;
class ResourceManager;

struct SpriteFrame {
    RefPtr<String> name;
    float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
};

class SpriteEntry {
  public:
    virtual ~SpriteEntry() = default;
    RefPtr<String> name;
    int32_t image = 0;
    std::vector<SpriteFrame> frames;
    RefPtr<ResourceProxy> GetTexture(ResourceManager& manager) const;
};

}  // namespace mareldon
