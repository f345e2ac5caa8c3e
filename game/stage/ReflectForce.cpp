#include "game/stage/ReflectForce.h"

#include "engine/render/draw/LightList.h"
#include "engine/render/draw/Renderer.h"
#include "game/stage/EffectModel.h"
#include "game/stage/EnemyBulletRecord.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

constexpr float kStepPeriod = 1.0f / 60.0f;

struct CurveKey {
    float fraction;
    float value;
};

constexpr CurveKey kSizeKeys[ReflectSizeCurve::kKeyCount] = {
    {0.0f, 0.2f},  {0.05f, 0.5f}, {0.1f, 1.0f},  {0.15f, 1.7f}, {0.35f, 1.5f}, {0.4f, 1.7f},  {0.45f, 1.7f},
    {0.5f, 1.7f},  {0.55f, 1.7f}, {0.6f, 1.7f},  {0.65f, 1.5f}, {0.7f, 1.7f},  {0.8f, 0.9f},  {0.81f, 0.4f},
    {0.82f, 0.9f}, {0.83f, 0.4f}, {0.84f, 0.9f}, {0.85f, 0.4f}, {0.86f, 0.9f}, {0.87f, 0.4f}, {0.88f, 0.9f},
    {0.89f, 0.4f}, {0.9f, 0.9f},  {0.91f, 0.4f}, {0.92f, 0.9f}, {0.93f, 0.4f}, {0.94f, 0.9f}, {0.95f, 0.4f},
    {0.96f, 0.9f}, {0.97f, 0.4f}, {1.0f, 4.0f},
};

const char* const kFieldModels[4] = {"refrect_force_00", "refrect_force_01", "refrect_force_02",
                                     "refrect_force_03"};

EffectObject* StillEffect(TaskObject* parent, GameWorldScreen* screen, const char* name, uint8_t looping) {
    if (screen != nullptr && screen->GetEventLog() != nullptr)
        screen->GetEventLog()->Record("AttachEffect", name);
    const Vec3 zero{0.0f, 0.0f, 0.0f};
    return new EffectObject(parent, screen, zero, zero, 0.0f, Vec3{1.0f, 1.0f, 1.0f}, looping, String(name));
}

}  // namespace

ReflectSizeCurve::ReflectSizeCurve(float activeTime) {
    for (const CurveKey& key : kSizeKeys)
        SetKey(key.fraction * activeTime, key.value, 0);
}

ReflectForce::ReflectForce(PlayerShip* parentShip, GameWorldScreen* ownerScreen, int32_t mask, int32_t type)
    : StaticModelPart(parentShip), ship(parentShip), playerMask(mask), shipType(type) {
    screen = ownerScreen;
    timelineA = new ReflectTimeline(this);
    timelineA->AddEvent(0, this, &ReflectForce::OnActivate);
    timelineA->AddEvent(int32_t(activeTime * 60.0f * 0.8f), this, &ReflectForce::OnRelease);
    timelineB = new ReflectTimeline(this);
    timelineB->AddEvent(int32_t(cooldownTime * 60.0f), this, &ReflectForce::OnRecovered);
}

float ReflectForce::CurrentSize() {
    return sizeCurve.Evaluate(activeTime - activeLeft);
}

void ReflectForce::OnUpdatePre() {
    // The own clock's frame, as every timeline owner reads it: a single-precision clock
    // summed in sixtieths repeats a frame now and then, and the schedule waits for it.
    const int32_t frame = GetStepCount();
    const float d = float(frame - lastFrame);
    timelineA->AddTime(d);
    timelineB->AddTime(d);
    lastFrame = frame;
    UpdatePhase();
    UpdateEffectScale();
    ReportGauge();
}

