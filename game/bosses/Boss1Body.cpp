#include "game/bosses/Boss1Body.h"

#include <string>

#include "engine/core/RotationTrack.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

using B = Boss1Body;
using Event = BodyEvent<Boss1Body>;

const Event kFightStart[] = {
    {8100, &B::FightStart, "fight.start"},
    {8100, &B::StopThis, "fight.stop"},
};

const Event kCycleA[] = {
    {0, &B::WingRootsPattern0, "A.roots0"},   {120, &B::WingRootsPattern0, "A.roots0"},
    {200, &B::WingRootsCannon, "A.cannons"},  {260, &B::WingRootsPattern0, "A.roots0"},
    {380, &B::WingRootsPattern0, "A.roots0"}, {460, &B::WingRootsCannon, "A.cannons"},
    {520, &B::Layer5Turret2, "A.turret5"},    {640, &B::Layer6Turret2, "A.turret6"},
    {760, &B::Layer5Turret2, "A.turret5"},    {880, &B::Layer6Turret2, "A.turret6"},
    {1000, &B::WingAPattern6, "A.wingA6"},    {1030, &B::WingBPattern6, "A.wingB6"},
    {1060, &B::WingAPattern6, "A.wingA6"},    {1090, &B::WingBPattern6, "A.wingB6"},
    {1120, &B::WingAPattern6, "A.wingA6"},    {1150, &B::WingBPattern6, "A.wingB6"},
    {1180, &B::WingAPattern6, "A.wingA6"},    {1210, &B::WingBPattern6, "A.wingB6"},
    {1270, &B::CoreTurret4, "A.turret4"},     {1510, &B::Loop, "A.loop"},
};

const Event kCycleB[] = {
    {0, &B::WingAPattern3, "B.wingA3"},   {60, &B::WingAPattern4, "B.wingA4"},
    {240, &B::WingBPattern3, "B.wingB3"}, {300, &B::WingBPattern4, "B.wingB4"},
    {510, &B::WingBPattern1, "B.wingB1"}, {550, &B::WingBPattern5, "B.wingB5"},
    {600, &B::WingAPattern1, "B.wingA1"}, {640, &B::WingAPattern5, "B.wingA5"},
    {670, &B::CoreKirai, "B.kirai"},      {930, &B::CoreTurret2, "B.turret2"},
    {990, &B::CoreTurret3, "B.turret3"},  {1140, &B::Loop, "B.loop"},
};

const Event kCorePhase[] = {
    {0, &B::CorePhaseBegin, "core.begin"}, {120, &B::TipsTurn, "core.tips"},
    {240, &B::OpenKirai, "core.kirai"},    {300, &B::CoreOpen, "core.open"},
    {300, &B::StopThis, "core.stop"},
};

const Event kDefeat[] = {
    {0, &B::DefeatBegin, "defeat.begin"},   {120, &B::DriftBegin, "defeat.drift"},
    {240, &B::Collapse9And5, "defeat.9.5"}, {260, &B::Collapse10And6, "defeat.10.6"},
    {280, &B::Collapse7, "defeat.7"},       {300, &B::Collapse8, "defeat.8"},
    {320, &B::CoreDeath, "defeat.core"},    {600, &B::StageClear, "defeat.clear"},
};

const Event kCoreDamage[] = {
    {751, &B::CoverBreaks, "damage.core.751"},
    {2500, &B::DefeatStarts, "damage.core.2500"},
    {2500, &B::StopThis, "damage.core.stop"},
};

const Event kWingADamage[] = {
    {125, &B::Break9, "damage.A.125"},
    {250, &B::Break5, "damage.A.250"},
    {375, &B::Break7, "damage.A.375"},
    {500, &B::BreakRootA, "damage.A.500"},
};

const Event kWingBDamage[] = {
    {125, &B::Break10, "damage.B.125"},
    {151, &B::Break6, "damage.B.151"},
    {375, &B::Break8, "damage.B.375"},
    {500, &B::BreakRootB, "damage.B.500"},
};

template <size_t N>
void AddTable(EventTimeline& timeline, Boss1Body* body, const Event (&table)[N],
              std::deque<BodyEventRunner<Boss1Body>>& runners) {
    AddBodySchedule(timeline, body, table, int32_t(N), runners);
}

}  // namespace

