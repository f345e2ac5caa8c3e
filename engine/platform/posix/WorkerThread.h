#pragma once

#include <atomic>
#include <thread>

namespace mareldon {

// The thread's state block: no thread and a clear flag whenever it is idle.
struct ThreadState {
    std::thread thread;
    std::thread::id id;
    // Written by the owner while the worker reads it, hence atomic.
    std::atomic<bool> stopRequested{false};
};

// One background thread around a virtual Run. The owner starts it; Run must
// return soon after StopRequested() turns true.
class WorkerThread {
  public:
    WorkerThread() = default;
    // Joins a thread still running. A derived class whose Run touches its own
    // members must call StopAndJoin in its destructor first.
    virtual ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts Run on a new thread; false when one is already running.
    bool Start();
    // Asks Run to return and waits until it has. Nothing when no thread runs.
    void StopAndJoin();

    bool IsRunning() const { return state_.thread.joinable(); }
    bool StopRequested() const { return state_.stopRequested.load(std::memory_order_acquire); }
    std::thread::id ThreadId() const { return state_.id; }

  protected:
    virtual void Run() = 0;

  private:
    ThreadState state_;
};

}  // namespace mareldon
