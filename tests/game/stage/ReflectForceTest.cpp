#include "game/stage/ReflectForce.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/render/draw/LightList.h"
#include "engine/render/draw/Renderer.h"
#include "game/stage/EffectModel.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/system/GameSystem.h"
#include "tests/game/stage/ScriptedInput.h"
#include "tests/game/stage/WorldScreenFixture.h"

namespace mareldon {
namespace {

constexpr uint32_t kShot = PlayerShip::kShot;
constexpr float kT = 1.0f / 60.0f;

// Steps of continuous holding until the charge completes, and the step of the charge
// sound, as the force's single-precision countdown gives them (1-based).
struct ChargeSteps {
    int activate = 0;
    int sound = 0;
};
ChargeSteps ComputeCharge() {
    ChargeSteps steps;
    float left = ReflectForce::kChargeTime;
    for (int step = 1; steps.activate == 0; ++step) {
        left -= kT;
        if (steps.sound == 0 && left <= 0.25f)
            steps.sound = step;
        if (left <= 0.0f)
            steps.activate = step;
    }
    return steps;
}
// Steps of an open field after the activation step, as its countdown gives them.
int ComputeFieldSteps() {
    float left = ReflectForce::kActiveTime;
    int steps = 0;
    do {
        left -= kT;
        ++steps;
    } while (left > 0.0f);
    return steps;
}

class ReflectForceTest : public testing::Test, public WorldScreenFixture {
  protected:
    struct Sample {
        int step;
        ReflectGauge gauge;
        int32_t frame;  // the force's own frame in that step
    };

    PlayerShip* Ready() {
        Enter(1);
        EXPECT_TRUE(StartWorld());
        EXPECT_GE(StepUntil([&] { return screen->ships[0] != nullptr; }, 10), 0);
        ship = screen->ships[0];
        ship->entrySteps = PlayerShip::kEntrySteps;
        ship->SetProtection(0, 0);
        ship->SetPosition({0.0f, 0.0f, 0.0f});
        force = ship->reflectForce;
        return ship;
    }
    // One step per word; the gauge after each.
    std::vector<Sample> Fly(const std::vector<uint32_t>& words) {
        std::vector<Sample> samples;
        ship->SetInput(ScriptedInput(words));
        for (size_t i = 0; i < words.size(); ++i) {
            ship->GetInput()->Update();
            Step();
            samples.push_back({log.GetStep(), screen->GetReflectGauge(1), force->GetStepCount()});
        }
        return samples;
    }
    std::vector<int> StepsOf(const char* operation, const char* arguments) const {
        std::vector<int> steps;
        for (const WorldEvent& event : log.Events()) {
            if (event.operation == operation && event.arguments == arguments)
                steps.push_back(event.step);
        }
        return steps;
    }

