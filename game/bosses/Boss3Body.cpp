#include "game/bosses/Boss3Body.h"

#include <algorithm>
#include <string>
#include <vector>

#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

using B = Boss3Body;
using Event = BodyEvent<Boss3Body>;

using MuzzleEvent = Boss3Switch;

const Event kFightStart[] = {
    {8700, &B::StartFight, "fight.start"},
};
const Event kCycleA[] = {{1500, &B::Loop, "A.loop"}};
const Event kCycleB[] = {{1800, &B::Loop, "B.loop"}};
const Event kPhaseChange[] = {
    {0, &B::BeginPhaseChange, "phase.begin"},
    {180, &B::BreakRearLegs, "phase.legs"},
    {240, &B::FreezeParts, "phase.freeze"},
    {300, &B::StartCycleB, "phase.cycleB"},
};
const Event kDeath[] = {
    {0, &B::BeginDeath, "death.begin"},   {60, &B::DeathBreaks5, "death.5"},
    {90, &B::DeathBreaks21, "death.21"},  {120, &B::DeathBreaks19, "death.19"},
    {150, &B::DeathBreaks20, "death.20"}, {210, &B::DeathBreaksLegs, "death.legs"},
    {300, &B::DeathBreaks13, "death.13"}, {330, &B::DeathBreaks14, "death.14"},
    {900, &B::StageClear, "death.clear"},
};
const Event kCoreMeter[] = {
    {2400, &B::StartPhaseChange, "core.2400"},
    {4000, &B::StartDeath, "core.4000"},
};
const Event kPartMeters[kBoss3MeterCount][1] = {
    {{100, &B::PartBreaks, "G.100"}}, {{100, &B::PartBreaks, "H.100"}}, {{200, &B::PartBreaks, "I.200"}},
    {{200, &B::PartBreaks, "J.200"}}, {{200, &B::PartBreaks, "K.200"}}, {{200, &B::PartBreaks, "L.200"}},
};

std::vector<MuzzleEvent> CycleASwitches() {
    std::vector<MuzzleEvent> out = {
        {0, kBoss3KasaLcenter, 8},    {240, kBoss3KasaRcenter, 8}, {480, kBoss3KasaLcenter, 10},
        {570, kBoss3KasaRcenter, 10}, {630, kBoss3KasaLcenter, 4}, {720, kBoss3KasaRcenter, 4},
    };
    for (int32_t f : {840, 984, 1128, 1272, 1344}) {
        out.push_back({f, kBoss3KasaLcenter, 12});
        out.push_back({f, kBoss3KasaRcenter, 12});
    }
    for (int32_t f : {912, 1056, 1200}) {
        out.push_back({f, kBoss3KasaLcenter, 14});
        for (int32_t j = 0; j < 12; ++j)
            out.push_back({f + 2 * j, kBoss3KasaR1 + j, 0});
    }
    for (int32_t f : {984, 1128, 1272}) {
        out.push_back({f, kBoss3KasaRcenter, 14});
        for (int32_t j = 0; j < 12; ++j)
            out.push_back({f + 2 * j, kBoss3KasaL1 + j, 0});
    }
    return out;
}

std::vector<MuzzleEvent> CycleBSwitches() {
    std::vector<MuzzleEvent> out = {
        {0, kBoss3KasaLcenter, 6}, {0, kBoss3KasaRcenter, 6}, {300, kBoss3SideUnitR, 2},
        {300, kBoss3SideUnitL, 2}, {420, kBoss3SideUnitR, 0}, {420, kBoss3SideUnitL, 0},
    };
    for (int32_t j = 0; j < 12; ++j)
        out.push_back({480, kBoss3KasaR1 + j, 4});
    for (int32_t j = 0; j < 12; ++j)
        out.push_back({505, kBoss3KasaL1 + j, 4});
    for (int32_t j = 0; j <= 8; ++j)
        out.push_back({960 + 60 * j, kBoss3MeC, 0});
    out.push_back({1140, kBoss3MeR, 0});
    out.push_back({1140, kBoss3MeL, 0});
    for (int32_t j = 0; j <= 5; ++j) {
        for (int32_t i = 0; i < 12; ++i) {
            out.push_back({960 + 120 * j + 10 * i, kBoss3KasaR1 + i, 2});
            out.push_back({960 + 120 * j + 10 * i, kBoss3KasaL1 + i, 2});
        }
    }
    return out;
}

