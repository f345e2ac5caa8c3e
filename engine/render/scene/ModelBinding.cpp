#include "engine/render/scene/ModelBinding.h"

#include <cstddef>

#include "engine/render/ArchiveObjects.h"
#include "engine/render/RenderBatch.h"
#include "engine/render/Renderer.h"
#include "engine/render/ResourceManager.h"
#include "engine/render/ResourceProxy.h"
#include "engine/render/scene/Bone.h"
#include "engine/render/scene/ClockNode.h"
#include "engine/render/scene/MeshObject.h"

namespace mareldon {

namespace {

String NameOf(const RefPtr<String>& name) {
    return name ? *name : String();
}

Matrix4 OffsetOf(const ModelNodeData& record) {
    Matrix4 offset;
    for (size_t i = 0; i < 16; ++i)
        offset[int(i)] = record.offsetMatrix[i];
    return offset;
}

// The hook of the record's type on `asked`, building under `parent`.
Object3D* AskHook(Object3D& asked, Object3D& parent, const RefPtr<ModelNodeData>& record, const String& name,
                  const RefPtr<RenderBatch>& drawSet, MeshObject* mesh) {
    switch (record->type) {
        case kRecordPlain:
            return asked.CreatePlainObject(&parent, record, name);
        case kRecordFrame:
            return asked.CreateFrameObject(&parent, record, name);
        case kRecordLayer:
            return asked.CreateLayerObject(&parent, record, name, drawSet, &record->params);
        case kRecordBone:
            return asked.CreateBoneObject(&parent, record, name, mesh, record->paletteIndex,
                                          OffsetOf(*record));
        case kRecordType4:
            return asked.CreateType4Object(&parent, record, name);
        default:
            return asked.CreateType5Object(&parent, record, name);
    }
}

Object3D* BuildDefault(Object3D& parent, const RefPtr<ModelNodeData>& record,
                       const RefPtr<RenderBatch>& drawSet, MeshObject* mesh) {
    switch (record->type) {
        case kRecordLayer:
            return new MeshObject(&parent, record, drawSet, &record->params);
        case kRecordBone:
            return new Bone(&parent, record, mesh, record->paletteIndex, OffsetOf(*record));
        default:
            return new Object3D(&parent, record, 0);
    }
}

}  // namespace

void BuildChildren(Object3D& node, Object3D& top, const RefPtr<ModelNodeData>& record, MeshObject* mesh) {
    node.name = NameOf(record->name);
    for (size_t i = 0; i < record->children.size(); ++i) {
        // Held while its subtree is built.
        const RefPtr<ModelNodeData> child = record->children[i];
        if (!child || child->type < kRecordPlain || child->type > kRecordType5)
            continue;
        RefPtr<RenderBatch> drawSet;
        if (child->type == kRecordLayer)
            drawSet = BuildMeshDrawSet(child->mesh, node.renderer.Get());
        const String name = NameOf(child->name);
        Object3D* built = nullptr;
        for (Object3D* asked = &node; asked != nullptr; asked = asked->ParentNode()) {
            built = AskHook(*asked, node, child, name, drawSet, mesh);
            if (built != nullptr || asked == &top)
                break;
        }
        if (built == nullptr)
            built = BuildDefault(node, child, drawSet, mesh);
        if (child->type == kRecordLayer)
            mesh = dynamic_cast<MeshObject*>(built);
        BuildChildren(*built, top, child, mesh);
    }
}

void ClockNode::BindMotion(const RefPtr<ModelEntry>& entry) {
    if (!entry || !entry->root)
        return;
    const RefPtr<ModelNodeData> root = entry->root;
    clock.start = root->startTime;
    clock.end = root->endTime;
    motionRoot = this;
    TakeTracks(*root);
    BuildChildren(*this, *this, root, nullptr);
}

RefPtr<RenderBatch> BuildMeshDrawSet(const RefPtr<MeshData>& mesh, ResourceManager* resources) {
    if (!mesh)
        return RefPtr<RenderBatch>();
    RefPtr<RenderBatch> drawSet(new RenderBatch(mesh));
    for (const RefPtr<MeshPartData>& part : mesh->parts) {
        if (part)
            drawSet->parts.Add(BuildMeshPart(*part, resources));
    }
    return drawSet;
}

RefPtr<MeshPart> BuildMeshPart(MeshPartData& data, ResourceManager* resources) {
    RefPtr<MeshPart> part(new MeshPart());
    part->cullSwitch = 1;
    part->name = NameOf(data.name);
    data.BuildLayout();
    part->layout = data.layout;
    part->geometry = data.geometry;
    part->textures = BuildTextureSlots(data, resources);
    part->values.reserve(data.params.size());
    for (const ParamTrack& param : data.params)
        part->values.push_back({NameOf(param.name), param.track});
    part->centre =
        Vec3{data.DrawFloat(kDrawCentreX), data.DrawFloat(kDrawCentreY), data.DrawFloat(kDrawCentreZ)};
    part->radius = data.DrawFloat(kDrawRadius);
    part->cullMode = int32_t(data.drawSettings[kDrawCullMode]);
    part->castShadow = int32_t(data.drawSettings[kDrawCastShadow]);
    part->receiveShadow = int32_t(data.drawSettings[kDrawReceiveShadow]);
    return part;
}

TextureSlotList BuildTextureSlots(const MeshPartData& part, ResourceManager* resources) {
    TextureSlotList slots;
    slots.reserve(part.textures.size());
    for (const TextureRef& reference : part.textures) {
        RefPtr<TextureBase> texture;
        if (resources != nullptr)
            texture = reference.GetTexture(*resources);
        SetTextureSlot(slots, NameOf(reference.slotName), texture, SamplerState{});
    }
    return slots;
}

}  // namespace mareldon
