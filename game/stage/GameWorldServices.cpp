#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "engine/render/scene/CameraNode.h"
#include "game/stage/AngleTracker.h"
#include "game/stage/EffectModel.h"
#include "game/stage/FallingSprite.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerRules.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "game/system/GameSystem.h"
#include "game/system/SoundIds.h"

namespace mareldon {

namespace {

// Player 1 or 2 of a mask bit loop.
constexpr uint32_t Bit(int player) {
    return 1u << (player - 1);
}

int32_t PlayerIndex(int32_t player) {
    return player == 2 ? 1 : 0;
}

}  // namespace

// Spawning.

TaskObject* GameWorldScreen::SpawnEffect(const Vec3& position, const Vec3& velocity, const char* name,
                                         const Vec3& scale) {
    return PlaceEffect(ToStageCameraSpace(position), velocity, name, scale);
}

TaskObject* GameWorldScreen::PlaceEffect(const Vec3& local, const Vec3& velocity, const char* name,
                                         const Vec3& scale) {
    Note("SpawnEffect", "%s %g %g %g", name, double(local.x), double(local.y), double(local.z));
    TaskObject* parentNode = effectParent != nullptr ? static_cast<TaskObject*>(effectParent) : worldRoot;
    return new EffectModel(parentNode, this, local, velocity, name, scale);
}

TaskObject* GameWorldScreen::CreateFallingSprite(const Vec3&, const Vec3& screenPosition, int32_t number,
                                                 int32_t player) {
    if (player != 1 && player != 2)
        return nullptr;
    const int32_t index = PlayerIndex(player);
    return MakePopup(popupGroups[index], newestPopups[index], false, screenPosition, number, player);
}

TaskObject* GameWorldScreen::CreateGravitySprite(const Vec3&, const Vec3& screenPosition, int32_t number,
                                                 int32_t player) {
    if (player != 1 && player != 2)
        return nullptr;
    const int32_t index = PlayerIndex(player);
    return MakePopup(gravityGroups[index], newestGravitySprites[index], true, screenPosition, number, player);
}

TaskObject* GameWorldScreen::MakePopup(TaskObject* group, TaskObject*& newest, bool gravity,
                                       const Vec3& screenPosition, int32_t number, int32_t player) {
    if (group == nullptr)
        return nullptr;
    // A group shows the four newest.
    if (group->childCount >= kPopupLimit)
        delete static_cast<TaskObject*>(group->firstChild);
    TaskObject* sprite =
        gravity ? static_cast<TaskObject*>(new GravitySprite(group, this, screenPosition, number, player))
                : static_cast<TaskObject*>(new FallingSprite(group, this, screenPosition, number, player));
    newest = sprite;
    return sprite;
}

void GameWorldScreen::ForgetPopup(const TaskObject* sprite) {
    for (TaskObject** newest :
         {&newestPopups[0], &newestPopups[1], &newestGravitySprites[0], &newestGravitySprites[1]}) {
        if (*newest == sprite)
            *newest = nullptr;
    }
}

PlayerShip* GameWorldScreen::MakeShip(int32_t player, float x, float z) {
    const int32_t index = PlayerIndex(player);
    const int32_t type = owner != nullptr ? owner->GetPlayer(int(Bit(player))).shipType : 0;
    // Any other type leaves the slot as it is.
    if (type < 0 || type > 3)
        return nullptr;
    delete ships[index];
    ships[index] =
        new PlayerShip(ShipParent(), this, int32_t(Bit(player)), type, playerInputs[index], x, 0.0f, z);
    return ships[index];
}

void GameWorldScreen::SpawnPlayers(int32_t playerMask) {
    for (int player = 1; player <= 2; ++player) {
        if (!(uint32_t(playerMask) & Bit(player)))
            continue;
        const int32_t index = PlayerIndex(player);
        float x = lastShipX[index];
        if (const PlayerShip* other = ships[1 - index])
            x = std::clamp(x, other->GetPosition().x - kRespawnSpread,
                           other->GetPosition().x + kRespawnSpread);
        PlayerShip* ship = MakeShip(player, x, kRespawnZ);
        if (ship == nullptr)
            continue;
        ship->SetPowerLevel(owner != nullptr ? owner->GetPlayer(int(Bit(player))).powerLevel : 0);
        ship->StartEntryFlight();
        ship->SetProtection(kSpawnProtection, 1);
        Note("SpawnPlayers", "%d %g", player, double(x));
    }
}

void GameWorldScreen::SpawnPlayersAtStart(int32_t playerMask) {
    for (int player = 1; player <= 2; ++player) {
        if (!(uint32_t(playerMask) & Bit(player)))
            continue;
        if (MakeShip(player, player == 1 ? -2.0f : 2.0f, 0.0f) != nullptr)
            Note("SpawnPlayersAtStart", "%d", player);
    }
}

// Players and their ships.

PlayerShip* GameWorldScreen::GetPlayer(int32_t player) {
    switch (ChoosePlayer(player, ships[0] != nullptr, ships[1] != nullptr, random)) {
        case 1:
            return ships[0];
        case 2:
            return ships[1];
        case kDummyPlayer:
            return dummyShip;
        default:
            return nullptr;
    }
}

PlayerShip* GameWorldScreen::GetNearestPlayer(const Vec3& point) {
    std::optional<Vec3> positions[2];
    for (int i = 0; i < 2; ++i) {
        if (ships[i] != nullptr)
            positions[i] = ships[i]->GetWorldPosition();
    }
    const int32_t player = ChooseNearestPlayer(positions[0], positions[1], point);
    return player == 1 ? ships[0] : player == 2 ? ships[1] : dummyShip;
}

float GameWorldScreen::ProjectedAimAngle(const Vec3& p, const Vec3& q) const {
    const Vec3 eye = sceneCamera != nullptr ? sceneCamera->GetWorldPosition() : Vec3{};
    return mareldon::ProjectedAimAngle(eye, p, q);
}

int32_t* GameWorldScreen::GetPlayerSlot(int32_t player) {
    return playerSlots[player == 1 ? 0 : player == 2 ? 1 : 2];
}

std::array<std::optional<float>, 2> GameWorldScreen::ShipXs() const {
    std::array<std::optional<float>, 2> x;
    for (int i = 0; i < 2; ++i) {
        if (ships[i] != nullptr)
            x[size_t(i)] = ships[i]->GetPosition().x;
    }
    return x;
}

bool GameWorldScreen::CanMoveNegativeX(int32_t player) {
    const auto x = ShipXs();
    return mareldon::CanMoveNegativeX(player, x[0], x[1]);
}

bool GameWorldScreen::CanMovePositiveX(int32_t player) {
    const auto x = ShipXs();
    return mareldon::CanMovePositiveX(player, x[0], x[1]);
}

bool GameWorldScreen::CanPlayerAct(uint32_t playerBit) const {
    if (cleared)
        return false;
    return !(bombActive && (uint32_t(bombOwnerMask) & playerBit) != 0);
}

void GameWorldScreen::ForgetShip(const PlayerShip* ship) {
    for (PlayerShip*& slot : ships) {
        if (slot == ship)
            slot = nullptr;
    }
    if (dummyShip == ship)
        dummyShip = nullptr;
    hitLists.RemovePlayer(ship);
}

void GameWorldScreen::SetReflectGauge(uint32_t playerMask, const ReflectGauge* gauge) {
    if (gauge == nullptr)
        return;
    for (int player = 1; player <= 2; ++player) {
        if (playerMask & Bit(player))
            reflectGauges[PlayerIndex(player)] = *gauge;
    }
}

// Bomb state.

void GameWorldScreen::SetBombActive(bool flag) {
    bombActive = flag ? 1 : 0;
    if (!flag)
        bombOwnerMask = 0;
    Note("SetBombActive", "%d", int(bombActive));
}

// Projection.

void GameWorldScreen::SetupCamera() {
    if (sceneCamera == nullptr)
        return;
    mapping.SetupCamera(sceneCamera->view, sceneCamera->projection, float(GameSystem::kScreenWidth),
                        float(GameSystem::kScreenHeight));
}

Vec3 GameWorldScreen::ToStageCameraSpace(const Vec3& point) {
    return Vec3TransformCoord(point, ShipParent()->GetInverseWorldMatrix());
}

void GameWorldScreen::ComputeProjectiveTextureMatrix(Matrix4& out, CameraNode& camera) const {
    out = mareldon::ComputeProjectiveTextureMatrix(camera.view, camera.projection);
}

// Sound shortcuts.

void GameWorldScreen::PlaySe(int32_t id) {
    Note("PlaySe", "%d", id);
    if (owner != nullptr)
        owner->PlaySe(id);
}

void GameWorldScreen::PlayShotSe() {
    // Silent in replays and front-end demos.
    if (livePlay)
        PlaySe(kSeShot);
}

void GameWorldScreen::PlayExplosionSeRandom() {
    PlaySe(random.Next() % 3 < 2 ? kSeExplosion2 : kSeExplosion3);
}

void GameWorldScreen::StartReflectLoopSe() {
    reflectSound = 1;
    Note("PlaySeLooped", "%d", kSeReflectLoop);
    if (owner != nullptr)
        owner->PlaySeLooped(kSeReflectLoop);
}

void GameWorldScreen::StopReflectLoopSe() {
    reflectSound = 0;
    Note("StopSe", "%d", kSeReflectLoop);
    if (owner != nullptr)
        owner->StopSe(kSeReflectLoop);
    PlaySe(kSeReflectActivation);
}

}  // namespace mareldon
