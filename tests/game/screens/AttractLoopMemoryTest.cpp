// The attract loop runs all day on a cabinet: headless, on the recording device
// over the placeholder archive, whole cycles of it leave behind nothing that the
// cycle before did not.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "engine/core/CounterCellPool.h"
#include "engine/core/NamedNode.h"
#include "engine/render/archive/ResourceProxy.h"
#include "tests/game/system/ServicesFixture.h"

namespace mareldon {
namespace {

// What a cycle could leave behind, counted at the start of each cycle.
struct LiveCounts {
    int tasks = 0;
    int handles = 0;
    int nameTables = 0;
    int images = 0;
    int imageUses = 0;
    int sounds = 0;
    int soundUses = 0;
    int voices = 0;
    int gpuObjects = 0;
    int gpuShaders = 0;

    bool operator==(const LiveCounts&) const = default;
    std::string Text() const {
        char text[256];
        std::snprintf(text, sizeof(text),
                      "tasks %d, handles %d, name tables %d, images %d (uses %d), sounds %d (uses %d), "
                      "voices %d, gpu objects %d, gpu shaders %d",
                      tasks, handles, nameTables, images, imageUses, sounds, soundUses, voices, gpuObjects,
                      gpuShaders);
        return text;
    }
};

void PrintTo(const LiveCounts& counts, std::ostream* out) {
    *out << counts.Text();
}

int CountTasks(const TreeNode& node) {
    int count = 1;
    const TreeNode* child = node.firstChild;
    for (int32_t i = 0; i < node.childCount; ++i, child = child->next) {
        count += CountTasks(*child);
    }
    return count;
}

class AttractLoopMemoryTest : public testing::Test, public ServicesFixture {
  protected:
    AttractLoopMemoryTest() : ServicesFixture(MakeGameArchive(), 1801, true) {
        drawFirst = true;
        root.frameRate = 60.0f;
        root.framePeriod = 1.0f / 60.0f;
        root.screenTarget.Reset(new ResourceProxy(root.graphicsDevice->ScreenTexture()));
    }
    ~AttractLoopMemoryTest() override {
        root.DeleteChildren();
        system = nullptr;
        root.screenTarget.Reset();
    }

    LiveCounts Count() {
        LiveCounts counts;
        counts.tasks = CountTasks(root);
        counts.handles =
            theCounterCellPool.BlockCount() * CounterCellPool::kCellsPerBlock - theCounterCellPool.FreeTop();
        counts.nameTables = NameBucketTable::LiveCount();
        const Renderer& resources = *root.renderer;
        for (int32_t slot = 0; slot < resources.ImageSlotCount(); ++slot) {
            counts.images += resources.ImageSlotAt(slot).texture ? 1 : 0;
            counts.imageUses += resources.ImageSlotAt(slot).useCount;
        }
        for (int32_t slot = 0; slot < resources.SoundSlotCount(); ++slot) {
            counts.sounds += resources.SoundSlotAt(slot).sound ? 1 : 0;
            counts.soundUses += resources.SoundSlotAt(slot).useCount;
        }
        counts.voices = output->LiveVoices();
        counts.gpuObjects = devices.gpu.LiveResources();
        counts.gpuShaders = int(devices.Gpu().LiveShaders());
        return counts;
    }
    // Steps until the scene is current; false when it never came.
    bool Until(const char* scene, int limit) {
        for (int i = 0; i < limit && !system->GetCurrentSceneName().Equals(scene); ++i) {
            Step();
        }
        return system->GetCurrentSceneName().Equals(scene);
    }
    // Steps until the scene is no longer current.
    bool While(const char* scene, int limit) {
        for (int i = 0; i < limit && system->GetCurrentSceneName().Equals(scene); ++i) {
            Step();
        }
        return !system->GetCurrentSceneName().Equals(scene);
    }
};

// Three whole cycles of the loop without input (about 24,000 steps). A cycle
// starts when the first logo has run a second and the screen before it is gone.
// The first cycle fills the caches that last the program (shaders, named
// textures); the later ones start alike. The demonstration movie has no decoder
// here and ends at once: the program's runs cover its player.
TEST_F(AttractLoopMemoryTest, EachCycleStartsWithTheSameLiveCounts) {
    Start();
    std::vector<LiveCounts> starts;
    for (int cycle = 0; cycle < 4; ++cycle) {
        ASSERT_TRUE(Until("logo1", 10000)) << "cycle " << cycle;
        for (int i = 0; i < 60; ++i) {
            Step();
        }
        ASSERT_TRUE(system->GetCurrentSceneName().Equals("logo1"));
        starts.push_back(Count());
        ASSERT_TRUE(While("logo1", 1000));
    }
    for (size_t cycle = 2; cycle < starts.size(); ++cycle) {
        EXPECT_EQ(starts[cycle], starts[1]) << "cycle " << cycle << " against cycle 1";
    }
}

}  // namespace
}  // namespace mareldon
