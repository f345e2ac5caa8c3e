#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "game/bosses/BossParts.h"

namespace mareldon {

class Boss3Body;

// The body's section slots, in field order.
enum Boss3PartSlot : int32_t {
    kBoss3Core,  // Layer0
    kBoss3Layer6,
    kBoss3Layer2,
    kBoss3Layer11,
    kBoss3Layer12,
    kBoss3Layer3,
    kBoss3Layer4,
    kBoss3Layer16,
    kBoss3Layer17,
    kBoss3Layer13,
    kBoss3Layer14,
    kBoss3Layer5,
    kBoss3Layer20,
    kBoss3Layer19,
    kBoss3Layer21,
    kBoss3PartCount
};

// The part meters G to L.
enum class Boss3Meter : uint8_t { kG, kH, kI, kJ, kK, kL };
inline constexpr int32_t kBoss3MeterCount = 6;

// What a section's motion does once the phase change has frozen it.
enum class Boss3Motion : uint8_t { kNone, kTurn, kApproach, kWobble, kSpin };

// One explosion emitter of a death timeline, with the constructor's four floats.
struct Boss3Emitter {
    float radius;
    int32_t spawnsPerVolley;
    int32_t interval;
    int32_t volleys;
    const char* effect;
    float yawBase;
    float yawSpread;
    float speedBase;
    float speedSpread;
};

enum class Boss3Op : uint8_t {
    kEmit,         // an emitter, moved by the offset, its first float replaced when `angle` is set
    kSeRandom,     // the random explosion sound
    kSe4,          // sound 4
    kSe5,          // sound 5
    kSwap,         // the broken mesh of the section's layer
    kBigBlast,     // "EXPLOSION_BS01" at the world position
    kKill,         // durability 0, timeline stopped
    kDurability,   // durability 0 only
    kNotHittable,  // no longer hittable
    kBroken,       // broken: no hit sphere from now on
    kStop,         // timeline stopped
    kFan           // the twelve-effect fan, sound 4, durability 0, timeline stopped
};

struct Boss3Action {
    Boss3Op op;
    const Boss3Emitter* emitter;
    Vec3 offset;
    bool turned;
    float angle;
};

// The actions of one frame, in the order they are added (AddSectionSteps).
struct Boss3Step {
    int32_t frame;
    Boss3Action actions[4];
    int32_t count;
};

// One section: its layer, slot, how far up the body is, whether it hangs under a frame
// node, its hit sphere (radius 0: none), where its damage goes, whether the fight start
// makes it hittable, its death timeline and its motion.
struct Boss3SectionRow {
    int32_t layer;
    Boss3PartSlot slot;
    int32_t depth;
    bool underFrameNode;
    HitSphereSpec sphere;
    int8_t meter;  // -1 none, 6 the core meter, else a Boss3Meter
    bool fightHittable;
    const Boss3Step* death;
    int32_t deathSteps;
    Boss3Motion motion;
    // Placed at the parent's pivot when built.
    bool atPivot;
    // The fan of effects turns this way (-1 down, +1 up).
    float fanTurn;
};

inline constexpr int8_t kBoss3CoreMeter = 6;

// The row of a layer, or null for a layer that is no section.
const Boss3SectionRow* Boss3SectionTable(int32_t layer);

// A section of the stage-3 boss: its death timeline and its motion run on the world
// root's frame number, like the body's timelines.
class Boss3Section : public BossSection {
  public:
    Boss3Section(TaskObject* parent, NodeSpawnInfo& info, const Boss3SectionRow& row);
    ~Boss3Section() override;

    void OnUpdatePre() override;
    void OnDamaged(float damage, uint32_t playerMask) override;

    // Starts the death timeline, from frame 0 when `rewound`.
    void StartDeath(bool rewound);
    // Holds the current pose without its key tracks and switches the phase-two motion on.
    void Freeze();
    void StartTurning() { turning = 1; }
    void RunAction(const Boss3Action& action, EventTimeline& timeline);

    const Boss3SectionRow& row;
    Boss3Body* body = nullptr;
    EventTimeline* death = nullptr;
    uint8_t broken = 0;
    uint8_t frozen = 0;
    uint8_t turning = 0;
    float heading = 0.0f;

  private:
    class ActionRunner {
      public:
        ActionRunner(Boss3Section* section, const Boss3Action& action) : section(section), action(&action) {}
        void Run(EventTimeline& timeline) { section->RunAction(*action, timeline); }

      private:
        Boss3Section* section;
        const Boss3Action* action;
    };

    void Move();

    std::deque<ActionRunner> runners;
    int32_t lastFrame = 0;
    AngleTracker tracker{25.0f, 0.95f, 0.01f, 2.5f};
    LinearApproach approach{20.0f, 0.001f, 0.05f};
    float phase = 3.1415927f;
    float phaseStep = 0.2617994f;
    float spin = 0.0f;
};

template <int32_t Layer>
class Boss3LayerPartOf : public Boss3Section {
  public:
    Boss3LayerPartOf(TaskObject* parent, NodeSpawnInfo& info)
        : Boss3Section(parent, info, *Boss3SectionTable(Layer)) {}
};

using Boss3LayerPart0 = Boss3LayerPartOf<0>;
using Boss3LayerPart2 = Boss3LayerPartOf<2>;
using Boss3LayerPart3 = Boss3LayerPartOf<3>;
using Boss3LayerPart4 = Boss3LayerPartOf<4>;
using Boss3LayerPart5 = Boss3LayerPartOf<5>;
using Boss3LayerPart6 = Boss3LayerPartOf<6>;
using Boss3LayerPart11 = Boss3LayerPartOf<11>;
using Boss3LayerPart12 = Boss3LayerPartOf<12>;
using Boss3LayerPart13 = Boss3LayerPartOf<13>;
using Boss3LayerPart14 = Boss3LayerPartOf<14>;
using Boss3LayerPart16 = Boss3LayerPartOf<16>;
using Boss3LayerPart17 = Boss3LayerPartOf<17>;
using Boss3LayerPart19 = Boss3LayerPartOf<19>;
using Boss3LayerPart20 = Boss3LayerPartOf<20>;
using Boss3LayerPart21 = Boss3LayerPartOf<21>;

// The broken-model holder of "bg_03big_spider_koware", 22 slots.
class Boss3KowareModel : public BrokenModelHolder {
  public:
    explicit Boss3KowareModel(TaskObject* parent);
};

}  // namespace mareldon
