#pragma once

#include <cstdint>
#include <optional>

#include "engine/core/Math.h"
#include "engine/core/Random.h"

namespace mareldon {

// The world screen's rules for choosing and holding the two ships, apart from the
// ships themselves. Players are 1 and 2; 0 stands for the dummy ship that takes the
// place of a ship when neither player has one.

inline constexpr int32_t kDummyPlayer = 0;
inline constexpr int32_t kNoPlayer = -1;
// The two ships never drift further apart in x than this.
inline constexpr float kMaxShipSpread = 7.2f;

// `request` 1 or 2: that player (even without a ship); 3: the one with a ship, the
// dummy when neither has one, and a draw of the screen's generator when both have one
// (low bit 0 player 1, 1 player 2), so aiming is reproducible from the seed. Anything
// else: no player.
int32_t ChoosePlayer(int32_t request, bool hasShip1, bool hasShip2, Random& random);

// Player 1 only when strictly nearer: a tie goes to player 2.
int32_t ChooseNearestPlayer(const std::optional<Vec3>& ship1, const std::optional<Vec3>& ship2,
                            const Vec3& point);

// Whether `player`'s ship may move toward -x / +x, given both ships' x (none when the
// ship is missing: then nothing holds it back).
bool CanMoveNegativeX(int32_t player, const std::optional<float>& x1, const std::optional<float>& x2);
bool CanMovePositiveX(int32_t player, const std::optional<float>& x1, const std::optional<float>& x2);

}  // namespace mareldon
