#include "engine/platform/posix/WorkerThread.h"

namespace mareldon {

WorkerThread::~WorkerThread() {
    StopAndJoin();
}

bool WorkerThread::Start() {
    if (state_.thread.joinable()) {
        return false;
    }
    state_.stopRequested.store(false, std::memory_order_release);
    state_.thread = std::thread([this] { Run(); });
    state_.id = state_.thread.get_id();
    return true;
}

void WorkerThread::StopAndJoin() {
    if (!state_.thread.joinable()) {
        return;
    }
    state_.stopRequested.store(true, std::memory_order_release);
    state_.thread.join();
    state_.id = std::thread::id();
    state_.stopRequested.store(false, std::memory_order_release);
}

}  // namespace mareldon
