#pragma once

#include <string>
#include <vector>

#include "engine/render/archive/ResourceProxy.h"
#include "game/render/SpriteSheet.h"
#include "game/screens/ScreenDrawKit.h"
#include "tests/game/render/ScreenDrawLog.h"
#include "tests/game/system/ServicesFixture.h"

namespace mareldon {

// A loaded game system with a renderer, the recording device's 480 x 640 screen
// and the placeholder sheets, for the overlays that draw over a scene. The
// tests call an overlay's update and draw themselves (no scene flow runs) and
// read back what one draw queued.
class OverlayDrawFixture : public ServicesFixture {
  public:
    OverlayDrawFixture() : ServicesFixture(MakeGameArchive()) {
        root.screenTarget.Reset(new ResourceProxy(root.graphicsDevice->ScreenTexture()));
        StartLoaded();
    }

    RefPtr<SpriteSheet> Sheet(const char* name) {
        return RefPtr<SpriteSheet>(new SpriteSheet(root.renderer, name));
    }

    // Every quad `draw` queues on the kit, in order, sprites named among `names`.
    template <typename DrawFn>
    std::vector<DrawnQuad> Frame(ScreenDrawKit& kit, const std::vector<std::string>& names, DrawFn draw) {
        std::vector<DrawnQuad> frame;
        const ScreenDrawLog log(names);
        kit.beforeDraw = [&](DrawCommandList& list) { frame = log.Read(list); };
        draw();
        kit.beforeDraw = nullptr;
        return frame;
    }
};

}  // namespace mareldon
