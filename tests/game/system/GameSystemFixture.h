#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/TaskObject.h"
#include "game/screens/PlaceholderScreen.h"
#include "game/screens/RegisterScreens.h"
#include "game/system/GameSystem.h"
#include "game/system/SaveFileStore.h"
#include "game/testmode/RegisterTestMode.h"
#include "tests/game/system/StandInScreens.h"

namespace mareldon {

// Save files in memory; counts the replaces.
class MemorySaveFiles : public SaveFileStore {
  public:
    bool Read(const char* path, size_t limit, std::vector<uint8_t>& bytes) override {
        auto it = files.find(path);
        if (it == files.end() || it->second.size() > limit) {
            return false;
        }
        bytes = it->second;
        return true;
    }
    bool Replace(const char* path, const uint8_t* data, size_t size) override {
        files[path].assign(data, data + size);
        ++replaces;
        return true;
    }
    bool KeepAside(const char* path, std::string& keptAs) override {
        keptAs.clear();
        auto it = files.find(path);
        if (it == files.end()) {
            return true;
        }
        keptAs = std::string(path) + ".damaged";
        for (int copy = 2; files.count(keptAs) != 0; ++copy) {
            keptAs = std::string(path) + ".damaged." + std::to_string(copy);
        }
        files[keptAs] = std::move(it->second);
        files.erase(path);
        return true;
    }
    std::map<std::string, std::vector<uint8_t>> files;
    int replaces = 0;
};

// The two system inputs' masks, as the test sets them for the next step.
class FakeSystemInputs : public SystemInputs {
  public:
    ButtonSet GetButtons(int input) const override { return masks[input & 1]; }
    ButtonSet masks[2]{};
};

// Every event the game system reported, in order.
inline std::vector<std::pair<uint32_t, uint32_t>>& Events() {
    static std::vector<std::pair<uint32_t, uint32_t>> events;
    return events;
}
inline int RecordEvent(uint32_t code, uint32_t argument) {
    Events().emplace_back(code, argument);
    return 1;
}

// Every sound effect asked for, in order.
inline std::vector<int32_t>& SoundEffects() {
    static std::vector<int32_t> effects;
    return effects;
}
inline void RecordSe(int32_t id) {
    SoundEffects().push_back(id);
}

// Every stand-in screen built, as "Class breakin successor args...".
inline std::vector<std::string>& Built() {
    static std::vector<std::string> built;
    return built;
}
inline void RecordBuilt(const std::string& description) {
    Built().push_back(description);
}

// The play screen of the flow tests: it hands over to "nextstage" after the
// stand-ins' steps, as the other stand-ins do, so a whole game runs in a few steps.
class FlowPlayScreen : public PlaceholderScreen {
  public:
    FlowPlayScreen(GameSystem* owner, const SceneSetup& at)
        : PlaceholderScreen(owner, at.breakIn, at.successor,
                            Describe("ActualGameScreen", at.breakIn, at.successor) + " " +
                                std::to_string(at.difficulty) + " " + std::to_string(at.playMode) + " " +
                                std::to_string(at.stage)) {}

  protected:
    void Step() override {
        if (steps + 1 >= stepsToRun) {
            RequestSuccessor("nextstage");
        }
    }
};

// Every screen of the game but the play screen, which FlowPlayScreen stands in for.
inline void RegisterFlowScreens(SceneRegistry& scenes) {
    SceneRegistry all;
    RegisterScreens(all);
    for (const SceneRegistry::Entry& entry : all.Entries()) {
        if (entry.name != "actualgame") {
            scenes.Add(entry.name.c_str(), entry.factory);
        }
    }
    scenes.Add("actualgame",
               [](GameSystem& s, const SceneSetup& at) -> SceneTask* { return new FlowPlayScreen(&s, at); });
    scenes.joinIn = all.joinIn;
    scenes.nameEntry = all.nameEntry;
    scenes.stageResult = all.stageResult;
}

// A game system under a root task, stepped the way the main loop does:
// update pass, sweep (where the scene flow runs), drawing pass. The front-end
// screens are quick stand-ins unless `realScreens`.
class GameSystemFixture {
  public:
    explicit GameSystemFixture(int stepsPerScreen = 3, bool realScreens = false) : root(nullptr, 0) {
        Events().clear();
        Built().clear();
        SoundEffects().clear();
        PlaceholderScreen::stepsToRun = stepsPerScreen;
        PlaceholderScreen::onBuilt = RecordBuilt;
        if (!realScreens) {
            RegisterStandInScreens(scenes);
        }
        RegisterFlowScreens(scenes);
        RegisterTestMode(scenes);
        if (!realScreens) {
            RegisterStandInOverlays(scenes);
        }
    }
    ~GameSystemFixture() { PlaceholderScreen::onBuilt = nullptr; }

    // What the game system is handed: the scripted stand-ins and the screens.
    GameSystemPorts Ports() {
        GameSystemPorts ports{&saves, RecordEvent, &inputs, &scenes};
        ports.seAsked = RecordSe;
        return ports;
    }
    GameSystem& Start() {
        system = new GameSystem(&root, Ports());
        return *system;
    }
    // One main-loop step; false once the program has ended. The main loop
    // draws first; most game-system tests keep the older order.
    bool Step() {
        if (drawFirst) {
            root.Draw();
        }
        root.Update();
        root.CollectDead();
        if (!drawFirst) {
            root.Draw();
        }
        if (root.childCount == 0) {
            system = nullptr;
        }
        return system != nullptr;
    }
    // Steps until the named scene is current (at most `limit` steps).
    bool RunUntil(const char* scene, int limit = 1000) {
        for (int i = 0; i < limit; ++i) {
            if (system && system->GetCurrentSceneName().Equals(scene)) {
                return true;
            }
            if (!Step()) {
                return false;
            }
        }
        return false;
    }

    bool drawFirst = false;
    TaskObject root;
    MemorySaveFiles saves;
    FakeSystemInputs inputs;
    SceneRegistry scenes;
    GameSystem* system = nullptr;
};

}  // namespace mareldon
