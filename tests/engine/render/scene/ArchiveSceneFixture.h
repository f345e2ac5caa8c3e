#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/render/Renderer.h"
#include "tests/engine/render/ArchiveTestServices.h"
#include "tests/engine/render/DeviceFixture.h"
#include "tests/engine/render/scene/SceneTestNodes.h"

namespace mareldon {

// An archive loaded and built on a recording device as the game does it, and a root
// task that hands its Renderer down.
struct ArchiveSceneFixture {
    explicit ArchiveSceneFixture(std::vector<uint8_t> archive) {
        files->files["MARELDON.mbd"] = std::move(archive);
        renderer.Reset(new Renderer(RefPtr<FileSystem>(files), device, RefPtr<SoundBox>()));
        loaded = renderer->LoadArchive("MARELDON.mbd");
        renderer->BuildModels(*device);
        root.renderer = renderer;
    }

    DeviceFixture fixture;
    RefPtr<GraphicsDevice> device{&fixture.Make(), [](GraphicsDevice*) {}};
    MemoryFileSystem* files = new MemoryFileSystem();
    RefPtr<Renderer> renderer;
    bool loaded = false;
    SceneTestRoot root;
};

}  // namespace mareldon
