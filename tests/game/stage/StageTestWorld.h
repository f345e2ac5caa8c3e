#pragma once

#include <string>
#include <vector>

#include "engine/core/Math.h"
#include "engine/core/Random.h"
#include "game/stage/EnemyBullets.h"
#include "game/stage/ScreenMapping.h"
#include "game/stage/WorldEventLog.h"
#include "game/stage/WorldHitLists.h"

namespace mareldon {

// A camera 25 units above the origin looking down: world +x to screen right, +z to
// screen up. With `fov` 0 it is orthographic at 10 pixels a unit, so world (x, y, z)
// lands on pixel (240 + 10 x, 320 - 10 z).
inline const Vec3 kTestEye{0.0f, 25.0f, 0.0f};

inline void SetupTestCamera(ScreenMapping& mapping, float fov = 0.0f) {
    Matrix4 view = MatrixLookAt(kTestEye, {0.0f, -1.0f, 0.0f}, {0.0f, 0.0f, 1.0f});
    Matrix4 projection = fov == 0.0f ? MatrixPerspectiveFov(1.0f, 100.0f, 0.0f, 1.0f / 24.0f, 1.0f / 32.0f)
                                     : MatrixPerspectiveFov(1.0f, 100.0f, fov, 1.0f, 0.75f);
    mapping.SetupCamera(view, projection, 480.0f, 640.0f);
}

// The world point of a play-plane pixel under the orthographic test camera.
inline Vec3 PlanePoint(float screenX, float screenY) {
    return {(screenX - 240.0f) / 10.0f, 0.0f, (320.0f - screenY) / 10.0f};
}

// The world screen as the bullets see it, with every call it receives noted.
class TestBulletWorld : public BulletWorld {
  public:
    struct Spawn {
        std::string name;
        Vec3 position;
        Vec3 velocity;
        float size;
    };

    float GetTimeLeft() override { return timeLeft; }
    bool IsCleared() override { return cleared; }
    bool IsBombActive() override { return bomb; }
    bool HasAnyShip() override { return hasShip; }
    Vec3 GetCameraEye() override { return kTestEye; }
    const Matrix4& GetSceneRootWorldMatrix() override { return sceneRoot; }
    const Matrix4& GetSceneRootInverseWorldMatrix() override {
        Matrix4Inverse(sceneRootInverse, sceneRoot);
        return sceneRootInverse;
    }
    const Matrix4& GetItemParentInverseWorldMatrix() override { return GetSceneRootInverseWorldMatrix(); }
    void SpawnEffect(const char* name, const Vec3& position) override {
        effects.push_back({name, position, {}, 0.0f});
    }
    void SpawnItem(const Vec3& position, const Vec3& velocity, const char* name) override {
        items.push_back({name, position, velocity, 0.0f});
    }
    void SpawnSpark(const Vec3& position, const Vec3& velocity, float size) override {
        sparks.push_back({"spark", position, velocity, size});
    }
    void PlaySe(int32_t id) override { sounds.push_back(id); }
    void AddScore(uint32_t mask, int64_t value) override { scores.push_back({mask, value}); }
    Random& GetRandom() override { return random; }
    WorldEventLog* GetEventLog() override { return &log; }

    float timeLeft = 90.0f;
    bool cleared = false;
    bool bomb = false;
    bool hasShip = true;
    Matrix4 sceneRoot = Matrix4Identity();
    Matrix4 sceneRootInverse = Matrix4Identity();
    Random random;
    WorldEventLog log;
    std::vector<Spawn> effects;
    std::vector<Spawn> items;
    std::vector<Spawn> sparks;
    std::vector<int32_t> sounds;
    std::vector<std::pair<uint32_t, int64_t>> scores;
};

}  // namespace mareldon
