#include "game/stage/EffectLayers.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_set>

#include "engine/core/Log.h"
#include "engine/render/archive/MeshData.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/Renderer.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StaticModelRoot.h"

namespace mareldon {

bool BindEffectModel(ClockNode& node, const String& name) {
    if (!node.renderer)
        return false;
    if (!node.renderer->HasModel(name)) {
        // Names by hash: a missing muzzle flash is asked for with every bullet.
        static std::unordered_set<uint64_t> warned;
        uint64_t hash = 14695981039346656037ull;
        for (const char* c = name.Text(); *c != '\0'; ++c)
            hash = (hash ^ uint8_t(*c)) * 1099511628211ull;
        if (warned.insert(hash).second)
            LOG_WARN("effect", "effect model \"%s\" is missing; it shows nothing", name.Text());
        return false;
    }
    node.BindMotion(node.renderer->FindModel(name));
    return true;
}

namespace {

struct Sheet {
    const char* material;
    float cells;  // the frame count, a hair under it so p just below 1 stays in the last cell
    int32_t columns;
    float cellWidth, cellHeight;
};

constexpr Sheet kSheets[] = {
    {"uvscroll4x2", 7.99f, 4, 0.25f, 0.5f},
    {"uvscroll8x4", 31.99f, 8, 0.125f, 0.25f},
    {"uvscroll8x8", 63.99f, 8, 0.125f, 0.125f},
};

constexpr float kBelowOne = 0.99999994f;

void PutScroll(RenderBatch& batch, float u, float v) {
    const float values[4] = {u, v, 0.0f, 0.0f};
    batch.records.Clear();
    batch.records.Add(LightRecord("UVScroll", 4, values));
}

}  // namespace

bool SheetCellOffset(const char* material, float p, float& u, float& v) {
    if (material == nullptr)
        return false;
    for (const Sheet& sheet : kSheets) {
        if (std::strcmp(material, sheet.material) != 0)
            continue;
        if (!(p > 0.0f))  // also NaN
            p = 0.0f;
        if (p > kBelowOne)
            p = kBelowOne;
        const int32_t frame = int32_t(p * sheet.cells);
        u = float(frame % sheet.columns) * sheet.cellWidth;
        v = float(frame / sheet.columns) * sheet.cellHeight;
        return true;
    }
    return false;
}

float MotionProgress(const MotionClock& clock) {
    if (!(clock.end > clock.start))
        return 0.0f;
    return (clock.time - clock.start) / (clock.end - clock.start);
}

// Sets the batch's "UVScroll" record for the first of its parts whose material the
// test accepts; false when none does (the records are left alone).
template <typename Offset>
bool SetSheetScroll(RenderBatch& batch, Offset&& offset) {
    if (batch.meshData == nullptr)
        return false;
    for (const RefPtr<MeshPartData>& part : batch.meshData->parts) {
        if (!part || !part->name)
            continue;
        float u = 0.0f, v = 0.0f;
        if (offset(part->name->Text(), u, v)) {
            PutScroll(batch, u, v);
            return true;
        }
    }
    return false;
}

UvSheetLayer::UvSheetLayer(TaskObject* parentTask, const RefPtr<ModelNodeData>& record,
                           const RefPtr<RenderBatch>& drawSet, const std::vector<ParamTrack>* params,
                           ClockNode* owner)
    : MeshObject(parentTask, record, drawSet, params), clockOwner(owner) {}

void UvSheetLayer::DrawSelf() {
    if (DrawSet() && clockOwner != nullptr) {
        const float p = MotionProgress(clockOwner->clock);
        SetSheetScroll(*DrawSet(), [p](const char* material, float& u, float& v) {
            return SheetCellOffset(material, p, u, v);
        });
    }
    MeshObject::DrawSelf();
}

BombHiddenLayer::BombHiddenLayer(TaskObject* parentTask, const RefPtr<ModelNodeData>& record,
                                 const RefPtr<RenderBatch>& drawSet, const std::vector<ParamTrack>* params,
                                 GameWorldScreen* ownerScreen, uint8_t hide)
    : MeshObject(parentTask, record, drawSet, params), screen(ownerScreen), hideDuringBomb(hide) {}

void BombHiddenLayer::Submit(const RefPtr<RenderView>& view) {
    if (hideDuringBomb != 0 && screen != nullptr && screen->IsBombActive())
        return;
    MeshObject::Submit(view);
}

UvScrollObject::UvScrollObject(TaskObject* parentTask, GameWorldScreen* ownerScreen, const Vec3& position,
                               const Vec3& moveBy, const String& name, const Vec3& scale, uint8_t hide)
    : StaticModelPart(parentTask), velocity(moveBy), hideDuringBomb(hide) {
    screen = ownerScreen;
    SetPosition(position);
    SetRotation(Vec3{0.0f, std::atan2(velocity.x, velocity.z), 0.0f});
    SetScale(scale);
    // Bound here so that the binding reaches this class's layer hook.
    BindEffectModel(*this, name);
}

void UvScrollObject::OnUpdatePre() {
    const Vec3& p = GetPosition();
    SetPosition(Vec3{p.x + velocity.x, p.y + velocity.y, p.z + velocity.z});
}

Object3D* UvScrollObject::CreateLayerObject(Object3D* parentNode, const RefPtr<ModelNodeData>& record,
                                            const String&, const RefPtr<RenderBatch>& drawSet,
                                            const std::vector<ParamTrack>* params) {
    auto* layer = new BombHiddenLayer(parentNode, record, drawSet, params, screen, hideDuringBomb);
    if (layerCount < kKeptLayers)
        layers[layerCount++] = layer;
    return layer;
}

void UvScrollObject::DrawSelf() {
    const int32_t frame = (GetStepCount() / 4) % 4;
    const float cellU = float(frame % 2) * 0.5f, cellV = float(frame / 2) * 0.5f;
    for (int32_t i = 0; i < layerCount; ++i) {
        if (!layers[i]->DrawSet())
            continue;
        SetSheetScroll(*layers[i]->DrawSet(), [&](const char* material, float& u, float& v) {
            if (std::strcmp(material, "zangai2x2") != 0)
                return false;
            u = cellU;
            v = cellV;
            return true;
        });
    }
}

// The stage's decals (GameWorldScreen services).

UvScrollObject* GameWorldScreen::CreateUvScrollObject(const Vec3& position, const Vec3& velocity,
                                                      const char* name, const Vec3& scale,
                                                      uint8_t hideDuringBomb) {
    return CreateUvScrollObjectUnder(GetSceneRoot(), position, velocity, name, scale, hideDuringBomb);
}

UvScrollObject* GameWorldScreen::CreateUvScrollObjectUnder(TaskObject* parentNode, const Vec3& position,
                                                           const Vec3& velocity, const char* name,
                                                           const Vec3& scale, uint8_t hideDuringBomb) {
    if (parentNode == nullptr)
        parentNode = worldRoot;
    if (parentNode == nullptr || name == nullptr)
        return nullptr;
    Note("CreateUvScrollObject", "%s %g %g %g", name, double(position.x), double(position.y),
         double(position.z));
    return new UvScrollObject(parentNode, this, position, velocity, String(name), scale, hideDuringBomb);
}

}  // namespace mareldon
