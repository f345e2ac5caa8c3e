#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/core/VertexLayout.h"
#include "engine/render/archive/ParamTrack.h"
#include "engine/render/archive/WordArray.h"

namespace mareldon {

class GeometryBuffer;
class ResourceProxy;
class ResourceManager;

struct MeshElement {
    RefPtr<String> name;
    int32_t floatCount = 0;
};

struct TextureRef {
    RefPtr<String> slotName;
    int32_t image = 0;
    // The image as a counted texture handle (see ResourceManager::AcquireImage).
    RefPtr<ResourceProxy> GetTexture(ResourceManager& manager) const;
};

// The meaning of the ten draw-setting words of a part.
enum DrawSetting {
    kDrawCentreX = 0,
    kDrawCentreY = 1,
    kDrawCentreZ = 2,
    kDrawRadius = 3,
    kDrawCullMode = 4,
    kDrawCastShadow = 5,
    kDrawReceiveShadow = 6,
};

class MeshPartData {
  public:
    MeshPartData();
    virtual ~MeshPartData();
    RefPtr<String> name;
    int32_t kind = 0;
    std::vector<MeshElement> elements;
    VertexLayout layout;  // built by BuildLayout
    std::vector<TextureRef> textures;
    RefPtr<VertexArray> vertices;
    std::array<int32_t, 2> vertexWords{};  // start value, vertex count
    RefPtr<IndexArray> indices;
    std::array<int32_t, 2> indexWords{};  // start index, index count
    std::vector<ParamTrack> params;
    std::array<uint32_t, 10> drawSettings{};
    RefPtr<GeometryBuffer> geometry;  // built by ResourceManager::BuildModels

    // One layout element per element, or per four floats of a wider one, all
    // under the element's name. Once only.
    void BuildLayout();
    // A draw-setting word read as a float (centre and radius).
    float DrawFloat(int word) const;
};

}  // namespace mareldon
