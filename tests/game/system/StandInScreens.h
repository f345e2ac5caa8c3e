#pragma once

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"
#include "game/system/IoEvent.h"
#include "game/system/SceneRegistry.h"

namespace mareldon {

// Quick stand-ins for the front-end screens, for tests of the game system's
// scene flow: each runs PlaceholderScreen::stepsToRun steps and keeps only what
// the flow relies on (the boot's load, the notice's events, the title-start's
// join, the coin break-ins, the overlays' flags). They report as the real
// screens do.
namespace standin {

class Screen : public PlaceholderScreen {
  public:
    Screen(GameSystem* owner, const SceneSetup& at, const char* name, bool coinBreaksIn,
           const std::string& extra = "")
        : PlaceholderScreen(owner, at.breakIn, at.successor,
                            Describe(name, at.breakIn, at.successor) + extra) {
        breaksInOnCoin = coinBreaksIn;
    }
};

class Loading : public Screen {
  public:
    Loading(GameSystem* owner, const SceneSetup& at) : Screen(owner, at, "LoadingScreen", false) {}
    void OnDrawPre() override {
        owner->LoadCommonResources();
        Screen::OnDrawPre();
    }

  protected:
    void Step() override {
        if (owner->AreResourcesLoaded()) {
            RequestSuccessor("");
        }
    }
};

class Notice : public Screen {
  public:
    Notice(GameSystem* owner, const SceneSetup& at) : Screen(owner, at, "NoticeScreen", false) {
        owner->ReportEvent(IoEvent::kNoticeShown, 0);
    }
    ~Notice() override { owner->ReportEvent(IoEvent::kNoticeEnded, 0); }
};

class Title : public Screen {
  public:
    Title(GameSystem* owner, const SceneSetup& at, const char* name) : Screen(owner, at, name, true) {
        owner->StartAttentionTimer();
        owner->ResetGame();
    }
};

class TitleStart : public Title {
  public:
    TitleStart(GameSystem* owner, const SceneSetup& at) : Title(owner, at, "TitleStartScreen") {
        breaksInOnCoin = false;
    }

  protected:
    void Step() override {
        if (!IsCurrentScene()) {
            return;
        }
        bool joined = false;
        for (int player = 0; player < 2; ++player) {
            const int mask = 1 << player;
            if (owner->GetPlayerStatus(mask) == 7 &&
                (owner->GetSystemButtons(player).pressed & SystemButton::kStart)) {
                owner->JoinPlayers(mask);
                joined = true;
            }
        }
        if (joined) {
            RequestSuccessor("titleshutter");
            owner->AddStartLock();
        }
    }
};

// The ending leaves through "gameover": its successor builds nothing.
class Ending : public Screen {
  public:
    Ending(GameSystem* owner, const SceneSetup& at) : Screen(owner, at, "EndingScreen", false, " 0 8") {}

  protected:
    void Step() override {
        if (steps + 1 >= stepsToRun) {
            RequestSuccessor("gameover");
        }
    }
};

class Overlay : public PlaceholderOverlay {
  public:
    Overlay(GameSystem* owner, int playerBit, int flagIndex, const char* name)
        : PlaceholderOverlay(owner, playerBit, flagIndex,
                             std::string(name) + " " + std::to_string(playerBit)) {}
};

class NameEntry : public Overlay {
  public:
    NameEntry(GameSystem* owner, int playerBit) : Overlay(owner, playerBit, 0, "NameEntryScreen") {}

  protected:
    void Finish() override {
        PlayerRecord& record = owner->GetPlayer(playerBit);
        owner->InsertRanking(record);
        record.playCount = 0;
    }
};

// The game's tutorial: the start that led to it took the start lock, it gives it back.
class Tutorial : public Screen {
  public:
    Tutorial(GameSystem* owner, const SceneSetup& at) : Screen(owner, at, "TutorialScreen", false) {}
    ~Tutorial() override { owner->ReleaseStartLock(); }
};

}  // namespace standin

// Registers the stand-ins; the real screens registered afterwards fill only the other scenes.
inline void RegisterStandInScreens(SceneRegistry& registry) {
    using standin::Screen;
    registry.Add("boot", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new standin::Loading(&s, at);
    });
    registry.Add("notice", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new standin::Notice(&s, at);
    });
    registry.Add("logo1", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new Screen(&s, at, "LogoScreen", true, " brova_logo");
    });
    registry.Add("logo2", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new Screen(&s, at, "LogoScreen", true, " orsane_logo");
    });
    registry.Add("demo", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new Screen(&s, at, "DemoMovieScreen", true);
    });
    for (const char* title : {"title1", "title2"}) {
        registry.Add(title, [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
            return new standin::Title(&s, at, "TitleScreen");
        });
    }
    registry.Add("titlestart", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new standin::TitleStart(&s, at);
    });
    for (const char* shutter : {"titleshutter", "tutorialshutter", "prevstage", "nextstage"}) {
        registry.Add(shutter, [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
            return new Screen(&s, at, "MentojiScreen", false);
        });
    }
    registry.Add("gameover", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new Screen(&s, at, "GameOverScreen", false);
    });
    registry.Add("gamestart", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new standin::Tutorial(&s, at);
    });
    registry.Add("demo-tut", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new Screen(&s, at, "DemoTutorialScreen", true);
    });
    registry.Add("shipselect", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new Screen(&s, at, "StageSelectScreen", false);
    });
    registry.Add("ending?", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new Screen(&s, at, "EndingMovieScreen", false, " 0");
    });
    registry.Add("ending", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new Screen(&s, at, "EndingMovieScreen", false, " 1");
    });
    // The attract loop's world screens and the ending, as quick steps of the flow.
    registry.Add("playdemo1", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new Screen(&s, at, "DemoPlayScreen", true, " 3");
    });
    registry.Add("playdemo2", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new Screen(&s, at, "DemoPlayScreen", true, " 2");
    });
    registry.Add("ranking1", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new Screen(&s, at, "RankingScreen", true, " 1 0");
    });
    registry.Add("ranking2", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new Screen(&s, at, "RankingScreen", true, " 1 1");
    });
    registry.Add("allclear", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
        return new standin::Ending(&s, at);
    });
}

inline void RegisterStandInOverlays(SceneRegistry& registry) {
    registry.joinIn = [](GameSystem& s, int playerBit) -> SystemTask* {
        return new standin::Overlay(&s, playerBit, 2, "JoinInScreen");
    };
    registry.nameEntry = [](GameSystem& s, int playerBit) -> SystemTask* {
        return new standin::NameEntry(&s, playerBit);
    };
}

}  // namespace mareldon