Boss1Body::Boss1Body(TaskObject* parentTask, NodeSpawnInfo& info)
    : EnemySubPart(parentTask, info, BossSection::kDurability),
      modelRoot(parentTask != nullptr ? parentTask->AsObject3D() : nullptr) {
    String broken(kModel);
    broken.Append("_koware");
    holder = new BrokenModelHolder(parentTask, broken, kBrokenSlots);
    visible = 0;
    hittable = 0;
    // A timeline started by another fires its frame 0 in the same step only when it
    // comes later among the children: cycle A with the fight start, cycle B with the
    // core phase's frame 300.
    fightStart = new EventTimeline(this);
    cycleA = new EventTimeline(this);
    corePhaseLine = new EventTimeline(this);
    cycleB = new EventTimeline(this);
    defeat = new EventTimeline(this);
    coreDamage = new EventTimeline(this);
    wingADamage = new EventTimeline(this);
    wingBDamage = new EventTimeline(this);
    AddTable(*cycleA, this, kCycleA, runners);
    AddTable(*cycleB, this, kCycleB, runners);
    AddTable(*fightStart, this, kFightStart, runners);
    AddTable(*corePhaseLine, this, kCorePhase, runners);
    AddTable(*defeat, this, kDefeat, runners);
    AddTable(*coreDamage, this, kCoreDamage, runners);
    AddTable(*wingADamage, this, kWingADamage, runners);
    AddTable(*wingBDamage, this, kWingBDamage, runners);
    fightStart->Start();
    coreDamage->Start();
    wingADamage->Start();
    wingBDamage->Start();
}

Boss1Body::~Boss1Body() {
    // Sections and tips unregister into this body while they go.
    DeleteChildren();
}

void Boss1Body::RegisterSection(Boss1SectionIndex index, Boss1Section* section) {
    if (index >= 0 && index < kBoss1SectionCount)
        sections[index] = section;
}

void Boss1Body::RegisterTip(Boss1WingTip::Which which, Boss1WingTip* tip) {
    if (which >= 0 && which < Boss1WingTip::kCount)
        tips[which] = tip;
}

void Boss1Body::LogEvent(const char* label, int32_t frame) {
    if (WorldEventLog* log = BossLog(world))
        log->RecordFormat("BossEvent", "%s %d", label, frame);
}

void Boss1Body::OnUpdatePre() {
    const int32_t frame = GetStepCount();
    const float fed = float(frame - lastFrame);
    for (EventTimeline* timeline : {cycleA, cycleB, fightStart, corePhaseLine, defeat})
        timeline->AddTime(fed);
    lastFrame = frame;
    if (drifting != 0) {
        sinkSpeed = sinkSpeed + 0.0002f > 0.02f ? 0.02f : sinkSpeed + 0.0002f;
        backSpeed = backSpeed + 0.0001f > 0.01f ? 0.01f : backSpeed + 0.0001f;
        StageScene* scene = world != nullptr ? world->GetStageScene() : nullptr;
        if (scene != nullptr && scene->sceneRoot != nullptr) {
            const Vec3 at = scene->sceneRoot->GetWorldPosition();
            SetPosition(Vec3{at.x - driftOffset.x, at.y - driftOffset.y, at.z - driftOffset.z});
        }
        driftOffset.y += sinkSpeed;
        driftOffset.z += backSpeed;
    }
    if (timedOut == 0 && world != nullptr && world->GetTimeLeft() <= 1.0f) {
        timedOut = 1;
        if (WorldEventLog* log = BossLog(world))
            log->Record("BossTimedOut");
    }
}

void Boss1Body::AddCoreDamage(float damage) {
    if (timedOut != 0 || (corePhase != 0 && coreOpen == 0))
        return;
    coreDamage->AddTime(damage);
}

void Boss1Body::AddWingDamage(Boss1Wing wing, float damage) {
    (wing == Boss1Wing::kA ? wingADamage : wingBDamage)->AddTime(damage);
}

float Boss1Body::CoreDamageTaken() const {
    return float(coreDamage->GetFrame()) + coreDamage->GetAccumulator();
}

void Boss1Body::Switch(int32_t index, int32_t k) {
    if (sections[index] != nullptr)
        sections[index]->SwitchPattern(k);
}

void Boss1Body::SetState(int32_t index, int32_t k) {
    if (sections[index] != nullptr)
        sections[index]->SetState(k);
}

// ---- schedule actions ------------------------------------------------------------------

void Boss1Body::FightStart(EventTimeline&) {
    for (int32_t i = kBoss1Cover; i < kBoss1SectionCount; ++i) {
        if (sections[i] != nullptr)
            sections[i]->SetHittable(true);
    }
    cycleA->Start();
}

void Boss1Body::Loop(EventTimeline& t) {
    TimelineLoopCallback(*this, t);
}

void Boss1Body::StopThis(EventTimeline& t) {
    t.Stop();
}

void Boss1Body::WingRootsPattern0(EventTimeline&) {
    Switch(kBoss1WingRootA, 0);
    Switch(kBoss1WingRootB, 0);
}

