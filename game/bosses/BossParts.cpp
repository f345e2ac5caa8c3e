#include "game/bosses/BossParts.h"

#include <cmath>
#include <string>
#include <unordered_set>

#include "engine/render/draw/Renderer.h"
#include "engine/render/scene/MeshObject.h"
#include "game/stage/Emitters.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

bool BindNamedModel(ClockNode& node, const String& modelName) {
    if (!node.renderer)
        return false;
    if (!node.renderer->HasModel(modelName)) {
        static std::unordered_set<std::string> warned;
        if (warned.insert(modelName.Text()).second)
            LOG_WARN("boss", "model \"%s\" is missing; the parts stand without it", modelName.Text());
        return false;
    }
    node.BindMotion(node.renderer->FindModel(modelName));
    return true;
}

WorldEventLog* BossLog(GameWorldScreen* world) {
    return world != nullptr ? world->GetEventLog() : nullptr;
}

// ---------------------------------------------------------------------------------------

BrokenModelHolder::BrokenModelHolder(TaskObject* parentTask, const String& modelName, int32_t slotCount)
    : StaticModelPart(parentTask), slots(size_t(slotCount > 0 ? slotCount : 0), nullptr) {
    prefix = modelName;
    prefix.Append(":Layer");
    SetDrawSelf(false);
    SetDrawChildren(false);
    nodeDrawSelf = 0;
    nodeChildren = 0;
    // Bound here, not in the base: the layer hook below must be this class's.
    BindNamedModel(*this, modelName);
}

Object3D* BrokenModelHolder::CreateLayerObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                               const String& name, const RefPtr<RenderBatch>& drawSet,
                                               const std::vector<ParamTrack>* params) {
    const int32_t length = prefix.Length();
    if (int32_t(name.Length()) <= length || std::string(name.Text(), size_t(length)) != prefix.Text())
        return nullptr;
    const char* digits = name.Text() + length;
    // Decimal without leading zeros.
    if (digits[0] == '0' && digits[1] != '\0')
        return nullptr;
    int32_t index = 0;
    for (const char* c = digits; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9' || index > 1000)
            return nullptr;
        index = index * 10 + (*c - '0');
    }
    if (index >= SlotCount() || slots[size_t(index)] != nullptr)
        return nullptr;
    MeshObject* mesh = new MeshObject(parentNode, record, drawSet, params);
    slots[size_t(index)] = mesh;
    return mesh;
}

MeshObject* BrokenModelHolder::Slot(int32_t index) const {
    return index >= 0 && index < SlotCount() ? slots[size_t(index)] : nullptr;
}

// ---------------------------------------------------------------------------------------

BossPattern::BossPattern(TaskObject* parentTask, GameWorldScreen* ownerScreen, const char* label)
    : ShotPatternBase(parentTask, ownerScreen), label(label) {}

void BossPattern::Restart() {
    if (WorldEventLog* log = BossLog(OwnerScreen()))
        log->Record("BossPatternStart", label);
    SetFiring(false);
    SetFiring(true);
}

void BossPattern::Stop() {
    if (WorldEventLog* log = BossLog(OwnerScreen()))
        log->Record("BossPatternStop", label);
    SetFiring(false);
}

void BossPattern::FireRadians(const Vec3& from, float angle, float speed, int32_t sprite, float size) {
    if (OwnerScreen() == nullptr)
        return;
    const Vec3 velocity{-std::cos(angle) * speed, 0.0f, -std::sin(angle) * speed};
    OwnerScreen()->FireEnemyBullet(from, velocity, sprite, size);
}

void BossPattern::FireBearing(const Vec3& from, float degrees, float speed, int32_t sprite, float size) {
    if (OwnerScreen() == nullptr)
        return;
    Vec3 velocity;
    AngleToDirection(velocity, ConvertAngleConvention(degrees), speed);
    OwnerScreen()->FireEnemyBullet(from, velocity, sprite, size);
}

float BossPattern::ForwardAngle() {
    const Vec3 forward = GetWorldForward();
    return std::atan2(forward.z, forward.x);
}

float BossPattern::AimAtPlayer() {
    const Vec3 at = GetWorldPosition();
    return AngleToNearestPlayer(at.x, at.y, at.z);
}

void BossPattern::PlaceAt(const Vec3& offset) {
    Vec3 pivot{0.0f, 0.0f, 0.0f};
    if (Object3D* node = ParentNode())
        pivot = node->GetPivot();
    SetPosition(Vec3{pivot.x + offset.x, pivot.y + offset.y, pivot.z + offset.z});
}

void SwitchPatternIn(BossPattern* const* patterns, int32_t count, int32_t k) {
    if (k < 0 || k / 2 >= count)
        return;
    BossPattern* pattern = patterns[k / 2];
    if (pattern == nullptr)
        return;
    if (k % 2 == 0)
        pattern->Restart();
    else
        pattern->Stop();
}

// ---------------------------------------------------------------------------------------

BossWeaponModel::BossWeaponModel(TaskObject* parentTask, GameWorldScreen* ownerScreen, const char* modelName,
                                 const Vec3& placeOffset, bool turning)
    : StaticModelPart(parentTask), offset(placeOffset) {
    screen = ownerScreen;
    BindNamedModel(*this, String(modelName));
    if (turning)
        tracker = new AngleTracker(10.0f, 2.0f, 6.0f);
    Vec3 pivot{0.0f, 0.0f, 0.0f};
    if (Object3D* node = ParentNode())
        pivot = node->GetPivot();
    SetPosition(Vec3{pivot.x + offset.x, pivot.y + offset.y, pivot.z + offset.z});
}

