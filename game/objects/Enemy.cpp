#include "game/objects/Enemy.h"

namespace mareldon {

Enemy::Enemy(TaskObject* parentTask, float durability) : Object3D(parentTask, 0), durability(durability) {
    attackWeights.values.fill(1.0f);
}

void Enemy::ApplyAttack(uint32_t playerMask, const AttackVector& attack) {
    if (durability <= 0.0f)
        return;
    float damage = 0.0f;
    for (int i = 0; i < AttackVector::kSize; ++i)
        damage += attack.values[i] * attackWeights.values[i];
    durability -= damage;
    hitFlashPending = 1;
    if (durability <= 0.0f)
        durability = 0.0f;
    OnDamaged(damage, playerMask);
    if (durability == 0.0f)
        OnDestroyed();
}

bool Enemy::IsPastActiveWindow() {
    if (attached)
        return false;
    return GetMotionTime() > keySpanEnd;
}

}  // namespace mareldon
