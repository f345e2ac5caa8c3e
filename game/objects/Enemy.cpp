#include "game/objects/Enemy.h"

#include <cmath>

#include "engine/core/Log.h"
#include "engine/render/draw/LightList.h"
#include "engine/render/draw/RenderBatch.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

constexpr float kFlashColour[4] = {0.25f, 0.3f, 0.25f, 1.0f};

const LightRecord& FlashRecord() {
    static const LightRecord record("EmissiveLight", 4, kFlashColour);
    return record;
}

}  // namespace

ActivityOwner* FindActivityOwner(TaskObject* parent) {
    return dynamic_cast<ActivityOwner*>(parent);
}

Enemy::Enemy(TaskObject* parentTask, NodeSpawnInfo& info, float durability, AttachKind kind)
    : MeshObject(parentTask, info.node, info.mesh, info.materials),
      world(info.owner),
      durability(durability) {
    attackWeights.values.fill(1.0f);
    SetUpAttach(kind, info.attached, info.name);
}

Enemy::Enemy(TaskObject* parentTask, float durability)
    : MeshObject(parentTask, RefPtr<RenderBatch>()), durability(durability) {
    attackWeights.values.fill(1.0f);
}

Enemy::~Enemy() {
    if (joined != 0 && world != nullptr)
        world->LeaveGroup(groupLetter);
}

void Enemy::SetUpAttach(AttachKind kind, uint8_t recordAttached, const String& nodeName) {
    if (kind == AttachKind::kUnderFrameNode)
        parentIsFrameNode = 1;
    if (kind == AttachKind::kFree || recordAttached == 0)
        return;
    attachOwner = FindActivityOwner(static_cast<TaskObject*>(parent));
    if (attachOwner == nullptr) {
        // Following a node that has no window would read a class it is not.
        LOG_WARN("stage", "\"%s\" is attached to a node without an activity window; it keeps its own",
                 nodeName.Text());
        return;
    }
    attached = 1;
}

bool Enemy::IsInActiveWindow() {
    if (attachOwner != nullptr)
        return attachOwner->IsInActiveWindow();
    if (keySpanStart == keySpanEnd)
        return true;
    const float t = GetMotionTime();
    return keySpanStart <= t && t <= keySpanEnd;
}

bool Enemy::IsPastActiveWindow() {
    // A node without keys is active for the whole stage: it has no end to pass.
    if (attached || keySpanStart == keySpanEnd)
        return false;
    return GetMotionTime() > keySpanEnd;
}

bool Enemy::IsAlive() {
    if (IsPastActiveWindow())
        pastWindow = 1;
    const bool inWindow = IsInActiveWindow();
    if (inWindow && activated == 0) {
        activated = 1;
        if (world != nullptr) {
            joined = world->JoinGroup(groupLetter, groupNumber) ? 1 : 0;
            // Another wave of the letter still lives: this one never shows.
            if (joined == 0) {
                if (WorldEventLog* log = world->GetEventLog())
                    log->RecordFormat("EnemyRefused", "%s %d %d", name.Text(), groupLetter, groupNumber);
                return false;
            }
        }
    }
    if (externallyControlled == 0)
        active = inWindow ? 1 : 0;
    const bool shown = inWindow && heldHidden == 0;
    nodeDrawSelf = (shown && visible != 0) ? 1 : 0;
    nodeChildren = shown ? 1 : 0;
    SetUpdateSelf(shown);
    SetDrawSelf(shown);
    if (durability > 0.0f)
        return true;
    return --lingerFrames > 0;
}

void Enemy::Update() {
    if (!attached)
        targetableThisStep = 0;
    MeshObject::Update();
}

void Enemy::MarkTargetable() {
    if (attachOwner != nullptr)
        attachOwner->MarkTargetable();
    else
        targetableThisStep = 1;
}

bool Enemy::IsTargetableThisStep() {
    if (attachOwner != nullptr)
        return attachOwner->IsTargetableThisStep();
    return targetableThisStep != 0;
}

