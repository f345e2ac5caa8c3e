#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/core/Cp932.h"
#include "game/system/GameSystem.h"
#include "game/system/StageTable.h"
#include "tests/game/system/ServicesFixture.h"
#include "tools/archive/ArchiveRecords.h"
#include "tools/archive/MbdWriter.h"

namespace mareldon {
namespace {

using testing::Contains;
using testing::ElementsAre;
using testing::Not;

std::string Line(const char* format, long a, long b = 0) {
    char line[64];
    std::snprintf(line, sizeof line, format, a, b);
    return line;
}

class SoundCuesTest : public testing::Test, public ServicesFixture {};

TEST_F(SoundCuesTest, EveryCueNameHasASoundOfItsOwnInThePlaceholderArchive) {
    Renderer& resources = *root.renderer;
    std::set<int32_t> slots;
    std::set<std::string> names;
    for (const GameSystem::SeRow& row : GameSystem::SeTable()) {
        const int32_t index = resources.FindSoundIndex(row.cue);
        ASSERT_GE(index, 0) << row.cue;
        if (names.insert(row.cue).second) {
            EXPECT_TRUE(slots.insert(resources.SoundAt(index)->slot).second) << row.cue;
        }
    }
    std::vector<const char*> tunes = {"title", "demo03", "moviest", "end"};
    for (const StageRow& stage : kStageRows) {
        for (const char* cue : {stage.music, stage.bossMusic}) {
            if (*cue != '\0' && std::find(tunes.begin(), tunes.end(), std::string_view(cue)) == tunes.end()) {
                tunes.push_back(cue);
            }
        }
    }
    for (const char* tune : tunes) {
        const int32_t index = resources.FindSoundIndex(tune);
        ASSERT_GE(index, 0) << tune;
        EXPECT_TRUE(slots.insert(resources.SoundAt(index)->slot).second) << tune;
    }
}

TEST_F(SoundCuesTest, LoadingSetsEachSlotsVolumeAndBalanceFromTheSettings) {
    StartLoaded();
    const std::vector<std::string> log = TakeLog();
    // Factory settings: effects 75, balance 0.
    EXPECT_THAT(log, Contains(Line("volume %ld %ld", Buffer(0), VolumeToMillibels(75 * 0.0095f * 0.85f))));
    EXPECT_NEAR(75 * 0.0095f * 0.85f, 0.6056f, 1e-4f);
    EXPECT_THAT(log, Contains(Line("volume %ld %ld", Buffer(11), VolumeToMillibels(75 * 0.0095f * 0.72f))));
    EXPECT_THAT(log, Contains(Line("pan %ld %ld", Buffer(0), 0)));
    for (int32_t id = 0; id < GameSystem::kSeCount; ++id) {
        EXPECT_GE(Buffer(id), 0) << id;
        EXPECT_EQ(system->GetSeCounter(id), 0);
    }
    // Ids that share a name share its sound.
    EXPECT_EQ(Buffer(7), Buffer(46));
    EXPECT_NE(Buffer(6), Buffer(7));
}

TEST_F(SoundCuesTest, ReTriggerGuardHoldsForTwoSteps) {
    StartLoaded();
    const int buffer = Buffer(3);
    TakeLog();
    const std::vector<std::string> restart = {Line("position %ld %ld", buffer, 0), Line("stop %ld", buffer),
                                              Line("position %ld %ld", buffer, 0), Line("play %ld", buffer)};
    system->PlaySe(3);  // step n
    system->PlaySe(3);
    EXPECT_EQ(TakeLog(), restart);
    Step();
    system->PlaySe(3);  // step n + 1
    EXPECT_TRUE(TakeLog().empty());
    Step();
    system->PlaySe(3);  // step n + 2
    EXPECT_EQ(TakeLog(), restart);

    Step();
    Step();
    system->PlaySeLooped(3);
    EXPECT_EQ(TakeLog().back(), Line("play %ld loop", buffer));
    system->StopSe(3);
    EXPECT_EQ(system->GetSeCounter(3), 0);
    system->PlaySe(3);
    EXPECT_EQ(TakeLog().back(), Line("play %ld", buffer));
    // Ids outside the table do nothing.
    system->PlaySe(-1);
    system->PlaySe(52);
    system->StopSe(52);
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(SoundCuesTest, SilentAttractLoopSoundsOnlyTheChimes) {
    OperatingSettings rules;
    rules.demoSound = 0;
    Start().StoreOperatingSettings(rules);
    StartLoaded();
    ASSERT_TRUE(system->IsAttractMode());
    TakeLog();
    system->PlaySe(0);
    EXPECT_TRUE(TakeLog().empty());
    system->PlaySe(6);
    system->PlaySe(7);
    EXPECT_THAT(TakeLog(), ElementsAre(Line("position %ld %ld", Buffer(6), 0), Line("stop %ld", Buffer(6)),
                                       Line("position %ld %ld", Buffer(6), 0), Line("play %ld", Buffer(6)),
                                       Line("position %ld %ld", Buffer(7), 0), Line("stop %ld", Buffer(7)),
                                       Line("position %ld %ld", Buffer(7), 0), Line("play %ld", Buffer(7))));
}

TEST_F(SoundCuesTest, StopAllSeSparesTheChimesAnd18And19) {
    StartLoaded();
    for (int32_t id = 0; id < GameSystem::kSeCount; ++id) {
        system->PlaySe(id);
    }
    TakeLog();
    system->StopAllSe();
    std::set<int> stopped;
    for (const std::string& line : TakeLog()) {
        int buffer = 0;
        if (std::sscanf(line.c_str(), "stop %d", &buffer) == 1) {
            stopped.insert(buffer);
        }
    }
    std::set<int> expected;
    for (int32_t id = 0; id < GameSystem::kSeCount; ++id) {
        const bool spared = id == 6 || id == 7 || id == 18 || id == 19;
        EXPECT_EQ(system->GetSeCounter(id), spared ? GameSystem::kSeGuardSteps : 0) << id;
        if (!spared) {
            expected.insert(Buffer(id));
        }
    }
    EXPECT_EQ(stopped, expected);
    EXPECT_FALSE(stopped.count(Buffer(6)));
    EXPECT_FALSE(stopped.count(Buffer(18)));
}

TEST_F(SoundCuesTest, MusicSwitchesHoldOneCueAtATime) {
    StartLoaded();
    system->StopBgm();
    TakeLog();
    system->PlayTitleBgm();
    ASSERT_FALSE(system->GetBgm().IsEmpty());
    const int title = system->GetBgm().Sound()->Buffer();
    // BGM 75 and balance 0: one cue at 0.75, centred, one pass.
    EXPECT_THAT(TakeLog(), ElementsAre(Line("volume %ld %ld", title, VolumeToMillibels(0.75f)),
                                       Line("pan %ld %ld", title, 0), Line("position %ld %ld", title, 0),
                                       Line("play %ld", title)));
    system->PlayDemoBgm();
    const int demo = system->GetBgm().Sound()->Buffer();
    EXPECT_NE(demo, title);
    std::vector<std::string> log = TakeLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[1], Line("stop %ld", title));
    EXPECT_EQ(log.back(), Line("play %ld", demo));
    EXPECT_EQ(system->GetBgmCue(), "demo03");

    // The test mode silences the tune but keeps it.
    system->StopHeldBgm();
    EXPECT_EQ(TakeLog().back(), Line("stop %ld", demo));
    EXPECT_FALSE(system->IsBgmPlaying());
    EXPECT_FALSE(system->GetBgm().IsEmpty());
    EXPECT_EQ(system->GetBgmCue(), "demo03");

    system->StopBgm();
    EXPECT_TRUE(system->GetBgm().IsEmpty());
    EXPECT_EQ(system->GetBgmCue(), "");
    system->StopBgm();
    EXPECT_THAT(TakeLog(), ElementsAre(Line("position %ld %ld", demo, 0), Line("stop %ld", demo)));
}

TEST_F(SoundCuesTest, DestructionUnloadsTheBanksAndReleasesEverySound) {
    StartLoaded();
    system->PlayEndingBgm();
    const std::vector<std::string> log = TakeLog();
    const auto created = std::count_if(log.begin(), log.end(),
                                       [](const std::string& line) { return line.rfind("create ", 0) == 0; });
    EXPECT_GT(created, 45);
    delete system;
    system = nullptr;
    const std::vector<std::string> after = TakeLog();
    const auto released = std::count_if(
        after.begin(), after.end(), [](const std::string& line) { return line.rfind("release ", 0) == 0; });
    EXPECT_EQ(released, created);
}

// An archive with one sound: every name falls back to it. Without sounds every
// cue is empty and its plays do nothing.
TEST(SoundCuesFallbackTest, MissingNamesUseTheFirstSoundAndNoSoundsPlaysNothing) {
    MbdWriter one;
    const int32_t slot = one.AddSound(EncodeSoundRecord({0, 0, 0, 0}, 16, 22050, 1));
    one.AddSoundName("only", slot);
    // A bank holds it, so every cue shares one sound.
    one.AddGroup({"SYSTEMSE", {slot}, {}, {}});
    {
        ServicesFixture fixture(one.Build());
        fixture.StartLoaded();
        for (int32_t id = 0; id < GameSystem::kSeCount; ++id) {
            EXPECT_EQ(fixture.Buffer(id), fixture.Buffer(0));
        }
        fixture.system->PlayTitleBgm();
        EXPECT_FALSE(fixture.system->GetBgm().IsEmpty());
    }
    ServicesFixture none(MbdWriter().Build());
    none.StartLoaded();
    none.TakeLog();
    for (int32_t id = 0; id < GameSystem::kSeCount; ++id) {
        EXPECT_TRUE(none.system->GetSeCue(id).IsEmpty());
        none.system->PlaySe(id);
    }
    none.system->StopAllSe();
    none.system->PlayTitleBgm();
    none.system->StopHeldBgm();
    EXPECT_TRUE(none.system->GetBgm().IsEmpty());
    EXPECT_TRUE(none.TakeLog().empty());
}

}  // namespace
}  // namespace mareldon
