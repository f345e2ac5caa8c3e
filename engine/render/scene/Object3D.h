#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/KeyTrack.h"
#include "engine/core/Math.h"
#include "engine/core/RefPtr.h"
#include "engine/core/RotationTrack.h"
#include "engine/core/String.h"
#include "engine/core/TaskObject.h"
#include "engine/render/scene/NodeController.h"
#include "engine/render/scene/NodeTypes.h"

namespace mareldon {

class MeshObject;
class ModelNodeData;
class RenderBatch;
class RenderView;
struct ParamTrack;

// Picks the root variant of a node constructor: the node is its own motion root
// and time-scale owner, and its world matrix stays identity until it is moved.
struct RootNodeTag {
    explicit RootNodeTag() = default;
};
inline constexpr RootNodeTag kRootNode{};

// The parts of a local transform, as the component mask names them.
inline constexpr uint32_t kMaskPivot = 1;
inline constexpr uint32_t kMaskScale = 2;
inline constexpr uint32_t kMaskEuler = 4;
inline constexpr uint32_t kMaskQuaternion = 8;
inline constexpr uint32_t kMaskPosition = 16;

// T(position) R(quaternion) R(Euler) S(scale) T(-pivot), leaving out each factor whose
// mask bit is clear; R(Euler) = Ry Rx Rz. The quaternion is used as it is, not
// normalised. Only the upper 3x4 block is computed; the bottom row is (0, 0, 0, 1).
Matrix4 ComposeLocalMatrix(uint32_t mask, const Vec3& position, const Quaternion& quaternion,
                           const Vec3& euler, const Vec3& scale, const Vec3& pivot);

// The transform node of the task tree: a task with a name, a local transform of five
// components, twelve key tracks and a rotation track that pose it, controllers, and
// world and inverse-world matrices rebuilt lazily when read after a change. Its
// animation clock lives in its motion root (a ClockNode); the clocks of a subtree run
// at the time scale of its time-scale owner, the scene root.
//
// Children that are plain tasks are skipped by every node walk; a node whose parent
// is a plain task takes the identity as its parent's transform and time scale 1.
//
// Destruction: the task tree deletes the children after the derived parts are gone.
// A node class whose dying children call back into it (parts that unregister from
// their owner) calls DeleteChildren() first in its own destructor.
class Object3D : public TaskObject {
  public:
    // Key track indices: position, Euler angles, scale and pivot, x y z each.
    static constexpr int kTrackPosition = 0;
    static constexpr int kTrackEuler = 3;
    static constexpr int kTrackScale = 6;
    static constexpr int kTrackPivot = 9;
    static constexpr int kTrackCount = 12;

    // An ordinary node: its motion root and time-scale owner are its parent's.
    Object3D(TaskObject* parent, int32_t priority);
    // The root variant.
    Object3D(TaskObject* parent, int32_t priority, RootNodeTag);
    // A node of a model record: posed by the record's key tracks (a null record makes
    // an ordinary node).
    Object3D(TaskObject* parent, const RefPtr<ModelNodeData>& record, int32_t priority);
    ~Object3D() override;

    Object3D* AsObject3D() override { return this; }
    // The motion clock's time in frames, truncated toward zero.
    int32_t GetStepCount() override;

    // Node-creation hooks of the model binding, one per record type: each returns a node
    // it built under `parent`, or null to let the node's ancestors (then the default)
    // decide. The current mesh of a bone may be null.
    virtual Object3D* CreatePlainObject(Object3D* parent, const RefPtr<ModelNodeData>& record,
                                        const String& name);
    virtual Object3D* CreateFrameObject(Object3D* parent, const RefPtr<ModelNodeData>& record,
                                        const String& name);
    virtual Object3D* CreateLayerObject(Object3D* parent, const RefPtr<ModelNodeData>& record,
                                        const String& name, const RefPtr<RenderBatch>& drawSet,
                                        const std::vector<ParamTrack>* params);
    virtual Object3D* CreateBoneObject(Object3D* parent, const RefPtr<ModelNodeData>& record,
                                       const String& name, MeshObject* mesh, int32_t paletteIndex,
                                       const Matrix4& offset);
    virtual Object3D* CreateType4Object(Object3D* parent, const RefPtr<ModelNodeData>& record,
                                        const String& name);
    virtual Object3D* CreateType5Object(Object3D* parent, const RefPtr<ModelNodeData>& record,
                                        const String& name);

    // The motion root's clock. A node without a clock of its own and no other motion
    // root reads 0 and ignores writes.
    virtual float GetMotionTime();
    // Moves the children's and then this node's key times (not the rotation keys).
    virtual void ShiftMotionTime(float offset);
    virtual void SetMotionTime(float time);
    // Advances the clocks of the subtree; a plain node only passes it on.
    virtual void AdvanceMotionTime();
    // Poses the node from its tracks, runs its controllers, then animates the children.
    virtual void Animate();
    virtual void DrawTraversal();
    virtual void DrawSelf() {}
    // Children first, then the node itself.
    virtual void SubmitTraversal(const RefPtr<RenderView>& view);
    virtual void Submit(const RefPtr<RenderView>& view) { (void)view; }
    // The scale this node gives the clocks under it when it is their time-scale owner.
    virtual float GetTimeScale() { return 1.0f; }

