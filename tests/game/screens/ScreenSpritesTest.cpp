// Every sprite the front-end screens look up by name is in the placeholder data
// set, so a first run shows them all (a missing name falls back silently).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/RefPtr.h"
#include "engine/render/archive/ResourceManager.h"
#include "game/screens/JoinInScreen.h"
#include "game/screens/NameEntryScreen.h"
#include "game/screens/NameGlyphs.h"
#include "game/screens/NumberLayout.h"
#include "game/screens/ResultScreen.h"
#include "game/screens/TitleScreen.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tools/archive/ArchiveFixtures.h"

namespace mareldon {
namespace {

TEST(ScreenSpritesTest, TheGameDataSetHoldsEveryNameTheScreensLookUp) {
    RefPtr<MemoryFileSystem> files(new MemoryFileSystem());
    files->files["MARELDON.mbd"] = MakeGameArchive();
    ResourceManager manager{RefPtr<FileSystem>(files), RefPtr<GraphicsDevice>(), RefPtr<SoundBox>()};
    ASSERT_TRUE(manager.LoadArchive("MARELDON.mbd"));

    std::vector<std::pair<std::string, std::vector<std::string>>> wanted = {
        {"systemimage", {"now_loading", "brova_logo", "orsane_logo", "SelectYourFighter"}},
        {"title", {"titleback", "title"}},
        {"NOTICE", {"NOTICE"}},
        {"mentoji", {"mentoji"}},
        {"game", {"gameover002"}},
        {"rank", {}},
        {"result", {}},
    };
    auto add = [&wanted](const char* sheet, const std::string& name) {
        for (auto& [entry, names] : wanted) {
            if (entry == sheet) {
                names.push_back(name);
            }
        }
    };
    for (int i = 0; i < TitleScreen::kSystemSpriteCount; ++i) {
        add("systemimage", TitleScreen::SystemSpriteName(i));
    }
    for (const char* name : JoinInScreen::GameSpriteNames()) {
        add("game", name);
    }
    for (const char* name : NameEntryScreen::GameSpriteNames()) {
        add("game", name);
    }
    for (int i = 0; i < NameGlyphs::kCount; ++i) {
        if (NameGlyphs::SpriteName(i) != nullptr) {
            add("rank", NameGlyphs::SpriteName(i));
        }
    }
    for (const char* name : ResultScreen::LabelSpriteNames()) {
        add("result", name);
    }
    for (int i = 0; i < NumberLayout::kGlyphCount; ++i) {
        add("result", NumberLayout::SpriteName(i));
    }
    for (const auto& [sheetName, names] : wanted) {
        RefPtr<SpriteEntry> sheet = manager.FindSprite(sheetName.c_str());
        ASSERT_TRUE(sheet && sheet->name->Equals(sheetName.c_str())) << sheetName;
        for (const std::string& name : names) {
            bool found = false;
            for (const auto& frame : sheet->frames) {
                found = found || frame.name->Equals(name.c_str());
            }
            EXPECT_TRUE(found) << sheetName << " lacks " << name;
        }
    }
}

}  // namespace
}  // namespace mareldon
