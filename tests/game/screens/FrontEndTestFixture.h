#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tests/game/system/GameSystemFixture.h"

namespace mareldon {

// The real front-end screens on a game system without a renderer, stepped in
// the main loop's order (draw, then update and sweep) with scripted buttons.
// The log notes every scene as it becomes current, with the step it came on.
class FrontEndFixture : public GameSystemFixture {
  public:
    FrontEndFixture() : GameSystemFixture(3, true) {
        drawFirst = true;
        // The main loop's rate, which the screens' clocks run on.
        root.frameRate = 60.0f;
        root.framePeriod = 1.0f / 60.0f;
    }

    // One step, noting the scene if it changed.
    bool Tick() {
        const bool alive = Step();
        ++steps;
        if (system != nullptr) {
            const std::string scene = system->GetCurrentSceneName().Text();
            if (!scene.empty() && (scenes.empty() || scenes.back().first != scene)) {
                scenes.emplace_back(scene, steps);
            }
        }
        return alive;
    }
    // Steps until the scene is current; the steps it took, or -1.
    int Until(const char* scene, int limit = 3000) {
        for (int i = 0; i < limit; ++i) {
            if (system != nullptr && system->GetCurrentSceneName().Equals(scene)) {
                return i;
            }
            if (!Tick()) {
                return -1;
            }
        }
        return -1;
    }
    // Runs `count` steps.
    void Steps(int count) {
        for (int i = 0; i < count; ++i) {
            Tick();
        }
    }
    // Holds `bits` newly pressed on the input for one step.
    void Press(int input, uint32_t bits) {
        inputs.masks[input].pressed = bits;
        inputs.masks[input].repeat = bits;
        Tick();
        inputs.masks[input].pressed = 0;
        inputs.masks[input].repeat = 0;
    }
    // Makes the current scene request `name`, and runs the step that builds it.
    void Jump(const char* name) {
        system->GetCurrentScene()->RequestSuccessor(name);
        root.CollectDead();
    }
    // Free play: every player may start without a coin (status 7).
    void FreePlay() {
        OperatingSettings settings = system->GetOperatingSettings();
        settings.playMode = 1;
        system->StoreOperatingSettings(settings);
    }

    int steps = 0;
    std::vector<std::pair<std::string, int>> scenes;
};

}  // namespace mareldon
