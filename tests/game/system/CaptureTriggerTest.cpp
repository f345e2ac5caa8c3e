#include "game/system/CaptureTrigger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/Log.h"

namespace mareldon {
namespace {

std::vector<std::string>* g_lines = nullptr;

void KeepLine(LogLevel, const char* category, const char* text) {
    g_lines->push_back(std::string(category) + ": " + text);
}

// Steps 1 to 12; during step `logAt` the game logs "scene: \"demo\" built", and
// before step `signalAt` ends SIGUSR1 comes in. The steps after which the picture
// is drawn and saved.
std::vector<uint32_t> CapturedSteps(const char* text, uint32_t logAt, uint32_t signalAt) {
    CaptureRequest request;
    EXPECT_TRUE(ParseCaptureRequest(text, request)) << text;
    std::vector<uint32_t> captured;
    CaptureTrigger trigger(request);
    while (TakeArmedCapture()) {
    }
    for (uint32_t step = 1; step <= 12; ++step) {
        trigger.StepStarts(step);
        if (step == logAt) {
            LOG_INFO("scene", "\"demo\" built");
        }
        if (step == signalAt) {
            NoteCaptureSignal();
        }
        const bool now = trigger.StepEnds();
        EXPECT_EQ(TakeArmedCapture(), now) << text << " step " << step;
        if (now) {
            captured.push_back(step);
        }
    }
    return captured;
}

TEST(CaptureTriggerTest, NamesTheStepOfTheCapture) {
    std::vector<std::string> lines;
    g_lines = &lines;
    const LogSink previous = SetLogSink(KeepLine);
    const struct {
        const char* text;
        uint32_t logAt, signalAt;
        std::vector<uint32_t> captured;
    } kCases[] = {
        {"step:5:f.png", 0, 0, {5}},
        {"step:5:f.png", 2, 3, {5}},
        {"step:13:f.png", 0, 0, {}},
        {"log:\"demo\" built:f.png", 4, 0, {4}},
        {"log:\"demo\" built+3:f.png", 4, 0, {7}},
        {"log:\"demo\" built+9:f.png", 4, 0, {}},
        {"log:\"title\" built:f.png", 4, 0, {}},
        {"signal:f.png", 0, 6, {6}},
        {"signal:f.png", 3, 0, {}},
        // The FRAME form is the presenter's own: the loop never triggers it.
        {"5:f.png", 5, 5, {}},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(CapturedSteps(c.text, c.logAt, c.signalAt), c.captured) << c.text;
    }
    // The watcher passes every line on to the sink it found, and is gone after.
    EXPECT_EQ(SetLogSink(previous), KeepLine);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "scene: \"demo\" built"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "capture: the picture after step 7 goes to f.png"),
              lines.end());
    g_lines = nullptr;
}

TEST(CaptureTriggerTest, ASignalCapturesEachTime) {
    CaptureRequest request;
    ASSERT_TRUE(ParseCaptureRequest("signal:f.png", request));
    CaptureTrigger trigger(request);
    std::vector<uint32_t> captured;
    for (uint32_t step = 1; step <= 9; ++step) {
        trigger.StepStarts(step);
        if (step % 4 == 0) {
            NoteCaptureSignal();
        }
        if (trigger.StepEnds()) {
            captured.push_back(step);
        }
    }
    TakeArmedCapture();
    EXPECT_EQ(captured, (std::vector<uint32_t>{4, 8}));
}

}  // namespace
}  // namespace mareldon
