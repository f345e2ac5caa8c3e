#include "game/objects/RailTrain.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "engine/core/Log.h"
#include "game/objects/WreckModel.h"
#include "game/stage/Emitters.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/StageScene.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

using Kind = StageNodeRegistry::Kind;

// A layer of a wreck model: empties its part's slot when it goes.
class WreckLayer : public MeshObject {
  public:
    WreckLayer(TaskObject* parent, const RefPtr<ModelNodeData>& record, const RefPtr<RenderBatch>& drawSet,
               const std::vector<ParamTrack>* params, MeshObject** holderSlot)
        : MeshObject(parent, record, drawSet, params), slot(holderSlot) {}
    ~WreckLayer() override {
        if (slot != nullptr && *slot == this)
            *slot = nullptr;
    }

    MeshObject** slot;
};

// The wreck models the parts match their layers against, with their layer counts.
struct WreckLayers {
    const char* model;
    int32_t count;
};
constexpr WreckLayers kWreckLayers[] = {{"mg_04rail_cargo_k", 2},
                                        {"mg_04rail_locomotive_k", 4},
                                        {"mg_04rail_metalA_k", 4},
                                        {"mg_04rail_metalB_k", 7},
                                        {"mg_04rail_tender_k", 1}};

// Children of a car the wreck walk passes over.
constexpr const char* kPassedOver[] = {"EC_GENERAL",
                                       "GP*A00",
                                       "GP*B00",
                                       "BS_RAIL_LOCOMOTIVE",
                                       "BS_RAIL_TENDER",
                                       "BS_RAIL_METAL_B_CENTER",
                                       "BS_RAIL_METAL_B_0",
                                       "BS_RAIL_METAL_B_HOU",
                                       "BS_RAIL_METAL_B_LAUNCHER",
                                       "BS_RAIL_CARGO",
                                       "BS_RAIL_METAL_A_0",
                                       "BS_RAIL_METAL_A_HOUTOU",
                                       "BS_RAIL_METAL_A_4",
                                       "medal"};

// The cars' sub-layers that take wreck meshes; the last of each car ends the walk.
struct SubLayers {
    const char* model;
    int32_t last;
};
constexpr SubLayers kSubLayers[] = {{"mg_04rail_cargo:Layer", 1},
                                    {"mg_04rail_metalB:Layer", 6},
                                    {"mg_04rail_metalA:Layer", 3},
                                    {"mg_04rail_locomotive:Layer", 3}};

bool PassedOver(const String& name) {
    for (const char* passed : kPassedOver) {
        if (name.Equals(passed))
            return true;
    }
    return false;
}

// 0 for no car sub-layer, 1 for one, 2 for the last of its car.
int32_t SubLayerKind(const String& name) {
    const char* text = name.Text();
    for (const SubLayers& sub : kSubLayers) {
        const size_t length = std::strlen(sub.model);
        if (std::strncmp(text, sub.model, length) != 0)
            continue;
        const char* digits = text + length;
        if (digits[0] < '1' || digits[0] > '9' || digits[1] != '\0')
            return 0;
        const int32_t index = digits[0] - '0';
        if (index > sub.last)
            return 0;
        return index == sub.last ? 2 : 1;
    }
    return 0;
}

void NoteNodeEmitter(GameWorldScreen* world, float radius, int32_t perVolley, int32_t interval,
                     int32_t volleys, const char* name) {
    if (world == nullptr)
        return;
    if (WorldEventLog* log = world->GetEventLog())
        log->RecordFormat("NodeEmitter", "%g %d %d %d %s", double(radius), perVolley, interval, volleys,
                          name);
}

void SpawnNodeEmitter(RailTrain& car, float radius, int32_t perVolley, int32_t interval, int32_t volleys,
                      const char* name, float yawSpread, float scale) {
    if (car.world == nullptr)
        return;
    NoteNodeEmitter(car.world, radius, perVolley, interval, volleys, name);
    new NodeExplosionEmitter(&car, car.world, radius, perVolley, interval, volleys, name, -90.0f, yawSpread,
                             0.1f, 0.3f, Vec3{scale, scale, scale}, Vec3{0.0f, 0.0f, 0.0f});
}

