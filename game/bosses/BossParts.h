#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "engine/core/Log.h"
#include "engine/core/Math.h"
#include "engine/core/String.h"
#include "game/bosses/EventTimeline.h"
#include "game/objects/Enemy.h"
#include "game/stage/AngleTracker.h"
#include "game/stage/ShooterObject.h"
#include "game/stage/StaticModelPart.h"

namespace mareldon {

class GameWorldScreen;
class WorldEventLog;

// The node `levels` parents up from `from` when it is a T, else null with a warning: a
// boss part finds its owner by how deep it lies in the model, and a model nested
// otherwise must leave the part without an owner, not with the wrong one.
template <typename T>
T* FindAncestor(TaskObject* from, int32_t levels, const String& who) {
    TaskObject* at = from;
    for (int32_t i = 0; i < levels && at != nullptr; ++i)
        at = static_cast<TaskObject*>(at->parent);
    T* found = dynamic_cast<T*>(at);
    if (found == nullptr)
        LOG_WARN("boss", "\"%s\" has no owner %d levels up; it acts alone", who.Text(), levels);
    return found;
}

// Binds a model by name, or nothing when the archive has no such model (the archive's
// first model would stand in otherwise). False when nothing bound, with a warning the
// first time for each name.
bool BindNamedModel(ClockNode& node, const String& modelName);

// The world's event log, or null.
WorldEventLog* BossLog(GameWorldScreen* world);

// Holds the broken meshes of a boss: bound to "<boss>_koware", never drawn, it keeps the
// mesh object of layer "<boss>_koware:LayerN" in slot N for N below its slot count;
// other layers become plain nodes it ignores.
class BrokenModelHolder : public StaticModelPart {
  public:
    BrokenModelHolder(TaskObject* parent, const String& modelName, int32_t slotCount);

    Object3D* CreateLayerObject(Object3D* parent, const RefPtr<ModelNodeData>& record, const String& name,
                                const RefPtr<RenderBatch>& drawSet,
                                const std::vector<ParamTrack>* params) override;

    // Null for an empty slot or one beyond the count.
    MeshObject* Slot(int32_t index) const;
    int32_t SlotCount() const { return int32_t(slots.size()); }

  private:
    String prefix;
    std::vector<MeshObject*> slots;
};

// A shot pattern of a boss: a shot pattern with the helpers every boss weapon fires
// through. Angles in degrees are bearings (0 = +z, 90 = +x); radians give the velocity
// (-cos a, 0, -sin a) x speed.
class BossPattern : public ShotPatternBase {
  public:
    BossPattern(TaskObject* parent, GameWorldScreen* screen, const char* label);

    // Logs the switch, then the shooter's own.
    void Restart();
    void Stop();

    const char* label;

  protected:
    // A draw in [0, 1) from the pattern's generator.
    float NextUnit() { return float(Generator().Next()) * 2.3283064e-10f; }
    void FireRadians(const Vec3& from, float angle, float speed, int32_t sprite, float size);
    void FireBearing(const Vec3& from, float degrees, float speed, int32_t sprite, float size);
    // atan2(z, x) of the pattern's world forward.
    float ForwardAngle();
    // The bearing from the pattern toward the nearest ship.
    float AimAtPlayer();
    // At the parent's pivot plus `offset`.
    void PlaceAt(const Vec3& offset);
};

// Restarts (even k = 2i) or stops (odd k = 2i + 1) pattern i; anything else, or a
// missing pattern, does nothing.
void SwitchPatternIn(BossPattern* const* patterns, int32_t count, int32_t k);

// A weapon model of a section: bound to its model, standing at the parent's pivot plus
// an offset, owning its patterns, optionally turning its yaw toward the nearest ship.
class BossWeaponModel : public StaticModelPart {
  public:
    static constexpr int32_t kMaxPatterns = 5;

    BossWeaponModel(TaskObject* parent, GameWorldScreen* screen, const char* modelName, const Vec3& offset,
                    bool turning);
    ~BossWeaponModel() override;

    void OnUpdatePre() override;
    virtual void SwitchPattern(int32_t k) { SwitchPatternIn(patterns, patternCount, k); }
    BossPattern* Pattern(int32_t i) const { return i >= 0 && i < patternCount ? patterns[i] : nullptr; }
    float GetAngle() const { return angle; }

  protected:
    void AddPattern(BossPattern* pattern);