// The switches of each frame in the listed order (a timeline fires the last added first).
void AddSwitches(EventTimeline& timeline, Boss3Body* body, std::vector<MuzzleEvent> events,
                 std::deque<Boss3SwitchRunner>& runners) {
    std::stable_sort(events.begin(), events.end(),
                     [](const MuzzleEvent& a, const MuzzleEvent& b) { return a.frame < b.frame; });
    for (auto it = events.rbegin(); it != events.rend(); ++it) {
        runners.emplace_back(body, *it);
        timeline.AddEvent(it->frame, &runners.back(), &Boss3SwitchRunner::Run);
    }
}

template <size_t N>
void AddTable(EventTimeline& timeline, Boss3Body* body, const Event (&table)[N],
              std::deque<BodyEventRunner<Boss3Body>>& runners) {
    AddBodySchedule(timeline, body, table, int32_t(N), runners);
}

int32_t WorldFrame(GameWorldScreen* world) {
    StaticModelRoot* worldRoot = world != nullptr ? world->GetWorldRoot() : nullptr;
    return worldRoot != nullptr ? worldRoot->GetStepCount() : 0;
}

}  // namespace

void Boss3SwitchRunner::Run(EventTimeline&) {
    if (Boss3Muzzle* muzzle = body->Muzzle(event.slot))
        muzzle->SwitchPattern(event.code);
}

Boss3Body::Boss3Body(TaskObject* parentTask, NodeSpawnInfo& info)
    : EnemySubPart(parentTask, info, BossSection::kDurability),
      koware(new Boss3KowareModel(parentTask)),
      root(dynamic_cast<StaticModelRoot*>(parentTask)) {
    visible = 0;
    hittable = 0;
    // Made in field order: a timeline started by one made before it runs its frame 0 in
    // the next step.
    attackCycleA = new EventTimeline(this);
    AddTable(*attackCycleA, this, kCycleA, runners);
    AddSwitches(*attackCycleA, this, CycleASwitches(), switchRunners);
    attackCycleB = new EventTimeline(this);
    AddTable(*attackCycleB, this, kCycleB, runners);
    AddSwitches(*attackCycleB, this, CycleBSwitches(), switchRunners);
    fightStartTimer = new EventTimeline(this);
    AddTable(*fightStartTimer, this, kFightStart, runners);
    phaseChangeSequence = new EventTimeline(this);
    AddTable(*phaseChangeSequence, this, kPhaseChange, runners);
    deathSequence = new EventTimeline(this);
    AddTable(*deathSequence, this, kDeath, runners);
    coreDamageMeter = new EventTimeline(this);
    AddTable(*coreDamageMeter, this, kCoreMeter, runners);
    for (int32_t m = 0; m < kBoss3MeterCount; ++m) {
        partDamageMeters[m] = new EventTimeline(this);
        AddTable(*partDamageMeters[m], this, kPartMeters[m], runners);
    }
    fightStartTimer->Start();
    coreDamageMeter->Start();
    for (EventTimeline* meter : partDamageMeters)
        meter->Start();
}

Boss3Body::~Boss3Body() {
    // Sections and muzzles unregister into this body while they go.
    DeleteChildren();
}

void Boss3Body::RegisterPart(Boss3PartSlot slot, Boss3Section* part) {
    if (slot >= 0 && slot < kBoss3PartCount)
        parts[slot] = part;
}

void Boss3Body::RegisterMuzzle(Boss3MuzzleSlot slot, Boss3Muzzle* muzzle) {
    if (slot >= 0 && slot < kBoss3MuzzleCount)
        muzzles[slot] = muzzle;
}

void Boss3Body::LogEvent(const char* label, int32_t frame) {
    if (WorldEventLog* log = BossLog(world))
        log->RecordFormat("BossEvent", "%s %d", label, frame);
}

void Boss3Body::OnUpdatePre() {
    int32_t n = WorldFrame(world);
    const float loopFed = float(n - lastLoopFrame);
    attackCycleA->AddTime(loopFed);
    attackCycleB->AddTime(loopFed);
    lastLoopFrame = n;
    n = WorldFrame(world);
    const float sequenceFed = float(n - lastSequenceFrame);
    fightStartTimer->AddTime(sequenceFed);
    phaseChangeSequence->AddTime(sequenceFed);
    deathSequence->AddTime(sequenceFed);
    lastSequenceFrame = n;
    if (dying != 0 && root != nullptr) {
        root->timeScale -= 0.008333334f;
        if (root->timeScale < 0.0f)
            root->timeScale = 0.0f;
    }
    if (timeUp == 0 && world != nullptr && world->GetTimeLeft() <= 1.0f) {
        timeUp = 1;
        if (WorldEventLog* log = BossLog(world))
            log->Record("BossTimedOut");
    }
}

