#include "engine/core/Stopwatch.h"

#include "engine/core/Clock.h"

namespace mareldon {

Stopwatch::Stopwatch() : start(TickCount()) {}

uint32_t Stopwatch::Restart() {
    start = TickCount();
    return start;
}

float Stopwatch::ElapsedSeconds() const {
    return static_cast<float>(static_cast<uint32_t>(TickCount() - start)) * 0.001f;
}

}  // namespace mareldon
