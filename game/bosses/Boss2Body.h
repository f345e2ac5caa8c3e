#pragma once

#include <cstdint>
#include <deque>

#include "game/bosses/Boss2LayerParts.h"
#include "game/bosses/Boss2Muzzles.h"
#include "game/bosses/BossParts.h"

namespace mareldon {

class StageNodeRegistry;
class Boss2Body;

// One entry of a stage-2 schedule: a body action, or (action null) the switch `code` of
// gun `gun`.
struct Boss2Event {
    int32_t frame;
    void (Boss2Body::*action)(EventTimeline&);
    int32_t gun;
    int32_t code;
    const char* label;
};

class Boss2EventRunner {
  public:
    Boss2EventRunner(Boss2Body* body, const Boss2Event* event) : body(body), event(event) {}
    void Run(EventTimeline& timeline);

  private:
    Boss2Body* body;
    const Boss2Event* event;
};

// The invisible body of the stage-2 boss on "ba02_cyou:Layer0", under the model root the
// layer hook builds for it. The fight opens at its frame 9600 with attack cycle A; 1800
// damage to Layers 3, 2 and 4, or Layers 11 and 13 both broken, lead once through a
// 210-frame transition to cycle B; 3000 damage to 3, 2 and 4 defeat it. Every section and
// gun may be missing; each action skips it.
class Boss2Body : public EnemySubPart {
  public:
    static constexpr const char* kModel = "ba02_cyou";
    static constexpr int32_t kLayers = 15;

    Boss2Body(TaskObject* parent, NodeSpawnInfo& info);
    ~Boss2Body() override;

    void OnUpdatePre() override;

    void RegisterPart(int32_t layer, Boss2LayerPart* part);
    void RegisterMuzzle(Boss2Gun gun, Boss2Muzzle* muzzle);
    Boss2LayerPart* Part(int32_t layer) const {
        return layer >= 0 && layer < kLayers ? parts[layer] : nullptr;
    }
    Boss2Muzzle* Muzzle(int32_t gun) const {
        return gun >= 0 && gun < kBoss2GunCount ? muzzles[gun] : nullptr;
    }
    BrokenModelHolder* Holder() const { return brokenModel; }

    // A section's damage, routed to its damage timeline.
    void AddDamage(int32_t layer, float damage);
    // Damage counted toward the transition and the defeat.
    float DamageTaken() const;
    // Pattern switch code of a gun; nothing when the gun is missing.
    void Switch(int32_t gun, int32_t code);
    void StopAllMuzzles();
    void LogEvent(const char* label, int32_t frame);

    bool IsTimedOut() const { return timedOut != 0; }
    bool TransitionStarted() const { return transitionStarted != 0; }
    bool InPhaseTwo() const { return phaseTwo != 0; }
    bool IsDrifting() const { return drifting != 0; }

    // The schedules' actions.
    void FightStart(EventTimeline& t);
    void Loop(EventTimeline& t);
    void RevolverVolley(EventTimeline& t);
    void TransitionBegin(EventTimeline& t);
    void GearsTurn(EventTimeline& t);
    void PodsSwap(EventTimeline& t);
    void PhaseTwoBegin(EventTimeline& t);
    void Break3(EventTimeline& t);
    void DefeatStarts(EventTimeline& t);
    void Break11(EventTimeline& t);
    void Break13(EventTimeline& t);
    void Break12(EventTimeline& t);
    void Break14(EventTimeline& t);
    void DefeatBegin(EventTimeline& t);
    void DriftBegin(EventTimeline& t);
    void Burn14(EventTimeline& t);
    void Burn12(EventTimeline& t);
    void Burn13(EventTimeline& t);
    void Burn11(EventTimeline& t);
    void Collapse7(EventTimeline& t);
    void StageClear(EventTimeline& t);

    EventTimeline* attackA;
    EventTimeline* attackB;
    EventTimeline* start;
    EventTimeline* transition;
    EventTimeline* defeat;
    EventTimeline* damage11;
    EventTimeline* damage13;
    EventTimeline* damage;
    EventTimeline* damage12;
    EventTimeline* damage14;

  private:
    void SetHittable(int32_t layer, bool on);
    void BreakPod(int32_t layer, uint8_t* flag, const uint8_t* other);
    void Burn(int32_t layer);
    void BeginTransition();

    Boss2KowareModel* brokenModel;
    int32_t lastFrame = 0;
    uint8_t drifting = 0;
    float tiltStep = 0.0f;
    float spinStep = 0.0f;
    float sinkSpeed = 0.0f;
    float backSpeed = 0.0f;
    Vec3 anchorOffset{0.0f, 0.0f, 0.0f};
    uint8_t timedOut = 0;
    uint8_t transitionStarted = 0;
    uint8_t phaseTwo = 0;
    uint8_t part11Broken = 0;
    uint8_t part13Broken = 0;
    Boss2LayerPart* parts[kLayers] = {};
    Boss2Muzzle* muzzles[kBoss2GunCount] = {};
    std::deque<Boss2EventRunner> runners;
};

// The stage-2 boss's classes over the stand-ins: the body on Layer0 (under a model root
// of its own), the sections, the passive layers and the twelve guns.
void RegisterBoss2(StageNodeRegistry& registry);

}  // namespace mareldon
