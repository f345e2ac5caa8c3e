#pragma once

#include <cstdint>

#include "engine/core/Math.h"
#include "engine/core/RefPtr.h"
#include "engine/render/scene/Object3D.h"

namespace mareldon {

class MeshObject;
class ModelNodeData;

// A node of a skinned model: in the draw pass it writes its skinning matrix into
// its palette entry of the mesh it deforms, inverse(mesh world) . bone world . offset
// (a vertex goes from mesh space to bone space at bind time, moves with the bone, and
// comes back to mesh space; the mesh's shader applies the mesh's own world matrix).
//
// The mesh is a plain pointer: both are nodes of one bound model and go with it. A
// bone without a mesh, or whose index lies outside the palette, writes nothing.
class Bone : public Object3D {
  public:
    Bone(TaskObject* parent, const RefPtr<ModelNodeData>& record, MeshObject* mesh, int32_t paletteIndex,
         const Matrix4& offset);

    void DrawSelf() override;

    MeshObject* mesh;
    int32_t paletteIndex;
    Matrix4 offset;
};

}  // namespace mareldon
