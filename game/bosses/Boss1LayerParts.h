#pragma once

#include <cstdint>

#include "game/bosses/Boss1Weapons.h"
#include "game/bosses/BossParts.h"
#include "game/objects/StageNodes.h"

namespace mareldon {

class Boss1Body;

// The body's section slots, in field order.
enum Boss1SectionIndex : int32_t {
    kBoss1Core,
    kBoss1Cover,
    kBoss1WingRootA,
    kBoss1WingRootB,
    kBoss1Layer5,
    kBoss1Layer6,
    kBoss1Layer7,
    kBoss1Layer8,
    kBoss1Layer9,
    kBoss1Layer10,
    kBoss1SectionCount
};

// A section of the stage-1 boss: finds the body `depth` levels up and takes its slot
// there until it goes.
class Boss1Section : public BossSection {
  public:
    Boss1Section(TaskObject* parent, NodeSpawnInfo& info, AttachKind kind, int32_t layer, int32_t depth,
                 Boss1SectionIndex index, const HitSphereSpec* spheres, int32_t sphereCount);
    ~Boss1Section() override;

    // The weapon switch of the section's table; unknown cases do nothing.
    virtual void SwitchPattern(int32_t k) { (void)k; }
    // The section's state step (broken, collapse, death) as its class defines it.
    virtual void SetState(int32_t k) { (void)k; }
    // Starts the death sequence of a section that has one.
    virtual void StartDeath() {}

    Boss1Body* body = nullptr;
    Boss1SectionIndex index;
};

// Layer 0: the core, with the mine cover and the big turret.
class Boss1LayerPart0 : public Boss1Section {
  public:
    Boss1LayerPart0(TaskObject* parent, NodeSpawnInfo& info);

    void OnDamaged(float damage, uint32_t playerMask) override;
    // 0-5: the cover's patterns 0-2; 6-11: the turret's patterns 2-4.
    void SwitchPattern(int32_t k) override;
    void StartDeath() override { death->Start(); }

    Boss1KiraiCover* kirai = nullptr;
    Boss1HoudaiB* turret = nullptr;
    EventTimeline* death = nullptr;
};

// Layer 2: the cover over the core.
class Boss1LayerPart2 : public Boss1Section {
  public:
    Boss1LayerPart2(TaskObject* parent, NodeSpawnInfo& info);

    void OnDamaged(float damage, uint32_t playerMask) override;
    void OnDestroyed() override { death->Stop(); }
    void StartDeath() override { death->Start(); }

    EventTimeline* death = nullptr;
};

// Layers 3 and 4: the wing roots, seven patterns and a twin cannon each.
class Boss1WingRoot : public Boss1Section {
  public:
    static constexpr int32_t kPatternCount = 7;

    Boss1WingRoot(TaskObject* parent, NodeSpawnInfo& info, Boss1Wing wing);

    void OnDamaged(float damage, uint32_t playerMask) override;
    // 0, 1: pattern 0; 2, 3: the twin cannon's 0 and 1; 4-15: patterns 1-6.
    void SwitchPattern(int32_t k) override;
    // 0: broken (its damage goes to the core from now on); 1: its death sequence.
    void SetState(int32_t k) override;
    void StartDeath() override { death->Start(); }

    Boss1Wing wing;
    uint8_t broken = 0;
    BossPattern* patterns[kPatternCount] = {};
    Boss1TwinCannon* cannon = nullptr;
    EventTimeline* death = nullptr;
};

// Layers 5 to 10: wing sections that break and later collapse; 5 and 6 carry a turret.
class Boss1WingPart : public Boss1Section {
  public:
    Boss1WingPart(TaskObject* parent, NodeSpawnInfo& info, int32_t layer);

    void OnDamaged(float damage, uint32_t playerMask) override;
    // Passed on to the turret.
    void SwitchPattern(int32_t k) override;
    // 0: the broken sequence (7-10 also stop being hittable); 1: the collapse.
    void SetState(int32_t k) override;

    int32_t layer;
    Boss1HoudaiS* turret = nullptr;
    EventTimeline* brokenSequence = nullptr;
    EventTimeline* collapse = nullptr;
};

// The four wing tips: swing to a fixed yaw once the core phase begins.
class Boss1WingTip : public NullNodeObject {
  public:
    enum Which : int32_t { kSakiR, kSakiL, kSakisotoR, kSakisotoL, kCount };

    Boss1WingTip(TaskObject* parent, NodeSpawnInfo& info, Which which);
    ~Boss1WingTip() override;

    void OnUpdatePre() override;
    void StartTurning();
    bool IsTurning() const { return turning != 0; }
    float TargetYaw() const;

    Boss1Body* body = nullptr;
    Which which;

  private:
    AngleTracker tracker{10.0f, 0.1f, 1.0f};
    uint8_t turning = 0;
};

}  // namespace mareldon
