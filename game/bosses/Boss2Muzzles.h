#pragma once

#include <cstdint>

#include "game/bosses/BossParts.h"
#include "game/objects/StageNodes.h"

namespace mareldon {

class Boss2Body;

// The twelve guns of the stage-2 boss, in the body's slot order.
enum Boss2Gun : int32_t {
    kBoss2Runit1,
    kBoss2Lunit1,
    kBoss2Runit2,
    kBoss2Lunit2,
    kBoss2Center0,
    kBoss2Center1,
    kBoss2Revolver0,
    kBoss2Revolver1,
    kBoss2Revolver2,
    kBoss2Revolver3,
    kBoss2Revolver4,
    kBoss2Revolver5,
    kBoss2GunCount
};

// What a pattern row fires; the row's numbers fill in the rest.
enum class Boss2PatternKind : uint8_t {
    kScatter,       // `count` bullets at random angles, speeds and sizes
    kRing,          // 64 of 128 directions in radians from a0; a0 += turn after each shot
    kAimedTriple,   // three bullets at aim + offsets[i] with speeds[i]
    kAimedBurst,    // one aimed bullet, then `count` aimed bullets sprayed around the muzzle
    kFallingSpray,  // `count` bullets at `angle`, sprayed around the muzzle
    kQuadSpin,      // two pairs a half turn apart on three shots of four; θ += turn per shot
    kStar,          // five arms 72 apart; v and θ move each shot
    kSweep,         // three bullets sweeping from one side of the aim to the other
    kDoubleSweep,   // two sweeps from both sides at once
    kTriSpiral,     // three arms 120 apart, speed rocking with the shot count
    kFan,           // 32 bullets 11.25 apart from the aim
    kTwinSpiral,    // two arms a half turn apart, speed rocking, θ += turn
    kSpread,        // bullets at the burst's aim plus `offsets`
    kArc,           // four-bullet groups on an arc that turns `turn` per burst
    kFixed,         // bullets at fixed angles
};

// One boss-2 pattern: its name, timer (shots counted, not the set value) and numbers.
// Angles are pattern bearings (0 = +z, 90 = +x) unless the kind says radians.
struct Boss2PatternRow {
    const char* name;
    Boss2PatternKind kind;
    int32_t burstInterval, shotInterval, shots, bursts;
    int32_t count = 0;
    float angle = 0.0f;  // base angle, or the offset from the aim
    float angleRange = 0.0f;
    bool aimed = false;
    float speed = 0.0f;
    float speedRange = 0.0f;
    float size = 1.0f;
    float sizeRange = 0.0f;  // 0: no draw
    int32_t cellOdd = 0;     // odd bullet index (or odd draw / odd shots left)
    int32_t cellEven = 0;
    float turn = 0.0f;
    int32_t parity = 0;  // sweeps: 1 reverses the side the odd bursts start from
    int32_t offsetCount = 0;
    float offsets[6] = {};
    float speeds[3] = {};
};

// Every pattern of every gun, by name ("Runit1_5" is pattern 5 of Runit1).
const Boss2PatternRow* FindBoss2PatternRow(const char* name);

// A pattern of the stage-2 boss: one row of the table, fired from its muzzle's world point.
class Boss2ShotPattern : public BossPattern {
  public:
    Boss2ShotPattern(TaskObject* parent, GameWorldScreen* screen, const Boss2PatternRow& row);

    const Boss2PatternRow& Row() const { return row; }
    float Theta() const { return theta; }

  protected:
    void Configure() override;
    void OnBurstStart() override;
    void FireShot() override;

  private:
    void Fire(const Vec3& from, float bearing, float speed, int32_t cell, float size);
    void FireDirection(const Vec3& from, float direction, float speed, int32_t cell, float size);
    void FireRing(const Vec3& from, float a0);
    // The muzzle's point moved by r0 + rand x (r1 - r0) in a random horizontal direction.
    Vec3 SprayFrom(const Vec3& from, float r0, float r1);
    // Raw parity of one draw.
    bool OddDraw() { return (Generator().Next() & 1u) != 0; }

    const Boss2PatternRow& row;
    float theta = 0.0f;
    float theta2 = 0.0f;
    float step = 0.0f;
    float step2 = 0.0f;
    float speed = 0.0f;
};

// A gun of the stage-2 boss on its "Null_JYUUKOU_" node: owns its patterns and sits in
// its body slot until it goes.
class Boss2Muzzle : public NullNodeObject {
  public:
    static constexpr int32_t kMaxPatterns = 8;

    Boss2Muzzle(TaskObject* parent, NodeSpawnInfo& info, Boss2Gun gun);
    ~Boss2Muzzle() override;

    // 2k restarts pattern k, 2k + 1 stops it; other codes do nothing.
    void SwitchPattern(int32_t code) { SwitchPatternIn(patterns, patternCount, code); }
    Boss2ShotPattern* Pattern(int32_t k) const {
        return k >= 0 && k < patternCount ? static_cast<Boss2ShotPattern*>(patterns[k]) : nullptr;
    }
    int32_t PatternCount() const { return patternCount; }

    Boss2Body* body = nullptr;
    Boss2Gun gun;

  private:
    BossPattern* patterns[kMaxPatterns] = {};
    int32_t patternCount = 0;
};

// The gun's node name after "Null_JYUUKOU_", its owner depth and pattern count.
struct Boss2GunRow {
    const char* node;
    int32_t depth;
    int32_t patterns;
};
const Boss2GunRow& Boss2GunInfo(Boss2Gun gun);

#define MARELDON_BOSS2_MUZZLE(Name, Gun)                                                               \
    class Boss2Muzzle##Name : public Boss2Muzzle {                                                     \
      public:                                                                                          \
        Boss2Muzzle##Name(TaskObject* parent, NodeSpawnInfo& info) : Boss2Muzzle(parent, info, Gun) {} \
    };
MARELDON_BOSS2_MUZZLE(Runit1, kBoss2Runit1)
MARELDON_BOSS2_MUZZLE(Lunit1, kBoss2Lunit1)
MARELDON_BOSS2_MUZZLE(Runit2, kBoss2Runit2)
MARELDON_BOSS2_MUZZLE(Lunit2, kBoss2Lunit2)
MARELDON_BOSS2_MUZZLE(Center0, kBoss2Center0)
MARELDON_BOSS2_MUZZLE(Center1, kBoss2Center1)
MARELDON_BOSS2_MUZZLE(Revolver0, kBoss2Revolver0)
MARELDON_BOSS2_MUZZLE(Revolver1, kBoss2Revolver1)
MARELDON_BOSS2_MUZZLE(Revolver2, kBoss2Revolver2)
MARELDON_BOSS2_MUZZLE(Revolver3, kBoss2Revolver3)
MARELDON_BOSS2_MUZZLE(Revolver4, kBoss2Revolver4)
MARELDON_BOSS2_MUZZLE(Revolver5, kBoss2Revolver5)
#undef MARELDON_BOSS2_MUZZLE

}  // namespace mareldon