BossWeaponModel::~BossWeaponModel() {
    DeleteChildren();
    delete tracker;
}

void BossWeaponModel::AddPattern(BossPattern* pattern) {
    if (patternCount < kMaxPatterns)
        patterns[patternCount++] = pattern;
}

void BossWeaponModel::OnUpdatePre() {
    Vec3 pivot{0.0f, 0.0f, 0.0f};
    if (Object3D* node = ParentNode())
        pivot = node->GetPivot();
    SetPosition(Vec3{pivot.x + offset.x, pivot.y + offset.y, pivot.z + offset.z});
    if (tracker == nullptr || patternCount == 0 || patterns[0] == nullptr)
        return;
    const Vec3 at = GetWorldPosition();
    const float target = patterns[0]->AngleFromNearestPlayer(at.x, at.y, at.z);
    angle = tracker->Update(target, angle);
    SetRotation(Vec3{0.0f, angle * kBossRadiansPerDegree, 0.0f});
}

// ---------------------------------------------------------------------------------------

static_assert(OpensWithSharedOps<SequenceOp>());

void SequenceRunner::Run(EventTimeline& timeline) {
    const SequenceAction& action = *this->action;
    GameWorldScreen* world = section->world;
    switch (action.op) {
        case SequenceOp::kEmit:
            section->Emit(action.emitter);
            break;
        case SequenceOp::kSeRandom:
        case SequenceOp::kSe4:
        case SequenceOp::kSe5:
        case SequenceOp::kSwap:
            section->RunSharedAction(SharedSectionOp(action.op));
            break;
        case SequenceOp::kBigBlast:
            if (world != nullptr) {
                const Vec3 at = section->GetWorldPosition();
                TaskObject* effect =
                    world->SpawnEffect(at, Vec3{0.0f, 0.0f, 0.0f}, "EXPLOSION_BS01", Vec3{1.0f, 1.0f, 1.0f});
                if (Object3D* node = effect != nullptr ? effect->AsObject3D() : nullptr) {
                    const Vec3 p = node->GetPosition();
                    node->SetPosition(Vec3{p.x, p.y, p.z - 1.0f});
                }
            }
            break;
        case SequenceOp::kEnd:
        case SequenceOp::kKill:
            TimelineKillCallback(*section, timeline);
            break;
        case SequenceOp::kStop:
            timeline.Stop();
            break;
        case SequenceOp::kDurability:
            section->durability = 0.0f;
            break;
    }
}

BossSection::BossSection(TaskObject* parentTask, NodeSpawnInfo& info, AttachKind kind, int32_t slotIndex,
                         const HitSphereSpec* sphereTable, int32_t count)
    : EnemySubPart(parentTask, info, kDurability, kind),
      slot(slotIndex),
      spheres(sphereTable),
      sphereCount(count) {
    hittable = 0;
}

BossSection::~BossSection() {
    // The weapons and timelines below go while this part is whole.
    DeleteChildren();
}

EventTimeline* BossSection::AddSequence(const SequenceStep* steps, int32_t count) {
    EventTimeline* timeline = new EventTimeline(this);
    timelines.push_back(timeline);
    AddSectionSteps(*timeline, this, steps, count, runners);
    return timeline;
}

void BossSection::OnUpdatePre() {
    const int32_t frame = GetStepCount();
    const float fed = float(frame - lastFrame);
    for (EventTimeline* timeline : timelines)
        timeline->AddTime(fed);
    lastFrame = frame;
    if (hittable == 0)
        return;
    const Vec3 at = GetWorldPosition();
    for (int32_t i = 0; i < sphereCount; ++i) {
        const HitSphereSpec& s = spheres[i];
        RegisterHitSphere(Vec3{at.x + s.offset.x, at.y + s.offset.y, at.z + s.offset.z}, s.radius);
    }
}

void BossSection::SetHittable(bool on) {
    const uint8_t value = on ? 1 : 0;
    if (hittable == value)
        return;
    hittable = value;
    if (WorldEventLog* log = BossLog(world))
        log->RecordFormat("BossHittable", "%s %d", name.Text(), int(value));
}

void BossSection::TakeBrokenMesh() {
    MeshObject* broken = holder != nullptr ? holder->Slot(slot) : nullptr;
    if (broken == nullptr)
        return;
    TakeMeshOf(*broken);
}

void BossSection::RunSharedAction(SharedSectionOp op) {
    switch (op) {
        case SharedSectionOp::kEmit:
            break;
        case SharedSectionOp::kSeRandom:
            if (world != nullptr)
                world->PlayExplosionSeRandom();
            break;
        case SharedSectionOp::kSe4:
            if (world != nullptr)
                world->PlayExplosionSe4();
            break;
        case SharedSectionOp::kSe5:
            if (world != nullptr)
                world->PlayExplosionSe5();
            break;
        case SharedSectionOp::kSwap:
            TakeBrokenMesh();
            break;
    }
}

void BossSection::Emit(const EmitterSpec& spec) {
    new ExplosionEmitter(this, world, spec.radius, spec.spawnsPerVolley, spec.interval, spec.volleys,
                         spec.effect, 270.0f, spec.yawSpread, 0.1f, spec.speedSpread);
}

void HoldPose(Object3D& node) {
    const Vec3 position = node.GetPosition();
    const Vec3 rotation = node.GetRotation();
    const Vec3 scale = node.GetScale();
    const Vec3 pivot = node.GetPivot();
    node.ClearTracks();
    node.rotationTrack.CopyFrom(RotationTrack());
    node.SetPosition(position);
    node.SetRotation(rotation);
    node.SetScale(scale);
    node.SetPivot(pivot);
}

}  // namespace mareldon
