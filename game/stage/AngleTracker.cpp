#include "game/stage/AngleTracker.h"

#include <cmath>

namespace mareldon {

float LinearApproach::RawStep(float target, float current) const {
    const float d = target - current;
    float step = 0.0f;
    if (d > 0.0f) {
        step = d / divisor;
        if (minStep > step)
            step = minStep;
        if (step > maxStep)
            step = maxStep;
    } else if (d < 0.0f) {
        step = d / divisor;
        if (step > -minStep)
            step = -minStep;
        if (-maxStep > step)
            step = -maxStep;
    }
    return step;
}

float LinearApproach::Step(float target, float current) {
    const float step = RawStep(target, current);
    float r = current + step;
    if (step > 0.0f && r > target)
        r = target;
    if (step < 0.0f && r < target)
        r = target;
    return r;
}

float InertialApproach::Step(float target, float current) {
    float step = damping * previousStep + 0.2f * RawStep(target, current);
    if (step > 0.0f) {
        if (minStep > step)
            step = minStep;
        if (step > maxStep)
            step = maxStep;
    } else if (step < 0.0f) {
        if (step > -minStep)
            step = -minStep;
        if (-maxStep > step)
            step = -maxStep;
    }
    previousStep = step;
    return current + step;
}

AngleTracker::AngleTracker(float divisor, float minStep, float maxStep)
    : strategy(std::make_unique<LinearApproach>(divisor, minStep, maxStep)) {}

AngleTracker::AngleTracker(float divisor, float damping, float minStep, float maxStep)
    : strategy(std::make_unique<InertialApproach>(divisor, damping, minStep, maxStep)) {}

float AngleTracker::Update(float targetDegrees, float currentDegrees) {
    const float d = AngleDifference(targetDegrees, currentDegrees);
    const float r = strategy->Step(0.0f, d);
    return WrapAngle360(currentDegrees + (d - r));
}

float AngleDifference(float a, float b) {
    float x = a - b;
    if (x > 180.0f)
        x -= 360.0f;
    if (-180.0f > x)
        x += 360.0f;
    return x;
}

float WrapAngle360(float degrees) {
    if (degrees > 360.0f)
        degrees -= 360.0f;
    if (degrees < 0.0f)
        degrees += 360.0f;
    return degrees;
}

float ProjectedAimAngle(const Vec3& eye, const Vec3& p, const Vec3& q) {
    // Level with the eye the line never meets the plane (a division by zero).
    if (q.y == eye.y)
        return std::atan2(q.z - p.z, q.x - p.x);
    const float t = (p.y - eye.y) / (q.y - eye.y);
    const float x = eye.x + (q.x - eye.x) * t - p.x;
    const float z = eye.z + (q.z - eye.z) * t - p.z;
    return std::atan2(z, x);
}

}  // namespace mareldon
