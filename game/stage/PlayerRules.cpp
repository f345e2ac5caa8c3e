#include "game/stage/PlayerRules.h"

namespace mareldon {

int32_t ChoosePlayer(int32_t request, bool hasShip1, bool hasShip2, Random& random) {
    if (request == 1 || request == 2)
        return request;
    if (request != 3)
        return kNoPlayer;
    if (hasShip1 && hasShip2)
        return (random.Next() & 1) ? 2 : 1;
    if (hasShip1)
        return 1;
    return hasShip2 ? 2 : kDummyPlayer;
}

int32_t ChooseNearestPlayer(const std::optional<Vec3>& ship1, const std::optional<Vec3>& ship2,
                            const Vec3& point) {
    if (ship1 && ship2) {
        float d1 = Vec3LengthSquared({ship1->x - point.x, ship1->y - point.y, ship1->z - point.z});
        float d2 = Vec3LengthSquared({ship2->x - point.x, ship2->y - point.y, ship2->z - point.z});
        return d1 < d2 ? 1 : 2;
    }
    if (ship1)
        return 1;
    return ship2 ? 2 : kDummyPlayer;
}

namespace {

// d = x1 - x2; player 1 toward -x needs d >= -7.2, toward +x d <= 7.2; player 2 the
// other way round.
bool CanMove(int32_t player, bool negative, const std::optional<float>& x1, const std::optional<float>& x2) {
    if (!x1 || !x2)
        return true;
    float d = *x1 - *x2;
    bool lowerLimit = (player == 1) == negative;
    return lowerLimit ? !(d < -kMaxShipSpread) : !(d > kMaxShipSpread);
}

}  // namespace

bool CanMoveNegativeX(int32_t player, const std::optional<float>& x1, const std::optional<float>& x2) {
    return CanMove(player, true, x1, x2);
}

bool CanMovePositiveX(int32_t player, const std::optional<float>& x1, const std::optional<float>& x2) {
    return CanMove(player, false, x1, x2);
}

}  // namespace mareldon
