#include "engine/core/Log.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace mareldon {

namespace {

LogLevel InitialLevel() {
    const char* env = std::getenv("MARELDON_LOG");
    if (env == nullptr)
        return LogLevel::Info;
    if (std::strcmp(env, "debug") == 0)
        return LogLevel::Debug;
    if (std::strcmp(env, "warning") == 0)
        return LogLevel::Warning;
    if (std::strcmp(env, "error") == 0)
        return LogLevel::Error;
    return LogLevel::Info;
}

std::atomic<int> minimumLevel{static_cast<int>(InitialLevel())};
std::atomic<LogSink> currentSink{nullptr};
std::atomic<FatalHandler> currentFatal{nullptr};
std::mutex stderrMutex;

const char* LevelName(LogLevel level) {
    switch (level) {
        case LogLevel::Debug:
            return "debug";
        case LogLevel::Info:
            return "info";
        case LogLevel::Warning:
            return "warning";
        case LogLevel::Error:
            return "error";
    }
    return "?";
}

void WriteStderr(LogLevel level, const char* category, const char* text) {
    std::lock_guard<std::mutex> lock(stderrMutex);
    std::fprintf(stderr, "[%s] %s: %s\n", LevelName(level), category, text);
}

}  // namespace

void LogMessageV(LogLevel level, const char* category, const char* format, va_list args) {
    if (static_cast<int>(level) < minimumLevel.load(std::memory_order_relaxed))
        return;
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    LogSink sink = currentSink.load(std::memory_order_acquire);
    (sink != nullptr ? sink : WriteStderr)(level, category, text);
}

void LogMessage(LogLevel level, const char* category, const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogMessageV(level, category, format, args);
    va_end(args);
}

void SetLogLevel(LogLevel level) {
    minimumLevel.store(static_cast<int>(level), std::memory_order_relaxed);
}

LogLevel GetLogLevel() {
    return static_cast<LogLevel>(minimumLevel.load(std::memory_order_relaxed));
}

void WriteLogToStderr(LogLevel level, const char* category, const char* text) {
    WriteStderr(level, category, text);
}

LogSink SetLogSink(LogSink sink) {
    return currentSink.exchange(sink, std::memory_order_acq_rel);
}

FatalHandler SetFatalHandler(FatalHandler handler) {
    return currentFatal.exchange(handler, std::memory_order_acq_rel);
}

void Fatal(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    WriteStderr(LogLevel::Error, "fatal", text);
    FatalHandler handler = currentFatal.load(std::memory_order_acquire);
    if (handler != nullptr)
        handler(text);
    std::abort();
}

}  // namespace mareldon
