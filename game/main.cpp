// The program's entry point. Until the game system stands, it runs the engine's
// main loop over a small task tree for two seconds of steps and exits.
#include "engine/core/Application.h"
#include "engine/core/Log.h"
#include "engine/platform/Clock.h"

namespace mareldon {
namespace {

constexpr int32_t kDemoSteps = 120;

// The leader leaves the tree after its steps, which ends the loop.
class DemoTask : public TaskObject {
  public:
    DemoTask(TaskObject* parent, int32_t priority, int32_t lifetime)
        : TaskObject(parent, priority), lifetime(lifetime) {}
    void OnUpdatePost() override { ++updates; }
    bool IsAlive() override { return lifetime < 0 || updates < lifetime; }

    int32_t lifetime;
    int32_t updates = 0;
};

// Stands in for the graphics device: counts the frames it is asked to show.
class SpineDemo final : public Application, private FramePresenter {
  public:
    SpineDemo(int argc, const char* const* argv) : Application(argc, argv) { SetFramePresenter(this); }

    bool Init() override {
        DemoTask* leader = new DemoTask(&root, 0, kDemoSteps);
        for (int32_t i = 0; i < 8; ++i)
            new DemoTask(leader, i, -1);
        LOG_INFO("spine", "main loop demo: %d steps at %.0f steps per second", kDemoSteps,
                 static_cast<double>(root.frameRate));
        started = TickCount();
        return true;
    }

    void Exit() override {
        LOG_INFO("spine", "%d update passes and %d frames in %u ms; %u stall blocks dropped", root.stepCount,
                 frames, TickCount() - started, DroppedBlocks());
    }

  private:
    void PresentFrame() override { ++frames; }

    uint32_t started = 0;
    int32_t frames = 0;
};

}  // namespace
}  // namespace mareldon

int main(int argc, char** argv) {
    mareldon::SpineDemo app(argc, argv);
    return mareldon::ApplicationMain();
}