void Boss1Body::WingRootsCannon(EventTimeline&) {
    Switch(kBoss1WingRootA, 2);
    Switch(kBoss1WingRootB, 2);
}

void Boss1Body::Layer5Turret2(EventTimeline&) {
    Switch(kBoss1Layer5, 4);
}

void Boss1Body::Layer6Turret2(EventTimeline&) {
    Switch(kBoss1Layer6, 4);
}

// Wing-root case of pattern i (1-6): restart 2 + 2i, stop 3 + 2i.
void Boss1Body::WingAPattern6(EventTimeline&) {
    Switch(kBoss1WingRootA, 14);
}
void Boss1Body::WingBPattern6(EventTimeline&) {
    Switch(kBoss1WingRootB, 14);
}
void Boss1Body::WingAPattern3(EventTimeline&) {
    Switch(kBoss1WingRootA, 8);
}
void Boss1Body::WingAPattern4(EventTimeline&) {
    Switch(kBoss1WingRootA, 10);
}
void Boss1Body::WingBPattern3(EventTimeline&) {
    Switch(kBoss1WingRootB, 8);
}
void Boss1Body::WingBPattern4(EventTimeline&) {
    Switch(kBoss1WingRootB, 10);
}
void Boss1Body::WingAPattern1(EventTimeline&) {
    Switch(kBoss1WingRootA, 4);
}
void Boss1Body::WingBPattern1(EventTimeline&) {
    Switch(kBoss1WingRootB, 4);
}
void Boss1Body::WingAPattern5(EventTimeline&) {
    Switch(kBoss1WingRootA, 12);
}
void Boss1Body::WingBPattern5(EventTimeline&) {
    Switch(kBoss1WingRootB, 12);
}

// Core cases: kirai 0-5, turret patterns 2-4 at 6-11.
void Boss1Body::CoreTurret4(EventTimeline&) {
    Switch(kBoss1Core, 10);
}
void Boss1Body::CoreKirai(EventTimeline&) {
    Switch(kBoss1Core, 0);
    Switch(kBoss1Core, 2);
}
void Boss1Body::CoreTurret2(EventTimeline&) {
    Switch(kBoss1Core, 6);
}
void Boss1Body::CoreTurret3(EventTimeline&) {
    Switch(kBoss1Core, 8);
}

void Boss1Body::CorePhaseBegin(EventTimeline&) {
    corePhase = 1;
    cycleA->Stop();
    for (int32_t root : {kBoss1WingRootA, kBoss1WingRootB}) {
        Switch(root, 1);
        Switch(root, 15);
        // The cannon's case 1: starts one when idle, as the schedule always has.
        Switch(root, 3);
    }
    Switch(kBoss1Layer5, 5);
    Switch(kBoss1Layer6, 5);
    Switch(kBoss1Core, 11);
}

void Boss1Body::TipsTurn(EventTimeline&) {
    for (Boss1WingTip* tip : tips) {
        if (tip != nullptr)
            tip->StartTurning();
    }
}

void Boss1Body::OpenKirai(EventTimeline&) {
    auto* core = static_cast<Boss1LayerPart0*>(sections[kBoss1Core]);
    if (core != nullptr && core->kirai != nullptr)
        core->kirai->Open();
}

void Boss1Body::CoreOpen(EventTimeline&) {
    coreOpen = 1;
    if (defeated == 0)
        cycleB->Start();
}

void Boss1Body::DefeatBegin(EventTimeline&) {
    cycleB->Stop();
    for (int32_t root : {kBoss1WingRootA, kBoss1WingRootB}) {
        for (int32_t k : {5, 7, 9, 11, 13})
            Switch(root, k);
    }
    for (int32_t k : {1, 3, 7, 9})
        Switch(kBoss1Core, k);
    if (world != nullptr) {
        world->SetTimeLimitEnabled(false);
        world->CancelAllEnemyBullets();
    }
    for (Boss1Section* section : sections) {
        if (section != nullptr)
            section->SetHittable(false);
    }
    SetState(kBoss1WingRootA, 1);
    SetState(kBoss1WingRootB, 1);
    if (world != nullptr)
        world->PlayExplosionSe4();
}

void Boss1Body::DriftBegin(EventTimeline&) {
    drifting = 1;
    HoldPose(*this);
    StageScene* scene = world != nullptr ? world->GetStageScene() : nullptr;
    if (scene != nullptr && scene->sceneRoot != nullptr) {
        const Vec3 at = scene->sceneRoot->GetWorldPosition();
        const Vec3 self = GetWorldPosition();
        driftOffset = Vec3{at.x - self.x, at.y - self.y, at.z - self.z};
    }
    if (world != nullptr)
        world->PlayExplosionSe4();
}

