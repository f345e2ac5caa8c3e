#pragma once

#include <cstdint>
#include <vector>

namespace mareldon {

// The game's one channel for debug text (apart from the program's own logger in
// Log.h): a process-wide hook taking a zero-terminated cp932 text. Nothing in the
// game writes through it; it is kept for tools that do.
using LogHookFunction = void (*)(const char* text);

// Installs a hook (nullptr restores WriteSystemLog); returns the previous one.
LogHookFunction SetLogHook(LogHookFunction hook);
LogHookFunction GetLogHook();
// Passes text to the current hook.
void CallLogHook(const char* text);

// The default hook: appends the text to the system log file, silently giving up when
// it cannot be opened. The file is "_KWENLOG.txt" in the program directory (the root
// of the drive, where it once went, is not writable on Linux).
void WriteSystemLog(const char* text);
// Replaces the system log file's path (nullptr restores the default).
void SetSystemLogPath(const char* path);

// The hook the application installs: the text goes to the debug viewer.
void SendDebugText(const char* text);
constexpr uint16_t kDebugTextCode = 9;

// There are no cross-process window messages on Linux: the viewer's text goes to the
// program's log at debug level (MARELDON_LOG=debug shows it), under the viewer's title.
void SendToDebugWindow(const char* title, const char* text, uint16_t code);

// The block a viewer receives: code (u16 LE), the text as UTF-16 LE with a 16-bit
// zero, zero filler up to (n + 2) * 4 bytes for n code units.
std::vector<uint8_t> BuildDebugViewerBlock(const char* text, uint16_t code = kDebugTextCode);

}  // namespace mareldon
