#include "engine/render/scene/Object3D.h"

#include <algorithm>
#include <cmath>

#include "engine/render/ArchiveObjects.h"
#include "engine/render/Renderer.h"

namespace mareldon {

namespace {

bool Equal(const Vec3& a, const Vec3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// What the rotation setter compares with; the same (0, 0, 0, 1) every time.
const Quaternion& NeutralQuaternion() {
    static const Quaternion neutral = EulerToQuaternion(0.0f, 0.0f, 0.0f);
    return neutral;
}

// Row-major 3x3 products.
void Multiply3(float out[9], const float a[9], const float b[9]) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            out[3 * r + c] = a[3 * r] * b[c] + a[3 * r + 1] * b[3 + c] + a[3 * r + 2] * b[6 + c];
        }
    }
}

// No keys, hold at both ends, value 0.
void EmptyTrack(KeyTrack& track) {
    track.keyCount = 0;
    track.lastSegment = 0;
    track.preMode = 1;
    track.postMode = 1;
    track.defaultValue = 0.0f;
}

}  // namespace

Matrix4 ComposeLocalMatrix(uint32_t mask, const Vec3& position, const Quaternion& q, const Vec3& euler,
                           const Vec3& scale, const Vec3& pivot) {
    float a[9] = {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};
    if (mask & kMaskQuaternion) {
        const float x = q.x, y = q.y, z = q.z, w = q.w;
        const float r[9] = {
            1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y - w * z),        2.0f * (x * z + w * y),
            2.0f * (x * y + w * z),        1.0f - 2.0f * (x * x + z * z), 2.0f * (y * z - w * x),
            2.0f * (x * z - w * y),        2.0f * (y * z + w * x),        1.0f - 2.0f * (x * x + y * y)};
        std::copy(r, r + 9, a);
    }
    if (mask & kMaskEuler) {
        const float cx = std::cos(euler.x), sx = std::sin(euler.x);
        const float cy = std::cos(euler.y), sy = std::sin(euler.y);
        const float cz = std::cos(euler.z), sz = std::sin(euler.z);
        // Ry Rx Rz: roll about z first, then pitch about x, then yaw about y.
        const float e[9] = {cy * cz + sy * sx * sz,  -cy * sz + sy * sx * cz, sy * cx, cx * sz, cx * cz, -sx,
                            -sy * cz + cy * sx * sz, sy * sz + cy * sx * cz,  cy * cx};
        if (mask & kMaskQuaternion) {
            float product[9];
            Multiply3(product, a, e);
            std::copy(product, product + 9, a);
        } else {
            std::copy(e, e + 9, a);
        }
    }
    if (mask & kMaskScale) {
        for (int r = 0; r < 3; ++r) {
            a[3 * r] *= scale.x;
            a[3 * r + 1] *= scale.y;
            a[3 * r + 2] *= scale.z;
        }
    }
    float t[3] = {0.0f, 0.0f, 0.0f};
    if (mask & kMaskPivot) {
        for (int r = 0; r < 3; ++r) {
            t[r] = -(a[3 * r] * pivot.x + a[3 * r + 1] * pivot.y + a[3 * r + 2] * pivot.z);
        }
    }
    if (mask & kMaskPosition) {
        t[0] += position.x;
        t[1] += position.y;
        t[2] += position.z;
    }
    return {{a[0], a[1], a[2], t[0], a[3], a[4], a[5], t[1], a[6], a[7], a[8], t[2], 0.0f, 0.0f, 0.0f, 1.0f}};
}

Object3D::Object3D(TaskObject* parentTask, int32_t priorityValue) : TaskObject(parentTask, priorityValue) {
    Object3D* parentNode = parentTask != nullptr ? parentTask->AsObject3D() : nullptr;
    if (parentNode != nullptr) {
        timeScaleOwner = parentNode->timeScaleOwner;
        motionRoot = parentNode->motionRoot;
    }
}

Object3D::Object3D(TaskObject* parentTask, int32_t priorityValue, RootNodeTag)
    : Object3D(parentTask, priorityValue) {
    timeScaleOwner = this;
    motionRoot = this;
    worldDirty_ = 0;
    inverseDirty_ = 0;
}

Object3D::Object3D(TaskObject* parentTask, const RefPtr<ModelNodeData>& record, int32_t priorityValue)
    : Object3D(parentTask, priorityValue) {
    if (record)
        TakeTracks(*record);
}

Object3D::~Object3D() = default;

int32_t Object3D::GetStepCount() {
    return TruncateToInt32(GetMotionTime() * frameRate);
}

Object3D* Object3D::CreatePlainObject(Object3D*, const RefPtr<ModelNodeData>&, const String&) {
    return nullptr;
}

