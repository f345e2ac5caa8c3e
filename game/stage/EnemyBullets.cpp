#include "game/stage/EnemyBullets.h"

#include <algorithm>
#include <cmath>

#include "game/stage/AttackVector.h"
#include "game/stage/ScreenMapping.h"
#include "game/stage/WorldEventLog.h"
#include "game/stage/WorldHitLists.h"

namespace mareldon {

namespace {

constexpr float kRowStep = 0.015625f;          // 1/64: one bullet row, one animation frame
constexpr float kCellSize = 0.015136719f;      // 31/2048
constexpr float kTallCellSize = 0.030761719f;  // 63/2048
constexpr float kReflectedCorner = 32.0f;
constexpr float kFullTurn = 6.2831855f;

bool IsZero(const Vec3& v) {
    return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f;
}

bool IsFinite(const Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

Vec3 Scale(const Vec3& v, float s) {
    return {v.x * s, v.y * s, v.z * s};
}

Vec3 Subtract(const Vec3& a, const Vec3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

// Rows 16-30 and 52-54 of the sheet hold the tall bullets.
bool IsDoubleHeightRow(int32_t index) {
    return (index >= 16 && index <= 30) || (index >= 52 && index <= 54);
}

// (+-a, +-b) turned about the screen's z axis so the sprite's up follows the flight.
void RotateCorners(Vec3 (&corners)[4], const Vec3& velocity, float a, float b) {
    Matrix4 turn = MatrixRotationZ(std::atan2(velocity.x, velocity.z));
    const Vec3 offsets[4] = {{-a, -b, 0.0f}, {a, -b, 0.0f}, {-a, b, 0.0f}, {a, b, 0.0f}};
    for (int i = 0; i < 4; ++i)
        corners[i] = Vec3TransformCoord(offsets[i], turn);
}

// The horizontal direction of v at v's full length. Callers have made sure v has a
// horizontal part.
Vec3 Flatten(const Vec3& v) {
    float speed = Vec3Length(v);
    return Scale(Vec3Normalize({v.x, 0.0f, v.z}), speed);
}

bool IsFarOff(const Vec3& screen, float margin, float width, float height) {
    return screen.x < -margin || screen.x > width + margin || screen.y < -margin ||
           screen.y > height + margin;
}

}  // namespace

void AddQuad(BulletTriangleSink& sink, const Vec3& screen, const Vec3 (&corners)[4], float u0, float v0,
             float u1, float v1) {
    BulletVertex quad[4];
    const float us[4] = {u0, u1, u0, u1};
    const float vs[4] = {v0, v0, v1, v1};
    for (int i = 0; i < 4; ++i)
        quad[i] = {screen.x + corners[i].x, screen.y + corners[i].y, screen.z + corners[i].z, us[i], vs[i]};
    sink.AddTriangle(std::max({quad[0].z, quad[1].z, quad[2].z}), quad[0], quad[1], quad[2]);
    sink.AddTriangle(std::max({quad[1].z, quad[3].z, quad[2].z}), quad[1], quad[3], quad[2]);
}

Vec3 EnemyBulletRecord::GetWorldPosition() const {
    return Vec3TransformCoord(position, owner->GetSceneRootWorldMatrix());
}

Vec3 ReflectedBulletRecord::GetWorldPosition() const {
    return Vec3TransformCoord(position, owner->GetSceneRootWorldMatrix());
}

EnemyBullets::EnemyBullets(BulletWorld& world, const ScreenMapping& mapping, WorldHitLists& hitLists)
    : world(world), mapping(mapping), hitLists(hitLists) {
    enemyHead.next = &enemyHead;
    reflectedHead.next = &reflectedHead;
}

void EnemyBullets::Refuse(const char* operation, const char* reason) {
    if (WorldEventLog* log = world.GetEventLog())
        log->RecordFormat(operation, "refused %s", reason);
}

EnemyBulletRecord* EnemyBullets::FireEnemyBullet(const Vec3& p, const Vec3& v, int32_t spriteIndex,
                                                 float size) {
    static constexpr const char* kOperation = "FireEnemyBullet";
    if (world.GetTimeLeft() < kFireMinTimeLeft)
        return Refuse(kOperation, "time"), nullptr;
    if (IsZero(v))
        return Refuse(kOperation, "zero velocity"), nullptr;
    if (world.IsCleared())
        return Refuse(kOperation, "clear"), nullptr;
    if (world.IsBombActive())
        return Refuse(kOperation, "bomb"), nullptr;
    if (!world.HasAnyShip())
        return Refuse(kOperation, "no ship"), nullptr;
    // NaN would pass every later test and make a bullet that is never culled.
    if (!IsFinite(p) || !IsFinite(v) || !std::isfinite(size))
        return Refuse(kOperation, "not finite"), nullptr;
    // Flattening a purely vertical velocity has no direction to keep.
    if (v.x == 0.0f && v.z == 0.0f)
        return Refuse(kOperation, "vertical velocity"), nullptr;
    if (!mapping.IsOnScreen(p, kFireMargin))
        return Refuse(kOperation, "off screen"), nullptr;

    // Slide the firing point along the line of sight onto the play plane, so the
    // bullet starts where the enemy is seen, at the apparent speed it was given.
    Vec3 eye = world.GetCameraEye();
    const Matrix4& sceneRoot = world.GetSceneRootWorldMatrix();
    float planeY = sceneRoot[7];
    if (eye.y == p.y)
        return Refuse(kOperation, "camera level"), nullptr;
    float t = (planeY - p.y) / (eye.y - p.y);
    Vec3 toEye = Subtract(eye, p);
    Vec3 q = {p.x + toEye.x * t, planeY, p.z + toEye.z * t};
    Vec3 apparent = Scale(v, Vec3Length(Subtract(eye, q)) / Vec3Length(toEye));
    Vec3 position = Vec3TransformCoord(q, world.GetItemParentInverseWorldMatrix());
    position.y = 0.0f;
    if (!IsFinite(apparent) || !IsFinite(position) || (apparent.x == 0.0f && apparent.z == 0.0f))
        return Refuse(kOperation, "not finite"), nullptr;

    world.SpawnEffect("TEKIDAN_HATSYA01", position);

    EnemyBulletRecord* record = enemyPool.Take();
    record->owner = &world;
    record->position = position;
    record->velocity = Flatten(apparent);
    record->uMin = 0.0f;
    record->vMin = float(spriteIndex) * kRowStep;
    record->uMax = record->uMin + kCellSize;
    float a = 12.0f * size;
    float b = a;
    if (IsDoubleHeightRow(spriteIndex)) {
        b = 18.0f * size;
        record->vMax = record->vMin + kTallCellSize;
    } else {
        record->vMax = record->vMin + kCellSize;
    }
    RotateCorners(record->corners, record->velocity, a, b);
    record->age = 0;
    record->next = enemyHead.next;
    enemyHead.next = record;
    ++enemyCount;
    if (WorldEventLog* log = world.GetEventLog())
        log->RecordFormat(kOperation, "%d %g %g", spriteIndex, double(position.x), double(position.z));
    return record;
}

void EnemyBullets::UpdateEnemyBullets() {
    const Matrix4& sceneRoot = world.GetSceneRootWorldMatrix();
    float width = mapping.GetWidth();
    float height = mapping.GetHeight();
    EnemyBulletRecord* previous = &enemyHead;
    EnemyBulletRecord* record = previous->next;
    while (record != &enemyHead) {
        EnemyBulletRecord* next = record->next;
        record->position.x += record->velocity.x;
        record->position.y += record->velocity.y;
        record->position.z += record->velocity.z;
        record->age += 1;
        Vec3 screen = mapping.ProjectToScreen(Vec3TransformCoord(record->position, sceneRoot));
        if (IsZero(record->velocity) || IsFarOff(screen, kCullMargin, width, height)) {
            previous->next = next;
            enemyPool.Return(record);
            --enemyCount;
        } else {
            hitLists.enemyBullets.Add(record, screen.x, screen.y, 0.0f);
            previous = record;
        }
        record = next;
    }
}

void EnemyBullets::CancelAllEnemyBullets() {
    hitLists.enemyBullets.Clear();
    if (WorldEventLog* log = world.GetEventLog())
        log->RecordFormat("CancelAllEnemyBullets", "%d", enemyCount);
    EnemyBulletRecord* record = enemyHead.next;
    // Unlinked first: an item spawned below may fire again.
    enemyHead.next = &enemyHead;
    enemyCount = 0;
    while (record != &enemyHead) {
        EnemyBulletRecord* next = record->next;
        world.SpawnItem(record->GetWorldPosition(), {0.0f, 0.0f, 0.0f}, "BONUS_SS");
        enemyPool.Return(record);
        record = next;
    }
}

void EnemyBullets::DrawEnemyBullets(BulletTriangleSink& sink) const {
    const Matrix4& sceneRoot = world.GetSceneRootWorldMatrix();
    for (const EnemyBulletRecord* record = enemyHead.next; record != &enemyHead; record = record->next) {
        Vec3 screen = mapping.ProjectToScreen(Vec3TransformCoord(record->position, sceneRoot));
        // Eight frames along the row, one every two updates.
        float shift = float((record->age >> 1) & 7) * kRowStep;
        AddQuad(sink, screen, record->corners, record->uMin + shift, record->vMin, record->uMax + shift,
                record->vMax);
    }
}

ReflectedBulletRecord* EnemyBullets::FireReflectedBullet(const Vec3& p, const Vec3& v, uint32_t playerMask) {
    static constexpr const char* kOperation = "FireReflectedBullet";
    if (IsZero(v))
        return Refuse(kOperation, "zero velocity"), nullptr;
    if (!IsFinite(p) || !IsFinite(v))
        return Refuse(kOperation, "not finite"), nullptr;
    if (v.x == 0.0f && v.z == 0.0f)
        return Refuse(kOperation, "vertical velocity"), nullptr;
    if (!mapping.IsOnScreen(p, 0.0f))
        return Refuse(kOperation, "off screen"), nullptr;

    world.PlaySe(kSeReflect);
    ReflectedBulletRecord* record = reflectedPool.Take();
    record->owner = &world;
    record->ownerMask = playerMask;
    record->position = Vec3TransformCoord(p, world.GetSceneRootInverseWorldMatrix());
    record->velocity = Flatten(v);
    RotateCorners(record->corners, record->velocity, kReflectedCorner, kReflectedCorner);
    record->age = 0;
    record->next = reflectedHead.next;
    reflectedHead.next = record;
    ++reflectedCount;
    if (WorldEventLog* log = world.GetEventLog())
        log->RecordFormat(kOperation, "%u", playerMask);
    return record;
}

void EnemyBullets::UpdateReflectedBullets() {
    const Matrix4& sceneRoot = world.GetSceneRootWorldMatrix();
    float width = mapping.GetWidth();
    float height = mapping.GetHeight();
    ReflectedBulletRecord* previous = &reflectedHead;
    ReflectedBulletRecord* record = previous->next;
    while (record != &reflectedHead) {
        ReflectedBulletRecord* next = record->next;
        if (record->age >= 14) {
            record->position.x += record->velocity.x;
            record->position.y += record->velocity.y;
            record->position.z += record->velocity.z;
        }
        record->age += 1;
        if (record->age == 16)
            record->age = 14;
        Vec3 worldPoint = Vec3TransformCoord(record->position, sceneRoot);
        Vec3 screen = mapping.ProjectToScreen(worldPoint);
        AttackTarget* target = hitLists.FindEnemyTarget(worldPoint);
        bool remove = false;
        if (target && record->age >= 5) {
            world.PlaySe(kSeReflectStrike);
            target->ApplyAttack(record->ownerMask, kReflectAttack);
            int64_t base = std::max(1, 10 - record->age);
            int64_t score = base * base * base * base;
            world.AddScore(record->ownerMask, score);
            Random& random = world.GetRandom();
            float angle = random.Range(0.0f, kFullTurn);
            float speed = random.Range(0.08f, 0.18f);
            float size = random.Range(1.0f, 4.0f) + float(score) * 0.001f;
            world.SpawnSpark(worldPoint, {std::cos(angle) * speed, 0.0f, std::sin(angle) * speed}, size);
            world.SpawnItem(worldPoint, {0.0f, 0.0f, 0.0f}, "BONUS_SR");
            remove = true;
        } else {
            remove = IsFarOff(screen, kReflectedCullMargin, width, height);
        }
        if (remove) {
            previous->next = next;
            reflectedPool.Return(record);
            --reflectedCount;
        } else {
            previous = record;
        }
        record = next;
    }
}

void EnemyBullets::DrawReflectedBullets(BulletTriangleSink& sink) const {
    const Matrix4& sceneRoot = world.GetSceneRootWorldMatrix();
    for (const ReflectedBulletRecord* record = reflectedHead.next; record != &reflectedHead;
         record = record->next) {
        Vec3 screen = mapping.ProjectToScreen(Vec3TransformCoord(record->position, sceneRoot));
        // A 4 x 4 sheet, one cell per age.
        float u = float(record->age & 3) * 0.25f;
        float v = float(record->age >> 2) * 0.25f;
        AddQuad(sink, screen, record->corners, u, v, u + 0.25f, v + 0.25f);
    }
}

}  // namespace mareldon
