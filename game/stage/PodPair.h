#pragma once

#include <cstdint>

#include "engine/core/Math.h"
#include "game/stage/StaticModelPart.h"

namespace mareldon {

// One pod: binds "sel_p0K_podonly" for ship type K, keeps the model's rest pose (its
// tracks are cleared) and spins about its own axis each step: types 0 and 3 by 5
// degrees (A forward, B back), type 1 by 10, type 2 not at all.
class PodModel : public StaticModelPart {
  public:
    PodModel(TaskObject* parent, int32_t shipType, uint8_t sideA);

    void OnUpdatePre() override;

    int32_t GetShipType() const { return shipType; }
    bool IsSideA() const { return side != 0; }

  private:
    int32_t shipType;
    uint8_t side;
};

// A pod's mount beside the ship: a plain node that holds the pod model.
class PodMount : public StaticModelPart {
  public:
    PodMount(TaskObject* parent, int32_t shipType, uint8_t sideA);

    PodModel* podModel = nullptr;
};

// The two pods a ship carries. The ship places its side guns at the pods (the fourth
// type's pod guns hang under the pod models). For ship type 1 the pair rolls 5
// degrees a step, so its pods circle the ship.
class PodPair : public StaticModelPart {
  public:
    PodPair(TaskObject* parent, int32_t shipType);

    bool IsAlive() override { return true; }
    void OnUpdatePre() override;

    // Mount A turned to a yaw of 360 - a, mount B to a (degrees).
    void SetMountYaw(float degrees);
    // Pod A turned to a yaw of 360 - b, pod B to b (degrees).
    void SetPodYaw(float degrees);
    PodMount* GetMountA() const { return mountA; }
    PodMount* GetMountB() const { return mountB; }
    Vec3 GetPodPositionA() { return mountA->podModel->GetWorldPosition(); }
    Vec3 GetPodPositionB() { return mountB->podModel->GetWorldPosition(); }
    int32_t GetShipType() const { return shipType; }

  private:
    int32_t shipType;
    PodMount* mountA;
    PodMount* mountB;
};

}  // namespace mareldon
