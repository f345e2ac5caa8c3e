#include "game/stage/GameWorldScreen.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/core/PlayerInput.h"
#include "engine/render/scene/CameraNode.h"
#include "game/render/ScreenDrawers.h"
#include "game/screens/ResultScreen.h"
#include "game/stage/EffectModel.h"
#include "game/stage/FallingSprite.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/game/stage/WorldScreenFixture.h"
#include "tools/archive/MbdWriter.h"
#include "tools/archive/PlaceholderSounds.h"
#include "tools/archive/PlaceholderStages.h"

namespace mareldon {
namespace {

// The number of children of a task that are of type T.
template <typename T>
int CountChildren(TaskObject& task) {
    int count = 0;
    TreeNode* node = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, node = node->next) {
        if (dynamic_cast<T*>(static_cast<TaskObject*>(node)) != nullptr)
            ++count;
    }
    return count;
}

// An archive with the stage models named (each with its parts) and the sounds.
std::vector<uint8_t> StageArchive(const std::vector<std::pair<const char*, StageModelParts>>& stages) {
    MbdWriter writer;
    for (const auto& [name, parts] : stages)
        writer.AddModel(name, PlaceholderStageModel(writer, name, parts));
    const PlaceholderSoundSlots sounds = AddPlaceholderSounds(writer);
    writer.AddGroup({"SYSTEMSE", sounds.effects, {}, {}});
    writer.AddGroup({"SYSTEMBGM", sounds.tunes, {}, {}});
    return writer.Build();
}

class GameWorldScreenTest : public testing::Test, public WorldScreenFixture {
  protected:
    // Runs with player 1 in play until the ship flies and the stage clock runs.
    void StartWithShip() {
        Enter(1);
        ASSERT_TRUE(StartWorld());
        ASSERT_GE(StepUntil([&] { return screen->ships[0] != nullptr && screen->GetStageTime() > 0.0f; }, 10),
                  0);
    }
};

// Entry 6 starts its time limit at once: the timer falls a step period a step while a
// ship flies, every enemy bullet goes from 0.3 s left, the clear comes in the step the
// time passes -1.3 s, "nextstage" 12 s later and the screen goes 17 steps after that.
TEST_F(GameWorldScreenTest, TheTimeLimitRunsOutIntoTheClearAndTheNextStage) {
    StartWithShip();
    EXPECT_EQ(screen->GetStageEntryIndex(), 6);
    float expected = screen->GetRawTimeLeft();
    int firstCountedStep = -1;
    while (screen->IsNotCleared() && screen->GetRawTimeLeft() > -2.0f) {
        // One bullet each step shows when the cancelling begins.
        screen->FireEnemyBullet({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.1f}, 0, 1.0f);
        const bool running = screen->IsTimeLimitRunning();
        const int step = screen->stepCount;
        Step();
        if (running) {
            if (firstCountedStep < 0)
                firstCountedStep = step;
            expected -= kPeriod;
            if (!screen->IsNotCleared())
                break;
            ASSERT_EQ(screen->GetRawTimeLeft(), expected) << "step " << step;
        }
    }
    const int firstCancelStep = StepOf("CancelAllEnemyBullets");
    // The same arithmetic as the screen: the first count below 0.3, the first below -1.3.
    float t = 90.0f;
    int cancelAt = -1;
    int clearAt = -1;
    for (int k = 0; clearAt < 0; ++k) {
        t -= kPeriod;
        if (cancelAt < 0 && t <= 0.3f)
            cancelAt = firstCountedStep + k;
        if (t < -1.3f)
            clearAt = firstCountedStep + k;
    }
    EXPECT_EQ(firstCancelStep, cancelAt);
    EXPECT_EQ(StepOf("BeginStageClear"), clearAt);
    EXPECT_EQ(screen->GetClearTime(), 0);
    EXPECT_EQ(screen->GetRawTimeLeft(), GameWorldScreen::kClearFloor);
    EXPECT_TRUE(system->IsStartBlocked());
    // The ship counted the step of the clear down already.
    EXPECT_EQ(screen->ships[0]->protectionTimer, GameWorldScreen::kClearProtection - 1);
    EXPECT_EQ(CountChildren<ResultScreen>(*screen), 1);

    float countdown = GameWorldScreen::kClearCountdown;
    int requestAt = clearAt;
    while (!(countdown - kPeriod < 0.0f)) {
        countdown -= kPeriod;
        ++requestAt;
    }
    ++requestAt;
    ASSERT_GE(StepUntil([&] { return system->GetCurrentSceneName().Equals("nextstage"); }, 800), 0);
    EXPECT_EQ(StepOf("RequestSuccessor", "nextstage"), requestAt);
    EXPECT_EQ(log.Count("RequestSuccessor"), 1);
    // Gone after exactly the exit countdown, the step of the request counting as the first.
    const int left = StepUntil([&] { return screenGone; }, 100);
    EXPECT_EQ(left + 1, GameWorldScreen::kDefaultExitCountdown);
}

// Without a ship the world stands: the stage clock holds, the stage music pauses once
// and a player offered a continue hears "conti", looped, once. The respawn step still
// runs frozen; the next resumes the music and stops "conti".
TEST_F(GameWorldScreenTest, NoShipFreezesTheWorldAndPlaysTheContinueCue) {
    ASSERT_TRUE(StartWorld());
    system->GetPlayerFlags(1)[1] = 1;
    ASSERT_TRUE(system->IsPlayerStatus9To11(1));
    const float clock = screen->GetStageTime();
    for (int i = 0; i < 100; ++i)
        Step();
    EXPECT_EQ(screen->GetStageTime(), clock);
    EXPECT_EQ(log.Count("CuePause"), 1);
    EXPECT_EQ(log.Count("CuePlay", "conti 1"), 1);
    EXPECT_TRUE(screen->IsMusicPaused());

    system->GetPlayerFlags(1)[1] = 0;
    Enter(1);
    Step();
    ASSERT_NE(screen->ships[0], nullptr);
    EXPECT_EQ(log.Count("CueResume"), 0) << "the respawn step is still frozen";
    EXPECT_EQ(screen->GetStageTime(), clock);
    Step();
    EXPECT_EQ(log.Count("CueResume"), 1);
    EXPECT_EQ(log.Count("CueStop", "conti"), 1);
    EXPECT_GT(screen->GetStageTime(), clock);
    // One step of the new ship: protection and entry flight have begun.
    EXPECT_EQ(screen->ships[0]->protectionTimer, GameWorldScreen::kSpawnProtection - 1);
    EXPECT_FLOAT_EQ(screen->ships[0]->GetPosition().z, GameWorldScreen::kRespawnZ + PlayerShip::kEntryStep);
}

TEST_F(GameWorldScreenTest, TheCameraFollowsTheShipsSoftlyAfterAChange) {
    Enter(1);
    Enter(2);
    ASSERT_TRUE(StartWorld());
    ASSERT_GE(StepUntil([&] { return screen->ships[0] && screen->ships[1]; }, 5), 0);
    Step();
    screen->ships[0]->SetPosition({3.0f, 0.0f, -6.0f});
    screen->ships[1]->SetPosition({5.0f, 0.0f, -6.0f});
    screen->cameraRig->SetPosition({0.0f, 0.0f, 0.0f});
    Step();
    // Mean 4 clamps to 1.5, times 3.33 is 5; (0 - 5) x 0.3 clamps to -0.9, squared in the hold.
    EXPECT_NEAR(screen->cameraRig->GetPosition().x, 0.81f, 1e-6f);
}

// The entry search stops at the first entry whose model exists, and never runs past
// the table: with no stage model at all the requested entry is built without one.
TEST(GameWorldScreenEntryTest, AMissingStageModelLoadsTheNextEntryAndNoneAtAllStillBuilds) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, StageModelParts>> stages;
        int32_t requested;
        int32_t loaded;
        float timeLeft;
        const char* model;  // whose quad hangs under the scene root; none when empty
    };
    const Case cases[] = {
        {"next", {{"STAGE_HI", {}}, {"STAGE_KU", {}}}, 3, 4, 90.0f, "STAGE_KU"},
        {"none", {}, 12, 12, 90.0f, ""},
        {"bare", {{"STAGE_UMI", {false, false}}}, 3, 3, 60.0f, "STAGE_UMI"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WorldScreenFixture fixture(StageArchive(c.stages));
        fixture.plainWorld = true;
        fixture.entry = c.requested;
        ASSERT_TRUE(fixture.StartWorld());
        GameWorldScreen& screen = *fixture.screen;
        EXPECT_EQ(screen.GetStageEntryIndex(), c.loaded);
        EXPECT_EQ(screen.GetRawTimeLeft(), c.timeLeft);
        ASSERT_NE(screen.GetStageScene(), nullptr);
        // A model without its nodes gets the scene in their place.
        EXPECT_NE(screen.GetStageScene()->sceneRoot, nullptr);
        EXPECT_NE(screen.GetStageScene()->keptTypeFiveNode, nullptr);
        int quads = 0;
        screen.GetStageScene()->sceneRoot->ForEachChildNode([&](Object3D& child) {
            quads += child.name.Equals((std::string(c.model) + ":Layer1").c_str()) ? 1 : 0;
        });
        EXPECT_EQ(quads, c.model[0] != '\0' ? 1 : 0);
        fixture.Enter(1);
        for (int i = 0; i < 30; ++i)
            fixture.Step();
        EXPECT_NE(screen.ships[0], nullptr);
    }
}

