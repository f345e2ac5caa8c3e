#include "game/stage/PlayerShip.h"

#include <cmath>

#include "engine/core/PlayerInput.h"
#include "engine/render/draw/LightList.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/scene/MeshObject.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerGun.h"
#include "game/stage/PodPair.h"
#include "game/stage/ReflectForce.h"
#include "game/system/SoundIds.h"

namespace mareldon {

namespace {

constexpr float kRadiansPerDegree = 0.017453294f;
constexpr float kDegreesPerRadian = 57.295776f;
constexpr float kStepPeriod = 1.0f / 60.0f;
constexpr int32_t kShipTypes = 4;
constexpr int32_t kSparksPerStep = 8;
constexpr float kTwoPi = 6.2831855f;
constexpr float kSparkSpread = 0.08726647f;
constexpr float kSparkDown = 4.712389f;

bool IsShipType(int32_t type) {
    return type >= 0 && type < kShipTypes;
}

}  // namespace

ShipModel::ShipModel(TaskObject* parentTask, int32_t shipType) : StaticModelPart(parentTask) {
    // Bound here, not in the base, so that the binding reaches this class's layer hook.
    if (renderer && IsShipType(shipType)) {
        char name[] = "sel_p00_fix";
        name[6] = char('0' + shipType);
        BindMotion(renderer->FindModel(name));
    }
}

Object3D* ShipModel::CreateLayerObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                       const String&, const RefPtr<RenderBatch>& drawSet,
                                       const std::vector<ParamTrack>* params) {
    MeshObject* mesh = new MeshObject(parentNode, record, drawSet, params);
    if (meshCount < kKeptMeshes)
        meshes[meshCount++] = mesh;
    return mesh;
}

void ShipModel::DrawSelf() {
    const bool glow = blink != 0 && (GetStepCount() & 1) != 0;
    for (MeshObject* mesh : meshes) {
        if (mesh == nullptr || !mesh->DrawSet())
            continue;
        LightList& records = mesh->DrawSet()->records;
        records.Clear();
        if (glow)
            records.Add(LightRecord("EmissiveLight", 4, kEmissive));
    }
}

PlayerShip::PlayerShip(TaskObject* parentTask, GameWorldScreen* ownerScreen, int32_t mask, int32_t type,
                       const RefPtr<PlayerInput>& inputHandle, float x, float y, float z)
    : StaticModelPart(parentTask),
      playerMask(mask),
      shipType(type),
      moveSpeed(MoveSpeedOf(type)),
      input(inputHandle) {
    screen = ownerScreen;
    SetPosition(Vec3{x, y, z});
    if (playerMask == 0) {
        SetDrawSelf(false);
        SetDrawChildren(false);
    }
    BuildParts();
}

PlayerShip::~PlayerShip() {
    // Guns may hang under other nodes of the ship; each unlinks itself as it goes.
    for (PlayerGunBase*& gun : guns) {
        delete gun;
        gun = nullptr;
    }
    // The slot and the hit circles must not outlive the ship, whoever deletes it.
    if (screen != nullptr)
        screen->ForgetShip(this);
}

float PlayerShip::MoveSpeedOf(int32_t type) {
    static constexpr float kSpeeds[kShipTypes] = {0.1f, 0.12f, 0.08f, 0.09f};
    return IsShipType(type) ? kSpeeds[type] : kSpeeds[0];
}

void PlayerShip::BuildParts() {
    // A ship of an unknown type flies with no parts; the spawns refuse such types.
    if (!IsShipType(shipType))
        return;
    model = new ShipModel(this, shipType);
    if (playerMask != 0)
        reflectForce = new ReflectForce(this, screen, playerMask, shipType);
    pods = new PodPair(this, shipType);
    GunKind kinds[kGunSlots];
    const int32_t count = PlayerGun::KindsOfShip(shipType, kinds);
    for (int32_t slot = 0; slot < count; ++slot)
        guns[slot] = new PlayerGun(GunParent(kinds[slot]), screen, playerMask, kinds[slot]);
}

