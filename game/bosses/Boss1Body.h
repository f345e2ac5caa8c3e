#pragma once

#include <cstdint>
#include <deque>

#include "game/bosses/Boss1LayerParts.h"
#include "game/bosses/BossParts.h"

namespace mareldon {

class StageNodeRegistry;

// The invisible body of the stage-1 boss on "ba_01zenyoku:Layer17", under the model root
// the layer hook builds for it. It owns the fight: the fight start at frame 8100, two
// attack cycles, the core phase, the defeat, and the damage schedules that break the
// wings and the core. Every section and tip may be missing; each action skips it.
class Boss1Body : public EnemySubPart {
  public:
    static constexpr const char* kModel = "ba_01zenyoku";
    static constexpr int32_t kBrokenSlots = 17;

    Boss1Body(TaskObject* parent, NodeSpawnInfo& info);
    ~Boss1Body() override;

    void OnUpdatePre() override;

    void RegisterSection(Boss1SectionIndex index, Boss1Section* section);
    void RegisterTip(Boss1WingTip::Which which, Boss1WingTip* tip);
    Boss1Section* Section(int32_t index) const { return sections[index]; }
    Boss1WingTip* Tip(int32_t which) const { return tips[which]; }
    BrokenModelHolder* Holder() const { return holder; }

    // Damage forwarding from the sections.
    void AddCoreDamage(float damage);
    void AddWingDamage(Boss1Wing wing, float damage);
    float CoreDamageTaken() const;

    void LogEvent(const char* label, int32_t frame);

    bool InCorePhase() const { return corePhase != 0; }
    bool IsCoreOpen() const { return coreOpen != 0; }
    bool IsDefeated() const { return defeated != 0; }
    bool IsTimedOut() const { return timedOut != 0; }
    bool IsDrifting() const { return drifting != 0; }

    // The schedule's actions.
    void FightStart(EventTimeline& t);
    void Loop(EventTimeline& t);
    void StopThis(EventTimeline& t);
    void WingRootsPattern0(EventTimeline& t);
    void WingRootsCannon(EventTimeline& t);
    void Layer5Turret2(EventTimeline& t);
    void Layer6Turret2(EventTimeline& t);
    void WingAPattern6(EventTimeline& t);
    void WingBPattern6(EventTimeline& t);
    void CoreTurret4(EventTimeline& t);
    void WingAPattern3(EventTimeline& t);
    void WingAPattern4(EventTimeline& t);
    void WingBPattern3(EventTimeline& t);
    void WingBPattern4(EventTimeline& t);
    void WingAPattern1(EventTimeline& t);
    void WingBPattern1(EventTimeline& t);
    void WingAPattern5(EventTimeline& t);
    void WingBPattern5(EventTimeline& t);
    void CoreKirai(EventTimeline& t);
    void CoreTurret2(EventTimeline& t);
    void CoreTurret3(EventTimeline& t);
    void CorePhaseBegin(EventTimeline& t);
    void TipsTurn(EventTimeline& t);
    void OpenKirai(EventTimeline& t);
    void CoreOpen(EventTimeline& t);
    void DefeatBegin(EventTimeline& t);
    void DriftBegin(EventTimeline& t);
    void Collapse9And5(EventTimeline& t);
    void Collapse10And6(EventTimeline& t);
    void Collapse7(EventTimeline& t);
    void Collapse8(EventTimeline& t);
    void CoreDeath(EventTimeline& t);
    void StageClear(EventTimeline& t);
    void CoverBreaks(EventTimeline& t);
    void DefeatStarts(EventTimeline& t);
    void Break9(EventTimeline& t);
    void Break5(EventTimeline& t);
    void Break7(EventTimeline& t);
    void BreakRootA(EventTimeline& t);
    void Break10(EventTimeline& t);
    void Break6(EventTimeline& t);
    void Break8(EventTimeline& t);
    void BreakRootB(EventTimeline& t);

    EventTimeline* cycleA;
    EventTimeline* cycleB;
    EventTimeline* fightStart;
    EventTimeline* corePhaseLine;
    EventTimeline* defeat;
    EventTimeline* coreDamage;
    EventTimeline* wingADamage;
    EventTimeline* wingBDamage;

  private:
    void Switch(int32_t index, int32_t k);
    void SetState(int32_t index, int32_t k);

    BrokenModelHolder* holder;
    int32_t lastFrame = 0;
    uint8_t corePhase = 0;
    uint8_t coreOpen = 0;
    Object3D* modelRoot;
    uint8_t drifting = 0;
    float sinkSpeed = 0.0f;
    float backSpeed = 0.0f;
    Vec3 driftOffset{0.0f, 0.0f, 0.0f};
    uint8_t timedOut = 0;
    uint8_t defeated = 0;
    Boss1Section* sections[kBoss1SectionCount] = {};
    Boss1WingTip* tips[Boss1WingTip::kCount] = {};
    std::deque<BodyEventRunner<Boss1Body>> runners;
};

// The stage-1 boss's classes over the stand-ins: the body on Layer17 (under a model root
// of its own), the sections on layers 0 and 2-10, the wing tips.
void RegisterBoss1(StageNodeRegistry& registry);

}  // namespace mareldon