// With the placeholder stage's camera mount, world +x is screen right and +z screen up.
TEST_F(GameWorldScreenTest, TheStageCameraLooksDownOnThePlayField) {
    ASSERT_TRUE(StartWorld());
    const Vec3 centre = screen->ProjectToScreen({0.0f, 0.0f, 0.0f});
    EXPECT_NEAR(centre.x, 240.0f, 1e-3f);
    EXPECT_NEAR(centre.y, 320.0f, 1e-3f);
    const Vec3 right = screen->ProjectToScreen({1.0f, 0.0f, 0.0f});
    const Vec3 up = screen->ProjectToScreen({0.0f, 0.0f, 1.0f});
    EXPECT_GT(right.x, centre.x + 1.0f);
    EXPECT_NEAR(right.y, centre.y, 1e-3f);
    EXPECT_LT(up.y, centre.y - 1.0f);
    EXPECT_NEAR(up.x, centre.x, 1e-3f);
    EXPECT_GT(screen->ProjectRadius({0.0f, 0.0f, 0.0f}, 1.0f), 0.0f);
}

TEST_F(GameWorldScreenTest, PlayerQueriesWithTheDummyShipAndTies) {
    ASSERT_TRUE(StartWorld());
    // No ship: the dummy, never null.
    PlayerShip* dummy = screen->GetPlayer(3);
    ASSERT_NE(dummy, nullptr);
    EXPECT_EQ(dummy->GetPosition().z, -100.0f);
    EXPECT_EQ(dummy->GetPlayerMask(), 0);
    EXPECT_FALSE(dummy->GetDrawSelf());
    EXPECT_EQ(screen->GetNearestPlayer({0.0f, 0.0f, 0.0f}), dummy);
    EXPECT_EQ(screen->GetPlayer(1), nullptr);
    EXPECT_EQ(screen->GetPlayer(4), nullptr);

    Enter(1);
    Enter(2);
    ASSERT_GE(StepUntil([&] { return screen->ships[0] && screen->ships[1]; }, 5), 0);
    screen->ships[0]->SetPosition({-1.0f, 0.0f, 0.0f});
    screen->ships[1]->SetPosition({1.0f, 0.0f, 0.0f});
    EXPECT_EQ(screen->GetNearestPlayer({0.0f, 0.0f, 5.0f}), screen->ships[1]);
    EXPECT_EQ(screen->GetNearestPlayer({-0.1f, 0.0f, 0.0f}), screen->ships[0]);
    // Either ship, by the low bit of the screen's generator.
    Random copy = screen->GetRandom();
    for (int i = 0; i < 8; ++i) {
        PlayerShip* expected = screen->ships[copy.Next() & 1];
        EXPECT_EQ(screen->GetPlayer(3), expected);
    }
    // Player 1 may go left while the ships are at most 7.2 apart.
    screen->ships[0]->SetPosition({0.5f, 0.0f, 0.0f});
    screen->ships[1]->SetPosition({7.5f, 0.0f, 0.0f});
    EXPECT_TRUE(screen->CanMoveNegativeX(1));
    screen->ships[0]->SetPosition({0.0f, 0.0f, 0.0f});
    EXPECT_FALSE(screen->CanMoveNegativeX(1));
    EXPECT_FALSE(screen->CanMovePositiveX(2));
    EXPECT_TRUE(screen->CanMovePositiveX(1));
    // A deleted ship leaves its slot.
    delete screen->ships[1];
    EXPECT_EQ(screen->ships[1], nullptr);
    EXPECT_EQ(screen->GetPlayer(3), screen->ships[0]);
}

