#include "engine/platform/FrameCapture.h"

#include <gtest/gtest.h>

namespace mareldon {
namespace {

using When = CaptureRequest::When;

TEST(FrameCaptureTest, ReadsEveryForm) {
    const struct {
        const char* text;
        When when;
        uint32_t frame, steps;
        const char* line;
        const char* path;
    } kGood[] = {
        {"120:shot.png", When::Frame, 120, 0, "", "shot.png"},
        {"3:/tmp/a:b.png", When::Frame, 3, 0, "", "/tmp/a:b.png"},
        {"step:60:/tmp/s.png", When::Step, 0, 60, "", "/tmp/s.png"},
        {"step:4294967295:s.png", When::Step, 0, 4294967295u, "", "s.png"},
        {"log:\"demo\" built:d.png", When::Log, 0, 0, "\"demo\" built", "d.png"},
        {"log:\"demo\" built+73:d.png", When::Log, 0, 73, "\"demo\" built", "d.png"},
        {"log:ship select: phase 0+100:/tmp/f.png", When::Log, 0, 100, "ship select: phase 0", "/tmp/f.png"},
        // A "+" not followed by a whole number is part of the text.
        {"log:a+b:f.png", When::Log, 0, 0, "a+b", "f.png"},
        {"log:c++0:f.png", When::Log, 0, 0, "c++0", "f.png"},
        {"signal:/tmp/x.png", When::Signal, 0, 0, "", "/tmp/x.png"},
    };
    for (const auto& good : kGood) {
        CaptureRequest request;
        ASSERT_TRUE(ParseCaptureRequest(good.text, request)) << good.text;
        EXPECT_EQ(request.when, good.when) << good.text;
        EXPECT_EQ(request.frame, good.frame) << good.text;
        EXPECT_EQ(request.steps, good.steps) << good.text;
        EXPECT_EQ(request.text, good.line) << good.text;
        EXPECT_EQ(request.path, good.path) << good.text;
    }
    for (const char* bad :
         {"", "shot.png", "0:shot.png", "12:", "x12:shot.png", "12shot.png", "-1:a.png", "4294967296:a.png",
          "step:0:a.png", "step:a.png", "step:7:", "step:-7:a.png", "step:4294967296:a.png", "log:a.png",
          "log::a.png", "log:+5:a.png", "log:text:", "signal:", "sig:a.png"}) {
        CaptureRequest untouched;
        untouched.frame = 9;
        EXPECT_FALSE(ParseCaptureRequest(bad, untouched)) << bad;
        EXPECT_EQ(untouched.frame, 9u) << bad;
    }
    CaptureRequest untouched;
    EXPECT_FALSE(ParseCaptureRequest(nullptr, untouched));
}

TEST(FrameCaptureTest, AnArmedCaptureIsTakenOnce) {
    EXPECT_FALSE(TakeArmedCapture());
    ArmCapture();
    ArmCapture();
    EXPECT_TRUE(TakeArmedCapture());
    EXPECT_FALSE(TakeArmedCapture());
}

}  // namespace
}  // namespace mareldon
