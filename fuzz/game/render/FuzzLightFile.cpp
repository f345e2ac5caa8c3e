// Any bytes as a stage light file: the walk over its records, the light nodes built
// from them (the shadow map's too), and a few frames of those nodes publishing their
// records and the shadow camera rendering.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/platform/FileSystem.h"
#include "engine/platform/SoundBox.h"
#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/scene/CameraNode.h"
#include "engine/render/scene/ClockNode.h"
#include "game/render/LightFile.h"
#include "game/render/ShadowmapNode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mareldon;
    static RefPtr<Renderer> renderer(
        new Renderer(RefPtr<FileSystem>(), RefPtr<GraphicsDevice>(), RefPtr<SoundBox>()));
    TaskObject top(nullptr, 0);
    top.renderer = renderer;
    top.framePeriod = 1.0f / 60.0f;
    auto* root = new ClockNode(&top, 0, kRootNode);
    std::vector<std::unique_ptr<LightTracks>> shadowMaps;
    BuildLightNodes(root, data, size, "fuzz.lights", &shadowMaps);
    std::vector<ShadowmapNode*> shadowNodes;
    for (const auto& shadow : shadowMaps) {
        const float* p = ShadowmapNode::kDefaultParameters;
        auto* node = new ShadowmapNode(root, p[0], p[1], p[2], p[3], p[4], p[5], nullptr);
        node->ReadTracks(*shadow);
        shadowNodes.push_back(node);
    }
    for (int frame = 0; frame < 3; ++frame) {
        root->StepAnimation();
        root->DrawHierarchy();
        for (ShadowmapNode* node : shadowNodes)
            node->Camera().Render(root);
    }
    return 0;
}
