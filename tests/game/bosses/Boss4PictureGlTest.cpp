// Stage 4 jumped into its boss fight and drawn on the OpenGL backend (offscreen
// through Mesa): the head shows only once the body's defeat reaches frame 300.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/draw/Renderer.h"
#include "game/bosses/Boss4Body.h"
#include "game/bosses/Boss4LayerPart23.h"
#include "game/bosses/Boss4LayerParts.h"
#include "game/bosses/RegisterBosses.h"
#include "game/objects/RegisterStageObjects.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/WorldEventLog.h"
#include "game/system/GameSystem.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tests/game/render/GlDrawTest.h"
#include "tools/archive/ArchiveFixtures.h"
#include "tools/archive/ArchiveRecords.h"
#include "tools/archive/PlaceholderBoss4.h"

namespace mareldon {
namespace {

Boss4LayerPart0* FindRoot(TaskObject& task) {
    if (auto* root = dynamic_cast<Boss4LayerPart0*>(&task))
        return root;
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        if (Boss4LayerPart0* root = FindRoot(*static_cast<TaskObject*>(node)))
            return root;
    }
    return nullptr;
}

// The head's weak point is the placeholder's one cyan part; effects drawn over it may
// dim it.
bool Cyan(uint32_t c) {
    const int r = int((c >> 16) & 0xFF), g = int((c >> 8) & 0xFF), b = int(c & 0xFF);
    return r < 0x70 && g > 0x90 && b > 0x90 && std::abs(g - b) < 0x30;
}

class Boss4PictureGlTest : public GlDrawTest {
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

    // The colour where the camera puts a world point.
    uint32_t ColourAt(const std::vector<uint32_t>& pixels, const Vec3& point) {
        const Vec3 p = screen->ProjectToScreen(point);
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
    WorldEventLog log;
};

TEST_F(Boss4PictureGlTest, TheHeadShowsOnlyFromTheBodysDefeatFrame300) {
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
    screen = new GameWorldScreen(system, "", "", 4, 0, 4, 0, 1);
    screen->SetEventLog(&log);
    root.Update();
    Boss4LayerPart0* face = FindRoot(*screen->GetWorldRoot());
    ASSERT_NE(face, nullptr);
    ASSERT_NE(face->body, nullptr);
    Boss4LayerPart23* head = face->head;
    ASSERT_NE(head, nullptr);
    // The stage clock jumped to the face's opening, then its weak point beaten.
    screen->GetStageScene()->SetMotionTime(11399.5f / 60.0f);
    for (int i = 0; i < 3; ++i)
        root.Update();
    ASSERT_EQ(face->body->Part(2)->hittable, 1);
    AttackVector attack{};
    attack.values[0] = 2501.0f;
    face->body->Part(2)->ApplyAttack(1, attack);
    // The top face of the head's weak point, where the head stands hidden and where its
    // model carries it once shown.
    Boss4LayerPart* weakPoint = head->WeakPoint();
    ASSERT_NE(weakPoint, nullptr);
    auto top = [&] {
        const Vec3 at = weakPoint->GetWorldPosition();
        return Vec3{at.x, at.y + 1.2f, at.z};
    };
    ASSERT_TRUE(Cyan(PlaceholderBoss4Colour(25)));

    int32_t steps = 0;
    while (log.Count("BossShown") == 0 && steps < 400) {
        if (steps % 25 == 0) {
            const std::vector<uint32_t> hidden = Picture("boss4-sinking");
            EXPECT_FALSE(Cyan(ColourAt(hidden, top()))) << "step " << steps;
        }
        root.Update();
        ++steps;
    }
    ASSERT_LT(steps, 400);
    EXPECT_GE(steps, 299);
    EXPECT_EQ(head->heldHidden, 0);
    // Carried down into place, before its attack starts at 150.
    for (int i = 0; i < 140; ++i)
        root.Update();
    const std::vector<uint32_t> shown = Picture("boss4-head");
    const uint32_t seen = ColourAt(shown, top());
    EXPECT_TRUE(Cyan(seen)) << std::hex << seen;
}

}  // namespace
}  // namespace mareldon
