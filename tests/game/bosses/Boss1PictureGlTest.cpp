// Stage 1 jumped into its boss fight and drawn on the OpenGL backend (offscreen
// through Mesa): each section's colour where the stage camera puts it, and the
// cover's broken colour, notched, once it breaks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/draw/Renderer.h"
#include "game/bosses/Boss1Body.h"
#include "game/bosses/RegisterBosses.h"
#include "game/objects/RegisterStageObjects.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/StaticModelRoot.h"
#include "game/system/GameSystem.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tests/game/render/GlDrawTest.h"
#include "tools/archive/ArchiveFixtures.h"
#include "tools/archive/ArchiveRecords.h"
#include "tools/archive/PlaceholderBoss1.h"

namespace mareldon {
namespace {

Boss1Body* FindBody(TaskObject& task) {
    if (auto* body = dynamic_cast<Boss1Body*>(&task))
        return body;
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        if (Boss1Body* body = FindBody(*static_cast<TaskObject*>(node)))
            return body;
    }
    return nullptr;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance)
            return false;
    }
    return true;
}

class Boss1PictureGlTest : public GlDrawTest {
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
        GlDrawTest::TearDown();
    }

    // One step as the application runs it: the update pass, then the sweep, whose
    // keep-alive tests are what hide the enemies outside their activity windows.
    void Step() {
        root.Update();
        root.CollectDead();
    }

    // The picture, with MARELDON_KEEP_PICTURES=DIR also written there as NAME.png.
    std::vector<uint32_t> Picture(const char* name) {
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

    // The colour at the pixel where the camera puts a point `x`, `z` from the section's
    // origin on its box's top face (`half` above it).
    uint32_t ColourOn(const std::vector<uint32_t>& pixels, Object3D& section, float half, float x, float z) {
        const Vec3 at = section.GetWorldPosition();
        const Vec3 p = screen->ProjectToScreen(Vec3{at.x + x, at.y + half, at.z + z});
        const int px = int(p.x + 0.5f), py = int(p.y + 0.5f);
        EXPECT_TRUE(px >= 0 && px < 480 && py >= 0 && py < 640) << px << "," << py;
        if (px < 0 || px >= 480 || py < 0 || py >= 640)
            return 0;
        return pixels[size_t(py * 480 + px)] & 0xFFFFFFu;
    }

    StageNodeRegistry registry;
    ScopedStageNodeRegistry scope{registry};
    TaskObject root{nullptr, 0};
    GameWorldScreen* screen = nullptr;
};

TEST_F(Boss1PictureGlTest, SectionsShowTheirColoursAndTheCoverBreaksDarkAndNotched) {
    sdlWindow = SDL_CreateWindow("boss", 0, 0, 480, 640, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
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
    screen = new GameWorldScreen(system, "", "", 4, 0, 1, 0, 1);
    Step();
    Boss1Body* body = FindBody(*screen->GetWorldRoot());
    ASSERT_NE(body, nullptr);
    // Stage 1's boss clock jumped to frame 8160, the fight 60 frames old.
    body->ParentNode()->SetMotionTime(8159.5f / 60.0f);
    for (int i = 0; i < 2; ++i)
        Step();
    ASSERT_GE(body->GetStepCount(), 8160);
    const std::vector<uint32_t> fight = Picture("boss1-fight");

    // Points on each section's top face clear of its weapons and neighbours.
    const struct {
        int32_t index;
        int32_t layer;
        float x, z;
    } kPoints[] = {
        {kBoss1Cover, 2, -0.4f, -0.6f},    {kBoss1WingRootA, 3, -0.4f, -0.4f},
        {kBoss1WingRootB, 4, 0.4f, -0.4f}, {kBoss1Layer5, 5, -0.2f, 0.2f},
        {kBoss1Layer6, 6, 0.2f, 0.2f},     {kBoss1Layer7, 7, 0.2f, -0.2f},
        {kBoss1Layer8, 8, -0.2f, -0.2f},   {kBoss1Layer9, 9, -0.1f, -0.1f},
        {kBoss1Layer10, 10, 0.1f, -0.1f},
    };
    static const float kHalf[11] = {0.6f, 0.3f, 0.7f, 0.6f, 0.6f, 0.45f, 0.45f, 0.45f, 0.45f, 0.35f, 0.35f};
    for (const auto& point : kPoints) {
        Boss1Section* section = body->Section(point.index);
        ASSERT_NE(section, nullptr) << point.layer;
        const uint32_t seen = ColourOn(fight, *section, kHalf[point.layer], point.x, point.z);
        EXPECT_TRUE(Near(seen, PlaceholderBoss1Colour(point.layer), 24))
            << "layer " << point.layer << ": " << std::hex << seen;
    }

    // The cover breaks: its broken mesh, a third as bright, with its +x, +z quarter
    // open onto what lies under it.
    Boss1Section* cover = body->Section(kBoss1Cover);
    AttackVector attack{};
    attack.values[0] = 760.0f;
    cover->ApplyAttack(1, attack);
    for (int i = 0; i < 3; ++i)
        Step();
    ASSERT_TRUE(body->InCorePhase());
    const std::vector<uint32_t> broken = Picture("boss1-broken");
    const float half = kHalf[2] * 0.9f;
    const uint32_t dark = ColourOn(broken, *cover, half, -0.4f, -0.6f);
    EXPECT_TRUE(Near(dark, PlaceholderBoss1BrokenColour(2), 16)) << std::hex << dark;
    const uint32_t notch = ColourOn(broken, *cover, half, 0.45f, 0.15f);
    // Through the notch: the core under the cover.
    EXPECT_TRUE(Near(notch, PlaceholderBoss1Colour(0), 24)) << std::hex << notch;
}

}  // namespace
}  // namespace mareldon
