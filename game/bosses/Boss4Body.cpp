#include "game/bosses/Boss4Body.h"

#include <string>

#include "engine/core/RotationTrack.h"
#include "game/bosses/Boss4Head.h"
#include "game/bosses/Boss4LayerParts.h"
#include "game/bosses/Boss4Weapons.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

using B = Boss4Body;
using Event = BodyEvent<Boss4Body>;

const Event kStart[] = {
    {11400, &B::Open, "start.open"},
    {11400, &B::StopThis, "start.stop"},
};

// The one attack, as (muzzle, pattern) restarts.
const Boss4Restart kAttack[] = {
    {0, kBoss4HebiLue, 0, "attack.Lue0"},          {0, kBoss4HebiRue, 1, "attack.Rue1"},
    {60, kBoss4HebiLnaka, 0, "attack.Lnaka0"},     {60, kBoss4HebiRnaka, 1, "attack.Rnaka1"},
    {120, kBoss4HebiLshita, 0, "attack.Lshita0"},  {120, kBoss4HebiRshita, 1, "attack.Rshita1"},
    {240, kBoss4HebiRue, 0, "attack.Rue0"},        {240, kBoss4HebiLue, 1, "attack.Lue1"},
    {300, kBoss4HebiRnaka, 0, "attack.Rnaka0"},    {300, kBoss4HebiLnaka, 1, "attack.Lnaka1"},
    {360, kBoss4HebiRshita, 0, "attack.Rshita0"},  {360, kBoss4HebiLshita, 1, "attack.Lshita1"},
    {420, kBoss4HebiRue, 2, "attack.Rue2"},        {420, kBoss4HebiLue, 2, "attack.Lue2"},
    {600, kBoss4Medarion, 3, "attack.medarion3"},  {1020, kBoss4HebiRue, 1, "attack.Rue1"},
    {1050, kBoss4HebiLue, 1, "attack.Lue1"},       {1080, kBoss4HebiRnaka, 1, "attack.Rnaka1"},
    {1110, kBoss4HebiLnaka, 1, "attack.Lnaka1"},   {1140, kBoss4HebiRshita, 1, "attack.Rshita1"},
    {1170, kBoss4HebiLshita, 1, "attack.Lshita1"}, {1260, kBoss4Medarion, 0, "attack.medarion0"},
    {1260, kBoss4Medarion, 1, "attack.medarion1"}, {1260, kBoss4Medarion, 2, "attack.medarion2"},
};

const Event kDamage[] = {
    {2500, &B::Beaten, "damage.2500"},
};

const Event kDefeat[] = {
    {0, &B::DefeatBegin, "defeat.begin"},
    {90, &B::Freeze, "defeat.sink"},
    {300, &B::ShowHead, "defeat.head"},
    {300, &B::StopThis, "defeat.stop"},
};

const Event kPlateEvents[Boss4Body::kPlateCount] = {
    {200, &B::PlateBreaks<3>, "plate3.200"}, {200, &B::PlateBreaks<4>, "plate4.200"},
    {200, &B::PlateBreaks<5>, "plate5.200"}, {200, &B::PlateBreaks<6>, "plate6.200"},
    {200, &B::PlateBreaks<7>, "plate7.200"}, {200, &B::PlateBreaks<8>, "plate8.200"},
};

template <typename T, size_t N>
constexpr int32_t Count(const T (&)[N]) {
    return int32_t(N);
}

}  // namespace

void FreezePose(Object3D& node) {
    // Posed at this step's time first: a node drawn no frame yet has not been posed.
    node.ApplyTracks();
    HoldPose(node);
}

// ---- root ------------------------------------------------------------------------------------

Boss4LayerPart0::Boss4LayerPart0(TaskObject* parentTask, NodeSpawnInfo& info)
    : EnemySubPart(parentTask, info, BossSection::kDurability) {
    koware = new Boss4KowareModel(parentTask);
    visible = 0;
    hittable = 0;
}

Boss4LayerPart0::~Boss4LayerPart0() {
    // The body and the head unregister into this root while they go.
    DeleteChildren();
}

// ---- body ------------------------------------------------------------------------------------

