#include "game/bosses/Boss4LayerParts.h"

#include <cmath>

#include "engine/render/draw/Renderer.h"
#include "game/bosses/Boss4Body.h"
#include "game/bosses/Boss4Head.h"
#include "game/stage/EffectModel.h"
#include "game/stage/Emitters.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

using Op = Boss4Op;
static_assert(OpensWithSharedOps<Op>());

constexpr const char* kSmall = "EXPLOSION_ita_SA01";
constexpr const char* kMedium = "EXPLOSION_ita_MA01";
constexpr const char* kLarge = "EXPLOSION_ita_LA01";

constexpr Boss4Action Do(int32_t frame, Op op) {
    return Boss4Action{frame, op, {}};
}
constexpr Boss4Action EmitAt(int32_t frame, const Boss4Emit& emit) {
    return Boss4Action{frame, Op::kEmit, emit};
}

const HitSphereSpec kWeakPointSpheres[] = {{{0.0f, 0.0f, 0.0f}, 2.5f}, {{0.0f, 0.0f, 3.5f}, 2.0f}};
const HitSphereSpec kPlateSpheres[] = {{{0.0f, 0.0f, 0.0f}, 1.0f}};
const HitSphereSpec kHeadWeakPointSpheres[] = {{{0.0f, 0.0f, 0.0f}, 1.5f},
                                               {{-2.5f, 0.0f, 2.0f}, 1.8f},
                                               {{2.5f, 0.0f, 2.0f}, 1.8f},
                                               {{0.0f, 0.0f, 1.5f}, 1.0f}};

const Boss4Action kWeakPointDestruction[] = {
    Do(10, Op::kSwap),
    Do(10, Op::kSeRandom),
    EmitAt(60, {2.5f, 2, 1, 2, kLarge, 0.0f, 0.0f, 0.0f, 0.0f, {0.0f, 0.0f, -4.0f}}),
    Do(60, Op::kSe4),
    Do(70, Op::kKill),
};

const Boss4Action kJawDestruction[] = {
    EmitAt(0, {4.0f, 1, 2, 90, kSmall, 0.0f, 0.0f, 0.0f, 0.0f, {0.0f, 0.0f, 4.0f}}),
    Do(0, Op::kSeRandom),
    EmitAt(150, {3.0f, 2, 1, 2, kMedium, 0.0f, 0.0f, 0.0f, 0.0f, {5.0f, 0.0f, 1.0f}}),
    EmitAt(150, {3.0f, 2, 1, 2, kMedium, 0.0f, 0.0f, 0.0f, 0.0f, {-5.0f, 0.0f, 1.0f}}),
    Do(150, Op::kSeRandom),
    Do(180, Op::kSwap),
    Do(180, Op::kSeRandom),
    EmitAt(270, {2.0f, 8, 1, 4, kMedium, 90.0f, 15.0f, 0.08f, 0.05f, {0.0f, 0.0f, 3.0f}}),
    Do(270, Op::kSe4),
    Do(300, Op::kKill),
};

// The plates' blast direction and where it starts, layers 3 to 8.
struct PlateBlast {
    float angle;
    Vec3 offset;
};
const PlateBlast kPlateBlasts[6] = {
    {40.0f, {-1.5f, 0.0f, -0.5f}}, {350.0f, {-1.5f, 0.0f, 0.2f}}, {320.0f, {-1.5f, 0.0f, 0.4f}},
    {140.0f, {1.5f, 0.0f, -0.5f}}, {190.0f, {1.5f, 0.0f, 0.2f}},  {220.0f, {1.5f, 0.0f, 0.4f}},
};

}  // namespace

// ---- actions -------------------------------------------------------------------------------

void Boss4ActionRunner::Run(EventTimeline& timeline) {
    static const char* const kNames[] = {"emit", "se",   "se4",   "se5",  "swap", "kill",
                                         "stop", "ring", "blast", "hide", "clear"};
    GameWorldScreen* world = part->world;
    if (WorldEventLog* log = BossLog(world))
        log->RecordFormat("BossEvent", "L%d.%s %d", int(part->layer), kNames[int(action.op)],
                          int(action.frame));
    switch (action.op) {
        case Op::kEmit:
            part->Emit(action.emit);
            break;
        case Op::kSeRandom:
        case Op::kSe4:
        case Op::kSe5:
        case Op::kSwap:
            part->RunSharedAction(SharedSectionOp(action.op));
            break;
        case Op::kKill:
            TimelineKillCallback(*part, timeline);
            break;
        case Op::kStop:
            timeline.Stop();
            break;
        case Op::kRingBurst:
            part->RingBurst();
            break;
        case Op::kBigBlasts:
            part->HeadEffect("EXPLOSION_BS01", Vec3{0.0f, 0.0f, 3.5f});
            part->HeadEffect("EXPLOSION_BS01", Vec3{0.0f, 0.0f, 3.5f});
            if (world != nullptr)
                world->PlayExplosionSe5();
            break;
        case Op::kHide:
            part->Hide();
            part->HeadEffect("EXPLOSION_S4BOSS", Vec3{0.0f, 0.0f, 3.5f});
            if (world != nullptr)
                world->PlayExplosionSe4();
            break;
        case Op::kStageClear:
            part->durability = 0.0f;
            if (world != nullptr)
                world->BeginStageClear();
            timeline.Stop();
            break;
    }
}

