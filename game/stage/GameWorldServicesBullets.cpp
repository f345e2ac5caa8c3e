#include <algorithm>

#include "engine/render/scene/CameraNode.h"
#include "game/render/ScreenDrawers.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

constexpr float kChipU = 0.625f;
constexpr float kChipCell = 0.03125f;  // 1/32
constexpr float kChipCorner = 16.0f;
constexpr float kChipFallLimit = -0.06f;
constexpr float kChipFallStep = 0.003f;
constexpr float kChipRise = 1.3f;
constexpr float kOffScreenMargin = 16.0f;

// Next as unsigned x 2^-32.
float Unit(Random& random) {
    return float(random.Next()) * 2.3283064e-10f;
}

}  // namespace

// The bullets' view of the screen.

Vec3 GameWorldScreen::BulletPort::GetCameraEye() {
    return screen.sceneCamera != nullptr ? screen.sceneCamera->GetWorldPosition() : Vec3{0.0f, 0.0f, 0.0f};
}

const Matrix4& GameWorldScreen::BulletPort::GetSceneRootWorldMatrix() {
    return screen.ShipParent()->GetWorldMatrix();
}

const Matrix4& GameWorldScreen::BulletPort::GetSceneRootInverseWorldMatrix() {
    return screen.ShipParent()->GetInverseWorldMatrix();
}

const Matrix4& GameWorldScreen::BulletPort::GetItemParentInverseWorldMatrix() {
    if (screen.itemParent != nullptr)
        return screen.itemParent->GetInverseWorldMatrix();
    return GetSceneRootInverseWorldMatrix();
}

void GameWorldScreen::BulletPort::SpawnEffect(const char* name, const Vec3& position) {
    screen.PlaceEffect(position, Vec3{0.0f, 0.0f, 0.0f}, name, Vec3{1.0f, 1.0f, 1.0f});
}

void GameWorldScreen::BulletSink::AddTriangle(float, const BulletVertex& a, const BulletVertex& b,
                                              const BulletVertex& c) {
    if (drawer == nullptr)
        return;
    const float uvA[2] = {a.u, a.v};
    const float uvB[2] = {b.u, b.v};
    const float uvC[2] = {c.u, c.v};
    drawer->DrawTriangle(Vec3{a.x, a.y, a.z}, uvA, Vec3{b.x, b.y, b.z}, uvB, Vec3{c.x, c.y, c.z}, uvC);
}

// Enemy and reflected bullets.

EnemyBulletRecord* GameWorldScreen::FireEnemyBullet(const Vec3& position, const Vec3& velocity,
                                                    int32_t spriteIndex, float size) {
    if (enemyShotProbe != nullptr)
        enemyShotProbe(enemyShotContext, position, velocity, spriteIndex, size);
    return bullets.FireEnemyBullet(position, velocity, spriteIndex, size);
}

ReflectedBulletRecord* GameWorldScreen::FireReflectedBullet(const Vec3& position, const Vec3& velocity,
                                                            uint32_t playerMask) {
    return bullets.FireReflectedBullet(position, velocity, playerMask);
}

void GameWorldScreen::UpdateEnemyBullets() {
    bullets.UpdateEnemyBullets();
}

void GameWorldScreen::UpdateReflectedBullets() {
    bullets.UpdateReflectedBullets();
}

void GameWorldScreen::CancelAllEnemyBullets() {
    if (bullets.GetEnemyBulletCount() > 0)
        bullets.CancelAllEnemyBullets();
}

void GameWorldScreen::DrawEnemyBullets() {
    bulletSink.drawer = gameDrawer.Get();
    if (bulletSink.drawer != nullptr)
        bullets.DrawEnemyBullets(bulletSink);
}

void GameWorldScreen::DrawReflectedBullets() {
    bulletSink.drawer = reflectedDrawer.Get();
    if (bulletSink.drawer != nullptr)
        bullets.DrawReflectedBullets(bulletSink);
}

// Items, chips and sparks.

ScoreChipRecord* GameWorldScreen::SpawnScoreChip(const Vec3& position, const Vec3&, int32_t row,
                                                 int32_t value, int32_t soundId) {
    ScoreChipRecord* chip = chipPool.Take();
    *chip = ScoreChipRecord{};
    chip->owner = &bulletPort;
    chip->value = value;
    chip->position = ToStageCameraSpace(position);
    const float vx = Unit(random) * 0.014f - 0.007f;
    const float vz = Unit(random) * 0.04f + 0.03f;
    chip->velocity = Vec3{vx, 0.0f, vz};
    chip->uMin = kChipU;
    chip->vMin = float(row) * kChipCell;
    chip->uMax = kChipU + kChipCell;
    chip->vMax = chip->vMin + kChipCell;
    chip->corners[0] = Vec3{-kChipCorner, -kChipCorner, 0.0f};
    chip->corners[1] = Vec3{kChipCorner, -kChipCorner, 0.0f};
    chip->corners[2] = Vec3{-kChipCorner, kChipCorner, 0.0f};
    chip->corners[3] = Vec3{kChipCorner, kChipCorner, 0.0f};
    chip->soundId = soundId;
    chip->next = chipHead.next;
    chipHead.next = chip;
    ++chipCount;
    Note("SpawnScoreChip", "%d %d %d", row, value, soundId);
    return chip;
}

