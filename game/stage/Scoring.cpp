#include "game/stage/Scoring.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/render/scene/CameraNode.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/Items.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StaticModelRoot.h"
#include "game/system/GameSystem.h"
#include "game/system/PlayerRecord.h"

namespace mareldon {

namespace {

constexpr float kItemLaunchSpeed = 0.06f;
constexpr float kDegrees = 0.017453292f;

constexpr uint32_t Bit(int player) {
    return 1u << (player - 1);
}

// Next as unsigned x 2^-32.
float Unit(Random& random) {
    return float(random.Next()) * 2.3283064e-10f;
}

// How a drop name that is not a power or bomb item pays.
struct DropKind {
    const char* name;
    int32_t value;
    int32_t soundId;
    int32_t chipRow;  // -1: a score item
};

constexpr DropKind kDrops[] = {
    {"BONUS_SR", 3, 1, 0},   {"BONUS_SS", 0, 1, 1},  {"BONUS_SR2", 0, 1, -1}, {"BONUS_S", 10, 1, -1},
    {"BONUS_SX", 30, 1, -1}, {"BONUS_M", 50, 1, -1}, {"BONUS_L", 100, 1, -1}, {"BONUS_X", 500, 47, -1},
};
constexpr DropKind kOtherDrop{"", 1, 1, -1};

const DropKind& FindDrop(const char* name) {
    for (const DropKind& kind : kDrops) {
        if (std::strcmp(kind.name, name) == 0)
            return kind;
    }
    return kOtherDrop;
}

}  // namespace

uint64_t AddCappedScore(uint64_t score, __int128 amount) {
    const __int128 sum = __int128(score) + amount;
    if (sum < 0 || sum > __int128(kScoreCap))
        return kScoreCap;
    return uint64_t(sum);
}

void ApplyPairCap(uint64_t& first, uint64_t& second) {
    uint64_t sum = 0;
    if (__builtin_add_overflow(first, second, &sum) || sum > kScoreCap) {
        first = kScoreCap;
        second = 0;
    }
}

int32_t RaiseChain(PlayerRecord& record, int32_t value) {
    record.chain += value;
    const int64_t multiplier = int64_t(record.multiplier) + record.chain;
    record.multiplier = int32_t(std::min<int64_t>(multiplier, kMultiplierCap));
    return record.chain;
}

int32_t PickupFactor(int32_t age) {
    return std::max(1, 10 - age / 10);
}

void GameWorldScreen::AddScore(uint32_t playerMask, int32_t value) {
    AddScore64(playerMask, value);
}

void GameWorldScreen::AddScore64(uint32_t playerMask, int64_t value) {
    Note("AddScore", "%u %lld", playerMask, static_cast<long long>(value));
    if (owner == nullptr)
        return;
    for (int player = 1; player <= 2; ++player) {
        if (!(playerMask & Bit(player)))
            continue;
        PlayerRecord& record = owner->GetPlayer(int(Bit(player)));
        // Exact: a large product must reach the cap, not wrap under it.
        record.score = AddCappedScore(record.score, __int128(record.multiplier) * value);
        owner->SavePlayerRecords();
    }
    ApplyPairCap(owner->GetPlayer(1).score, owner->GetPlayer(2).score);
    owner->UpdateTopScore();
}

void GameWorldScreen::AddScoreRaw(uint32_t playerMask, uint64_t value) {
    Note("AddScoreRaw", "%u %llu", playerMask, static_cast<unsigned long long>(value));
    if (owner == nullptr)
        return;
    for (int player = 1; player <= 2; ++player) {
        if (playerMask & Bit(player)) {
            PlayerRecord& record = owner->GetPlayer(int(Bit(player)));
            record.score = AddCappedScore(record.score, value);
        }
    }
    ApplyPairCap(owner->GetPlayer(1).score, owner->GetPlayer(2).score);
    owner->UpdateTopScore();
}

void GameWorldScreen::CollectPickup(int32_t player, int32_t value, int32_t age, const Vec3& worldPosition,
                                    int32_t soundId) {
    if (owner == nullptr || (player != 1 && player != 2))
        return;
    const int32_t chain = RaiseChain(owner->GetPlayer(player), value);
    AddScore64(uint32_t(player), int64_t(PickupFactor(age)) * chain);
    CreateFallingSprite(worldPosition, ProjectToScreen(worldPosition), chain, player);
    PlaySe(soundId);
}

TaskObject* GameWorldScreen::SpawnItem(const Vec3& position, const Vec3& velocity, const char* name) {
    if (name == nullptr)
        name = "";
    Note("SpawnItem", "%s %g %g %g", name, double(position.x), double(position.y), double(position.z));
    const DropKind& drop = FindDrop(name);
    if (drop.chipRow >= 0) {
        SpawnScoreChip(position, velocity, drop.chipRow, drop.value, drop.soundId);
        return nullptr;
    }

    // Onto the play plane along the line of sight, so the item starts where the
    // enemy was seen; a camera level with the point leaves it where it is.
    Object3D* parentNode = itemParent != nullptr ? static_cast<Object3D*>(itemParent) : ShipParent();
    const Vec3 eye = sceneCamera != nullptr ? sceneCamera->GetWorldPosition() : Vec3{};
    const float planeY = ShipParent()->GetWorldMatrix()[7];
    Vec3 onPlane = position;
    if (eye.y != position.y) {
        const float t = (planeY - position.y) / (eye.y - position.y);
        onPlane = Vec3{position.x + (eye.x - position.x) * t, planeY, position.z + (eye.z - position.z) * t};
    }
    Vec3 q = Vec3TransformCoord(onPlane, parentNode->GetInverseWorldMatrix());
    q.y = 0.0f;

    const bool power = std::strcmp(name, "BONUS_POWER") == 0;
    if (power || std::strcmp(name, "BONUS_BOMB") == 0) {
        const float r = Unit(random);
        const uint32_t quadrant = random.Next() & 3u;
        const float angle = (40.0f + 10.0f * r) * kDegrees + float(quadrant) * 90.0f * kDegrees;
        const Vec3 launch{std::cos(angle) * kItemLaunchSpeed, 0.0f, std::sin(angle) * kItemLaunchSpeed};
        if (power)
            return new PowerItem(parentNode, this, q, launch, name);
        return new BombItem(parentNode, this, q, launch, name);
    }
    return new ScoreItem(parentNode, this, q, velocity, name, drop.value, drop.soundId);
}

void GameWorldScreen::KillPlayers(int32_t playerMask) {
    Note("KillPlayers", "%d", playerMask);
    if (owner == nullptr)
        return;
    for (int player = 1; player <= 2; ++player) {
        if (!(uint32_t(playerMask) & Bit(player)))
            continue;
        const int32_t index = player - 1;
        PlayerRecord& record = owner->GetPlayer(int(Bit(player)));
        if (PlayerShip* ship = ships[index]) {
            lastShipX[index] = ship->GetPosition().x;
            const Vec3 at = ship->GetWorldPosition();
            for (int32_t level = 0; level < record.powerLevel; ++level)
                SpawnItem(at, Vec3{}, "BONUS_POWER");
            hitLists.RemovePlayer(ship);
            ships[index] = nullptr;
        }
        record.bombStock = owner->GetGameSettings().bombStock;
        record.powerLevel = 0;
        record.chain = 0;
        // Popups of the ship go with it.
        popupGroups[index]->DeleteChildren();
        gravityGroups[index]->DeleteChildren();
        newestPopups[index] = nullptr;
        newestGravitySprites[index] = nullptr;
        // 10 is unlimited; a stock already spent stays at 0 and is not ended twice.
        if (record.shipStock != 10 && record.shipStock > 0) {
            --record.shipStock;
            if (record.shipStock == 0)
                owner->StartNameEntry(int(Bit(player)));
        }
    }
}

}  // namespace mareldon
