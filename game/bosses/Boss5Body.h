#pragma once

#include <cstdint>
#include <deque>

#include "game/bosses/Boss5Muzzles.h"
#include "game/bosses/BossParts.h"

namespace mareldon {

class StageNodeRegistry;
class StaticModelRoot;
class Boss5MandaraLayerPart0;
class Boss5MandaraLayerPart22;
class Boss5Body;
class Boss5WeakPoint;
class Boss5MarkerHikaridamaTop;

// What the stage-5 controllers share: their muzzle slots, the feeding of their frame
// timelines, the hidden state the sweep honours, and the log of their schedules.
class Boss5Controller : public EnemySubPart {
  public:
    Boss5Controller(TaskObject* parent, NodeSpawnInfo& info);
    ~Boss5Controller() override;

    void RegisterMuzzle(Boss5Slot slot, Boss5Muzzle* muzzle);
    Boss5Muzzle* Muzzle(Boss5Slot slot) const { return muzzles[int32_t(slot)]; }
    void RegisterWeakPoint(Boss5WeakPoint* part) { weakPoint = part; }
    Boss5WeakPoint* WeakPoint() const { return weakPoint; }

    // Held hidden: nothing of it or below it is drawn or updated.
    void Hide();
    bool IsHidden() const { return heldHidden != 0; }
    void LogEvent(const char* label, int32_t frame);

    void Loop(EventTimeline& t);
    void StopThis(EventTimeline& t);

  protected:
    // Each timeline gets the frames passed since the last feeding.
    void Feed(int32_t frame, EventTimeline* const* timelines, int32_t count);
    // The pose held without the key tracks.
    void FreezeTracks();
    void Restart(Boss5Slot slot, int32_t pattern);
    void StopPattern(Boss5Slot slot, int32_t pattern);

    int32_t lastFrame = 0;
    Boss5WeakPoint* weakPoint = nullptr;

  private:
    Boss5Muzzle* muzzles[int32_t(Boss5Slot::kCount)] = {};
};

// The mandala's root on "ba_05_1mandara:Layer21": undrawn, without a step of its own,
// it holds the slots of the centre, the ring and the ball.
class Boss5MandaraLayerPart21 : public EnemySubPart {
  public:
    Boss5MandaraLayerPart21(TaskObject* parent, NodeSpawnInfo& info);
    // Its parts unhook themselves from it as they go: they go first.
    ~Boss5MandaraLayerPart21() override;

    Boss5MandaraLayerPart0* centre = nullptr;
    Boss5MandaraLayerPart22* ring = nullptr;
    Object3D* spare = nullptr;
    Boss5Body* ball = nullptr;
};

// A mandala controller (centre or ring): built hidden, shown by the ball's defeat, then
// it builds its motion model, follows the model's first node and attacks from frame 180
// of its appearance.
class Boss5MandalaPart : public Boss5Controller {
  public:
    Boss5MandalaPart(TaskObject* parent, NodeSpawnInfo& info, const char* motionModel);

    void Activate();
    void Appear(EventTimeline& t);

    EventTimeline* attack = nullptr;
    EventTimeline* appear = nullptr;
    EventTimeline* defeat = nullptr;
    StaticModelPart* model = nullptr;

  protected:
    // Feeding and following the model.
    void StepMandala();

    Boss5MandaraLayerPart21* root = nullptr;

  private:
    const char* motionModel;
};

// The mandala centre on Layer0: the medarion_5BOSS muzzle and the weak point on Layer1.
// Beaten at 5500 damage or 0.5 seconds before the time limit; its defeat stops the ring
// and the stage timer and clears the stage 360 frames later.
class Boss5MandaraLayerPart0 : public Boss5MandalaPart {
  public:
    static constexpr float kTimeOut = 0.5f;

    Boss5MandaraLayerPart0(TaskObject* parent, NodeSpawnInfo& info);
    ~Boss5MandaraLayerPart0() override;

    void OnUpdatePre() override;
    // From the weak point; nothing once timed out.
    void AddDamage(float amount);

    void AppearAttack(EventTimeline& t);
    void Pattern0(EventTimeline& t);
    void Pattern1(EventTimeline& t);
    void Pattern2(EventTimeline& t);
    void Pattern4(EventTimeline& t);
    void Pattern5(EventTimeline& t);
    void Pattern6(EventTimeline& t);
    void Beaten(EventTimeline& t);
    void DefeatBegin(EventTimeline& t);
    void StageClear(EventTimeline& t);

    EventTimeline* damage = nullptr;
    uint8_t cleared = 0;
    uint8_t beaten = 0;
    uint8_t timedOut = 0;

  private:
    std::deque<BodyEventRunner<Boss5MandaraLayerPart0>> runners;
};

// The mandala ring on Layer22: six muzzles; its trigger (Layer7) is never hit in play,
// so only the centre's defeat stops it.
class Boss5MandaraLayerPart22 : public Boss5MandalaPart {
  public:
    Boss5MandaraLayerPart22(TaskObject* parent, NodeSpawnInfo& info);
    ~Boss5MandaraLayerPart22() override;

