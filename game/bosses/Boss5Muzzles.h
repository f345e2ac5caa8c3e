#pragma once

#include <cstdint>

#include "game/bosses/BossParts.h"
#include "game/objects/StageNodes.h"

namespace mareldon {

class Boss5Body;
class Boss5Controller;

// Where a stage-5 muzzle or marker registers in its owner.
enum class Boss5Slot : uint8_t {
    kMedarion5Boss,  // the mandala centre
    kUCyuou,         // the ring, from here on
    kRCyuou,
    kLCyuou,
    kInazuma15_18,
    kInazuma16_19,
    kInazuma17_20,
    kChusin1,  // the ball
    kCount
};

// A muzzle of the stage-5 boss: a frame-node object holding its patterns in order,
// registered in its owner's slot while it lives.
class Boss5Muzzle : public NullNodeObject {
  public:
    static constexpr int32_t kMaxPatterns = 12;

    Boss5Muzzle(TaskObject* parent, NodeSpawnInfo& info, Boss5Slot slot,
                AttachKind kind = AttachKind::kPlain);
    ~Boss5Muzzle() override;

    // Pattern i off and on again (a fresh firing); off only. A missing pattern does nothing.
    void Restart(int32_t i);
    void Stop(int32_t i);
    void StopAll();
    BossPattern* Pattern(int32_t i) const { return i >= 0 && i < patternCount ? patterns[i] : nullptr; }
    int32_t PatternCount() const { return patternCount; }

    void AddPattern(BossPattern* pattern);

    Boss5Slot slot;

  private:
    // The owner the muzzle registered in; told when the muzzle goes.
    Boss5Controller* owner = nullptr;
    BossPattern* patterns[kMaxPatterns] = {};
    int32_t patternCount = 0;
};

// "Null_ba_05_4hikari_dama_top": a mark on the ball that its defeat sets.
class Boss5MarkerHikaridamaTop : public NullNodeObject {
  public:
    Boss5MarkerHikaridamaTop(TaskObject* parent, NodeSpawnInfo& info);
    ~Boss5MarkerHikaridamaTop() override;

    Boss5Body* owner = nullptr;
    uint8_t flag = 0;
};

class StageNodeRegistry;

// The muzzles and the marker over their stand-ins.
void RegisterBoss5Muzzles(StageNodeRegistry& registry);

// Gives a muzzle of the slot its patterns, in order (Boss5Weapons.cpp).
void AddBoss5Patterns(Boss5Muzzle& muzzle, GameWorldScreen* world);

}  // namespace mareldon
