#include "engine/core/DebugLog.h"

#include "engine/core/Log.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "engine/core/AppBase.h"
#include "engine/core/Cp932.h"

namespace mareldon {

namespace {

std::atomic<LogHookFunction> currentHook{WriteSystemLog};
std::mutex logPathMutex;
std::string logPath;  // empty: the default next to the program

std::string SystemLogPath() {
    std::lock_guard<std::mutex> lock(logPathMutex);
    if (logPath.empty())
        logPath = std::string(GetExecutableDirectory().Text()) + "_KWENLOG.txt";
    return logPath;
}

}  // namespace

LogHookFunction SetLogHook(LogHookFunction hook) {
    return currentHook.exchange(hook != nullptr ? hook : WriteSystemLog, std::memory_order_acq_rel);
}

LogHookFunction GetLogHook() {
    return currentHook.load(std::memory_order_acquire);
}

void CallLogHook(const char* text) {
    GetLogHook()(text != nullptr ? text : "");
}

void WriteSystemLog(const char* text) {
    std::FILE* file = std::fopen(SystemLogPath().c_str(), "a");
    if (file == nullptr)
        return;
    std::fprintf(file, "%s", text);
    std::fclose(file);
}

void SetSystemLogPath(const char* path) {
    std::lock_guard<std::mutex> lock(logPathMutex);
    logPath = path != nullptr ? path : "";
}

void SendDebugText(const char* text) {
    SendToDebugWindow("-DBGOUT-", text, kDebugTextCode);
}

void SendToDebugWindow(const char* title, const char* text, uint16_t code) {
    (void)code;
    std::string utf8 = Cp932ToUtf8(text != nullptr ? text : "");
    LOG_DEBUG(title, "%s", utf8.c_str());
}

std::vector<uint8_t> BuildDebugViewerBlock(const char* text, uint16_t code) {
    // Sized from the converted text itself, so invalid bytes cannot make it short.
    std::u16string wide = Cp932ToUtf16(text != nullptr ? text : "");
    std::vector<uint8_t> block((wide.size() + 2) * 4, 0);
    block[0] = static_cast<uint8_t>(code & 0xFF);
    block[1] = static_cast<uint8_t>(code >> 8);
    for (size_t i = 0; i < wide.size(); ++i) {
        block[2 + 2 * i] = static_cast<uint8_t>(wide[i] & 0xFF);
        block[3 + 2 * i] = static_cast<uint8_t>(wide[i] >> 8);
    }
    return block;
}

}  // namespace mareldon
