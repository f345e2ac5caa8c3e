#pragma once

#include <cstdint>

#include "engine/core/Math.h"
#include "game/stage/AttackVector.h"
#include "game/stage/ShooterObject.h"

namespace mareldon {

class EffectObject;

// A gun of a player ship: a shooter the ship keeps re-triggering while its fire hold
// lasts, at the power level the ship gives it (0 to 3). The level takes effect when
// the next firing configures, so a running burst always ends as it began.
class PlayerGunBase : public ShooterObject {
  public:
    PlayerGunBase(TaskObject* parent, GameWorldScreen* ownerScreen, int32_t playerNumber);

    void SetPowerLevel(int32_t level) { powerLevel = level; }
    int32_t GetPowerLevel() const { return powerLevel; }
    int32_t GetPlayerNumber() const { return playerNumber; }
    void SetShotLevel(int32_t level) { shotLevel = level; }
    int32_t GetShotLevel() const { return shotLevel; }
    void SetSlotIndex(int32_t index) { slotIndex = index; }
    int32_t GetSlotIndex() const { return slotIndex; }
    void SetBulletLimit(int32_t limit) { bulletLimit = limit; }
    int32_t GetBulletLimit() const { return bulletLimit; }
    void SetShotSpeed(float speed) { shotSpeed = speed; }
    float GetShotSpeed() const { return shotSpeed; }
    void SetShotAngle(float degrees) { shotAngle = degrees; }
    float GetShotAngle() const { return shotAngle; }
    void SetAttack(const AttackVector& vector) { attack = vector; }
    const AttackVector& GetAttack() const { return attack; }

    // The node the shots hang under (null outside a loaded stage).
    TaskObject* GetBulletParent() const;
    // The gun's world position in the frame the shots live in.
    Vec3 GetMuzzlePosition();

  protected:
    // True while the player's live shots of this gun's slot are below the limit.
    bool BelowLimit() const;

  private:
    int32_t powerLevel = 0;
    int32_t playerNumber;
    int32_t shotLevel = 0;
    int32_t slotIndex = 0;
    int32_t bulletLimit = 0;
    float shotSpeed = 0.0f;
    float shotAngle = 0.0f;
    AttackVector attack;
};

// The fourteen guns of the four ship types, in the order the ships build them.
enum class GunKind : int32_t {
    Ship0Main,
    Ship0Sub1,
    Ship0Sub2,
    Ship0Sub3,
    Ship0Sub4,
    Ship1Main,
    Ship1Sub1,
    Ship1Sub2,
    Ship2Main,
    Ship2Sub1,
    Ship2Sub2,
    Ship3Main,
    Ship3Pod1,
    Ship3Pod2,
};

// One row of the gun table: per power level 0-3 unless single-valued.
struct GunSpec {
    int32_t slot;
    int32_t limit[4];
    float speed[4];
    float angle;  // < 0: the gun aims by its own axis (the pod guns)
    int32_t shotInterval[4];
    int32_t burstShots[4];
    int32_t attackComponent;
    float attackValue[4];
    const char* flash;  // null: no muzzle flash
};

// A gun built from its row of the table; its kind picks the shot it fires.
class PlayerGun : public PlayerGunBase {
  public:
    PlayerGun(TaskObject* parent, GameWorldScreen* ownerScreen, int32_t playerNumber, GunKind kind);

    static const GunSpec& SpecOf(GunKind kind);
    // The attack a gun's shots carry at a level: one component set, the rest 0.
    static const AttackVector& AttackOf(GunKind kind, int32_t level);
    // The guns of a ship type, in slot order; returns how many (0 for an unknown type).
    static int32_t KindsOfShip(int32_t shipType, GunKind out[5]);

    GunKind GetKind() const { return kind; }
    EffectObject* GetMuzzleFlash() const { return muzzleFlash; }

  protected:
    void Configure() override;
    void FireShot() override;

  private:
    void RestartFlash();

    GunKind kind;
    EffectObject* muzzleFlash = nullptr;
};

}  // namespace mareldon
