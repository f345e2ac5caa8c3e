// The scene flow's table: what the game system does on entering each scene, and
// the names its screen hands over to. The screens themselves come from the scene
// registry the screens fill.
#include "engine/core/Log.h"
#include "game/system/GameSystem.h"
#include "game/system/IoEvent.h"
#include "game/system/SceneTask.h"

namespace mareldon {

std::span<const GameSystem::SceneRow> GameSystem::SceneTable() {
    // "title", named as the successor of the play and ending screens, has no
    // row and builds nothing: those screens always ask for another scene.
    static const SceneRow kTable[] = {
        {"boot", "boot", "notice", true, &GameSystem::EnterBoot, nullptr},
        {"notice", "notice", "logo1", true, nullptr, &GameSystem::AfterNotice},
        {"logo1", "titlestart", "logo2", true, nullptr, nullptr},
        {"logo2", "titlestart", "demo", true, nullptr, nullptr},
        {"demo", "titlestart", "title1", true, &GameSystem::EnterDemo, nullptr},
        {"title1", "titlestart", "demo-tut", true, &GameSystem::EnterTitle, nullptr},
        {"demo-tut", "titlestart", "playdemo1", true, &GameSystem::EnterDemoTutorial, nullptr},
        {"playdemo1", "titlestart", "ranking1", true, nullptr, nullptr},
        {"ranking1", "titlestart", "title2", true, &GameSystem::EnterAttract, nullptr},
        {"title2", "titlestart", "playdemo2", true, &GameSystem::EnterTitleAgain, nullptr},
        {"playdemo2", "titlestart", "ranking2", true, nullptr, nullptr},
        {"ranking2", "titlestart", "logo1", true, &GameSystem::EnterAttract, nullptr},
        {"titleshutter", "title1", "gamestart", true, nullptr, nullptr},
        {"titlestart", "titlestart", "demo-tut", true, &GameSystem::EnterTitle, nullptr},
        {"gamestart", "title1", "tutorialshutter", true, &GameSystem::EnterGameStart,
         &GameSystem::AfterGameStart},
        {"tutorialshutter", "title1", "shipselect", true, nullptr, nullptr},
        {"shipselect", "title1", "nextstage", true, &GameSystem::EnterShipSelect, nullptr},
        {"prevstage", "title1", "actualgame", true, &GameSystem::EnterPrevStage, nullptr},
        {"nextstage", "title1", "actualgame", true, &GameSystem::EnterNextStage, nullptr},
        {"actualgame", "title1", "title", true, &GameSystem::EnterActualGame, nullptr},
        {"gameover", "titlestart", "ranking1", true, &GameSystem::EnterGameOver, nullptr},
        {"ending?", "allclear", "gameover", true, &GameSystem::EnterEnding, nullptr},
        {"ending", "allclear", "allclear", true, &GameSystem::EnterEnding, nullptr},
        {"allclear", "title1", "title", true, &GameSystem::EnterAllClear, nullptr},
        {"testmode", "boot", "quit", true, &GameSystem::EnterTestMode, &GameSystem::AfterTestMode},
        {"serviceswitcherror", "serviceswitcherror", "quit", true, &GameSystem::EnterServiceSwitchError,
         nullptr},
        {"coinerror", "coinerror", "quit", true, &GameSystem::EnterCoinError, nullptr},
        {"i/oerror", "i/oerror", "quit", true, &GameSystem::EnterIoError, nullptr},
        {"quit", "", "", false, &GameSystem::EnterQuit, nullptr},
    };
    return kTable;
}

// Each screen attaches itself under the game system; the old scene already
// stopped being current when it made its request, so its own alive test fails
// in this same sweep and it is deleted after its successor was built. A name
// without a row builds nothing.
void GameSystem::BuildScene(const String& name) {
    SceneTask* scene = nullptr;
    for (const SceneRow& row : SceneTable()) {
        if (!name.Equals(row.name)) {
            continue;
        }
        SceneSetup setup;
        setup.name = name;
        setup.breakIn = row.breakIn;
        setup.successor = row.successor;
        if (row.before != nullptr) {
            (this->*row.before)(setup);
        }
        if (row.screen) {
            const SceneFactory factory = ports_.scenes != nullptr ? ports_.scenes->Find(name) : nullptr;
            if (factory != nullptr) {
                scene = factory(*this, setup);
            } else {
                LOG_WARN("scene", "no screen is registered for \"%s\"", name.Text());
            }
        }
        if (row.after != nullptr) {
            (this->*row.after)(setup);
        }
        break;
    }
    if (scene != nullptr) {
        LOG_DEBUG("scene", "\"%s\" built", name.Text());
    }
    currentScene_ = scene;
}

void GameSystem::EnterBoot(SceneSetup& setup) {
    attract_ = 1;
    startLock_ = 0;
    if (stageStartPending_) {
        setup.successor = "actualgame";
    }
}

void GameSystem::AfterNotice(SceneSetup&) {
    bootPhase_ = 0;
}

void GameSystem::EnterAttract(SceneSetup&) {
    attract_ = 1;
}

void GameSystem::EnterDemo(SceneSetup&) {
    PlayMovieBgm();
}

void GameSystem::EnterTitle(SceneSetup&) {
    PlayTitleBgm();
    attract_ = 1;
}

void GameSystem::EnterTitleAgain(SceneSetup&) {
    PlayTitleBgm();
}

void GameSystem::EnterDemoTutorial(SceneSetup&) {
    PlayDemoBgm();
}

void GameSystem::EnterGameStart(SceneSetup&) {
    ReportEvent(IoEvent::kGameStartOrOver, 0);
    ReportEvent(IoEvent::kStageEnd, 0);
    attract_ = 0;
    StopBgm();
    currentStage_ = 0;
}

void GameSystem::AfterGameStart(SceneSetup&) {
    reachedEnding_ = 0;
}

void GameSystem::EnterShipSelect(SceneSetup&) {
    StopBgm();
    currentStage_ = 0;
}

void GameSystem::EnterPrevStage(SceneSetup&) {
    currentStage_ -= 1;
    if (currentStage_ == -1) {
        currentStage_ = GetStageCount() - 1;
    }
}

void GameSystem::EnterNextStage(SceneSetup& setup) {
    ReportEvent(IoEvent::WithStage(IoEvent::kStageEnd, currentStage_), 0);
    currentStage_ += 1;
    ReportEvent(IoEvent::WithStage(IoEvent::kStageStart, currentStage_), 0);
    if (currentStage_ == 6 && (live_[0].continueCount != 0 || live_[1].continueCount != 0)) {
        reachedEnding_ = 1;
        endingInProgress_ = 1;
        setup.successor = "ending?";
    } else if (currentStage_ == 7) {
        reachedEnding_ = 1;
        endingInProgress_ = 1;
        setup.successor = "ending";
    }
}

void GameSystem::EnterActualGame(SceneSetup& setup) {
    if (stageStartPending_) {
        ApplyStageStart();
    }
    playingStage_ = currentStage_;
    int32_t stage = currentStage_;
    if (gameMode_ == 2 && (stage == 1 || stage == 2)) {
        stage = 3 - stage;
    }
    setup.difficulty = game_.difficulty;
    setup.playMode = IsRecordingNextGame() ? 2 : 0;
    setup.stage = stage;
    recordNextGame_ = 0;
}

void GameSystem::EnterGameOver(SceneSetup& setup) {
    SaveRanking();
    StopBgm();
    ReportEvent(IoEvent::kGameStartOrOver, 0);
    endingInProgress_ = 0;
    setup.successor = pairMode_ ? "ranking2" : "ranking1";
}

void GameSystem::EnterEnding(SceneSetup&) {
    PlayEndingBgm();
}

void GameSystem::EnterAllClear(SceneSetup&) {
    StopBgm();
    endingInProgress_ = 0;
}

void GameSystem::EnterTestMode(SceneSetup&) {
    StopHeldBgm();
    DeleteAllChildren();
}

void GameSystem::AfterTestMode(SceneSetup&) {
    ReportEvent(IoEvent::kTestMode, 0);
}

void GameSystem::EnterServiceSwitchError(SceneSetup&) {
    EnterSystemError(0x10000);
}

void GameSystem::EnterCoinError(SceneSetup&) {
    EnterSystemError(0x20000);
}

void GameSystem::EnterIoError(SceneSetup&) {
    EnterSystemError(0x30000);
}

void GameSystem::EnterSystemError(uint32_t argument) {
    StopBgm();
    ReportEvent(IoEvent::kSystemError, argument);
    errorShown_ = 1;
}

// As a one-player start would leave the records, but no coin is taken and no
// start is reported to the board: the counters stay true to the cabinet's coins.
void GameSystem::ApplyStageStart() {
    stageStartPending_ = 0;
    ResetGame();
    attract_ = 0;
    bootPhase_ = 0;
    reachedEnding_ = 0;
    currentStage_ = ports_.stageStart.stage;
    PlayerRecord& record = live_[0];
    record.shipStock = game_.shipStock;
    record.bombStock = game_.bombStock;
    record.playCount = 1;
    record.shipType = ports_.stageStart.shipType;
    record.stage = currentStage_;
}

void GameSystem::EnterQuit(SceneSetup&) {
    // One line, so a supervisor's log says why the program ended by itself.
    LOG_INFO("scene", "\"quit\" after \"%s\": the program ends", leftSceneName_.Text());
    ReportEvent(IoEvent::kQuit, 0);
    quit_ = 1;
}

}  // namespace mareldon