    Vec3 offset;
    BossPattern* patterns[kMaxPatterns] = {};
    int32_t patternCount = 0;
    AngleTracker* tracker = nullptr;
    float angle = 0.0f;
};

// The arguments of one explosion emitter of a death sequence.
struct EmitterSpec {
    float radius;
    int32_t spawnsPerVolley;
    int32_t interval;
    int32_t volleys;
    const char* effect;
    float yawSpread;
    float speedSpread;
};

// The actions every boss's section action set opens with, in this order: each boss
// describes its emitter its own way, the sounds and the mesh swap are the same for all.
enum class SharedSectionOp : uint8_t { kEmit, kSeRandom, kSe4, kSe5, kSwap };

// True when a boss's action set opens with the shared actions, numbered alike.
template <typename Op>
constexpr bool OpensWithSharedOps() {
    return uint8_t(Op::kEmit) == uint8_t(SharedSectionOp::kEmit) &&
           uint8_t(Op::kSeRandom) == uint8_t(SharedSectionOp::kSeRandom) &&
           uint8_t(Op::kSe4) == uint8_t(SharedSectionOp::kSe4) &&
           uint8_t(Op::kSe5) == uint8_t(SharedSectionOp::kSe5) &&
           uint8_t(Op::kSwap) == uint8_t(SharedSectionOp::kSwap);
}

// What a step of a section's sequence does, in order.
enum class SequenceOp : uint8_t {
    kEmit,       // an emitter (the action's EmitterSpec)
    kSeRandom,   // the random explosion sound
    kSe4,        // sound 4
    kSe5,        // sound 5
    kSwap,       // take the broken mesh of the section's slot
    kBigBlast,   // "EXPLOSION_BS01" at the world position, moved 1 along -z
    kEnd,        // durability 0, timeline stopped
    kKill,       // durability 0, timeline stopped (the kill callback)
    kStop,       // timeline stopped
    kDurability  // durability 0 only
};

struct SequenceAction {
    SequenceOp op;
    EmitterSpec emitter;
};

// The actions of one frame of a sequence, in the order they are added (see AddSectionSteps).
struct SequenceStep {
    int32_t frame;
    SequenceAction actions[4];
    int32_t count;
};

// How every boss adds its section sequences: each action on its own, in the listed order.
// A timeline fires a frame's actions last added first, so the actions of one frame run
// last listed first. Runner(owner, action) runs one action.
template <typename Runner, typename Owner, typename Action>
void AddSectionAction(EventTimeline& timeline, int32_t frame, Owner* owner, const Action& action,
                      std::deque<Runner>& runners) {
    runners.emplace_back(owner, action);
    timeline.AddEvent(frame, &runners.back(), &Runner::Run);
}

// A sequence written as steps, each a frame and its actions.
template <typename Runner, typename Owner, typename Step>
void AddSectionSteps(EventTimeline& timeline, Owner* owner, const Step* steps, int32_t count,
                     std::deque<Runner>& runners) {
    for (int32_t i = 0; i < count; ++i) {
        for (int32_t j = 0; j < steps[i].count; ++j)
            AddSectionAction(timeline, steps[i].frame, owner, steps[i].actions[j], runners);
    }
}

class BossSection;

// Runs one action of a section sequence; made when the section is built.
class SequenceRunner {
  public:
    SequenceRunner(BossSection* section, const SequenceAction& action) : section(section), action(&action) {}
    void Run(EventTimeline& timeline);

  private:
    BossSection* section;
    const SequenceAction* action;
};

// A hit sphere of a section: offset from its world position, radius.
struct HitSphereSpec {
    Vec3 offset;
    float radius;
};

// A hittable section of a boss on a mesh layer: not hittable until the body says so,
// its timelines fed each step from its own frame number, its spheres entered while
// hittable, its broken mesh taken from the body's holder.
class BossSection : public EnemySubPart {
  public:
    static constexpr float kDurability = 500000.0f;

    BossSection(TaskObject* parent, NodeSpawnInfo& info, AttachKind kind, int32_t slot,
                const HitSphereSpec* spheres, int32_t sphereCount);
    ~BossSection() override;

    void OnUpdatePre() override;
    void SetHittable(bool on);
    // Takes the holder's mesh of the section's slot; an empty slot keeps the mesh.
    void TakeBrokenMesh();
    // A shared sound or the mesh swap; the emitter is the boss's own.
    void RunSharedAction(SharedSectionOp op);
    void Emit(const EmitterSpec& spec);

    BrokenModelHolder* holder = nullptr;
    int32_t slot;

  protected:
    // A sequence timeline from a table, stopped until started.
    EventTimeline* AddSequence(const SequenceStep* steps, int32_t count);

  private:
    std::vector<EventTimeline*> timelines;
    std::deque<SequenceRunner> runners;
    const HitSphereSpec* spheres;
    int32_t sphereCount;
    int32_t lastFrame = 0;
};

// One entry of a body's schedule: a frame and a member action, logged by name when it fires.
template <typename Body>
struct BodyEvent {
    int32_t frame;
    void (Body::*action)(EventTimeline&);
    const char* label;
};

// Fires a body action and logs it.
template <typename Body>
class BodyEventRunner {
  public:
    BodyEventRunner(Body* body, const BodyEvent<Body>* event) : body(body), event(event) {}
    void Run(EventTimeline& timeline) {
        body->LogEvent(event->label, event->frame);
        (body->*(event->action))(timeline);
    }

  private:
    Body* body;
    const BodyEvent<Body>* event;
};

// Adds a table, ascending by frame, so that the actions of one frame fire in the table's
// order (a timeline fires the last added first). The runners stay in `runners`.
template <typename Body>
void AddBodySchedule(EventTimeline& timeline, Body* body, const BodyEvent<Body>* table, int32_t count,
                     std::deque<BodyEventRunner<Body>>& runners) {
    const size_t first = runners.size();
    for (int32_t i = 0; i < count; ++i)
        runners.emplace_back(body, &table[i]);
    int32_t i = 0;
    while (i < count) {
        int32_t end = i;
        while (end < count && table[end].frame == table[i].frame)
            ++end;
        for (int32_t j = end - 1; j >= i; --j)
            timeline.AddEvent(table[j].frame, &runners[first + size_t(j)], &BodyEventRunner<Body>::Run);
        i = end;
    }
}

// Drops a node's key tracks and holds its current pose through the setters, so the
// animation pass no longer puts a keyed pose back.
void HoldPose(Object3D& node);

// Degrees to radians as the boss code has always converted.
inline constexpr float kBossRadiansPerDegree = 0.017453294f;

}  // namespace mareldon