Object3D* Object3D::CreateFrameObject(Object3D*, const RefPtr<ModelNodeData>&, const String&) {
    return nullptr;
}

Object3D* Object3D::CreateLayerObject(Object3D*, const RefPtr<ModelNodeData>&, const String&,
                                      const RefPtr<RenderBatch>&, const std::vector<ParamTrack>*) {
    return nullptr;
}

Object3D* Object3D::CreateBoneObject(Object3D*, const RefPtr<ModelNodeData>&, const String&, MeshObject*,
                                     int32_t, const Matrix4&) {
    return nullptr;
}

Object3D* Object3D::CreateType4Object(Object3D*, const RefPtr<ModelNodeData>&, const String&) {
    return nullptr;
}

Object3D* Object3D::CreateType5Object(Object3D*, const RefPtr<ModelNodeData>&, const String&) {
    return nullptr;
}

// Forwarding to itself would never end: a node that is its own motion root without
// overriding the clock reads 0.
float Object3D::GetMotionTime() {
    if (motionRoot == nullptr || motionRoot == this)
        return 0.0f;
    return motionRoot->GetMotionTime();
}

void Object3D::SetMotionTime(float time) {
    if (motionRoot == nullptr || motionRoot == this)
        return;
    motionRoot->SetMotionTime(time);
}

void Object3D::ShiftMotionTime(float offset) {
    ForEachChildNode([offset](Object3D& child) { child.ShiftMotionTime(offset); });
    for (KeyTrack& track : tracks)
        track.ShiftTimes(offset);
    keySpanStart += offset;
    keySpanEnd += offset;
}

void Object3D::AdvanceMotionTime() {
    ForEachChildNode([](Object3D& child) { child.AdvanceMotionTime(); });
}

void Object3D::Animate() {
    ApplyTracks();
    for (size_t i = controllers_.size(); i-- > 0;) {
        if (i >= controllers_.size())
            continue;
        // Held while it runs, so a controller that drops itself lives to return.
        RefPtr<NodeController> controller = controllers_[i];
        if (!controller->Update(*this) && i < controllers_.size() && controllers_[i] == controller)
            controllers_.erase(controllers_.begin() + std::ptrdiff_t(i));
    }
    if (nodeChildren)
        ForEachChildNode([](Object3D& child) { child.Animate(); });
}

void Object3D::DrawTraversal() {
    if (nodeDrawSelf)
        DrawSelf();
    if (nodeChildren)
        ForEachChildNode([](Object3D& child) { child.DrawTraversal(); });
}

void Object3D::SubmitTraversal(const RefPtr<RenderView>& view) {
    if (nodeChildren)
        ForEachChildNode([&view](Object3D& child) { child.SubmitTraversal(view); });
    if (nodeDrawSelf)
        Submit(view);
}

void Object3D::SetComponent(Vec3& stored, const Vec3& value, uint32_t bit, const Vec3& neutral) {
    if (Equal(value, stored))
        return;
    stored = value;
    if (Equal(value, neutral))
        componentMask_ &= ~bit;
    else
        componentMask_ |= bit;
    localDirty_ = 1;
    InvalidateWorld();
}

void Object3D::SetPosition(const Vec3& value) {
    SetComponent(position_, value, kMaskPosition, Vec3{0.0f, 0.0f, 0.0f});
}

void Object3D::SetQuaternion(const Quaternion& value) {
    auto same = [](const Quaternion& a, const Quaternion& b) {
        return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
    };
    if (same(value, quaternion_))
        return;
    quaternion_ = value;
    if (same(value, NeutralQuaternion()))
        componentMask_ &= ~kMaskQuaternion;
    else
        componentMask_ |= kMaskQuaternion;
    localDirty_ = 1;
    InvalidateWorld();
}

void Object3D::SetRotation(const Vec3& value) {
    SetComponent(euler_, value, kMaskEuler, Vec3{0.0f, 0.0f, 0.0f});
}

void Object3D::SetScale(const Vec3& value) {
    SetComponent(scale_, value, kMaskScale, Vec3{1.0f, 1.0f, 1.0f});
}

void Object3D::SetPivot(const Vec3& value) {
    SetComponent(pivot_, value, kMaskPivot, Vec3{0.0f, 0.0f, 0.0f});
}

void Object3D::InvalidateWorld() {
    inverseDirty_ = 1;
    if (worldDirty_)
        return;
    worldDirty_ = 1;
    ForEachChildNode([](Object3D& child) { child.InvalidateWorld(); });
}

