#include "game/bosses/Boss2Body.h"

#include <string>

#include "engine/core/RotationTrack.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

using B = Boss2Body;

// Pattern k of a gun: restart code 2k.
constexpr Boss2Event Restart(int32_t frame, Boss2Gun gun, int32_t k, const char* label) {
    return Boss2Event{frame, nullptr, gun, 2 * k, label};
}
constexpr Boss2Event Act(int32_t frame, void (Boss2Body::*action)(EventTimeline&), const char* label) {
    return Boss2Event{frame, action, 0, 0, label};
}

// Each table lists the actions of one frame in the order they run.
const Boss2Event kStart[] = {
    Act(9600, &B::FightStart, "start.fight"),
};

const Boss2Event kAttackA[] = {
    Restart(0, kBoss2Center0, 2, "A.center0.2"),
    Restart(180, kBoss2Center0, 4, "A.center0.4"),
    Restart(270, kBoss2Lunit1, 3, "A.Lunit1.3"),
    Restart(285, kBoss2Runit1, 3, "A.Runit1.3"),
    Restart(360, kBoss2Center0, 5, "A.center0.5"),
    Restart(540, kBoss2Center0, 5, "A.center0.5"),
    Restart(630, kBoss2Lunit1, 3, "A.Lunit1.3"),
    Restart(645, kBoss2Runit1, 3, "A.Runit1.3"),
    Restart(720, kBoss2Lunit1, 5, "A.Lunit1.5"),
    Restart(810, kBoss2Runit1, 5, "A.Runit1.5"),
    Restart(900, kBoss2Center0, 6, "A.center0.6"),
    Restart(900, kBoss2Lunit1, 5, "A.Lunit1.5"),
    Restart(990, kBoss2Center0, 6, "A.center0.6"),
    Restart(990, kBoss2Runit1, 5, "A.Runit1.5"),
    Act(1110, &B::RevolverVolley, "A.volley"),
    Restart(1110, kBoss2Center0, 7, "A.center0.7"),
    Act(1170, &B::RevolverVolley, "A.volley"),
    Act(1230, &B::RevolverVolley, "A.volley"),
    Restart(1320, kBoss2Lunit1, 4, "A.Lunit1.4"),
    Restart(1320, kBoss2Runit1, 4, "A.Runit1.4"),
    Act(1440, &B::Loop, "A.loop"),
};

const Boss2Event kAttackB[] = {
    Restart(0, kBoss2Runit2, 1, "B.Runit2.1"),         Restart(0, kBoss2Lunit2, 1, "B.Lunit2.1"),
    Restart(240, kBoss2Center1, 2, "B.center1.2"),     Restart(600, kBoss2Revolver5, 0, "B.revolver5.0"),
    Restart(600, kBoss2Revolver1, 0, "B.revolver1.0"), Restart(660, kBoss2Revolver5, 1, "B.revolver5.1"),
    Restart(660, kBoss2Revolver1, 1, "B.revolver1.1"), Restart(780, kBoss2Revolver4, 0, "B.revolver4.0"),
    Restart(780, kBoss2Revolver0, 0, "B.revolver0.0"), Restart(840, kBoss2Revolver4, 1, "B.revolver4.1"),
    Restart(840, kBoss2Revolver0, 1, "B.revolver0.1"), Restart(900, kBoss2Center1, 4, "B.center1.4"),
    Restart(900, kBoss2Center1, 3, "B.center1.3"),     Act(1200, &B::Loop, "B.loop"),
};

const Boss2Event kTransition[] = {
    Act(0, &B::TransitionBegin, "transition.begin"),
    Act(120, &B::GearsTurn, "transition.gears"),
    Act(180, &B::PodsSwap, "transition.pods"),
    Act(210, &B::PhaseTwoBegin, "transition.B"),
};

const Boss2Event kDamage[] = {
    Act(1800, &B::Break3, "damage.1800"),
    Act(3000, &B::DefeatStarts, "damage.3000"),
};
const Boss2Event kDamage11[] = {Act(500, &B::Break11, "damage11.500")};
const Boss2Event kDamage13[] = {Act(500, &B::Break13, "damage13.500")};
const Boss2Event kDamage12[] = {Act(500, &B::Break12, "damage12.500")};
const Boss2Event kDamage14[] = {Act(500, &B::Break14, "damage14.500")};