// ---- the part base -------------------------------------------------------------------------

Boss4LayerPart::Boss4LayerPart(TaskObject* parentTask, NodeSpawnInfo& info, AttachKind kind,
                               int32_t layerNumber, const HitSphereSpec* spheres, int32_t sphereCount)
    // Layers 1 and 2 share the broken model's child 1.
    : BossSection(parentTask, info, kind, layerNumber == 2 ? 1 : layerNumber, spheres, sphereCount),
      layer(layerNumber) {
    destruction = AddSequence(nullptr, 0);
}

Boss4LayerPart::~Boss4LayerPart() {
    DeleteChildren();
    if (body != nullptr && body->Part(layer) == this)
        body->RegisterPart(layer, nullptr);
    if (head != nullptr && head->WeakPoint() == this)
        head->RegisterWeakPoint(nullptr);
}

void Boss4LayerPart::AddActions(const Boss4Action* actions, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        AddSectionAction(*destruction, actions[i].frame, this, actions[i], actionRunners);
}

void Boss4LayerPart::OnDamaged(float damage, uint32_t playerMask) {
    (void)playerMask;
    if (layer == 25) {
        if (head != nullptr)
            head->AddDamage(damage);
    } else if (body != nullptr) {
        body->AddPartDamage(layer, damage);
    }
}

void Boss4LayerPart::StartDestruction() {
    destruction->Start();
}

void Boss4LayerPart::Emit(const Boss4Emit& emit) {
    auto* emitter =
        new ExplosionEmitter(this, world, emit.radius, emit.spawnsPerVolley, emit.interval, emit.volleys,
                             emit.effect, emit.yaw, emit.yawSpread, emit.speed, emit.speedSpread);
    const Vec3 at = emitter->GetPosition();
    emitter->SetPosition(Vec3{at.x + emit.offset.x, at.y + emit.offset.y, at.z + emit.offset.z});
}

void Boss4LayerPart::RingBurst() {
    if (world == nullptr)
        return;
    Random& random = world->GetRandom();
    float angle = random.Range(0.0f, 360.0f);
    const float angleStep = random.Range(-12.0f, 12.0f);
    float speed = random.Range(0.03f, 0.15f);
    const float speedStep = random.Range(0.003f, 0.02f);
    const Vec3 at = GetWorldPosition();
    const Vec3 from{at.x, at.y, at.z + 2.0f};
    for (int32_t i = 0; i < 12; ++i) {
        const float a = angle * kBossRadiansPerDegree;
        world->SpawnEffect(from, Vec3{std::cos(a) * speed, 0.0f, std::sin(a) * speed}, kMedium,
                           Vec3{1.0f, 1.0f, 1.0f});
        angle += angleStep;
        speed += speedStep;
    }
}

void Boss4LayerPart::Hide() {
    SetDrawSelf(false);
    // The sweep sets draw-self from the window each step; the mesh flag keeps the mesh
    // off while the part runs its destruction to the end.
    visible = 0;
}

void Boss4LayerPart::HeadEffect(const char* effect, const Vec3& at) {
    // An effect object binds the archive's first model for a missing name.
    if (!renderer || !renderer->HasModel(String(effect))) {
        static bool warned = false;
        if (!warned)
            LOG_WARN("boss", "effect model \"%s\" is missing; the head's blast is left out", effect);
        warned = true;
        return;
    }
    TaskObject* parentTask =
        head != nullptr ? static_cast<TaskObject*>(head) : static_cast<TaskObject*>(parent);
    new EffectObject(parentTask, world, at, Vec3{0.0f, 0.0f, 0.0f}, 0.0f, Vec3{1.0f, 1.0f, 1.0f}, 0,
                     String(effect));
}

// ---- the parts -----------------------------------------------------------------------------

