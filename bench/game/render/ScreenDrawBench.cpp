// One frame of screen drawing: 2,000 sprites and 400 characters already in the glyph
// cache queued through the drawers, then the command list processed into geometry on
// the recording device (logging off).
#include <string>

#include <benchmark/benchmark.h>

#include "engine/render/draw/Renderer.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "game/render/ScreenDrawers.h"
#include "game/render/TextDrawing.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tests/engine/render/device/DeviceFixture.h"
#include "tools/archive/ArchiveFixtures.h"

namespace mareldon {
namespace {

void ScreenDrawFrame(benchmark::State& state) {
    DeviceFixture gpu;
    gpu.gpu.SetLogging(false);
    RefPtr<GraphicsDevice> device(&gpu.Make(), [](GraphicsDevice*) {});
    RefPtr<MemoryFileSystem> files(new MemoryFileSystem());
    files->files["MARELDON.mbd"] = MakeBootArchive();
    RefPtr<Renderer> renderer(new Renderer(RefPtr<FileSystem>(files), device, RefPtr<SoundBox>()));
    renderer->LoadArchive("MARELDON.mbd");
    SceneDrawSet set(renderer);
    RefPtr<SpriteSheet> sheet(new SpriteSheet(renderer, "systemimage"));
    RefPtr<SpriteDrawer> sprites(new SpriteDrawer(set, "shadingname", sheet));
    RefPtr<TextDrawer> text(new TextDrawer(set, "shadingname", "F24"));
    const SpriteRect* digits[10];
    for (int i = 0; i < 10; ++i)
        digits[i] = &sheet->Find(("1016_Coin_kazu_" + std::to_string(i)).c_str());
    const std::string line = "SCORE 0123456789 HI-SCORE 9876543210 ABC";  // 40 characters
    const ScreenColor white{1, 1, 1, 1};

    for (auto _ : state) {
        for (int i = 0; i < 2000; ++i) {
            const float x = float(i % 40) * 12.0f;
            const float y = float(i / 40) * 12.0f;
            sprites->DrawSprite(*digits[i % 10], Vec3{x, y, float(i % 7)}, white);
        }
        Vec3 end{};
        for (int row = 0; row < 10; ++row)
            text->DrawWideText(end, Vec3{0, float(row) * 24.0f, 0.5f}, 6, 12, white, line);
        set.commands->Process();
    }
    state.SetItemsProcessed(state.iterations() * 2400);
}
BENCHMARK(ScreenDrawFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mareldon
