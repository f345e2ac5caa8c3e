#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/render/archive/ResourceProxy.h"
#include "game/objects/RegisterStageObjects.h"
#include "game/screens/ResultScreen.h"
#include "game/stage/ActualGameScreen.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/WorldEventLog.h"
#include "game/system/SceneTask.h"
#include "game/system/StageStart.h"
#include "tests/game/system/ServicesFixture.h"

namespace mareldon {

// A scene that stays current until something else is requested.
class IdleScene : public SceneTask {
  public:
    IdleScene(GameSystem* owner, const SceneSetup& at) : SceneTask(owner, at.breakIn, at.successor, 0) {}
    bool IsAlive() override { return IsAliveWhileCurrent(); }
};

// The boot scene of the world tests: loads the shared resources, then goes to the
// scene under test.
class LaunchScene : public SceneTask {
  public:
    LaunchScene(GameSystem* owner, const SceneSetup& at, const char* target)
        : SceneTask(owner, at.breakIn, at.successor, 0), target(target) {}
    bool IsAlive() override { return IsAliveWhileCurrent(); }
    void OnUpdatePre() override {
        owner->LoadCommonResources();
        RequestSuccessor(target);
    }

  private:
    const char* target;
};

// The play screen under test; says when it goes.
template <typename Base>
class WatchedScreen : public Base {
  public:
    template <typename... Args>
    WatchedScreen(bool* gone, Args&&... args) : Base(std::forward<Args>(args)...), gone(gone) {}
    ~WatchedScreen() override { *gone = true; }

  private:
    bool* gone;
};

// A game system with a renderer over an archive in memory, the recording graphics
// device and sound output, stepped at 60 steps a second, whose scene flow goes from
// boot straight to "actualgame": the real play screen, or a plain world screen when
// `musicOn` or `livePlay` is changed. "nextstage" and "gameover" are idle scenes.
class WorldScreenFixture : public ServicesFixture {
  public:
    static constexpr float kPeriod = 1.0f / 60.0f;

    explicit WorldScreenFixture(const std::vector<uint8_t>& archive = MakeBootArchive())
        : ServicesFixture(archive) {
        // As the program does: the stage objects build from the stage models' names.
        static const bool registered = [] {
            RegisterStageObjects(StageNodeRegistry::Global());
            return true;
        }();
        (void)registered;
        root.frameRate = 60.0f;
        root.framePeriod = kPeriod;
        flow.Add("boot", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
            return new LaunchScene(&s, at, "actualgame");
        });
        flow.Add("actualgame", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
            WorldScreenFixture& f = *current;
            GameWorldScreen* screen;
            if (f.plainWorld) {
                screen = new WatchedScreen<GameWorldScreen>(&f.screenGone, &s, at.breakIn, at.successor,
                                                            f.difficulty < 0 ? 3 : f.difficulty, 0, f.entry,
                                                            f.musicOn, f.livePlay);
            } else {
                screen = new WatchedScreen<ActualGameScreen>(&f.screenGone, &s, at.breakIn, at.successor,
                                                             f.difficulty < 0 ? 4 : f.difficulty, f.playMode,
                                                             f.entry);
            }
            screen->SetEventLog(&f.log);
            f.screen = screen;
            f.screenGone = false;
            return screen;
        });
        flow.stageResult = [](SystemTask& world, ResultWorld& results) -> SystemTask* {
            return new ResultScreen(&world, results);
        };
        flow.Add("nextstage",
                 [](GameSystem& s, const SceneSetup& at) -> SceneTask* { return new IdleScene(&s, at); });
        flow.Add("gameover",
                 [](GameSystem& s, const SceneSetup& at) -> SceneTask* { return new IdleScene(&s, at); });
        current = this;
    }
    ~WorldScreenFixture() {
        // The screen writes to the log while it goes.
        root.DeleteChildren();
        system = nullptr;
        root.screenTarget.Reset();
        current = nullptr;
    }

    // Gives the screens the device's screen texture to draw on.
    void AddScreen() { root.screenTarget.Reset(new ResourceProxy(root.graphicsDevice->ScreenTexture())); }
    // Starts the flow and steps until the play screen runs; false when it never did.
    bool StartWorld() {
        GameSystemPorts ports{&saves, RecordEvent, &inputs, &flow};
        ports.stageStart = stageStart;
        system = new GameSystem(&root, ports);
        for (int player = 1; player <= 2; ++player) {
            if (entered & player)
                Enter(player);
        }
        for (int i = 0; i < 10 && screen == nullptr; ++i)
            Step();
        return screen != nullptr;
    }
    // Puts a player in play, so the screen spawns a ship (from the start when the
    // system is not there yet).
    void Enter(int player) {
        if (system == nullptr)
            entered |= player;
        else
            system->GetPlayer(player).shipStock = 3;
    }
    // Steps until the predicate holds (at most `limit` steps); the steps taken, or -1.
    int StepUntil(const std::function<bool()>& done, int limit) {
        for (int i = 0; i < limit; ++i) {
            if (done())
                return i;
            Step();
        }
        return done() ? limit : -1;
    }
    // The step of the first event of that operation (and arguments), or -1.
    int StepOf(const char* operation, const char* arguments = nullptr) const {
        for (const WorldEvent& event : log.Events()) {
            if (event.operation == operation && (arguments == nullptr || event.arguments == arguments))
                return event.step;
        }
        return -1;
    }

    static inline WorldScreenFixture* current = nullptr;
    SceneRegistry flow;
    WorldEventLog log;
    GameWorldScreen* screen = nullptr;
    bool screenGone = false;
    bool plainWorld = false;
    int entered = 0;
    int32_t entry = 6;
    int32_t playMode = GameWorldScreen::kPlayLive;
    // The level the screen is given; -1: 3 for the plain world, 4 for the play screen.
    int32_t difficulty = -1;
    // Set: the system plays that stage number (the model stays `entry`'s).
    StageStart stageStart;
    uint8_t musicOn = 1;
    uint8_t livePlay = 1;
};

}  // namespace mareldon