void Boss3Body::OnCoreDamaged(float damage) {
    if ((phaseChanging != 0 && cycleBStarted == 0) || timeUp != 0)
        return;
    coreDamageMeter->AddTime(damage);
}

void Boss3Body::OnPartDamaged(Boss3Meter meter, float damage) {
    partDamageMeters[int32_t(meter)]->AddTime(damage);
}

float Boss3Body::CoreDamageTaken() const {
    return float(coreDamageMeter->GetFrame()) + coreDamageMeter->GetAccumulator();
}

void Boss3Body::Switch(int32_t slot, int32_t k) {
    if (Boss3Muzzle* muzzle = Muzzle(slot))
        muzzle->SwitchPattern(k);
}

void Boss3Body::StartPartDeath(int32_t slot, bool rewound) {
    if (Boss3Section* part = Part(slot))
        part->StartDeath(rewound);
}

void Boss3Body::SetPartHittable(int32_t slot, bool on) {
    if (Boss3Section* part = Part(slot))
        part->SetHittable(on);
}

void Boss3Body::StopAllMuzzles() {
    for (int32_t slot = 0; slot < kBoss3MuzzleCount; ++slot) {
        if (muzzles[slot] == nullptr)
            continue;
        if (slot == kBoss3KasaRcenter || slot == kBoss3KasaLcenter) {
            for (int32_t k = 1; k <= 15; k += 2)
                Switch(slot, k);
        } else if (slot == kBoss3MeC || slot == kBoss3MeR || slot == kBoss3MeL) {
            Switch(slot, 1);
        } else if (slot == kBoss3SideUnitR || slot == kBoss3SideUnitL) {
            Switch(slot, 1);
            Switch(slot, 3);
        } else {
            for (int32_t k : {1, 3, 5})
                Switch(slot, k);
        }
    }
}

// ---- schedule actions ------------------------------------------------------------------

void Boss3Body::StartFight(EventTimeline& t) {
    for (int32_t slot : {kBoss3Core, kBoss3Layer16, kBoss3Layer17, kBoss3Layer13, kBoss3Layer14, kBoss3Layer5,
                         kBoss3Layer20, kBoss3Layer19, kBoss3Layer21})
        SetPartHittable(slot, true);
    attackCycleA->Start();
    if (Boss3Section* core = Part(kBoss3Core))
        core->StartTurning();
    fighting = 1;
    t.Stop();
}

void Boss3Body::Loop(EventTimeline& t) {
    TimelineLoopCallback(*this, t);
}

void Boss3Body::StartPhaseChange(EventTimeline&) {
    phaseChangeSequence->Start();
}

void Boss3Body::StartDeath(EventTimeline& t) {
    deathSequence->Start();
    t.Stop();
}

void Boss3Body::BeginPhaseChange(EventTimeline&) {
    phaseChanging = 1;
    attackCycleA->Stop();
    StopAllMuzzles();
    for (int32_t slot : {kBoss3Layer11, kBoss3Layer12}) {
        StartPartDeath(slot, false);
        SetPartHittable(slot, false);
    }
}

void Boss3Body::BreakRearLegs(EventTimeline&) {
    StartPartDeath(kBoss3Layer16, false);
    StartPartDeath(kBoss3Layer17, false);
}

void Boss3Body::FreezeParts(EventTimeline&) {
    for (int32_t slot : {kBoss3Layer2, kBoss3Layer3, kBoss3Layer4, kBoss3Layer13, kBoss3Layer14}) {
        if (Boss3Section* part = Part(slot))
            part->Freeze();
    }
}

void Boss3Body::StartCycleB(EventTimeline&) {
    cycleBStarted = 1;
    attackCycleB->Start();
}

