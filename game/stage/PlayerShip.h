#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "game/stage/StaticModelPart.h"

namespace mareldon {

class Object3D;
class PlayerInput;

// One player's ship: its data and the setters the world screen and the front-end
// screens use. Flying, guns, pods, the reflect force and the death sequence come
// with their own parts. Mask 0 is the dummy ship enemies aim at when no player
// has one: it is never drawn.
class PlayerShip : public StaticModelPart {
  public:
    static constexpr int32_t kGunSlots = 5;
    static constexpr int32_t kDeathSteps = 70;
    static constexpr float kFireHoldTime = 0.3f;

    PlayerShip(TaskObject* parent, GameWorldScreen* screen, int32_t playerMask, int32_t shipType,
               const RefPtr<PlayerInput>& input, float x, float y, float z);
    ~PlayerShip() override;

    // Move speed in world units a step by ship type.
    static float MoveSpeedOf(int32_t shipType);

    void SetAutoFire(uint8_t on) { autoFire = on; }
    int32_t SetProtection(int32_t steps, uint8_t flag) {
        protectionTimer = steps;
        protectionFlag = flag;
        return steps;
    }
    void StartEntryFlight() { entryFlag = 1; }
    void SetPowerLevel(int32_t level) { powerLevel = level; }
    int32_t GetPowerLevel() const { return powerLevel; }
    void SetInput(const RefPtr<PlayerInput>& handle) { input = handle; }
    const RefPtr<PlayerInput>& GetInput() const { return input; }
    int32_t GetPlayerMask() const { return playerMask; }
    int32_t GetShipType() const { return shipType; }

    Object3D* model = nullptr;
    Object3D* pods = nullptr;
    Object3D* reflectForce = nullptr;
    int32_t playerMask;
    int32_t shipType;
    float moveSpeed;
    uint8_t autoFire = 0;
    int32_t protectionTimer = 0;
    uint8_t protectionFlag = 0;
    uint8_t entryFlag = 0;
    int32_t entrySteps = 0;
    uint8_t dying = 0;
    int32_t deathCountdown = kDeathSteps;
    float fireHoldTime = kFireHoldTime;
    float fireHoldTimer = 0.0f;
    Object3D* guns[kGunSlots] = {};

  private:
    RefPtr<PlayerInput> input;
    // The guns' level until the guns exist.
    int32_t powerLevel = 0;
};

}  // namespace mareldon
