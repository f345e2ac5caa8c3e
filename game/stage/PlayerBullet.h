#pragma once

#include <cstdint>

#include "engine/core/Math.h"
#include "engine/core/String.h"
#include "game/stage/AttackVector.h"
#include "game/stage/StaticModelPart.h"

namespace mareldon {

// A player shot under the world screen's `playerShotParent`: flies by its velocity,
// hits the first registered enemy under it, credits its owner with points that fall
// off with its age (its frame), and counts as a live bullet of its gun slot (5: not
// counted) and of the screen while it exists.
class PlayerBullet : public StaticModelPart {
  public:
    static constexpr int32_t kUncountedSlot = 5;

    PlayerBullet(TaskObject* parent, const Vec3& position, const Vec3& velocity, GameWorldScreen* screen,
                 int32_t ownerMask, int32_t gunSlot, int32_t shotLevel, const AttackVector& attack);
    ~PlayerBullet() override;

    // The hit test: a hit bullet is spent; one that hits nothing lives while on screen.
    bool IsAlive() override;
    void OnUpdatePre() override { Move(); }
    virtual void Move();
    virtual void OnHit() {}
    // The cell of the player-shot sheet this shot shows now; -1 draws no sprite.
    virtual int32_t SpriteCell() { return -1; }
    // The sprite goes out with the shots' pass, over the field, once a frame: with the
    // first of the effect camera's views.
    void Submit(const RefPtr<RenderView>& view) override;

    // Binds the model and orders the node among its siblings by the name's hash.
    void SetModel(const String& name);
    static int32_t NamePriority(const char* name);

    int32_t GetOwnerMask() const { return ownerMask; }
    int32_t GetGunSlot() const { return gunSlot; }
    int32_t GetShotLevel() const { return shotLevel; }
    const AttackVector& GetAttack() const { return attack; }

    Vec3 velocity;
    uint8_t noSpark = 0;

  protected:
    // The hit of one step against the target under the bullet; false when none.
    bool HitTarget();

  private:
    int32_t ownerMask;
    int32_t gunSlot;
    int32_t shotLevel;
    AttackVector attack;
};

}  // namespace mareldon
