#include "game/bosses/Boss2LayerParts.h"

#include "game/bosses/Boss2Body.h"
#include "game/stage/Emitters.h"
#include "game/stage/GameWorldScreen.h"

namespace mareldon {

namespace {

constexpr const char* kSmall = "EXPLOSION_ita_SA01";
constexpr const char* kMedium = "EXPLOSION_ita_MA01";

using Op = Boss2Op;
static_assert(OpensWithSharedOps<Op>());

constexpr Boss2Action Emit(float radius, int32_t spawns, int32_t interval, int32_t volleys,
                           const char* effect, float direction, float spread, float speed, float speedRange,
                           float atZ = 0.0f) {
    return Boss2Action{
        Op::kEmit, {radius, spawns, interval, volleys, effect, direction, spread, speed, speedRange, atZ}};
}
constexpr Boss2Action Do(Op op) {
    return Boss2Action{op, {0.0f, 0, 0, 0, nullptr, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f}};
}

constexpr Boss2Action kBlast = Emit(1.0f, 4, 2, 10, kMedium, 90.0f, 16.0f, 0.1f, 0.05f);

const Boss2Step kLayer1[] = {
    {0, {Emit(1.0f, 4, 2, 10, kMedium, 90.0f, 16.0f, 0.1f, 0.05f, -2.0f), Do(Op::kSeRandom)}, 2},
    {30, {Do(Op::kSwap), Emit(0.5f, 1, 2, 360, kSmall, 90.0f, 1.0f, 0.15f, 0.04f, -2.0f), Do(Op::kSe4)}, 3},
    {180, {Do(Op::kBigBlast), Do(Op::kSe5)}, 2},
    {360, {Do(Op::kKill)}, 1},
};
const Boss2Step kLayer3[] = {
    {0, {Emit(1.5f, 2, 4, 30, kSmall, 0.0f, 0.0f, 0.0f, 0.0f), Do(Op::kSeRandom)}, 2},
    {30, {Emit(1.0f, 4, 2, 10, kMedium, 270.0f, 16.0f, 0.1f, 0.05f), Do(Op::kSe4), Do(Op::kDurability)}, 3},
};
const Boss2Step kLayer2[] = {
    {0, {Do(Op::kSeRandom)}, 1},
    {30, {Do(Op::kSwap), Do(Op::kSe4)}, 2},
};
// Layers 4 and 7.
const Boss2Step kSwapOnly[] = {
    {30, {Do(Op::kSwap), Do(Op::kSe4)}, 2},
};
const Boss2Step kBreak[] = {
    {0, {Do(Op::kDisarm), kBlast, Do(Op::kSeRandom)}, 3},
    {30, {Do(Op::kSwap), Do(Op::kSe4), Do(Op::kStop)}, 3},
};
const Boss2Step kBurn[] = {
    {0, {Do(Op::kDisarm), kBlast, Do(Op::kSeRandom)}, 3},
    {30,
     {Do(Op::kSwap), Emit(0.5f, 1, 2, 360, kSmall, 90.0f, 1.0f, 0.1f, 0.03f), Do(Op::kSe4), Do(Op::kStop)},
     4},
};

const HitSphereSpec kLayer2Spheres[] = {{{0.0f, 0.0f, 0.0f}, 1.5f}};
const HitSphereSpec kLayer3Spheres[] = {{{0.0f, 0.0f, 1.0f}, 1.5f}};
const HitSphereSpec kLayer4Spheres[] = {
    {{0.0f, 0.0f, 0.8f}, 1.0f}, {{1.6f, 0.0f, 0.2f}, 1.0f}, {{-1.6f, 0.0f, 0.2f}, 1.0f}};
const HitSphereSpec kPodSpheres[] = {{{0.0f, 0.0f, -0.5f}, 1.3f}};

const HitSphereSpec* SpheresOf(int32_t layer) {
    switch (layer) {
        case 2:
            return kLayer2Spheres;
        case 3:
            return kLayer3Spheres;
        case 4:
            return kLayer4Spheres;
        case 11:
        case 12:
        case 13:
        case 14:
            return kPodSpheres;
        default:
            return nullptr;
    }
}

int32_t SphereCountOf(int32_t layer) {
    if (layer == 4)
        return 3;
    return SpheresOf(layer) != nullptr ? 1 : 0;
}

template <size_t N>
constexpr int32_t Count(const Boss2Step (&)[N]) {
    return int32_t(N);
}

}  // namespace

int32_t Boss2SectionDepth(int32_t layer) {
    switch (layer) {
        case 1:
            return 1;
        case 2:
        case 4:
            return 2;
        case 3:
        case 7:
            return 3;
        case 11:
        case 12:
        case 13:
        case 14:
            return 4;
        default:
            return 0;
    }
}

void Boss2ActionRunner::Run(EventTimeline& timeline) {
    GameWorldScreen* world = part->world;
    const Boss2Action& action = *this->action;
    switch (action.op) {
        case Op::kEmit: {
            const Boss2Emitter& e = action.emitter;
            auto* emitter =
                new ExplosionEmitter(part, world, e.radius, e.spawnsPerVolley, e.interval, e.volleys,
                                     e.effect, e.direction, e.spread, e.speed, e.speedRange);
            if (e.atZ != 0.0f)
                emitter->SetPosition(Vec3{0.0f, 0.0f, e.atZ});
            break;
        }
        case Op::kSeRandom:
        case Op::kSe4:
        case Op::kSe5:
        case Op::kSwap:
            part->RunSharedAction(SharedSectionOp(action.op));
            break;
        case Op::kBigBlast:
            if (world != nullptr) {
                const Vec3 at = part->GetWorldPosition();
                TaskObject* effect =
                    world->SpawnEffect(at, Vec3{0.0f, 0.0f, 0.0f}, "EXPLOSION_BS01", Vec3{1.0f, 1.0f, 1.0f});
                if (Object3D* node = effect != nullptr ? effect->AsObject3D() : nullptr) {
                    const Vec3 p = node->GetPosition();
                    node->SetPosition(Vec3{p.x, p.y, p.z - 2.5f});
                }
            }
            break;
        case Op::kKill:
            TimelineKillCallback(*part, timeline);
            break;
        case Op::kDurability:
            part->durability = 0.0f;
            break;
        case Op::kStop:
            timeline.Stop();
            break;
        case Op::kDisarm:
            part->SetHittable(false);
            break;
    }
}

Boss2LayerPart::Boss2LayerPart(TaskObject* parentTask, NodeSpawnInfo& info, int32_t layerNumber)
    : BossSection(parentTask, info, AttachKind::kPlain, layerNumber, SpheresOf(layerNumber),
                  SphereCountOf(layerNumber)),
      layer(layerNumber) {
    body = FindAncestor<Boss2Body>(this, Boss2SectionDepth(layer), info.name);
    if (body != nullptr) {
        holder = body->Holder();
        body->RegisterPart(layer, this);
    }
    switch (layer) {
        case 1:
            destruction = AddSteps(kLayer1, Count(kLayer1));
            break;
        case 2:
            destruction = AddSteps(kLayer2, Count(kLayer2));
            break;
        case 3:
            destruction = AddSteps(kLayer3, Count(kLayer3));
            break;
        case 4:
        case 7:
            destruction = AddSteps(kSwapOnly, Count(kSwapOnly));
            break;
        default:
            breakLine = AddSteps(kBreak, Count(kBreak));
            burnLine = AddSteps(kBurn, Count(kBurn));
            break;
    }
    // The right gear starts a hair short of a full turn.
    if (layer == 4)
        angle = 359.99f;
}

Boss2LayerPart::~Boss2LayerPart() {
    DeleteChildren();
    if (body != nullptr)
        body->RegisterPart(layer, nullptr);
}

EventTimeline* Boss2LayerPart::AddSteps(const Boss2Step* steps, int32_t count) {
    auto* timeline = new EventTimeline(this);
    timeline->Stop();
    lines.push_back(timeline);
    AddSectionSteps(*timeline, this, steps, count, runners);
    return timeline;
}

void Boss2LayerPart::OnUpdatePre() {
    const int32_t frame = GetStepCount();
    const float fed = float(frame - lastFrame);
    for (EventTimeline* timeline : lines)
        timeline->AddTime(fed);
    lastFrame = frame;
    if (turning != 0) {
        angle = tracker.Update(180.0f, angle);
        SetRotation(Vec3{0.0f, 0.0f, angle * kBossRadiansPerDegree});
    }
    // The hit spheres.
    BossSection::OnUpdatePre();
}

void Boss2LayerPart::OnDamaged(float damage, uint32_t playerMask) {
    (void)playerMask;
    if (body != nullptr)
        body->AddDamage(layer, damage);
}

void Boss2LayerPart::StartTimeline(int32_t k) {
    EventTimeline* timeline = k == 0 ? breakLine : k == 1 ? burnLine : nullptr;
    if (timeline != nullptr)
        timeline->Start();
}

void Boss2LayerPart::StartDestruction() {
    if (destruction != nullptr)
        destruction->Start();
    if (layer == 3)
        SetHittable(false);
}

}  // namespace mareldon
