#pragma once

#include "engine/core/HandleArray.h"
#include "engine/core/RefPtr.h"
#include "engine/render/draw/DrawCommandList.h"
#include "engine/render/draw/RenderView.h"

namespace mareldon {

class Renderer;

// A screen's drawing set: its Renderer, the command list its 2D drawers fill, and its
// views in the order they are drawn.
//
// Every view's draw processes the command list, which consumes the commands: in a set
// of several views only the first gets the frame's 2D commands. The screens use one
// view per set.
class SceneDrawSet {
  public:
    static constexpr int32_t kViewCapacity = 4;

    explicit SceneDrawSet(const RefPtr<Renderer>& renderer);
    virtual ~SceneDrawSet();
    SceneDrawSet(const SceneDrawSet&) = delete;
    SceneDrawSet& operator=(const SceneDrawSet&) = delete;

    int32_t AddView(const RefPtr<RenderView>& view) { return views.Add(view); }
    // Saves the device's render states, clears and draws each view, restores the states.
    void Draw();

    RefPtr<Renderer> renderer;
    RefPtr<DrawCommandList> commands;
    HandleArray<RenderView> views{kViewCapacity};
};

}  // namespace mareldon
