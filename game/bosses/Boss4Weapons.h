#pragma once

#include <cstdint>

#include "game/bosses/Boss45FireRoutines.h"
#include "game/objects/StageNodes.h"

namespace mareldon {

class Boss4Body;
class Boss4LayerPart23;

// ---- the stage-4 patterns --------------------------------------------------------------

// 32 bullets on bearings 11.25 degrees apart from the aim.
class Boss4AimedRing32 : public BossFirePattern {
  public:
    using BossFirePattern::BossFirePattern;

  protected:
    void FireShot() override;
};

// Three bullets on the aim and a degree to either side, the middle one fastest.
class Boss4AimedTriple : public BossFirePattern {
  public:
    using BossFirePattern::BossFirePattern;

  protected:
    void FireShot() override;
};

// A rosette pair whose direction and speed each shot draws.
enum class RosetteAim : uint8_t {
    kTowardShip,  // the nearest ship's direction +- 30 degrees, speed in [0.14, 0.25)
    kForward,     // forward +- 45 degrees less the offset, speed in [0.08, 0.15)
    kCamera,      // the camera aim at 0.25
    kDownward,    // 260 to 280 degrees, speed in [0.14, 0.25)
};

class Boss4RosettePair : public BossFirePattern {
  public:
    Boss4RosettePair(TaskObject* parent, GameWorldScreen* screen, const char* label,
                     const BurstSettings& settings, uint32_t seed, RosetteAim aim, const RosetteSpec& spec,
                     float offsetRadians = 0.0f);

  protected:
    void FireShot() override;

  private:
    RosetteAim aim;
    RosetteSpec spec;
    float offset;
};

// Eight bullets of rising speed along forward less the pattern's angle (mirrored: plus),
// the angle turning 16 degrees a shot from 0 at each burst.
class Boss4TurningOctet : public BossFirePattern {
  public:
    Boss4TurningOctet(TaskObject* parent, GameWorldScreen* screen, const char* label, bool mirrored);

  protected:
    void OnBurstStart() override;
    void FireShot() override;

  private:
    bool mirrored;
};

// One bullet a shot along a drawn angle, turning 1.5 degrees a shot in a drawn sense
// and speeding up.
class Boss4RandomStream : public BossFirePattern {
  public:
    Boss4RandomStream(TaskObject* parent, GameWorldScreen* screen, const char* label, uint32_t seed);

    float TurnSign() const { return sign; }

  protected:
    void OnBurstStart() override;
    void FireShot() override;

  private:
    float sign = 1.0f;
};

// Two bullets 24 degrees to either side of the camera aim; each burst's length comes
// from the bursts left, whatever the settings said.
class Boss4AimedPair : public BossFirePattern {
  public:
    Boss4AimedPair(TaskObject* parent, GameWorldScreen* screen, const char* label,
                   const BurstSettings& settings, int32_t oddSprite, int32_t evenSprite);

  protected:
    void OnBurstStart() override;
    void FireShot() override;

  private:
    int32_t oddSprite;
    int32_t evenSprite;
};

// One bullet at the camera aim, a little faster each burst.
class Boss4AimedSingle : public BossFirePattern {
  public:
    Boss4AimedSingle(TaskObject* parent, GameWorldScreen* screen, const char* label, int32_t oddSprite,
                     int32_t evenSprite);

  protected:
    void OnConfigure() override { speed = 0.12f; }
    void OnBurstStart() override { speed += 0.01f; }
    void FireShot() override;

  private:
    int32_t oddSprite;
    int32_t evenSprite;
};

// A fan of seven 10 degrees apart, sweeping and speeding up shot by shot.
class Boss4SweepingFan : public BossFirePattern {
  public:
    Boss4SweepingFan(TaskObject* parent, GameWorldScreen* screen, const char* label, float startAngle,
                     float sweep);

  protected:
    void OnConfigure() override;
    void FireShot() override;

  private:
    float startAngle;
    float sweep;
};

// Eight rings of eleven in one shot, each ring faster; the pattern's own angle and
// speed stay as configured.
class Boss4WaveRings : public BossFirePattern {
  public:
    Boss4WaveRings(TaskObject* parent, GameWorldScreen* screen, const char* label);

  protected:
    void OnConfigure() override;
    void FireShot() override;
};

// ---- muzzles and markers ---------------------------------------------------------------

// A muzzle frame node: registers in a slot of its owner four levels up and owns its
// patterns in order.
class Boss4Muzzle : public NullNodeObject {
  public:
    static constexpr int32_t kMaxPatterns = 7;
    static constexpr int32_t kOwnerLevels = 4;

    Boss4Muzzle(TaskObject* parent, NodeSpawnInfo& info);
    ~Boss4Muzzle() override;

    BossFirePattern* Pattern(int32_t k) const { return k >= 0 && k < count ? patterns[k] : nullptr; }
    int32_t PatternCount() const { return count; }
    // Off and on again; nothing for a missing pattern.
    void Restart(int32_t k);
    // Every pattern off.
    void StopAll();

  protected:
    void Add(BossFirePattern* pattern);
    // Registers in the body's or the head's slot, whichever owns it.
    void RegisterIn(int32_t bodySlot, int32_t headSlot);

