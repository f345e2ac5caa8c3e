#include "game/stage/PlayerShotSprite.h"

#include <algorithm>
#include <cmath>

#include "engine/render/scene/CameraNode.h"
#include "game/render/ScreenDrawers.h"
#include "game/stage/GameWorldScreen.h"

namespace mareldon {

bool PlayerShotCellUv(int32_t cell, float (&uv)[4]) {
    if (cell < 0 || cell >= kPlayerShotCells)
        return false;
    uv[0] = kPlayerShotU0 + kPlayerShotPitch * float(cell % kPlayerShotCellsPerRow);
    uv[1] = kPlayerShotV0 + kPlayerShotPitch * float(cell / kPlayerShotCellsPerRow);
    uv[2] = uv[0] + kPlayerShotWidth;
    uv[3] = uv[1] + kPlayerShotHeight;
    return true;
}

bool GameWorldScreen::IsShotSpriteView(const RenderView* view) const {
    return view != nullptr && effectCamera != nullptr && effectCamera->views.Count() > 0 &&
           effectCamera->views[0].Get() == view;
}

void GameWorldScreen::DrawPlayerBulletSprite(const Vec3& worldPosition, const Vec3& direction, int32_t cell) {
    float uv[4];
    if (!gameDrawer || !PlayerShotCellUv(cell, uv))
        return;
    const Vec3 at = ProjectToScreen(worldPosition);
    const Matrix4 turn = MatrixRotationZ(std::atan2(direction.x, direction.z));
    const float h = kPlayerShotHalfSize;
    const Vec3 offsets[4] = {{-h, -h, 0.0f}, {h, -h, 0.0f}, {-h, h, 0.0f}, {h, h, 0.0f}};
    const float us[4] = {uv[0], uv[2], uv[0], uv[2]};
    const float vs[4] = {uv[1], uv[1], uv[3], uv[3]};
    Vec3 corners[4];
    float texture[4][2];
    for (int i = 0; i < 4; ++i) {
        const Vec3 offset = Vec3TransformCoord(offsets[i], turn);
        corners[i] = Vec3{at.x + offset.x, at.y + offset.y, at.z + offset.z};
        texture[i][0] = us[i];
        texture[i][1] = vs[i];
    }
    gameDrawer->DrawTriangle(corners[0], texture[0], corners[1], texture[1], corners[2], texture[2]);
    gameDrawer->DrawTriangle(corners[1], texture[1], corners[3], texture[3], corners[2], texture[2]);
}

}  // namespace mareldon