const Boss2Event kDefeat[] = {
    Act(0, &B::DefeatBegin, "defeat.begin"), Act(30, &B::DriftBegin, "defeat.drift"),
    Act(60, &B::Burn14, "defeat.14"),        Act(80, &B::Burn12, "defeat.12"),
    Act(100, &B::Burn13, "defeat.13"),       Act(120, &B::Burn11, "defeat.11"),
    Act(150, &B::Collapse7, "defeat.7"),     Act(480, &B::StageClear, "defeat.clear"),
};

// Added so that the actions of one frame run in the table's order: a timeline runs the
// last added first.
template <size_t N>
void AddTable(EventTimeline& timeline, Boss2Body* body, const Boss2Event (&table)[N],
              std::deque<Boss2EventRunner>& runners) {
    const size_t first = runners.size();
    for (size_t i = 0; i < N; ++i)
        runners.emplace_back(body, &table[i]);
    size_t i = 0;
    while (i < N) {
        size_t end = i;
        while (end < N && table[end].frame == table[i].frame)
            ++end;
        for (size_t j = end; j-- > i;)
            timeline.AddEvent(table[j].frame, &runners[first + j], &Boss2EventRunner::Run);
        i = end;
    }
}

// Patterns `StopAllMuzzles` stops, in order; the others of cycle A fire their bursts out.
struct StopEntry {
    Boss2Gun gun;
    int32_t k;
};
const StopEntry kStopAll[] = {
    {kBoss2Runit1, 0},    {kBoss2Runit1, 1},    {kBoss2Runit1, 2},    {kBoss2Runit1, 3},
    {kBoss2Runit1, 4},    {kBoss2Lunit1, 0},    {kBoss2Lunit1, 1},    {kBoss2Lunit1, 2},
    {kBoss2Lunit1, 3},    {kBoss2Lunit1, 4},    {kBoss2Runit2, 0},    {kBoss2Runit2, 1},
    {kBoss2Runit2, 2},    {kBoss2Lunit2, 0},    {kBoss2Lunit2, 1},    {kBoss2Lunit2, 2},
    {kBoss2Center0, 0},   {kBoss2Center0, 1},   {kBoss2Center0, 2},   {kBoss2Center0, 3},
    {kBoss2Center1, 0},   {kBoss2Center1, 1},   {kBoss2Center1, 2},   {kBoss2Center1, 3},
    {kBoss2Center1, 4},   {kBoss2Revolver0, 0}, {kBoss2Revolver0, 1}, {kBoss2Revolver1, 0},
    {kBoss2Revolver1, 1}, {kBoss2Revolver1, 2}, {kBoss2Revolver2, 0}, {kBoss2Revolver2, 1},
    {kBoss2Revolver3, 0}, {kBoss2Revolver3, 1}, {kBoss2Revolver4, 0}, {kBoss2Revolver4, 1},
    {kBoss2Revolver5, 0}, {kBoss2Revolver5, 1}, {kBoss2Revolver5, 2},
};

}  // namespace

void Boss2EventRunner::Run(EventTimeline& timeline) {
    if (event->action == nullptr) {
        body->Switch(event->gun, event->code);
        return;
    }
    body->LogEvent(event->label, event->frame);
    (body->*(event->action))(timeline);
}

Boss2Body::Boss2Body(TaskObject* parentTask, NodeSpawnInfo& info)
    : EnemySubPart(parentTask, info, BossSection::kDurability) {
    String broken(kModel);
    broken.Append("_koware");
    brokenModel = new Boss2KowareModel(parentTask, broken);
    visible = 0;
    hittable = 0;
    attackA = new EventTimeline(this);
    attackB = new EventTimeline(this);
    start = new EventTimeline(this);
    transition = new EventTimeline(this);
    defeat = new EventTimeline(this);
    damage11 = new EventTimeline(this);
    damage13 = new EventTimeline(this);
    damage = new EventTimeline(this);
    damage12 = new EventTimeline(this);
    damage14 = new EventTimeline(this);
    AddTable(*attackA, this, kAttackA, runners);
    AddTable(*attackB, this, kAttackB, runners);
    AddTable(*start, this, kStart, runners);
    AddTable(*transition, this, kTransition, runners);
    AddTable(*defeat, this, kDefeat, runners);
    AddTable(*damage11, this, kDamage11, runners);
    AddTable(*damage13, this, kDamage13, runners);
    AddTable(*damage, this, kDamage, runners);
    AddTable(*damage12, this, kDamage12, runners);
    AddTable(*damage14, this, kDamage14, runners);
    for (EventTimeline* t : {start, damage11, damage13, damage, damage12, damage14})
        t->Start();
}

