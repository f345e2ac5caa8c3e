#pragma once

#include <cstdint>
#include <deque>

#include "game/bosses/BossParts.h"

namespace mareldon {

class Boss4Body;
class Boss4LayerPart23;

// One explosion emitter of a stage-4 part's destruction: the emitter's arguments (0 for
// a direction and speed not given), then the offset its local position is moved by.
struct Boss4Emit {
    float radius;
    int32_t spawnsPerVolley;
    int32_t interval;
    int32_t volleys;
    const char* effect;
    float yaw;
    float yawSpread;
    float speed;
    float speedSpread;
    Vec3 offset;
};

// What one action of a destruction does.
enum class Boss4Op : uint8_t {
    kEmit,        // the emitter
    kSeRandom,    // the random explosion sound
    kSe4,         // sound 4
    kSe5,         // sound 5
    kSwap,        // take the broken mesh of the part's slot
    kKill,        // durability 0, stopped
    kStop,        // stopped
    kRingBurst,   // twelve explosions fanning out (the head's weak point)
    kBigBlasts,   // two "EXPLOSION_BS01" on the head
    kHide,        // the part hides; "EXPLOSION_S4BOSS" on the head
    kStageClear,  // durability 0, the stage clear, stopped
};

struct Boss4Action {
    int32_t frame;
    Boss4Op op;
    Boss4Emit emit;
};

class Boss4LayerPart;

// Runs one action of a part's destruction.
class Boss4ActionRunner {
  public:
    Boss4ActionRunner(Boss4LayerPart* part, const Boss4Action& action) : part(part), action(action) {}
    void Run(EventTimeline& timeline);

  private:
    Boss4LayerPart* part;
    Boss4Action action;
};

// A part of the stage-4 face on a mesh layer: registers in its owner, feeds its one
// destruction timeline from its own frame number (stopped until started: what it is fed
// before is discarded), enters its hit spheres while hittable and hands its damage on.
class Boss4LayerPart : public BossSection {
  public:
    Boss4LayerPart(TaskObject* parent, NodeSpawnInfo& info, AttachKind kind, int32_t layer,
                   const HitSphereSpec* spheres, int32_t sphereCount);
    ~Boss4LayerPart() override;

    void OnDamaged(float damage, uint32_t playerMask) override;
    void StartDestruction();
    void Emit(const Boss4Emit& emit);
    // The twelve-explosion ring the head's weak point bursts in, drawn from the world's
    // generator.
    void RingBurst();
    void Hide();
    // An effect object on the head at its local point.
    void HeadEffect(const char* name, const Vec3& at);

    int32_t layer;
    Boss4Body* body = nullptr;
    Boss4LayerPart23* head = nullptr;
    EventTimeline* destruction = nullptr;

  protected:
    void AddActions(const Boss4Action* actions, int32_t count);

  private:
    std::deque<Boss4ActionRunner> actionRunners;
};

// Layer 1, the jaw.
class Boss4LayerPart1 : public Boss4LayerPart {
  public:
    Boss4LayerPart1(TaskObject* parent, NodeSpawnInfo& info);
};

// Layer 2, the body's weak point, two levels under the body.
class Boss4LayerPart2 : public Boss4LayerPart {
  public:
    Boss4LayerPart2(TaskObject* parent, NodeSpawnInfo& info);
};

// Layers 3 to 8, the face plates, under a frame node: each breaks for good at 200
// damage and stays, broken and not hittable.
class Boss4Plate : public Boss4LayerPart {
  public:
    Boss4Plate(TaskObject* parent, NodeSpawnInfo& info, int32_t layer);
};

template <int32_t N>
class Boss4PlateLayer : public Boss4Plate {
  public:
    Boss4PlateLayer(TaskObject* parent, NodeSpawnInfo& info) : Boss4Plate(parent, info, N) {}
};
using Boss4LayerPart3 = Boss4PlateLayer<3>;
using Boss4LayerPart4 = Boss4PlateLayer<4>;
using Boss4LayerPart5 = Boss4PlateLayer<5>;
using Boss4LayerPart6 = Boss4PlateLayer<6>;
using Boss4LayerPart7 = Boss4PlateLayer<7>;
using Boss4LayerPart8 = Boss4PlateLayer<8>;

// Layer 25, the head's weak point. Its destruction's ring bursts are drawn once, when
// it is built.
class Boss4LayerPart25 : public Boss4LayerPart {
  public:
    static constexpr int32_t kRingBursts = 16;

    Boss4LayerPart25(TaskObject* parent, NodeSpawnInfo& info);

    // The frames of the ring bursts and of the stage clear.
    const int32_t* RingFrames() const { return ringFrames; }
    int32_t ClearFrame() const { return clearFrame; }

  private:
    int32_t ringFrames[kRingBursts] = {};
    int32_t clearFrame = 0;
};

}  // namespace mareldon
