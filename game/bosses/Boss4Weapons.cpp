#include "game/bosses/Boss4Weapons.h"

#include <cmath>

#include "game/bosses/Boss4Body.h"
#include "game/bosses/Boss4Head.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"

namespace mareldon {

namespace {

constexpr float kDegreesPerRadian = 57.29578f;
constexpr float kTwoPi = 6.2831855f;

const RosetteSpec kMedarionRosette{12, 0.66f, 6, 0.33f, 40, 1.0f};
const RosetteSpec kHebiRosette{10, 0.66f, 5, 0.33f, 12, 1.0f};

}  // namespace

// ---- patterns ----------------------------------------------------------------------------

void Boss4AimedRing32::FireShot() {
    const float aim = AimAtPlayer();
    const Vec3 from = Muzzle();
    for (int32_t k = 0; k < 32; ++k)
        FireBearing(from, aim + 11.25f * float(k), 0.06f, 16, 1.2f);
}

void Boss4AimedTriple::FireShot() {
    const float aim = AimAtPlayer();
    const Vec3 from = Muzzle();
    FireBearing(from, aim - 1.0f, 0.13f, 18, 1.0f);
    FireBearing(from, aim, 0.15f, 18, 1.0f);
    FireBearing(from, aim + 1.0f, 0.13f, 18, 1.0f);
}

Boss4RosettePair::Boss4RosettePair(TaskObject* parentTask, GameWorldScreen* ownerScreen,
                                   const char* patternLabel, const BurstSettings& burstSettings,
                                   uint32_t seed, RosetteAim rosetteAim, const RosetteSpec& rosetteSpec,
                                   float offsetRadians)
    : BossFirePattern(parentTask, ownerScreen, patternLabel, burstSettings, seed),
      aim(rosetteAim),
      spec(rosetteSpec),
      offset(offsetRadians) {}

void Boss4RosettePair::FireShot() {
    const Vec3 from = Muzzle();
    float direction = 0.0f;
    float rosetteSpeed = 0.25f;
    switch (aim) {
        case RosetteAim::kTowardShip: {
            Vec3 target = from;
            if (GameWorldScreen* world = OwnerScreen()) {
                if (PlayerShip* ship = world->GetNearestPlayer(from))
                    target = ship->GetWorldPosition();
            }
            const Vec3 d{target.x - from.x, target.y - from.y, target.z - from.z};
            const Vec3 unit = Vec3Length(d) > 0.0f ? Vec3Normalize(d) : Vec3{1.0f, 0.0f, 0.0f};
            const float degrees = std::atan2(unit.z, unit.x) * kDegreesPerRadian + Draw(0.0f, 60.0f) - 30.0f;
            direction = degrees * kBossRadiansPerDegree;
            rosetteSpeed = Draw(0.14f, 0.25f);
            break;
        }
        case RosetteAim::kForward:
            direction = ForwardAngle() + Draw(-45.0f, 45.0f) * kBossRadiansPerDegree - offset;
            rosetteSpeed = Draw(0.08f, 0.15f);
            break;
        case RosetteAim::kCamera:
            direction = CameraAim();
            rosetteSpeed = 0.25f;
            break;
        case RosetteAim::kDownward:
            direction = Draw(260.0f, 280.0f) * kBossRadiansPerDegree;
            rosetteSpeed = Draw(0.14f, 0.25f);
            break;
    }
    FireRosettePair(from, direction, rosetteSpeed, spec);
}

Boss4TurningOctet::Boss4TurningOctet(TaskObject* parentTask, GameWorldScreen* ownerScreen,
                                     const char* patternLabel, bool mirror)
    : BossFirePattern(parentTask, ownerScreen, patternLabel, {0, 2, 18, 1}), mirrored(mirror) {}

void Boss4TurningOctet::OnBurstStart() {
    angle = 0.0f;
}

void Boss4TurningOctet::FireShot() {
    const float direction = mirrored ? ForwardAngle() + angle : ForwardAngle() - angle;
    const Vec3 from = Muzzle();
    for (int32_t i = 0; i < 8; ++i)
        FireAlong(from, direction, 0.08f + 0.005f * float(i), 11, 1.0f);
    angle -= 0.2792527f;
}

Boss4RandomStream::Boss4RandomStream(TaskObject* parentTask, GameWorldScreen* ownerScreen,
                                     const char* patternLabel, uint32_t seed)
    : BossFirePattern(parentTask, ownerScreen, patternLabel, {0, 1, 4, 160}, seed) {}

void Boss4RandomStream::OnBurstStart() {
    speed = Draw(0.07f, 0.10f);
    angle = Draw(0.0f, kTwoPi);
    sign = Draw(0.0f, 1.0f) * 2.0f - 1.0f > 0.0f ? 1.0f : -1.0f;
}

void Boss4RandomStream::FireShot() {
    FireAlong(Muzzle(), angle, speed, 10, 1.2f);
    speed += 0.005f;
    angle += sign * 0.02617994f;
}

Boss4AimedPair::Boss4AimedPair(TaskObject* parentTask, GameWorldScreen* ownerScreen, const char* patternLabel,
                               const BurstSettings& burstSettings, int32_t odd, int32_t even)
    : BossFirePattern(parentTask, ownerScreen, patternLabel, burstSettings),
      oddSprite(odd),
      evenSprite(even) {}

void Boss4AimedPair::OnBurstStart() {
    // The burst runs from its first shot on, so the count set here is the burst's own.
    static const int32_t kShots[6] = {70, 70, 220, 165, 85, 70};
    const int32_t left = GetBurstsLeft();
    const int32_t shots = left >= 0 && left < 6 ? kShots[left] : 70;
    SetBurstShots(shots);
    SetShotsLeft(shots);
}

void Boss4AimedPair::FireShot() {
    const float aim = CameraAim();
    const int32_t sprite = (GetShotsLeft() & 1) != 0 ? oddSprite : evenSprite;
    const Vec3 from = Muzzle();
    FireAlong(from, aim + 0.41887903f, 0.13f, sprite, 1.0f);
    FireAlong(from, aim - 0.41887903f, 0.13f, sprite, 1.0f);
}

Boss4AimedSingle::Boss4AimedSingle(TaskObject* parentTask, GameWorldScreen* ownerScreen,
                                   const char* patternLabel, int32_t odd, int32_t even)
    : BossFirePattern(parentTask, ownerScreen, patternLabel, {20, 1, 8, 28}),
      oddSprite(odd),
      evenSprite(even) {}

void Boss4AimedSingle::FireShot() {
    const int32_t sprite = (GetShotsLeft() & 1) != 0 ? oddSprite : evenSprite;
    FireAlong(Muzzle(), CameraAim(), speed, sprite, 1.2f);
}

Boss4SweepingFan::Boss4SweepingFan(TaskObject* parentTask, GameWorldScreen* ownerScreen,
                                   const char* patternLabel, float start, float sweepStep)
    : BossFirePattern(parentTask, ownerScreen, patternLabel, {0, 2, 24, 1}),
      startAngle(start),
      sweep(sweepStep) {}

void Boss4SweepingFan::OnConfigure() {
    angle = startAngle;
    speed = 0.03f;
}

void Boss4SweepingFan::FireShot() {
    const Vec3 from = Muzzle();
    for (int32_t i = 0; i < 7; ++i)
        FireAlong(from, angle + float(i * 10 - 30) * kBossRadiansPerDegree, speed, (i & 1) != 0 ? 33 : 32,
                  1.2f);
    angle += sweep;
    speed += 0.008f;
}

Boss4WaveRings::Boss4WaveRings(TaskObject* parentTask, GameWorldScreen* ownerScreen, const char* patternLabel)
    : BossFirePattern(parentTask, ownerScreen, patternLabel, {0, 0, 0, 1}) {}

void Boss4WaveRings::OnConfigure() {
    angle = 4.712389f;
    speed = 0.055f;
}

void Boss4WaveRings::FireShot() {
    const Vec3 from = Muzzle();
    float a = angle;
    float ringSpeed = speed;
    for (int32_t ring = 0; ring < 8; ++ring) {
        for (int32_t i = 0; i < 11; ++i) {
            FireAlong(from, a, ringSpeed, 32, 1.5f);
            a += 0.5711987f;
        }
        ringSpeed += 0.01f;
    }
}

// ---- muzzles -------------------------------------------------------------------------------

Boss4Muzzle::Boss4Muzzle(TaskObject* parentTask, NodeSpawnInfo& info) : NullNodeObject(parentTask, info) {}

Boss4Muzzle::~Boss4Muzzle() {
    DeleteChildren();
    Unregister();
}

void Boss4Muzzle::Add(BossFirePattern* pattern) {
    if (count < kMaxPatterns)
        patterns[count++] = pattern;
}

void Boss4Muzzle::RegisterIn(int32_t bodySlotIndex, int32_t headSlotIndex) {
    TaskObject* at = this;
    for (int32_t i = 0; i < kOwnerLevels && at != nullptr; ++i)
        at = static_cast<TaskObject*>(at->parent);
    body = bodySlotIndex >= 0 ? dynamic_cast<Boss4Body*>(at) : nullptr;
    head = headSlotIndex >= 0 ? dynamic_cast<Boss4LayerPart23*>(at) : nullptr;
    if (body != nullptr) {
        bodySlot = bodySlotIndex;
        body->RegisterMuzzle(bodySlot, this);
    } else if (head != nullptr) {
        headSlot = headSlotIndex;
        head->RegisterMuzzle(headSlot, this);
    } else {
        LOG_WARN("boss", "\"%s\" has no owner %d levels up; nothing starts it", name.Text(), kOwnerLevels);
    }
}

void Boss4Muzzle::Unregister() {
    if (body != nullptr && body->Muzzle(bodySlot) == this)
        body->RegisterMuzzle(bodySlot, nullptr);
    if (head != nullptr && head->Muzzle(headSlot) == this)
        head->RegisterMuzzle(headSlot, nullptr);
    body = nullptr;
    head = nullptr;
}

void Boss4Muzzle::Restart(int32_t k) {
    if (BossFirePattern* pattern = Pattern(k))
        pattern->Restart();
}

void Boss4Muzzle::StopAll() {
    for (int32_t k = 0; k < count; ++k)
        patterns[k]->Stop();
}

Boss4MuzzleMedarion::Boss4MuzzleMedarion(TaskObject* parentTask, NodeSpawnInfo& info)
    : Boss4Muzzle(parentTask, info) {
    RegisterIn(kBoss4Medarion, -1);
    Add(new Boss4AimedRing32(this, world, "medarion.0", {0, 15, 40, 1}));
    Add(new PulsingRingPattern(this, world, "medarion.1", {30, 30, 2, 6}));
    Add(new Boss4AimedTriple(this, world, "medarion.2", {90, 3, 8, 6}));
    Add(new Boss4RosettePair(this, world, "medarion.3", {30, 8, 2, 8}, 34752, RosetteAim::kTowardShip,
                             kMedarionRosette));
}

Boss4MuzzleHebi::Boss4MuzzleHebi(TaskObject* parentTask, NodeSpawnInfo& info, HebiPlace where)
    : Boss4Muzzle(parentTask, info), place(where) {
    struct HebiRow {
        int32_t slot;
        uint32_t rosetteSeed;
        float offset;
        bool mirrored;
        uint32_t streamSeed;  // 0: no stream
        const char* labels[3];
    };
    static const HebiRow kRows[6] = {
        {kBoss4HebiRue, 4, 3.8397245f, false, 98764576, {"hebi_Rue.0", "hebi_Rue.1", "hebi_Rue.2"}},
        {kBoss4HebiRnaka, 980, 3.1415927f, false, 0, {"hebi_Rnaka.0", "hebi_Rnaka.1", nullptr}},
        {kBoss4HebiRshita, 3476, 0.0f, false, 0, {"hebi_Rshita.0", "hebi_Rshita.1", nullptr}},
        {kBoss4HebiLue, 34752, 3.8397245f, true, 127658234, {"hebi_Lue.0", "hebi_Lue.1", "hebi_Lue.2"}},
        {kBoss4HebiLnaka, 22335, 3.1415927f, true, 0, {"hebi_Lnaka.0", "hebi_Lnaka.1", nullptr}},
        {kBoss4HebiLshita, 235, 0.0f, true, 0, {"hebi_Lshita.0", "hebi_Lshita.1", nullptr}},
    };
    const HebiRow& row = kRows[int32_t(where)];
    RegisterIn(row.slot, -1);
    Add(new Boss4RosettePair(this, world, row.labels[0], {10, 0, 0, 6}, row.rosetteSeed, RosetteAim::kForward,
                             kHebiRosette, row.offset));
    Add(new Boss4TurningOctet(this, world, row.labels[1], row.mirrored));
    if (row.streamSeed != 0)
        Add(new Boss4RandomStream(this, world, row.labels[2], row.streamSeed));
}

Boss4MuzzleMedarion2::Boss4MuzzleMedarion2(TaskObject* parentTask, NodeSpawnInfo& info)
    : Boss4Muzzle(parentTask, info) {
    RegisterIn(-1, kBoss4Medarion2);
    Add(new Boss4RosettePair(this, world, "medarion2.0", {20, 8, 3, 6}, 0, RosetteAim::kCamera,
                             kMedarionRosette));
    Add(new Boss4RosettePair(this, world, "medarion2.1", {0, 8, 16, 1}, 34752, RosetteAim::kDownward,
                             kMedarionRosette));
    Add(new RandomSprayPattern(this, world, "medarion2.2", {0, 1, 240, 1}, 34752, SprayKind::kFourSprites));
}

Boss4MuzzleUMe::Boss4MuzzleUMe(TaskObject* parentTask, NodeSpawnInfo& info, bool left)
    : Boss4Muzzle(parentTask, info) {
    RegisterIn(-1, left ? kBoss4UMeL2 : kBoss4UMeR2);
    // The left eye's settings name 1000 shots; every burst start sets its own count.
    static const char* const kLabels[2][7] = {
        {"U_meR2.0", "U_meR2.1", "U_meR2.2", "U_meR2.3", "U_meR2.4", "U_meR2.5", "U_meR2.6"},
        {"U_meL2.0", "U_meL2.1", "U_meL2.2", "U_meL2.3", "U_meL2.4", "U_meL2.5", "U_meL2.6"}};
    const char* const* label = kLabels[left ? 1 : 0];
    const float turn = 0.061086528f;
    Add(new Boss4AimedPair(this, world, label[0], {30, 1, left ? 1000 : 1, 5}, left ? 11 : 10, left ? 0 : 1));
    Add(new Boss4AimedSingle(this, world, label[1], left ? 10 : 11, left ? 1 : 0));
    Add(new Boss4SweepingFan(this, world, label[2], left ? -1.0471976f : 4.1887903f,
                             left ? 0.05235988f : 0.04363323f));
    Add(new AimedColumnPattern(this, world, label[3], {5, 0, 1, 12}, 45698, kAimedColumn));
    Add(new TurningRingPattern(this, world, label[4], {0, 4, 3, 1},
                               {0.055f, 0.19634955f, left ? turn : -turn, 0.008f, 12, 1.2f}));
    Add(new Boss4WaveRings(this, world, label[5]));
    Add(new TurningRingPattern(this, world, label[6], {0, 4, 3, 1},
                               {0.055f, 0.19634955f, left ? -turn : turn, 0.008f, 41, 1.2f}));
}

Boss4MuzzleDoguu::Boss4MuzzleDoguu(TaskObject* parentTask, NodeSpawnInfo& info, bool upper)
    : Boss4Muzzle(parentTask, info) {
    RegisterIn(upper ? kBoss4BodySpareA : kBoss4BodySpareB, upper ? kBoss4HeadSpareA : kBoss4HeadSpareB);
    Add(new PulsingRingPattern(this, world, upper ? "doguu_ue.0" : "doguu_shita.0", {120, 30, 2, 2}));
}

Boss4Marker::Boss4Marker(TaskObject* parentTask, NodeSpawnInfo& info, bool leftSide)
    : NullNodeObject(parentTask, info), left(leftSide) {
    body = FindAncestor<Boss4Body>(this, 2, info.name);
    if (body != nullptr)
        body->RegisterMarker(left, this);
}

Boss4Marker::~Boss4Marker() {
    DeleteChildren();
    if (body != nullptr && body->Marker(left) == this)
        body->RegisterMarker(left, nullptr);
}

}  // namespace mareldon
