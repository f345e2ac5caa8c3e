#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "game/bosses/BossParts.h"
#include "game/objects/LayerEnemy.h"

namespace mareldon {

class Boss2Body;

// The broken meshes of the stage-2 boss: "ba02_cyou_koware", Layers 0 to 14.
class Boss2KowareModel : public BrokenModelHolder {
  public:
    static constexpr int32_t kSlots = 15;

    Boss2KowareModel(TaskObject* parent, const String& modelName)
        : BrokenModelHolder(parent, modelName, kSlots) {}
};

// One explosion emitter of a destruction timeline, with every argument and where it
// stands (z) in the section.
struct Boss2Emitter {
    float radius;
    int32_t spawnsPerVolley;
    int32_t interval;
    int32_t volleys;
    const char* effect;
    float direction;
    float spread;
    float speed;
    float speedRange;
    float atZ;
};

enum class Boss2Op : uint8_t {
    kEmit,
    kSeRandom,
    kSe4,
    kSe5,
    kSwap,        // take the broken mesh of the section's layer
    kBigBlast,    // "EXPLOSION_BS01" at the world position, 2.5 along -z
    kKill,        // durability 0, timeline stopped
    kDurability,  // durability 0 only
    kStop,        // timeline stopped
    kDisarm,      // not hittable
};

struct Boss2Action {
    Boss2Op op;
    Boss2Emitter emitter;
};

// The actions of one frame, in the order they are added (AddSectionSteps).
struct Boss2Step {
    int32_t frame;
    Boss2Action actions[4];
    int32_t count;
};

class Boss2LayerPart;

class Boss2ActionRunner {
  public:
    Boss2ActionRunner(Boss2LayerPart* part, const Boss2Action& action) : part(part), action(&action) {}
    void Run(EventTimeline& timeline);

  private:
    Boss2LayerPart* part;
    const Boss2Action* action;
};

// A section of the stage-2 boss on "ba02_cyou:LayerN": finds the body its depth up and
// holds its part slot there until it goes. Layers 1, 2, 3, 4 and 7 have one
// destruction timeline; 11 to 14 a `break` and a `burn` timeline; 1 and 4 turn their
// gear toward 180 degrees once told.
class Boss2LayerPart : public BossSection {
  public:
    Boss2LayerPart(TaskObject* parent, NodeSpawnInfo& info, int32_t layer);
    ~Boss2LayerPart() override;

    void OnUpdatePre() override;
    void OnDamaged(float damage, uint32_t playerMask) override;

    // Layers 11 to 14: 0 starts `break`, 1 starts `burn`.
    void StartTimeline(int32_t k);
    // Layers 1, 2, 4, 7 (3 also becomes not hittable).
    void StartDestruction();
    void StartTurning() { turning = 1; }
    bool IsTurning() const { return turning != 0; }
    float Angle() const { return angle; }

    Boss2Body* body = nullptr;
    int32_t layer;
    EventTimeline* destruction = nullptr;
    EventTimeline* breakLine = nullptr;
    EventTimeline* burnLine = nullptr;

  private:
    EventTimeline* AddSteps(const Boss2Step* steps, int32_t count);

    std::vector<EventTimeline*> lines;
    std::deque<Boss2ActionRunner> runners;
    int32_t lastFrame = 0;
    uint8_t turning = 0;
    AngleTracker tracker{25.0f, 0.94f, 0.001f, 2.0f};
    float angle = 0.0f;
};

// The sections by the names the model gives them.
template <int32_t Layer>
class Boss2LayerPartN : public Boss2LayerPart {
  public:
    Boss2LayerPartN(TaskObject* parent, NodeSpawnInfo& info) : Boss2LayerPart(parent, info, Layer) {}
};
using Boss2LayerPart1 = Boss2LayerPartN<1>;
using Boss2LayerPart2 = Boss2LayerPartN<2>;
using Boss2LayerPart3 = Boss2LayerPartN<3>;
using Boss2LayerPart4 = Boss2LayerPartN<4>;
using Boss2LayerPart7 = Boss2LayerPartN<7>;
using Boss2LayerPart11 = Boss2LayerPartN<11>;
using Boss2LayerPart12 = Boss2LayerPartN<12>;
using Boss2LayerPart13 = Boss2LayerPartN<13>;
using Boss2LayerPart14 = Boss2LayerPartN<14>;

// How deep under the body a section lies; 0 for a layer that is no section.
int32_t Boss2SectionDepth(int32_t layer);

}  // namespace mareldon
