// A stage of the boot archive's placeholder set played on the OpenGL backend
// (offscreen through Mesa) with the stage objects and bosses registered as the
// program registers them, for pictures of the boss fights.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/draw/Renderer.h"
#include "game/bosses/RegisterBosses.h"
#include "game/objects/RegisterStageObjects.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/WorldEventLog.h"
#include "game/system/GameSystem.h"
#include "game/system/SceneRegistry.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tests/game/render/GlDrawTest.h"
#include "tools/archive/ArchiveFixtures.h"
#include "tools/archive/ArchiveRecords.h"

namespace mareldon {

// The first node of type T in the tree under `task`, depth first.
template <typename T>
T* FindFirstNode(TaskObject& task) {
    if (auto* found = dynamic_cast<T*>(&task))
        return found;
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        if (T* found = FindFirstNode<T>(*static_cast<TaskObject*>(node)))
            return found;
    }
    return nullptr;
}

// Each channel of two 0xRRGGBB colours within `tolerance`.
inline bool NearColour(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance)
            return false;
    }
    return true;
}

class BossPictureGlTest : public GlDrawTest {
  protected:
    void SetUp() override {
        RegisterStageObjects(registry);
        RegisterBossObjects(registry);
    }
    void TearDown() override {
        root.DeleteChildren();
        root.renderer.Reset();
        root.screenTarget.Reset();
        root.graphicsDevice.Reset();
        root.fileSystem.Reset();
        current = nullptr;
        GlDrawTest::TearDown();
    }

    // The device (portrait 480x640), the boot archive and a world screen on stage
    // `entry` with player 1 in play; false (and a failure) without GL.
    bool StartStage(int32_t entry) {
        sdlWindow = SDL_CreateWindow("boss", 0, 0, 480, 640, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        EXPECT_NE(sdlWindow, nullptr) << SDL_GetError();
        if (sdlWindow == nullptr)
            return false;
        window = std::make_unique<SdlDeviceWindow>(sdlWindow);
        device = std::make_unique<GraphicsDeviceDX>(&backend, window.get(), 1, 8, 480, 640, 0);
        EXPECT_NE(device->Device(), nullptr);
        if (device->Device() == nullptr)
            return false;
        auto* files = new MemoryFileSystem();
        files->files["MARELDON.mbd"] = MakeBootArchive();
        root.fileSystem = RefPtr<FileSystem>(files);
        root.graphicsDevice = DeviceHandle();
        root.renderer.Reset(new Renderer(root.fileSystem, root.graphicsDevice, RefPtr<SoundBox>()));
        EXPECT_TRUE(root.renderer->LoadArchive("MARELDON.mbd"));
        root.renderer->BuildModels(*device);
        root.screenTarget.Reset(new ResourceProxy(device->ScreenTexture()));
        root.frameRate = 60.0f;
        root.framePeriod = 1.0f / 60.0f;
        // The flow boots straight into the stage, so the screen stays the current scene
        // through the sweeps.
        stageEntry = entry;
        current = this;
        flow.Add("boot", [](GameSystem& system, const SceneSetup& at) -> SceneTask* {
            BossPictureGlTest& f = *current;
            f.screen = new GameWorldScreen(&system, at.breakIn, at.successor, 4, 0, f.stageEntry, 0, 1);
            f.screen->SetEventLog(&f.log);
            return f.screen;
        });
        GameSystemPorts ports;
        ports.scenes = &flow;
        auto* system = new GameSystem(&root, ports);
        system->GetPlayer(1).shipStock = 3;
        root.CollectDead();
        EXPECT_NE(screen, nullptr);
        return screen != nullptr;
    }

    // Steps as the application runs them, the ship shielded so the boss's bullets do not
    // end the run: the update pass, then the sweep, whose keep-alive tests are what hide
    // the enemies outside their activity windows.
    void Step(int32_t count = 1) {
        for (int32_t i = 0; i < count; ++i) {
            if (PlayerShip* ship = screen->GetPlayer(1))
                ship->SetProtection(100000, 1);
            root.Update();
            root.CollectDead();
        }
    }

    // The update pass alone: the world's own step (time limit, flow) and the window
    // sweep stay out.
    void UpdateOnly(int32_t count = 1) {
        for (int32_t i = 0; i < count; ++i)
            root.Update();
    }

    // The stage and the world root just before `frame`: what passed arrives as one lump.
    void JumpBefore(int32_t frame) {
        const float time = (float(frame) - 0.5f) / 60.0f;
        screen->GetStageScene()->SetMotionTime(time);
        screen->GetWorldRoot()->SetMotionTime(time);
    }

    // The picture, with MARELDON_KEEP_PICTURES=DIR also written there as NAME.png.
    std::vector<uint32_t> Picture(const std::string& name) {
        root.Draw();
        std::vector<uint32_t> pixels = ReadBack();
        if (const char* keep = std::getenv("MARELDON_KEEP_PICTURES")) {
            std::vector<uint8_t> rgba;
            for (uint32_t p : pixels)
                rgba.insert(rgba.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), 255});
            const std::vector<uint8_t> png = EncodePng(480, 640, rgba);
            if (FILE* file = std::fopen((std::string(keep) + "/" + name + ".png").c_str(), "wb")) {
                std::fwrite(png.data(), 1, png.size(), file);
                std::fclose(file);
            }
        }
        return pixels;
    }

    // The colour where the camera puts a world point; 0 (and a failure) off screen.
    uint32_t ColourAt(const std::vector<uint32_t>& pixels, const Vec3& point) {
        const Vec3 p = screen->ProjectToScreen(point);
        const int px = int(p.x + 0.5f), py = int(p.y + 0.5f);
        EXPECT_TRUE(px >= 0 && px < 480 && py >= 0 && py < 640) << px << "," << py;
        if (px < 0 || px >= 480 || py < 0 || py >= 640)
            return 0;
        return pixels[size_t(py * 480 + px)] & 0xFFFFFFu;
    }

    // The colour at a point `x`, `z` from the section's origin on its box's top face
    // (`half` above it).
    uint32_t ColourOn(const std::vector<uint32_t>& pixels, Object3D& section, float half, float x, float z) {
        const Vec3 at = section.GetWorldPosition();
        return ColourAt(pixels, Vec3{at.x + x, at.y + half, at.z + z});
    }

    static inline BossPictureGlTest* current = nullptr;
    SceneRegistry flow;
    int32_t stageEntry = 0;
    StageNodeRegistry registry;
    ScopedStageNodeRegistry scope{registry};
    TaskObject root{nullptr, 0};
    GameWorldScreen* screen = nullptr;
    WorldEventLog log;
};

}  // namespace mareldon
