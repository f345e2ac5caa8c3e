#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/Math.h"
#include "engine/core/String.h"
#include "game/stage/StaticModelPart.h"

namespace mareldon {

// The sibling priority of a model by its name, so effects of one model draw next to
// each other: h = (h >> 21 | h << 11) ^ b over the name's signed bytes, the right
// shift arithmetic and the left one unsigned.
int32_t ModelNameHash(const char* name);

// A one-shot model effect: it drifts by its velocity every step and goes when its
// animation ends.
class EffectModel : public StaticModelPart {
  public:
    EffectModel(TaskObject* parent, GameWorldScreen* screen, const Vec3& position, const Vec3& velocity,
                const String& name, const Vec3& scale);

    void OnUpdatePre() override;
    bool IsAlive() override { return alive != 0; }
    void OnMotionEnd() override { alive = 0; }
    // Every mesh layer steps through its sheet material over the animation.
    Object3D* CreateLayerObject(Object3D* parent, const RefPtr<ModelNodeData>& record, const String& name,
                                const RefPtr<RenderBatch>& drawSet,
                                const std::vector<ParamTrack>* params) override;

    uint8_t alive = 1;
    Vec3 velocity;
};

// A model effect facing its direction; a looping one lives until its parent goes and
// is replayed by setting its time to 0.
class EffectObject : public StaticModelPart {
  public:
    EffectObject(TaskObject* parent, GameWorldScreen* screen, const Vec3& position, const Vec3& direction,
                 float speed, const Vec3& scale, uint8_t looping, const String& name);

    void OnUpdatePre() override;
    bool IsAlive() override { return alive != 0; }
    void OnMotionEnd() override {
        if (!looping)
            alive = 0;
    }
    void Kill() { alive = 0; }
    Object3D* CreateLayerObject(Object3D* parent, const RefPtr<ModelNodeData>& record, const String& name,
                                const RefPtr<RenderBatch>& drawSet,
                                const std::vector<ParamTrack>* params) override;

    Vec3 velocity;
    uint8_t looping;
    uint8_t alive = 1;
};

}  // namespace mareldon
