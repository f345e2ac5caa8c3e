#include "game/bosses/EventTimeline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/objects/Enemy.h"
#include "tests/engine/render/scene/SceneTestNodes.h"

namespace mareldon {
namespace {

// An owner that notes which callback fired, at which step and frame.
class CountingOwner : public Enemy {
  public:
    explicit CountingOwner(TaskObject* parent) : Enemy(parent, 10.0f) {}

    void A(EventTimeline&) { fired.push_back("A"); }
    void B(EventTimeline&) { fired.push_back("B"); }
    // The frame being consumed: the counter has already moved past it.
    void Frame(EventTimeline& timeline) {
        frames.push_back(timeline.GetFrame() - 1);
        steps.push_back(step);
    }
    void StopIt(EventTimeline& timeline) { timeline.Stop(); }

    int32_t step = 0;
    std::vector<std::string> fired;
    std::vector<int32_t> frames;
    std::vector<int32_t> steps;
};

struct EventTimelineTest : ::testing::Test {
    // One owner step: feed, then the timeline's update.
    void Feed(float amount) {
        timeline->AddTime(amount);
        timeline->Update();
        ++owner->step;
    }

    SceneTestRoot root;
    CountingOwner* owner = new CountingOwner(&root);
    EventTimeline* timeline = new EventTimeline(owner);
};

TEST_F(EventTimelineTest, ActionsOfOneFrameFireNewestFirst) {
    timeline->AddEvent(0, owner, &CountingOwner::Frame);
    timeline->AddEvent(30, owner, &CountingOwner::A);
    timeline->AddEvent(30, owner, &CountingOwner::B);
    timeline->Start();
    for (int i = 0; i < 31; ++i)
        Feed(1.0f);
    EXPECT_EQ(owner->fired, (std::vector<std::string>{"B", "A"}));
}

TEST_F(EventTimelineTest, EntriesAddedOutOfOrderStayAscending) {
    for (int frame : {5, 2, 9, 0, 7})
        timeline->AddEvent(frame, owner, &CountingOwner::Frame);
    timeline->Start();
    Feed(10.0f);
    EXPECT_EQ(owner->frames, (std::vector<int32_t>{0, 2, 5, 7, 9}));
}

TEST_F(EventTimelineTest, OnlyWholeUnitsAreConsumed) {
    timeline->AddEvent(0, owner, &CountingOwner::Frame);
    timeline->Start();
    Feed(0.9f);
    EXPECT_TRUE(owner->frames.empty());
    EXPECT_EQ(timeline->GetFrame(), 0);
    Feed(0.2f);
    EXPECT_EQ(owner->frames, std::vector<int32_t>{0});
    EXPECT_NEAR(timeline->GetAccumulator(), 0.1f, 1e-6f);
}

TEST_F(EventTimelineTest, AnEmptyStartedTimelineCountsFramesWithoutFiring) {
    timeline->Start();
    Feed(3.0f);
    Feed(2.0f);
    EXPECT_EQ(timeline->GetFrame(), 5);
}

TEST_F(EventTimelineTest, ALoopRepeatsTheCycleEveryLoopFramePlusOneUnits) {
    timeline->AddEvent(0, owner, &CountingOwner::Frame);
    timeline->AddEvent(1510, owner, TimelineLoopCallback);
    timeline->Start();
    for (int i = 0; i < 3023; ++i)
        Feed(1.0f);
    EXPECT_EQ(owner->steps, (std::vector<int32_t>{0, 1511, 3022}));
}

TEST_F(EventTimelineTest, ALumpFiresEveryEntryInFrameOrderInOneStep) {
    for (int frame = 0; frame < 100; ++frame)
        timeline->AddEvent(frame, owner, &CountingOwner::Frame);
    timeline->Start();
    Feed(100.0f);
    ASSERT_EQ(owner->frames.size(), 100u);
    for (int frame = 0; frame < 100; ++frame) {
        EXPECT_EQ(owner->frames[frame], frame);
        EXPECT_EQ(owner->steps[frame], 0);
    }
}

TEST_F(EventTimelineTest, AStoppedTimelineDiscardsWhatItIsFed) {
    timeline->AddEvent(0, owner, &CountingOwner::Frame);
    timeline->AddEvent(500, owner, &CountingOwner::A);
    for (int i = 0; i < 500; ++i)
        Feed(1.0f);
    EXPECT_EQ(timeline->GetAccumulator(), 0.0f);
    timeline->Start();
    Feed(1.0f);
    EXPECT_EQ(owner->steps, std::vector<int32_t>{500});
    EXPECT_TRUE(owner->fired.empty());
}

TEST_F(EventTimelineTest, StartKeepsTheFrameAndRestartRewinds) {
    timeline->AddEvent(0, owner, &CountingOwner::Frame);
    timeline->AddEvent(3, owner, &CountingOwner::Frame);
    timeline->Start();
    Feed(2.0f);
    timeline->Stop();
    EXPECT_EQ(timeline->GetFrame(), 0);
    timeline->Start();
    Feed(1.0f);
    timeline->Rewind();
    Feed(4.0f);
    EXPECT_EQ(owner->frames, (std::vector<int32_t>{0, 0, 0, 3}));

    owner->frames.clear();
    Feed(2.0f);  // frames 4 and 5: past the last entry
    timeline->Restart();
    Feed(1.0f);
    EXPECT_EQ(owner->frames, std::vector<int32_t>{0});
}

TEST_F(EventTimelineTest, AKillZeroesTheOwnerAndNothingFiresAfterwards) {
    timeline->AddEvent(0, owner, &CountingOwner::Frame);
    timeline->AddEvent(120, owner, TimelineKillCallback);
    timeline->AddEvent(121, owner, &CountingOwner::A);
    timeline->Start();
    for (int i = 0; i < 121; ++i)
        Feed(1.0f);
    EXPECT_EQ(owner->durability, 0.0f);
    EXPECT_TRUE(timeline->IsStopped());
    for (int i = 0; i < 200; ++i)
        Feed(5.0f);
    EXPECT_EQ(owner->frames, std::vector<int32_t>{0});
    EXPECT_TRUE(owner->fired.empty());
}

TEST_F(EventTimelineTest, AStopInsideALumpEndsTheUpdateAtFrameZero) {
    timeline->AddEvent(0, owner, &CountingOwner::Frame);
    timeline->AddEvent(2, owner, &CountingOwner::StopIt);
    timeline->AddEvent(4, owner, &CountingOwner::A);
    timeline->Start();
    Feed(10.0f);
    EXPECT_EQ(timeline->GetFrame(), 0) << "the 7 units left over are dropped, not counted";
    EXPECT_TRUE(owner->fired.empty());
    timeline->Start();
    Feed(1.0f);
    EXPECT_EQ(owner->frames, (std::vector<int32_t>{0, 0})) << "a later start begins at the first entry";
}

TEST_F(EventTimelineTest, ALoopInsideALumpOnlyCountsTheRemainingUnits) {
    timeline->AddEvent(0, owner, &CountingOwner::Frame);
    timeline->AddEvent(1, owner, &CountingOwner::Frame);
    timeline->AddEvent(3, owner, TimelineLoopCallback);
    timeline->Start();
    Feed(6.0f);
    EXPECT_EQ(owner->frames, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(timeline->GetFrame(), 2);
    Feed(2.0f);
    EXPECT_EQ(owner->frames, (std::vector<int32_t>{0, 1})) << "frames 2 and 3 hold no entry";
}

TEST_F(EventTimelineTest, FedByItsOwnerAsAChildTask) {
    timeline->AddEvent(2, owner, &CountingOwner::A);
    timeline->Start();
    for (int i = 0; i < 3; ++i) {
        timeline->AddTime(1.0f);
        owner->Update();
    }
    EXPECT_EQ(owner->fired, std::vector<std::string>{"A"});
}

}  // namespace
}  // namespace mareldon
