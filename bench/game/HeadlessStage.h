// A world screen over a stage archive in memory, headless (no device, no sound, no
// game system), its stage loaded and its camera set up, with the stage nodes built by
// what `registerNodes` puts in the registry; and the update step the benches time.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "engine/render/draw/Renderer.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"

namespace mareldon {

class HeadlessStage {
  public:
    HeadlessStage(std::vector<uint8_t> archive, void (*registerNodes)(StageNodeRegistry&)) {
        root.frameRate = 60.0f;
        root.framePeriod = 1.0f / 60.0f;
        auto* files = new MemoryFileSystem();
        files->files["STAGE.mbd"] = std::move(archive);
        root.fileSystem = RefPtr<FileSystem>(files);
        root.renderer =
            RefPtr<Renderer>(new Renderer(root.fileSystem, RefPtr<GraphicsDevice>(), RefPtr<SoundBox>()));
        root.renderer->LoadArchive("STAGE.mbd");
        registerNodes(registry);
        scope.emplace(registry);
        // Given the root's services, the screen loads again and, without a stage table,
        // binds the archive's one stage model.
        screen = new GameWorldScreen(nullptr, String(), String(), 3, 0, 0, 0, 1);
        screen->InheritServices(root);
        screen->GetWorldRoot()->InheritServices(root);
        screen->LoadStage();
        screen->SetupCamera();
        // The first sweep wakes the enemies in their windows.
        screen->GetStageScene()->CollectDead();
    }
    ~HeadlessStage() {
        delete screen;
        scope.reset();
    }
    HeadlessStage(const HeadlessStage&) = delete;
    HeadlessStage& operator=(const HeadlessStage&) = delete;

    StageScene& Scene() { return *screen->GetStageScene(); }

    // One step of the stage: hit lists cleared, animation, update pass, sweep.
    void Step() {
        screen->ClearHitLists();
        screen->GetWorldRoot()->StepAnimation();
        Scene().Update();
        Scene().CollectDead();
    }

    TaskObject root{nullptr, 0};
    StageNodeRegistry registry;
    GameWorldScreen* screen = nullptr;

  private:
    std::optional<ScopedStageNodeRegistry> scope;
};

}  // namespace mareldon
