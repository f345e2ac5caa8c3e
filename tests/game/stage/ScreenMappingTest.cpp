#include "game/stage/ScreenMapping.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/game/stage/StageTestWorld.h"

namespace mareldon {
namespace {

TEST(ScreenMappingTest, MapsThePlayPlaneToPortraitPixels) {
    ScreenMapping mapping;
    SetupTestCamera(mapping);
    struct Case {
        Vec3 world;
        float x, y;
    };
    const Case cases[] = {
        {{0.0f, 0.0f, 0.0f}, 240.0f, 320.0f}, {{1.0f, 0.0f, 0.0f}, 250.0f, 320.0f},  // +x to the right
        {{0.0f, 0.0f, 1.0f}, 240.0f, 310.0f},                                        // +z up
        {{-24.0f, 3.0f, 32.0f}, 0.0f, 0.0f},  {{24.0f, 0.0f, -32.0f}, 480.0f, 640.0f},
    };
    for (const Case& c : cases) {
        Vec3 screen = mapping.ProjectToScreen(c.world);
        EXPECT_NEAR(screen.x, c.x, 1e-3f);
        EXPECT_NEAR(screen.y, c.y, 1e-3f);
    }
    EXPECT_NEAR(mapping.ProjectRadius({5.0f, 0.0f, 5.0f}, 1.5f), 15.0f, 1e-4f);
}

TEST(ScreenMappingTest, PerspectiveRadiusShrinksWithDepth) {
    ScreenMapping mapping;
    SetupTestCamera(mapping, 0.5235988f);
    float k = 1.0f / std::tan(0.5235988f / 2.0f);
    // r P(0,0) / w W/2, w the distance below the eye.
    EXPECT_NEAR(mapping.ProjectRadius({0.0f, 0.0f, 0.0f}, 1.0f), k / 25.0f * 240.0f, 1e-3f);
    EXPECT_NEAR(mapping.ProjectRadius({2.0f, 15.0f, 0.0f}, 1.0f), k / 10.0f * 240.0f, 1e-3f);
}

TEST(ScreenMappingTest, OnScreenWithinTheMargin) {
    ScreenMapping mapping;
    SetupTestCamera(mapping);
    EXPECT_TRUE(mapping.IsOnScreen(PlanePoint(-4.0f, 100.0f), 4.0f));
    EXPECT_FALSE(mapping.IsOnScreen(PlanePoint(-5.0f, 100.0f), 4.0f));
    EXPECT_TRUE(mapping.IsOnScreen(PlanePoint(480.0f, 640.0f), 0.0f));
    EXPECT_FALSE(mapping.IsOnScreen(PlanePoint(100.0f, 641.0f), 0.0f));
    EXPECT_FALSE(mapping.IsOnScreen(PlanePoint(484.5f, 100.0f), 4.0f));
}

TEST(ScreenMappingTest, ProjectiveTextureMatrixMapsTheViewToTheUnitSquare) {
    Matrix4 view = MatrixLookAt(kTestEye, {0.0f, -1.0f, 0.0f}, {0.0f, 0.0f, 1.0f});
    Matrix4 projection = MatrixPerspectiveFov(1.0f, 100.0f, 0.0f, 1.0f / 24.0f, 1.0f / 32.0f);
    Matrix4 texture = ComputeProjectiveTextureMatrix(view, projection);
    Vec3 centre = Vec3TransformCoord({0.0f, 0.0f, 0.0f}, texture);
    Vec3 topLeft = Vec3TransformCoord({-24.0f, 0.0f, 32.0f}, texture);
    EXPECT_NEAR(centre.x, 0.5f, 1e-6f);
    EXPECT_NEAR(centre.y, 0.5f, 1e-6f);
    EXPECT_NEAR(topLeft.x, 0.0f, 1e-6f);
    EXPECT_NEAR(topLeft.y, 0.0f, 1e-6f);
}

}  // namespace
}  // namespace mareldon
