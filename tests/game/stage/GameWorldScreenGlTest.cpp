// The world screen's bullets drawn through its 2D draw set on the OpenGL backend
// (offscreen through Mesa), found by their pixels.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/draw/Renderer.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/StraightShot.h"
#include "game/system/GameSystem.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tests/game/render/GlDrawTest.h"
#include "tools/archive/ArchiveFixtures.h"

namespace mareldon {
namespace {

class GameWorldScreenGlTest : public GlDrawTest {
  protected:
    void TearDown() override {
        root.DeleteChildren();
        root.renderer.Reset();
        root.screenTarget.Reset();
        root.graphicsDevice.Reset();
        root.fileSystem.Reset();
        GlDrawTest::TearDown();
    }

    TaskObject root{nullptr, 0};
};

// An enemy bullet fired at the origin sits in the middle of the portrait play area:
// the placeholder sheet's row 0 disc, its white core on the centre pixel, nothing of
// it far away.
TEST_F(GameWorldScreenGlTest, AnEnemyBulletIsDrawnWhereTheStageCameraSeesIt) {
    sdlWindow = SDL_CreateWindow("world", 0, 0, 480, 640, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(sdlWindow, nullptr) << SDL_GetError();
    window = std::make_unique<SdlDeviceWindow>(sdlWindow);
    device = std::make_unique<GraphicsDeviceDX>(&backend, window.get(), 1, 8, 480, 640, 0);
    ASSERT_NE(device->Device(), nullptr);

    auto* files = new MemoryFileSystem();
    files->files["MARELDON.mbd"] = MakeBootArchive();
    root.fileSystem = RefPtr<FileSystem>(files);
    root.graphicsDevice = DeviceHandle();
    root.renderer.Reset(new Renderer(root.fileSystem, root.graphicsDevice, RefPtr<SoundBox>()));
    ASSERT_TRUE(root.renderer->LoadArchive("MARELDON.mbd"));
    root.renderer->BuildModels(*device);
    root.screenTarget.Reset(new ResourceProxy(device->ScreenTexture()));
    root.frameRate = 60.0f;
    root.framePeriod = 1.0f / 60.0f;

    auto* system = new GameSystem(&root);
    system->GetPlayer(1).shipStock = 3;
    auto* screen = new GameWorldScreen(system, "", "", 4, 0, 6, 0, 1);
    // Update passes only: the scene flow, which runs in the sweep, is not under test.
    for (int i = 0; i < 3; ++i)
        root.Update();
    ASSERT_NE(screen->ships[0], nullptr);
    // The stage's scenery lies under the bullet: the same frame without it tells the
    // disc from the ground.
    root.Draw();
    const std::vector<uint32_t> before = ReadBack();
    ASSERT_EQ(before.size(), size_t(480 * 640));
    ASSERT_NE(screen->FireEnemyBullet({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -0.001f}, 0, 1.0f), nullptr);
    root.Draw();

    const std::vector<uint32_t> pixels = ReadBack();
    ASSERT_EQ(pixels.size(), size_t(480 * 640));
    auto at = [&](int x, int y) { return pixels[size_t(y * 480 + x)] & 0xFFFFFFu; };
    auto under = [&](int x, int y) { return before[size_t(y * 480 + x)] & 0xFFFFFFu; };
    EXPECT_EQ(at(240, 320), 0xFFFFFFu) << "the disc's white core";
    auto differs = [](uint32_t a, uint32_t b) {
        for (int shift = 0; shift < 24; shift += 8) {
            if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 8)
                return true;
        }
        return false;
    };
    int lit = 0;
    for (int y = 300; y < 340; ++y) {
        for (int x = 220; x < 260; ++x)
            lit += differs(at(x, y), under(x, y)) ? 1 : 0;
    }
    // A disc of radius 11 texels drawn 24 pixels across: roughly 300 pixels.
    EXPECT_GT(lit, 200);
    EXPECT_LT(lit, 576);
    EXPECT_EQ(at(240, 200), under(240, 200));
    EXPECT_EQ(at(100, 320), under(100, 320));
}

// A player shot shows its cell of the sheet's player-shot rows once, centred where the
// stage camera sees it; a shot of a level no gun gives shows nothing.
TEST_F(GameWorldScreenGlTest, APlayerShotIsDrawnAsItsSheetCell) {
    sdlWindow = SDL_CreateWindow("world", 0, 0, 480, 640, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(sdlWindow, nullptr) << SDL_GetError();
    window = std::make_unique<SdlDeviceWindow>(sdlWindow);
    device = std::make_unique<GraphicsDeviceDX>(&backend, window.get(), 1, 8, 480, 640, 0);
    ASSERT_NE(device->Device(), nullptr);

    auto* files = new MemoryFileSystem();
    files->files["MARELDON.mbd"] = MakeBootArchive();
    root.fileSystem = RefPtr<FileSystem>(files);
    root.graphicsDevice = DeviceHandle();
    root.renderer.Reset(new Renderer(root.fileSystem, root.graphicsDevice, RefPtr<SoundBox>()));
    ASSERT_TRUE(root.renderer->LoadArchive("MARELDON.mbd"));
    root.renderer->BuildModels(*device);
    root.screenTarget.Reset(new ResourceProxy(device->ScreenTexture()));
    root.frameRate = 60.0f;
    root.framePeriod = 1.0f / 60.0f;

    auto* system = new GameSystem(&root);
    auto* screen = new GameWorldScreen(system, "", "", 4, 0, 6, 0, 1);
    for (int i = 0; i < 3; ++i)
        root.Update();
    root.Draw();
    const std::vector<uint32_t> before = ReadBack();

    new StraightShot(StraightShotKind::Ship0Main, screen->playerShotParent, {0.0f, 0.0f, 0.0f},
                     {0.0f, 0.0f, 0.3f}, screen, 1, 0, 0, AttackVector{});
    new StraightShot(StraightShotKind::Ship0Main, screen->playerShotParent, {2.0f, 0.0f, 0.0f},
                     {0.0f, 0.0f, 0.3f}, screen, 1, 0, 9, AttackVector{});
    root.Draw();
    const std::vector<uint32_t> pixels = ReadBack();
    ASSERT_EQ(pixels.size(), size_t(480 * 640));
    auto at = [&](const std::vector<uint32_t>& image, int x, int y) {
        return image[size_t(y * 480 + x)] & 0xFFFFFFu;
    };
    EXPECT_EQ(at(pixels, 240, 320), 0xFFFFFFu) << "the disc's white core";
    int lit = 0, elsewhere = 0;
    for (int y = 0; y < 640; ++y) {
        for (int x = 0; x < 480; ++x) {
            if (at(pixels, x, y) == at(before, x, y))
                continue;
            if (std::abs(x - 240) < 20 && std::abs(y - 320) < 20)
                ++lit;
            else
                ++elsewhere;
        }
    }
    // A disc of radius 18 texels of a 61-texel cell drawn 32 pixels across.
    EXPECT_GT(lit, 100);
    EXPECT_LT(lit, 1024);
    EXPECT_EQ(elsewhere, 0);
}

}  // namespace
}  // namespace mareldon
