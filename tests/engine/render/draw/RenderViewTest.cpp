#include "engine/render/draw/RenderView.h"

#include <cmath>

#include <gtest/gtest.h>

#include "tests/engine/render/device/FakeTarget.h"

namespace mareldon {
namespace {

RefPtr<RenderView> MakeView(const RefPtr<TextureBase>& target,
                            const TextureViewport& viewport = TextureViewport{0, 0, 0, 0, 0.0f, 0.0f}) {
    return RefPtr<RenderView>(new RenderView(RefPtr<Renderer>(), target, RenderView::DefaultClear(),
                                             RefPtr<ShaderGenBase>(), viewport));
}

TEST(RenderViewTest, ZeroViewportCoversTheTargetAndDefaultsClearNothing) {
    RefPtr<TextureBase> target(new FakeTarget(640, 480));
    RefPtr<RenderView> view = MakeView(target);
    EXPECT_EQ(view->viewport.x, 0);
    EXPECT_EQ(view->viewport.y, 0);
    EXPECT_EQ(view->viewport.width, 640);
    EXPECT_EQ(view->viewport.height, 480);
    EXPECT_EQ(view->viewport.minZ, 0.0f);
    EXPECT_EQ(view->viewport.maxZ, 1.0f);
    RefPtr<RenderView> part = MakeView(target, TextureViewport{10, 20, 100, 50, 0.0f, 0.5f});
    EXPECT_EQ(part->viewport.width, 100);
    EXPECT_EQ(part->viewport.maxZ, 0.5f);
    EXPECT_EQ(view->clear.flags, 0u);
    EXPECT_EQ(view->clear.color, 0xFF000000u);
    EXPECT_EQ(view->clear.z, 1.0f);
    EXPECT_EQ(view->clear.stencil, 0u);
}

TEST(RenderViewTest, LayersAreFoundByName) {
    RefPtr<RenderView> view = MakeView(RefPtr<TextureBase>());
    RenderLayer* add = view->AddLayer("addsat", RefPtr<ShaderGenBase>());
    EXPECT_EQ(view->FindLayer("addsat"), add);
    EXPECT_EQ(view->FindLayer("shadingname"), nullptr);
}

TEST(RenderViewTest, PerspectiveProjectionAndSidePlanes) {
    auto* fake = new FakeTarget(640, 480);
    RefPtr<TextureBase> target(fake);
    RefPtr<RenderView> view = MakeView(target);
    view->SetCamera({0, 0, 0}, {0, 0, 1}, {0, 1, 0}, 1.0f, 101.0f, 1.5707964f, 1.0f, 1.0f);
    const Matrix4& p = view->projection;
    EXPECT_NEAR(p[0], 1.0f, 1e-6f);
    EXPECT_NEAR(p[5], 1.0f, 1e-6f);
    EXPECT_NEAR(p[10], 1.01f, 1e-6f);
    EXPECT_NEAR(p[11], -1.01f, 1e-6f);
    EXPECT_EQ(p[14], 1.0f);
    // tan(fov/2) = 1: the side planes lean at 45 degrees.
    const float h = std::sqrt(0.5f);
    const Vec4 expected[4] = {{-h, 0, -h, 0}, {h, 0, -h, 0}, {0, h, -h, 0}, {0, -h, -h, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(view->planes[i].x, expected[i].x, 1e-6f) << i;
        EXPECT_NEAR(view->planes[i].y, expected[i].y, 1e-6f) << i;
        EXPECT_NEAR(view->planes[i].z, expected[i].z, 1e-6f) << i;
    }
    // The target's adjustment goes in front of the projection.
    fake->transform[3] = 0.25f;
    view->SetCamera({0, 0, 0}, {0, 0, 1}, {0, 1, 0}, 1.0f, 101.0f, 1.5707964f, 1.0f, 1.0f);
    EXPECT_EQ(view->projection[2], 0.25f);
    EXPECT_EQ(view->viewProjection[2], 0.25f);
}

TEST(RenderViewTest, SphereTests) {
    RefPtr<RenderView> view = MakeView(RefPtr<TextureBase>());
    view->SetCamera({0, 0, 0}, {0, 0, 1}, {0, 1, 0}, 1.0f, 100.0f, 1.5707964f, 1.0f, 1.0f);
    struct Case {
        Vec3 centre;
        float radius;
        bool outside;
    };
    const Case cases[] = {
        {{0, 0, 0.5f}, 1.0f, false},    // behind near by less than the radius
        {{0, 0, -0.5f}, 1.0f, true},    // by more
        {{0, 0, 100.5f}, 1.0f, false},  // just past far
        {{0, 0, 102.0f}, 1.0f, true},   // further
        {{12, 0, 10}, 1.0f, true},      // right of the 45-degree plane
        {{10.5f, 0, 10}, 1.0f, false},  // across it
        {{0, -12, 10}, 1.0f, true},     // below
    };
    for (const Case& c : cases) {
        float depth = -1.0f;
        EXPECT_EQ(view->IsSphereOutside(c.centre, c.radius, {0, 0, 0}, &depth), c.outside)
            << c.centre.x << " " << c.centre.y << " " << c.centre.z;
        if (!c.outside) {
            EXPECT_FLOAT_EQ(depth, c.centre.z);
        }
    }
    float depth = 0.0f;
    EXPECT_FALSE(view->IsSphereOutside({0, 0, 10}, 1.0f, {0.5f, 2.0f, 1.0f}, &depth));
    EXPECT_FLOAT_EQ(depth, 8.0f);

    // Field of view 0: the orthographic box test, the planes are not used.
    view->SetCamera({0, 0, 0}, {0, 0, 1}, {0, 1, 0}, 1.0f, 100.0f, 0.0f, 0.5f, 0.5f);
    EXPECT_FALSE(view->IsSphereOutside({2.5f, 0, 50}, 1.0f, {0, 0, 0}, &depth));
    EXPECT_TRUE(view->IsSphereOutside({3.5f, 0, 50}, 1.0f, {0, 0, 0}, &depth));
    EXPECT_TRUE(view->IsSphereOutside({0, -3.5f, 50}, 1.0f, {0, 0, 0}, &depth));
    EXPECT_EQ(view->projection[15], 1.0f);
}

}  // namespace
}  // namespace mareldon
