#include "game/screens/ScreenDrawKit.h"

#include "engine/core/TaskObject.h"
#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "game/render/NormalShaderGen.h"
#include "game/render/SpriteSheet.h"

namespace mareldon {

ScreenDrawKit::ScreenDrawKit(TaskObject& task, Shading shading) : task_(task) {
    if (!task.renderer || !task.screenTarget) {
        return;
    }
    if (shading == Shading::kStandard) {
        generator_ = RefPtr<ShaderGenBase>(new NormalShaderGen(task.renderer));
    } else {
        RefPtr<NormalShaderGen> alternate = NormalShaderGen::NormalShaderGenAlt(task.renderer);
        alternate->forcedUnlit = shading == Shading::kAlternateUnlit;
        generator_ = RefPtr<ShaderGenBase>(alternate);
    }
    set_ = RefPtr<SceneDrawSet>(new SceneDrawSet(task.renderer));
    // The screens clear the target themselves, with their own colours.
    ClearRecord clear = RenderView::DefaultClear();
    clear.flags = 0;
    const TextureViewport whole{0, 0, 0, 0, 0.0f, 0.0f};
    set_->AddView(RefPtr<RenderView>(
        new RenderView(task.renderer, RefPtr<TextureBase>(task.screenTarget), clear, generator_, whole)));
}

ScreenDrawKit::~ScreenDrawKit() {
    while (!drawers_.empty()) {
        drawers_.pop_back();
    }
    set_ = RefPtr<SceneDrawSet>();
    generator_ = RefPtr<ShaderGenBase>();
}

SpriteDrawer* ScreenDrawKit::AddSheet(const char* sheetName) {
    if (!set_) {
        return nullptr;
    }
    RefPtr<SpriteSheet> sheet(new SpriteSheet(task_.renderer, sheetName));
    auto* drawer = new SpriteDrawer(*set_, kShadingName, sheet);
    drawers_.push_back(RefPtr<ScreenDrawer>(drawer));
    return drawer;
}

ColoredScreenDrawer* ScreenDrawKit::AddColored() {
    if (!set_) {
        return nullptr;
    }
    auto* drawer = new ColoredScreenDrawer(*set_, kShadingName);
    drawers_.push_back(RefPtr<ScreenDrawer>(drawer));
    return drawer;
}

TexturedScreenDrawer* ScreenDrawKit::AddTextured(const RefPtr<SpriteSheet>& sheet) {
    if (!set_ || !sheet) {
        return nullptr;
    }
    auto* drawer = new TexturedScreenDrawer(*set_, kShadingName, sheet);
    drawers_.push_back(RefPtr<ScreenDrawer>(drawer));
    return drawer;
}

float ScreenDrawKit::Width() const {
    return task_.screenTarget ? float(task_.screenTarget->Width()) : kDefaultWidth;
}

float ScreenDrawKit::Height() const {
    return task_.screenTarget ? float(task_.screenTarget->Height()) : kDefaultHeight;
}

void ScreenDrawKit::Clear(uint32_t argb) const {
    if (!task_.screenTarget) {
        return;
    }
    ClearRecord clear;
    clear.flags = 0x3;  // colour and depth
    clear.color = argb;
    clear.z = 1.0f;
    clear.stencil = 0;
    task_.screenTarget->ClearAll(clear);
}

std::vector<const SpriteRect*> ScreenDrawKit::FindSprites(const SpriteDrawer* drawer,
                                                          std::span<const char* const> names) {
    std::vector<const SpriteRect*> rects;
    if (drawer == nullptr) {
        return rects;
    }
    rects.reserve(names.size());
    for (const char* name : names) {
        rects.push_back(&drawer->Sheet()->Find(name));
    }
    return rects;
}

void ScreenDrawKit::Draw() {
    if (set_) {
        if (beforeDraw) {
            beforeDraw(*set_->commands);
        }
        set_->Draw();
    }
}

}  // namespace mareldon
