#include "game/render/FlyController.h"

#include "engine/core/RotationTrack.h"
#include "engine/render/scene/Object3D.h"

namespace mareldon {

namespace {

constexpr float kDegree = 0.017453294f;

}  // namespace

FlyController::FlyController(InputManagerBase* inputParent, uint32_t deviceFlags, float moveSpeed)
    : speed(moveSpeed), input(new PlayerInput(inputParent, deviceFlags)) {}

FlyController::~FlyController() = default;

bool FlyController::Steer(Object3D& target) {
    auto held = [this](uint32_t bit) { return input->TestButtons(ButtonSet{1u << bit, 0, 0, 0}); };
    float step = speed;
    float turn = 1.0f;
    if (held(11)) {
        step = speed * 0.1f;
        turn = 0.1f;
    }
    if (!held(10)) {
        Vec3 d{0.0f, 0.0f, 0.0f};
        if (held(4))
            d.y = step;
        if (held(5))
            d.y -= step;
        if (held(0))
            d.z += step;
        if (held(1))
            d.z -= step;
        if (held(2))
            d.x -= step;
        if (held(3))
            d.x += step;
        if (d.x == 0.0f && d.y == 0.0f && d.z == 0.0f)
            return true;
        // The node's own axes, composed as the node composes them: R(quaternion) R(Euler).
        const Vec3& e = target.GetRotation();
        Matrix4 m = MatrixMultiply(EulerToMatrix(e.x, e.y, e.z), QuaternionToMatrix(target.GetQuaternion()));
        Vec3 moved = Vec3TransformCoord(d, m);
        const Vec3& p = target.GetPosition();
        target.SetPosition(Vec3{p.x + moved.x, p.y + moved.y, p.z + moved.z});
        return true;
    }
    const float a = turn * kDegree;
    struct Turn {
        int bit;
        Vec3 angles;
    };
    const Turn turns[6] = {{6, {0, 0, a}}, {7, {0, 0, -a}}, {0, {-a, 0, 0}},
                           {1, {a, 0, 0}}, {2, {0, a, 0}},  {3, {0, -a, 0}}};
    for (const Turn& t : turns) {
        if (held(t.bit)) {
            Quaternion q = QuaternionMultiply(target.GetQuaternion(),
                                              EulerToQuaternion(t.angles.x, t.angles.y, t.angles.z));
            target.SetQuaternion(q);
        }
    }
    return true;
}

}  // namespace mareldon
