#pragma once

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/render/archive/ModelNodeData.h"

namespace mareldon {

class ModelEntry {
  public:
    virtual ~ModelEntry() = default;
    RefPtr<String> name;
    RefPtr<ModelNodeData> root;
};

}  // namespace mareldon
