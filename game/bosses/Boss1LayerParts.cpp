#include "game/bosses/Boss1LayerParts.h"

#include "game/bosses/Boss1Body.h"

namespace mareldon {

namespace {

constexpr const char* kSmall = "EXPLOSION_ita_SA01";
constexpr const char* kMedium = "EXPLOSION_ita_MA01";

using Op = SequenceOp;

SequenceAction Emit(float radius, int32_t spawns, int32_t interval, int32_t volleys, const char* effect,
                    float yawSpread, float speedSpread) {
    return SequenceAction{Op::kEmit, {radius, spawns, interval, volleys, effect, yawSpread, speedSpread}};
}
constexpr SequenceAction Do(Op op) {
    return SequenceAction{op, {0.0f, 0, 0, 0, nullptr, 0.0f, 0.0f}};
}

// ---- sequences -------------------------------------------------------------------------

// Each frame's actions are written in the order they are added, the reverse of the order
// this boss fires them in.

const SequenceStep kCoreDeath[] = {
    {0,
     {Do(Op::kSeRandom), Emit(1.0f, 5, 2, 5, kMedium, 16.0f, 0.05f),
      Emit(0.7f, 1, 1, 180, kSmall, 2.0f, 0.05f)},
     3},
    {30, {Do(Op::kSe4), Do(Op::kSwap), Do(Op::kSe5), Do(Op::kBigBlast)}, 4},
    {120, {Do(Op::kKill)}, 1},
};

const SequenceStep kCoverDeath[] = {
    {0, {Do(Op::kSeRandom), Do(Op::kSwap), Emit(1.0f, 5, 2, 5, kMedium, 16.0f, 0.05f)}, 3},
    {40, {Do(Op::kDurability), Do(Op::kSe4), Emit(0.7f, 2, 4, 120, kSmall, 2.0f, 0.05f)}, 3},
};

const SequenceStep kWingRootDeath[] = {
    {0,
     {Do(Op::kSeRandom), Emit(1.0f, 1, 2, 180, kSmall, 8.0f, 0.05f),
      Emit(2.0f, 4, 2, 10, kSmall, 8.0f, 0.05f)},
     3},
    {30, {Do(Op::kStop), Do(Op::kSe4), Do(Op::kSwap)}, 3},
};

// Broken and collapse sequences of layers 5 to 10, by layer - 5.
const SequenceStep kBroken[6][2] = {
    {{0, {Do(Op::kSeRandom), Emit(1.0f, 5, 2, 5, kMedium, 16.0f, 0.05f)}, 2},
     {40, {Do(Op::kStop), Do(Op::kSwap), Do(Op::kSe4), Emit(0.7f, 2, 4, 20, kSmall, 2.0f, 0.05f)}, 4}},
    {{0, {Do(Op::kSeRandom), Emit(1.0f, 5, 2, 5, kMedium, 16.0f, 0.05f)}, 2},
     {40, {Do(Op::kStop), Do(Op::kSwap), Do(Op::kSe4), Emit(0.7f, 2, 4, 10, kSmall, 2.0f, 0.05f)}, 4}},
    {{0, {Do(Op::kSeRandom), Emit(1.0f, 4, 2, 10, kMedium, 16.0f, 0.05f)}, 2},
     {10, {Do(Op::kStop), Do(Op::kSwap), Do(Op::kSe4), Emit(0.7f, 2, 4, 10, kSmall, 2.0f, 0.04f)}, 4}},
    {{0, {Do(Op::kSeRandom), Emit(1.0f, 4, 2, 10, kMedium, 16.0f, 0.05f)}, 2},
     {10, {Do(Op::kStop), Do(Op::kSwap), Do(Op::kSe4), Emit(0.7f, 2, 4, 10, kSmall, 2.0f, 0.04f)}, 4}},
    {{0, {Do(Op::kSeRandom), Emit(1.0f, 5, 2, 5, kMedium, 16.0f, 0.05f)}, 2},
     {40, {Do(Op::kStop), Do(Op::kSwap), Do(Op::kSe4), Emit(0.7f, 2, 4, 10, kSmall, 2.0f, 0.05f)}, 4}},
    {{0, {Do(Op::kSeRandom), Emit(1.0f, 5, 2, 5, kMedium, 16.0f, 0.05f)}, 2},
     {40, {Do(Op::kStop), Do(Op::kSwap), Do(Op::kSe4), Emit(0.7f, 2, 4, 10, kSmall, 2.0f, 0.05f)}, 4}},
};

const SequenceStep kCollapse[6][2] = {
    {{0, {Do(Op::kSeRandom), Emit(0.7f, 2, 4, 10, kSmall, 2.0f, 0.04f)}, 2},
     {60, {Do(Op::kEnd), Do(Op::kSe4), Emit(1.0f, 5, 2, 5, kMedium, 16.0f, 0.05f)}, 3}},
    {{0, {Do(Op::kSeRandom), Emit(0.7f, 2, 4, 20, kSmall, 2.0f, 0.04f)}, 2},
     {60, {Do(Op::kEnd), Do(Op::kSe4), Emit(1.0f, 5, 2, 5, kMedium, 16.0f, 0.05f)}, 3}},
    {{0, {Do(Op::kSeRandom), Emit(0.7f, 2, 4, 20, kSmall, 2.0f, 0.04f)}, 2},
     {60, {Do(Op::kEnd), Do(Op::kSe4), Emit(1.0f, 4, 2, 10, kMedium, 16.0f, 0.05f)}, 3}},
    {{0, {Do(Op::kSeRandom), Emit(0.7f, 2, 4, 20, kSmall, 2.0f, 0.04f)}, 2},
     {60, {Do(Op::kEnd), Do(Op::kSe4), Emit(1.0f, 4, 2, 10, kMedium, 16.0f, 0.05f)}, 3}},
    {{0, {Do(Op::kSeRandom), Emit(0.7f, 2, 4, 20, kSmall, 2.0f, 0.04f)}, 2},
     {60, {Do(Op::kEnd), Do(Op::kSe4), Emit(1.0f, 5, 2, 5, kMedium, 16.0f, 0.05f)}, 3}},
    {{0, {Do(Op::kSeRandom), Emit(0.7f, 2, 4, 20, kSmall, 2.0f, 0.04f)}, 2},
     {60, {Do(Op::kEnd), Do(Op::kSe4), Emit(1.0f, 5, 2, 5, kMedium, 16.0f, 0.05f)}, 3}},
};

// ---- hit spheres -----------------------------------------------------------------------

const HitSphereSpec kCoreSpheres[] = {{{0.0f, 0.0f, 0.0f}, 1.0f}};
const HitSphereSpec kCoverSpheres[] = {{{0.0f, 0.0f, 0.1f}, 1.2f}, {{0.0f, 0.0f, -1.6f}, 0.9f}};
const HitSphereSpec kRootSpheres[2][6] = {
    {{{-0.9f, 0.0f, -0.7f}, 0.45f},
     {{-0.9f, 0.0f, -0.2f}, 0.3f},
     {{-0.9f, 0.0f, 0.4f}, 0.5f},
     {{-0.2f, 0.0f, 0.45f}, 0.45f},
     {{0.45f, 0.0f, 0.5f}, 0.4f},
     {{1.25f, 0.0f, 0.3f}, 0.5f}},
    {{{0.9f, 0.0f, -0.7f}, 0.45f},
     {{0.9f, 0.0f, -0.2f}, 0.3f},
     {{0.9f, 0.0f, 0.4f}, 0.5f},
     {{0.2f, 0.0f, 0.45f}, 0.45f},
     {{-0.45f, 0.0f, 0.5f}, 0.4f},
     {{-1.25f, 0.0f, 0.3f}, 0.5f}},
};
const HitSphereSpec kWingSpheres[6][3] = {
    {{{0.3f, 0.0f, -0.05f}, 0.5f}, {{-0.25f, 0.0f, -0.25f}, 0.5f}},
    {{{-0.3f, 0.0f, -0.05f}, 0.5f}, {{0.25f, 0.0f, -0.25f}, 0.5f}},
    {{{0.1f, 0.0f, -0.1f}, 0.88f}, {{0.9f, 0.0f, -0.4f}, 0.65f}, {{-0.7f, 0.0f, 0.7f}, 0.45f}},
    {{{-0.1f, 0.0f, -0.1f}, 0.88f}, {{-0.9f, 0.0f, -0.4f}, 0.65f}, {{0.7f, 0.0f, 0.7f}, 0.45f}},
    {{{0.1f, 0.0f, -0.2f}, 0.6f}, {{0.45f, 0.0f, -1.0f}, 0.35f}},
    {{{-0.1f, 0.0f, -0.2f}, 0.6f}, {{-0.45f, 0.0f, -1.0f}, 0.35f}},
};
const int32_t kWingSphereCounts[6] = {2, 2, 3, 3, 2, 2};

// Layer 5..10: how deep under the body, its slot, its wing.
struct WingPartRow {
    int32_t depth;
    Boss1SectionIndex index;
    Boss1Wing wing;
    AttachKind kind;
};
const WingPartRow kWingRows[6] = {
    {2, kBoss1Layer5, Boss1Wing::kA, AttachKind::kPlain},
    {2, kBoss1Layer6, Boss1Wing::kB, AttachKind::kPlain},
    {3, kBoss1Layer7, Boss1Wing::kA, AttachKind::kUnderFrameNode},
    {3, kBoss1Layer8, Boss1Wing::kB, AttachKind::kUnderFrameNode},
    {5, kBoss1Layer9, Boss1Wing::kA, AttachKind::kUnderFrameNode},
    {5, kBoss1Layer10, Boss1Wing::kB, AttachKind::kUnderFrameNode},
};

const WingPartRow& RowOf(int32_t layer) {
    return kWingRows[layer >= 5 && layer <= 10 ? layer - 5 : 0];
}

}  // namespace

// ---- sections --------------------------------------------------------------------------

Boss1Section::Boss1Section(TaskObject* parentTask, NodeSpawnInfo& info, AttachKind kind, int32_t layer,
                           int32_t depth, Boss1SectionIndex sectionIndex, const HitSphereSpec* spheres,
                           int32_t sphereCount)
    : BossSection(parentTask, info, kind, layer, spheres, sphereCount), index(sectionIndex) {
    body = FindAncestor<Boss1Body>(this, depth, info.name);
    if (body != nullptr) {
        holder = body->Holder();
        body->RegisterSection(index, this);
    }
}

Boss1Section::~Boss1Section() {
    DeleteChildren();
    if (body != nullptr)
        body->RegisterSection(index, nullptr);
}

Boss1LayerPart0::Boss1LayerPart0(TaskObject* parentTask, NodeSpawnInfo& info)
    : Boss1Section(parentTask, info, AttachKind::kPlain, 0, 1, kBoss1Core, kCoreSpheres, 1) {
    death = AddSequence(kCoreDeath, 3);
    kirai = new Boss1KiraiCover(this, world);
    turret = new Boss1HoudaiB(this, world);
}

void Boss1LayerPart0::OnDamaged(float damage, uint32_t playerMask) {
    (void)playerMask;
    if (body != nullptr)
        body->AddCoreDamage(damage);
}

void Boss1LayerPart0::SwitchPattern(int32_t k) {
    if (k >= 0 && k < 6) {
        if (kirai != nullptr)
            kirai->SwitchPattern(k);
    } else if (k >= 6 && k < 12) {
        if (turret != nullptr)
            turret->SwitchPattern(k - 6 + 4);
    }
}

Boss1LayerPart2::Boss1LayerPart2(TaskObject* parentTask, NodeSpawnInfo& info)
    : Boss1Section(parentTask, info, AttachKind::kPlain, 2, 2, kBoss1Cover, kCoverSpheres, 2) {
    death = AddSequence(kCoverDeath, 2);
}

void Boss1LayerPart2::OnDamaged(float damage, uint32_t playerMask) {
    (void)playerMask;
    if (body != nullptr)
        body->AddCoreDamage(damage);
}

Boss1WingRoot::Boss1WingRoot(TaskObject* parentTask, NodeSpawnInfo& info, Boss1Wing side)
    : Boss1Section(parentTask, info, AttachKind::kPlain, side == Boss1Wing::kA ? 3 : 4, 2,
                   side == Boss1Wing::kA ? kBoss1WingRootA : kBoss1WingRootB, kRootSpheres[int(side)], 6),
      wing(side) {
    death = AddSequence(kWingRootDeath, 2);
    static const char* const kLabels[2][kPatternCount] = {
        {"wingA.0", "wingA.1", "wingA.2", "wingA.3", "wingA.4", "wingA.5", "wingA.6"},
        {"wingB.0", "wingB.1", "wingB.2", "wingB.3", "wingB.4", "wingB.5", "wingB.6"}};
    const char* const* labels = kLabels[int(side)];
    patterns[0] = new Boss1WingSpray(this, world, wing, labels[0]);
    patterns[1] = new Boss1WingLine(this, world, wing, labels[1]);
    patterns[2] = new Boss1WingFan(this, world, wing, labels[2]);
    patterns[3] = new Boss1WingSpiral(this, world, wing, labels[3]);
    patterns[4] = new Boss1Ring(this, world, 30, 3, labels[4]);
    patterns[5] = new Boss1Ring(this, world, 20, 2, labels[5]);
    patterns[6] = new Boss1WingVolley(this, world, wing, labels[6]);
    cannon = new Boss1TwinCannon(this, world, wing);
}

void Boss1WingRoot::OnDamaged(float damage, uint32_t playerMask) {
    (void)playerMask;
    if (body == nullptr)
        return;
    if (broken != 0)
        body->AddCoreDamage(damage);
    else
        body->AddWingDamage(wing, damage);
}

void Boss1WingRoot::SwitchPattern(int32_t k) {
    if (k == 0 || k == 1) {
        SwitchPatternIn(patterns, 1, k);
    } else if (k == 2 || k == 3) {
        if (cannon != nullptr)
            cannon->SwitchPattern(k - 2);
    } else if (k >= 4 && k < 16) {
        SwitchPatternIn(patterns + 1, kPatternCount - 1, k - 4);
    }
}

void Boss1WingRoot::SetState(int32_t k) {
    if (k == 0)
        broken = 1;
    else if (k == 1)
        death->Start();
}

Boss1WingPart::Boss1WingPart(TaskObject* parentTask, NodeSpawnInfo& info, int32_t layerNumber)
    : Boss1Section(parentTask, info, RowOf(layerNumber).kind, layerNumber, RowOf(layerNumber).depth,
                   RowOf(layerNumber).index, kWingSpheres[RowOf(layerNumber).index - kBoss1Layer5],
                   kWingSphereCounts[RowOf(layerNumber).index - kBoss1Layer5]),
      layer(layerNumber) {
    const int32_t row = index - kBoss1Layer5;
    brokenSequence = AddSequence(kBroken[row], 2);
    collapse = AddSequence(kCollapse[row], 2);
    if (index == kBoss1Layer5)
        turret = new Boss1HoudaiS2(this, world);
    else if (index == kBoss1Layer6)
        turret = new Boss1HoudaiS(this, world);
}

void Boss1WingPart::OnDamaged(float damage, uint32_t playerMask) {
    (void)playerMask;
    if (body != nullptr)
        body->AddWingDamage(kWingRows[index - kBoss1Layer5].wing, damage);
}

void Boss1WingPart::SwitchPattern(int32_t k) {
    if (turret != nullptr)
        turret->SwitchPattern(k);
}

void Boss1WingPart::SetState(int32_t k) {
    if (k == 0) {
        brokenSequence->Start();
        // Layers 5 and 6 stay hittable once broken and go on feeding their wing.
        if (index >= kBoss1Layer7)
            SetHittable(false);
    } else if (k == 1) {
        brokenSequence->Stop();
        collapse->Start();
    }
}

// ---- wing tips -------------------------------------------------------------------------

Boss1WingTip::Boss1WingTip(TaskObject* parentTask, NodeSpawnInfo& info, Which tip)
    : NullNodeObject(parentTask, info), which(tip) {
    body = FindAncestor<Boss1Body>(this, 2, info.name);
    if (body != nullptr)
        body->RegisterTip(which, this);
}

Boss1WingTip::~Boss1WingTip() {
    DeleteChildren();
    if (body != nullptr)
        body->RegisterTip(which, nullptr);
}

float Boss1WingTip::TargetYaw() const {
    static const float kTargets[kCount] = {60.0f, 300.0f, 270.0f, 90.0f};
    return kTargets[which];
}

void Boss1WingTip::StartTurning() {
    turning = 1;
    ClearTracks();
}

void Boss1WingTip::OnUpdatePre() {
    if (turning == 0)
        return;
    const Vec3 rotation = GetRotation();
    const float target = TargetYaw();
    const float angle = tracker.Update(target, rotation.y * 57.29578f);
    if (angle == target)
        turning = 0;
    SetRotation(Vec3{rotation.x, angle * kBossRadiansPerDegree, rotation.z});
}

}  // namespace mareldon
