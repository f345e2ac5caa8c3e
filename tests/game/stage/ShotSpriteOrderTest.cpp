#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/render/draw/DrawCommandList.h"
#include "engine/render/scene/CameraNode.h"
#include "game/render/ScreenDrawers.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/StraightShot.h"
#include "tests/game/stage/WorldScreenFixture.h"

namespace mareldon {
namespace {

// Hangs under a ship and notes how far the device's call log had got each time the
// ship was submitted.
class SubmitMark : public Object3D {
  public:
    SubmitMark(TaskObject* parent, RecordingGpu& gpu) : Object3D(parent, 0), gpu(gpu) {}
    void Submit(const RefPtr<RenderView>&) override { at.push_back(gpu.Calls().size()); }

    RecordingGpu& gpu;
    std::vector<size_t> at;
};

class ShotSpriteOrderTest : public testing::Test, public WorldScreenFixture {
  protected:
    void SetUp() override {
        AddScreen();
        Enter(1);
        ASSERT_TRUE(StartWorld());
        ASSERT_GE(StepUntil([&] { return screen->ships[0] != nullptr && screen->GetStageTime() > 0.0f; }, 10),
                  0);
    }
    // Triangles drawn from vertex lists in calls [from, to) of the device's log.
    int Triangles(size_t from, size_t to) const {
        const std::vector<std::string>& calls = devices.gpu.Calls();
        int count = 0;
        for (size_t i = from; i < to && i < calls.size(); ++i) {
            unsigned start = 0, primitives = 0;
            if (std::sscanf(calls[i].c_str(), "DrawPrimitive(TRIANGLELIST, %u, %u)", &start, &primitives) ==
                2)
                count += int(primitives);
        }
        return count;
    }
};

// The shots' sprites are queued with the shots' pass, once a frame although the effect
// camera submits them to each of its views, and go out with the draw set after the
// ships, with the bullets.
TEST_F(ShotSpriteOrderTest, ShotsAreQueuedOnceAfterTheShipsAndDrawnOverThem) {
    PlayerShip* ship = screen->ships[0];
    ASSERT_NE(screen->effectCamera, nullptr);
    ASSERT_GT(screen->effectCamera->views.Count(), 1) << "a camera of several views";
    const Vec3 at = ship->GetWorldPosition();
    new StraightShot(StraightShotKind::Ship0Main, screen->playerShotParent, {at.x, at.y, at.z + 1.0f},
                     {0.0f, 0.0f, 0.1f}, screen, 1, PlayerBullet::kUncountedSlot, 0, AttackVector{});
    new StraightShot(StraightShotKind::Ship0Main, screen->playerShotParent, {at.x + 1.0f, at.y, at.z + 1.0f},
                     {0.0f, 0.0f, 0.1f}, screen, 1, PlayerBullet::kUncountedSlot, 1, AttackVector{});
    auto* mark = new SubmitMark(ship, devices.gpu);
    const RefPtr<DrawCommandList>& list = screen->GetGameDrawer()->Commands();

    devices.gpu.ClearCalls();
    screen->OnDrawPre();
    ASSERT_FALSE(mark->at.empty()) << "the ship pass ran";
    const size_t shipPass = mark->at.back();
    // Two triangles a shot, queued once, still waiting after the world's passes.
    EXPECT_EQ(list->CommandCount(), 4);
    const size_t worldEnd = devices.gpu.Calls().size();
    EXPECT_EQ(Triangles(0, shipPass), 0) << "no sprite is drawn under the ships";
    screen->DrawHud();
    EXPECT_EQ(list->CommandCount(), 0);
    EXPECT_GE(Triangles(worldEnd, devices.gpu.Calls().size()), 4);

    // The next frame queues them once more, not four times.
    Step();
    devices.gpu.ClearCalls();
    screen->OnDrawPre();
    EXPECT_EQ(list->CommandCount(), 4);
    screen->DrawHud();
}

}  // namespace
}  // namespace mareldon
