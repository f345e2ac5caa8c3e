// The ship select's shadow maps on the recording device: each draws into its own
// target, and the hangar's receivers sample the target of the record they read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/platform/recording/RecordingGpuResources.h"
#include "engine/render/device/Texture.h"
#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/scene/MeshObject.h"
#include "game/render/ShadowmapNode.h"
#include "game/render/SpriteSheet.h"
#include "game/screens/StageSelectScene.h"
#include "tests/game/screens/StageSelectTestFixture.h"
#include "tools/archive/PlaceholderStages.h"

namespace mareldon {
namespace {

void SetShadowFlags(MeshObject* mesh, bool cast, bool receive) {
    if (mesh == nullptr || !mesh->DrawSet())
        return;
    HandleArray<MeshPart>& parts = mesh->DrawSet()->parts;
    for (int32_t i = 0; i < parts.Count(); ++i) {
        parts[i]->castShadow = cast ? 1 : 0;
        parts[i]->receiveShadow = receive ? 1 : 0;
    }
}

// The recording device's number of a texture or surface, as its call log names it.
template <typename T>
int GpuId(T* object) {
    auto* tracked = dynamic_cast<RecordingGpuTracked*>(object);
    return tracked != nullptr ? tracked->Id() : -1;
}

class StageSelectShadowTest : public testing::Test, public WorldScenesFixture {
  protected:
    StageSelectShadowTest() : WorldScenesFixture("shipselect") {
        // The hangar's own light set: its shadow map sits where the file puts it,
        // the screen's where the constructor does.
        Files().files["STAGE_SOKO.lights"] = PlaceholderStageLightFile();
        AddScreen();
        // The meshes' buffers, as the application makes them after loading.
        root.renderer->BuildModels(*root.graphicsDevice);
    }
    StageSelectScreen& Select() { return *static_cast<StageSelectScreen*>(screen); }

    // One frame's calls from the pass into `target` to the next target bound.
    struct Frame {
        std::vector<std::string> calls;
        size_t passStart = 0;
        size_t passEnd = 0;
        bool Has(const std::string& prefix, size_t from, size_t to) const {
            for (size_t i = from; i < to && i < calls.size(); ++i) {
                if (calls[i].rfind(prefix, 0) == 0)
                    return true;
            }
            return false;
        }
    };
    Frame DrawFrame(Texture* target) {
        devices.gpu.ClearCalls();
        Step();
        Frame frame;
        frame.calls = devices.gpu.Calls();
        const std::string bind = "SetRenderTarget(#" + std::to_string(GpuId(target->TopSurface())) + ",";
        frame.passStart = frame.calls.size();
        for (size_t i = 0; i < frame.calls.size(); ++i) {
            if (frame.calls[i].rfind(bind, 0) == 0) {
                frame.passStart = i;
                break;
            }
        }
        frame.passEnd = frame.calls.size();
        for (size_t i = frame.passStart + 1; i < frame.calls.size(); ++i) {
            if (frame.calls[i].rfind("SetRenderTarget(", 0) == 0) {
                frame.passEnd = i;
                break;
            }
        }
        return frame;
    }
};

// The turntables receive, the one ship on them casts: the ship goes into the light
// set's map, whose record the receivers read, and they sample that map's target,
// never the screen's own map's.
TEST_F(StageSelectShadowTest, ReceiversSampleTheTargetOfTheRecordTheyRead) {
    ASSERT_TRUE(RunWith(1));
    StageSelectScreen& s = Select();
    const std::vector<ShadowmapNode*>& maps = s.ShadowMaps();
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps.back(), s.ShadowMap());
    Texture* read = maps[0]->ShadowTexture()->Inner().Get();
    Texture* screens = maps[1]->ShadowTexture()->Inner().Get();
    ASSERT_NE(read, nullptr);
    ASSERT_NE(screens, nullptr);
    ASSERT_NE(read, screens) << "the two maps share one target";

    for (MeshObject* table : s.Background()->turntables)
        SetShadowFlags(table, false, true);
    ShipModelView* ship = s.SlotModel(0);
    ASSERT_NE(ship, nullptr);
    for (int layer = 0; layer < ship->layerCount; ++layer)
        SetShadowFlags(ship->layers[layer], true, false);

    const Frame frame = DrawFrame(read);
    ASSERT_LT(frame.passStart, frame.calls.size()) << "the read map was not drawn this frame";
    EXPECT_TRUE(frame.Has("Clear(3, 0xFFFFFFFF, 1, 0)", frame.passStart, frame.passEnd));
    EXPECT_TRUE(frame.Has("DrawIndexedPrimitive(", frame.passStart, frame.passEnd)) << "the ship casts";
    const std::string sampled = "#" + std::to_string(GpuId(read->GpuTextureObject())) + ")";
    const std::string other = "#" + std::to_string(GpuId(screens->GpuTextureObject())) + ")";
    bool sampledRead = false;
    for (size_t i = frame.passEnd; i < frame.calls.size(); ++i) {
        const std::string& call = frame.calls[i];
        if (call.rfind("SetTexture(", 0) != 0)
            continue;
        sampledRead |= call.size() >= sampled.size() &&
                       call.compare(call.size() - sampled.size(), sampled.size(), sampled) == 0;
        EXPECT_FALSE(call.size() >= other.size() &&
                     call.compare(call.size() - other.size(), other.size(), other) == 0)
            << call;
    }
    EXPECT_TRUE(sampledRead);
}

// Nothing casting and both ships on the turntables: every map still clears its own
// target each frame, and the screen runs on.
TEST_F(StageSelectShadowTest, WithoutCastersEveryMapStillClearsItsOwnTarget) {
    ASSERT_TRUE(RunWith(3));
    StageSelectScreen& s = Select();
    for (ShadowmapNode* map : s.ShadowMaps()) {
        const Frame frame = DrawFrame(map->ShadowTexture()->Inner().Get());
        ASSERT_LT(frame.passStart, frame.calls.size());
        EXPECT_TRUE(frame.Has("Clear(3, 0xFFFFFFFF, 1, 0)", frame.passStart, frame.passEnd));
        EXPECT_FALSE(frame.Has("DrawIndexedPrimitive(", frame.passStart, frame.passEnd));
    }
    Steps(30);
    EXPECT_TRUE(IsCurrent("shipselect"));
}

}  // namespace
}  // namespace mareldon
