#pragma once

#include <cstring>
#include <memory>
#include <vector>

#include "engine/render/draw/Renderer.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tools/archive/ArchiveRecords.h"
#include "tools/archive/MbdWriter.h"

namespace mareldon {

// A Renderer over a given device and an archive held in memory, and a draw set whose
// command list the screen drawers fill.
struct ScreenDrawFixture {
    RefPtr<MemoryFileSystem> files{new MemoryFileSystem()};
    RefPtr<Renderer> renderer;
    std::unique_ptr<SceneDrawSet> set;

    void Load(const RefPtr<GraphicsDevice>& device, const std::vector<uint8_t>& archive) {
        files->files["MARELDON.mbd"] = archive;
        renderer.Reset(new Renderer(RefPtr<FileSystem>(files), device, RefPtr<SoundBox>()));
        renderer->LoadArchive("MARELDON.mbd");
        set = std::make_unique<SceneDrawSet>(renderer);
    }
    DrawCommandList& Commands() { return *set->commands; }

    // The vertex records of the command at index in draw order.
    template <typename Vertex>
    std::vector<Vertex> Vertices(int32_t index) {
        const int32_t count = Commands().CommandAt(index).type;
        std::vector<Vertex> out(static_cast<size_t>(count));
        std::memcpy(out.data(), Commands().CommandVertices(index), sizeof(Vertex) * size_t(count));
        return out;
    }
};

// A white opaque PNG sheet of w x h with the given sprites, under `name`.
inline void AddWhiteSheet(MbdWriter& writer, const char* name, int32_t w, int32_t h,
                          const std::vector<MbdWriter::Frame>& frames) {
    std::vector<uint8_t> rgba(size_t(w) * size_t(h) * 4, 0xFF);
    writer.AddSprite(name, writer.AddImage(EncodePng(w, h, rgba)), frames);
}

}  // namespace mareldon
