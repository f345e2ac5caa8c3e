#include "engine/render/MeshPart.h"

#include "engine/render/GeometryBuffer.h"
#include "engine/render/TextureBase.h"

namespace mareldon {

MeshPart::MeshPart() = default;
MeshPart::~MeshPart() = default;

void SetTextureSlot(TextureSlotList& list, const String& name, const RefPtr<TextureBase>& texture,
                    const SamplerState& sampler) {
    int32_t duplicates = 0;
    for (const MaterialTexture& slot : list) {
        if (slot.slotName == name)
            ++duplicates;
    }
    list.push_back({texture, sampler, name, duplicates});
}

}  // namespace mareldon