constexpr Vec3 kCarDrops[] = {{-0.6f, 0.0f, 0.8f}, {0.6f, 0.0f, 0.8f},   {-1.0f, 0.0f, 0.0f},
                              {1.0f, 0.0f, 0.0f},  {-0.6f, 0.0f, -0.8f}, {0.6f, 0.0f, -0.8f}};

}  // namespace

RailTrainCar::RailTrainCar(TaskObject* parentTask, NodeSpawnInfo& info)
    : NullNodeObject(parentTask, info, AttachKind::kFree) {
    registry.reserve(4);
    if (Object3D* parentNode = ParentNode()) {
        for (int32_t i = 0; i < kCars; ++i) {
            wreckParts[i] = new RailTrainPart(parentNode, String(kWreckModels[i]), &wreckParts[i]);
        }
    }
    // The cars move by the node's tracks; the holder itself stays at the origin.
    for (int32_t i = 0; i < kTrackCount; ++i)
        storedTracks[i].CopyFrom(tracks[i]);
    ClearTracks();
    keySpanStart = 0.0f;
    keySpanEnd = 0.0f;
    SetPosition(Vec3{0.0f, 0.0f, 0.0f});
    SetRotation(Vec3{0.0f, 0.0f, 0.0f});
}

RailTrainCar::~RailTrainCar() {
    for (RailTrainPart* part : wreckParts) {
        if (part != nullptr)
            part->slot = nullptr;
    }
}

int32_t RailTrainCar::Register() {
    const int32_t index = int32_t(registry.size());
    registry.push_back(index);
    return index;
}

RailTrainPart* RailTrainCar::WreckPart(int32_t index) const {
    return index >= 0 && index < kCars ? wreckParts[index] : nullptr;
}

void RailTrainCar::DestroyCarsBehind(int32_t index) {
    if (index < 0 || index >= kCars || carDestroyed[index] != 0)
        return;
    TreeNode* node = firstChild;
    for (int32_t j = 0; j < kCars && j < childCount; ++j, node = node->next) {
        if (j <= index || carDestroyed[j] != 0)
            continue;
        auto* holderNode = static_cast<TaskObject*>(node);
        if (holderNode->childCount == 0)
            continue;
        // Only a car: anything else in that place is left alone.
        auto* car = dynamic_cast<RailTrain*>(static_cast<TaskObject*>(holderNode->firstChild));
        if (car == nullptr)
            continue;
        car->OnDestroyed();
        carDestroyed[j] = 1;
    }
}

RailTrainPart::RailTrainPart(TaskObject* parentTask, const String& modelName, RailTrainPart** holderSlot)
    : StaticModelPart(parentTask), slot(holderSlot) {
    name = modelName;
    BindStageModel(*this, modelName, "train wreck");
    nodeDrawSelf = 0;
    nodeChildren = 0;
    SetDrawSelf(false);
    SetUpdateSelf(false);
}

RailTrainPart::~RailTrainPart() {
    if (slot != nullptr && *slot == this)
        *slot = nullptr;
    // The layers go after this part's own fields: keep them from writing back.
    for (MeshObject* layer : layers) {
        if (auto* wreck = dynamic_cast<WreckLayer*>(layer))
            wreck->slot = nullptr;
    }
}

Object3D* RailTrainPart::CreateLayerObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                           const String& layerName, const RefPtr<RenderBatch>& drawSet,
                                           const std::vector<ParamTrack>* params) {
    for (const WreckLayers& wreck : kWreckLayers) {
        for (int32_t j = 0; j < wreck.count; ++j) {
            const std::string expected = std::string(wreck.model) + ":Layer" + std::to_string(j);
            if (!layerName.Equals(expected.c_str()))
                continue;
            auto* layer = new WreckLayer(parentNode, record, drawSet, params, &layers[j]);
            layers[j] = layer;
            return layer;
        }
    }
    return nullptr;
}