bool Enemy::RegisterHitSphere(const Vec3& centre, float radius) {
    if (hittable == 0)
        return false;
    const int32_t frame = GetStepCount();
    if (appeared == 0 && radius > 0.0f && frame > 2) {
        appeared = 1;
        if (subPart == 0 && world != nullptr)
            world->CountAppearedEnemy();
    }
    if (radius > 0.0f) {
        everRegistered = 1;
        MarkTargetable();
    }
    if (frame != lastRegistrationFrame) {
        ++registrationFrames;
        lastRegistrationFrame = frame;
    }
    if (world == nullptr)
        return radius <= 0.0f;
    return world->HitLists().RegisterTarget(this, centre, radius);
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
    if (durability != 0.0f)
        return;
    if (world != nullptr && world->GetEventLog() != nullptr)
        world->GetEventLog()->RecordFormat("EnemyKilled", "%s %u", name.Text(), playerMask);
    PayKill(playerMask);
    OnDestroyed();
    if (subPart == 0 && world != nullptr)
        world->CountKill(playerMask);
}

int32_t Enemy::KillScore(float screenDistance, float* value) {
    const float d = screenDistance * kScoreDistanceScale;
    const float v = 1000000.0f - d * d * d;
    if (value != nullptr)
        *value = v;
    // Clamped before the conversion: a far or broken projection is still a number.
    float clamped = v;
    if (!(clamped >= 1.0f))
        clamped = 1.0f;
    else if (clamped > float(kMaxKillScore))
        clamped = float(kMaxKillScore);
    int32_t score = int32_t(clamped);
    if (score > 990000)
        score = kMaxKillScore;
    else if (score < 1)
        score = 1;
    return score;
}

int32_t Enemy::KillSparks(float value) {
    if (!(value > 0.0f))
        return 0;
    return int32_t(value * 0.00002f);
}

void Enemy::PayKill(uint32_t playerMask) {
    if (world == nullptr)
        return;
    PlayerShip* player = world->GetPlayer(int32_t(playerMask));
    if (player == nullptr)
        return;
    const Vec3 playerScreen = world->ProjectToScreen(player->GetWorldPosition());
    const Vec3 position = GetWorldPosition();
    const Vec3 screenPoint = world->ProjectToScreen(position);
    const float dx = screenPoint.x - playerScreen.x;
    const float dy = screenPoint.y - playerScreen.y;
    float v = 0.0f;
    const int32_t score = KillScore(std::sqrt(dy * dy + dx * dx), &v);
    world->CreateGravitySprite(position, screenPoint, score * 10, int32_t(playerMask));
    world->AddScore(playerMask, score);
    const int32_t sparks = KillSparks(v);
    Random& random = world->GetRandom();
    for (int32_t i = 0; i < sparks; ++i) {
        const float angle = random.Range(0.0f, 6.2831855f);
        const float spread = random.Range(0.08f, 0.18f);
        const float size = random.Range(1.0f, 2.0f) + v * 0.00006666667f;
        world->SpawnSpark(position, Vec3{std::cos(angle) * spread, 0.0f, std::sin(angle) * spread}, size);
    }
}

void Enemy::DrawSelf() {
    const RefPtr<RenderBatch>& batch = DrawSet();
    if (batch) {
        batch->records.Clear();
        if (hitFlashPending != 0)
            batch->records.Add(FlashRecord());
    }
    hitFlashPending = 0;
    MeshObject::DrawSelf();
}

bool Enemy::ShowDuringBomb(bool targetable) {
    if (targetable)
        return true;
    // A boss section stays in sight once its fight has begun.
    if (subPart == 0 || !world->GetStageEntry())
        return false;
    return GetMotionTime() >= world->GetStageEntry()->bossMusicTime;
}

void Enemy::DrawTraversal() {
    if (attached || world == nullptr || !world->IsBombActive() || ShowDuringBomb(IsTargetableThisStep()))
        MeshObject::DrawTraversal();
}

void Enemy::SubmitTraversal(const RefPtr<RenderView>& view) {
    if (attached || world == nullptr || !world->IsBombActive() || ShowDuringBomb(targetableThisStep != 0))
        MeshObject::SubmitTraversal(view);
}

EnemySubPart::EnemySubPart(TaskObject* parentTask, NodeSpawnInfo& info, float durability, AttachKind kind)
    : Enemy(parentTask, info, durability, kind) {
    subPart = 1;
}

}  // namespace mareldon
