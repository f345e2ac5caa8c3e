#pragma once

#include <cstdint>

namespace mareldon {

// Milliseconds from the process clock, so tests drive it with a virtual clock.
class Stopwatch {
  public:
    Stopwatch();
    // Starts again now; returns the new start.
    uint32_t Restart();
    // Seconds since the start, across the 2^32 ms wrap.
    float ElapsedSeconds() const;

    uint32_t start;
};

}  // namespace mareldon
