#pragma once

#include <cstdint>

#include "engine/core/Random.h"
#include "game/bosses/BossParts.h"

namespace mareldon {

// The weapons of the stage-1 boss. Burst tables give (frames between bursts, frames
// between shots, shots per burst, bursts per firing); a burst of n shots is configured
// as n - 1 further shots.

// Which wing a wing-root pattern belongs to: wing B mirrors wing A in x.
enum class Boss1Wing : uint8_t { kA, kB };

// The four mount points of a wing root (k = 0..3) and the fan pattern's own.
Vec3 Boss1MountPoint(Boss1Wing wing, int32_t k);
Vec3 Boss1FanMountPoint(Boss1Wing wing);

// Wing-root pattern 0: a spray of three-bullet lines from the mount points in turn.
class Boss1WingSpray : public BossPattern {
  public:
    Boss1WingSpray(TaskObject* parent, GameWorldScreen* screen, Boss1Wing wing, const char* label);

  protected:
    void Configure() override;
    void FireShot() override;

  private:
    Boss1Wing wing;
};

// Wing-root pattern 1: twelve bullets along the aim at rising speeds, a burst per mount.
class Boss1WingLine : public BossPattern {
  public:
    Boss1WingLine(TaskObject* parent, GameWorldScreen* screen, Boss1Wing wing, const char* label);

  protected:
    void Configure() override;
    void OnBurstStart() override;
    void FireShot() override;

  private:
    Boss1Wing wing;
    float aim = 0.0f;
    float speed = 0.0f;
};

// Wing-root pattern 2: alternating fans of four and five at the ship.
class Boss1WingFan : public BossPattern {
  public:
    Boss1WingFan(TaskObject* parent, GameWorldScreen* screen, Boss1Wing wing, const char* label);

  protected:
    void Configure() override;
    void OnBurstStart() override;
    void FireShot() override;

  private:
    Boss1Wing wing;
    float aim = 0.0f;
    float speed = 0.0f;
    uint8_t fourFan = 0;
};

// Wing-root pattern 3: a turning three-armed spiral with silent shots every k-th count.
class Boss1WingSpiral : public BossPattern {
  public:
    Boss1WingSpiral(TaskObject* parent, GameWorldScreen* screen, Boss1Wing wing, const char* label);

    int32_t GetDivisor() const { return divisor; }

  protected:
    void OnBurstStart() override;
    void Configure() override;
    void FireShot() override;

  private:
    Boss1Wing wing;
    int32_t divisor;
    float angle = 0.0f;
    float speed = 0.0f;
};

// Wing-root patterns 4 and 5 and the kirai cover's pattern 2: a ring of 32. The aim in
// degrees is taken as the ring's first angle in radians, as it always has been.
class Boss1Ring : public BossPattern {
  public:
    Boss1Ring(TaskObject* parent, GameWorldScreen* screen, int32_t shotInterval, int32_t shots,
              const char* label);

  protected:
    void Configure() override;
    void FireShot() override;

  private:
    int32_t shotInterval;
    int32_t shots;
};

// Wing-root pattern 6: one bullet from each mount point along the aim from mount 1.
class Boss1WingVolley : public BossPattern {
  public:
    Boss1WingVolley(TaskObject* parent, GameWorldScreen* screen, Boss1Wing wing, const char* label);

  protected:
    void Configure() override;
    void OnBurstStart() override;
    void FireShot() override;

  private:
    Boss1Wing wing;
    float speed = 0.0f;
};

// The twin cannon's one pattern: ten jittered bullets a shot, from its own second
// generator.
class Boss1TwinCannonPattern : public BossPattern {
  public:
    static constexpr uint32_t kSecondSeed = 427165481;

    Boss1TwinCannonPattern(TaskObject* parent, GameWorldScreen* screen, const char* label);

  protected:
    void Configure() override;
    void OnBurstStart() override;
    void FireShot() override;

  private:
    float Jitter() { return float(second.Next()) * 2.3283064e-10f; }

    Random second{kSecondSeed};
    float speed = 0.0f;
};

// Kirai-cover patterns 0 and 1: three arms turning one way or the other.
class Boss1KiraiSpin : public BossPattern {
  public:
    Boss1KiraiSpin(TaskObject* parent, GameWorldScreen* screen, bool reverse, const char* label);

  protected:
    void Configure() override;
    void FireShot() override;

  private:
    bool reverse;
    float angle = 0.0f;
};

// Turret "houdai_B" patterns 0 to 4.
class Boss1HoudaiBPattern : public BossPattern {
  public:
    Boss1HoudaiBPattern(TaskObject* parent, GameWorldScreen* screen, int32_t kind, const char* label);

  protected:
    void Configure() override;
    void OnBurstStart() override;
    void FireShot() override;

  private:
    int32_t kind;
    float speed = 0.0f;
    float angle = 0.0f;
    float spread = 0.0f;
};

// Turret "houdai_S" patterns 0 to 2; the layer-5 turret's pattern 1 fires one burst.
class Boss1HoudaiSPattern : public BossPattern {
  public:
    Boss1HoudaiSPattern(TaskObject* parent, GameWorldScreen* screen, int32_t kind, bool layerFive,
                        const char* label);

  protected:
    void Configure() override;
    void OnBurstStart() override;
    void FireShot() override;

  private:
    int32_t kind;
    bool layerFive;
    float speed = 0.0f;
    float angle = 0.0f;
    float spread = 0.0f;
};

// The core's mine cover: three patterns, slides from z -2 to -3 once opened.
class Boss1KiraiCover : public BossWeaponModel {
  public:
    Boss1KiraiCover(TaskObject* parent, GameWorldScreen* screen);

    void OnUpdatePre() override;
    void Open() { opening = 1; }
    bool IsOpening() const { return opening != 0; }
    float GetOffsetZ() const { return offset.z; }

  private:
    LinearApproach slide{10.0f, 0.01f, 0.1f};
    uint8_t opening = 0;
};

// The core's turning turret, five patterns.
class Boss1HoudaiB : public BossWeaponModel {
  public:
    Boss1HoudaiB(TaskObject* parent, GameWorldScreen* screen);
};

// The wing turrets: the first class on layer 6, the second on layer 5.
class Boss1HoudaiS : public BossWeaponModel {
  public:
    Boss1HoudaiS(TaskObject* parent, GameWorldScreen* screen, bool layerFive = false);
};
class Boss1HoudaiS2 : public Boss1HoudaiS {
  public:
    Boss1HoudaiS2(TaskObject* parent, GameWorldScreen* screen) : Boss1HoudaiS(parent, screen, true) {}
};

// A wing root's twin cannon: case 0 restarts, case 1 only starts one when idle.
class Boss1TwinCannon : public BossWeaponModel {
  public:
    Boss1TwinCannon(TaskObject* parent, GameWorldScreen* screen, Boss1Wing wing);

    void SwitchPattern(int32_t k) override;
};

}  // namespace mareldon
