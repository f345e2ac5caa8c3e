#include "game/stage/Items.h"

#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/system/GameSystem.h"
#include "game/system/PlayerRecord.h"
#include "game/system/SoundIds.h"

namespace mareldon {

namespace {

constexpr float kSinkLimit = -0.06f;
constexpr float kSinkStep = 0.003f;
constexpr float kStraightSpeed = 0.12f;

void MoveBy(Object3D& node, const Vec3& velocity, float f) {
    const Vec3& p = node.GetPosition();
    node.SetPosition(Vec3{p.x + velocity.x * f, p.y + velocity.y * f, p.z + velocity.z * f});
}

// The player whose ship's pickup circle holds the node, 0 when none does.
int32_t PickupPlayer(GameWorldScreen& screen, const Vec3& world) {
    const PlayerShip* ship = screen.HitLists().FindPickupPlayer(world);
    return ship != nullptr ? ship->GetPlayerMask() : 0;
}

}  // namespace

ScoreItem::ScoreItem(TaskObject* parentTask, GameWorldScreen* ownerScreen, const Vec3& position, const Vec3&,
                     const String& modelName, int32_t itemValue, int32_t itemSound)
    : StaticModelPart(parentTask, ownerScreen, position, modelName), value(itemValue), soundId(itemSound) {
    Random& random = screen->GetRandom();
    const float vx = random.Range(-0.007f, 0.007f);
    const float vz = random.Range(0.03f, 0.07f);
    velocity = itemValue >= kStraightValue ? Vec3{0.0f, 0.0f, kStraightSpeed} : Vec3{vx, 0.0f, vz};
}

void ScoreItem::OnUpdatePre() {
    MoveBy(*this, velocity, 1.0f);
    if (velocity.z > kSinkLimit)
        velocity.z -= kSinkStep;
}

bool ScoreItem::Collect() {
    const Vec3 world = GetWorldPosition();
    const int32_t player = PickupPlayer(*screen, world);
    if (player == 0)
        return screen->ProjectToScreen(world).y > screen->GetScreenMapping().GetHeight();
    screen->CollectPickup(player, value, GetStepCount(), world, soundId);
    return true;
}

PowerItem::PowerItem(TaskObject* parentTask, GameWorldScreen* ownerScreen, const Vec3& position,
                     const Vec3& launch, const String& modelName)
    : StaticModelPart(parentTask, ownerScreen, position, modelName), velocity(launch) {}

void PowerItem::OnUpdatePre() {
    const int32_t age = GetStepCount();
    const float f = age < kEaseSteps ? float(age) / float(kEaseSteps) : 1.0f;
    MoveBy(*this, velocity, f);
    const Vec3 w = GetWorldPosition();
    const Vec3 r = screen->GetSceneRoot()->GetWorldPosition();
    if (w.z > r.z + kBoxHalf || w.z < r.z - kBoxHalf) {
        velocity.z = -velocity.z;
        MoveBy(*this, velocity, f);
    }
    if (w.x > r.x + kBoxHalf || w.x < r.x - kBoxHalf) {
        velocity.x = -velocity.x;
        MoveBy(*this, velocity, f);
    }
}

bool PowerItem::Collect() {
    // Back into the box, moved in the world and written in the parent's frame.
    const Vec3 w = GetWorldPosition();
    const Vec3 r = screen->GetSceneRoot()->GetWorldPosition();
    Vec3 target = w;
    if (w.z > r.z + kBoxHalf)
        target.z = r.z + kBoxReturn;
    else if (w.z < r.z - kBoxHalf)
        target.z = r.z - kBoxReturn;
    if (w.x > r.x + kBoxHalf)
        target.x = r.x + kBoxReturn;
    else if (w.x < r.x - kBoxHalf)
        target.x = r.x - kBoxReturn;
    if (target.x != w.x || target.z != w.z) {
        Object3D* parentNode = ParentNode();
        Vec3 shift{target.x - w.x, 0.0f, target.z - w.z};
        if (parentNode != nullptr) {
            const Matrix4& inverse = parentNode->GetInverseWorldMatrix();
            const Vec3 from = Vec3TransformCoord(w, inverse);
            const Vec3 to = Vec3TransformCoord(target, inverse);
            shift = Vec3{to.x - from.x, to.y - from.y, to.z - from.z};
        }
        MoveBy(*this, shift, 1.0f);
    }
    if (GetStepCount() < kFirstPickupStep)
        return false;
    const int32_t player = PickupPlayer(*screen, GetWorldPosition());
    PlayerShip* ship = player != 0 ? screen->GetPlayer(player) : nullptr;
    if (ship == nullptr)
        return false;
    Reward(*ship, player);
    return true;
}

void PowerItem::Reward(PlayerShip& ship, int32_t player) {
    int32_t level = ship.GetPowerLevel();
    if (level < kTopPower) {
        ++level;
        screen->SpawnEffect(ship.GetWorldPosition(), Vec3{}, "POWER_font", Vec3{1.0f, 1.0f, 1.0f});
    } else {
        screen->AddScore(uint32_t(player), kBonusPoints);
    }
    if (GameSystem* system = screen->GetOwner())
        system->GetPlayer(player).powerLevel = level;
    ship.SetPowerLevel(level);
    screen->PlaySe(kSePowerUp);
}

void BombItem::Reward(PlayerShip& ship, int32_t player) {
    if (GameSystem* system = screen->GetOwner()) {
        int32_t& bombs = system->GetPlayer(player).bombStock;
        // 10 is unlimited, 9 the most a stock holds.
        if (bombs != 10 && bombs != 9) {
            ++bombs;
            screen->SpawnEffect(ship.GetWorldPosition(), Vec3{}, "FORCE_font", Vec3{1.0f, 1.0f, 1.0f});
        }
    }
    screen->PlaySe(kSeBombItem);
    screen->AddScore(uint32_t(player), kBonusPoints);
}

}  // namespace mareldon
