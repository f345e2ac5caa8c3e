#include "engine/render/device/WindowDeviceWindow.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/platform/Window.h"
#include "engine/platform/WindowSystem.h"
#include "engine/platform/recording/HeadlessWindowBackend.h"
#include "engine/platform/recording/RecordingGpu.h"
#include "engine/render/device/GraphicsDeviceDX.h"

namespace mareldon {
namespace {

TEST(WindowDeviceWindowTest, DeviceTurnsAndWatchesTheMainWindow) {
    HeadlessWindowBackend* backend = nullptr;
    std::unique_ptr<WindowSystem> system(CreateHeadlessWindowSystem(backend));
    WindowLayout layout;
    layout.rightOffset = 480;
    layout.bottomOffset = 640;
    auto* window = new Window(system.get(), "TOPWINDOW", "MARELDON", 0, layout);  // owned by the system
    ASSERT_NE(window->native, nullptr);
    WindowDeviceWindow deviceWindow(window);  // what the device makes for itself, to look through
    EXPECT_NE(deviceWindow.NativeHandle(), nullptr);
    EXPECT_EQ(deviceWindow.ParentNativeHandle(), nullptr);

    RecordingGpu gpu;
    GraphicsDeviceDX device(&gpu, window, 1, 8, 480, 640, 3);
    int width = 0, height = 0;
    deviceWindow.GetClientSize(&width, &height);
    EXPECT_EQ(width, 640);  // turned for rotation 3
    EXPECT_EQ(height, 480);
    EXPECT_EQ(gpu.Count("CreateDevice(0, HAL, "), 1u);
    EXPECT_TRUE(device.Present());

    backend->PostClose(window->native->handle);
    system->Pump();
    EXPECT_EQ(deviceWindow.NativeHandle(), nullptr);
    EXPECT_FALSE(device.IsRunning());
    EXPECT_FALSE(device.Present());
}

}  // namespace
}  // namespace mareldon
