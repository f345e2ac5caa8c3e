#include "engine/platform/FrameCapture.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace mareldon {

namespace {

std::atomic<bool> g_armed{false};

// A whole decimal number from 1 to 2^32 - 1 ending at `end`; 0 otherwise.
uint32_t ParseCount(const char* begin, const char* end) {
    if (begin == end || end - begin > 10) {
        return 0;
    }
    uint64_t value = 0;
    for (const char* p = begin; p != end; ++p) {
        if (*p < '0' || *p > '9') {
            return 0;
        }
        value = value * 10 + static_cast<uint64_t>(*p - '0');
    }
    return value > 0xFFFFFFFFull ? 0 : static_cast<uint32_t>(value);
}

bool StartsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

}  // namespace

bool ParseCaptureRequest(const char* text, CaptureRequest& request) {
    if (text == nullptr) {
        return false;
    }
    CaptureRequest parsed;
    if (StartsWith(text, "signal:")) {
        parsed.when = CaptureRequest::When::Signal;
        parsed.path = text + 7;
    } else if (StartsWith(text, "step:")) {
        const char* number = text + 5;
        const char* colon = std::strchr(number, ':');
        if (colon == nullptr) {
            return false;
        }
        parsed.when = CaptureRequest::When::Step;
        parsed.steps = ParseCount(number, colon);
        parsed.path = colon + 1;
        if (parsed.steps == 0) {
            return false;
        }
    } else if (StartsWith(text, "log:")) {
        // The file follows the last colon: TEXT may hold colons, a file name seldom does.
        const char* body = text + 4;
        const char* colon = std::strrchr(body, ':');
        if (colon == nullptr) {
            return false;
        }
        std::string line(body, colon);
        const size_t plus = line.rfind('+');
        if (plus != std::string::npos && plus + 1 < line.size()) {
            const uint32_t after = ParseCount(line.c_str() + plus + 1, line.c_str() + line.size());
            if (after > 0) {
                parsed.steps = after;
                line.erase(plus);
            }
        }
        parsed.when = CaptureRequest::When::Log;
        parsed.text = line;
        parsed.path = colon + 1;
        if (parsed.text.empty()) {
            return false;
        }
    } else {
        const char* colon = std::strchr(text, ':');
        if (colon == nullptr) {
            return false;
        }
        parsed.frame = ParseCount(text, colon);
        parsed.path = colon + 1;
        if (parsed.frame == 0) {
            return false;
        }
    }
    if (parsed.path.empty()) {
        return false;
    }
    request = parsed;
    return true;
}

void ArmCapture() {
    g_armed.store(true, std::memory_order_release);
}

bool TakeArmedCapture() {
    return g_armed.exchange(false, std::memory_order_acq_rel);
}

}  // namespace mareldon
