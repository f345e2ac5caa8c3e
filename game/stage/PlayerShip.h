#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/RefPtr.h"
#include "game/stage/StaticModelPart.h"

namespace mareldon {

class MeshObject;
class Object3D;
class PlayerGunBase;
class PlayerInput;
enum class GunKind : int32_t;
class PodPair;
class ReflectForce;

// The visible craft of a ship: binds "sel_p0K_fix" for ship type K and keeps its
// first two meshes, which glow on odd frames while the ship is protected. The ship
// banks by rolling this node; the ship node itself never turns.
class ShipModel : public StaticModelPart {
  public:
    static constexpr int32_t kKeptMeshes = 2;
    static constexpr float kEmissive[4] = {0.25f, 0.3f, 0.25f, 1.0f};

    ShipModel(TaskObject* parent, int32_t shipType);

    Object3D* CreateLayerObject(Object3D* parent, const RefPtr<ModelNodeData>& record, const String& name,
                                const RefPtr<RenderBatch>& drawSet,
                                const std::vector<ParamTrack>* params) override;
    void DrawSelf() override;

    uint8_t blink = 0;
    int32_t meshCount = 0;
    MeshObject* meshes[kKeptMeshes] = {};
};

// One player's ship: reads the player's buttons, flies within the play field, banks
// its model, keeps its guns firing, launches bombs, registers its hit and pickup
// circles, and runs its own death sequence. Mask 0 is the dummy ship enemies aim at
// when no player has one: it does nothing and is never drawn.
class PlayerShip : public StaticModelPart {
  public:
    static constexpr int32_t kGunSlots = 5;
    static constexpr int32_t kDeathSteps = 70;
    static constexpr float kFireHoldTime = 0.3f;
    static constexpr int32_t kEntrySteps = 31;
    static constexpr float kEntryStep = 0.08f;
    static constexpr float kHitRadius = 0.08f;
    static constexpr float kPickupRadius = 1.0f;
    static constexpr float kBankLimit = 30.0f;
    static constexpr float kBankStep = 4.0f;
    static constexpr float kBoundX = 5.0f;
    static constexpr float kBoundTop = 4.4f;
    static constexpr float kBoundBottom = -4.8f;

    // Logical buttons of the player's input.
    enum Button : uint32_t {
        kUp = 1u << 0,
        kDown = 1u << 1,
        kLeft = 1u << 2,
        kRight = 1u << 3,
        kShot = 1u << 6,
        kBomb = 1u << 7,
    };

    PlayerShip(TaskObject* parent, GameWorldScreen* screen, int32_t playerMask, int32_t shipType,
               const RefPtr<PlayerInput>& input, float x, float y, float z);
    ~PlayerShip() override;

    // Move speed in world units a step by ship type.
    static float MoveSpeedOf(int32_t shipType);

    // The death check and the death sequence; false removes the ship.
    bool IsAlive() override;
    // The step: move, bank, fire, reflect button, bomb, protection, circles.
    void OnUpdatePre() override;

    void Move();
    void Bank();
    void Fire();
    void UpdateReflectButton();
    void CheckBomb();

    void SetAutoFire(uint8_t on) { autoFire = on; }
    int32_t SetProtection(int32_t steps, uint8_t flag) {
        protectionTimer = steps;
        protectionFlag = flag;
        return steps;
    }
    void StartEntryFlight() { entryFlag = 1; }
    void SetPowerLevel(int32_t level);
    int32_t GetPowerLevel() const;
    void SetInput(const RefPtr<PlayerInput>& handle) { input = handle; }
    const RefPtr<PlayerInput>& GetInput() const { return input; }
    int32_t GetPlayerMask() const { return playerMask; }
    int32_t GetShipType() const { return shipType; }
    bool IsEntryFlightRunning() const { return entryFlag != 0 && entrySteps <= kEntrySteps - 1; }
    // Not in the entry flight, not dying, and the screen lets this player act.
    bool CanAct() const;

    ShipModel* model = nullptr;
    PodPair* pods = nullptr;
    // None for the dummy ship.
    ReflectForce* reflectForce = nullptr;
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
    PlayerGunBase* guns[kGunSlots] = {};

  private:
    void BuildParts();
    // Where a gun of the ship hangs: the ship, or for the pod guns a pod model.
    TaskObject* GunParent(GunKind kind);
    // The main gun ahead of the ship, the side guns at the pods.
    void PlaceGuns();
    uint32_t Held() const;
    uint32_t Pressed() const;

    RefPtr<PlayerInput> input;
};

}  // namespace mareldon
