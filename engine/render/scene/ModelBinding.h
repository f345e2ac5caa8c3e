#pragma once

#include <vector>

#include "engine/core/RefPtr.h"
#include "engine/render/MeshPart.h"

namespace mareldon {

class MeshData;
class MeshObject;
class MeshPartData;
class ModelNodeData;
class Object3D;
class RenderBatch;
class ResourceManager;

// Builds a live node under `node` for every child of `record`, in record order, and
// recurses into each. The class of a child's node is asked of the hook of its record
// type on `node`, then on each ancestor up to and including `top`; the first node
// returned is used, else the default: a plain node from the record, a MeshObject for
// a layer, a Bone for a bone. A layer gets its draw set before the hooks are asked,
// and its node becomes the current mesh of its own subtree and of the siblings after
// it: the mesh that bones deform. A record of an unknown type builds nothing, nor does
// its subtree. `node` takes the record's name.
//
// Re-entrant: hooks may bind other models while this runs.
void BuildChildren(Object3D& node, Object3D& top, const RefPtr<ModelNodeData>& record, MeshObject* mesh);

// The draw set of a layer: a batch over its mesh data with one part per part data.
// Empty when the layer has no mesh data.
RefPtr<RenderBatch> BuildMeshDrawSet(const RefPtr<MeshData>& mesh, ResourceManager* resources);
// A part of a model layer: culled by its generator, drawn in the view layer named
// like the part, with its geometry, textures, parameter tracks and draw settings.
RefPtr<MeshPart> BuildMeshPart(MeshPartData& part, ResourceManager* resources);
// A slot per texture reference of the part: the image (none without resources) and a
// zeroed sampler, under the reference's slot name.
TextureSlotList BuildTextureSlots(const MeshPartData& part, ResourceManager* resources);

}  // namespace mareldon
