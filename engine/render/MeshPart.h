#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/KeyTrack.h"
#include "engine/core/Math.h"
#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/core/VertexLayout.h"
#include "engine/render/GraphicsDevice.h"
#include "engine/render/LightList.h"

namespace mareldon {

class GeometryBuffer;
class TextureBase;

// A texture of a part's material and the sampler settings its stage gets. Slots of
// archive parts are named ("Diffuse"); the duplicate index counts the earlier slots of
// the same name, so a second "Diffuse" is Diffuse 1.
struct MaterialTexture {
    RefPtr<TextureBase> texture;
    SamplerState sampler;
    String slotName;
    int32_t duplicateIndex = 0;
};

// A part's texture slots, in material order.
using TextureSlotList = std::vector<MaterialTexture>;
// Appends a slot, numbering it among the slots of its name.
void SetTextureSlot(TextureSlotList& list, const String& name, const RefPtr<TextureBase>& texture,
                    const SamplerState& sampler);

// An animated value of a part, found by name ("Emissive", "Specular", "Transparency").
struct NamedValue {
    String name;
    RefPtr<KeyTrack> track;
};

// One drawable piece of a batch: the layer it is drawn with, its vertex elements and
// geometry, its material and its draw settings.
class MeshPart {
  public:
    MeshPart();
    virtual ~MeshPart();
    MeshPart(const MeshPart&) = delete;
    MeshPart& operator=(const MeshPart&) = delete;

    // 1: the layer's generator may cull the part.
    uint8_t cullSwitch = 0;
    // The view layer the part is drawn with.
    String name;
    VertexLayout layout;
    RefPtr<GeometryBuffer> geometry;
    TextureSlotList textures;
    std::vector<NamedValue> values;
    // Draw settings: bounding sphere (model space), culling mode, shadow flags.
    Vec3 centre{0.0f, 0.0f, 0.0f};
    float radius = 0.0f;
    int32_t cullMode = static_cast<int32_t>(CullMode::CounterClockwise);
    int32_t castShadow = 0;
    int32_t receiveShadow = 0;
    // Built empty; the records the generators read are the batch's.
    LightList lights{2};
};

}  // namespace mareldon