void Boss3Body::BeginDeath(EventTimeline&) {
    dying = 1;
    attackCycleB->Stop();
    StopAllMuzzles();
    SetPartHittable(kBoss3Layer13, false);
    SetPartHittable(kBoss3Layer14, false);
    if (world != nullptr) {
        world->SetTimeLimitEnabled(false);
        world->CancelAllEnemyBullets();
    }
    SetPartHittable(kBoss3Core, false);
    StartPartDeath(kBoss3Core, false);
    StartPartDeath(kBoss3Layer6, false);
    SetPartHittable(kBoss3Layer6, false);
}

// Plates break again from their first frame; the rest go on from where they stand.
void Boss3Body::DeathBreaks5(EventTimeline&) {
    DeathBreak(kBoss3Layer5, true);
}
void Boss3Body::DeathBreaks21(EventTimeline&) {
    DeathBreak(kBoss3Layer21, true);
}
void Boss3Body::DeathBreaks19(EventTimeline&) {
    DeathBreak(kBoss3Layer19, true);
}
void Boss3Body::DeathBreaks20(EventTimeline&) {
    DeathBreak(kBoss3Layer20, true);
}
void Boss3Body::DeathBreaksLegs(EventTimeline&) {
    StartPartDeath(kBoss3Layer3, false);
    DeathBreak(kBoss3Layer4, false);
}
void Boss3Body::DeathBreaks13(EventTimeline&) {
    DeathBreak(kBoss3Layer13, false);
}
void Boss3Body::DeathBreaks14(EventTimeline&) {
    DeathBreak(kBoss3Layer14, false);
}

void Boss3Body::DeathBreak(int32_t slot, bool rewound) {
    StartPartDeath(slot, rewound);
    if (world != nullptr)
        world->PlayExplosionSeRandom();
}

void Boss3Body::StageClear(EventTimeline&) {
    if (world != nullptr)
        world->BeginStageClear();
}

void Boss3Body::PartBreaks(EventTimeline& t) {
    static const struct {
        Boss3PartSlot slot;
        bool rewound;
    } kBreaks[kBoss3MeterCount] = {{kBoss3Layer16, false}, {kBoss3Layer17, false}, {kBoss3Layer5, true},
                                   {kBoss3Layer20, true},  {kBoss3Layer19, true},  {kBoss3Layer21, true}};
    for (int32_t m = 0; m < kBoss3MeterCount; ++m) {
        if (partDamageMeters[m] == &t)
            StartPartDeath(kBreaks[m].slot, kBreaks[m].rewound);
    }
    t.Stop();
}

// ---- registration ----------------------------------------------------------------------

namespace {

Object3D* BuildBody(Object3D* parent, NodeSpawnInfo& info) {
    // The root whose clock rate the death runs down.
    auto* root = new StaticModelRoot(parent);
    return new Boss3Body(root, info);
}

template <int32_t Layer>
Object3D* BuildPart(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss3LayerPartOf<Layer>(parent, info);
}

}  // namespace

void RegisterBoss3(StageNodeRegistry& registry) {
    using Kind = StageNodeRegistry::Kind;
    const std::string layer = std::string(Boss3Body::kModel) + ":Layer";
    registry.Replace(Kind::kLayer, layer + "15", BuildBody);
    registry.Replace(Kind::kLayer, layer + "0", BuildPart<0>);
    registry.Replace(Kind::kLayer, layer + "2", BuildPart<2>);
    registry.Replace(Kind::kLayer, layer + "3", BuildPart<3>);
    registry.Replace(Kind::kLayer, layer + "4", BuildPart<4>);
    registry.Replace(Kind::kLayer, layer + "5", BuildPart<5>);
    registry.Replace(Kind::kLayer, layer + "6", BuildPart<6>);
    registry.Replace(Kind::kLayer, layer + "11", BuildPart<11>);
    registry.Replace(Kind::kLayer, layer + "12", BuildPart<12>);
    registry.Replace(Kind::kLayer, layer + "13", BuildPart<13>);
    registry.Replace(Kind::kLayer, layer + "14", BuildPart<14>);
    registry.Replace(Kind::kLayer, layer + "16", BuildPart<16>);
    registry.Replace(Kind::kLayer, layer + "17", BuildPart<17>);
    registry.Replace(Kind::kLayer, layer + "19", BuildPart<19>);
    registry.Replace(Kind::kLayer, layer + "20", BuildPart<20>);
    registry.Replace(Kind::kLayer, layer + "21", BuildPart<21>);
    RegisterBoss3Muzzles(registry);
}

}  // namespace mareldon