void ReflectForce::UpdatePhase() {
    if (IsActive()) {
        activeLeft -= kStepPeriod;
        if (activeLeft <= 0.0f) {
            if (effect != nullptr)
                effect->Kill();
            effect = nullptr;
            timelineB->Restart();
            chargeLeft = chargeTime;
            activeLeft = activeTime;
        }
        return;
    }
    if (cooldownLeft == 0.0f) {
        if (buttonHeld != 1) {
            chargeLeft = chargeTime;
            readySoundPlayed = 0;
            return;
        }
        chargeLeft -= kStepPeriod;
        if (chargeLeft <= 0.0f) {
            timelineA->Restart();
            chargeLeft = 0.0f;
            cooldownLeft = cooldownTime;
        }
        if (readySoundPlayed == 0 && chargeLeft <= 0.25f) {
            readySoundPlayed = 1;
            if (screen != nullptr)
                screen->PlaySe(kSeCharged);
        }
        return;
    }
    cooldownLeft -= kStepPeriod;
    if (cooldownLeft <= 0.0f)
        cooldownLeft = 0.0f;
}

void ReflectForce::UpdateEffectScale() {
    if (effect == nullptr)
        return;
    const Vec3 unit = Vec3Normalize(GetScale());
    const float s = CurrentSize();
    effect->SetScale(Vec3{unit.x * s, unit.y * s, unit.z * s});
}

void ReflectForce::ReportGauge() {
    ReflectGauge gauge;
    if (IsActive()) {
        gauge.state = 2;
        gauge.value = 1.0f;
    } else if (cooldownLeft == 0.0f) {
        gauge.state = 1;
        gauge.value = 1.0f - chargeLeft / chargeTime;
    } else {
        gauge.state = 3;
        gauge.value = 1.0f - cooldownLeft / cooldownTime;
    }
    if (screen != nullptr)
        screen->SetReflectGauge(uint32_t(playerMask), &gauge);
}

bool ReflectForce::IsAlive() {
    if (!IsActive() || screen == nullptr)
        return true;
    const float r = CurrentSize();
    const Vec3 p = GetWorldPosition();
    while (EnemyBulletRecord* bullet = screen->HitLists().FindEnemyBulletHit(p, r)) {
        int32_t k = 100 - bullet->age;
        if (k < 1)
            k = 1;
        screen->AddScore(uint32_t(playerMask), k * k);
        const Vec3 unit = Vec3Normalize(bullet->velocity);
        const Vec3 v{-kReflectSpeed * unit.x, -kReflectSpeed * unit.y, -kReflectSpeed * unit.z};
        screen->FireReflectedBullet(bullet->GetWorldPosition(), v, uint32_t(playerMask));
        bullet->velocity = Vec3{0.0f, 0.0f, 0.0f};
    }
    return true;
}

void ReflectForce::DrawSelf() {
    if (!IsActive() || !renderer)
        return;
    const float g = 4.0f * CurrentSize();
    const float h = 12.0f - 1.5f * g;
    Vec3 w;
    LocalToWorld(w, Vec3{0.0f, 0.0f, 0.0f});
    const float values[7] = {w.x, w.y, w.z, g, h * 0.125f, h * 0.06666667f, h * 0.5f};
    renderer->Lights().Add(LightRecord("Sonic", 7, values));
}

void ReflectForce::OnActivate(EventTimeline&) {
    if (ship != nullptr)
        ship->SetProtection(kProtectionSteps, 1);
    const char* name = shipType >= 0 && shipType < 4 ? kFieldModels[shipType] : kFieldModels[0];
    effect = StillEffect(this, screen, name, 1);
    effect->SetScale(Vec3{0.0f, 0.0f, 0.0f});
    if (screen != nullptr)
        screen->StartReflectLoopSe();
}

void ReflectForce::OnRelease(EventTimeline& timeline) {
    if (screen != nullptr)
        screen->StopReflectLoopSe();
    StillEffect(this, screen, "REFLECT_HATSUDOU", 0);
    timeline.Stop();
}

void ReflectForce::OnRecovered(EventTimeline& timeline) {
    StillEffect(this, screen, "REFLECT_KAIFUKU", 0);
    if (screen != nullptr)
        screen->PlaySe16();
    timeline.Stop();
}

}  // namespace mareldon