Boss2Body::~Boss2Body() {
    // Sections and guns unregister into this body while they go.
    DeleteChildren();
}

void Boss2Body::RegisterPart(int32_t layer, Boss2LayerPart* part) {
    if (layer >= 0 && layer < kLayers)
        parts[layer] = part;
}

void Boss2Body::RegisterMuzzle(Boss2Gun gun, Boss2Muzzle* muzzle) {
    if (gun >= 0 && gun < kBoss2GunCount)
        muzzles[gun] = muzzle;
}

void Boss2Body::LogEvent(const char* label, int32_t frame) {
    if (WorldEventLog* log = BossLog(world))
        log->RecordFormat("BossEvent", "%s %d", label, frame);
}

void Boss2Body::OnUpdatePre() {
    const int32_t frame = GetStepCount();
    const float fed = float(frame - lastFrame);
    for (EventTimeline* timeline : {attackA, attackB, start, transition, defeat})
        timeline->AddTime(fed);
    lastFrame = frame;
    if (drifting != 0) {
        sinkSpeed = sinkSpeed + 0.0002f >= 0.035f ? 0.035f : sinkSpeed + 0.0002f;
        backSpeed = backSpeed + 0.0001f >= 0.01f ? 0.01f : backSpeed + 0.0001f;
        StageScene* scene = world != nullptr ? world->GetStageScene() : nullptr;
        if (scene != nullptr && scene->sceneRoot != nullptr) {
            const Vec3 at = scene->sceneRoot->GetWorldPosition();
            SetPosition(Vec3{at.x - anchorOffset.x, at.y - anchorOffset.y, at.z - anchorOffset.z});
        }
        anchorOffset.y += sinkSpeed;
        anchorOffset.z += backSpeed;
        tiltStep = tiltStep - 1.7453294e-5f <= -0.5f ? -0.5f : tiltStep - 1.7453294e-5f;
        spinStep = spinStep + 6.981318e-5f >= 2.5f ? 2.5f : spinStep + 6.981318e-5f;
        const Vec3 r = GetRotation();
        float x = r.x + tiltStep;
        if (x < -0.6108653f)
            x = -0.6108653f;
        SetRotation(Vec3{x, r.y, r.z + spinStep});
    }
    if (timedOut == 0 && world != nullptr && world->GetTimeLeft() <= 1.0f) {
        timedOut = 1;
        if (WorldEventLog* log = BossLog(world))
            log->Record("BossTimedOut");
    }
}

void Boss2Body::AddDamage(int32_t layer, float amount) {
    switch (layer) {
        case 2:
        case 3:
        case 4:
            // Lost during the transition and after the time-out.
            if ((transitionStarted != 0 && phaseTwo == 0) || timedOut != 0)
                return;
            damage->AddTime(amount);
            break;
        case 11:
            damage11->AddTime(amount);
            break;
        case 12:
            damage12->AddTime(amount);
            break;
        case 13:
            damage13->AddTime(amount);
            break;
        case 14:
            damage14->AddTime(amount);
            break;
        default:
            break;
    }
}

float Boss2Body::DamageTaken() const {
    return float(damage->GetFrame()) + damage->GetAccumulator();
}

void Boss2Body::Switch(int32_t gun, int32_t code) {
    if (Boss2Muzzle* muzzle = Muzzle(gun))
        muzzle->SwitchPattern(code);
}

void Boss2Body::StopAllMuzzles() {
    for (const StopEntry& e : kStopAll)
        Switch(e.gun, 2 * e.k + 1);
}

