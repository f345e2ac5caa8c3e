#pragma once

#include <cstdint>

#include "engine/core/KeyTrack.h"
#include "game/stage/EventTimeline.h"
#include "game/stage/StaticModelPart.h"

namespace mareldon {

class EffectObject;
class PlayerShip;

// The reflect force's schedule: a plain event timeline under the force.
class ReflectTimeline : public EventTimeline {
  public:
    explicit ReflectTimeline(TaskObject* parent) : EventTimeline(parent) {}
};

// The field's radius over its elapsed time: 31 tension-continuity-bias keys, a swell
// to 1.7, a plateau, a flicker between 0.9 and 0.4 and a last 4.0.
class ReflectSizeCurve : public KeyTrack {
  public:
    static constexpr int32_t kKeyCount = 31;
    explicit ReflectSizeCurve(float activeTime);
};

// A ship's reflect force. Holding shot for 0.45 s opens a field for 2.0 s that turns
// every enemy bullet it touches into a scored reflected bullet of the player; then
// 3.5 s of recovery. It protects the ship while the field opens, shows a growing
// effect, adds a "Sonic" light and reports the gauge every step.
class ReflectForce : public StaticModelPart {
  public:
    static constexpr float kChargeTime = 0.45f;
    static constexpr float kActiveTime = 2.0f;
    static constexpr float kCooldownTime = 3.5f;
    static constexpr int32_t kProtectionSteps = 210;
    static constexpr int32_t kSeCharged = 51;
    static constexpr float kReflectSpeed = 0.3f;

    ReflectForce(PlayerShip* ship, GameWorldScreen* screen, int32_t playerMask, int32_t shipType);

    // Set by the ship every step: 0, then 1 while shot is held and the ship may act.
    void SetButtonHeld(uint8_t held) { buttonHeld = held; }

    // Feeds the timelines the own clock's frames, then phase, effect scale, gauge.
    void OnUpdatePre() override;
    // The bullet sweep of an open field; the force itself always stays.
    bool IsAlive() override;
    // The "Sonic" light of an open field.
    void DrawSelf() override;

    void UpdatePhase();
    void UpdateEffectScale();
    void ReportGauge();
    void OnActivate(EventTimeline& timeline);
    void OnRelease(EventTimeline& timeline);
    void OnRecovered(EventTimeline& timeline);

    bool IsActive() const { return chargeLeft == 0.0f; }
    bool IsRecovering() const { return !IsActive() && cooldownLeft > 0.0f; }
    // The field radius at the elapsed active time.
    float CurrentSize();

    uint8_t buttonHeld = 0;
    uint8_t readySoundPlayed = 0;
    PlayerShip* ship;
    int32_t playerMask;
    int32_t shipType;
    float chargeTime = kChargeTime;
    float activeTime = kActiveTime;
    float cooldownTime = kCooldownTime;
    float chargeLeft = kChargeTime;
    float activeLeft = kActiveTime;
    float cooldownLeft = 0.0f;
    // Created looping and killed when the field ends, so it is never held after it went.
    EffectObject* effect = nullptr;
    ReflectSizeCurve sizeCurve{kActiveTime};
    int32_t lastFrame = 0;
    ReflectTimeline* timelineA = nullptr;
    ReflectTimeline* timelineB = nullptr;
};

}  // namespace mareldon
