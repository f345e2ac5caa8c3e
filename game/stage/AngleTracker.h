#pragma once

#include <memory>

#include "engine/core/Math.h"

namespace mareldon {

// Moves a value toward a target by a clamped step each call: the step is the
// difference over the divisor, raised to the minimum and cut to the maximum (mirrored
// below the target), and the value never passes the target.
class LinearApproach {
  public:
    LinearApproach(float divisor, float minStep, float maxStep)
        : divisor(divisor), minStep(minStep), maxStep(maxStep) {}
    virtual ~LinearApproach() = default;

    // The new value.
    virtual float Step(float target, float current);

  protected:
    // The clamped step from current toward target; 0 on the target.
    float RawStep(float target, float current) const;

    float divisor;
    float minStep;
    float maxStep;
};

// The same raw step, taken through a damped memory of the previous one (damping x
// previous + 0.2 x raw, then clamped into [min, max] by its sign): it gathers speed,
// swings past the target and settles.
class InertialApproach : public LinearApproach {
  public:
    InertialApproach(float divisor, float damping, float minStep, float maxStep)
        : LinearApproach(divisor, minStep, maxStep), damping(damping) {}

    float Step(float target, float current) override;

  private:
    float damping;
    float previousStep = 0.0f;
};

// Turns an angle in degrees toward a target angle the shorter way, by its strategy's
// step on the remaining difference.
class AngleTracker {
  public:
    // With a LinearApproach: stops exactly on the target.
    AngleTracker(float divisor, float minStep, float maxStep);
    // With an InertialApproach.
    AngleTracker(float divisor, float damping, float minStep, float maxStep);
    virtual ~AngleTracker() = default;

    // The new angle: WrapAngle360(current + what one step takes off the difference).
    virtual float Update(float targetDegrees, float currentDegrees);

  private:
    std::unique_ptr<LinearApproach> strategy;
};

// a - b brought into [-180, 180] by one turn.
float AngleDifference(float a, float b);
// One turn into [0, 360]: 360 itself stays 360, as the trackers have always left it.
float WrapAngle360(float degrees);

// The aim from P at Q as the player sees it through a camera at `eye`: toward the point
// where the line from the eye through Q meets the plane y = P.y, as the angle r (radians)
// of the direction (cos r, 0, sin r). A target level with the eye gives no such point:
// then the plain atan2(Q.z - P.z, Q.x - P.x).
float ProjectedAimAngle(const Vec3& eye, const Vec3& p, const Vec3& q);

}  // namespace mareldon
