#include "engine/platform/posix/WorkerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace mareldon {
namespace {

// Spins on the stop flag the way the file worker does.
class Spinner final : public WorkerThread {
  public:
    ~Spinner() override { StopAndJoin(); }
    std::atomic<int> runs{0};
    std::atomic<bool> inside{false};
    std::atomic<bool> returned{false};

  protected:
    void Run() override {
        runs.fetch_add(1);
        inside = true;
        returned = false;
        while (!StopRequested()) {
            std::this_thread::yield();
        }
        returned = true;
    }
};

TEST(WorkerThreadTest, NeverStartedThreadStopsAtOnce) {
    Spinner spinner;
    spinner.StopAndJoin();
    EXPECT_FALSE(spinner.IsRunning());
    EXPECT_FALSE(spinner.StopRequested());
    EXPECT_EQ(spinner.runs.load(), 0);
}

TEST(WorkerThreadTest, StopWaitsForRunAndRestartRunsAgain) {
    Spinner spinner;
    for (int round = 1; round <= 2; ++round) {
        ASSERT_TRUE(spinner.Start());
        EXPECT_FALSE(spinner.Start());  // one thread at a time
        while (!spinner.inside) {
            std::this_thread::yield();
        }
        spinner.StopAndJoin();
        EXPECT_TRUE(spinner.returned.load());
        EXPECT_FALSE(spinner.IsRunning());
        EXPECT_FALSE(spinner.StopRequested());
        EXPECT_EQ(spinner.ThreadId(), std::thread::id());
        EXPECT_EQ(spinner.runs.load(), round);
        spinner.inside = false;
    }
}

TEST(WorkerThreadTest, DestroyingARunningThreadJoinsIt) {
    auto spinner = std::make_unique<Spinner>();
    ASSERT_TRUE(spinner->Start());
    while (!spinner->inside) {
        std::this_thread::yield();
    }
    EXPECT_FALSE(spinner->returned.load());
    // Must not return before Run has: ASan reports the worker touching freed
    // members otherwise.
    spinner.reset();
}

}  // namespace
}  // namespace mareldon
