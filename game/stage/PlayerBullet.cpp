#include "game/stage/PlayerBullet.h"

#include <cmath>

#include "engine/render/draw/Renderer.h"
#include "game/stage/GameWorldScreen.h"
#include "game/system/SoundIds.h"

namespace mareldon {

namespace {

constexpr float kTwoPi = 6.2831855f;

}  // namespace

PlayerBullet::PlayerBullet(TaskObject* parentTask, const Vec3& position, const Vec3& startVelocity,
                           GameWorldScreen* ownerScreen, int32_t mask, int32_t slot, int32_t level,
                           const AttackVector& attackVector)
    : StaticModelPart(parentTask),
      velocity(startVelocity),
      ownerMask(mask),
      gunSlot(slot),
      shotLevel(level),
      attack(attackVector) {
    screen = ownerScreen;
    SetPosition(position);
    SetRotation(Vec3{0.0f, std::atan2(velocity.x, velocity.z), 0.0f});
    if (screen == nullptr)
        return;
    if (gunSlot >= 0 && gunSlot < kUncountedSlot)
        ++screen->GetPlayerSlot(ownerMask)[gunSlot];
    screen->AddLivePlayerBullet(1);
}

PlayerBullet::~PlayerBullet() {
    if (screen == nullptr)
        return;
    if (gunSlot >= 0 && gunSlot < kUncountedSlot)
        --screen->GetPlayerSlot(ownerMask)[gunSlot];
    screen->AddLivePlayerBullet(-1);
}

void PlayerBullet::Move() {
    const Vec3& at = GetPosition();
    SetPosition(Vec3{at.x + velocity.x, at.y + velocity.y, at.z + velocity.z});
}

bool PlayerBullet::HitTarget() {
    const Vec3 at = GetWorldPosition();
    AttackTarget* target = screen->HitLists().FindEnemyTarget(at);
    if (target == nullptr)
        return false;
    target->ApplyAttack(uint32_t(ownerMask), attack);
    screen->PlaySe(kSeBulletHit);
    int32_t k = 10 - GetStepCount();
    if (k < 1)
        k = 1;
    screen->AddScore(uint32_t(ownerMask), k * k * k * k);
    if (k > 5)
        screen->PlaySe(kSeEarlyBulletHit);
    if (noSpark == 0) {
        Random& random = screen->GetRandom();
        const float a = random.Range(0.0f, kTwoPi);
        const float r = random.Range(0.08f, 0.18f);
        const float v = random.Range(1.0f, 4.0f) + float(k * k * k * k) * 0.001f;
        screen->SpawnSpark(at, Vec3{r * std::cos(a), 0.0f, r * std::sin(a)}, v);
    }
    return true;
}

bool PlayerBullet::IsAlive() {
    if (screen == nullptr)
        return false;
    if (!HitTarget())
        return screen->IsOnScreen(GetWorldPosition(), 0.0f);
    OnHit();
    return false;
}

void PlayerBullet::Submit(const RefPtr<RenderView>& view) {
    if (screen == nullptr || !screen->IsShotSpriteView(view.Get()))
        return;
    const int32_t cell = SpriteCell();
    if (cell >= 0)
        screen->DrawPlayerBulletSprite(GetWorldPosition(), GetWorldForward(), cell);
}

void PlayerBullet::SetModel(const String& name) {
    if (renderer)
        BindMotion(renderer->FindModel(name));
    SetPriority(NamePriority(name.Text()));
}

int32_t PlayerBullet::NamePriority(const char* name) {
    int32_t h = 0;
    for (const char* p = name; *p != '\0'; ++p) {
        const int32_t b = static_cast<signed char>(*p);
        h = b ^ ((h >> 21) | int32_t(uint32_t(h) << 11));
    }
    return h;
}

}  // namespace mareldon
