#include "game/stage/PodPair.h"

#include "engine/render/draw/Renderer.h"

namespace mareldon {

namespace {

constexpr float kRadiansPerDegree = 0.017453294f;
constexpr float kDegreesPerRadian = 57.295776f;
constexpr int32_t kShipTypes = 4;

// Per ship type: mount A, mount B (in the pair), pod A, pod B (on their mounts), the
// mounts' yaw and the pods' yaw in degrees.
struct Placement {
    Vec3 mountA, mountB, podA, podB;
    float mountYaw, podYaw;
};

constexpr Placement kPlacements[kShipTypes] = {
    {{0.2f, 0.0f, 0.0f}, {-0.2f, 0.0f, 0.0f}, {0.4f, 0.0f, 0.0f}, {-0.4f, 0.0f, 0.0f}, 65.0f, 90.0f},
    {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, {0.8f, 0.0f, 0.5f}, {-0.8f, 0.0f, 0.5f}, 0.0f, 0.0f},
    {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, {0.6f, 0.0f, -0.1f}, {-0.6f, 0.0f, -0.1f}, 0.0f, 0.0f},
    {{0.2f, 0.0f, -0.3f}, {-0.2f, 0.0f, -0.3f}, {0.4f, 0.0f, 0.0f}, {-0.4f, 0.0f, 0.0f}, 54.0f, 90.0f},
};

bool IsShipType(int32_t type) {
    return type >= 0 && type < kShipTypes;
}

void SetYaw(Object3D& node, float degrees) {
    Vec3 rotation = node.GetRotation();
    rotation.y = degrees * kRadiansPerDegree;
    node.SetRotation(rotation);
}

// Adds to the node's roll, kept within one turn.
void AddRoll(Object3D& node, float degrees, bool upperBound) {
    Vec3 rotation = node.GetRotation();
    float roll = rotation.z * kDegreesPerRadian + degrees;
    if (roll < 0.0f)
        roll += 360.0f;
    if (upperBound && roll > 360.0f)
        roll -= 360.0f;
    rotation.z = roll * kRadiansPerDegree;
    node.SetRotation(rotation);
}

}  // namespace

PodModel::PodModel(TaskObject* parentTask, int32_t type, uint8_t sideA)
    : StaticModelPart(parentTask), shipType(type), side(sideA) {
    if (renderer && IsShipType(shipType)) {
        char name[] = "sel_p00_podonly";
        name[6] = char('0' + shipType);
        BindMotion(renderer->FindModel(name));
    }
    ClearTracks();
}

void PodModel::OnUpdatePre() {
    switch (shipType) {
        case 0:
        case 3:
            AddRoll(*this, side != 0 ? 5.0f : -5.0f, true);
            break;
        case 1:
            AddRoll(*this, 10.0f, true);
            break;
        default:
            break;
    }
}

PodMount::PodMount(TaskObject* parentTask, int32_t shipType, uint8_t sideA) : StaticModelPart(parentTask) {
    podModel = new PodModel(this, shipType, sideA);
    ClearTracks();
}

PodPair::PodPair(TaskObject* parentTask, int32_t type) : StaticModelPart(parentTask), shipType(type) {
    mountA = new PodMount(this, shipType, 1);
    mountB = new PodMount(this, shipType, 0);
    if (!IsShipType(shipType))
        return;
    const Placement& place = kPlacements[shipType];
    mountA->SetPosition(place.mountA);
    mountB->SetPosition(place.mountB);
    mountA->podModel->SetPosition(place.podA);
    mountB->podModel->SetPosition(place.podB);
    SetMountYaw(place.mountYaw);
    SetPodYaw(place.podYaw);
}

void PodPair::SetMountYaw(float degrees) {
    SetYaw(*mountA, 360.0f - degrees);
    SetYaw(*mountB, degrees);
}

void PodPair::SetPodYaw(float degrees) {
    SetYaw(*mountA->podModel, 360.0f - degrees);
    SetYaw(*mountB->podModel, degrees);
}

void PodPair::OnUpdatePre() {
    if (shipType == 1)
        AddRoll(*this, -5.0f, false);
}

}  // namespace mareldon
