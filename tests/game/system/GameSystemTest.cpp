#include "game/system/GameSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/core/Application.h"
#include "engine/core/Clock.h"
#include "engine/core/Log.h"
#include "game/system/SceneTask.h"
#include "tests/game/system/GameSystemFixture.h"

namespace mareldon {
namespace {

using testing::ElementsAre;

class GameSystemTest : public testing::Test, public GameSystemFixture {
  protected:
    // The scenes made current, in order, while stepping `steps` times.
    std::vector<std::string> Scenes(int steps) {
        std::vector<std::string> scenes;
        for (int i = 0; i < steps && Step(); ++i) {
            const char* name = system->GetCurrentSceneName().Text();
            if (*name && (scenes.empty() || scenes.back() != name)) {
                scenes.push_back(name);
            }
        }
        return scenes;
    }
    void Press(int input, uint32_t button) {
        inputs.masks[input].pressed = button;
        Step();
        inputs.masks[input].pressed = 0;
    }
    // Makes the current scene request `name` and runs the sweep that builds it.
    void Request(const char* name) {
        system->GetCurrentScene()->RequestSuccessor(name);
        root.CollectDead();
    }
};

TEST_F(GameSystemTest, AttractLoopCoinStartGameAndTestModeToQuit) {
    Start();
    EXPECT_THAT(Scenes(36), ElementsAre("boot", "notice", "logo1", "logo2", "demo", "title1", "demo-tut",
                                        "playdemo1", "ranking1", "title2", "playdemo2", "ranking2", "logo1"));
    EXPECT_EQ(Built()[0], "LoadingScreen boot notice");
    EXPECT_EQ(Built()[2], "LogoScreen titlestart logo2 brova_logo");
    EXPECT_EQ(Built()[8], "RankingScreen titlestart title2 1 0");
    EXPECT_EQ(Built()[11], "RankingScreen titlestart logo1 1 1");

    // A coin breaks in to the title that waits for a start.
    Press(0, SystemButton::kCoin);
    EXPECT_EQ(system->GetCredits(), 1);
    EXPECT_TRUE(RunUntil("titlestart"));
    EXPECT_EQ(system->GetPlayerStatus(1), 7);
    Events().clear();
    Press(0, SystemButton::kStart);
    EXPECT_EQ(system->GetCredits(), 0);
    EXPECT_EQ(system->GetPlayer(1).shipStock, 3);
    EXPECT_EQ(Events().front(), std::make_pair(0x0B010000u, 1u));

    Built().clear();
    std::vector<std::string> game = Scenes(18);
    EXPECT_THAT(
        std::vector<std::string>(game.begin(), game.begin() + 6),
        ElementsAre("titleshutter", "gamestart", "tutorialshutter", "shipselect", "nextstage", "actualgame"));
    EXPECT_EQ(Built()[4], "ActualGameScreen title1 title 4 0 1");
    // No continue was used: stages 1 to 6 are played, then the second ending.
    EXPECT_TRUE(RunUntil("ending"));
    EXPECT_EQ(system->GetCurrentStage(), 7);
    EXPECT_TRUE(system->HasReachedEnding());
    EXPECT_EQ(Built().back(), "EndingMovieScreen allclear allclear 1");
    EXPECT_THAT(Scenes(10), ElementsAre("ending", "allclear", "gameover", "ranking1"));
    EXPECT_EQ(saves.files.count("sv\\MARELDON.ranking"), 1u) << "saved at game over";

    // The test switch replaces whatever runs; leaving test mode ends the program.
    Press(0, SystemButton::kTest);
    EXPECT_EQ(system->GetCurrentSceneName(), "testmode");
    EXPECT_EQ(system->childCount, 1);
    EXPECT_EQ(Events().back(), std::make_pair(0x05000000u, 0u));
    EXPECT_TRUE(Step());
    EXPECT_EQ(system->GetCurrentSceneName(), "testmode") << "the test mode stays until EXIT";
    // EXIT(RESET), as the menu asks for it.
    system->GetCurrentScene()->RequestSuccessor("");
    EXPECT_TRUE(Step()) << "quit is requested";
    EXPECT_EQ(Events().back(), std::make_pair(0x08000000u, 0u));
    EXPECT_FALSE(Step()) << "the step after quit ends the program";
    EXPECT_EQ(root.childCount, 0);
}

// The program as the main loop runs it on a virtual clock: the attract loop, a
// coin and a start, a whole game, then the test switch, test mode and the end.
class ScriptedCabinet final : public Application, private InputPoller {
  public:
    ScriptedCabinet(const GameSystemPorts& ports, FakeSystemInputs& inputs)
        : Application(0, nullptr), ports(ports), inputs(inputs) {
        SetInputPoller(this);
    }
    bool Init() override {
        system = new GameSystem(&root, ports);
        return true;
    }
    std::vector<std::string> scenes;

