// Any bytes as a whole archive file: the header, the body built into the shared
// objects and, for each sound slot the body names, its record. Every model of an
// accepted archive is then bound as a node tree, stepped, drawn and submitted, so
// palette indices, parameter lists and record types reach the scene nodes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/render/ArchiveBuilder.h"
#include "engine/render/RenderView.h"
#include "engine/render/Renderer.h"
#include "engine/render/ResourceProxy.h"
#include "engine/render/ShaderGenBase.h"
#include "engine/render/scene/ClockNode.h"

namespace {

// The parser bounds the depth of the tree.
void BuildLayouts(mareldon::ModelNodeData& node) {
    if (node.mesh) {
        for (const auto& part : node.mesh->parts) {
            part->BuildLayout();
        }
    }
    for (const auto& child : node.children) {
        BuildLayouts(*child);
    }
}

// A renderer without files or devices: instanced layers still share its collectors.
mareldon::RefPtr<mareldon::Renderer> MakeRenderer() {
    using namespace mareldon;
    return RefPtr<Renderer>(new Renderer(RefPtr<FileSystem>(), RefPtr<GraphicsDevice>(), RefPtr<SoundBox>()));
}

class FuzzRoot : public mareldon::TaskObject {
  public:
    FuzzRoot() : TaskObject(nullptr, 0) {
        frameRate = 60.0f;
        framePeriod = 1.0f / 60.0f;
        renderer = MakeRenderer();
    }
};

void BindEveryModel(const std::vector<mareldon::RefPtr<mareldon::ModelEntry>>& models) {
    using namespace mareldon;
    FuzzRoot root;
    // A screen front without a texture: it takes every call and draws nothing.
    RefPtr<TextureBase> target(new ResourceProxy(RefPtr<Texture>()));
    RefPtr<RenderView> view(new RenderView(root.renderer, target, RenderView::DefaultClear(),
                                           RefPtr<ShaderGenBase>(), TextureViewport{}));
    auto* scene = new ClockNode(&root, 0, kRootNode);
    for (const RefPtr<ModelEntry>& model : models) {
        (new ClockNode(scene, 0))->BindMotion(model);
    }
    for (int step = 0; step < 2; ++step) {
        scene->StepAnimation();
        scene->DrawHierarchy();
        scene->SubmitTraversal(view);
        root.renderer->DrawRegistered(view);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mareldon;
    ArchiveHeader header;
    std::string error;
    if (!ReadArchiveHeader(data, size, size, header, error)) {
        return 0;
    }
    // As the loader does: the body in a block of words that the arrays view.
    RefPtr<WordBlock> body(new WordBlock((size_t(header.bodySize) + 3) / 4));
    std::memcpy(body->Bytes(), data + kArchiveHeaderSize, size_t(header.bodySize));
    ArchiveBuilder built;
    built.ShareBody(body);
    if (!ParseArchiveBody(body->Bytes(), size_t(header.bodySize), header, size, built, error)) {
        return 0;
    }
    for (const RefPtr<SoundSlot>& slot : built.sounds) {
        ArchiveSoundRecord record;
        ParseSoundRecord(data + slot->fileOffset, slot->size, record, error);
    }
    for (const RefPtr<ModelEntry>& model : built.models) {
        BuildLayouts(*model->root);
    }
    BindEveryModel(built.models);
    return 0;
}