    void OnUpdatePre() override;
    void AddTrigger(float amount) { trigger->AddTime(amount); }

    void AppearAttack(EventTimeline& t);
    void AllPattern0(EventTimeline& t);
    void InazumaPattern1(EventTimeline& t);
    void InazumaPattern2(EventTimeline& t);
    void CyuouPattern1(EventTimeline& t);
    void CyuouPattern2(EventTimeline& t);
    void AllPattern3(EventTimeline& t);
    void TriggerDefeat(EventTimeline& t);
    void DefeatBegin(EventTimeline& t);
    void Stopped(EventTimeline& t);

    EventTimeline* trigger = nullptr;
    uint8_t stopped = 0;

  private:
    std::deque<BodyEventRunner<Boss5MandaraLayerPart22>> runners;
};

// The ball of light on "ba_05_4hikari_dama:Layer0", under a model root of its own that
// is its clock. Its timelines count the world root's frames. From frame 11400 it attacks
// with chusin1; beaten at 4500 damage, it stops firing at 40 seconds left and gives up
// at 38; its defeat slows and sends it home, then shows the mandala and hides the ball.
class Boss5Body : public Boss5Controller {
  public:
    static constexpr int32_t kFightStart = 11400;
    static constexpr float kStopFiring = 40.0f;
    static constexpr float kGiveUp = 38.0f;

    Boss5Body(TaskObject* parent, NodeSpawnInfo& info);
    ~Boss5Body() override;

    void OnUpdatePre() override;
    void AddDamage(float amount) { damage->AddTime(amount); }
    void RegisterMarker(Boss5MarkerHikaridamaTop* m) { marker = m; }
    Boss5MarkerHikaridamaTop* Marker() const { return marker; }
    StaticModelRoot* Clock() const { return clock; }

    void FightStart(EventTimeline& t);
    void Patterns0And1(EventTimeline& t);
    void Pattern2(EventTimeline& t);
    void Pattern3(EventTimeline& t);
    void Patterns4And5(EventTimeline& t);
    void Pattern6(EventTimeline& t);
    void Pattern7(EventTimeline& t);
    void Pattern8(EventTimeline& t);
    void Pattern9(EventTimeline& t);
    void Patterns10And11(EventTimeline& t);
    void Beaten(EventTimeline& t);
    void DefeatBegin(EventTimeline& t);
    void HomingBegin(EventTimeline& t);
    void Burst(EventTimeline& t);
    void WeakPointGoes(EventTimeline& t);
    void Recovery(EventTimeline& t);
    void HandOver(EventTimeline& t);

    EventTimeline* attack = nullptr;
    EventTimeline* start = nullptr;
    EventTimeline* defeat = nullptr;
    EventTimeline* damage = nullptr;
    uint8_t slowing = 0;
    uint8_t homing = 0;
    uint8_t attackTimedOut = 0;
    uint8_t timedOut = 0;
    uint8_t hidden = 0;
    // The homing target under the world root; cleared if the world deletes it first.
    Object3D* home = nullptr;

  private:
    void StopAllChusin();
    // Two effects of the name under the world root, 5 below the ball.
    void Effects(const char* name);

    Boss5MandaraLayerPart21* root = nullptr;
    StaticModelRoot* clock = nullptr;
    LinearApproach approach{25.0f, 0.02f, 0.4f};
    uint8_t defeatStarted = 0;
    Boss5MarkerHikaridamaTop* marker = nullptr;
    std::deque<BodyEventRunner<Boss5Body>> runners;
};

// A weak point or trigger: its destruction timeline fed from its own frames, its sphere
// (radius 0: none) entered while hittable, the damage it takes handed to its owner.
class Boss5WeakPoint : public EnemySubPart {
  public:
    enum class Kind : uint8_t { kBall, kCentre, kRingTrigger };

    Boss5WeakPoint(TaskObject* parent, NodeSpawnInfo& info, Kind kind, AttachKind attach);
    ~Boss5WeakPoint() override;

    void OnUpdatePre() override;
    void OnDamaged(float damage, uint32_t playerMask) override;
    void SetHittable(bool on);
    void LogEvent(const char* label, int32_t frame);

    void Nothing(EventTimeline& t);
    void NotHittable(EventTimeline& t);
    void Kill(EventTimeline& t);
    void CentreBlast(EventTimeline& t);
    void CentreSmall(EventTimeline& t);
    void CentreMedium(EventTimeline& t);
    void CentreEnd(EventTimeline& t);
    void TriggerMedium(EventTimeline& t);
    void TriggerSmall(EventTimeline& t);

    Kind kind;
    Boss5Controller* owner = nullptr;
    EventTimeline* destruction = nullptr;

  private:
    void Emit(float radius, int32_t spawns, int32_t interval, int32_t volleys, const char* effect);

    int32_t lastFrame = 0;
    std::deque<BodyEventRunner<Boss5WeakPoint>> runners;
};

// The stage-5 boss's classes over the stand-ins, the cube and the muzzles included.
void RegisterBoss5(StageNodeRegistry& registry);

}  // namespace mareldon
