// The placeholder set's recorded plays, replayed by the screens that load them: the
// recorded ships fly about instead of standing idle.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/screens/DemoPlayScreen.h"
#include "game/screens/RankingScreen.h"
#include "game/stage/PlayerShip.h"
#include "tests/game/screens/StageSelectTestFixture.h"
#include "tools/archive/PlaceholderTraces.h"

namespace mareldon {
namespace {

// Scene names the fixture leaves free stand for the replays it lacks.
class PlaceholderReplaysTest : public testing::TestWithParam<const char*>, public WorldScenesFixture {
  protected:
    PlaceholderReplaysTest() : WorldScenesFixture(GetParam()) {
        flow.Add("playdemo2", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
            return current->screen = new DemoPlayScreen(&s, at.breakIn, at.successor, 2);
        });
        flow.Add("ranking2", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
            return current->screen = new DemoPlayScreen(&s, at.breakIn, at.successor, 3);
        });
        flow.Add("ranking1", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
            return current->screen = new RankingScreen(&s, at.breakIn, at.successor, 1, 0);
        });
        for (const auto& [name, image] : PlaceholderTraceFiles())
            Files().files[name] = image;
    }
};

TEST_P(PlaceholderReplaysTest, RecordedShipsFly) {
    UseInputManager();
    ASSERT_TRUE(RunWith(0));
    const bool pair = screen->ships[1] != nullptr;
    float low[2] = {1e9f, 1e9f}, high[2] = {-1e9f, -1e9f};
    for (int i = 0; i < 600; ++i) {
        Tick();
        for (int p = 0; p < 2; ++p) {
            if (PlayerShip* ship = screen->ships[p]) {
                low[p] = std::min(low[p], ship->GetPosition().x);
                high[p] = std::max(high[p], ship->GetPosition().x);
            }
        }
    }
    EXPECT_GT(high[0] - low[0], 1.0f);
    if (pair) {
        EXPECT_GT(high[1] - low[1], 1.0f);
    }
}

// The tutorial, the ranking's stage and both demonstrations.
INSTANTIATE_TEST_SUITE_P(Scenes, PlaceholderReplaysTest,
                         testing::Values("demo-tut", "ranking1", "playdemo2", "ranking2"));

TEST(PlaceholderTutorialPlay, PagesShowWhatTheyTell) {
    // Moving before the shot pages, tapping the shot on them, holding it for the
    // reflect force, the bomb on its page.
    const auto any = [](int from, int to, uint32_t bits) {
        for (int step = from; step < to; ++step) {
            if ((PlaceholderTutorialWord(step) & bits) != 0)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(any(60, 180, 0x4) && any(60, 180, 0x8) && any(60, 180, 0x1) && any(60, 180, 0x2));
    EXPECT_FALSE(any(0, 180, 0xC0));
    EXPECT_TRUE(any(180, 540, 0x40));
    EXPECT_FALSE(any(0, 1440, 0x80)) << "no bomb before its page";
    EXPECT_TRUE(any(1440, 1680, 0x80));
    int longest = 0, held = 0;
    for (int step = 540; step < 1440; ++step) {
        held = (PlaceholderTutorialWord(step) & 0x40) != 0 ? held + 1 : 0;
        longest = std::max(longest, held);
    }
    EXPECT_GE(longest, 120) << "the reflect force charges on a held shot";
}

}  // namespace
}  // namespace mareldon
