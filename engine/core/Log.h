#pragma once

#include <cstdarg>

namespace mareldon {

// The program's own diagnostics (not the game's debug text hook): one logger
// with levels and categories, writing to stderr unless a test installs a sink.
enum class LogLevel { Debug = 0, Info = 1, Warning = 2, Error = 3 };

using LogSink = void (*)(LogLevel level, const char* category, const char* text);

void LogMessage(LogLevel level, const char* category, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
void LogMessageV(LogLevel level, const char* category, const char* format, va_list args);

#define MARELDON_LOG_AT(level, category, ...) ::mareldon::LogMessage(level, category, __VA_ARGS__)
#define LOG_DEBUG(category, ...) MARELDON_LOG_AT(::mareldon::LogLevel::Debug, category, __VA_ARGS__)
#define LOG_INFO(category, ...) MARELDON_LOG_AT(::mareldon::LogLevel::Info, category, __VA_ARGS__)
#define LOG_WARN(category, ...) MARELDON_LOG_AT(::mareldon::LogLevel::Warning, category, __VA_ARGS__)
#define LOG_ERROR(category, ...) MARELDON_LOG_AT(::mareldon::LogLevel::Error, category, __VA_ARGS__)

// Messages below this level are dropped. Default Info; MARELDON_LOG=debug lowers it.
void SetLogLevel(LogLevel level);
LogLevel GetLogLevel();

// Replaces the stderr writer (nullptr restores it); returns the previous sink.
LogSink SetLogSink(LogSink sink);
// The stderr writer, for a sink that only watches the lines go by.
void WriteLogToStderr(LogLevel level, const char* category, const char* text);

// An unrecoverable condition: logs, calls the fatal handler and aborts if it returns.
using FatalHandler = void (*)(const char* text);
[[noreturn]] void Fatal(const char* format, ...) __attribute__((format(printf, 1, 2)));
FatalHandler SetFatalHandler(FatalHandler handler);

}  // namespace mareldon