TEST_F(GameWorldScreenTest, SpawnsRespectTheShipTypeAndTheOtherShip) {
    ASSERT_TRUE(StartWorld());
    system->GetPlayer(1).shipType = 2;
    system->GetPlayer(1).powerLevel = 3;
    system->GetPlayer(2).shipType = 7;
    screen->SpawnPlayers(3);
    ASSERT_NE(screen->ships[0], nullptr);
    EXPECT_EQ(screen->ships[1], nullptr) << "no ship of an unknown type";
    EXPECT_EQ(screen->ships[0]->GetShipType(), 2);
    EXPECT_EQ(screen->ships[0]->GetPowerLevel(), 3);
    EXPECT_EQ(screen->ships[0]->entryFlag, 1);
    EXPECT_FLOAT_EQ(screen->ships[0]->moveSpeed, 0.08f);

    // The respawn x stays within 6.5 of the other ship.
    system->GetPlayer(2).shipType = 1;
    screen->ships[0]->SetPosition({-4.0f, 0.0f, 0.0f});
    screen->SpawnPlayers(2);
    ASSERT_NE(screen->ships[1], nullptr);
    EXPECT_EQ(screen->ships[1]->GetPosition().x, 0.0f);
    screen->ships[0]->SetPosition({-8.0f, 0.0f, 0.0f});
    screen->SpawnPlayers(2);
    EXPECT_FLOAT_EQ(screen->ships[1]->GetPosition().x, -1.5f);

    // The front-end spawn replaces the ships, at fixed places, with the players' inputs.
    screen->SpawnPlayersAtStart(3);
    EXPECT_EQ(screen->ships[0]->GetPosition().x, -2.0f);
    EXPECT_EQ(screen->ships[1]->GetPosition().x, 2.0f);
    EXPECT_EQ(screen->ships[0]->GetPowerLevel(), 0);
    EXPECT_NE(screen->ships[0]->GetInput().Get(), screen->ships[1]->GetInput().Get());
    EXPECT_EQ(log.Count("SpawnPlayersAtStart"), 2);
}