  private:
    // Runs before each update pass: notes the scene and presses what the script says.
    void PollInput() override {
        inputs.masks[0] = {};
        if (root.childCount == 0) {
            return;
        }
        const std::string scene = system->GetCurrentSceneName().Text();
        if (!scene.empty() && (scenes.empty() || scenes.back() != scene)) {
            scenes.push_back(scene);
            if (scene == "demo" && !coined) {
                inputs.masks[0].pressed = SystemButton::kCoin;
                coined = true;
            } else if (scene == "titlestart") {
                inputs.masks[0].pressed = SystemButton::kStart;
            } else if (scene == "ranking1" && coined) {
                inputs.masks[0].pressed = SystemButton::kTest;
            } else if (scene == "testmode") {
                // EXIT(RESET), as the menu asks for it.
                system->GetCurrentScene()->RequestSuccessor("");
            }
        }
    }

    GameSystemPorts ports;
    FakeSystemInputs& inputs;
    GameSystem* system = nullptr;
    bool coined = false;
};

TEST_F(GameSystemTest, MainLoopRunsTheCabinetFromBootToQuit) {
    VirtualClock clock;
    ScopedClock useClock(clock);
    ScriptedCabinet cabinet(Ports(), inputs);
    EXPECT_EQ(ApplicationMain(), 0);
    EXPECT_EQ(cabinet.root.childCount, 0);
    const std::vector<std::string> expected = {
        "boot",         "notice",     "logo1",           "logo2",      "demo",      "titlestart",
        "titleshutter", "gamestart",  "tutorialshutter", "shipselect", "nextstage", "actualgame",
        "nextstage",    "actualgame", "nextstage",       "actualgame", "nextstage", "actualgame",
        "nextstage",    "actualgame", "nextstage",       "actualgame", "nextstage", "ending",
        "allclear",     "gameover",   "ranking1",        "testmode",   "quit"};
    EXPECT_EQ(cabinet.scenes, expected);
    EXPECT_EQ(Events().back(), std::make_pair(0x08000000u, 0u));
}

TEST_F(GameSystemTest, StageTableIsBuiltAtConstruction) {
    Start();
    ASSERT_EQ(system->GetStageCount(), 13);
    const StageEntry& kaze = *system->GetStageEntry(1);
    EXPECT_EQ(kaze.stageId, "STAGE_KAZE");
    EXPECT_EQ(kaze.lightName, "\x95\x97");
    EXPECT_EQ(kaze.bossMusicTime, 132.5f);
    EXPECT_TRUE(system->GetStageEntry(8)->music.IsEmpty());
    EXPECT_EQ(system->GetStageEntry(12)->stageId, "STAGE_MU2");
    StageEntryHandle shared = system->GetStageEntry(3);
    EXPECT_EQ(shared->stageId, "STAGE_UMI");
}

TEST_F(GameSystemTest, ServiceSwitchHeldAtStartEndsTheProgramAfter15Seconds) {
    inputs.masks[1].held = SystemButton::kService;
    Start();
    inputs.masks[1].held = 0;
    Step();
    EXPECT_EQ(system->GetCurrentSceneName(), "serviceswitcherror");
    EXPECT_EQ(Built()[0], "SystemErrorScreen serviceswitcherror quit SERVICE SWITCH ERROR 1");
    EXPECT_EQ(Events().back(), std::make_pair(0x07000000u, 0x10000u));
    static std::vector<std::string> lines;
    lines.clear();
    const LogSink previous = SetLogSink([](LogLevel, const char* category, const char* text) {
        lines.push_back(std::string(category) + ": " + text);
    });
    int steps = 1;
    while (Step()) {
        ++steps;
    }
    SetLogSink(previous);
    EXPECT_EQ(steps, 902);
    // The operator's log says why the program ended by itself.
    EXPECT_THAT(lines, testing::Contains("scene: \"quit\" after \"serviceswitcherror\": the program ends"));
}

TEST_F(GameSystemTest, IoErrorAfterBootStaysAndStopsTheInputWatch) {
    Start();
    EXPECT_TRUE(RunUntil("logo1"));
    inputs.masks[0].held = SystemButton::kIoError;
    Step();
    inputs.masks[0].held = 0;
    EXPECT_EQ(system->GetCurrentSceneName(), "i/oerror");
    EXPECT_EQ(Built().back(), "SystemErrorScreen i/oerror quit I/O ERROR 0");
    EXPECT_TRUE(system->IsErrorShown());
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(Step());
    }
    Press(0, SystemButton::kCoin);
    EXPECT_EQ(system->GetCoinUnits(), 0);
    EXPECT_EQ(system->GetCurrentSceneName(), "i/oerror");
}

TEST_F(GameSystemTest, ServiceButtonCountsOnRelease) {
    Start();
    EXPECT_TRUE(RunUntil("logo1"));
    inputs.masks[1].held = SystemButton::kService;
    Step();
    EXPECT_EQ(system->GetCoinUnits(), 0) << "nothing while held";
    inputs.masks[1] = {0, 0, 0, SystemButton::kService};
    Step();
    inputs.masks[1] = {};
    EXPECT_EQ(system->GetCredits(), 1) << "CONTINUE COIN 10: a service credit";
    EXPECT_EQ(system->GetAttentionTimer(), GameSystem::kAttentionSteps);
    EXPECT_EQ(system->GetCurrentSceneName(), "titlestart") << "the attract screen breaks in";

    OperatingSettings op = system->DefaultOperatingSettings();
    op.coins = 2;
    op.continueCoins = 1;
    system->StoreOperatingSettings(op);
    inputs.masks[0].released = SystemButton::kService;
    Step();
    EXPECT_EQ(system->GetCoinUnits(), 2) << "otherwise it counts one coin";
}

TEST_F(GameSystemTest, CoinErrorAndCoinsAreIgnoredInTestMode) {
    Start();
    EXPECT_TRUE(RunUntil("logo1"));
    Press(0, SystemButton::kTest);
    inputs.masks[0].held = SystemButton::kCoinError;
    Press(0, SystemButton::kCoin);
    EXPECT_EQ(system->GetCurrentSceneName(), "testmode");
    EXPECT_EQ(system->GetCoinUnits(), 0);
}

TEST_F(GameSystemTest, SceneTableEdgeCases) {
    Start();
    EXPECT_TRUE(RunUntil("logo1"));
    // "prevstage" from stage 0 wraps to the last stage of the table.
    Request("prevstage");
    EXPECT_EQ(system->GetCurrentStage(), 12);
    EXPECT_EQ(Built().back(), "MentojiScreen title1 actualgame");

    // Game mode 2 swaps stages 1 and 2 of the play screen.
    Request("shipselect");
    EXPECT_EQ(system->GetCurrentStage(), 0);
    system->SetGameMode(2);
    Events().clear();
    Request("nextstage");
    EXPECT_THAT(Events(), ElementsAre(std::make_pair(0x10000000u, 0u), std::make_pair(0x0F010000u, 0u)));
    Request("actualgame");
    EXPECT_EQ(Built().back(), "ActualGameScreen title1 title 4 0 2");
    EXPECT_EQ(system->GetPlayingStage(), 1);

    // A continue by either player sends stage 6 to the first ending.
    system->GetPlayer(2).continueCount = 1;
    for (int stage = 2; stage <= 6; ++stage) {
        Request("nextstage");
    }
    EXPECT_EQ(Built().back(), "MentojiScreen title1 ending?");
    EXPECT_TRUE(system->HasReachedEnding());
    EXPECT_TRUE(system->IsEndingInProgress());
    Request("ending?");
    EXPECT_EQ(Built().back(), "EndingMovieScreen allclear gameover 0");

    // Game over saves the rankings and goes to the pair ranking in pair mode.
    system->SetPairMode(true);
    Request("gameover");
    EXPECT_EQ(Built().back(), "GameOverScreen titlestart ranking2");
    EXPECT_FALSE(system->IsEndingInProgress());
    EXPECT_EQ(saves.replaces, 1);

    // A name outside the table builds nothing and leaves no current scene.
    Request("title");
    EXPECT_EQ(system->GetCurrentScene(), nullptr);
    EXPECT_EQ(system->GetCurrentSceneName(), "title");
    EXPECT_EQ(system->childCount, 0);
    EXPECT_TRUE(Step()) << "no scene is no crash";
}

// The music and attract steps each scene takes before it is built, from a
// baseline of the demo tune playing outside the attract loop.
TEST_F(GameSystemTest, SceneMusicAndAttractSteps) {
    struct Row {
        const char* scene;
        const char* cue;  // "" when the music was stopped
        bool playing;
        bool attract;
    } rows[] = {
        {"boot", "demo03", true, true},          {"notice", "demo03", true, false},
        {"logo1", "demo03", true, false},        {"logo2", "demo03", true, false},
        {"demo", "moviest", true, false},        {"title1", "title", true, true},
        {"demo-tut", "demo03", true, false},     {"playdemo1", "demo03", true, false},
        {"ranking1", "demo03", true, true},      {"title2", "title", true, false},
        {"playdemo2", "demo03", true, false},    {"ranking2", "demo03", true, true},
        {"titleshutter", "demo03", true, false}, {"titlestart", "title", true, true},
        {"gamestart", "", false, false},         {"tutorialshutter", "demo03", true, false},
        {"shipselect", "", false, false},        {"prevstage", "demo03", true, false},
        {"nextstage", "demo03", true, false},    {"actualgame", "demo03", true, false},
        {"gameover", "", false, false},          {"ending?", "end", true, false},
        {"ending", "end", true, false},          {"allclear", "", false, false},
        {"testmode", "demo03", false, false},    {"serviceswitcherror", "", false, false},
        {"coinerror", "", false, false},         {"i/oerror", "", false, false},
    };
    Start();
    ASSERT_TRUE(RunUntil("logo1"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.scene);
        Request("gamestart");
        Request("demo-tut");
        ASSERT_FALSE(system->IsAttractMode());
        Request(row.scene);
        EXPECT_EQ(system->GetCurrentSceneName(), row.scene);
        EXPECT_NE(system->GetCurrentScene(), nullptr);
        EXPECT_EQ(system->GetBgmCue(), row.cue);
        EXPECT_EQ(system->IsBgmPlaying(), row.playing);
        EXPECT_EQ(system->IsAttractMode(), row.attract);
    }
    // "boot" also releases every start lock.
    system->AddStartLock();
    Request("boot");
    EXPECT_EQ(system->AddStartLock(), 1);
}

}  // namespace
}  // namespace mareldon
