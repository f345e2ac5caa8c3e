#include "engine/render/scene/MeshObject.h"

#include "engine/render/archive/ModelNodeData.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/Renderer.h"

namespace mareldon {

MeshObject::MeshObject(TaskObject* parentTask, const RefPtr<ModelNodeData>& record,
                       const RefPtr<RenderBatch>& drawSet, const std::vector<ParamTrack>* params)
    : Object3D(parentTask, record, 0), drawSet_(drawSet), record_(record), params_(params) {
    Register();
}

MeshObject::MeshObject(TaskObject* parentTask, const RefPtr<ModelNodeData>& record,
                       const RefPtr<RenderBatch>& drawSet)
    : MeshObject(parentTask, record, drawSet, nullptr) {}

MeshObject::MeshObject(TaskObject* parentTask, const RefPtr<RenderBatch>& drawSet)
    : Object3D(parentTask, 0), drawSet_(drawSet) {
    Register();
}

void MeshObject::Register() {
    nodeType = kNodeMesh;
    if (drawSet_ && drawSet_->instancing != 0 && renderer)
        collector_ = renderer->RegisterBatch(drawSet_);
}

MeshObject::~MeshObject() {
    if (collector_ && drawSet_->instancing != 0 && renderer)
        renderer->UnregisterBatch(drawSet_);
}

void MeshObject::TakeMeshOf(const MeshObject& other) {
    if (&other == this)
        return;
    if (collector_ && drawSet_->instancing != 0 && renderer)
        renderer->UnregisterBatch(drawSet_);
    collector_ = RefPtr<RenderBatch>();
    // The record holds the parameter list the pointer refers to.
    record_ = other.record_;
    params_ = other.params_;
    drawSet_ = other.drawSet_;
    Register();
}

void MeshObject::DrawSelf() {
    if (!drawSet_)
        return;
    RenderBatch& batch = *drawSet_;
    batch.inverseWorld = GetInverseWorldMatrix();
    batch.world = GetWorldMatrix();
    const float time = GetMotionTime();
    batch.time = time;
    if (params_ == nullptr)
        return;
    // A list longer than the batch's parameters fills what fits.
    for (size_t i = params_->size(); i-- > 0;) {
        const RefPtr<KeyTrack>& track = (*params_)[i].track;
        if (i < batch.parameters.size() && track)
            batch.parameters[i] = track->Evaluate(time);
    }
}

void MeshObject::Submit(const RefPtr<RenderView>& view) {
    if (!drawSet_)
        return;
    if (drawSet_->instancing != 0) {
        if (collector_)
            collector_->AppendInstance(drawSet_);
    } else if (renderer) {
        renderer->DrawView(view, drawSet_);
    }
}

}  // namespace mareldon
