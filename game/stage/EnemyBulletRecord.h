#pragma once

#include <cstdint>

#include "engine/core/Math.h"

namespace mareldon {

class BulletWorld;

// An enemy bullet: a plain pooled record, moved, tested and drawn in batches by the
// world screen. Position and velocity are in the frame of the stage scene's root,
// with y 0; the corners are the sprite's offsets in pixels, already rotated.
struct EnemyBulletRecord {
    BulletWorld* owner;
    EnemyBulletRecord* next;
    Vec3 position;
    Vec3 velocity;
    float uMin, vMin;
    float uMax, vMax;
    Vec3 corners[4];
    int32_t age;

    Vec3 GetWorldPosition() const;
};

// A bullet a player turned back. It holds still until age 14, then flies with ages
// 14 and 15 alternating (the last two frames of its animation).
struct ReflectedBulletRecord {
    BulletWorld* owner;
    uint32_t ownerMask;
    ReflectedBulletRecord* next;
    Vec3 position;
    Vec3 velocity;
    Vec3 corners[4];
    int32_t age;

    Vec3 GetWorldPosition() const;
};

}  // namespace mareldon
