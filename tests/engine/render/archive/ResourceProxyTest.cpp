#include "engine/render/archive/ResourceProxy.h"

#include <gtest/gtest.h>

#include "engine/render/device/GraphicsDevice.h"
#include "tests/engine/render/device/DeviceFixture.h"

namespace mareldon {
namespace {

TEST(ResourceProxyTest, ForwardsToTheScreenTexture) {
    DeviceFixture gpu;
    GraphicsDevice& device = gpu.Make(1, 3);
    ResourceProxy screen(device.ScreenTexture());
    EXPECT_EQ(screen.Width(), 480);
    EXPECT_EQ(screen.Height(), 640);
    EXPECT_EQ(screen.DeviceTexture(), device.ScreenTexture().Get());
    EXPECT_EQ(screen.ScreenTransform(), device.ScreenTexture()->ScreenTransform());
}

TEST(ResourceProxyTest, EmptyFrontAnswersZeroAndDoesNothing) {
    DeviceFixture gpu;
    RefPtr<GraphicsDevice> device(&gpu.Make(), [](GraphicsDevice*) {});
    const uint8_t garbage[] = {1, 2, 3, 4, 5};
    ResourceProxy proxy(device, kTextureSampled, garbage, sizeof garbage);
    EXPECT_FALSE(proxy.Inner());
    EXPECT_EQ(proxy.Width(), 0);
    EXPECT_EQ(proxy.Height(), 0);
    EXPECT_EQ(proxy.DeviceTexture(), nullptr);
    proxy.DrawGeometry(RefPtr<GeometryBuffer>());
    proxy.Clear(ClearRecord{});
    proxy.ClearAll(ClearRecord{});
    proxy.SetViewport(TextureViewport{});
    EXPECT_EQ(proxy.GetViewport()->width, 0);
    EXPECT_FALSE(proxy.Attachment());

    RefPtr<ResourceProxy> made(ResourceProxy::CreateTexture(device, kTextureSampled, 64, 32));
    EXPECT_EQ(made->Width(), 64);
    EXPECT_EQ(made->Height(), 32);
}

}  // namespace
}  // namespace mareldon
