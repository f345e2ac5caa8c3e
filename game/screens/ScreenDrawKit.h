#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "engine/core/RefPtr.h"
#include "game/render/ScreenDrawers.h"

namespace mareldon {

class DrawCommandList;
class SceneDrawSet;
class ShaderGenBase;
class TaskObject;

// What every front-end screen draws with: a "Normal" generator, a draw set with
// one view onto the screen target, and drawers on "shadingname" over the
// screen's sheets. Without a renderer or a screen target the kit is empty and
// every call draws nothing, so screens run headless unchanged.
class ScreenDrawKit {
  public:
    static constexpr const char* kShadingName = "shadingname";
    static constexpr float kDefaultWidth = 480.0f;
    static constexpr float kDefaultHeight = 640.0f;

    enum class Shading {
        kStandard,        // depth tested and written
        kAlternate,       // no depth test or writes
        kAlternateUnlit,  // the same, every item drawn unlit
    };

    ScreenDrawKit(TaskObject& task, Shading shading);
    ~ScreenDrawKit();
    ScreenDrawKit(const ScreenDrawKit&) = delete;
    ScreenDrawKit& operator=(const ScreenDrawKit&) = delete;

    bool IsReady() const { return bool(set_); }
    // A sprite drawer over the named sheet; null without a renderer.
    SpriteDrawer* AddSheet(const char* sheetName);
    ColoredScreenDrawer* AddColored();
    // A textured drawer over a sheet the screen made itself.
    TexturedScreenDrawer* AddTextured(const RefPtr<SpriteSheet>& sheet);
    // The screen target's size, asked anew each frame (480 x 640 upright).
    float Width() const;
    float Height() const;
    // Colour and depth to `argb`, depth 1, stencil 0.
    void Clear(uint32_t argb) const;
    // Renders what was queued.
    void Draw();
    // Called with the frame's commands just before Draw renders (and so consumes)
    // them: how tests read back what a screen drew.
    std::function<void(DrawCommandList&)> beforeDraw;

    // The rectangles of `names` on the drawer's sheet, looked up once so drawing
    // never searches by name; empty without a drawer.
    static std::vector<const SpriteRect*> FindSprites(const SpriteDrawer* drawer,
                                                      std::span<const char* const> names);

  private:
    TaskObject& task_;
    RefPtr<ShaderGenBase> generator_;
    RefPtr<SceneDrawSet> set_;
    // Their commands point at the set: they go first, in reverse order.
    std::vector<RefPtr<ScreenDrawer>> drawers_;
};

}  // namespace mareldon