// Fire refusals of the screen itself (clear, bomb, no ship), and a fired bullet's
// muzzle flash under the effect parent.
TEST_F(GameWorldScreenTest, FiringFollowsTheScreensState) {
    StartWithShip();
    const Vec3 at{0.0f, 0.0f, 2.0f};
    const Vec3 v{0.0f, 0.0f, -0.1f};
    EXPECT_NE(screen->FireEnemyBullet(at, v, 3, 1.0f), nullptr);
    EXPECT_EQ(CountChildren<EffectModel>(*screen->effectParent), 1);
    EXPECT_EQ(log.Count("SpawnEffect"), 1);
    EXPECT_EQ(screen->FireEnemyBullet(at, {0.0f, 0.5f, 0.0f}, 3, 1.0f), nullptr);
    screen->SetBombActive(true);
    screen->bombOwnerMask = 1;
    EXPECT_EQ(screen->FireEnemyBullet(at, v, 3, 1.0f), nullptr);
    EXPECT_FALSE(screen->CanPlayerAct(1));
    EXPECT_TRUE(screen->CanPlayerAct(2));
    screen->SetBombActive(false);
    EXPECT_EQ(screen->bombOwnerMask, 0);
    screen->BeginStageClear();
    screen->BeginStageClear();
    EXPECT_EQ(CountChildren<ResultScreen>(*screen), 1);
    EXPECT_EQ(log.Count("BeginStageClear"), 1);
    EXPECT_EQ(screen->FireEnemyBullet(at, v, 3, 1.0f), nullptr);
    EXPECT_FALSE(screen->CanPlayerAct(1));
    EXPECT_EQ(log.Count("SpawnEffect"), 1);
    EXPECT_EQ(log.Count("FireEnemyBullet", "refused clear"), 1);
    EXPECT_EQ(log.Count("FireEnemyBullet", "refused bomb"), 1);
}

