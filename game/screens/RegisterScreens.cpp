#include "game/screens/RegisterScreens.h"

#include "game/screens/DemoMovieScreen.h"
#include "game/screens/DemoPlayScreen.h"
#include "game/screens/DemoTutorialScreen.h"
#include "game/screens/EndingMovieScreen.h"
#include "game/screens/EndingScreen.h"
#include "game/screens/GameOverScreen.h"
#include "game/screens/JoinInScreen.h"
#include "game/screens/LoadingScreen.h"
#include "game/screens/LogoScreen.h"
#include "game/screens/MentojiScreen.h"
#include "game/screens/NameEntryScreen.h"
#include "game/screens/NoticeScreen.h"
#include "game/screens/RankingScreen.h"
#include "game/screens/ResultScreen.h"
#include "game/screens/StageSelectScreen.h"
#include "game/screens/SystemErrorScreen.h"
#include "game/screens/TitleScreen.h"
#include "game/screens/TitleStartScreen.h"
#include "game/screens/TutorialScreen.h"
#include "game/stage/ActualGameScreen.h"
#include "game/system/GameSystem.h"
#include "game/system/SceneRegistry.h"

namespace mareldon {

namespace {

// A screen built with just the scene's two names.
template <typename Screen>
SceneTask* Plain(GameSystem& system, const SceneSetup& at) {
    return new Screen(&system, at.breakIn, at.successor);
}

// The error screens show their text and, raised while the machine boots, end
// the program by themselves.
template <const char* kMessage>
SceneTask* SystemError(GameSystem& system, const SceneSetup& at) {
    return new SystemErrorScreen(&system, at.breakIn, at.successor, kMessage, system.IsBootPhase());
}
constexpr char kServiceSwitchError[] = "SERVICE SWITCH ERROR";
constexpr char kCoinError[] = "COIN ERROR";
constexpr char kIoError[] = "I/O ERROR";

const struct {
    const char* scene;
    SceneFactory factory;
} kScreens[] = {
    {"boot", Plain<LoadingScreen>},
    {"notice", Plain<NoticeScreen>},
    {"logo1",
     [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
         return new LogoScreen(&s, at.breakIn, at.successor, "brova_logo");
     }},
    {"logo2",
     [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
         return new LogoScreen(&s, at.breakIn, at.successor, "orsane_logo");
     }},
    {"demo", Plain<DemoMovieScreen>},
    {"title1", Plain<TitleScreen>},
    {"demo-tut", Plain<DemoTutorialScreen>},
    {"playdemo1",
     [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
         return new DemoPlayScreen(&s, at.breakIn, at.successor, 3);
     }},
    {"ranking1",
     [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
         return new RankingScreen(&s, at.breakIn, at.successor, 1, 0);
     }},
    {"title2", Plain<TitleScreen>},
    {"playdemo2",
     [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
         return new DemoPlayScreen(&s, at.breakIn, at.successor, 2);
     }},
    {"ranking2",
     [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
         return new RankingScreen(&s, at.breakIn, at.successor, 1, 1);
     }},
    {"titleshutter", Plain<MentojiScreen>},
    {"titlestart", Plain<TitleStartScreen>},
    {"gamestart", Plain<TutorialScreen>},
    {"tutorialshutter", Plain<MentojiScreen>},
    {"shipselect", Plain<StageSelectScreen>},
    {"prevstage", Plain<MentojiScreen>},
    {"nextstage", Plain<MentojiScreen>},
    {"actualgame",
     [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
         return new ActualGameScreen(&s, at.breakIn, at.successor, at.difficulty, at.playMode, at.stage);
     }},
    {"gameover", Plain<GameOverScreen>},
    {"ending?",
     [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
         return new EndingMovieScreen(&s, at.breakIn, at.successor, 0);
     }},
    {"ending",
     [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
         return new EndingMovieScreen(&s, at.breakIn, at.successor, 1);
     }},
    {"allclear",
     [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
         return new EndingScreen(&s, at.breakIn, at.successor, 0, 8);
     }},
    {"serviceswitcherror", SystemError<kServiceSwitchError>},
    {"coinerror", SystemError<kCoinError>},
    {"i/oerror", SystemError<kIoError>},
};

}  // namespace

void RegisterScreens(SceneRegistry& registry) {
    for (const auto& screen : kScreens) {
        registry.Add(screen.scene, screen.factory);
    }
    registry.joinIn = [](GameSystem& s, int playerBit) -> SystemTask* {
        return new JoinInScreen(&s, playerBit);
    };
    registry.nameEntry = [](GameSystem& s, int playerBit) -> SystemTask* {
        return new NameEntryScreen(&s, playerBit);
    };
    registry.stageResult = [](SystemTask& worldScreen, ResultWorld& world) -> SystemTask* {
        return new ResultScreen(&worldScreen, world);
    };
}

}  // namespace mareldon
