#include "game/system/GameSystem.h"

#include "engine/platform/FileSystem.h"
#include "engine/platform/Window.h"
#include "engine/render/device/GraphicsDevice.h"
#include "game/screens/ActualGameScreen.h"
#include "game/screens/DemoMovieScreen.h"
#include "game/screens/DemoPlayScreen.h"
#include "game/screens/DemoTutorialScreen.h"
#include "game/screens/EndingMovieScreen.h"
#include "game/screens/EndingScreen.h"
#include "game/screens/GameOverScreen.h"
#include "game/screens/LoadingScreen.h"
#include "game/screens/LogoScreen.h"
#include "game/screens/MentojiScreen.h"
#include "game/screens/NoticeScreen.h"
#include "game/screens/RankingScreen.h"
#include "game/screens/StageSelectScreen.h"
#include "game/screens/SystemErrorScreen.h"
#include "game/screens/TestModeScreen.h"
#include "game/screens/TitleScreen.h"
#include "game/screens/TitleStartScreen.h"
#include "game/screens/TutorialScreen.h"
#include "game/system/InputManager.h"
#include "game/system/IoEvent.h"
#include "game/system/JvsLib.h"
#include "game/system/SaveFileStore.h"
#include "game/system/SceneTask.h"
#include "game/system/StageTable.h"

