#pragma once

#include <cstring>
#include <memory>
#include <vector>

#include "engine/core/PlayerInput.h"
#include "game/screens/StageSelectScreen.h"
#include "game/screens/TutorialScreen.h"
#include "game/system/InputManager.h"
#include "game/system/SystemInputs.h"
#include "tests/game/stage/WorldScreenFixture.h"

namespace mareldon {

// The ship select and the tutorials on a game system with a renderer over the game's
// placeholder archive and the recording device, at 60 steps a second: boot goes
// straight to `target`; the scenes after it are idle.
class WorldScenesFixture : public ServicesFixture {
  public:
    explicit WorldScenesFixture(const char* target) : ServicesFixture(MakeGameArchive()), target(target) {
        root.frameRate = 60.0f;
        root.framePeriod = 1.0f / 60.0f;
        flow.Add("boot", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
            return new LaunchScene(&s, at, current->target);
        });
        flow.Add("shipselect", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
            return current->Watch(
                new WatchedScreen<StageSelectScreen>(&current->gone, &s, at.breakIn, at.successor));
        });
        flow.Add("gamestart", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
            return current->Watch(
                new WatchedScreen<TutorialScreen>(&current->gone, &s, at.breakIn, at.successor));
        });
        flow.Add("demo-tut", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
            return current->Watch(
                new WatchedScreen<DemoTutorialScreen>(&current->gone, &s, at.breakIn, at.successor));
        });
        for (const char* idle : {"nextstage", "tutorialshutter", "titlestart", "playdemo1", "title1"}) {
            flow.Add(idle,
                     [](GameSystem& s, const SceneSetup& at) -> SceneTask* { return new IdleScene(&s, at); });
        }
        current = this;
    }
    ~WorldScenesFixture() {
        root.DeleteChildren();
        system = nullptr;
        root.inputManager = nullptr;
        current = nullptr;
    }

    // An input manager with no devices, so replayed traces play: its inputs are
    // updated before each step, as the main loop does.
    void UseInputManager() {
        manager = std::make_unique<InputManager>(nullptr, 2, 0, 1, nullptr,
                                                 [](const char*) { return std::unique_ptr<SerialLink>(); });
        root.inputManager = manager.get();
    }
    // One step, the inputs first.
    void Tick() {
        if (manager) {
            for (TreeNode* child = manager->firstChild; child != nullptr;) {
                TreeNode* next = child->next == manager->firstChild ? nullptr : child->next;
                static_cast<InputNode*>(child)->Update();
                child = next;
            }
        }
        Step();
    }

    MemoryFileSystem& Files() { return static_cast<MemoryFileSystem&>(*root.fileSystem); }
    void AddScreen() { root.screenTarget.Reset(new ResourceProxy(root.graphicsDevice->ScreenTexture())); }
    // Starts the flow with the players in `players` (bits) in the game; false when the
    // target never ran.
    bool RunWith(int players) {
        system = new GameSystem(&root, GameSystemPorts{&saves, RecordEvent, &inputs, &flow});
        for (int player = 1; player <= 2; ++player) {
            if (players & player)
                system->GetPlayer(player).shipStock = 3;
        }
        for (int i = 0; i < 10 && screen == nullptr; ++i)
            Tick();
        return screen != nullptr;
    }
    // One step with these buttons newly pressed on the scripted inputs.
    void Press(uint32_t p1, uint32_t p2 = 0) {
        inputs.masks[0].pressed = p1;
        inputs.masks[1].pressed = p2;
        Tick();
        inputs.masks[0].pressed = 0;
        inputs.masks[1].pressed = 0;
    }
    void Steps(int count) {
        for (int i = 0; i < count; ++i)
            Tick();
    }
    bool IsCurrent(const char* scene) const { return system->GetCurrentSceneName().Equals(scene); }

    static inline WorldScenesFixture* current = nullptr;
    const char* target;
    SceneRegistry flow;
    GameWorldScreen* screen = nullptr;
    bool gone = false;
    std::unique_ptr<InputManager> manager;

  private:
    SceneTask* Watch(GameWorldScreen* built) {
        screen = built;
        gone = false;
        return built;
    }
};

// A trace file image of one player: ship type, three zero words, the table's header
// and one record per held-button word.
inline std::vector<uint8_t> TraceImage(uint32_t shipType, const std::vector<uint32_t>& words) {
    std::vector<uint8_t> bytes(16 + 16 * (words.size() + 1), 0);
    auto put = [&bytes](size_t at, uint32_t value) { std::memcpy(bytes.data() + at, &value, 4); };
    put(0, shipType);
    put(16, PlayerInput::kTraceTag);
    put(24, uint32_t(16 * (words.size() + 1)));
    put(28, uint32_t(words.size()));
    for (size_t i = 0; i < words.size(); ++i)
        put(32 + 16 * i, words[i]);
    return bytes;
}

}  // namespace mareldon
