#include "tools/archive/PlaceholderShips.h"

#include <gtest/gtest.h>

#include "engine/render/archive/ResourceManager.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tools/archive/ArchiveFixtures.h"

namespace mareldon {
namespace {

TEST(PlaceholderShipsTest, TheGameArchiveHoldsTheShotEffectsAndClearSpaceForTheShotCells) {
    RefPtr<MemoryFileSystem> files(new MemoryFileSystem());
    files->files["MARELDON.mbd"] = MakeGameArchive();
    ResourceManager manager{RefPtr<FileSystem>(files), RefPtr<GraphicsDevice>(), RefPtr<SoundBox>()};
    ASSERT_TRUE(manager.LoadArchive("MARELDON.mbd"));
    for (const char* name : {"PSHOT_MUZZLE00", "PSHOT_MUZZLE01", "PSHOT_MUZZLE02", "PSHOT_MUZZLE02_2",
                             "PSHOT_MUZZLE03", "PSHOT_HIT", "STE_pl00_s_chakudan", "STE_pl01_b_chakudan",
                             "STE_pl02_h_chakudan", "STE_pl03_k_chakudan", "EXPLOSION_PLAYER"})
        EXPECT_TRUE(manager.HasModel(name)) << name;

    // No named sprite of the sheet overlaps the shot cells.
    RefPtr<SpriteEntry> sheet = manager.FindSprite("game");
    ASSERT_TRUE(sheet);
    ASSERT_FALSE(sheet->frames.empty());
    // Rows of twelve 64-pixel cells from (1281.5, 128), 56 cells in all.
    const float left = 0.625732f * 2048.0f, top = 128.0f, bottom = top + 5.0f * 64.0f;
    for (const auto& frame : sheet->frames) {
        const bool beside = frame.x + frame.w <= left;
        const bool clear = frame.y >= bottom || frame.y + frame.h <= top;
        EXPECT_TRUE(beside || clear) << frame.name->Text() << " at " << frame.x << ", " << frame.y;
        EXPECT_LE(frame.x + frame.w, 2048.0f);
        EXPECT_LE(frame.y + frame.h, 2048.0f);
    }
}

}  // namespace
}  // namespace mareldon
