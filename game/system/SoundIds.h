#pragma once

#include <cstdint>

namespace mareldon {

// Ids of the sound-effect table that the code plays by id, named by what they sound for.
// The numbers index the table (SoundCues.cpp); they are never renumbered.
enum SoundId : int32_t {
    kSeShot = 0,
    kSeScoreChip = 1,
    kSeExplosion2 = 2,
    kSeExplosion3 = 3,
    kSeExplosion4 = 4,
    kSeExplosion5 = 5,
    kSeCoinChime = 6,
    kSeReflectLoop = 14,
    kSeReflectActivation = 15,
    kSeReflectRecovery = 16,
    kSePowerUp = 17,
    kSeFirstBomber = 37,  // 37 to 40 by ship type
    kSeShipExplosion = 41,
    kSeShipHit = 43,
    kSeBombItem = 44,
    kSeReflectedLaunch = 45,
    kSeReflectedStrike = 46,
    kSeLargeScoreItem = 47,
    kSeBulletHit = 49,
    kSeEarlyBulletHit = 50,
    kSeReflectCharged = 51,
};

}  // namespace mareldon
