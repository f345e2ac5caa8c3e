#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/core/TreeNode.h"

namespace mareldon {

// The shared services every task reaches through its handles; defined by their own
// subsystems.
class FileSystem;
class ResourceProxy;
class GraphicsDevice;
class SoundBox;
class Renderer;
class WindowSystem;
class Window;
class InputManager;
// The transform node of the 3D scene (engine/render/scene).
class Object3D;

// Base of everything that is stepped or drawn. The update pass runs once per fixed
// step, the drawing pass once per loop pass, and after every update pass the mark
// and sweep deletes the tasks whose IsAlive answered false.
//
// Child walks compare their index with the live child count on every iteration:
// tasks are created and re-prioritised while passes run, and the visiting order that
// gives is part of the game's behaviour.
class TaskObject : public TreeNode {
  public:
    static constexpr uint32_t kDeadMark = 0x40000000;

    // Linked under parent at once, and takes its services. Without a parent the
    // services are null and the rate and period 0.
    TaskObject(TaskObject* parent, int32_t priority);
    ~TaskObject() override;

    // Shares the parent's five handles and copies its plain pointers, rate and period.
    void InheritServices(const TaskObject& parent);

    virtual void CollectDead();
    virtual bool IsAlive();
    virtual void MarkDeadChildren();
    virtual void SweepDeadChildren();

    virtual void Draw();
    virtual void OnDrawPre() {}
    virtual void DrawPost();
    virtual void OnDrawPost() {}
    virtual void DrawPre();
    virtual void DrawChildren();
    virtual bool SetDrawChildren(bool flag);
    virtual bool GetDrawChildren();

    virtual void Update();
    virtual void OnUpdatePre() {}
    virtual void UpdatePost();
    virtual void OnUpdatePost() {}
    virtual void UpdatePre();
    virtual void UpdateChildren();
    virtual bool SetUpdateChildren(bool flag);
    virtual bool GetUpdateChildren();

    virtual bool SetDrawSelf(bool flag);
    virtual bool GetDrawSelf();
    virtual bool SetUpdateSelf(bool flag);
    virtual bool GetUpdateSelf();
    virtual bool SetVisible(bool flag);
    virtual bool IsVisible();
    virtual bool SetActive(bool flag);
    virtual bool IsActive();
    virtual int32_t GetStepCount();
    // The task as a 3D scene node, or null: node walks skip the plain tasks among a
    // node's children, and a node under a plain task takes no transform from it.
    virtual Object3D* AsObject3D() { return nullptr; }

    uint32_t state = 0;
    uint8_t drawEnabled = 1;
    uint8_t updateEnabled = 1;
    uint8_t drawSelf = 1;
    uint8_t updateSelf = 1;
    uint8_t drawChildren = 1;
    uint8_t updateChildren = 1;
    int32_t stepCount = 0;
    float frameRate = 0.0f;
    float framePeriod = 0.0f;
    // Released in reverse: renderer first, fileSystem last.
    RefPtr<FileSystem> fileSystem;
    RefPtr<ResourceProxy> screenTarget;
    RefPtr<GraphicsDevice> graphicsDevice;
    RefPtr<SoundBox> soundBox;
    RefPtr<Renderer> renderer;
    WindowSystem* windowSystem = nullptr;
    Window* mainWindow = nullptr;
    InputManager* inputManager = nullptr;
};

}  // namespace mareldon