RailTrain::RailTrain(TaskObject* parentTask, NodeSpawnInfo& info, float durabilityValue, float hitRadius,
                     int32_t, const char* bonusName, const char* explosionName)
    : Enemy(parentTask, info, durabilityValue, AttachKind::kUnderFrameNode),
      radius(hitRadius),
      bonus(bonusName),
      explosion(explosionName) {
    Object3D* linked = ParentNode();
    holder = linked != nullptr ? dynamic_cast<RailTrainCar*>(linked->ParentNode()) : nullptr;
    if (holder == nullptr) {
        LOG_WARN("stage", "train car \"%s\" is not under \"Null_Train\": it does not move with a train",
                 info.name.Text());
        return;
    }
    bool any = false;
    float start = 0.0f;
    float end = 0.0f;
    for (int32_t i = 0; i < kTrackCount; ++i) {
        const KeyTrack& source = holder->storedTracks[i];
        tracks[i].CopyFrom(source);
        if (source.keyCount > 0) {
            const float first = source.keys[0].time;
            const float last = source.keys[source.keyCount - 1].time;
            start = any ? std::min(start, first) : first;
            end = any ? std::max(end, last) : last;
            any = true;
        }
    }
    keySpanStart = start;
    keySpanEnd = end;
    ApplyTracks();
    carIndex = holder->Register();
    if (carIndex >= RailTrainCar::kCars)
        LOG_WARN("stage", "train car \"%s\" is car %d of a ten-car train: no wreck, no chain",
                 info.name.Text(), carIndex + 1);
}

bool RailTrain::IsAlive() {
    // The window still shows the car and switches its guns; a wreck's stay off.
    Enemy::IsAlive();
    if (destroyed != 0)
        active = 0;
    return alive != 0;
}

bool RailTrain::InHitWindow(float t) {
    return (t > 11.0f && t < 39.0f) || (t > 80.0f && t < 99.0f);
}

void RailTrain::OnUpdatePre() {
    if (destroyed == 0) {
        const float t = world != nullptr && world->GetStageScene() != nullptr
                            ? world->GetStageScene()->GetMotionTime()
                            : GetMotionTime();
        if (InHitWindow(t))
            RegisterHitSphere(GetWorldPosition(), radius);
        return;
    }
    if (carIndex != 0)
        return;
    const int32_t frame = GetStepCount();
    if (frame < kSmokeUntil && frame % kSmokeEvery == 0)
        SpawnNodeEmitter(*this, 3.0f, 5, 2, 10, "EFECTS_KEMURI_01", 10.0f, 2.0f);
}

void RailTrain::TakeWreckMeshes() {
    RailTrainPart* part = holder != nullptr ? holder->WreckPart(carIndex) : nullptr;
    if (part == nullptr)
        return;
    MeshObject* base = part->layers[0];
    if (base != nullptr)
        TakeMeshOf(*base);
    const int32_t walkLayers = RailTrainCar::kSubLayers[carIndex] - 1;
    int32_t taken = 0;
    TreeNode* node = firstChild;
    for (int32_t i = 0; i < childCount && i < kMaxWalk && taken < walkLayers; ++i, node = node->next) {
        Object3D* child = static_cast<TaskObject*>(node)->AsObject3D();
        if (child == nullptr)
            break;
        if (PassedOver(child->name))
            continue;
        const int32_t kind = SubLayerKind(child->name);
        if (kind == 0)
            break;
        ++taken;
        MeshObject* wreck = taken < RailTrainPart::kLayers ? part->layers[taken] : nullptr;
        if (wreck == nullptr)
            wreck = base;
        auto* mesh = dynamic_cast<MeshObject*>(child);
        if (mesh != nullptr && wreck != nullptr)
            mesh->TakeMeshOf(*wreck);
        if (kind == 2)
            break;
    }
}