void Boss2Body::SetHittable(int32_t layer, bool on) {
    if (Boss2LayerPart* part = Part(layer))
        part->SetHittable(on);
}

void Boss2Body::BeginTransition() {
    transition->Start();
    transitionStarted = 1;
}

// ---- schedule actions ------------------------------------------------------------------

void Boss2Body::FightStart(EventTimeline& t) {
    for (int32_t layer : {3, 2, 4, 13, 11})
        SetHittable(layer, true);
    attackA->Start();
    t.Stop();
}

void Boss2Body::Loop(EventTimeline& t) {
    TimelineLoopCallback(*this, t);
}

void Boss2Body::RevolverVolley(EventTimeline&) {
    Switch(kBoss2Revolver0, 4);
    Switch(kBoss2Revolver1, 6);
    Switch(kBoss2Revolver4, 4);
    Switch(kBoss2Revolver5, 6);
}

void Boss2Body::TransitionBegin(EventTimeline&) {
    attackA->Stop();
    StopAllMuzzles();
}

void Boss2Body::GearsTurn(EventTimeline&) {
    for (int32_t layer : {1, 4}) {
        if (Boss2LayerPart* part = Part(layer))
            part->StartTurning();
    }
    SetHittable(13, false);
    SetHittable(11, false);
}

void Boss2Body::PodsSwap(EventTimeline&) {
    SetHittable(14, true);
    SetHittable(12, true);
}

void Boss2Body::PhaseTwoBegin(EventTimeline& t) {
    attackB->Start();
    phaseTwo = 1;
    t.Stop();
}

void Boss2Body::Break3(EventTimeline&) {
    if (Boss2LayerPart* part = Part(3))
        part->StartDestruction();
    if (transitionStarted == 0)
        BeginTransition();
}

void Boss2Body::DefeatStarts(EventTimeline& t) {
    defeat->Start();
    t.Stop();
}

void Boss2Body::BreakPod(int32_t layer, uint8_t* flag, const uint8_t* other) {
    if (Boss2LayerPart* part = Part(layer))
        part->StartTimeline(0);
    if (flag != nullptr) {
        *flag = 1;
        if (*other != 0)
            BeginTransition();
    }
}

void Boss2Body::Break11(EventTimeline& t) {
    BreakPod(11, &part11Broken, &part13Broken);
    t.Stop();
}
void Boss2Body::Break13(EventTimeline& t) {
    BreakPod(13, &part13Broken, &part11Broken);
    t.Stop();
}
void Boss2Body::Break12(EventTimeline& t) {
    BreakPod(12, nullptr, nullptr);
    t.Stop();
}
void Boss2Body::Break14(EventTimeline& t) {
    BreakPod(14, nullptr, nullptr);
    t.Stop();
}

void Boss2Body::DefeatBegin(EventTimeline&) {
    attackB->Stop();
    StopAllMuzzles();
    if (world != nullptr) {
        world->SetTimeLimitEnabled(false);
        world->CancelAllEnemyBullets();
    }
    for (int32_t layer : {1, 2, 4}) {
        if (Boss2LayerPart* part = Part(layer))
            part->StartDestruction();
    }
    if (world != nullptr)
        world->PlayExplosionSe4();
}

void Boss2Body::DriftBegin(EventTimeline&) {
    for (int32_t layer : {2, 4, 12, 14})
        SetHittable(layer, false);
    drifting = 1;
    HoldPose(*this);
    StageScene* scene = world != nullptr ? world->GetStageScene() : nullptr;
    if (scene != nullptr && scene->sceneRoot != nullptr) {
        const Vec3 at = scene->sceneRoot->GetWorldPosition();
        const Vec3 self = GetWorldPosition();
        anchorOffset = Vec3{at.x - self.x, at.y - self.y, at.z - self.z};
    }
    if (world != nullptr)
        world->PlayExplosionSe4();
}

void Boss2Body::Burn(int32_t layer) {
    if (Boss2LayerPart* part = Part(layer))
        part->StartTimeline(1);
    if (world != nullptr)
        world->PlayExplosionSeRandom();
}

