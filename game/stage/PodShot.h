#pragma once

#include <cstdint>

#include "game/stage/PlayerBullet.h"

namespace mareldon {

// The fourth ship type's pod shot: drifts backward off the pods, slowing, and after a
// second (or on a hit) leaves a blast. One that leaves the screen first leaves none.
class Ship3PodBullet : public PlayerBullet {
  public:
    static constexpr int32_t kLife = 60;
    static constexpr float kSlowing = 0.005f;
    static constexpr float kMinSpeedFactor = 0.05f;
    static constexpr float kBlastDrift = 0.0125f;

    Ship3PodBullet(TaskObject* parent, const Vec3& position, const Vec3& direction, float speedFactor,
                   GameWorldScreen* screen, int32_t ownerMask, int32_t gunSlot, int32_t shotLevel,
                   const AttackVector& attack);

    void OnUpdatePre() override;
    // Scores k^2 (k = 100 - age, at least 1), without sound or spark.
    bool IsAlive() override;
    void OnHit() override;
    int32_t SpriteCell() override;

    const Vec3& GetDirection() const { return direction; }
    float GetSpeedFactor() const { return speedFactor; }
    int32_t GetLife() const { return life; }

  private:
    Vec3 direction;
    float speedFactor;
    int32_t life = kLife;
};

// What a pod shot leaves: a growing model that strikes whatever is under its centre
// every step, and counts as a live shot of its gun until it ends.
class Ship3PodBlast : public PlayerBullet {
  public:
    static constexpr int32_t kLife = 60;
    static constexpr float kGrow = 0.1f;
    static constexpr float kShrink = 0.05f;
    static constexpr float kMinSize = 1e-8f;

    Ship3PodBlast(TaskObject* parent, const Vec3& position, const Vec3& velocity, GameWorldScreen* screen,
                  int32_t ownerMask, int32_t gunSlot, int32_t shotLevel, const AttackVector& attack);

    // The largest size of a shot level (0.4 to 0.7).
    static float MaxSizeOf(int32_t shotLevel);

    void OnUpdatePre() override;
    // Strikes every step; stays while its life lasts.
    bool IsAlive() override;

    int32_t GetLife() const { return life; }
    float GetSizeFactor() const { return sizeFactor; }
    float GetMaxSize() const { return maxSize; }

  private:
    void ScaleTo(float size);

    int32_t life = kLife;
    float maxSize;
    float sizeFactor = kMinSize;
};

}  // namespace mareldon
