#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/Math.h"
#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/render/archive/ModelNodeData.h"
#include "engine/render/archive/ParamTrack.h"
#include "engine/render/draw/RenderBatch.h"

namespace mareldon {

class GameWorldScreen;
class MeshObject;
class StageScene;

// The constructor forms of the stage objects: kPlain takes the record's attached flag
// (a frame-node object is always attached), kUnderFrameNode also notes that the object
// hangs under a frame-node object, kFree is never attached. An attached object follows
// the activity window and targetable mark of the game object it hangs under.
enum class AttachKind : uint8_t { kPlain, kUnderFrameNode, kFree };

// What the stage scene hands the constructor of the object that replaces a model node:
// filled on the stack, passed by reference, released by the scene after the constructor.
struct NodeSpawnInfo {
    GameWorldScreen* owner = nullptr;
    // The scene building the object; null for objects made outside a model binding.
    StageScene* scene = nullptr;
    String name;
    RefPtr<ModelNodeData> node;
    // A mesh layer: its draw set and parameter track list, and whether the layer
    // follows the object it hangs under.
    RefPtr<RenderBatch> mesh;
    const std::vector<ParamTrack>* materials = nullptr;
    uint8_t attached = 0;
    // A bone: the mesh it deforms, its palette entry and offset.
    MeshObject* referenceMesh = nullptr;
    int32_t paletteIndex = 0;
    Matrix4 offset = Matrix4Identity();

    void InitFrame(GameWorldScreen* world, const String& nodeName, const RefPtr<ModelNodeData>& record) {
        owner = world;
        name = nodeName;
        node = record;
    }
    void InitBone(GameWorldScreen* world, const String& nodeName, const RefPtr<ModelNodeData>& record,
                  MeshObject* boneMesh, int32_t palette, const Matrix4& matrix) {
        InitFrame(world, nodeName, record);
        referenceMesh = boneMesh;
        paletteIndex = palette;
        offset = matrix;
    }
    void InitLayer(GameWorldScreen* world, const String& nodeName, const RefPtr<ModelNodeData>& record,
                   const RefPtr<RenderBatch>& drawSet, const std::vector<ParamTrack>* params,
                   uint8_t attachedFlag) {
        InitFrame(world, nodeName, record);
        mesh = drawSet;
        materials = params;
        attached = attachedFlag;
    }
    void ReleaseLayer() {
        mesh = RefPtr<RenderBatch>();
        materials = nullptr;
        Release();
    }
    void Release() {
        node = RefPtr<ModelNodeData>();
        name = String();
    }
};

}  // namespace mareldon
