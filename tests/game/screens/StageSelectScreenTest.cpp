// The ship select over its hangar, in a live world on the recording device.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/render/scene/CameraNode.h"
#include "engine/render/scene/MeshObject.h"
#include "game/render/LightNodes.h"
#include "game/render/ShadowmapNode.h"
#include "game/screens/StageSelectScene.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/game/screens/StageSelectTestFixture.h"
#include "tools/archive/PlaceholderStages.h"

namespace mareldon {
namespace {

using Rules = StageSelectRules;

class StageSelectScreenTest : public testing::Test, public WorldScenesFixture {
  protected:
    StageSelectScreenTest() : WorldScenesFixture("shipselect") {}
    StageSelectScreen& Select() { return *static_cast<StageSelectScreen*>(screen); }
};

// The light nodes directly under `root`, by kind.
struct LightCount {
    int ambient = 0, directional = 0, specular = 0, fog = 0, shadow = 0;
};
LightCount CountLights(Object3D& root) {
    LightCount count;
    root.ForEachChildNode([&](Object3D& node) {
        if (dynamic_cast<AmbientLight*>(&node))
            ++count.ambient;
        else if (dynamic_cast<DirectionalSpecularLight*>(&node))
            ++count.specular;
        else if (dynamic_cast<DirectionalLight*>(&node))
            ++count.directional;
        else if (dynamic_cast<SimpleFog*>(&node))
            ++count.fog;
        else if (dynamic_cast<ShadowmapNode*>(&node))
            ++count.shadow;
    });
    return count;
}

TEST_F(StageSelectScreenTest, HangarTurntablesSlotsCamerasAndDefaultLights) {
    ASSERT_TRUE(RunWith(1));
    StageSelectScreen& s = Select();
    StageSelectScene* hangar = s.Background();
    ASSERT_NE(hangar, nullptr);
    for (int slot = 0; slot < StageSelectScene::kSlots; ++slot)
        EXPECT_NE(hangar->slots[slot], nullptr) << slot;
    ASSERT_NE(hangar->turntables[0], nullptr);
    ASSERT_NE(hangar->turntables[1], nullptr);
    EXPECT_NE(hangar->typeFiveNode, nullptr);
    EXPECT_NE(s.Preview(0)->sceneRoot, nullptr);
    EXPECT_EQ(s.BackgroundCamera()->farZ, 150.0f);
    EXPECT_EQ(s.PreviewCamera(0)->farZ, 150.0f);
    EXPECT_EQ(s.PreviewCamera(1)->farZ, 151.5f);
    EXPECT_EQ(s.PreviewCamera(1)->fov, 0.5235988f);

    // No light file in the data: the default set and the screen's shadow map.
    EXPECT_TRUE(s.UsesDefaultLights());
    const LightCount lights = CountLights(*s.BackgroundRoot());
    EXPECT_EQ(lights.ambient, 1);
    EXPECT_EQ(lights.directional, 2);
    EXPECT_EQ(lights.specular, 1);
    EXPECT_EQ(lights.fog, 1);
    EXPECT_EQ(lights.shadow, 2);
    ASSERT_NE(s.ShadowMap(), nullptr);
    EXPECT_EQ(s.ShadowMap()->ParentNode(), s.BackgroundRoot());

    // Player 1's ship stands on its front slot; player 2's turntable stays empty.
    ASSERT_NE(s.SlotModel(0), nullptr);
    EXPECT_EQ(s.SlotModel(0)->layerCount, 3) << "ship0";
    EXPECT_EQ(s.SlotModel(3), nullptr);

    // The turntable starts 10 out and turned; the slide-in brings it home.
    MeshObject* table = hangar->turntables[0];
    const float startX = table->GetPosition().x;
    const float startZ = table->GetRotation().z;
    EXPECT_NEAR(startZ, 5.235988f, 1e-4f);
    Steps(21);
    EXPECT_NEAR(table->GetPosition().x - startX, 10.0f, 1e-3f);
    EXPECT_NEAR(table->GetRotation().z, 0.0f, 1e-3f);
    EXPECT_TRUE(s.Rules().inputsEnabled);
    EXPECT_NE(s.ships[0], nullptr);
    EXPECT_TRUE(s.ships[0]->autoFire);
}

TEST_F(StageSelectScreenTest, HangarLightFileIsRead) {
    Files().files["STAGE_SOKO.lights"] = PlaceholderStageLightFile();
    ASSERT_TRUE(RunWith(1));
    EXPECT_FALSE(Select().UsesDefaultLights());
    const LightCount lights = CountLights(*Select().BackgroundRoot());
    // The file's ambient, directional and fog; its shadow map and the screen's.
    EXPECT_EQ(lights.ambient, 1);
    EXPECT_EQ(lights.directional, 1);
    EXPECT_EQ(lights.fog, 1);
    EXPECT_EQ(lights.shadow, 2);
}

TEST_F(StageSelectScreenTest, ThreeTurnsBringTheFirstSlotBackWithTheCurrentShip) {
    ASSERT_TRUE(RunWith(1));
    StageSelectScreen& s = Select();
    Steps(21);
    ShipModelView* first = s.SlotModel(0);
    ASSERT_NE(first, nullptr);
    Press(Rules::kLeft);
    EXPECT_EQ(system->GetPlayer(1).shipType, 3);
    EXPECT_EQ(s.Rules().frontSlot[0], 2);
    // The slot now in front gets its ship from the next step on.
    Step();
    ASSERT_NE(s.SlotModel(2), nullptr);
    EXPECT_EQ(s.SlotModel(2)->layerCount, 6) << "ship3";
    Steps(23);
    Press(Rules::kLeft);
    Steps(24);
    ASSERT_NE(s.SlotModel(1), nullptr);
    EXPECT_EQ(s.SlotModel(1)->layerCount, 5) << "ship2";
    Press(Rules::kLeft);
    Steps(24);
    EXPECT_EQ(s.Rules().frontSlot[0], 0);
    EXPECT_EQ(system->GetPlayer(1).shipType, 1);
    ASSERT_NE(s.SlotModel(0), nullptr);
    EXPECT_EQ(s.SlotModel(0)->layerCount, 4) << "ship1 on the first slot again";
    // The slots that faced the player keep their ships.
    ASSERT_NE(s.SlotModel(2), nullptr);
    EXPECT_EQ(s.SlotModel(2)->layerCount, 6);
    ASSERT_NE(s.SlotModel(1), nullptr);
    EXPECT_EQ(s.SlotModel(1)->layerCount, 5);
    // The turntable turned a whole circle (left turns it clockwise).
    EXPECT_NEAR(s.Background()->turntables[0]->GetRotation().z, -2.0f * 3.14159265f, 1e-3f);
}

// Each step the front slot shows its ship as a new view would: the same ship's view is
// set back in place, another ship gets a view of its own model.
TEST_F(StageSelectScreenTest, FrontSlotViewStartsAfreshEachStep) {
    ASSERT_TRUE(RunWith(1));
    Steps(21);
    ShipModelView* view = Select().SlotModel(0);
    ASSERT_NE(view, nullptr);
    view->SetPosition(Vec3{3.0f, 0.0f, 0.0f});
    view->SetMotionTime(5.0f);
    Steps(2);
    ASSERT_EQ(Select().SlotModel(0), view);
    EXPECT_EQ(view->GetPosition().x, 0.0f);
    EXPECT_NEAR(view->GetMotionTime(), 1.0f / 60.0f, 1e-5f) << "one step of its own clock, as a new view";
    EXPECT_EQ(view->layerCount, 3);
    Press(Rules::kRight);
    Step();
    ASSERT_NE(Select().SlotModel(1), nullptr);
    EXPECT_EQ(Select().SlotModel(1)->layerCount, 4) << "ship1";
    EXPECT_NEAR(Select().SlotModel(1)->GetMotionTime(), 1.0f / 60.0f, 1e-5f);
    EXPECT_EQ(Select().SlotModel(0), view) << "the slot that turned away keeps its ship";
}

TEST_F(StageSelectScreenTest, OnePlayerWithoutInputEndsInNextStageWithIsland) {
    ASSERT_TRUE(RunWith(1));
    EXPECT_EQ(system->GetStartLock(), 0);
    int steps = 0;
    while (Select().Rules().phase == Rules::kShip && steps < 1100) {
        Step();
        ++steps;
    }
    EXPECT_NEAR(steps, 1008, 1);
    EXPECT_EQ(system->GetStartLock(), 1);
    EXPECT_EQ(Select().ships[0], nullptr) << "the flying ship goes with the ship phase";
    while (!IsCurrent("nextstage") && steps < 2200) {
        Step();
        ++steps;
    }
    EXPECT_NEAR(steps, 1008 + 1008 + 16, 2);
    EXPECT_EQ(system->GetGameMode(), 1);
    EXPECT_EQ(system->GetStartLock(), 0);
    EXPECT_EQ(system->GetPlayer(1).shipType, 0);
    int leaving = 0;
    while (!gone && leaving < 100) {
        Step();
        ++leaving;
    }
    EXPECT_NEAR(leaving, 30, 1);
}

TEST_F(StageSelectScreenTest, PairChoosesTagAndVolcanoWithScreenDrawn) {
    AddScreen();
    ASSERT_TRUE(RunWith(3));
    system->GetPlayer(1).continueCount = 2;
    Steps(21);
    EXPECT_EQ(system->GetPlayer(1).shipType, 0);
    EXPECT_EQ(system->GetPlayer(2).shipType, 1);
    // Right for player 1 skips player 2's ship.
    Press(Rules::kRight);
    EXPECT_EQ(system->GetPlayer(1).shipType, 2);
    Steps(24);
    Press(Rules::kConfirm, Rules::kConfirm);
    Press(0, Rules::kConfirm);
    Step();
    ASSERT_EQ(Select().Rules().phase, Rules::kScoreMode);
    EXPECT_EQ(Select().Rules().leadingPlayer, 1);
    Steps(16);
    Press(Rules::kRight);
    Press(Rules::kConfirm);
    EXPECT_TRUE(system->IsPairMode());
    EXPECT_EQ(system->GetPlayer(1).continueCount, 0);
    Steps(16);
    ASSERT_EQ(Select().Rules().phase, Rules::kStage);
    Steps(16);
    Press(Rules::kLeft);
    Press(Rules::kConfirm);
    EXPECT_EQ(system->GetGameMode(), 2);
    Steps(17);
    EXPECT_TRUE(IsCurrent("nextstage"));
}

TEST_F(StageSelectScreenTest, MissingModelsBuildNothingAndDoNotCrash) {
    ASSERT_TRUE(RunWith(1));
    // A name not in the archive binds its first model, which has none of the nodes.
    StageSelectScene* missing = new StageSelectScene(Select().BackgroundRoot(), "NO_SUCH_HANGAR");
    EXPECT_EQ(missing->turntables[0], nullptr);
    EXPECT_EQ(missing->slots[0], nullptr);
    EXPECT_EQ(missing->CameraMount(), missing);
    ShipModelView* view =
        new ShipModelView(Select().BackgroundRoot(), Vec3{}, Vec3{1.0f, 0.0f, 0.0f}, String("NO_SUCH_SHIP"));
    EXPECT_EQ(view->layerCount, 0);
    EXPECT_NEAR(view->GetRotation().y, 1.5707963f, 1e-5f) << "turned to face +x";
    Steps(3);
}

}  // namespace
}  // namespace mareldon
