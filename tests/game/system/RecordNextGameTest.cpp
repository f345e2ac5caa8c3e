#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "game/system/GameSystem.h"
#include "tests/game/system/GameSystemFixture.h"

namespace mareldon {
namespace {

class RecordNextGameTest : public testing::Test, public GameSystemFixture {
  protected:
    void TearDown() override { unsetenv("MARELDON_RECORD"); }
    void Press(int input, uint32_t button) {
        inputs.masks[input].pressed = button;
        Step();
        inputs.masks[input].pressed = 0;
    }
    // Coin, start, and the play modes of the first `stages` play screens built.
    std::vector<std::string> PlayModes(int stages, bool recordNext) {
        Start();
        EXPECT_TRUE(RunUntil("logo1"));
        Press(0, SystemButton::kCoin);
        EXPECT_TRUE(RunUntil("titlestart"));
        Press(0, SystemButton::kStart);
        if (recordNext)
            system->SetRecordNextGame(true);
        std::vector<std::string> modes;
        for (int step = 0; step < 3000 && int(modes.size()) < stages && Step(); ++step) {
            const std::string& last = Built().empty() ? std::string() : Built().back();
            if (last.rfind("ActualGameScreen", 0) == 0) {
                // "... difficulty mode stage"
                const size_t stageAt = last.rfind(' ');
                const size_t modeAt = last.rfind(' ', stageAt - 1);
                modes.push_back(last.substr(modeAt + 1, stageAt - modeAt - 1));
                Built().clear();
            }
        }
        return modes;
    }
};

TEST_F(RecordNextGameTest, TheSwitchRecordsTheNextStageOnly) {
    EXPECT_EQ(PlayModes(3, true), (std::vector<std::string>{"2", "0", "0"}));
}

TEST_F(RecordNextGameTest, TheEnvironmentSwitchRecordsEveryStage) {
    setenv("MARELDON_RECORD", "1", 1);
    EXPECT_EQ(PlayModes(3, false), (std::vector<std::string>{"2", "2", "2"}));
}

TEST_F(RecordNextGameTest, WithoutASwitchStagesPlayLive) {
    setenv("MARELDON_RECORD", "0", 1);
    EXPECT_EQ(PlayModes(2, false), (std::vector<std::string>{"0", "0"}));
}

}  // namespace
}  // namespace mareldon
