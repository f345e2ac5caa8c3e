#include "engine/core/Clock.h"

#include <chrono>
#include <thread>

namespace mareldon {

namespace {

int64_t MonotonicNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

SystemClock& TheSystemClock() {
    static SystemClock clock;
    return clock;
}

std::atomic<Clock*> currentClock{nullptr};

}  // namespace

SystemClock::SystemClock() : originNs_(MonotonicNs()) {}

uint32_t SystemClock::Milliseconds() const {
    return static_cast<uint32_t>(static_cast<uint64_t>((MonotonicNs() - originNs_) / 1000000));
}

void SystemClock::Sleep(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

Clock& GetClock() {
    Clock* clock = currentClock.load(std::memory_order_acquire);
    return clock != nullptr ? *clock : TheSystemClock();
}

Clock* SetClock(Clock* clock) {
    Clock* previous = currentClock.exchange(clock, std::memory_order_acq_rel);
    return previous;
}

}  // namespace mareldon
