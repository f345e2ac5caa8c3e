#include "engine/platform/gl/GlFrameCapture.h"

#include <gtest/gtest.h>

namespace mareldon {
namespace {

TEST(GlFrameCaptureTest, RequestIsFrameColonFile) {
    GlCaptureRequest request;
    ASSERT_TRUE(ParseCaptureRequest("120:shot.png", request));
    EXPECT_EQ(request.frame, 120u);
    EXPECT_EQ(request.path, "shot.png");
    ASSERT_TRUE(ParseCaptureRequest("3:/tmp/a:b.png", request));
    EXPECT_EQ(request.path, "/tmp/a:b.png");
    for (const char* bad : {"", "shot.png", "0:shot.png", "12:", "x12:shot.png", "12shot.png", "-1:a.png"}) {
        GlCaptureRequest untouched;
        EXPECT_FALSE(ParseCaptureRequest(bad, untouched)) << bad;
        EXPECT_EQ(untouched.frame, 0u);
    }
}

}  // namespace
}  // namespace mareldon
