#pragma once

#include <atomic>
#include <cstdint>

namespace mareldon {

// The one source of time. Milliseconds wrap at 2^32 like the tick counter the
// game was written against; callers subtract as unsigned 32-bit numbers.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual uint32_t Milliseconds() const = 0;
    // Gives the CPU away for about ms milliseconds. A virtual clock advances instead.
    virtual void Sleep(uint32_t ms) = 0;
};

// Monotonic wall time.
class SystemClock final : public Clock {
  public:
    SystemClock();
    uint32_t Milliseconds() const override;
    void Sleep(uint32_t ms) override;

  private:
    int64_t originNs_;
};

// Time that moves only when told to, so tests step the program without waiting.
// Safe to read from other threads (the bus and worker threads sleep on it too).
class VirtualClock final : public Clock {
  public:
    explicit VirtualClock(uint32_t start = 0) : now_(start) {}
    uint32_t Milliseconds() const override { return now_.load(std::memory_order_acquire); }
    void Sleep(uint32_t ms) override { Advance(ms); }
    void Set(uint32_t ms) { now_.store(ms, std::memory_order_release); }
    void Advance(uint32_t ms) { now_.fetch_add(ms, std::memory_order_acq_rel); }

  private:
    std::atomic<uint32_t> now_;
};

// The process-wide clock: a SystemClock unless a test installed another.
Clock& GetClock();
// Installs a clock (nullptr restores the system clock); returns the previous one.
Clock* SetClock(Clock* clock);
// Milliseconds of the process-wide clock.
inline uint32_t TickCount() {
    return GetClock().Milliseconds();
}

// Installs a clock for the lifetime of a scope.
class ScopedClock {
  public:
    explicit ScopedClock(Clock& clock) : previous_(SetClock(&clock)) {}
    ~ScopedClock() { SetClock(previous_); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

  private:
    Clock* previous_;
};

}  // namespace mareldon
