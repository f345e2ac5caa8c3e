#include "game/system/CaptureTrigger.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>

#include "engine/core/Log.h"

namespace mareldon {

namespace {

constexpr const char* kLog = "capture";
constexpr uint32_t kNotSeen = 0xFFFFFFFFu;

std::atomic<bool> g_signalled{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// What the log sink watches for; lines come from any thread.
std::mutex g_watchMutex;
std::string g_watchedText;
LogSink g_previousSink = nullptr;
std::atomic<uint32_t> g_currentStep{0};
std::atomic<uint32_t> g_seenAtStep{kNotSeen};

void WatchLog(LogLevel level, const char* category, const char* text) {
    if (g_seenAtStep.load(std::memory_order_acquire) == kNotSeen) {
        std::lock_guard lock(g_watchMutex);
        if (!g_watchedText.empty() && std::strstr(text, g_watchedText.c_str()) != nullptr) {
            g_seenAtStep.store(g_currentStep.load(std::memory_order_acquire), std::memory_order_release);
        }
    }
    (g_previousSink != nullptr ? g_previousSink : WriteLogToStderr)(level, category, text);
}

}  // namespace

void NoteCaptureSignal() {
    g_signalled.store(true, std::memory_order_release);
}

CaptureTrigger::CaptureTrigger(const CaptureRequest& request) : request_(request) {
    g_signalled.store(false);
    g_currentStep.store(0);
    g_seenAtStep.store(kNotSeen);
    if (request_.when == CaptureRequest::When::Log) {
        {
            std::lock_guard lock(g_watchMutex);
            g_watchedText = request_.text;
        }
        g_previousSink = SetLogSink(WatchLog);
    }
}

CaptureTrigger::~CaptureTrigger() {
    if (request_.when == CaptureRequest::When::Log) {
        SetLogSink(g_previousSink);
        std::lock_guard lock(g_watchMutex);
        g_watchedText.clear();
    }
}

void CaptureTrigger::StepStarts(uint32_t step) {
    step_ = step;
    g_currentStep.store(step, std::memory_order_release);
}

bool CaptureTrigger::StepEnds() {
    bool now = false;
    switch (request_.when) {
        case CaptureRequest::When::Frame:
            break;
        case CaptureRequest::When::Step:
            now = !done_ && step_ == request_.steps;
            break;
        case CaptureRequest::When::Log: {
            const uint32_t seen = g_seenAtStep.load(std::memory_order_acquire);
            now = !done_ && seen != kNotSeen && step_ >= seen + request_.steps;
            break;
        }
        case CaptureRequest::When::Signal:
            now = g_signalled.exchange(false, std::memory_order_acq_rel);
            break;
    }
    if (!now) {
        return false;
    }
    done_ = request_.when != CaptureRequest::When::Signal;
    LOG_INFO(kLog, "the picture after step %u goes to %s", step_, request_.path.c_str());
    ArmCapture();
    return true;
}

}  // namespace mareldon