// Pop-ups: a group keeps the four newest; the newest is updated last and flagged; a
// newest that dies is forgotten.
TEST_F(GameWorldScreenTest, PopupsKeepTheFourNewestAndForgetTheDead) {
    StartWithShip();
    TaskObject* last = nullptr;
    for (int i = 0; i < 5; ++i)
        last = screen->CreateFallingSprite({}, {100.0f, 100.0f, 0.0f}, i, 1);
    EXPECT_EQ(screen->CreateFallingSprite({}, {}, 9, 3), nullptr);
    TaskObject* group = static_cast<TaskObject*>(last->parent);
    EXPECT_EQ(group->childCount, 4);
    EXPECT_EQ(static_cast<FallingSprite*>(group->firstChild)->value, 1);
    TaskObject* gravity = screen->CreateGravitySprite({}, {}, 7, 2);
    Step();
    EXPECT_EQ(group->firstChild->prev, last) << "the newest is last";
    EXPECT_EQ(static_cast<FallingSprite*>(last)->newest, 1);
    EXPECT_EQ(static_cast<FallingSprite*>(group->firstChild)->newest, 0);
    EXPECT_EQ(static_cast<GravitySprite*>(gravity)->newest, 1);
    for (int i = 0; i < FallingSprite::kLifeSteps + 1; ++i)
        Step();
    EXPECT_EQ(group->childCount, 0);
    // The dead newest left no pointer behind: ordering an empty group is safe.
    Step();
    TaskObject* again = screen->CreateFallingSprite({}, {}, 3, 1);
    Step();
    EXPECT_EQ(static_cast<FallingSprite*>(again)->newest, 1);
}

TEST_F(GameWorldScreenTest, ServicesAtTheirEdges) {
    ASSERT_TRUE(StartWorld());
    EXPECT_TRUE(screen->JoinGroup(5, 1));
    EXPECT_TRUE(screen->JoinGroup(5, 1));
    EXPECT_FALSE(screen->JoinGroup(5, 2));
    screen->LeaveGroup(5);
    screen->LeaveGroup(5);
    EXPECT_TRUE(screen->JoinGroup(5, 2));

    EXPECT_EQ(screen->GetKillPercent(1), 0);
    for (int i = 0; i < 7; ++i)
        screen->CountAppearedEnemy();
    for (int i = 0; i < 3; ++i)
        screen->CountKill(1);
    EXPECT_EQ(screen->GetKillPercent(1), 42);
    EXPECT_EQ(screen->GetKillPercent(2), 0);

    EXPECT_FLOAT_EQ(screen->GetDifficultyScale(), 4 * 0.14285715f);
    EXPECT_EQ(screen->GetPlayerSlot(7), screen->GetPlayerSlot(0));
    EXPECT_NE(screen->GetPlayerSlot(1), screen->GetPlayerSlot(2));

    const ReflectGauge full{2, 1.0f};
    screen->SetReflectGauge(2, &full);
    EXPECT_EQ(screen->GetReflectGauge(2).state, 2);
    EXPECT_EQ(screen->GetReflectGauge(1).state, 0);

    // Explosion sounds follow the screen's generator.
    Random copy = screen->GetRandom();
    screen->PlayExplosionSeRandom();
    const uint32_t r = copy.Next();
    EXPECT_EQ(log.Events().back().arguments, r % 3 < 2 ? "2" : "3");
}

TEST_F(GameWorldScreenTest, ShotSoundOnlyInLivePlay) {
    plainWorld = true;
    livePlay = 0;
    ASSERT_TRUE(StartWorld());
    screen->PlayShotSe();
    EXPECT_EQ(log.Count("PlaySe"), 0);
}

// Music off: no cue is ever touched, through the start, a no-ship phase with a
// continue on offer, a respawn and a clear.
TEST_F(GameWorldScreenTest, MusicOffTouchesNoCue) {
    plainWorld = true;
    musicOn = 0;
    flow.stageResult = nullptr;  // the result overlay's own sound effects are not the world's music
    ASSERT_TRUE(StartWorld());
    TakeLog();
    system->GetPlayerFlags(1)[1] = 1;
    for (int i = 0; i < 1000; ++i)
        Step();
    system->GetPlayerFlags(1)[1] = 0;
    Enter(1);
    for (int i = 0; i < 500; ++i)
        Step();
    ASSERT_NE(screen->ships[0], nullptr);
    screen->BeginStageClear();
    for (int i = 0; i < 500; ++i)
        Step();
    EXPECT_EQ(log.Count("BeginStageClear"), 1);
    EXPECT_TRUE(TakeLog().empty());
    EXPECT_EQ(log.Count("CuePlay") + log.Count("CueStop") + log.Count("CuePause") + log.Count("CueResume"),
              0);
}