Boss4LayerPart1::Boss4LayerPart1(TaskObject* parentTask, NodeSpawnInfo& info)
    : Boss4LayerPart(parentTask, info, AttachKind::kPlain, 1, nullptr, 0) {
    body = FindAncestor<Boss4Body>(this, 1, info.name);
    if (body != nullptr) {
        holder = body->Holder();
        body->RegisterPart(1, this);
    }
    AddActions(kJawDestruction, int32_t(sizeof kJawDestruction / sizeof kJawDestruction[0]));
}

Boss4LayerPart2::Boss4LayerPart2(TaskObject* parentTask, NodeSpawnInfo& info)
    : Boss4LayerPart(parentTask, info, AttachKind::kPlain, 2, kWeakPointSpheres, 2) {
    body = FindAncestor<Boss4Body>(this, 2, info.name);
    if (body != nullptr) {
        holder = body->Holder();
        body->RegisterPart(2, this);
    }
    AddActions(kWeakPointDestruction,
               int32_t(sizeof kWeakPointDestruction / sizeof kWeakPointDestruction[0]));
}

Boss4Plate::Boss4Plate(TaskObject* parentTask, NodeSpawnInfo& info, int32_t layerNumber)
    : Boss4LayerPart(parentTask, info, AttachKind::kUnderFrameNode, layerNumber, kPlateSpheres, 1) {
    body = FindAncestor<Boss4Body>(this, 3, info.name);
    if (body != nullptr) {
        holder = body->Holder();
        body->RegisterPart(layer, this);
    }
    const PlateBlast& blast = kPlateBlasts[layer - 3];
    const Boss4Action actions[] = {
        EmitAt(0, {1.5f, 1, 1, 16, kSmall, 0.0f, 0.0f, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f}}),
        EmitAt(0, {2.0f, 1, 2, 30, kSmall, 0.0f, 0.0f, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f}}),
        Do(0, Op::kSeRandom),
        EmitAt(120, {1.0f, 4, 1, 8, kSmall, blast.angle, 15.0f, 0.12f, 0.06f, blast.offset}),
        Do(120, Op::kSeRandom),
        Do(130, Op::kSe4),
        Do(130, Op::kSwap),
        Do(130, Op::kStop),
    };
    AddActions(actions, int32_t(sizeof actions / sizeof actions[0]));
}

Boss4LayerPart25::Boss4LayerPart25(TaskObject* parentTask, NodeSpawnInfo& info)
    : Boss4LayerPart(parentTask, info, AttachKind::kPlain, 25, kHeadWeakPointSpheres, 4) {
    head = FindAncestor<Boss4LayerPart23>(this, 1, info.name);
    if (head != nullptr) {
        holder = head->Root() != nullptr ? head->Root()->koware : nullptr;
        head->RegisterWeakPoint(this);
    }
    const Boss4Action fixed[] = {
        EmitAt(180, {2.5f, 5, 2, 8, kMedium, 270.0f, 40.0f, 0.11f, 0.04f, {0.0f, 0.0f, 2.5f}}),
        Do(180, Op::kSeRandom),
        EmitAt(210, {2.0f, 6, 2, 16, kMedium, 270.0f, 15.0f, 0.15f, 0.07f, {0.0f, 0.0f, 3.5f}}),
        Do(210, Op::kSeRandom),
        EmitAt(270, {1.0f, 3, 1, 180, kSmall, 270.0f, 10.0f, 0.15f, 0.1f, {0.0f, 0.0f, 2.5f}}),
        Do(270, Op::kSeRandom),
    };
    AddActions(fixed, int32_t(sizeof fixed / sizeof fixed[0]));
    // Drawn once, now, from the world's generator.
    int32_t t = 360;
    for (int32_t i = 0; i < kRingBursts; ++i) {
        const float step = world != nullptr ? world->GetRandom().Range(10.0f, 20.0f) : 10.0f;
        t += int32_t(step);
        ringFrames[i] = t;
        const Boss4Action ring = Do(t, Op::kRingBurst);
        AddActions(&ring, 1);
    }
    clearFrame = t + 270;
    const Boss4Action tail[] = {
        Do(t + 30, Op::kBigBlasts),
        EmitAt(t + 180, {2.0f, 8, 2, 4, kMedium, 0.0f, 360.0f, 0.07f, 0.015f, {0.0f, 0.0f, 2.0f}}),
        Do(t + 180, Op::kSeRandom),
        Do(t + 195, Op::kHide),
        Do(clearFrame, Op::kStageClear),
    };
    AddActions(tail, int32_t(sizeof tail / sizeof tail[0]));
}

}  // namespace mareldon