void RailTrain::OnDestroyed() {
    if (destroyed != 0)
        return;
    active = 0;
    const bool inTrain = holder != nullptr && carIndex >= 0 && carIndex < RailTrainCar::kCars;
    if (inTrain)
        holder->DestroyCarsBehind(carIndex);
    if (inTrain)
        TakeWreckMeshes();
    if (world != nullptr && world->GetEventLog() != nullptr)
        world->GetEventLog()->RecordFormat("TrainCarDestroyed", "%s %d", name.Text(), carIndex);
    if (world != nullptr && !bonus.Equals("NULL"))
        world->SpawnItem(GetWorldPosition(), Vec3{0.0f, 0.0f, 0.0f}, bonus.Text());
    if (carIndex == 0) {
        SpawnNodeEmitter(*this, 3.0f, 7, 2, 10, "EFECTS_KEMURI_01", 20.0f, 2.0f);
    } else {
        SpawnNodeEmitter(*this, 3.0f, 2, 4, 2, "EXPLOSION_ita_MA01", 10.0f, 1.0f);
        SpawnNodeEmitter(*this, 3.0f, 4, 2, 5, "EXPLOSION_ita_SA01", 10.0f, 1.0f);
    }
    if (world != nullptr)
        world->PlayExplosionSeRandom();
    destroyed = 1;
    if (carIndex != 0) {
        // It stays where it was hit.
        if (Object3D* linked = ParentNode())
            linked->ClearTracks();
        ClearTracks();
    }
    if (world == nullptr)
        return;
    for (const Vec3& point : kCarDrops) {
        Vec3 at;
        LocalToWorld(at, point);
        world->SpawnItem(at, Vec3{0.0f, 0.0f, 0.0f}, "BONUS_M");
    }
    world->SpawnItem(GetWorldPosition(), Vec3{0.0f, 0.0f, 0.0f}, "BONUS_L");
}

RailGun::RailGun(Object3D* parentNode, NodeSpawnInfo& info, const GunRow& row, const char* carLayer,
                 bool onTurret, Pattern shotPattern)
    : TableGun(parentNode, info, row), pattern(shotPattern) {
    Object3D* carNode = parentNode;
    if (onTurret && carNode != nullptr)
        carNode = carNode->ParentNode();
    car = dynamic_cast<RailTrain*>(carNode);
    if (car != nullptr && !car->name.Equals(carLayer))
        car = nullptr;
    if (car == nullptr)
        LOG_WARN("stage", "train gun \"%s\" is not on a \"%s\" car: it never fires", info.name.Text(),
                 carLayer);
}

void RailGun::FireBullet(const Vec3& position, float, float speed) {
    if (car == nullptr || car->destroyed != 0)
        return;
    const Vec3 f = GetWorldForward();
    const Vec3 velocity = {f.x * speed, f.y * speed, f.z * speed};
    switch (pattern) {
        case Pattern::kOne:
            Shoot(position, velocity, row.kind, 1.0f);
            break;
        case Pattern::kPair:
            Shoot({position.x + 0.25f, position.y, position.z}, velocity, row.kind, 1.0f);
            Shoot({position.x - 0.25f, position.y, position.z}, velocity, row.kind, 1.0f);
            break;
        case Pattern::kThree:
            Shoot(position, velocity, row.kind, 1.0f);
            Shoot({position.x + 0.5f, position.y, position.z}, velocity, row.kind, 1.0f);
            Shoot({position.x - 0.5f, position.y, position.z}, velocity, row.kind, 1.0f);
            break;
    }
}

Object3D* BuildTrainCar(Object3D* parentNode, NodeSpawnInfo& info, float durability, float radius,
                        int32_t linger, const char* bonus, const char* explosion) {
    NodeSpawnInfo frame;
    frame.InitFrame(info.owner, info.name, RefPtr<ModelNodeData>());
    frame.scene = info.scene;
    auto* linked = new NullNodeObject(parentNode, frame, AttachKind::kUnderFrameNode);
    linked->name = info.name;
    frame.Release();
    return new RailTrain(linked, info, durability, radius, linger, bonus, explosion);
}

