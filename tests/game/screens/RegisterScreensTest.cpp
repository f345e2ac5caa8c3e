#include "game/screens/RegisterScreens.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "game/system/GameSystem.h"
#include "game/system/SceneRegistry.h"
#include "game/system/SceneTask.h"
#include "game/testmode/RegisterTestMode.h"
#include "tests/game/system/GameSystemFixture.h"

namespace mareldon {
namespace {

// Named as a successor but built by no row: the play and ending screens always
// request another scene by name instead.
const std::set<std::string> kNamesWithoutRow = {"title"};

TEST(RegisterScreensTest, EverySceneOfTheTableHasItsScreenAndNoOther) {
    SceneRegistry registry;
    RegisterScreens(registry);
    RegisterTestMode(registry);
    std::set<std::string> rows;
    for (const GameSystem::SceneRow& row : GameSystem::SceneTable()) {
        EXPECT_TRUE(rows.insert(row.name).second) << "two rows for " << row.name;
        EXPECT_EQ(registry.Find(row.name) != nullptr, row.screen) << row.name;
    }
    for (const SceneRegistry::Entry& entry : registry.Entries()) {
        EXPECT_EQ(rows.count(entry.name), 1u) << entry.name << " has a screen but no row";
    }
    // Every name a screen hands over to leads somewhere, or nowhere on purpose.
    for (const GameSystem::SceneRow& row : GameSystem::SceneTable()) {
        for (const char* next : {row.breakIn, row.successor}) {
            if (row.screen) {
                EXPECT_TRUE(rows.count(next) == 1 || kNamesWithoutRow.count(next) == 1)
                    << row.name << " -> " << next;
            }
        }
    }
    EXPECT_NE(registry.joinIn, nullptr);
    EXPECT_NE(registry.nameEntry, nullptr);
}

// Each factory hands its screen the row's two names and puts it under the game system.
TEST(RegisterScreensTest, EachScreenIsBuiltWithItsRowsNames) {
    GameSystemFixture fixture;
    GameSystem& system = fixture.Start();
    for (const GameSystem::SceneRow& row : GameSystem::SceneTable()) {
        const SceneFactory factory = fixture.scenes.Find(row.name);
        if (factory == nullptr) {
            continue;
        }
        SCOPED_TRACE(row.name);
        SceneSetup setup;
        setup.name = row.name;
        setup.breakIn = row.breakIn;
        setup.successor = row.successor;
        SceneTask* scene = factory(system, setup);
        ASSERT_NE(scene, nullptr);
        EXPECT_EQ(scene->GetOwner(), &system);
        EXPECT_EQ(scene->parent, &system);
        EXPECT_EQ(scene->GetBreakInName(), row.breakIn);
        EXPECT_EQ(scene->GetSuccessorName(), row.successor);
        delete scene;
    }
}

}  // namespace
}  // namespace mareldon