Boss4Body::Boss4Body(TaskObject* parentTask, NodeSpawnInfo& info)
    : EnemySubPart(parentTask, info, BossSection::kDurability),
      root(FindAncestor<Boss4LayerPart0>(this, 1, info.name)) {
    visible = 0;
    hittable = 0;
    attack = new EventTimeline(this);
    start = new EventTimeline(this);
    defeat = new EventTimeline(this);
    damage = new EventTimeline(this);
    for (EventTimeline*& plate : plates)
        plate = new EventTimeline(this);
    AddEvents(*start, this, kStart, Count(kStart), runners);
    AddRestarts(*attack, this, kAttack, Count(kAttack), restarts);
    AddEvents(*damage, this, kDamage, Count(kDamage), runners);
    AddEvents(*defeat, this, kDefeat, Count(kDefeat), runners);
    for (int32_t i = 0; i < kPlateCount; ++i)
        AddEvents(*plates[i], this, &kPlateEvents[i], 1, runners);
    start->Start();
    damage->Start();
    for (EventTimeline* plate : plates)
        plate->Start();
    if (root != nullptr)
        root->body = this;
}

Boss4Body::~Boss4Body() {
    DeleteChildren();
    if (root != nullptr && root->body == this)
        root->body = nullptr;
}

BrokenModelHolder* Boss4Body::Holder() const {
    return root != nullptr ? root->koware : nullptr;
}

void Boss4Body::RegisterMuzzle(int32_t slot, Boss4Muzzle* muzzle) {
    if (slot >= 0 && slot < kBoss4BodySlotCount)
        muzzles[slot] = muzzle;
}

Boss4Muzzle* Boss4Body::Muzzle(int32_t slot) const {
    return slot >= 0 && slot < kBoss4BodySlotCount ? muzzles[slot] : nullptr;
}

void Boss4Body::RegisterMarker(bool left, Boss4Marker* marker) {
    (left ? markerL : markerR) = marker;
}

void Boss4Body::RegisterPart(int32_t layer, Boss4LayerPart* part) {
    if (layer == 1)
        jaw = part;
    else if (layer == 2)
        weakPoint = part;
    else if (layer >= 3 && layer <= 8)
        plateParts[layer - 3] = part;
}

Boss4LayerPart* Boss4Body::Part(int32_t layer) const {
    if (layer == 1)
        return jaw;
    if (layer == 2)
        return weakPoint;
    return layer >= 3 && layer <= 8 ? plateParts[layer - 3] : nullptr;
}

void Boss4Body::AddPartDamage(int32_t layer, float amount) {
    if (layer == 2)
        damage->AddTime(amount);
    else if (layer >= 3 && layer <= 8)
        plates[layer - 3]->AddTime(amount);
}

void Boss4Body::RestartPattern(int32_t slot, int32_t pattern) {
    if (Boss4Muzzle* muzzle = Muzzle(slot))
        muzzle->Restart(pattern);
}

void Boss4Body::LogEvent(const char* label, int32_t frame) {
    if (WorldEventLog* log = BossLog(world))
        log->RecordFormat("BossEvent", "%s %d", label, frame);
}

void Boss4Body::OnUpdatePre() {
    const int32_t frame = GetStepCount();
    const float fed = float(frame - lastFrame);
    attack->AddTime(fed);
    start->AddTime(fed);
    defeat->AddTime(fed);
    lastFrame = frame;
    if (sinking != 0) {
        sinkSpeed = sinkSpeed + 0.001f > 0.05f ? 0.05f : sinkSpeed + 0.001f;
        const Vec3 at = GetPosition();
        SetPosition(Vec3{at.x, at.y, at.z - sinkSpeed});
    }
    if (beaten == 0 && timedOut == 0 && world != nullptr && world->GetTimeLeft() <= 55.0f) {
        defeat->Start();
        timedOut = 1;
        if (WorldEventLog* log = BossLog(world))
            log->Record("BossTimedOut", "body");
    }
}

// ---- schedule actions ------------------------------------------------------------------------

void Boss4Body::Open(EventTimeline&) {
    for (int32_t layer = 2; layer <= 8; ++layer) {
        if (Boss4LayerPart* part = Part(layer))
            part->SetHittable(true);
    }
    attack->Start();
}

void Boss4Body::StopThis(EventTimeline& t) {
    t.Stop();
}