// Deleting the screen in the middle of a stage takes ships, bullets, chips, sparks,
// effects and pop-ups with it (the ASan run checks nothing is touched afterwards).
TEST_F(GameWorldScreenTest, DeletingTheScreenMidStageIsClean) {
    Enter(1);
    Enter(2);
    ASSERT_TRUE(StartWorld());
    ASSERT_GE(StepUntil([&] { return screen->ships[0] && screen->ships[1]; }, 5), 0);
    Step();
    for (int i = 0; i < 20; ++i) {
        screen->FireEnemyBullet({0.0f, 0.0f, 3.0f}, {0.01f * float(i), 0.0f, -0.05f}, i, 1.0f);
        screen->FireReflectedBullet({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.1f}, 1);
        screen->SpawnSpark({0.0f, 0.0f, 0.0f}, {0.01f, 0.0f, 0.0f}, 3.0f);
        screen->SpawnScoreChip({0.0f, 0.0f, 0.0f}, {}, 1, 0, 1);
        screen->CreateFallingSprite({}, {}, i, 1 + i % 2);
        screen->CreateGravitySprite({}, {}, i, 1 + i % 2);
    }
    for (int i = 0; i < 5; ++i)
        Step();
    EXPECT_GT(screen->Bullets().GetEnemyBulletCount(), 0);
    EXPECT_GT(screen->GetSparkCount(), 0);
    delete screen;
    EXPECT_TRUE(screenGone);
    screen = nullptr;
    for (int i = 0; i < 3; ++i)
        Step();
}

}  // namespace
}  // namespace mareldon

namespace mareldon {
namespace {

// Stage 1 sounds its four timed effects once each as the stage clock passes them. A
// clear made shortly before the boss-music time is overtaken by the boss tune: the
// switch looks only at the clock, as the stage table intends.
TEST_F(GameWorldScreenTest, StageOneTimedSoundsAndTheBossTuneAfterAnEarlyClear) {
    entry = 1;
    StartWithShip();
    ASSERT_GE(StepUntil([&] { return screen->GetStageTime() > 130.0f; }, 9000), 0);
    std::vector<std::string> sounds;
    for (const WorldEvent& event : log.Events()) {
        if (event.operation == "PlaySe")
            sounds.push_back(event.arguments);
    }
    EXPECT_EQ(sounds, (std::vector<std::string>{"24", "23", "25", "27"}));
    EXPECT_FALSE(screen->IsTimeLimitRunning()) << "stage 1's limit starts at 135 s";
    const int firstTimed = StepOf("PlaySe", "24");
    EXPECT_GT(firstTimed, 42 * 60);
    EXPECT_LT(firstTimed, 42 * 60 + 3);

    screen->BeginStageClear();
    EXPECT_EQ(log.Count("CuePlay", "crear 0"), 1);
    ASSERT_GE(StepUntil([&] { return log.Count("CuePlay", "boss 0") > 0; }, 300), 0);
    EXPECT_GT(screen->GetStageTime(), 132.5f);
    EXPECT_GT(StepOf("CuePlay", "boss 0"), StepOf("CuePlay", "crear 0"));
}

}  // namespace
}  // namespace mareldon

namespace mareldon {
namespace {

// Enemy bullets go to the game sheet's drawer and reflected bullets to the
// "hansyadan" drawer, two triangles each; the HUD's submission empties the lists.
TEST_F(GameWorldScreenTest, BulletsAreQueuedOnTheirSheetsAndSubmittedByTheHud) {
    AddScreen();
    StartWithShip();
    ASSERT_NE(screen->GetGameDrawer(), nullptr);
    ASSERT_NE(screen->GetReflectedDrawer(), nullptr);
    for (int i = 0; i < 3; ++i)
        ASSERT_NE(screen->FireEnemyBullet({0.0f, 0.0f, float(i)}, {0.0f, 0.0f, -0.05f}, i, 1.0f), nullptr);
    ASSERT_NE(screen->FireReflectedBullet({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.1f}, 1), nullptr);
    screen->OnDrawPre();
    // The drawers share the draw set's list; each command names its drawer.
    const RefPtr<DrawCommandList>& list = screen->GetGameDrawer()->Commands();
    ASSERT_EQ(list->CommandCount(), 8);
    int enemy = 0;
    int reflected = 0;
    for (int32_t i = 0; i < list->CommandCount(); ++i) {
        const DrawCommandList::Command& command = list->CommandAt(i);
        EXPECT_EQ(command.type, DrawCommandList::kTriangle);
        enemy += command.descriptor == screen->GetGameDrawer() ? 1 : 0;
        reflected += command.descriptor == screen->GetReflectedDrawer() ? 1 : 0;
    }
    EXPECT_EQ(enemy, 6);
    EXPECT_EQ(reflected, 2);
    screen->DrawHud();
    EXPECT_EQ(list->CommandCount(), 0);
    for (int i = 0; i < 5; ++i)
        Step();
}

}  // namespace
}  // namespace mareldon
