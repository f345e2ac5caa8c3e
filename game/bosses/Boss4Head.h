#pragma once

#include <cstdint>
#include <deque>

#include "game/bosses/Boss4Body.h"
#include "game/stage/AngleTracker.h"

namespace mareldon {

class StaticModelPart;
class StaticModelRoot;

// The head's muzzle slots, in field order; the spare ones take muzzles nothing starts.
enum Boss4HeadSlot : int32_t {
    kBoss4Medarion2,
    kBoss4UMeR2,
    kBoss4UMeL2,
    kBoss4HeadSpareA,
    kBoss4HeadSpareB,
    kBoss4HeadSlotCount
};

// The head on "ba_04kao:Layer23", the second phase. Built hidden, it is shown by the
// body's defeat, builds "Boss4Head" under a clock of its own and follows it, attacks in
// a 2041-frame loop and is guarded in frames [840, 1160) of each. Beaten at 3000
// damage to its weak point, or at 1 second left outside a guarded window, it drifts
// away while its weak point's destruction runs to the stage clear.
class Boss4LayerPart23 : public EnemySubPart {
  public:
    static constexpr const char* kHeadModel = "Boss4Head";
    // Its weak point takes the hits; the head itself is built with durability 1.
    static constexpr float kDurability = 1.0f;

    Boss4LayerPart23(TaskObject* parent, NodeSpawnInfo& info);
    ~Boss4LayerPart23() override;

    void OnUpdatePre() override;

    // Shown by the body's defeat: drawn, updated, its appearance started.
    void Activate();
    void RegisterMuzzle(int32_t slot, Boss4Muzzle* muzzle);
    void RegisterWeakPoint(Boss4LayerPart* part) { weakPoint = part; }
    Boss4Muzzle* Muzzle(int32_t slot) const;
    Boss4LayerPart* WeakPoint() const { return weakPoint; }
    // The weak point's damage; lost while guarded or timed out.
    void AddDamage(float damage);
    void RestartPattern(int32_t slot, int32_t pattern);
    void LogEvent(const char* label, int32_t frame);

    bool IsGuarded() const { return guarded != 0; }
    bool IsTimedOut() const { return timedOut != 0; }
    bool IsReleased() const { return released != 0; }
    bool IsSlowing() const { return slowing != 0; }
    bool HasDefeatStarted() const { return defeatStarted != 0; }
    StaticModelPart* HeadModel() const { return headModel; }
    StaticModelRoot* HeadClock() const { return headClock; }
    Object3D* FollowObject() const { return follow; }
    Boss4LayerPart0* Root() const { return root; }

    // The schedule's actions.
    void AppearBegin(EventTimeline& t);
    void AttackBegin(EventTimeline& t);
    void StopThis(EventTimeline& t);
    void Guard(EventTimeline& t);
    void Unguard(EventTimeline& t);
    void Loop(EventTimeline& t);
    void Beaten(EventTimeline& t);
    void DefeatBegin(EventTimeline& t);
    void Release(EventTimeline& t);
    void DefeatEnd(EventTimeline& t);

    EventTimeline* attack;
    EventTimeline* appear;
    EventTimeline* defeat;
    EventTimeline* damage;

  private:
    void StartDefeat();
    void FollowHeadModel();
    void Drift();

    Boss4LayerPart0* root;
    StaticModelPart* headModel = nullptr;
    int32_t lastFrame = 0;
    uint8_t guarded = 0;
    uint8_t timedOut = 0;
    uint8_t slowing = 0;
    StaticModelRoot* headClock = nullptr;
    uint8_t released = 0;
    Object3D* follow = nullptr;
    LinearApproach approach{25.0f, 0.02f, 0.4f};
    AngleTracker tracker{25.0f, 0.95f, 0.01f, 2.5f};
    // Starts the defeat at most once: its own end must not let the time-out start it
    // again.
    uint8_t defeatStarted = 0;
    Boss4Muzzle* muzzles[kBoss4HeadSlotCount] = {};
    Boss4LayerPart* weakPoint = nullptr;
    std::deque<BodyEventRunner<Boss4LayerPart23>> runners;
    std::deque<Boss4RestartRunner<Boss4LayerPart23>> restarts;
};

}  // namespace mareldon
