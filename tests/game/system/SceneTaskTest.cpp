#include "game/system/SceneTask.h"

#include <gtest/gtest.h>

#include "tests/game/system/GameSystemFixture.h"

namespace mareldon {
namespace {

class SceneTaskTest : public testing::Test, public GameSystemFixture {
  protected:
    void SetUp() override {
        Start();
        Step();  // "boot" is current
        scene = system->GetCurrentScene();
        ASSERT_NE(scene, nullptr);
    }
    SceneTask* scene = nullptr;
};

TEST_F(SceneTaskTest, RequestFromAnotherTaskChangesNothing) {
    SceneTask other(system, "x", "y", 0);
    other.RequestSuccessor("");
    other.RequestBreakIn("z");
    EXPECT_EQ(system->GetCurrentScene(), scene);
    EXPECT_TRUE(system->GetRequestedSceneName().IsEmpty());
    EXPECT_TRUE(other.IsNotCurrentScene());
    EXPECT_FALSE(other.IsAliveWhileCurrent());
}

TEST_F(SceneTaskTest, FirstRequestWinsAndEndsTheScene) {
    EXPECT_TRUE(scene->IsAliveWhileCurrent());
    scene->RequestSuccessor("");
    EXPECT_EQ(system->GetRequestedSceneName(), "notice");
    EXPECT_EQ(system->GetCurrentScene(), nullptr);
    EXPECT_TRUE(system->GetCurrentSceneName().IsEmpty());
    EXPECT_FALSE(scene->IsAliveWhileCurrent());
    scene->RequestBreakIn("");
    scene->RequestSuccessor("quit");
    EXPECT_EQ(system->GetRequestedSceneName(), "notice");
}

TEST_F(SceneTaskTest, BreakInAndExplicitNames) {
    scene->RequestBreakIn("");
    EXPECT_EQ(system->GetRequestedSceneName(), "boot");
    root.CollectDead();
    system->GetCurrentScene()->RequestBreakIn("titlestart");
    EXPECT_EQ(system->GetRequestedSceneName(), "titlestart");
}

TEST_F(SceneTaskTest, SystemTaskTakesItsParentsOwner) {
    SystemTask overlay(system, 5);
    SystemTask child(&overlay, 0);
    EXPECT_EQ(child.GetOwner(), system);
    EXPECT_EQ(child.parent, &overlay);
    EXPECT_TRUE(child.IsNotCurrentScene());
}

}  // namespace
}  // namespace mareldon
