#pragma once

#include <cstdint>

namespace mareldon {

// What the stage result overlay asks of the world screen whose stage was
// cleared: the world implements it and builds the overlay through
// SceneRegistry::stageResult.
class ResultWorld {
  public:
    virtual ~ResultWorld() = default;
    // Whole seconds left when the clear began (below 0 when it came after the time ran out).
    virtual int32_t GetClearTime() const = 0;
    virtual int32_t GetKillPercent(uint32_t mask) const = 0;
    // Adds value times the player's multiplier.
    virtual void AddScore64(uint32_t mask, int64_t value) = 0;
    // Adds value as it is.
    virtual void AddScoreRaw(uint32_t mask, uint64_t value) = 0;
    // Ends the clear jingle.
    virtual void StopStageMusic() = 0;
};

}  // namespace mareldon
