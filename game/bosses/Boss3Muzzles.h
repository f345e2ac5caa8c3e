#pragma once

#include <cstdint>

#include "engine/core/Random.h"
#include "game/bosses/BossParts.h"
#include "game/objects/StageNodes.h"

namespace mareldon {

class Boss3Body;
class StageNodeRegistry;

// The body's muzzle slots, in field order.
enum Boss3MuzzleSlot : int32_t {
    kBoss3KasaR1,
    kBoss3KasaRcenter = kBoss3KasaR1 + 12,
    kBoss3KasaL1,
    kBoss3KasaLcenter = kBoss3KasaL1 + 12,
    kBoss3MeC,
    kBoss3MeR,
    kBoss3MeL,
    kBoss3SideUnitR,
    kBoss3SideUnitL,
    kBoss3MuzzleCount
};

// What a stage-3 pattern does each shot; the rows below set its figures.
enum class Boss3Shot : uint8_t {
    kKasaAimed,    // accelerating aimed shots
    kKasaSweep,    // a line swept from a start bearing, each bullet faster
    kKasaSlowing,  // aimed, the shots coming one step later each time
    kMeBack,       // three-way backwards
    kMeTurn,       // three-way turning further each shot and burst
    kSideSwing,    // four-way swinging to and fro
    kSideClose,    // four-way closing
    kCentreFour,   // random four-way
    kCentreNine,   // random nine-way
    kCentreFan,    // six-bullet fans turning round
    kCentreWheel,  // two wheels along a random heading
    kCentreSpray,  // a widening random spray, ever faster
    kCentreBurst,  // alternating four- and seven-way bursts at the ship
    kCentreCross,  // a turning cross
    kCentreRing    // one ring of 64
};

// One pattern class: its kind, its (burst interval, shot interval, burst shots, bursts),
// the mirror `side` (+1 for the left-hand form, -1 for the right-hand one), a start
// figure and the seed of its own generator (0: the common one).
struct Boss3PatternRow {
    const char* name;
    Boss3Shot shot;
    int32_t burstInterval;
    int32_t shotInterval;
    int32_t burstShots;
    int32_t bursts;
    float side;
    float start;
    uint32_t seed;
};

// The pattern rows of a muzzle and where its owner lies.
struct Boss3MuzzleRow {
    const char* node;
    int32_t depth;
    int32_t patternCount;
    const Boss3PatternRow* patterns[9];
};

const Boss3MuzzleRow& Boss3MuzzleTable(int32_t slot);

// A stage-3 shot pattern built from its row. Headings are radians with the velocity
// (cos h, 0, sin h) x speed; bearings go through the aiming convention.
class Boss3Pattern : public BossPattern {
  public:
    Boss3Pattern(TaskObject* parent, GameWorldScreen* screen, const Boss3PatternRow& row, const char* label);

    const Boss3PatternRow& row;

  protected:
    void Configure() override;
    void OnBurstStart() override;
    void FireShot() override;

  private:
    float Unit() { return float(own.Next()) * 2.3283064e-10f; }
    float NextDraw() { return row.seed != 0 ? Unit() : NextUnit(); }
    void FireHeading(const Vec3& from, float heading, float speed, int32_t sprite, float size);
    void FireDirection(const Vec3& from, float degrees, float speed, int32_t sprite, float size);
    float BackwardAngle();
    void FireMe(float heading);
    void FireSide(bool closing);

    Random own;
    float speed = 0.0f;
    float angle = 0.0f;
    float sweep = 0.0f;
    float upper = 0.0f;
    float lower = 0.0f;
    float turn = 0.0f;
    int32_t toggle = 0;
};

// A muzzle of the stage-3 boss on its "Null_JYUUKOU_" node: finds the body by its
// row's depth, takes its slot there until it goes, and owns its row's patterns.
class Boss3Muzzle : public NullNodeObject {
  public:
    Boss3Muzzle(TaskObject* parent, NodeSpawnInfo& info, Boss3MuzzleSlot slot);
    ~Boss3Muzzle() override;

    // Code 2k restarts pattern k, 2k + 1 stops it; anything else does nothing.
    void SwitchPattern(int32_t k) { SwitchPatternIn(patterns, patternCount, k); }
    Boss3Pattern* Pattern(int32_t k) const {
        return k >= 0 && k < patternCount ? static_cast<Boss3Pattern*>(patterns[k]) : nullptr;
    }
    int32_t PatternCount() const { return patternCount; }

    Boss3Body* owner = nullptr;
    Boss3MuzzleSlot slot;

  private:
    BossPattern* patterns[9] = {};
    int32_t patternCount = 0;
};

// One class per node name.
template <Boss3MuzzleSlot Slot>
class Boss3MuzzleOf : public Boss3Muzzle {
  public:
    Boss3MuzzleOf(TaskObject* parent, NodeSpawnInfo& info) : Boss3Muzzle(parent, info, Slot) {}
};

using Boss3MuzzleKasaRcenter = Boss3MuzzleOf<kBoss3KasaRcenter>;
using Boss3MuzzleKasaLcenter = Boss3MuzzleOf<kBoss3KasaLcenter>;
using Boss3MuzzleMeC = Boss3MuzzleOf<kBoss3MeC>;
using Boss3MuzzleMeR = Boss3MuzzleOf<kBoss3MeR>;
using Boss3MuzzleMeL = Boss3MuzzleOf<kBoss3MeL>;
using Boss3MuzzleSideUnitR = Boss3MuzzleOf<kBoss3SideUnitR>;
using Boss3MuzzleSideUnitL = Boss3MuzzleOf<kBoss3SideUnitL>;
using Boss3MuzzleKasaR1 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaR1 + 0)>;
using Boss3MuzzleKasaR2 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaR1 + 1)>;
using Boss3MuzzleKasaR3 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaR1 + 2)>;
using Boss3MuzzleKasaR4 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaR1 + 3)>;
using Boss3MuzzleKasaR5 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaR1 + 4)>;
using Boss3MuzzleKasaR6 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaR1 + 5)>;
using Boss3MuzzleKasaR7 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaR1 + 6)>;
using Boss3MuzzleKasaR8 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaR1 + 7)>;
using Boss3MuzzleKasaR9 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaR1 + 8)>;
using Boss3MuzzleKasaR10 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaR1 + 9)>;
using Boss3MuzzleKasaR11 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaR1 + 10)>;
using Boss3MuzzleKasaR12 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaR1 + 11)>;
using Boss3MuzzleKasaL1 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaL1 + 0)>;
using Boss3MuzzleKasaL2 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaL1 + 1)>;
using Boss3MuzzleKasaL3 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaL1 + 2)>;
using Boss3MuzzleKasaL4 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaL1 + 3)>;
using Boss3MuzzleKasaL5 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaL1 + 4)>;
using Boss3MuzzleKasaL6 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaL1 + 5)>;
using Boss3MuzzleKasaL7 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaL1 + 6)>;
using Boss3MuzzleKasaL8 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaL1 + 7)>;
using Boss3MuzzleKasaL9 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaL1 + 8)>;
using Boss3MuzzleKasaL10 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaL1 + 9)>;
using Boss3MuzzleKasaL11 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaL1 + 10)>;
using Boss3MuzzleKasaL12 = Boss3MuzzleOf<Boss3MuzzleSlot(kBoss3KasaL1 + 11)>;

// The muzzles' builders by node name.
void RegisterBoss3Muzzles(StageNodeRegistry& registry);

}  // namespace mareldon