void Boss1Body::Collapse9And5(EventTimeline&) {
    SetState(kBoss1Layer9, 1);
    SetState(kBoss1Layer5, 1);
}
void Boss1Body::Collapse10And6(EventTimeline&) {
    SetState(kBoss1Layer10, 1);
    SetState(kBoss1Layer6, 1);
}
void Boss1Body::Collapse7(EventTimeline&) {
    SetState(kBoss1Layer7, 1);
}
void Boss1Body::Collapse8(EventTimeline&) {
    SetState(kBoss1Layer8, 1);
}

void Boss1Body::CoreDeath(EventTimeline&) {
    if (sections[kBoss1Core] != nullptr)
        sections[kBoss1Core]->StartDeath();
}

void Boss1Body::StageClear(EventTimeline&) {
    if (world != nullptr)
        world->BeginStageClear();
}

void Boss1Body::CoverBreaks(EventTimeline&) {
    if (sections[kBoss1Cover] != nullptr)
        sections[kBoss1Cover]->StartDeath();
    if (sections[kBoss1Core] != nullptr)
        sections[kBoss1Core]->SetHittable(true);
    corePhaseLine->Start();
}

void Boss1Body::DefeatStarts(EventTimeline&) {
    defeat->Start();
    defeated = 1;
}

void Boss1Body::Break9(EventTimeline&) {
    SetState(kBoss1Layer9, 0);
}
void Boss1Body::Break5(EventTimeline&) {
    SetState(kBoss1Layer5, 0);
}
void Boss1Body::Break7(EventTimeline&) {
    SetState(kBoss1Layer7, 0);
}
void Boss1Body::BreakRootA(EventTimeline&) {
    SetState(kBoss1WingRootA, 0);
}
void Boss1Body::Break10(EventTimeline&) {
    SetState(kBoss1Layer10, 0);
}
void Boss1Body::Break6(EventTimeline&) {
    SetState(kBoss1Layer6, 0);
}
void Boss1Body::Break8(EventTimeline&) {
    SetState(kBoss1Layer8, 0);
}
void Boss1Body::BreakRootB(EventTimeline&) {
    SetState(kBoss1WingRootB, 0);
}

// ---- registration ----------------------------------------------------------------------

namespace {

Object3D* BuildBody(Object3D* parent, NodeSpawnInfo& info) {
    // The boss's own clock and time scale stand above the body.
    auto* root = new StaticModelRoot(parent);
    return new Boss1Body(root, info);
}

Object3D* BuildCore(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss1LayerPart0(parent, info);
}
Object3D* BuildCover(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss1LayerPart2(parent, info);
}
Object3D* BuildRootA(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss1WingRoot(parent, info, Boss1Wing::kA);
}
Object3D* BuildRootB(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss1WingRoot(parent, info, Boss1Wing::kB);
}
template <int32_t Layer>
Object3D* BuildWingPart(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss1WingPart(parent, info, Layer);
}
template <Boss1WingTip::Which Which>
Object3D* BuildTip(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss1WingTip(parent, info, Which);
}

}  // namespace

void RegisterBoss1(StageNodeRegistry& registry) {
    using Kind = StageNodeRegistry::Kind;
    const std::string layer = std::string(Boss1Body::kModel) + ":Layer";
    registry.Replace(Kind::kLayer, layer + "17", BuildBody);
    registry.Replace(Kind::kLayer, layer + "0", BuildCore);
    registry.Replace(Kind::kLayer, layer + "2", BuildCover);
    registry.Replace(Kind::kLayer, layer + "3", BuildRootA);
    registry.Replace(Kind::kLayer, layer + "4", BuildRootB);
    registry.Replace(Kind::kLayer, layer + "5", BuildWingPart<5>);
    registry.Replace(Kind::kLayer, layer + "6", BuildWingPart<6>);
    registry.Replace(Kind::kLayer, layer + "7", BuildWingPart<7>);
    registry.Replace(Kind::kLayer, layer + "8", BuildWingPart<8>);
    registry.Replace(Kind::kLayer, layer + "9", BuildWingPart<9>);
    registry.Replace(Kind::kLayer, layer + "10", BuildWingPart<10>);
    registry.Replace(Kind::kFrame, "Null_ba01_tubasa_sakiR", BuildTip<Boss1WingTip::kSakiR>);
    registry.Replace(Kind::kFrame, "Null_ba01_tubasa_sakiL", BuildTip<Boss1WingTip::kSakiL>);
    registry.Replace(Kind::kFrame, "Null_ba01_tubasa_sakisotoR", BuildTip<Boss1WingTip::kSakisotoR>);
    registry.Replace(Kind::kFrame, "Null_ba01_tubasa_sakisotoL", BuildTip<Boss1WingTip::kSakisotoL>);
}

}  // namespace mareldon
