#include "game/stage/StraightShot.h"

#include "game/stage/GameWorldScreen.h"

namespace mareldon {

namespace {

struct ShotStyle {
    bool dropsItem;
    bool drifts;
    const char* effect;
    int32_t cellBase;
    int32_t cellStep;  // per level
    bool flickers;     // odd ages use the next cell
};

constexpr ShotStyle kStyles[StraightShot::kKinds] = {
    {true, false, "PSHOT_HIT", 0, 1, false}, {false, false, "STE_pl00_s_chakudan", 16, 2, true},
    {true, true, "PSHOT_HIT", 4, 1, false},  {false, true, "STE_pl01_b_chakudan", 24, 2, true},
    {true, true, "PSHOT_HIT", 8, 1, false},  {true, true, "PSHOT_HIT", 12, 1, false},
};

constexpr float kDrift = 0.04f;

// Program-wide on purpose: which hit shows its effect depends on all shots made so far.
int32_t madeCounts[StraightShot::kKinds] = {};

}  // namespace

StraightShot::StraightShot(StraightShotKind shotKind, TaskObject* parentTask, const Vec3& position,
                           const Vec3& startVelocity, GameWorldScreen* ownerScreen, int32_t mask,
                           int32_t slot, int32_t level, const AttackVector& attackVector)
    : PlayerBullet(parentTask, position, startVelocity, ownerScreen, mask, slot, level, attackVector),
      kind(shotKind) {
    ++madeCounts[int32_t(kind)];
}

void StraightShot::OnHit() {
    if (screen == nullptr)
        return;
    const ShotStyle& style = kStyles[int32_t(kind)];
    const Vec3 at = GetWorldPosition();
    if (style.dropsItem)
        screen->SpawnItem(at, Vec3{0.0f, 0.0f, 0.0f}, "BONUS_SS");
    if (madeCounts[int32_t(kind)] % 4 != 0)
        return;
    Vec3 velocity{0.0f, 0.0f, 0.0f};
    if (style.drifts) {
        Random& random = screen->GetRandom();
        const float r1 = random.Range(-kDrift, kDrift);
        const float r2 = random.Range(-kDrift, kDrift);
        const float r3 = random.Range(-kDrift, kDrift);
        velocity = Vec3{r2, r1, r3};
    }
    screen->SpawnEffect(at, velocity, style.effect, Vec3{1.0f, 1.0f, 1.0f});
}

int32_t StraightShot::SpriteCell() {
    const int32_t level = GetShotLevel();
    if (level < 0 || level > 3)
        return -1;
    const ShotStyle& style = kStyles[int32_t(kind)];
    int32_t cell = style.cellBase + style.cellStep * level;
    if (style.flickers)
        cell += GetStepCount() & 1;
    return cell;
}

int32_t StraightShot::MadeCount(StraightShotKind shotKind) {
    return madeCounts[int32_t(shotKind)];
}

void StraightShot::ResetMadeCounts() {
    for (int32_t& count : madeCounts)
        count = 0;
}

}  // namespace mareldon
