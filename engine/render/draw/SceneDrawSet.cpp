#include "engine/render/draw/SceneDrawSet.h"

#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/draw/Renderer.h"

namespace mareldon {

SceneDrawSet::SceneDrawSet(const RefPtr<Renderer>& rendererHandle)
    : renderer(rendererHandle), commands(new DrawCommandList(rendererHandle)) {}

SceneDrawSet::~SceneDrawSet() {
    views.ReleaseBackwards();
}

void SceneDrawSet::Draw() {
    if (!renderer)
        return;
    RefPtr<GraphicsDevice> device = renderer->GetDevice();
    if (!device)
        return;
    RenderStateBlock saved = *device->GetRenderStateBlock();
    RefPtr<RenderBatch> batch(commands);
    for (int32_t i = 0; i < views.Count(); ++i) {
        const RefPtr<RenderView>& view = views[i];
        if (view->target)
            view->target->Clear(view->clear);
        renderer->DrawView(view, batch);
    }
    device->SetRenderStateBlock(saved);
}

}  // namespace mareldon
