#include "game/objects/LensTurret.h"

#include <cmath>
#include <cstring>

#include "game/objects/DeathReactions.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"

namespace mareldon {

namespace {

constexpr const char* kTurretPrefix = "eg_07_lens_houdai:Layer";

// 0 to 3 for the base's turret layers "Layer3" to "Layer6", else -1.
int32_t TurretSlot(const String& name) {
    const size_t length = std::strlen(kTurretPrefix);
    const char* text = name.Text();
    if (std::strncmp(text, kTurretPrefix, length) != 0)
        return -1;
    const char* digit = text + length;
    if (digit[0] < '3' || digit[0] > '6' || digit[1] != '\0')
        return -1;
    return digit[0] - '0' - LensBaseEnemy::kFirstTurretLayer;
}

}  // namespace

LensHoudaiEnemy::LensHoudaiEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : LayerFormEnemy(parentTask, info, args.durability, args.radius, args.linger, args.bonus, args.explosion,
                     HitRule::kAlways, reactions::LensTurret),
      kind(args.kind) {
    name = info.name;
    if (const GunRow* row = gunship::LensGun(kind))
        gun = new BuiltInGun(this, world, *row, &gun);
    auto* owner = dynamic_cast<LensBaseEnemy*>(parentTask);
    const int32_t slotIndex = TurretSlot(info.name);
    if (owner != nullptr && slotIndex >= 0 && owner->turrets[slotIndex] == nullptr) {
        base = owner;
        baseSlot = slotIndex;
        owner->turrets[slotIndex] = this;
    }
}

LensHoudaiEnemy::~LensHoudaiEnemy() {
    DeleteChildren();
    if (base != nullptr && base->turrets[baseSlot] == this)
        base->turrets[baseSlot] = nullptr;
}

void LensHoudaiEnemy::OnUpdatePre() {
    const Vec3 pivot = GetWorldPosition();
    RegisterHitSphere(pivot, radius);
    if (kind != kFacing || world == nullptr)
        return;
    PlayerShip* player = world->GetPlayer(3);
    if (player == nullptr)
        return;
    const Vec3 p = player->GetWorldPosition();
    SetRotation(Vec3{0.0f, std::atan2(-(p.z - pivot.z), p.x - pivot.x), 0.0f});
}

LensBaseEnemy::LensBaseEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : LayerFormEnemy(parentTask, info, args.durability, args.radius, args.linger, args.bonus, args.explosion,
                     HitRule::kAlways, reactions::LensBase) {}

LensBaseEnemy::~LensBaseEnemy() {
    // The turrets let go of this base as they go.
    DeleteChildren();
}

int32_t LensBaseEnemy::TurretsLeft(int32_t count) const {
    int32_t left = 0;
    for (int32_t i = 0; i < count && i < kTurrets; ++i)
        left += turrets[i] != nullptr ? 1 : 0;
    return left;
}

void LensBaseEnemy::OnUpdatePre() {
    if (coreDestroyed == 0) {
        // Each stage waits for one more of the turret layers to be gone.
        bool advance = false;
        switch (stageCounter) {
            case 0:
                advance = TurretsLeft(3) == 3;
                break;
            case 1:
                advance = TurretsLeft(2) == 2;
                break;
            case 2:
                advance = TurretsLeft(1) == 1;
                break;
            case 3:
                advance = true;
                break;
            default:
                open = 1;
                break;
        }
        if (advance)
            ++stageCounter;
    }
    const Vec3 pivot = GetWorldPosition();
    if (open == 0 || coreDestroyed != 0) {
        RegisterHitSphere(pivot, radius);
        return;
    }
    if (world == nullptr || GetStepCount() % 4 != 0)
        return;
    const float u = random.Range(0.0f, 1.0f);
    const float v = random.Range(0.0f, 1.0f);
    world->SpawnItem(pivot, Vec3{2.0f * u - 1.0f, 0.0f, 2.0f * v - 1.0f}, "BONUS_M");
}

LensCoreEnemy::LensCoreEnemy(TaskObject* parentTask, NodeSpawnInfo& info, const LayerArgs& args)
    : LayerFormEnemy(parentTask, info, args.durability, args.radius, Enemy::kDefaultLinger, "", "NULL",
                     HitRule::kAlways, reactions::LensCore) {}

}  // namespace mareldon