    // Each setter compares exactly with the stored value and does nothing when equal.
    void SetPosition(const Vec3& value);
    void SetQuaternion(const Quaternion& value);
    // Euler angles in radians.
    void SetRotation(const Vec3& value);
    void SetScale(const Vec3& value);
    void SetPivot(const Vec3& value);
    const Vec3& GetPosition() const { return position_; }
    const Quaternion& GetQuaternion() const { return quaternion_; }
    const Vec3& GetRotation() const { return euler_; }
    const Vec3& GetScale() const { return scale_; }
    const Vec3& GetPivot() const { return pivot_; }
    uint32_t GetComponentMask() const { return componentMask_; }

    // Marks this node's inverse stale and, unless its world already is, its world
    // and its subtree's.
    void InvalidateWorld();
    const Matrix4& GetWorldMatrix();
    const Matrix4& GetInverseWorldMatrix();
    const Matrix4& GetLocalMatrix();
    bool IsWorldDirty() const { return worldDirty_ != 0; }
    bool IsInverseDirty() const { return inverseDirty_ != 0; }
    bool IsLocalDirty() const { return localDirty_ != 0; }
    // A point of the node's space (measured from its pivot) in world space.
    void LocalToWorld(Vec3& out, const Vec3& point);
    Vec3 GetWorldPosition();
    // The node's +z axis in world space, unit length.
    Vec3 GetWorldForward();

    // A key at `time` on the three position tracks, with the same interpolation words.
    void AddPositionKey(float time, const Vec3& value, uint32_t kind, float c0 = 0.0f, float c1 = 0.0f,
                        float c2 = 0.0f, float c3 = 0.0f);
    void AddRotationKey(float time, const Quaternion& rotation);
    // Empties the twelve key tracks: no keys, hold at both ends, value 0.
    void ClearTracks();
    // Sets the components whose tracks have keys, and always the pivot.
    void ApplyTracks();
    // Takes the record's twelve tracks and their key span, then poses the node.
    void TakeTracks(const ModelNodeData& record);

    void AddController(const RefPtr<NodeController>& controller);
    int32_t ControllerCount() const { return int32_t(controllers_.size()); }

    // One animation step of the hierarchy: advance the clocks, then animate.
    void StepAnimation();
    // Empties the renderer's light list for this frame, then runs the draw traversal.
    void DrawHierarchy();

    // The parent as a node; null when it is a plain task or there is none.
    Object3D* ParentNode() const;

    // Calls f on each child that is a node, in ring order.
    template <typename F>
    void ForEachChildNode(F&& f) {
        TreeNode* node = firstChild;
        for (int32_t i = 0; i < childCount; ++i) {
            Object3D* child = static_cast<TaskObject*>(node)->AsObject3D();
            if (child != nullptr)
                f(*child);
            node = node->next;
        }
    }

    int32_t nodeType = kNodePlain;
    String name;
    // The scene root, whose time scale the clocks of the subtree run at.
    Object3D* timeScaleOwner = nullptr;
    // The node whose clock GetMotionTime and SetMotionTime read and write.
    Object3D* motionRoot = nullptr;
    // Earliest first key and latest last key over the twelve tracks.
    float keySpanStart = 0.0f;
    float keySpanEnd = 0.0f;
    // The node's own gates, apart from the task's draw flags: draw-self gates DrawSelf
    // and Submit, children gates the walks of Animate, DrawTraversal and SubmitTraversal.
    uint8_t nodeDrawSelf = 1;
    uint8_t nodeChildren = 1;
    KeyTrack tracks[kTrackCount];
    RotationTrack rotationTrack;

  private:
    // Stores a changed component, keeps its mask bit and marks the transform stale.
    void SetComponent(Vec3& stored, const Vec3& value, uint32_t bit, const Vec3& neutral);

    std::vector<RefPtr<NodeController>> controllers_;
    Vec3 position_{0.0f, 0.0f, 0.0f};
    Quaternion quaternion_{0.0f, 0.0f, 0.0f, 1.0f};
    Vec3 euler_{0.0f, 0.0f, 0.0f};
    Vec3 scale_{1.0f, 1.0f, 1.0f};
    Vec3 pivot_{0.0f, 0.0f, 0.0f};
    Matrix4 worldMatrix_ = Matrix4Identity();
    Matrix4 inverseWorldMatrix_ = Matrix4Identity();
    Matrix4 localMatrix_ = Matrix4Identity();
    uint8_t worldDirty_ = 1;
    uint8_t inverseDirty_ = 1;
    uint8_t localDirty_ = 0;
    uint32_t componentMask_ = 0;
};

}  // namespace mareldon
