#include "engine/core/DebugLog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace mareldon {
namespace {

TEST(DebugLogTest, ViewerBlockLayout) {
    EXPECT_EQ(BuildDebugViewerBlock(""), (std::vector<uint8_t>{9, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(BuildDebugViewerBlock("abc"),
              (std::vector<uint8_t>{9, 0, 'a', 0, 'b', 0, 'c', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    std::vector<uint8_t> kana = BuildDebugViewerBlock("\x82\xA0");
    ASSERT_EQ(kana.size(), 12u);
    EXPECT_EQ(kana[2] | (kana[3] << 8), 0x3042);
    // Invalid bytes are substituted and counted, so the text always fits its block.
    std::vector<uint8_t> bad = BuildDebugViewerBlock("\x82");
    ASSERT_EQ(bad.size(), 12u);
    EXPECT_EQ(bad[2] | (bad[3] << 8), 0x30FB);
    EXPECT_EQ(bad[4], 0);
}

std::string captured;
void Capture(const char* text) {
    captured += text;
}

TEST(DebugLogTest, HookAndSystemLog) {
    LogHookFunction previous = SetLogHook(Capture);
    CallLogHook("one ");
    CallLogHook("two");
    EXPECT_EQ(captured, "one two");
    EXPECT_EQ(SetLogHook(nullptr), Capture);
    EXPECT_EQ(GetLogHook(), WriteSystemLog);

    std::string path = ::testing::TempDir() + "debuglog_test.txt";
    std::remove(path.c_str());
    SetSystemLogPath(path.c_str());
    CallLogHook("a");
    WriteSystemLog("b%s");  // the text is data, not a format
    std::ifstream file(path);
    std::stringstream contents;
    contents << file.rdbuf();
    EXPECT_EQ(contents.str(), "ab%s");
    SetSystemLogPath("/nonexistent-dir/x/_KWENLOG.txt");
    WriteSystemLog("dropped");  // silently
    SetSystemLogPath(nullptr);
    SetLogHook(previous);
    std::remove(path.c_str());
}

}  // namespace
}  // namespace mareldon
