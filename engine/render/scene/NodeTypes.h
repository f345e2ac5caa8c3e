#pragma once

#include <cstdint>

namespace mareldon {

// What a live node is (Object3D::nodeType). Derived game classes may set other values.
enum NodeType : int32_t {
    kNodePlain = 0,
    kNodeMesh = 1,
    kNodeCamera = 2,
    kNodeBone = 3,
    kNodeSceneRoot = 4,
};

// The type word of an archive model record (ModelNodeData::type); each has its own
// node-creation hook. Not to be mixed with NodeType: a mesh record is 2, a mesh node 1.
enum ModelRecordType : int32_t {
    kRecordPlain = 0,
    kRecordFrame = 1,
    kRecordLayer = 2,
    kRecordBone = 3,
    kRecordType4 = 4,
    kRecordType5 = 5,
};

}  // namespace mareldon