namespace {

constexpr uint8_t kL = GunRow::kLow;
constexpr uint8_t kLN = GunRow::kLow | GunRow::kNear;

constexpr GunRow kCargoRow{.shots = 1,
                           .gap = 50,
                           .pause = 50,
                           .suppress = kL,
                           .start = gun::SpeedOnly,
                           .step = gun::AimFromParent,
                           .kind = 11,
                           .speed = 0.16f};
constexpr GunRow kLocomotiveRow{.shots = 5,
                                .gap = 2,
                                .pause = 70,
                                .suppress = kL,
                                .start = gun::SpeedOnly,
                                .step = gun::AimFromParent,
                                .kind = 34,
                                .speed = 0.16f};
constexpr GunRow kHoutouRow{.shots = 4,
                            .gap = 2,
                            .pause = 70,
                            .suppress = kLN,
                            .start = gun::SpeedOnly,
                            .step = gun::AimFromParent,
                            .kind = 0,
                            .speed = 0.16f};
constexpr GunRow kMetalBHouRow{.shots = 8,
                               .gap = 2,
                               .pause = 60,
                               .suppress = kLN,
                               .start = gun::SpeedOnly,
                               .step = gun::AimFromParent,
                               .kind = 0,
                               .speed = 0.16f};
constexpr GunRow kLauncherRow{
    .shots = 8, .gap = 2, .pause = 80, .suppress = kL, .step = gun::AimFromParent, .kind = 22};

using Pattern = RailGun::Pattern;

template <const GunRow& Row, bool OnTurret, Pattern P>
Object3D* BuildRailGun(Object3D* parentNode, NodeSpawnInfo& info, const char* carLayer) {
    return new RailGun(parentNode, info, Row, carLayer, OnTurret, P);
}

Object3D* BuildCargoGun(Object3D* p, NodeSpawnInfo& i) {
    return BuildRailGun<kCargoRow, false, Pattern::kOne>(p, i, "mg_04rail_cargo:Layer0");
}
Object3D* BuildTenderGun(Object3D* p, NodeSpawnInfo& i) {
    return BuildRailGun<kCargoRow, false, Pattern::kOne>(p, i, "mg_04rail_tender:Layer0");
}
Object3D* BuildLocomotiveGun(Object3D* p, NodeSpawnInfo& i) {
    return BuildRailGun<kLocomotiveRow, false, Pattern::kOne>(p, i, "mg_04rail_locomotive:Layer0");
}
Object3D* BuildMetalA4Gun(Object3D* p, NodeSpawnInfo& i) {
    return BuildRailGun<kCargoRow, true, Pattern::kOne>(p, i, "mg_04rail_metalA:Layer0");
}
Object3D* BuildHoutouGun(Object3D* p, NodeSpawnInfo& i) {
    return BuildRailGun<kHoutouRow, true, Pattern::kPair>(p, i, "mg_04rail_metalA:Layer0");
}
Object3D* BuildMetalBHouGun(Object3D* p, NodeSpawnInfo& i) {
    return BuildRailGun<kMetalBHouRow, true, Pattern::kOne>(p, i, "mg_04rail_metalB:Layer0");
}
Object3D* BuildLauncherGun(Object3D* p, NodeSpawnInfo& i) {
    return BuildRailGun<kLauncherRow, true, Pattern::kThree>(p, i, "mg_04rail_metalB:Layer0");
}

Object3D* BuildHolder(Object3D* parentNode, NodeSpawnInfo& info) {
    return new RailTrainCar(parentNode, info);
}

}  // namespace

void RegisterRailTrain(StageNodeRegistry& registry) {
    registry.Add(Kind::kFrame, "Null_Train", BuildHolder);
    registry.Add(Kind::kFrame, "BS_RAIL_CARGO", BuildCargoGun);
    registry.Add(Kind::kFrame, "BS_RAIL_TENDER", BuildTenderGun);
    registry.Add(Kind::kFrame, "BS_RAIL_LOCOMOTIVE", BuildLocomotiveGun);
    registry.Add(Kind::kFrame, "BS_RAIL_METAL_A_4", BuildMetalA4Gun);
    registry.Add(Kind::kFrame, "BS_METAL_A_HOUTOU", BuildHoutouGun);
    registry.Add(Kind::kFrame, "BS_RAIL_METAL_B_HOU", BuildMetalBHouGun);
    registry.Add(Kind::kFrame, "BS_RAIL_METAL_B_LAUNCHER", BuildLauncherGun);
}

}  // namespace mareldon
