#include "game/objects/TransformingShip.h"

#include "game/objects/DeathReactions.h"
#include "game/objects/GunVariants.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

// The volley numbers of these four guns are this class's own choice: the side guns fire
// 24-shot bursts (eight or sixteen on, as many off), the front guns short spreads.
constexpr GunRow kFrontLeft{.shots = 6,
                            .gap = 4,
                            .pause = 50,
                            .fire = gun::SideSpread,
                            .start = gun::AimSpeed,
                            .step = gun::SpeedUpWhileSlow,
                            .speed = 0.06f,
                            .a = -1.2f};
constexpr GunRow kFrontRight{.shots = 6,
                             .gap = 4,
                             .pause = 50,
                             .fire = gun::SideSpread,
                             .start = gun::AimSpeed,
                             .step = gun::SpeedUpWhileSlow,
                             .speed = 0.06f,
                             .a = 1.2f};
constexpr GunRow kSide{.shots = 24,
                       .gap = 2,
                       .pause = 40,
                       .fire = gun::CountedBurst,
                       .start = gun::DifficultySpeed,
                       .step = gun::AimFromParent,
                       .a = 0.25f,
                       .b = 0.09f};
constexpr GunRow kSide16{.shots = 24,
                         .gap = 2,
                         .pause = 40,
                         .fire = gun::CountedBurst16,
                         .start = gun::DifficultySpeed,
                         .step = gun::AimFromParent,
                         .a = 0.25f,
                         .b = 0.09f};

constexpr Vec3 kOpenSpheres[] = {
    {1.3f, 0.0f, 0.0f}, {-1.3f, 0.0f, 0.0f}, {2.4f, 0.0f, 0.0f}, {-2.4f, 0.0f, 0.0f}};

}  // namespace

TransformingShipEnemy::TransformingShipEnemy(TaskObject* parentTask, NodeSpawnInfo& info,
                                             float durabilityValue)
    : DurabilityFormEnemy(parentTask, info, durabilityValue, reactions::TransformingShip) {}

void TransformingShipEnemy::OnUpdatePre() {
    if (nodeDrawSelf == 0)
        return;
    Vec3 centre;
    LocalToWorld(centre, Vec3{0.0f, 0.0f, 0.0f});
    RegisterHitSphere(centre, 1.0f);
    LocalToWorld(centre, Vec3{0.0f, 0.0f, 1.0f});
    RegisterHitSphere(centre, 1.0f);
    if (thirdControlFlag == 0)
        return;
    for (const Vec3& point : kOpenSpheres) {
        LocalToWorld(centre, point);
        RegisterHitSphere(centre, 0.6f);
    }
    if (gunsBuilt == 0) {
        BuildGuns();
        gunsBuilt = 1;
        if (world != nullptr && world->GetEventLog() != nullptr)
            world->GetEventLog()->RecordFormat("ShipGuns", "%s %d", name.Text(), gunCount);
    }
}

void TransformingShipEnemy::BuildGuns() {
    const int32_t stage = world != nullptr ? world->GetPlayingStage() : 0;
    if (stage == 2) {
        for (const GunRow* row : {&kFrontLeft, &kFrontRight}) {
            auto* front = new TableGun(this, world, *row);
            front->storedSpeed = 0.06f;
            front->SetPosition(GetPivot());
        }
        new TableGun(this, world, kSide);
        new TableGun(this, world, kSide);
        gunCount = 4;
        return;
    }
    new TableGun(this, world, kSide16);
    new TableGun(this, world, kSide16);
    gunCount = 2;
}

}  // namespace mareldon