void Boss4Body::Beaten(EventTimeline& t) {
    if (timedOut != 0)
        return;
    beaten = 1;
    defeat->Start();
    t.Stop();
}

template <int32_t N>
void Boss4Body::PlateBreaks(EventTimeline&) {
    if (Boss4LayerPart* plate = Part(N)) {
        plate->StartDestruction();
        plate->SetHittable(false);
    }
}

void Boss4Body::DefeatBegin(EventTimeline&) {
    if (weakPoint != nullptr)
        weakPoint->StartDestruction();
    if (jaw != nullptr) {
        jaw->StartDestruction();
        jaw->SetHittable(false);
    }
    attack->Stop();
    for (int32_t slot : {kBoss4Medarion, kBoss4HebiRue, kBoss4HebiRshita, kBoss4HebiRnaka, kBoss4HebiLue,
                         kBoss4HebiLshita, kBoss4HebiLnaka}) {
        if (Boss4Muzzle* muzzle = Muzzle(slot))
            muzzle->StopAll();
    }
    if (world != nullptr)
        world->PlayExplosionSeRandom();
}

void Boss4Body::Freeze(EventTimeline&) {
    FreezePose(*this);
    sinking = 1;
}

void Boss4Body::ShowHead(EventTimeline&) {
    if (world != nullptr)
        world->PlayExplosionSe4();
    Boss4LayerPart23* head = root != nullptr ? root->head : nullptr;
    if (head == nullptr) {
        // Without a head the stage ends as its time limit decides.
        LOG_WARN("boss", "the stage-4 face has no head to show");
        return;
    }
    head->Activate();
}

// ---- registration ----------------------------------------------------------------------------

namespace {

template <typename T>
Object3D* Build(Object3D* parent, NodeSpawnInfo& info) {
    return new T(parent, info);
}

}  // namespace

void RegisterBoss4(StageNodeRegistry& registry) {
    using Kind = StageNodeRegistry::Kind;
    const std::string layer = std::string(Boss4Body::kModel) + ":Layer";
    registry.Replace(Kind::kLayer, layer + "0", Build<Boss4LayerPart0>);
    registry.Replace(Kind::kLayer, layer + "24", Build<Boss4Body>);
    registry.Replace(Kind::kLayer, layer + "23", Build<Boss4LayerPart23>);
    registry.Replace(Kind::kLayer, layer + "1", Build<Boss4LayerPart1>);
    registry.Replace(Kind::kLayer, layer + "2", Build<Boss4LayerPart2>);
    registry.Replace(Kind::kLayer, layer + "3", Build<Boss4LayerPart3>);
    registry.Replace(Kind::kLayer, layer + "4", Build<Boss4LayerPart4>);
    registry.Replace(Kind::kLayer, layer + "5", Build<Boss4LayerPart5>);
    registry.Replace(Kind::kLayer, layer + "6", Build<Boss4LayerPart6>);
    registry.Replace(Kind::kLayer, layer + "7", Build<Boss4LayerPart7>);
    registry.Replace(Kind::kLayer, layer + "8", Build<Boss4LayerPart8>);
    registry.Replace(Kind::kLayer, layer + "25", Build<Boss4LayerPart25>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_medarion", Build<Boss4MuzzleMedarion>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_hebi_Rue", Build<Boss4MuzzleHebiRue>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_hebi_Rnaka", Build<Boss4MuzzleHebiRnaka>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_hebi_Rshita", Build<Boss4MuzzleHebiRshita>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_hebi_Lue", Build<Boss4MuzzleHebiLue>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_hebi_Lnaka", Build<Boss4MuzzleHebiLnaka>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_hebi_Lshita", Build<Boss4MuzzleHebiLshita>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_medarion2", Build<Boss4MuzzleMedarion2>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_U_meR2", Build<Boss4MuzzleUMeR2>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_U_meL2", Build<Boss4MuzzleUMeL2>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_doguu_ue", Build<Boss4MuzzleDoguuUe>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_doguu_shita", Build<Boss4MuzzleDoguuShita>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_S_meL", Build<Boss4MarkerSMeL>);
    registry.Replace(Kind::kFrame, "Null_JYUUKOU_S_meR", Build<Boss4MarkerSMeR>);
}

}  // namespace mareldon
