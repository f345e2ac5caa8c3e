#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/String.h"

namespace mareldon {

class ResourceGroup {
  public:
    virtual ~ResourceGroup() = default;
    String name;
    std::vector<int32_t> sounds;
    std::vector<int32_t> further;  // kept, used by nothing
    std::vector<int32_t> images;
};

}  // namespace mareldon
