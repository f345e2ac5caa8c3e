#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/Math.h"
#include "engine/core/String.h"
#include "engine/render/scene/ClockNode.h"
#include "engine/render/scene/MeshObject.h"
#include "game/stage/StaticModelPart.h"

namespace mareldon {

class GameWorldScreen;
class RenderBatch;

// The "UVScroll" offset of a sprite-sheet material: "uvscroll4x2", "uvscroll8x4" and
// "uvscroll8x8" step through their cells row by row over the progress p, which is
// taken as 0 when not a number and clamped into [0, 1). False for other materials.
bool SheetCellOffset(const char* material, float p, float& u, float& v);
// How far the clock is through its motion: 0 when the motion has no length.
float MotionProgress(const MotionClock& clock);
// Binds the effect model of that name. A missing name binds nothing (the archive's
// first model would stand in, a stage model that runs for minutes) and warns once per
// name: the unbound clock ends at its first advance, so the effect goes at once.
bool BindEffectModel(ClockNode& node, const String& name);

// A mesh layer of a model effect: before drawing it shows the cell of its sheet
// material that the effect's progress through its animation reaches.
class UvSheetLayer : public MeshObject {
  public:
    UvSheetLayer(TaskObject* parent, const RefPtr<ModelNodeData>& record, const RefPtr<RenderBatch>& drawSet,
                 const std::vector<ParamTrack>* params, ClockNode* clockOwner);

    void DrawSelf() override;

    // The effect whose clock picks the cell.
    ClockNode* clockOwner;
};

// A mesh layer of a stage decal that may hide while a bomb runs.
class BombHiddenLayer : public MeshObject {
  public:
    BombHiddenLayer(TaskObject* parent, const RefPtr<ModelNodeData>& record,
                    const RefPtr<RenderBatch>& drawSet, const std::vector<ParamTrack>* params,
                    GameWorldScreen* screen, uint8_t hideDuringBomb);

    void Submit(const RefPtr<RenderView>& view) override;

    GameWorldScreen* screen;
    uint8_t hideDuringBomb;
};

// A stage decal (scorches, debris): a model that drifts by its velocity, lives until
// its parent goes and steps a "zangai2x2" sheet every 4 steps.
class UvScrollObject : public StaticModelPart {
  public:
    static constexpr int32_t kKeptLayers = 8;

    UvScrollObject(TaskObject* parent, GameWorldScreen* screen, const Vec3& position, const Vec3& velocity,
                   const String& name, const Vec3& scale, uint8_t hideDuringBomb);

    void OnUpdatePre() override;
    Object3D* CreateLayerObject(Object3D* parent, const RefPtr<ModelNodeData>& record, const String& name,
                                const RefPtr<RenderBatch>& drawSet,
                                const std::vector<ParamTrack>* params) override;
    void DrawSelf() override;

    uint8_t alive = 1;
    Vec3 velocity;
    uint8_t hideDuringBomb;
    int32_t layerCount = 0;
    BombHiddenLayer* layers[kKeptLayers] = {};
};

}  // namespace mareldon
