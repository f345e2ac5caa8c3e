#include "game/bosses/Boss3LayerParts.h"

#include <cmath>

#include "game/bosses/Boss3Body.h"
#include "game/stage/Emitters.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StaticModelRoot.h"

namespace mareldon {

namespace {

constexpr const char* kSmall = "EXPLOSION_ita_SA01";
constexpr const char* kMedium = "EXPLOSION_ita_MA01";
constexpr const char* kLarge = "EXPLOSION_ita_LA01";

// The emitter presets of the death timelines.
const Boss3Emitter kX1 = {3.5f, 1, 1, 120, kSmall, 0.0f, 0.0f, 0.0f, 0.0f};
const Boss3Emitter kX2 = {2.0f, 8, 2, 10, kMedium, 0.0f, 360.0f, 0.08f, 0.01f};
const Boss3Emitter kX3 = {1.5f, 8, 1, 10, kLarge, 270.0f, 4.0f, 0.08f, 0.07f};
const Boss3Emitter kX4 = {3.0f, 2, 4, 2, kLarge, 0.0f, 0.0f, 0.0f, 0.0f};
const Boss3Emitter kX5 = {3.0f, 1, 2, 20, kSmall, 0.0f, 0.0f, 0.0f, 0.0f};
const Boss3Emitter kX6 = {3.0f, 2, 2, 2, kMedium, 0.0f, 0.0f, 0.0f, 0.0f};
const Boss3Emitter kX7 = {1.5f, 2, 4, 10, kSmall, 0.0f, 0.0f, 0.0f, 0.0f};
const Boss3Emitter kX8 = {1.5f, 4, 2, 10, kMedium, 0.0f, 16.0f, 0.1f, 0.05f};
const Boss3Emitter kX9 = {1.5f, 1, 1, 10, kMedium, 0.0f, 0.0f, 0.0f, 0.0f};
const Boss3Emitter kX10 = {2.0f, 1, 2, 20, kSmall, 0.0f, 0.0f, 0.0f, 0.0f};
const Boss3Emitter kX11 = {1.5f, 1, 1, 10, kMedium, 0.0f, 360.0f, 0.1f, 0.02f};
const Boss3Emitter kX12 = {1.5f, 1, 1, 40, kSmall, 0.0f, 0.0f, 0.0f, 0.0f};
const Boss3Emitter kX13 = {1.0f, 4, 2, 10, kMedium, 0.0f, 16.0f, 0.1f, 0.05f};
const Boss3Emitter kX14 = {1.5f, 1, 1, 135, kSmall, 0.0f, 0.0f, 0.0f, 0.0f};

using Op = Boss3Op;
static_assert(OpensWithSharedOps<Op>());

constexpr Boss3Action Do(Op op) {
    return Boss3Action{op, nullptr, {0.0f, 0.0f, 0.0f}, false, 0.0f};
}
constexpr Boss3Action Emit(const Boss3Emitter& e, Vec3 offset = {0.0f, 0.0f, 0.0f}) {
    return Boss3Action{Op::kEmit, &e, offset, false, 0.0f};
}
constexpr Boss3Action EmitAt(const Boss3Emitter& e, float angle, Vec3 offset) {
    return Boss3Action{Op::kEmit, &e, offset, true, angle};
}

const Boss3Step kCoreDeath[] = {
    {0, {Emit(kX1), Do(Op::kSe4)}, 2},           {60, {Do(Op::kSwap), Do(Op::kSeRandom)}, 2},
    {570, {Emit(kX2), Do(Op::kSeRandom)}, 2},    {600, {Emit(kX3), Do(Op::kSe4)}, 2},
    {630, {Do(Op::kBigBlast), Do(Op::kSe5)}, 2}, {840, {Do(Op::kKill)}, 1},
};

const Boss3Step kLayer6Death[] = {
    {800, {Do(Op::kDurability)}, 1},
};

const Boss3Step kGunDeath[] = {
    {0, {Emit(kX4), Do(Op::kSeRandom)}, 2},
    {60, {Emit(kX5), Do(Op::kSeRandom)}, 2},
    {120, {Emit(kX6), Do(Op::kSe4)}, 2},
    {150, {Do(Op::kKill)}, 1},
};

// Legs: Layer3 and Layer16 on the left (x - 1, blast at 0), Layer4 and Layer17 on the right.
const Boss3Step kLegDeath[2][4] = {
    {{0, {Emit(kX7, {-1.0f, 0.0f, 0.0f}), Do(Op::kSeRandom)}, 2},
     {60, {Do(Op::kSwap), Do(Op::kSeRandom)}, 2},
     {120, {EmitAt(kX8, 0.0f, {-1.0f, 0.0f, 0.0f}), Do(Op::kSe4)}, 2},
     {130, {Do(Op::kKill)}, 1}},
    {{0, {Emit(kX7, {1.0f, 0.0f, 0.0f}), Do(Op::kSeRandom)}, 2},
     {60, {Do(Op::kSwap), Do(Op::kSeRandom)}, 2},
     {120, {EmitAt(kX8, 180.0f, {1.0f, 0.0f, 0.0f}), Do(Op::kSe4)}, 2},
     {130, {Do(Op::kKill)}, 1}},
};
const Boss3Step kRearLegDeath[2][4] = {
    {{0, {Emit(kX7, {-1.0f, 0.0f, 0.0f}), Do(Op::kSeRandom), Do(Op::kNotHittable)}, 3},
     {60, {Do(Op::kSwap), Do(Op::kSeRandom)}, 2},
     {120, {EmitAt(kX8, 0.0f, {-1.0f, 0.0f, 0.0f}), Do(Op::kSe4)}, 2},
     {130, {Do(Op::kKill)}, 1}},
    {{0, {Emit(kX7, {1.0f, 0.0f, 0.0f}), Do(Op::kSeRandom), Do(Op::kNotHittable)}, 3},
     {60, {Do(Op::kSwap), Do(Op::kSeRandom)}, 2},
     {120, {EmitAt(kX8, 180.0f, {1.0f, 0.0f, 0.0f}), Do(Op::kSe4)}, 2},
     {130, {Do(Op::kKill)}, 1}},
};

const Boss3Step kKasaDeath[] = {
    {0, {Emit(kX9), Do(Op::kSeRandom)}, 2},
    {30, {Emit(kX10), Do(Op::kSeRandom), Do(Op::kSwap)}, 3},
    {150, {Emit(kX11), Do(Op::kSeRandom)}, 2},
    {180, {Do(Op::kFan)}, 1},
};

// Layers 5, 20, 19, 21.
const Boss3Step kPlateDeath[4][2] = {
    {{0, {Emit(kX12, {0.0f, 0.0f, 1.0f}), Do(Op::kSeRandom), Do(Op::kBroken)}, 3},
     {50, {EmitAt(kX13, 315.0f, {0.0f, 0.0f, 1.0f}), Do(Op::kSwap), Do(Op::kSe4), Do(Op::kStop)}, 4}},
    {{0, {Emit(kX12, {0.0f, 0.0f, -0.5f}), Do(Op::kSeRandom), Do(Op::kBroken)}, 3},
     {50, {EmitAt(kX13, 225.0f, {0.0f, 0.0f, -0.5f}), Do(Op::kSwap), Do(Op::kSe4), Do(Op::kStop)}, 4}},
    {{0, {Emit(kX12, {0.0f, 0.0f, -0.5f}), Do(Op::kSeRandom), Do(Op::kBroken)}, 3},
     {50, {EmitAt(kX13, 45.0f, {0.0f, 0.0f, -0.5f}), Do(Op::kSwap), Do(Op::kSe4), Do(Op::kStop)}, 4}},
    {{0, {Emit(kX14, {0.0f, 0.0f, -0.5f}), Do(Op::kSeRandom), Do(Op::kBroken)}, 3},
     {50, {EmitAt(kX13, 135.0f, {0.0f, 0.0f, -0.5f}), Do(Op::kSwap), Do(Op::kSe4), Do(Op::kStop)}, 4}},
};

constexpr int8_t kNone = -1;
constexpr int8_t M(Boss3Meter meter) {
    return int8_t(meter);
}
using Mo = Boss3Motion;
using Meter = Boss3Meter;

const Boss3SectionRow kSections[] = {
    {0,
     kBoss3Core,
     1,
     false,
     {{0.0f, 0.0f, 0.0f}, 3.5f},
     kBoss3CoreMeter,
     true,
     kCoreDeath,
     6,
     Mo::kTurn,
     false,
     0.0f},
    {6,
     kBoss3Layer6,
     1,
     false,
     {{0.0f, 0.0f, 0.0f}, 0.0f},
     kBoss3CoreMeter,
     false,
     kLayer6Death,
     1,
     Mo::kNone,
     false,
     0.0f},
    {2,
     kBoss3Layer2,
     2,
     false,
     {{0.0f, 0.0f, 0.0f}, 0.0f},
     kNone,
     false,
     nullptr,
     0,
     Mo::kApproach,
     false,
     0.0f},
    {11,
     kBoss3Layer11,
     2,
     false,
     {{0.5f, 0.0f, 0.8f}, 1.0f},
     M(Meter::kH),
     false,
     kGunDeath,
     4,
     Mo::kNone,
     false,
     0.0f},
    {12,
     kBoss3Layer12,
     2,
     false,
     {{-0.5f, 0.0f, 0.8f}, 1.0f},
     M(Meter::kH),
     false,
     kGunDeath,
     4,
     Mo::kNone,
     false,
     0.0f},
    {3,
     kBoss3Layer3,
     2,
     false,
     {{0.0f, 0.0f, 0.0f}, 0.0f},
     kNone,
     false,
     kLegDeath[0],
     4,
     Mo::kWobble,
     false,
     0.0f},
    {4,
     kBoss3Layer4,
     2,
     false,
     {{0.0f, 0.0f, 0.0f}, 0.0f},
     kNone,
     false,
     kLegDeath[1],
     4,
     Mo::kWobble,
     false,
     0.0f},
    {16,
     kBoss3Layer16,
     3,
     false,
     {{0.0f, 0.0f, 0.0f}, 1.0f},
     M(Meter::kG),
     true,
     kRearLegDeath[0],
     4,
     Mo::kNone,
     false,
     0.0f},
    {17,
     kBoss3Layer17,
     3,
     false,
     {{0.0f, 0.0f, 0.0f}, 1.0f},
     M(Meter::kH),
     true,
     kRearLegDeath[1],
     4,
     Mo::kNone,
     false,
     0.0f},
    {13,
     kBoss3Layer13,
     3,
     true,
     {{0.2f, 0.0f, 0.1f}, 1.8f},
     kNone,
     true,
     kKasaDeath,
     4,
     Mo::kSpin,
     false,
     -1.0f},
    {14,
     kBoss3Layer14,
     3,
     true,
     {{-0.2f, 0.0f, 0.1f}, 1.8f},
     kNone,
     true,
     kKasaDeath,
     4,
     Mo::kSpin,
     false,
     1.0f},
    {5,
     kBoss3Layer5,
     2,
     false,
     {{0.0f, 0.0f, 1.0f}, 1.5f},
     M(Meter::kI),
     true,
     kPlateDeath[0],
     2,
     Mo::kNone,
     true,
     0.0f},
    {20,
     kBoss3Layer20,
     2,
     false,
     {{0.0f, 0.0f, 1.0f}, 1.5f},
     M(Meter::kJ),
     true,
     kPlateDeath[1],
     2,
     Mo::kNone,
     true,
     0.0f},
    {19,
     kBoss3Layer19,
     2,
     false,
     {{0.0f, 0.0f, -0.5f}, 1.5f},
     M(Meter::kK),
     true,
     kPlateDeath[2],
     2,
     Mo::kNone,
     true,
     0.0f},
    {21,
     kBoss3Layer21,
     2,
     false,
     {{0.0f, 0.0f, -0.5f}, 1.5f},
     M(Meter::kL),
     true,
     kPlateDeath[3],
     2,
     Mo::kNone,
     true,
     0.0f},
};

int32_t WorldFrame(GameWorldScreen* world) {
    StaticModelRoot* root = world != nullptr ? world->GetWorldRoot() : nullptr;
    return root != nullptr ? root->GetStepCount() : 0;
}

}  // namespace

const Boss3SectionRow* Boss3SectionTable(int32_t layer) {
    for (const Boss3SectionRow& row : kSections) {
        if (row.layer == layer)
            return &row;
    }
    return nullptr;
}

Boss3KowareModel::Boss3KowareModel(TaskObject* parentTask)
    : BrokenModelHolder(parentTask, String("bg_03big_spider_koware"), 22) {}

// ---------------------------------------------------------------------------------------

Boss3Section::Boss3Section(TaskObject* parentTask, NodeSpawnInfo& info, const Boss3SectionRow& sectionRow)
    : BossSection(parentTask, info,
                  sectionRow.underFrameNode ? AttachKind::kUnderFrameNode : AttachKind::kPlain,
                  sectionRow.layer, nullptr, 0),
      row(sectionRow) {
    body = FindAncestor<Boss3Body>(this, row.depth, info.name);
    if (body != nullptr) {
        holder = body->Holder();
        body->RegisterPart(row.slot, this);
    }
    if (row.atPivot) {
        if (Object3D* node = ParentNode())
            SetPosition(node->GetPivot());
    }
    if (row.deathSteps > 0) {
        death = new EventTimeline(this);
        AddSectionSteps(*death, this, row.death, row.deathSteps, runners);
    }
}

Boss3Section::~Boss3Section() {
    DeleteChildren();
    if (body != nullptr)
        body->RegisterPart(row.slot, nullptr);
}

void Boss3Section::OnUpdatePre() {
    const int32_t frame = WorldFrame(world);
    if (death != nullptr)
        death->AddTime(float(frame - lastFrame));
    lastFrame = frame;
    Move();
    if (hittable == 0 || broken != 0 || row.sphere.radius <= 0.0f)
        return;
    const Vec3 at = GetWorldPosition();
    const Vec3& o = row.sphere.offset;
    RegisterHitSphere(Vec3{at.x + o.x, at.y + o.y, at.z + o.z}, row.sphere.radius);
}

void Boss3Section::Move() {
    switch (row.motion) {
        case Boss3Motion::kTurn: {
            if (turning == 0 || world == nullptr)
                return;
            const Vec3 self = GetWorldPosition();
            PlayerShip* ship = world->GetNearestPlayer(self);
            if (ship == nullptr)
                return;
            const Vec3 from = ship->GetWorldPosition();
            float target = std::atan2(self.x - from.x, self.z - from.z) * 57.295776f;
            if (target > 359.0f)
                target -= 360.0f;
            if (target < 0.0f)
                target += 360.0f;
            heading = tracker.Update(target, heading);
            SetRotation(Vec3{0.0f, heading * kBossRadiansPerDegree, 0.0f});
            break;
        }
        case Boss3Motion::kApproach:
            if (frozen != 0) {
                const Vec3 p = GetPosition();
                SetPosition(Vec3{p.x, p.y, approach.Step(1.4f, p.z)});
            }
            break;
        case Boss3Motion::kWobble:
            if (frozen != 0) {
                if (phase <= 0.0f)
                    phaseStep = 0.2617994f;
                if (phase >= 6.2831855f)
                    phaseStep = -0.2617994f;
                float w = std::sin(phase) + 1.0f;
                if (phase < 3.1415927f)
                    w = -w;
                phase += phaseStep;
                const Vec3 p = GetPosition();
                SetPosition(Vec3{p.x - w * 0.065f, p.y, p.z});
            }
            break;
        case Boss3Motion::kSpin:
            if (frozen != 0) {
                spin += 0.05f;
                if (spin > 16.0f)
                    spin = 12.0f;
                const Vec3 r = GetRotation();
                SetRotation(Vec3{r.x, r.y + spin * kBossRadiansPerDegree, r.z});
            }
            break;
        case Boss3Motion::kNone:
            break;
    }
}

void Boss3Section::OnDamaged(float damage, uint32_t playerMask) {
    (void)playerMask;
    if (body == nullptr || row.meter == kNone)
        return;
    if (row.meter == kBoss3CoreMeter)
        body->OnCoreDamaged(damage);
    else
        body->OnPartDamaged(Boss3Meter(row.meter), damage);
}

void Boss3Section::StartDeath(bool rewound) {
    if (death == nullptr)
        return;
    if (rewound)
        death->Rewind();
    death->Start();
}

void Boss3Section::Freeze() {
    // The key tracks would put the pose back each step; the section's own motion
    // moves it from here.
    const int32_t first = row.motion == Boss3Motion::kSpin ? kTrackEuler : kTrackPosition;
    const Vec3 position = GetPosition();
    const Vec3 rotation = GetRotation();
    for (int32_t i = first; i < first + 3; ++i)
        tracks[i].CopyFrom(KeyTrack());
    if (row.motion == Boss3Motion::kSpin) {
        rotationTrack.CopyFrom(RotationTrack());
        SetRotation(rotation);
    } else {
        SetPosition(position);
    }
    frozen = 1;
}

void Boss3Section::RunAction(const Boss3Action& action, EventTimeline& timeline) {
    switch (action.op) {
        case Op::kEmit: {
            const Boss3Emitter& e = *action.emitter;
            auto* emitter = new ExplosionEmitter(
                this, world, e.radius, e.spawnsPerVolley, e.interval, e.volleys, e.effect,
                action.turned ? action.angle : e.yawBase, e.yawSpread, e.speedBase, e.speedSpread);
            const Vec3 p = emitter->GetPosition();
            const Vec3& o = action.offset;
            if (o.x != 0.0f || o.y != 0.0f || o.z != 0.0f)
                emitter->SetPosition(Vec3{p.x + o.x, p.y + o.y, p.z + o.z});
            break;
        }
        case Op::kSeRandom:
        case Op::kSe4:
        case Op::kSe5:
        case Op::kSwap:
            RunSharedAction(SharedSectionOp(action.op));
            break;
        case Op::kBigBlast:
            if (world != nullptr)
                world->SpawnEffect(GetWorldPosition(), Vec3{0.0f, 0.0f, 0.0f}, "EXPLOSION_BS01",
                                   Vec3{1.0f, 1.0f, 1.0f});
            break;
        case Op::kKill:
            TimelineKillCallback(*this, timeline);
            break;
        case Op::kDurability:
            durability = 0.0f;
            break;
        case Op::kNotHittable:
            SetHittable(false);
            break;
        case Op::kBroken:
            broken = 1;
            break;
        case Op::kStop:
            timeline.Stop();
            break;
        case Op::kFan:
            if (world != nullptr) {
                const Vec3 at = GetWorldPosition();
                float a = 270.0f;
                float s = 0.1f;
                for (int32_t k = 0; k < 12; ++k) {
                    const float r = a * kBossRadiansPerDegree;
                    world->SpawnEffect(at, Vec3{std::cos(r) * s, 0.0f, std::sin(r) * s}, kMedium,
                                       Vec3{1.0f, 1.0f, 1.0f});
                    a += row.fanTurn * 4.0f;
                    s += 0.015f;
                }
                world->PlayExplosionSe4();
            }
            durability = 0.0f;
            timeline.Stop();
            break;
    }
}

}  // namespace mareldon