void Boss2Body::Burn14(EventTimeline&) {
    Burn(14);
}
void Boss2Body::Burn12(EventTimeline&) {
    Burn(12);
}
void Boss2Body::Burn13(EventTimeline&) {
    Burn(13);
}
void Boss2Body::Burn11(EventTimeline&) {
    Burn(11);
}

void Boss2Body::Collapse7(EventTimeline&) {
    if (Boss2LayerPart* part = Part(7))
        part->StartDestruction();
    if (world != nullptr)
        world->PlayExplosionSe4();
}

void Boss2Body::StageClear(EventTimeline& t) {
    if (world != nullptr)
        world->BeginStageClear();
    t.Stop();
}

// ---- registration ----------------------------------------------------------------------

namespace {

Object3D* BuildBody(Object3D* parent, NodeSpawnInfo& info) {
    // The boss's own clock and time scale stand above the body.
    auto* root = new StaticModelRoot(parent);
    return new Boss2Body(root, info);
}

template <int32_t Layer>
Object3D* BuildPart(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss2LayerPartN<Layer>(parent, info);
}

Object3D* BuildPassive(Object3D* parent, NodeSpawnInfo& info) {
    return new LayerEnemy(parent, info, 1.0f, 0.0f, String("NULL"));
}

template <typename Muzzle>
Object3D* BuildMuzzle(Object3D* parent, NodeSpawnInfo& info) {
    return new Muzzle(parent, info);
}

}  // namespace

void RegisterBoss2(StageNodeRegistry& registry) {
    using Kind = StageNodeRegistry::Kind;
    const std::string layer = std::string(Boss2Body::kModel) + ":Layer";
    registry.Replace(Kind::kLayer, layer + "0", BuildBody);
    registry.Replace(Kind::kLayer, layer + "1", BuildPart<1>);
    registry.Replace(Kind::kLayer, layer + "2", BuildPart<2>);
    registry.Replace(Kind::kLayer, layer + "3", BuildPart<3>);
    registry.Replace(Kind::kLayer, layer + "4", BuildPart<4>);
    registry.Replace(Kind::kLayer, layer + "7", BuildPart<7>);
    registry.Replace(Kind::kLayer, layer + "11", BuildPart<11>);
    registry.Replace(Kind::kLayer, layer + "12", BuildPart<12>);
    registry.Replace(Kind::kLayer, layer + "13", BuildPart<13>);
    registry.Replace(Kind::kLayer, layer + "14", BuildPart<14>);
    for (int32_t n : {5, 6, 8, 9, 10})
        registry.Replace(Kind::kLayer, layer + std::to_string(n), BuildPassive);
    const std::string gun = "Null_JYUUKOU_";
    registry.Replace(Kind::kFrame, gun + "Runit1", BuildMuzzle<Boss2MuzzleRunit1>);
    registry.Replace(Kind::kFrame, gun + "Lunit1", BuildMuzzle<Boss2MuzzleLunit1>);
    registry.Replace(Kind::kFrame, gun + "Runit2", BuildMuzzle<Boss2MuzzleRunit2>);
    registry.Replace(Kind::kFrame, gun + "Lunit2", BuildMuzzle<Boss2MuzzleLunit2>);
    registry.Replace(Kind::kFrame, gun + "center0", BuildMuzzle<Boss2MuzzleCenter0>);
    registry.Replace(Kind::kFrame, gun + "center1", BuildMuzzle<Boss2MuzzleCenter1>);
    registry.Replace(Kind::kFrame, gun + "revolver0", BuildMuzzle<Boss2MuzzleRevolver0>);
    registry.Replace(Kind::kFrame, gun + "revolver1", BuildMuzzle<Boss2MuzzleRevolver1>);
    registry.Replace(Kind::kFrame, gun + "revolver2", BuildMuzzle<Boss2MuzzleRevolver2>);
    registry.Replace(Kind::kFrame, gun + "revolver3", BuildMuzzle<Boss2MuzzleRevolver3>);
    registry.Replace(Kind::kFrame, gun + "revolver4", BuildMuzzle<Boss2MuzzleRevolver4>);
    registry.Replace(Kind::kFrame, gun + "revolver5", BuildMuzzle<Boss2MuzzleRevolver5>);
}

}  // namespace mareldon
