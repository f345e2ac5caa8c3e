#include "game/stage/AngleTracker.h"

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

namespace mareldon {
namespace {

TEST(AngleTrackerTest, LinearStepsAreClampedAndNeverOvershoot) {
    LinearApproach linear(10, 2, 6);
    const float cases[][2] = {{100, 6}, {15, 2}, {1, 1}, {-100, -6}, {-15, -2}, {-1, -1}, {0, 0}, {40, 4}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(linear.Step(c[0], 0.0f), c[1]) << c[0];
}

TEST(AngleTrackerTest, InertialStartsAtAFifthGathersSpeedAndSwingsPast) {
    InertialApproach slow(25, 0.94f, 0.001f, 2);
    EXPECT_FLOAT_EQ(slow.Step(100, 0), 0.4f);  // raw step 4 cut to 2, a fifth of it
    EXPECT_FLOAT_EQ(slow.Step(100, 0.4f), 0.4f + 0.94f * 0.4f + 0.2f * 2);
    // A fifth of a tiny raw step is raised to the minimum.
    InertialApproach fine(10, 0.9f, 0.01f, 5);
    EXPECT_FLOAT_EQ(fine.Step(0.05f, 0), 0.01f);
    InertialApproach swing(10, 0.9f, 0.01f, 5);
    float value = 0, highest = 0;
    for (int i = 0; i < 300; ++i) {
        value = swing.Step(10, value);
        highest = std::max(highest, value);
    }
    EXPECT_GT(highest, 10.5f);
    EXPECT_NEAR(value, 10.0f, 0.5f);
}

TEST(AngleTrackerTest, DifferencesAndWraps) {
    const float differences[][3] = {{190, 0, -170}, {-190, 0, 170}, {180, 0, 180}, {-180, 0, -180},
                                    {10, 350, 20},  {350, 10, -20}, {0, 0, 0}};
    for (const auto& c : differences)
        EXPECT_FLOAT_EQ(AngleDifference(c[0], c[1]), c[2]) << c[0] << " " << c[1];
    // One turn only; 360 stays 360.
    const float wraps[][2] = {{360, 360}, {361, 1}, {-1, 359}, {0, 0}, {720, 360}, {-0.5f, 359.5f}};
    for (const auto& c : wraps)
        EXPECT_FLOAT_EQ(WrapAngle360(c[0]), c[1]) << c[0];
}

// From 10 toward 350 the short way is down through 0, 2 degrees a step, ending on 350.
TEST(AngleTrackerTest, TurnsTheShorterWayAndStopsOnTheTarget) {
    AngleTracker tracker(10, 2, 6);
    const float expected[] = {8, 6, 4, 2, 0, 358, 356, 354, 352, 350, 350};
    float angle = 10;
    for (float e : expected) {
        angle = tracker.Update(350, angle);
        EXPECT_FLOAT_EQ(angle, e);
    }
    // Big differences turn by the maximum step.
    EXPECT_FLOAT_EQ(tracker.Update(100, 0), 6);
    EXPECT_FLOAT_EQ(tracker.Update(200, 0), 354);
    // An inertial tracker starts at a fifth of its raw step.
    AngleTracker inertial(25, 0.94f, 0.001f, 2);
    EXPECT_NEAR(inertial.Update(90, 0), 0.4f, 1e-5f);
}

TEST(AngleTrackerTest, ProjectedAimMeetsTheShootersPlane) {
    struct Case {
        Vec3 eye, p, q;
        float radians;
    };
    const float quarter = 1.5707964f;
    const Case cases[] = {
        {{0, 10, 0}, {0, 0, 0}, {1, 5, 1}, quarter / 2},  // the ray through Q meets y 0 at (2, 0, 2)
        {{0, 10, -10}, {0, 0, 0}, {0, 5, 0}, quarter},    // at (0, 0, 10)
        {{0, 10, -10}, {1, 2, 1}, {3, 2, 1}, 0},          // level: the plain direction
        {{0, 10, -10}, {1, 2, 1}, {1, 2, 4}, quarter},    // level, along +z
        {{0, 10, -10}, {0, 0, 0}, {-3, 10, -3}, -3 * quarter / 2},  // at the eye's height
    };
    for (const Case& c : cases) {
        const float r = ProjectedAimAngle(c.eye, c.p, c.q);
        EXPECT_FALSE(std::isnan(r));
        EXPECT_NEAR(r, c.radians, 1e-5f) << c.q.x << "," << c.q.y << "," << c.q.z;
    }
}

}  // namespace
}  // namespace mareldon
