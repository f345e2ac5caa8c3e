#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/String.h"

namespace mareldon {

class GameSystem;
class SceneTask;
class SystemTask;

// What the game system hands the screen of a scene it builds: the scene table's
// break-in (A) and successor (B) names, and what its steps worked out from the
// system's state.
struct SceneSetup {
    String name;
    const char* breakIn = "";
    const char* successor = "";
    // "actualgame": the play screen's arguments.
    int32_t difficulty = 0;
    int32_t playMode = 0;  // 0 normal, 2 recording the players' input
    int32_t stage = 0;
};

// Builds a scene's screen under the game system.
using SceneFactory = SceneTask* (*)(GameSystem& system, const SceneSetup& setup);
// Builds an overlay over the running scene for one player (a player mask bit).
using OverlayFactory = SystemTask* (*)(GameSystem& system, int playerBit);
class ResultWorld;
// Builds the result overlay of a cleared stage as a child of the world screen.
using ResultFactory = SystemTask* (*)(SystemTask& worldScreen, ResultWorld& world);

// The screens the game system builds, filled by the screens themselves so the
// game system needs none of their headers: a factory per scene name, and the two
// overlays the system opens for a player.
class SceneRegistry {
  public:
    struct Entry {
        std::string name;
        SceneFactory factory;
    };

    // False (and nothing changes) for a null factory or a name that has one.
    bool Add(const char* name, SceneFactory factory);
    // Null when no screen is registered under the name.
    SceneFactory Find(const String& name) const;
    const std::vector<Entry>& Entries() const { return entries_; }

    // A joining player's ship select, over the running stage.
    OverlayFactory joinIn = nullptr;
    // A finished player's name entry.
    OverlayFactory nameEntry = nullptr;
    // The tally of a cleared stage, over the world screen.
    ResultFactory stageResult = nullptr;

  private:
    std::vector<Entry> entries_;
};

}  // namespace mareldon
