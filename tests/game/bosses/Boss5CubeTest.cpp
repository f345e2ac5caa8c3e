#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/bosses/Boss5Fixture.h"

namespace mareldon {
namespace {

Object3D* BuildNullCube(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss5CubeLayerPart0(parent, info, 700.0f, 0.5f, String("NULL"), String("NULL"));
}

// Two cubes side by side: the stage's own and one naming nothing, in view from `from`.
class CubeStage : public BossStageFixture {
  public:
    explicit CubeStage(float from = 0.0f)
        : BossStageFixture(
              [from](StageModelBuilder& b) {
                  MbdWriter::Node plain = b.Box("nullcube:Layer0", 0.5f, 0x808080);
                  b.Window(plain, -4.0f, 0.0f, 5.0f, from, 400.0f);
                  return std::vector<MbdWriter::Node>{PlaceholderCubeNode(b, from, 400.0f), std::move(plain)};
              },
              Boss5Models) {
        registry.Replace(StageNodeRegistry::Kind::kLayer, "nullcube:Layer0", BuildNullCube);
    }
    Boss5CubeLayerPart0* Cube(const char* layer) {
        for (Boss5CubeLayerPart0* cube : Find<Boss5CubeLayerPart0>()) {
            if (cube->name.Equals(layer))
                return cube;
        }
        return nullptr;
    }
    int32_t Sounds() { return Count("PlaySe", "2") + Count("PlaySe", "3"); }
};

TEST(Boss5Cube, DestructionDropsWhatItNamesAndAlwaysSounds) {
    const struct {
        const char* layer;
        int32_t items;
        int32_t effects;
    } kCases[] = {{"ba_05_3cube:Layer0", 1, 1}, {"nullcube:Layer0", 0, 0}};
    for (const auto& c : kCases) {
        CubeStage f;
        ASSERT_TRUE(f.Start());
        f.Steps(3);
        Boss5CubeLayerPart0* cube = f.Cube(c.layer);
        ASSERT_NE(cube, nullptr) << c.layer;
        EXPECT_EQ(cube->durability, 700.0f);
        EXPECT_TRUE(cube->everRegistered) << c.layer;
        const int32_t sounds = f.Sounds();
        BossStageFixture::Hit(cube, 700.0f);
        f.Step();
        EXPECT_EQ(f.Count("SpawnItem"), c.items) << c.layer;
        int32_t effects = 0;
        for (const WorldEvent& e : f.log.Events())
            effects +=
                e.operation == "SpawnEffect" && e.arguments.rfind("EXPLOSION_ita_SA01", 0) == 0 ? 1 : 0;
        EXPECT_EQ(effects, c.effects) << c.layer;
        EXPECT_EQ(f.Sounds() - sounds, 1) << c.layer;
    }
}

TEST(Boss5Cube, RingsEvery128FramesAfterMotionTime96AlternatingAAndB) {
    CubeStage f;
    ASSERT_TRUE(f.Start());
    f.screen->GetStageScene()->SetMotionTime(95.0f);
    f.Steps(600);
    // Both cubes send them, each its own: the frames of one cube's rings.
    std::vector<int32_t> frames;
    for (const WorldEvent& e : f.log.Events()) {
        if (e.operation != "CubeLineEffect")
            continue;
        const int32_t frame = std::stoi(e.arguments.substr(2));
        EXPECT_EQ(frame % 128, 0) << e.arguments;
        EXPECT_EQ(e.arguments[0], (frame & 128) != 0 ? 'A' : 'B') << e.arguments;
        if (frames.empty() || frames.back() != frame)
            frames.push_back(frame);
    }
    EXPECT_EQ(f.Count("CubeLineEffect"), 2 * int32_t(frames.size()));
    ASSERT_GE(frames.size(), 4u);
    // 96.0 seconds is frame 5760: the first ring comes there or one period later.
    EXPECT_GE(frames.front(), 5760);
    EXPECT_LE(frames.front(), 5888);
    for (size_t i = 1; i < frames.size(); ++i)
        EXPECT_EQ(frames[i] - frames[i - 1], 128);
}

TEST(Boss5Cube, OutsideItsWindowNeitherTargetNorRings) {
    CubeStage f(200.0f);
    ASSERT_TRUE(f.Start());
    f.screen->GetStageScene()->SetMotionTime(100.0f);
    f.Steps(300);
    EXPECT_EQ(f.Count("CubeLineEffect"), 0);
    for (Boss5CubeLayerPart0* cube : f.Find<Boss5CubeLayerPart0>())
        EXPECT_EQ(cube->everRegistered, 0) << cube->name.Text();
}

}  // namespace
}  // namespace mareldon
