#include "engine/core/Log.h"

#include <gtest/gtest.h>

#include <string>

namespace mareldon {
namespace {

std::string lastText;
std::string lastCategory;

void Capture(LogLevel, const char* category, const char* text) {
    lastCategory = category;
    lastText = text;
}

TEST(LogTest, SinkReceivesFormattedTextAboveTheLevel) {
    LogSink previous = SetLogSink(Capture);
    LogLevel previousLevel = GetLogLevel();
    SetLogLevel(LogLevel::Info);
    LOG_WARN("jvs", "retry %d of %d", 2, 5);
    EXPECT_EQ(lastCategory, "jvs");
    EXPECT_EQ(lastText, "retry 2 of 5");
    lastText.clear();
    LOG_DEBUG("jvs", "hidden");
    EXPECT_EQ(lastText, "");
    SetLogLevel(previousLevel);
    SetLogSink(previous);
}

}  // namespace
}  // namespace mareldon