const Matrix4& Object3D::GetLocalMatrix() {
    if (localDirty_) {
        localMatrix_ = ComposeLocalMatrix(componentMask_, position_, quaternion_, euler_, scale_, pivot_);
        localDirty_ = 0;
    }
    return localMatrix_;
}

const Matrix4& Object3D::GetWorldMatrix() {
    if (!worldDirty_)
        return worldMatrix_;
    worldDirty_ = 0;
    const Matrix4& local = GetLocalMatrix();
    Object3D* parentNode = ParentNode();
    worldMatrix_ = parentNode != nullptr ? MatrixMultiply(local, parentNode->GetWorldMatrix()) : local;
    return worldMatrix_;
}

const Matrix4& Object3D::GetInverseWorldMatrix() {
    if (inverseDirty_) {
        inverseDirty_ = 0;
        Matrix4Inverse(inverseWorldMatrix_, GetWorldMatrix());
    }
    return inverseWorldMatrix_;
}

void Object3D::LocalToWorld(Vec3& out, const Vec3& point) {
    const Vec3 shifted{point.x + pivot_.x, point.y + pivot_.y, point.z + pivot_.z};
    out = Vec3TransformCoord(shifted, GetWorldMatrix());
}

Vec3 Object3D::GetWorldPosition() {
    return Vec3TransformCoord(pivot_, GetWorldMatrix());
}

Vec3 Object3D::GetWorldForward() {
    Vec3 ahead;
    LocalToWorld(ahead, Vec3{0.0f, 0.0f, 1.0f});
    const Vec3 origin = GetWorldPosition();
    return Vec3Normalize(Vec3{ahead.x - origin.x, ahead.y - origin.y, ahead.z - origin.z});
}

void Object3D::AddPositionKey(float time, const Vec3& value, uint32_t kind, float c0, float c1, float c2,
                              float c3) {
    tracks[kTrackPosition].SetKey(time, value.x, kind, c0, c1, c2, c3);
    tracks[kTrackPosition + 1].SetKey(time, value.y, kind, c0, c1, c2, c3);
    tracks[kTrackPosition + 2].SetKey(time, value.z, kind, c0, c1, c2, c3);
}

void Object3D::AddRotationKey(float time, const Quaternion& rotation) {
    rotationTrack.SetKey(time, rotation);
}

void Object3D::ClearTracks() {
    for (KeyTrack& track : tracks)
        EmptyTrack(track);
}

void Object3D::ApplyTracks() {
    const float t = GetMotionTime();
    auto keyed = [this](int first) {
        return tracks[first].keyCount > 0 || tracks[first + 1].keyCount > 0 || tracks[first + 2].keyCount > 0;
    };
    auto evaluate = [this, t](int first) {
        const float z = tracks[first + 2].Evaluate(t);
        const float y = tracks[first + 1].Evaluate(t);
        const float x = tracks[first].Evaluate(t);
        return Vec3{x, y, z};
    };
    if (keyed(kTrackPosition))
        SetPosition(evaluate(kTrackPosition));
    if (keyed(kTrackEuler))
        SetRotation(evaluate(kTrackEuler));
    if (keyed(kTrackScale))
        SetScale(evaluate(kTrackScale));
    if (rotationTrack.keyCount > 0)
        SetQuaternion(rotationTrack.Sample(t));
    SetPivot(evaluate(kTrackPivot));
}

void Object3D::TakeTracks(const ModelNodeData& record) {
    bool any = false;
    float start = 0.0f;
    float end = 0.0f;
    for (int i = 0; i < kTrackCount; ++i) {
        const KeyTrack* source = record.tracks[size_t(i)].Get();
        if (source == nullptr) {
            // Archives always name a track; a record built by hand may not.
            EmptyTrack(tracks[i]);
            continue;
        }
        if (source->keyCount > 0) {
            const float first = source->keys[0].time;
            const float last = source->keys[source->keyCount - 1].time;
            start = any ? std::min(start, first) : first;
            end = any ? std::max(end, last) : last;
            any = true;
        }
        tracks[i].CopyFrom(*source);
    }
    keySpanStart = start;
    keySpanEnd = end;
    ApplyTracks();
}

void Object3D::AddController(const RefPtr<NodeController>& controller) {
    if (controller)
        controllers_.push_back(controller);
}

void Object3D::StepAnimation() {
    AdvanceMotionTime();
    Animate();
}

void Object3D::DrawHierarchy() {
    if (renderer)
        renderer->Lights().Clear();
    DrawTraversal();
}

Object3D* Object3D::ParentNode() const {
    return parent != nullptr ? static_cast<TaskObject*>(parent)->AsObject3D() : nullptr;
}

}  // namespace mareldon