void GameWorldScreen::UpdateScoreChips() {
    const Matrix4& sceneRoot = ShipParent()->GetWorldMatrix();
    ScoreChipRecord* previous = &chipHead;
    for (ScoreChipRecord* chip = previous->next; chip != &chipHead;) {
        ScoreChipRecord* next = chip->next;
        chip->position.x += chip->velocity.x;
        chip->position.y += chip->velocity.y;
        chip->position.z += chip->velocity.z * kChipRise;
        if (chip->velocity.z > kChipFallLimit)
            chip->velocity.z -= kChipFallStep;
        ++chip->age;
        const Vec3 world = Vec3TransformCoord(chip->position, sceneRoot);
        const Vec3 screenPoint = mapping.ProjectToScreen(world);
        // A ship takes its chip before the chip can fall out of the bottom.
        bool gone = false;
        if (PlayerShip* ship = hitLists.FindPickupPlayer(world)) {
            Note("PickUpScoreChip", "%d %d", chip->value, chip->age);
            CollectPickup(ship->GetPlayerMask(), chip->value, chip->age, world, chip->soundId);
            gone = true;
        } else {
            gone = screenPoint.y > mapping.GetHeight() + kOffScreenMargin;
        }
        if (gone) {
            previous->next = next;
            chipPool.Return(chip);
            --chipCount;
        } else {
            previous = chip;
        }
        chip = next;
    }
}

void GameWorldScreen::DrawScoreChips() {
    bulletSink.drawer = gameDrawer.Get();
    if (bulletSink.drawer == nullptr)
        return;
    const Matrix4& sceneRoot = ShipParent()->GetWorldMatrix();
    for (ScoreChipRecord* chip = chipHead.next; chip != &chipHead; chip = chip->next) {
        const Vec3 screenPoint = mapping.ProjectToScreen(Vec3TransformCoord(chip->position, sceneRoot));
        // Eight frames, one every four steps.
        const float shift = float((chip->age >> 2) & 7) * kChipCell;
        AddQuad(bulletSink, screenPoint, chip->corners, chip->uMin + shift, chip->vMin, chip->uMax + shift,
                chip->vMax);
    }
}

SparkRecord* GameWorldScreen::SpawnSpark(const Vec3& position, const Vec3& velocity, float size) {
    SparkRecord* spark = sparkPool.Take();
    *spark = SparkRecord{};
    spark->owner = &bulletPort;
    spark->position = ToStageCameraSpace(position);
    spark->velocity = velocity;
    spark->size = size;
    spark->next = sparkHead.next;
    sparkHead.next = spark;
    ++sparkCount;
    Note("SpawnSpark", "%g", double(size));
    return spark;
}

void GameWorldScreen::UpdateSparks() {
    const Matrix4& sceneRoot = ShipParent()->GetWorldMatrix();
    SparkRecord* previous = &sparkHead;
    for (SparkRecord* spark = previous->next; spark != &sparkHead;) {
        SparkRecord* next = spark->next;
        spark->position.x += spark->velocity.x;
        spark->position.y += spark->velocity.y;
        spark->position.z += spark->velocity.z;
        ++spark->age;
        spark->size -= 0.07f;
        if (spark->size > 4.0f)
            spark->size *= 0.9f;
        const Vec3 world = Vec3TransformCoord(spark->position, sceneRoot);
        if (spark->size < 0.5f || !mapping.IsOnScreen(world, kOffScreenMargin)) {
            previous->next = next;
            sparkPool.Return(spark);
            --sparkCount;
        } else {
            previous = spark;
        }
        spark = next;
    }
}

void GameWorldScreen::DrawSparks() {
    ColoredScreenDrawer* drawer = addColorDrawer.Get();
    if (drawer == nullptr)
        return;
    const Matrix4& sceneRoot = ShipParent()->GetWorldMatrix();
    for (SparkRecord* spark = sparkHead.next; spark != &sparkHead; spark = spark->next) {
        const Vec3 screenPoint = mapping.ProjectToScreen(Vec3TransformCoord(spark->position, sceneRoot));
        const float age = float(spark->age);
        const ScreenColor colour{1.0f, std::max(0.0f, 1.0f - 0.02f * age), std::max(0.0f, 1.0f - 0.03f * age),
                                 std::max(0.0f, 1.0f - 0.01f * age)};
        drawer->DrawFilledCircle(screenPoint, spark->size * 0.5f + 3.0f, spark->size, colour, 0.0f);
    }
}

}  // namespace mareldon
