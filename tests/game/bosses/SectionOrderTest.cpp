#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "game/bosses/BossParts.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/engine/render/scene/SceneTestNodes.h"
#include "tests/game/bosses/Boss2Fixture.h"

namespace mareldon {
namespace {

struct NoteAction {
    const char* name;
};
struct NoteStep {
    int32_t frame;
    NoteAction actions[4];
    int32_t count;
};

class NoteRunner {
  public:
    NoteRunner(std::vector<std::string>* fired, const NoteAction& action) : fired(fired), action(&action) {}
    void Run(EventTimeline&) { fired->push_back(action->name); }

  private:
    std::vector<std::string>* fired;
    const NoteAction* action;
};

// The rule every boss adds its section sequences by: the actions listed at one frame run
// last listed first, other frames in frame order.
TEST(SectionOrderTest, TheActionsOfOneFrameRunLastListedFirst) {
    SceneTestRoot top;
    StaticModelRoot owner(&top);
    auto* timeline = new EventTimeline(&owner);
    const NoteStep steps[] = {{0, {{"a"}, {"b"}}, 2}, {2, {{"c"}, {"d"}, {"e"}}, 3}};
    std::vector<std::string> fired;
    std::deque<NoteRunner> runners;
    AddSectionSteps(*timeline, &fired, steps, 2, runners);
    timeline->Start();
    timeline->AddTime(3.0f);
    timeline->OnUpdatePre();
    EXPECT_EQ(fired, (std::vector<std::string>{"b", "a", "e", "d", "c"}));
}

// The stage-2 boss's Layer1 lists, at frame 180 of its destruction, the big blast and then
// sound 5: the sound comes first.
TEST(SectionOrderTest, AStage2SectionRunsItsFramesActionsLastListedFirst) {
    Boss2StageFixture f;
    ASSERT_TRUE(f.Start());
    Boss2LayerPart* gear = f.Part(1);
    ASSERT_NE(gear, nullptr);
    gear->StartDestruction();
    int32_t blast = -1;
    for (int i = 0; i < 400 && blast < 0; ++i) {
        f.BossStep();
        const std::vector<WorldEvent>& events = f.log.Events();
        for (size_t k = 0; k < events.size(); ++k) {
            if (events[k].operation == "SpawnEffect" && events[k].arguments.rfind("EXPLOSION_BS01", 0) == 0)
                blast = int32_t(k);
        }
    }
    ASSERT_GE(blast, 0);
    const std::vector<WorldEvent>& events = f.log.Events();
    int32_t sound = -1;
    for (size_t k = 0; k < events.size(); ++k) {
        if (events[k].step == events[size_t(blast)].step && events[k].operation == "PlaySe" &&
            events[k].arguments == "5")
            sound = int32_t(k);
    }
    ASSERT_GE(sound, 0) << "sound 5 in the blast's step";
    EXPECT_LT(sound, blast);
}

}  // namespace
}  // namespace mareldon
