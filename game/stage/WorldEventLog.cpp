#include "game/stage/WorldEventLog.h"

#include <cstdarg>
#include <cstdio>

namespace mareldon {

void WorldEventLog::Record(std::string_view operation, std::string_view arguments) {
    events.push_back({step, std::string(operation), std::string(arguments)});
}

void WorldEventLog::RecordFormat(std::string_view operation, const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Record(operation, text);
}

int32_t WorldEventLog::Count(std::string_view operation) const {
    int32_t count = 0;
    for (const WorldEvent& event : events)
        count += event.operation == operation ? 1 : 0;
    return count;
}

int32_t WorldEventLog::Count(std::string_view operation, std::string_view arguments) const {
    int32_t count = 0;
    for (const WorldEvent& event : events)
        count += event.operation == operation && event.arguments == arguments ? 1 : 0;
    return count;
}

}  // namespace mareldon