    PlayerShip* ship = nullptr;
    ReflectForce* force = nullptr;
};

TEST_F(ReflectForceTest, OnlyPlayerShipsCarryOne) {
    Ready();
    ASSERT_NE(force, nullptr);
    EXPECT_EQ(force->ParentNode(), ship);
    ASSERT_NE(screen->GetDummyShip(), nullptr);
    EXPECT_EQ(screen->GetDummyShip()->reflectForce, nullptr);
}

TEST_F(ReflectForceTest, AFullChargeOpensTheFieldAndRunsItsSchedule) {
    const ChargeSteps charge = ComputeCharge();
    const int field = ComputeFieldSteps();
    Ready();
    const std::vector<Sample> rest = Fly({0, 0});
    EXPECT_EQ(rest.back().gauge.state, 1);
    EXPECT_EQ(rest.back().gauge.value, 0.0f);
    // From a clock at 0 the hold begins: its single-precision sixtieths truncate to a
    // repeated frame within the field, so the release waits a step for it.
    force->clock.time = 0.0f;
    force->lastFrame = 0;

    // Hold through the whole charge and field, then let go through the recovery.
    std::vector<uint32_t> words(size_t(charge.activate + field + 260), 0u);
    for (int i = 0; i < charge.activate + 5; ++i)
        words[size_t(i)] = kShot;
    const int first = log.GetStep() + 1;
    const std::vector<Sample> samples = Fly(words);
    const int activation = first + charge.activate - 1;
    const int fieldEnd = activation + field;
    // A timeline restarted in a step runs that step's frames on: frame n of its schedule
    // comes in the first step whose truncated frame is n + 1 past the step before.
    auto frameStep = [&](int restartStep, int32_t n) {
        const int32_t before = restartStep == first ? 0 : samples[size_t(restartStep - 1 - first)].frame;
        for (const Sample& s : samples) {
            if (s.step >= restartStep && s.frame - before >= n + 1)
                return s.step;
        }
        return -1;
    };
    const int release = frameStep(activation, 96);
    EXPECT_EQ(release, activation + 97) << "the repeated frame holds the release back a step";
    const int recovered = frameStep(fieldEnd, 210);

    EXPECT_EQ(StepsOf("PlaySe", "51"), std::vector<int>{first + charge.sound - 1});
    EXPECT_EQ(StepsOf("AttachEffect", "refrect_force_00"), std::vector<int>{frameStep(activation, 0)});
    EXPECT_EQ(StepsOf("PlaySeLooped", "14"), std::vector<int>{frameStep(activation, 0)});
    EXPECT_EQ(StepsOf("StopSe", "14"), std::vector<int>{release});
    EXPECT_EQ(StepsOf("PlaySe", "15"), std::vector<int>{release});
    EXPECT_EQ(StepsOf("AttachEffect", "REFLECT_HATSUDOU"), std::vector<int>{release});
    EXPECT_EQ(StepsOf("PlaySe", "16"), std::vector<int>{recovered});
    EXPECT_EQ(StepsOf("AttachEffect", "REFLECT_KAIFUKU"), std::vector<int>{recovered});

    // Gauge: rising while charging, full while open, refilling over the recovery.
    float last = 0.0f;
    for (const Sample& s : samples) {
        SCOPED_TRACE(s.step);
        if (s.step < activation) {
            EXPECT_EQ(s.gauge.state, 1);
            EXPECT_GT(s.gauge.value, last);
            last = s.gauge.value;
        } else if (s.step < fieldEnd) {
            EXPECT_EQ(s.gauge.state, 2);
            EXPECT_EQ(s.gauge.value, 1.0f);
            last = 0.0f;
        } else if (s.gauge.state == 3) {
            EXPECT_GE(s.gauge.value, last);
            last = s.gauge.value;
        }
    }
    EXPECT_NEAR(last, 1.0f, 0.01f);
    EXPECT_EQ(samples.back().gauge.state, 1);
    EXPECT_EQ(samples.back().gauge.value, 0.0f);
    int recovering = 0;
    for (const Sample& s : samples)
        recovering += s.gauge.state == 3 ? 1 : 0;
    EXPECT_NEAR(recovering, 210, 1);
    // The field's effect went with the field, killed, not left for a sweep to find.
    EXPECT_EQ(force->effect, nullptr);
}

TEST_F(ReflectForceTest, ReleasingBeforeTheChargeStartsItAgainWithItsSound) {
    const ChargeSteps charge = ComputeCharge();
    Ready();
    std::vector<uint32_t> words(20, kShot);
    words.push_back(0);
    words.insert(words.end(), size_t(charge.activate), kShot);
    const int first = log.GetStep() + 1;
    Fly(words);
    EXPECT_EQ(StepsOf("PlaySe", "51"),
              (std::vector<int>{first + charge.sound - 1, first + 21 + charge.sound - 1}));
    EXPECT_EQ(StepsOf("PlaySeLooped", "14"), std::vector<int>{first + 21 + charge.activate - 1});
    EXPECT_EQ(ship->protectionTimer, ReflectForce::kProtectionSteps);
}

TEST_F(ReflectForceTest, HoldingThroughTheRecoveryChargesOnlyOnceItIsOver) {
    const ChargeSteps charge = ComputeCharge();
    Ready();
    const std::vector<Sample> samples =
        Fly(std::vector<uint32_t>(size_t(charge.activate + ComputeFieldSteps() + 230), kShot));
    size_t over = 0;
    for (size_t i = 1; i < samples.size() && over == 0; ++i) {
        if (samples[i - 1].gauge.state == 3 && samples[i].gauge.state == 1)
            over = i;
    }
    ASSERT_GT(over, 0u);
    // The step the cooldown reaches 0 shows an empty gauge; the charge runs from the next.
    EXPECT_EQ(samples[over].gauge.value, 0.0f);
    ASSERT_LT(over + 1, samples.size());
    EXPECT_FLOAT_EQ(samples[over + 1].gauge.value, 1.0f - (0.45f - kT) / 0.45f);
    // The chime is re-armed only by letting go: a charge held over from the last field
    // does not chime again.
    EXPECT_EQ(StepsOf("PlaySe", "51").size(), 1u);
}

TEST_F(ReflectForceTest, BulletsInTheFieldAreScoredByAgeTurnedBackAndSpent) {
    const ChargeSteps charge = ComputeCharge();
    Ready();
    Fly(std::vector<uint32_t>(size_t(charge.activate + 3), kShot));
    ASSERT_TRUE(force->IsActive());
    system->GetPlayer(1).multiplier = 2;

    // Ages as the sweep sees them: the step's bullet update adds one.
    struct Shot {
        Vec3 offset, velocity;
        int32_t age;
        long long score;
    };
    const Shot shots[] = {
        {{0.2f, 0.0f, 0.1f}, {0.0f, 0.0f, -0.05f}, 5, 95 * 95},
        {{-0.1f, 0.0f, 0.2f}, {0.03f, 0.0f, 0.04f}, 99, 1},
        {{0.1f, 0.0f, -0.2f}, {-0.02f, 0.0f, 0.0f}, 150, 1},
    };
    const Vec3 at = ship->GetWorldPosition();
    std::vector<EnemyBulletRecord*> records;
    for (const Shot& s : shots) {
        EnemyBulletRecord* record =
            screen->FireEnemyBullet({at.x + s.offset.x, at.y, at.z + s.offset.z}, s.velocity, 3, 1.0f);
        ASSERT_NE(record, nullptr);
        record->age = s.age - 1;
        records.push_back(record);
    }
    log.Clear();
    const uint64_t scoreBefore = system->GetPlayer(1).score;
    const int32_t reflectedBefore = screen->Bullets().GetReflectedBulletCount();
    Fly({kShot});
    int32_t scores = 0;
    for (const WorldEvent& event : log.Events())
        scores += event.operation == "AddScore" ? 1 : 0;
    EXPECT_EQ(scores, 3);
    for (const Shot& s : shots)
        EXPECT_EQ(log.Count("AddScore", "1 " + std::to_string(s.score)), s.score == 1 ? 2 : 1);
    EXPECT_EQ(system->GetPlayer(1).score - scoreBefore, 2u * (95 * 95 + 1 + 1)) << "times the multiplier";
    EXPECT_EQ(log.Count("FireReflectedBullet", "1"), 3);
    ASSERT_EQ(screen->Bullets().GetReflectedBulletCount(), reflectedBefore + 3);
    // Newest first: the last bullet swept is at the head.
    std::vector<Vec3> velocities;
    for (ReflectedBulletRecord* r = screen->Bullets().FirstReflectedBullet(); velocities.size() < 3;
         r = r->next)
        velocities.push_back(r->velocity);
    for (const Shot& s : shots) {
        const Vec3 unit = Vec3Normalize(s.velocity);
        bool found = false;
        for (const Vec3& v : velocities)
            found |= std::fabs(v.x + 0.3f * unit.x) < 1e-6f && std::fabs(v.z + 0.3f * unit.z) < 1e-6f;
        EXPECT_TRUE(found) << s.age;
    }
    for (EnemyBulletRecord* record : records)
        EXPECT_EQ(record->velocity.x == 0.0f && record->velocity.z == 0.0f, true);
}

TEST_F(ReflectForceTest, AnOpenFieldAddsTheSonicLight) {
    const ChargeSteps charge = ComputeCharge();
    Ready();
    ship->SetPosition({1.0f, 0.0f, -2.0f});
    LightList& lights = root.renderer->Lights();
    lights.Clear();
    force->DrawSelf();
    EXPECT_EQ(lights.Count(), 0) << "no light before the field";

    Fly(std::vector<uint32_t>(size_t(charge.activate + 10), kShot));
    ASSERT_TRUE(force->IsActive());
    const float s = force->sizeCurve.Evaluate(force->activeTime - force->activeLeft);
    EXPECT_NEAR(s, force->CurrentSize(), 0.0f);
    lights.Clear();
    force->DrawSelf();
    ASSERT_EQ(lights.Count(), 1);
    const LightRecord& sonic = lights[0];
    EXPECT_STREQ(sonic.name.Text(), "Sonic");
    ASSERT_EQ(sonic.count, 7);
    const Vec3 w = ship->GetWorldPosition();
    const float g = 4.0f * s, h = 12.0f - 1.5f * g;
    const float expected[7] = {w.x, w.y, w.z, g, h * 0.125f, h * 0.06666667f, h * 0.5f};
    for (int i = 0; i < 7; ++i)
        EXPECT_FLOAT_EQ(sonic.values[i], expected[i]) << i;
    // The effect follows the curve, scaled along the unit diagonal.
    ASSERT_NE(force->effect, nullptr);
    EXPECT_FLOAT_EQ(force->effect->GetScale().x, s / std::sqrt(3.0f));
}

TEST(ReflectSizeCurveTest, KeysHitTheirValuesAtTheirTimes) {
    ReflectSizeCurve curve(2.0f);
    EXPECT_EQ(curve.keyCount, ReflectSizeCurve::kKeyCount);
    const std::pair<float, float> keys[] = {{0.0f, 0.2f},  {0.3f, 1.7f},  {0.7f, 1.5f}, {1.6f, 0.9f},
                                            {1.62f, 0.4f}, {1.94f, 0.4f}, {2.0f, 4.0f}, {3.0f, 4.0f}};
    for (const auto& [time, value] : keys)
        EXPECT_NEAR(curve.Evaluate(time), value, 1e-4f) << time;
}

}  // namespace
}  // namespace mareldon
