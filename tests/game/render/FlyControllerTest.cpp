#include "game/render/FlyController.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/RotationTrack.h"
#include "engine/render/scene/Object3D.h"

namespace mareldon {
namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

// A controller whose input plays the given button words, one a step.
struct Fly {
    explicit Fly(std::vector<uint32_t> words, float speed = 2.0f)
        : controller(nullptr, PlayerInput::kReplay, speed) {
        std::vector<uint8_t> table;
        PutU32(table, PlayerInput::kTraceTag);
        PutU32(table, 0);
        PutU32(table, uint32_t(16 * (words.size() + 1)));
        PutU32(table, uint32_t(words.size()));
        for (uint32_t word : words) {
            PutU32(table, word);
            for (int i = 0; i < 3; ++i)
                PutU32(table, 0);
        }
        controller.Input().SetReplayData(table.data(), table.size());
    }
    void Step() {
        controller.Input().Update();
        EXPECT_TRUE(controller.Steer(*target));
    }

    FlyController controller;
    TaskObject top{nullptr, 0};
    Object3D* target = new Object3D(&top, 0);  // the task tree deletes it
};

constexpr uint32_t Bit(int b) {
    return 1u << b;
}

void ExpectNear(const Vec3& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-5f);
    EXPECT_NEAR(v.y, y, 1e-5f);
    EXPECT_NEAR(v.z, z, 1e-5f);
}

TEST(FlyControllerTest, MovesAlongHeldAxes) {
    Fly fly({Bit(4) | Bit(5), Bit(0), Bit(0) | Bit(11), Bit(2) | Bit(4)});
    fly.Step();
    ExpectNear(fly.target->GetPosition(), 0, 0, 0);
    fly.Step();
    ExpectNear(fly.target->GetPosition(), 0, 0, 2);
    fly.Step();
    ExpectNear(fly.target->GetPosition(), 0, 0, 2.2f);
    fly.Step();
    ExpectNear(fly.target->GetPosition(), -2, 2, 2.2f);
}

// A quarter turn about y (Euler) and one about z (quaternion): forward goes first
// to +x, then to +y, as the node itself composes its rotations.
TEST(FlyControllerTest, MovesFollowTheTargetsOwnAxes) {
    Fly fly({Bit(0)});
    fly.target->SetRotation(Vec3{0, float(M_PI / 2), 0});
    const float h = std::sqrt(0.5f);
    fly.target->SetQuaternion(Quaternion{0, 0, h, h});
    fly.Step();
    ExpectNear(fly.target->GetPosition(), 0, 2, 0);
}

TEST(FlyControllerTest, TurnModeTurnsByDegreeSteps) {
    Fly fly({Bit(10) | Bit(6), Bit(10) | Bit(6) | Bit(11)});
    fly.Step();
    Quaternion q = fly.target->GetQuaternion();
    EXPECT_NEAR(2.0f * std::atan2(q.z, q.w), 0.017453294f, 1e-6f);
    ExpectNear(fly.target->GetPosition(), 0, 0, 0);
    fly.Step();
    q = fly.target->GetQuaternion();
    EXPECT_NEAR(2.0f * std::atan2(q.z, q.w), 1.1f * 0.017453294f, 1e-6f);
}

}  // namespace
}  // namespace mareldon
