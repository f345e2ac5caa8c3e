#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/RefPtr.h"
#include "engine/render/scene/Object3D.h"

namespace mareldon {

class ModelNodeData;
class RenderBatch;
class RenderView;
struct ParamTrack;

// A node that draws one mesh layer: in the draw pass it hands its draw set (the
// batch over the layer's mesh data) its matrices, its motion time and its animated
// parameters; in the submit pass it draws the set into the view, or, for an
// instanced layer, appends it to the Renderer's collector of that mesh, which the
// camera draws once for all instances.
class MeshObject : public Object3D {
  public:
    // A layer of a model record. `params` is the layer's parameter list; it must live
    // as long as the node (the binding passes the record's own, which the node holds).
    MeshObject(TaskObject* parent, const RefPtr<ModelNodeData>& record, const RefPtr<RenderBatch>& drawSet,
               const std::vector<ParamTrack>* params);
    MeshObject(TaskObject* parent, const RefPtr<ModelNodeData>& record, const RefPtr<RenderBatch>& drawSet);
    // A mesh placed by code.
    MeshObject(TaskObject* parent, const RefPtr<RenderBatch>& drawSet);
    ~MeshObject() override;

    void DrawSelf() override;
    void Submit(const RefPtr<RenderView>& view) override;

    const RefPtr<RenderBatch>& DrawSet() const { return drawSet_; }
    // Draws another layer's mesh from now on (a boss part's broken mesh): its draw set,
    // record and parameters are shared, and the old set goes when its count does.
    void TakeMeshOf(const MeshObject& other);
    const RefPtr<RenderBatch>& Collector() const { return collector_; }

  private:
    void Register();

    RefPtr<RenderBatch> drawSet_;
    RefPtr<RenderBatch> collector_;
    RefPtr<ModelNodeData> record_;
    const std::vector<ParamTrack>* params_ = nullptr;
};

}  // namespace mareldon