TaskObject* PlayerShip::GunParent(GunKind kind) {
    // The pod guns hang under the pods, crossed over, so they turn with them.
    if (kind == GunKind::Ship3Pod1)
        return pods->GetMountB()->podModel;
    if (kind == GunKind::Ship3Pod2)
        return pods->GetMountA()->podModel;
    return this;
}

void PlayerShip::PlaceGuns() {
    if (guns[0] != nullptr)
        guns[0]->SetPosition(Vec3{0.0f, 0.0f, 0.2f});
    if (pods == nullptr || shipType == 3)
        return;
    const Vec3 ship = GetWorldPosition();
    const Vec3 podA = pods->GetPodPositionA();
    const Vec3 podB = pods->GetPodPositionB();
    const Vec3 offsetA{podA.x - ship.x, podA.y - ship.y, podA.z - ship.z};
    const Vec3 offsetB{podB.x - ship.x, podB.y - ship.y, podB.z - ship.z};
    // Type 0 has four side guns, two per pod; types 1 and 2 one per pod.
    const int32_t perPod = shipType == 0 ? 2 : 1;
    for (int32_t slot = 1; slot < kGunSlots; ++slot) {
        if (guns[slot] != nullptr)
            guns[slot]->SetPosition(slot <= perPod ? offsetA : offsetB);
    }
}

void PlayerShip::SetPowerLevel(int32_t level) {
    for (PlayerGunBase* gun : guns) {
        if (gun != nullptr)
            gun->SetPowerLevel(level);
    }
}

int32_t PlayerShip::GetPowerLevel() const {
    return guns[0] != nullptr ? guns[0]->GetPowerLevel() : 0;
}

uint32_t PlayerShip::Held() const {
    return input ? input->GetButtons().held : 0u;
}

uint32_t PlayerShip::Pressed() const {
    return input ? input->GetButtons().pressed : 0u;
}

bool PlayerShip::CanAct() const {
    return screen != nullptr && screen->CanPlayerAct(uint32_t(playerMask)) && !IsEntryFlightRunning() &&
           dying == 0;
}

void PlayerShip::OnUpdatePre() {
    if (playerMask == 0)
        return;
    Move();
    Bank();
    Fire();
    UpdateReflectButton();
    CheckBomb();
    if (--protectionTimer < 1) {
        protectionTimer = 0;
        protectionFlag = 0;
    }
    if (model != nullptr)
        model->blink = protectionFlag;
    if (dying == 0 && screen != nullptr) {
        const Vec3 at = GetWorldPosition();
        screen->HitLists().RegisterPlayerHitCircle(this, at, kHitRadius);
        screen->HitLists().RegisterPlayerPickupCircle(this, at, kPickupRadius);
    }
}

void PlayerShip::Move() {
    Vec3 at = GetPosition();
    if (IsEntryFlightRunning()) {
        ++entrySteps;
        at.z += kEntryStep;
        SetPosition(at);
        return;
    }
    if (dying != 0) {
        at.y -= 0.01f;
        at.z += 0.008f;
        SetPosition(at);
        return;
    }
    // Steering stays with the player through their own bomb and the clear; only the
    // guns and the reflect charge wait for those.
    if (screen == nullptr)
        return;
    uint32_t held = Held();
    // Tested before the move: a ship may end one step beyond a bound.
    if (!screen->CanMoveNegativeX(playerMask) || at.x < -kBoundX)
        held &= ~uint32_t(kLeft);
    if (!screen->CanMovePositiveX(playerMask) || at.x > kBoundX)
        held &= ~uint32_t(kRight);
    if (at.z > kBoundTop)
        held &= ~uint32_t(kUp);
    if (at.z < kBoundBottom)
        held &= ~uint32_t(kDown);
    const float dx = float((held & kRight) != 0) - float((held & kLeft) != 0);
    const float dz = float((held & kUp) != 0) - float((held & kDown) != 0);
    if (dx == 0.0f && dz == 0.0f)
        return;
    const Vec3 unit = Vec3Normalize(Vec3{dx, 0.0f, dz});
    SetPosition(Vec3{at.x + unit.x * moveSpeed, at.y, at.z + unit.z * moveSpeed});
}

