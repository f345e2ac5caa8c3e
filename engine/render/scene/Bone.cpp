#include "engine/render/scene/Bone.h"

#include "engine/render/RenderBatch.h"
#include "engine/render/scene/MeshObject.h"

namespace mareldon {

Bone::Bone(TaskObject* parentTask, const RefPtr<ModelNodeData>& record, MeshObject* skinnedMesh,
           int32_t index, const Matrix4& offsetMatrix)
    : Object3D(parentTask, record, 0), mesh(skinnedMesh), paletteIndex(index), offset(offsetMatrix) {
    nodeType = kNodeBone;
}

void Bone::DrawSelf() {
    if (mesh == nullptr || !mesh->DrawSet())
        return;
    RenderBatch& batch = *mesh->DrawSet();
    if (paletteIndex < 0 || size_t(paletteIndex) >= batch.palette.size())
        return;
    const Matrix4& meshInverse = mesh->GetInverseWorldMatrix();
    // MatrixMultiply(a, b) is b . a.
    batch.palette[size_t(paletteIndex)] =
        MatrixMultiply(MatrixMultiply(offset, GetWorldMatrix()), meshInverse);
}

}  // namespace mareldon
