#pragma once

#include <cstdint>
#include <deque>

#include "game/bosses/BossParts.h"

namespace mareldon {

class Boss4Body;
class Boss4LayerPart;
class Boss4LayerPart23;
class Boss4Marker;
class Boss4Muzzle;
class StageNodeRegistry;

// The broken meshes of the stage-4 face: "ba_04kao_k", layers 0 to 14.
class Boss4KowareModel : public BrokenModelHolder {
  public:
    static constexpr const char* kModel = "ba_04kao_k";
    static constexpr int32_t kSlots = 15;

    explicit Boss4KowareModel(TaskObject* parent) : BrokenModelHolder(parent, String(kModel), kSlots) {}
};

// The face's root on "ba_04kao:Layer0": holds the broken meshes and the body and head
// that register in it; its own mesh is not drawn and it is never hit.
class Boss4LayerPart0 : public EnemySubPart {
  public:
    Boss4LayerPart0(TaskObject* parent, NodeSpawnInfo& info);
    ~Boss4LayerPart0() override;

    Boss4KowareModel* koware = nullptr;
    Boss4Body* body = nullptr;
    Boss4LayerPart23* head = nullptr;
};

// A restart of one muzzle pattern by a schedule: the muzzle's slot in its owner and the
// pattern.
struct Boss4Restart {
    int32_t frame;
    int32_t slot;
    int32_t pattern;
    const char* label;
};

// Fires a restart of an owner's schedule and logs it.
template <typename Owner>
class Boss4RestartRunner {
  public:
    Boss4RestartRunner(Owner* owner, const Boss4Restart* entry) : owner(owner), entry(entry) {}
    void Run(EventTimeline&) {
        owner->LogEvent(entry->label, entry->frame);
        owner->RestartPattern(entry->slot, entry->pattern);
    }

  private:
    Owner* owner;
    const Boss4Restart* entry;
};

// Adds the entries in the given order: the actions of one frame run last added first.
template <typename Owner>
void AddRestarts(EventTimeline& timeline, Owner* owner, const Boss4Restart* table, int32_t count,
                 std::deque<Boss4RestartRunner<Owner>>& runners) {
    for (int32_t i = 0; i < count; ++i) {
        runners.emplace_back(owner, &table[i]);
        timeline.AddEvent(table[i].frame, &runners.back(), &Boss4RestartRunner<Owner>::Run);
    }
}
template <typename Owner>
void AddEvents(EventTimeline& timeline, Owner* owner, const BodyEvent<Owner>* table, int32_t count,
               std::deque<BodyEventRunner<Owner>>& runners) {
    for (int32_t i = 0; i < count; ++i) {
        runners.emplace_back(owner, &table[i]);
        timeline.AddEvent(table[i].frame, &runners.back(), &BodyEventRunner<Owner>::Run);
    }
}

// The body's muzzle slots, in field order; the two spare slots only hold muzzles nothing
// starts.
enum Boss4BodySlot : int32_t {
    kBoss4Medarion,
    kBoss4BodySpareA,
    kBoss4BodySpareB,
    kBoss4HebiRue,
    kBoss4HebiRshita,
    kBoss4HebiRnaka,
    kBoss4HebiLue,
    kBoss4HebiLshita,
    kBoss4HebiLnaka,
    kBoss4BodySlotCount
};

// The face body on "ba_04kao:Layer24", the first phase: from frame 11400 of its clock
// its weak point and six plates are open and it runs one attack; beaten at 2500 damage
// to the weak point, or giving up at 55 seconds left, it sinks and shows the head.
class Boss4Body : public EnemySubPart {
  public:
    static constexpr const char* kModel = "ba_04kao";
    static constexpr int32_t kPlateCount = 6;

    Boss4Body(TaskObject* parent, NodeSpawnInfo& info);
    ~Boss4Body() override;

    void OnUpdatePre() override;

    void RegisterMuzzle(int32_t slot, Boss4Muzzle* muzzle);
    void RegisterMarker(bool left, Boss4Marker* marker);
    // Layers 1 to 8.
    void RegisterPart(int32_t layer, Boss4LayerPart* part);
    Boss4Muzzle* Muzzle(int32_t slot) const;
    Boss4Marker* Marker(bool left) const { return left ? markerL : markerR; }
    Boss4LayerPart* Part(int32_t layer) const;
    BrokenModelHolder* Holder() const;
    Boss4LayerPart0* Root() const { return root; }

    // Damage of the weak point (layer 2) or a plate (3 to 8).
    void AddPartDamage(int32_t layer, float damage);
    void RestartPattern(int32_t slot, int32_t pattern);
    void LogEvent(const char* label, int32_t frame);

    bool IsTimedOut() const { return timedOut != 0; }
    bool IsBeaten() const { return beaten != 0; }
    bool IsSinking() const { return sinking != 0; }
    float GetSinkSpeed() const { return sinkSpeed; }

    // The schedule's actions.
    void Open(EventTimeline& t);
    void StopThis(EventTimeline& t);
    void Beaten(EventTimeline& t);
    template <int32_t N>
    void PlateBreaks(EventTimeline& t);
    void DefeatBegin(EventTimeline& t);
    void Freeze(EventTimeline& t);
    void ShowHead(EventTimeline& t);

    EventTimeline* attack;
    EventTimeline* start;
    EventTimeline* defeat;
    EventTimeline* damage;
    EventTimeline* plates[kPlateCount];

  private:
    Boss4LayerPart0* root;
    uint8_t timedOut = 0;
    uint8_t beaten = 0;
    uint8_t sinking = 0;
    float sinkSpeed = 0.0f;
    int32_t lastFrame = 0;
    Boss4Muzzle* muzzles[kBoss4BodySlotCount] = {};
    Boss4Marker* markerR = nullptr;
    Boss4Marker* markerL = nullptr;
    Boss4LayerPart* weakPoint = nullptr;
    Boss4LayerPart* jaw = nullptr;
    Boss4LayerPart* plateParts[kPlateCount] = {};
    std::deque<BodyEventRunner<Boss4Body>> runners;
    std::deque<Boss4RestartRunner<Boss4Body>> restarts;
};

// Poses a node as it stands and drops its key tracks, so that the pose holds.
void FreezePose(Object3D& node);

// The stage-4 boss's classes over the stand-ins: the face's layers and its muzzle and
// marker nodes.
void RegisterBoss4(StageNodeRegistry& registry);

}  // namespace mareldon