namespace mareldon {

namespace {

// The game's own keys of the logical buttons (Windows virtual-key codes):
// arrows, page up/down, Z X C V, I coin, S service, F3 F4, F2 test, R L turn
// the screen, F1 window, F5-F12, M, Y.
KeyMap GameKeyMap() {
    KeyMap map{{0x26, 0x28, 0x25, 0x27, 0x21, 0x22, 'Z',  'X',  'C',  'V',  'I', 'S', 0x72, 0x73, 0x71, 'R',
                'L',  0x70, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x7B, 'M', 'Y', 0,    0,    0,    0}};
    return map;
}

struct ErrorScene {
    const char* name;
    uint32_t argument;  // of the system error event
    const char* message;
};

constexpr ErrorScene kErrorScenes[] = {
    {"serviceswitcherror", 0x10000, "SERVICE SWITCH ERROR"},
    {"coinerror", 0x20000, "COIN ERROR"},
    {"i/oerror", 0x30000, "I/O ERROR"},
};

const ErrorScene* FindErrorScene(const String& name) {
    for (const ErrorScene& error : kErrorScenes) {
        if (name.Equals(error.name)) {
            return &error;
        }
    }
    return nullptr;
}

}  // namespace

GameSystem::GameSystem(TaskObject* parent, const GameSystemPorts& ports)
    : TaskObject(parent, 0), ports_(ports) {
    if (ports_.reportEvent == nullptr) {
        ports_.reportEvent = &JvsLib::ReportEvent;
    }
    if (ports_.saveFiles == nullptr && fileSystem) {
        ownSaveFiles_ = CreateSaveFileStore(*fileSystem);
        ports_.saveFiles = ownSaveFiles_.get();
    }
    operating_ = defaultOperating_;
    game_ = defaultGame_;
    sound_ = defaultSound_;
    LoadConfig();
    BuildStageTable();
    ResetRanking();
    ResetPairRanking();
    LoadRanking();
    ResetGame();
    keyMap_ = GameKeyMap();
    // A cabinet shows no pointer over the game.
    if (mainWindow != nullptr) {
        mainWindow->ShowCursor(false);
    }
    stopwatch_.Restart();
    if (mainWindow != nullptr) {
        mainWindow->GetCursorPosition(cursorPosition_);
    }
    if (ports_.inputs == nullptr && inputManager != nullptr) {
        systemInputs_[0] = new PlayerInput(inputManager, PlayerInput::kPad0 | PlayerInput::kKeyboard);
        systemInputs_[1] = new PlayerInput(inputManager, PlayerInput::kPad1);
        for (PlayerInput* input : systemInputs_) {
            input->SetKeyMap(keyMap_);
        }
    }
    requestedSceneName_ = "boot";
    for (int input = 0; input < 2; ++input) {
        if (GetSystemButtons(input).held & SystemButton::kService) {
            requestedSceneName_ = "serviceswitcherror";
        }
    }
}

GameSystem::~GameSystem() {
    // Scenes reach back into the system while they are destroyed.
    DeleteChildren();
    for (PlayerInput* input : systemInputs_) {
        delete input;
    }
}

void GameSystem::ReportEvent(uint32_t code, uint32_t argument) const {
    if (ports_.reportEvent != nullptr) {
        ports_.reportEvent(code, argument);
    }
}

ButtonSet GameSystem::GetSystemButtons(int input) const {
    if (ports_.inputs != nullptr) {
        return ports_.inputs->GetButtons(input);
    }
    const PlayerInput* system = systemInputs_[input & 1];
    return system != nullptr ? system->GetButtons() : ButtonSet{};
}

void GameSystem::DeleteAllChildren() {
    currentScene_ = nullptr;
    DeleteChildren();
}

bool GameSystem::UpdateScene() {
    // A closed main window ends the program as "quit" does.
    if (quit_ || (graphicsDevice && !graphicsDevice->IsRunning())) {
        DeleteAllChildren();
        requestedSceneName_ = "";
        return false;
    }
    if (requestedSceneName_.IsEmpty()) {
        return true;
    }
    const String name = requestedSceneName_;
    requestedSceneName_ = "";
    BuildScene(name);
    currentSceneName_ = name;
    return true;
}

// The scene table. Each screen attaches itself under the game system; the old
// scene already stopped being current when it made its request, so its own
// alive test fails in this same sweep and it is deleted after its successor
// was built.
void GameSystem::BuildScene(const String& name) {
    SceneTask* scene = nullptr;
    if (name.Equals("boot")) {
        attract_ = 1;
        startLock_ = 0;
        scene = new LoadingScreen(this, "boot", "notice");
    } else if (name.Equals("notice")) {
        scene = new NoticeScreen(this, "notice", "logo1");
        bootPhase_ = 0;
    } else if (name.Equals("logo1")) {
        scene = new LogoScreen(this, "titlestart", "logo2", "brova_logo");
    } else if (name.Equals("logo2")) {
        scene = new LogoScreen(this, "titlestart", "demo", "orsane_logo");
    } else if (name.Equals("demo")) {
        PlayMovieBgm();
        scene = new DemoMovieScreen(this, "titlestart", "title1");
    } else if (name.Equals("title1")) {
        PlayTitleBgm();
        attract_ = 1;
        scene = new TitleScreen(this, "titlestart", "demo-tut");
    } else if (name.Equals("demo-tut")) {
        PlayDemoBgm();
        scene = new DemoTutorialScreen(this, "titlestart", "playdemo1");
    } else if (name.Equals("playdemo1")) {
        scene = new DemoPlayScreen(this, "titlestart", "ranking1", 3);
    } else if (name.Equals("ranking1")) {
        attract_ = 1;
        scene = new RankingScreen(this, "titlestart", "title2", 1, 0);
    } else if (name.Equals("title2")) {
        PlayTitleBgm();
        scene = new TitleScreen(this, "titlestart", "playdemo2");
    } else if (name.Equals("playdemo2")) {
        scene = new DemoPlayScreen(this, "titlestart", "ranking2", 2);
    } else if (name.Equals("ranking2")) {
        attract_ = 1;
        scene = new RankingScreen(this, "titlestart", "logo1", 1, 1);
    } else if (name.Equals("titleshutter")) {
        scene = new MentojiScreen(this, "title1", "gamestart");
    } else if (name.Equals("titlestart")) {
        PlayTitleBgm();
        attract_ = 1;
        scene = new TitleStartScreen(this, "titlestart", "demo-tut");
    } else if (name.Equals("gamestart")) {
        ReportEvent(IoEvent::kGameStartOrOver, 0);
        ReportEvent(IoEvent::kStageEnd, 0);
        attract_ = 0;
        StopBgm();
        currentStage_ = 0;
        scene = new TutorialScreen(this, "title1", "tutorialshutter");
        reachedEnding_ = 0;
    } else if (name.Equals("tutorialshutter")) {
        scene = new MentojiScreen(this, "title1", "shipselect");
    } else if (name.Equals("shipselect")) {
        StopBgm();
        currentStage_ = 0;
        scene = new StageSelectScreen(this, "title1", "nextstage");
    } else if (name.Equals("prevstage")) {
        currentStage_ -= 1;
        if (currentStage_ == -1) {
            currentStage_ = GetStageCount() - 1;
        }
        scene = new MentojiScreen(this, "title1", "actualgame");
    } else if (name.Equals("nextstage")) {
        ReportEvent(IoEvent::WithStage(IoEvent::kStageEnd, currentStage_), 0);
        currentStage_ += 1;
        ReportEvent(IoEvent::WithStage(IoEvent::kStageStart, currentStage_), 0);
        const char* successor = "actualgame";
        if (currentStage_ == 6 && (live_[0].continueCount != 0 || live_[1].continueCount != 0)) {
            reachedEnding_ = 1;
            endingInProgress_ = 1;
            successor = "ending?";
        } else if (currentStage_ == 7) {
            reachedEnding_ = 1;
            endingInProgress_ = 1;
            successor = "ending";
        }
        scene = new MentojiScreen(this, "title1", successor);
    } else if (name.Equals("actualgame")) {
        playingStage_ = currentStage_;
        int32_t stage = currentStage_;
        if (gameMode_ == 2 && (stage == 1 || stage == 2)) {
            stage = 3 - stage;
        }
        const int32_t playMode = recordNextGame_ ? 2 : 0;
        recordNextGame_ = 0;
        scene = new ActualGameScreen(this, "title1", "title", game_.difficulty, playMode, stage);
    } else if (name.Equals("gameover")) {
        SaveRanking();
        StopBgm();
        ReportEvent(IoEvent::kGameStartOrOver, 0);
        endingInProgress_ = 0;
        scene = new GameOverScreen(this, "titlestart", pairMode_ ? "ranking2" : "ranking1");
    } else if (name.Equals("ending?")) {
        PlayEndingBgm();
        scene = new EndingMovieScreen(this, "allclear", "gameover", 0);
    } else if (name.Equals("ending")) {
        PlayEndingBgm();
        scene = new EndingMovieScreen(this, "allclear", "allclear", 1);
    } else if (name.Equals("allclear")) {
        StopBgm();
        endingInProgress_ = 0;
        scene = new EndingScreen(this, "title1", "title", 0, 8);
    } else if (name.Equals("testmode")) {
        StopHeldBgm();
        DeleteAllChildren();
        scene = new TestModeScreen(this, "boot", "quit");
        ReportEvent(IoEvent::kTestMode, 0);
    } else if (const ErrorScene* error = FindErrorScene(name)) {
        StopBgm();
        ReportEvent(IoEvent::kSystemError, error->argument);
        errorShown_ = 1;
        scene = new SystemErrorScreen(this, name, "quit", error->message, bootPhase_);
    } else if (name.Equals("quit")) {
        ReportEvent(IoEvent::kQuit, 0);
        quit_ = 1;
    }
    currentScene_ = scene;
}

void GameSystem::WatchInputs() {
    if (!resourcesLoaded_) {
        return;
    }
    if (errorShown_) {
        // An error screen is up: the inputs are read no more.
        if (inputManager != nullptr) {
            inputManager->enabled = false;
        }
        return;
    }
    if (attentionTimer_ > 0) {
        --attentionTimer_;
    }
    const ButtonSet first = GetSystemButtons(0);
    const ButtonSet second = GetSystemButtons(1);
    const bool inTestMode = currentSceneName_.Equals("testmode");
    if (!inTestMode && (first.pressed & SystemButton::kCoin)) {
        AddCoin();
        attentionTimer_ = kAttentionSteps;
    }
    if (!inTestMode && ((first.released | second.released) & SystemButton::kService)) {
        if (operating_.continueCoins == 10) {
            AddServiceCredit();
        } else {
            AddCoin();
        }
        attentionTimer_ = kAttentionSteps;
    }
    if (!inTestMode && (first.pressed & SystemButton::kTest)) {
        // The running scene goes at once, before it could update this step.
        delete currentScene_;
        currentScene_ = nullptr;
        requestedSceneName_ = "testmode";
    }
    if (!inTestMode && (first.held & SystemButton::kCoinError)) {
        DeleteAllChildren();
        requestedSceneName_ = "coinerror";
    }
    if (first.held & SystemButton::kIoError) {
        DeleteAllChildren();
        requestedSceneName_ = "i/oerror";
    }
}

void GameSystem::LoadCommonResources() {
    if (resourcesLoaded_) {
        return;
    }
    resourcesLoaded_ = 1;
}

void GameSystem::StopBgm() {
    bgmCue_ = "";
    bgmPlaying_ = 0;
}

void GameSystem::PlayBgm(const char* cue) {
    bgmCue_ = cue;
    bgmPlaying_ = 1;
}

const StageEntryHandle& GameSystem::GetStageEntry(int i) const {
    const int last = stageTable_.Count() - 1;
    return stageTable_[i < 0 ? 0 : (i > last ? last : i)];
}

void GameSystem::BuildStageTable() {
    stageTable_.Clear();
    for (const StageRow& row : kStageRows) {
        stageTable_.Add(StageEntryHandle(new StageEntry(row)));
    }
}

}  // namespace mareldon
