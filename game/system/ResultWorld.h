#pragma once

#include <cstdint>

namespace mareldon {

// What the stage result overlay asks of the world screen whose stage was
// cleared: the world implements it and builds the overlay through
// SceneRegistry::stageResult.
class ResultWorld {
  public:
    virtual ~ResultWorld() = default;
    // Whole seconds left when the clear began, never negative.
    virtual int GetClearTime() = 0;
    virtual int GetKillPercent(int mask) = 0;
    // Adds value times the player's multiplier.
    virtual void AddScore64(int mask, uint64_t value) = 0;
    // Adds value as it is.
    virtual void AddScoreRaw(int mask, uint64_t value) = 0;
    // Ends the clear jingle.
    virtual void StopStageMusic() = 0;
};

}  // namespace mareldon
