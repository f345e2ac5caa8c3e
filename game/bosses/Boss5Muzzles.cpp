#include "game/bosses/Boss5Muzzles.h"

#include "game/bosses/Boss5Body.h"
#include "game/stage/StageNodeRegistry.h"

namespace mareldon {

Boss5Muzzle::Boss5Muzzle(TaskObject* parentTask, NodeSpawnInfo& info, Boss5Slot which, AttachKind kind)
    : NullNodeObject(parentTask, info, kind), slot(which) {
    owner = FindAncestor<Boss5Controller>(this, 4, info.name);
    if (owner != nullptr)
        owner->RegisterMuzzle(slot, this);
    AddBoss5Patterns(*this, world);
}

Boss5Muzzle::~Boss5Muzzle() {
    DeleteChildren();
    if (owner != nullptr && owner->Muzzle(slot) == this)
        owner->RegisterMuzzle(slot, nullptr);
}

void Boss5Muzzle::AddPattern(BossPattern* pattern) {
    if (patternCount < kMaxPatterns)
        patterns[patternCount++] = pattern;
}

void Boss5Muzzle::Restart(int32_t i) {
    if (BossPattern* pattern = Pattern(i))
        pattern->Restart();
}

void Boss5Muzzle::Stop(int32_t i) {
    if (BossPattern* pattern = Pattern(i))
        pattern->Stop();
}

void Boss5Muzzle::StopAll() {
    for (int32_t i = 0; i < patternCount; ++i)
        patterns[i]->Stop();
}

Boss5MarkerHikaridamaTop::Boss5MarkerHikaridamaTop(TaskObject* parentTask, NodeSpawnInfo& info)
    : NullNodeObject(parentTask, info) {
    owner = FindAncestor<Boss5Body>(this, 2, info.name);
    if (owner != nullptr)
        owner->RegisterMarker(this);
}

Boss5MarkerHikaridamaTop::~Boss5MarkerHikaridamaTop() {
    if (owner != nullptr && owner->Marker() == this)
        owner->RegisterMarker(nullptr);
}

namespace {

template <Boss5Slot Slot, AttachKind Kind = AttachKind::kPlain>
Object3D* BuildMuzzle(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss5Muzzle(parent, info, Slot, Kind);
}

Object3D* BuildMarker(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss5MarkerHikaridamaTop(parent, info);
}

}  // namespace

void RegisterBoss5Muzzles(StageNodeRegistry& registry) {
    using Kind = StageNodeRegistry::Kind;
    using S = Boss5Slot;
    constexpr AttachKind kLinked = AttachKind::kUnderFrameNode;
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_medarion_5BOSS", BuildMuzzle<S::kMedarion5Boss>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_U_cyuou", BuildMuzzle<S::kUCyuou, kLinked>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_R_cyuou", BuildMuzzle<S::kRCyuou, kLinked>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_L_cyuou", BuildMuzzle<S::kLCyuou, kLinked>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_15_18_inazuma", BuildMuzzle<S::kInazuma15_18>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_16_19_inazuma", BuildMuzzle<S::kInazuma16_19>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_17_20_inazuma", BuildMuzzle<S::kInazuma17_20>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_chusin1", BuildMuzzle<S::kChusin1>);
    registry.Replace(Kind::kFrame, "Null_ba_05_4hikari_dama_top", BuildMarker);
}

}  // namespace mareldon