  private:
    void Unregister();

    BossFirePattern* patterns[kMaxPatterns] = {};
    int32_t count = 0;
    Boss4Body* body = nullptr;
    Boss4LayerPart23* head = nullptr;
    int32_t bodySlot = -1;
    int32_t headSlot = -1;
};

class Boss4MuzzleMedarion : public Boss4Muzzle {
  public:
    Boss4MuzzleMedarion(TaskObject* parent, NodeSpawnInfo& info);
};

// The six hebi muzzles: the right side fires its turning octet as it is, the left side
// mirrored; the "ue" muzzles add a random stream.
enum class HebiPlace : uint8_t { kRue, kRnaka, kRshita, kLue, kLnaka, kLshita };

class Boss4MuzzleHebi : public Boss4Muzzle {
  public:
    Boss4MuzzleHebi(TaskObject* parent, NodeSpawnInfo& info, HebiPlace place);

    HebiPlace place;
};

class Boss4MuzzleHebiRue : public Boss4MuzzleHebi {
  public:
    Boss4MuzzleHebiRue(TaskObject* parent, NodeSpawnInfo& info)
        : Boss4MuzzleHebi(parent, info, HebiPlace::kRue) {}
};
class Boss4MuzzleHebiRnaka : public Boss4MuzzleHebi {
  public:
    Boss4MuzzleHebiRnaka(TaskObject* parent, NodeSpawnInfo& info)
        : Boss4MuzzleHebi(parent, info, HebiPlace::kRnaka) {}
};
class Boss4MuzzleHebiRshita : public Boss4MuzzleHebi {
  public:
    Boss4MuzzleHebiRshita(TaskObject* parent, NodeSpawnInfo& info)
        : Boss4MuzzleHebi(parent, info, HebiPlace::kRshita) {}
};
class Boss4MuzzleHebiLue : public Boss4MuzzleHebi {
  public:
    Boss4MuzzleHebiLue(TaskObject* parent, NodeSpawnInfo& info)
        : Boss4MuzzleHebi(parent, info, HebiPlace::kLue) {}
};
class Boss4MuzzleHebiLnaka : public Boss4MuzzleHebi {
  public:
    Boss4MuzzleHebiLnaka(TaskObject* parent, NodeSpawnInfo& info)
        : Boss4MuzzleHebi(parent, info, HebiPlace::kLnaka) {}
};
class Boss4MuzzleHebiLshita : public Boss4MuzzleHebi {
  public:
    Boss4MuzzleHebiLshita(TaskObject* parent, NodeSpawnInfo& info)
        : Boss4MuzzleHebi(parent, info, HebiPlace::kLshita) {}
};

class Boss4MuzzleMedarion2 : public Boss4Muzzle {
  public:
    Boss4MuzzleMedarion2(TaskObject* parent, NodeSpawnInfo& info);
};

// The head's two eyes: the left one differs in its first three patterns.
class Boss4MuzzleUMe : public Boss4Muzzle {
  public:
    Boss4MuzzleUMe(TaskObject* parent, NodeSpawnInfo& info, bool left);
};
class Boss4MuzzleUMeR2 : public Boss4MuzzleUMe {
  public:
    Boss4MuzzleUMeR2(TaskObject* parent, NodeSpawnInfo& info) : Boss4MuzzleUMe(parent, info, false) {}
};
class Boss4MuzzleUMeL2 : public Boss4MuzzleUMe {
  public:
    Boss4MuzzleUMeL2(TaskObject* parent, NodeSpawnInfo& info) : Boss4MuzzleUMe(parent, info, true) {}
};

// Registration points only: nothing starts their pattern.
class Boss4MuzzleDoguu : public Boss4Muzzle {
  public:
    Boss4MuzzleDoguu(TaskObject* parent, NodeSpawnInfo& info, bool upper);
};
class Boss4MuzzleDoguuUe : public Boss4MuzzleDoguu {
  public:
    Boss4MuzzleDoguuUe(TaskObject* parent, NodeSpawnInfo& info) : Boss4MuzzleDoguu(parent, info, true) {}
};
class Boss4MuzzleDoguuShita : public Boss4MuzzleDoguu {
  public:
    Boss4MuzzleDoguuShita(TaskObject* parent, NodeSpawnInfo& info) : Boss4MuzzleDoguu(parent, info, false) {}
};

// A marker two levels under the body; nothing reads it.
class Boss4Marker : public NullNodeObject {
  public:
    Boss4Marker(TaskObject* parent, NodeSpawnInfo& info, bool left);
    ~Boss4Marker() override;

    bool left;
    Boss4Body* body = nullptr;
};
class Boss4MarkerSMeL : public Boss4Marker {
  public:
    Boss4MarkerSMeL(TaskObject* parent, NodeSpawnInfo& info) : Boss4Marker(parent, info, true) {}
};
class Boss4MarkerSMeR : public Boss4Marker {
  public:
    Boss4MarkerSMeR(TaskObject* parent, NodeSpawnInfo& info) : Boss4Marker(parent, info, false) {}
};

}  // namespace mareldon