void PlayerShip::Bank() {
    if (model == nullptr || IsEntryFlightRunning())
        return;
    Vec3 rotation = model->GetRotation();
    float roll = rotation.z * kDegreesPerRadian;
    const uint32_t held = Held();
    if ((held & (kLeft | kRight)) != 0) {
        if ((held & kRight) != 0 && roll > -kBankLimit)
            roll -= kBankStep;
        if ((held & kLeft) != 0 && roll < kBankLimit)
            roll += kBankStep;
    } else {
        if (roll < 0.0f)
            roll += kBankStep;
        if (roll > 0.0f)
            roll -= kBankStep;
    }
    rotation.z = roll * kRadiansPerDegree;
    model->SetRotation(rotation);
}

void PlayerShip::Fire() {
    fireHoldTimer -= kStepPeriod;
    if (fireHoldTimer < 0.0f)
        fireHoldTimer = 0.0f;
    if (!CanAct())
        return;
    PlaceGuns();
    if (autoFire != 0)
        fireHoldTimer = fireHoldTime;
    if ((Pressed() & kShot) != 0)
        fireHoldTimer = fireHoldTime;
    if (fireHoldTimer > 0.0f) {
        for (PlayerGunBase* gun : guns) {
            if (gun != nullptr)
                gun->SetFiring(true);
        }
    }
}

void PlayerShip::UpdateReflectButton() {
    if (reflectForce == nullptr)
        return;
    reflectForce->SetButtonHeld(0);
    if (CanAct() && (Held() & kShot) != 0)
        reflectForce->SetButtonHeld(1);
}

void PlayerShip::CheckBomb() {
    if (screen == nullptr || !screen->IsNotCleared() || IsEntryFlightRunning() || dying != 0)
        return;
    if ((Pressed() & kBomb) != 0)
        screen->LaunchBomb(uint32_t(playerMask));
}

bool PlayerShip::IsAlive() {
    if (screen == nullptr)
        return true;
    const Vec3 at = GetWorldPosition();
    if (dying != 0) {
        Random& random = screen->GetRandom();
        for (int32_t i = 0; i < kSparksPerStep; ++i) {
            const float a = random.Range(0.0f, kTwoPi);
            const float r = random.Range(0.0f, 0.2f);
            const float b = random.Range(-kSparkSpread, kSparkSpread) + kSparkDown;
            const float s = random.Range(0.02f, 0.08f);
            const float v = random.Range(1.0f, 12.0f);
            screen->SpawnSpark(Vec3{at.x + r * std::cos(a), at.y, at.z + r * std::sin(a)},
                               Vec3{s * std::cos(b), 0.0f, s * std::sin(b)}, v);
        }
        if (--deathCountdown < 1) {
            screen->PlaySe(kSeShipExplosion);
            screen->SpawnEffect(at, Vec3{0.0f, 0.0f, 0.0f}, "EXPLOSION_PLAYER", Vec3{1.0f, 1.0f, 1.0f});
            screen->KillPlayers(playerMask);
            return false;
        }
        return true;
    }
    if (playerMask != 0 && protectionTimer < 1) {
        while (EnemyBulletRecord* bullet = screen->HitLists().FindEnemyBulletHit(at, kHitRadius)) {
            bullet->velocity = Vec3{0.0f, 0.0f, 0.0f};
            dying = 1;
            screen->PlaySe(kSeShipHit);
        }
    }
    return true;
}

}  // namespace mareldon
