#pragma once

#include <cstdint>
#include <deque>

#include "game/bosses/Boss3LayerParts.h"
#include "game/bosses/Boss3Muzzles.h"
#include "game/bosses/BossParts.h"

namespace mareldon {

class Boss3Body;
class StageNodeRegistry;
class StaticModelRoot;

// A pattern switch of a schedule: at `frame`, code `code` to the muzzle in `slot`.
struct Boss3Switch {
    int32_t frame;
    int32_t slot;
    int32_t code;
};

class Boss3SwitchRunner {
  public:
    Boss3SwitchRunner(Boss3Body* body, const Boss3Switch& event) : body(body), event(event) {}
    void Run(EventTimeline& timeline);

  private:
    Boss3Body* body;
    Boss3Switch event;
};

// The body of the stage-3 boss on "bg_03big_spider:Layer15", under the model root the
// layer hook builds for it. Every timeline runs on the world root's frame number, so the
// fight starts 8700 steps into the stage however late the body was built. The core meter
// drives the phase change (2400) and the death (4000); six part meters break the small
// sections. The body lives until the stage goes.
class Boss3Body : public EnemySubPart {
  public:
    static constexpr const char* kModel = "bg_03big_spider";
    static constexpr int32_t kBrokenSlots = 22;

    Boss3Body(TaskObject* parent, NodeSpawnInfo& info);
    ~Boss3Body() override;

    void OnUpdatePre() override;

    void RegisterPart(Boss3PartSlot slot, Boss3Section* part);
    void RegisterMuzzle(Boss3MuzzleSlot slot, Boss3Muzzle* muzzle);
    Boss3Section* Part(int32_t slot) const {
        return slot >= 0 && slot < kBoss3PartCount ? parts[slot] : nullptr;
    }
    Boss3Muzzle* Muzzle(int32_t slot) const {
        return slot >= 0 && slot < kBoss3MuzzleCount ? muzzles[slot] : nullptr;
    }
    BrokenModelHolder* Holder() const { return koware; }

    // Damage from the core and Layer6; lost during the phase change and once time is up.
    void OnCoreDamaged(float damage);
    void OnPartDamaged(Boss3Meter meter, float damage);
    float CoreDamageTaken() const;

    void LogEvent(const char* label, int32_t frame);

    bool IsDying() const { return dying != 0; }
    bool IsPhaseChanging() const { return phaseChanging != 0; }
    bool IsCycleBStarted() const { return cycleBStarted != 0; }
    bool IsTimeUp() const { return timeUp != 0; }
    bool IsFighting() const { return fighting != 0; }

    // Stops every pattern the schedules start, on every registered muzzle.
    void StopAllMuzzles();

    // The schedules' actions.
    void StartFight(EventTimeline& t);
    void Loop(EventTimeline& t);
    void BeginPhaseChange(EventTimeline& t);
    void BreakRearLegs(EventTimeline& t);
    void FreezeParts(EventTimeline& t);
    void StartCycleB(EventTimeline& t);
    void StartPhaseChange(EventTimeline& t);
    void StartDeath(EventTimeline& t);
    void BeginDeath(EventTimeline& t);
    void DeathBreaks5(EventTimeline& t);
    void DeathBreaks21(EventTimeline& t);
    void DeathBreaks19(EventTimeline& t);
    void DeathBreaks20(EventTimeline& t);
    void DeathBreaksLegs(EventTimeline& t);
    void DeathBreaks13(EventTimeline& t);
    void DeathBreaks14(EventTimeline& t);
    void StageClear(EventTimeline& t);
    void PartBreaks(EventTimeline& t);

    EventTimeline* attackCycleA;
    EventTimeline* attackCycleB;
    EventTimeline* fightStartTimer;
    EventTimeline* phaseChangeSequence;
    EventTimeline* deathSequence;
    EventTimeline* coreDamageMeter;
    EventTimeline* partDamageMeters[kBoss3MeterCount];

  private:
    // Restarts (even) or stops (odd) pattern code k of a muzzle when it is there.
    void Switch(int32_t slot, int32_t k);
    void StartPartDeath(int32_t slot, bool rewound);
    void SetPartHittable(int32_t slot, bool on);
    // A death-sequence break with its sound.
    void DeathBreak(int32_t slot, bool rewound);

    BrokenModelHolder* koware;
    int32_t lastLoopFrame = 0;
    int32_t lastSequenceFrame = 0;
    uint8_t dying = 0;
    StaticModelRoot* root;
    uint8_t phaseChanging = 0;
    uint8_t cycleBStarted = 0;
    uint8_t timeUp = 0;
    uint8_t fighting = 0;
    Boss3Section* parts[kBoss3PartCount] = {};
    Boss3Muzzle* muzzles[kBoss3MuzzleCount] = {};
    std::deque<BodyEventRunner<Boss3Body>> runners;
    std::deque<Boss3SwitchRunner> switchRunners;
};

// The stage-3 boss's classes over the stand-ins: the body on Layer15 (under a model
// root of its own), its fifteen sections and its 31 muzzles.
void RegisterBoss3(StageNodeRegistry& registry);

}  // namespace mareldon
