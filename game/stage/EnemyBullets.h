#pragma once

#include <cstdint>

#include "engine/core/Math.h"
#include "engine/core/Random.h"
#include "game/stage/EnemyBulletRecord.h"
#include "game/stage/RecordPool.h"

namespace mareldon {

class ScreenMapping;
class WorldEventLog;
class WorldHitLists;

// What the bullets need of the world screen that owns them.
class BulletWorld {
  public:
    virtual float GetTimeLeft() = 0;
    virtual bool IsCleared() = 0;
    virtual bool IsBombActive() = 0;
    // Either player has a ship.
    virtual bool HasAnyShip() = 0;
    // The stage camera's eye, world space.
    virtual Vec3 GetCameraEye() = 0;
    // The stage scene's root, whose frame the records live in.
    virtual const Matrix4& GetSceneRootWorldMatrix() = 0;
    virtual const Matrix4& GetSceneRootInverseWorldMatrix() = 0;
    // The parent of items, hanging untransformed under the scene root.
    virtual const Matrix4& GetItemParentInverseWorldMatrix() = 0;
    // A one-shot effect model under the effect parent, at a scene-root position.
    virtual void SpawnEffect(const char* name, const Vec3& position) = 0;
    virtual void SpawnItem(const Vec3& worldPosition, const Vec3& velocity, const char* name) = 0;
    virtual void SpawnSpark(const Vec3& worldPosition, const Vec3& velocity, float size) = 0;
    virtual void PlaySe(int32_t id) = 0;
    virtual void AddScore(uint32_t playerMask, int64_t value) = 0;
    virtual Random& GetRandom() = 0;
    // Null in the game.
    virtual WorldEventLog* GetEventLog() = 0;

  protected:
    ~BulletWorld() = default;
};

// One corner of a bullet sprite as it goes to the screen's 2D batch: pixels and sheet
// texture coordinates.
struct BulletVertex {
    float x, y, z;
    float u, v;
};

// Where the bullet quads go: the world screen hands them to its drawer with the
// "game" sheet (enemy bullets) or the "hansyadan" sheet (reflected bullets). The sort
// key is the largest z of the three vertices.
class BulletTriangleSink {
  public:
    virtual void AddTriangle(float sortKey, const BulletVertex& a, const BulletVertex& b,
                             const BulletVertex& c) = 0;

  protected:
    ~BulletTriangleSink() = default;
};

// A sprite quad about a screen point, as two triangles: corners in pixels, texture
// rectangle (u0, v0)-(u1, v1).
void AddQuad(BulletTriangleSink& sink, const Vec3& screen, const Vec3 (&corners)[4], float u0, float v0,
             float u1, float v1);

// The enemy bullets and reflected bullets of one stage: pooled records in two
// newest-first lists, moved, culled, registered for collision and drawn in one pass
// each. No step allocates once the pools and hit lists have grown.
class EnemyBullets {
  public:
    static constexpr float kFireMargin = 4.0f;
    static constexpr float kCullMargin = 96.0f;
    static constexpr float kReflectedCullMargin = 16.0f;
    static constexpr float kFireMinTimeLeft = 0.5f;
    static constexpr int32_t kSeReflect = 45;
    static constexpr int32_t kSeReflectStrike = 46;

    EnemyBullets(BulletWorld& world, const ScreenMapping& mapping, WorldHitLists& hitLists);
    EnemyBullets(const EnemyBullets&) = delete;
    EnemyBullets& operator=(const EnemyBullets&) = delete;

    // Null when refused; every refusal goes to the event log with its reason.
    EnemyBulletRecord* FireEnemyBullet(const Vec3& position, const Vec3& velocity, int32_t spriteIndex,
                                       float size);
    // Moves every bullet, drops the stopped and the far off-screen ones and registers
    // the rest in the enemy-bullet hit list.
    void UpdateEnemyBullets();
    // Every live bullet becomes a "BONUS_SS" item.
    void CancelAllEnemyBullets();
    void DrawEnemyBullets(BulletTriangleSink& sink) const;

    ReflectedBulletRecord* FireReflectedBullet(const Vec3& position, const Vec3& velocity,
                                               uint32_t playerMask);
    void UpdateReflectedBullets();
    void DrawReflectedBullets(BulletTriangleSink& sink) const;

    int32_t GetEnemyBulletCount() const { return enemyCount; }
    int32_t GetReflectedBulletCount() const { return reflectedCount; }
    // Newest first; null after the last.
    EnemyBulletRecord* FirstEnemyBullet() const {
        return enemyHead.next == &enemyHead ? nullptr : enemyHead.next;
    }
    EnemyBulletRecord* NextEnemyBullet(const EnemyBulletRecord* record) const {
        return record->next == &enemyHead ? nullptr : record->next;
    }
    ReflectedBulletRecord* FirstReflectedBullet() const {
        return reflectedHead.next == &reflectedHead ? nullptr : reflectedHead.next;
    }
    const RecordPool<EnemyBulletRecord>& EnemyPool() const { return enemyPool; }

  private:
    void Refuse(const char* operation, const char* reason);

    BulletWorld& world;
    const ScreenMapping& mapping;
    WorldHitLists& hitLists;
    RecordPool<EnemyBulletRecord> enemyPool;
    RecordPool<ReflectedBulletRecord> reflectedPool;
    // Sentinels of the two circular lists.
    EnemyBulletRecord enemyHead{};
    ReflectedBulletRecord reflectedHead{};
    int32_t enemyCount = 0;
    int32_t reflectedCount = 0;
};

}  // namespace mareldon
