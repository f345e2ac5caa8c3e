#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/platform/MessageBox.h"
#include "engine/platform/SoundBoxDX.h"
#include "engine/platform/recording/RecordingSoundOutput.h"
#include "engine/render/draw/Renderer.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tests/engine/render/device/DeviceFixture.h"
#include "tests/game/system/GameSystemFixture.h"
#include "tools/archive/ArchiveFixtures.h"

namespace mareldon {

// Messages about missing data files (the shader data) go nowhere.
class QuietMessages : public MessageBoxPresenter {
  public:
    void ShowMessageBox(const char*, const char*) override {}
};

// A game system whose root carries a renderer over an archive held in memory,
// a recording graphics device and a sound device over the recording sound
// output, whose log the tests read.
class ServicesFixture : public GameSystemFixture {
  public:
    explicit ServicesFixture(const std::vector<uint8_t>& archive = MakeBootArchive(), int stepsPerScreen = 3,
                             bool realScreens = false)
        : GameSystemFixture(stepsPerScreen, realScreens), output(std::make_shared<RecordingSoundOutput>()) {
        auto* memory = new MemoryFileSystem();
        memory->files["MARELDON.mbd"] = archive;
        root.fileSystem = RefPtr<FileSystem>(memory);
        root.graphicsDevice = RefPtr<GraphicsDevice>(&devices.Make(), [](GraphicsDevice*) {});
        root.soundBox = RefPtr<SoundBox>(new SoundBoxDX(nullptr, output));
        root.renderer = RefPtr<Renderer>(
            new Renderer(root.fileSystem, root.graphicsDevice, root.soundBox, String("test"), &quiet));
        root.renderer->LoadArchive("MARELDON.mbd");
    }
    ~ServicesFixture() {
        // The game system goes before the services it holds.
        root.DeleteChildren();
        system = nullptr;
        root.renderer = RefPtr<Renderer>();
        root.soundBox = RefPtr<SoundBox>();
        root.graphicsDevice = RefPtr<GraphicsDevice>();
        root.fileSystem = RefPtr<FileSystem>();
    }

    // Starts the game system and steps until the shared resources are loaded.
    GameSystem& StartLoaded() {
        if (system == nullptr) {
            Start();
        }
        for (int i = 0; i < 10 && !system->AreResourcesLoaded(); ++i) {
            Step();
        }
        return *system;
    }
    int Buffer(int32_t id) const {
        const SoundCueRef& cue = system->GetSeCue(id);
        return cue.IsEmpty() ? -1 : cue.Sound()->Buffer();
    }
    // The sound log since the last call.
    std::vector<std::string> TakeLog() {
        std::vector<std::string> log = output->Log();
        output->ClearLog();
        return log;
    }

    QuietMessages quiet;
    DeviceFixture devices;
    std::shared_ptr<RecordingSoundOutput> output;
};

}  // namespace mareldon
