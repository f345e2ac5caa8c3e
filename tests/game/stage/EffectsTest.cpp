#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/RenderBatch.h"
#include "game/stage/EffectLayers.h"
#include "game/stage/EffectModel.h"
#include "game/stage/Emitters.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/LineEffects.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/game/stage/WorldScreenFixture.h"
#include "tools/archive/PlaceholderEffects.h"

namespace mareldon {
namespace {

class CountingEmitter : public EmitterBase {
  public:
    CountingEmitter(int32_t perVolley, int32_t interval, int32_t volleys) : EmitterBase(nullptr, nullptr) {
        spawnsPerVolley = perVolley;
        this->interval = interval;
        this->volleys = volleys;
    }
    void Spawn() override { ++spawns; }
    int spawns = 0;
};

TEST(EmitterTest, VolleysComeEveryIntervalPlusOneStepsUntilSpent) {
    struct Case {
        const char* name;
        int32_t perVolley, interval, volleys;
        std::vector<int> volleySteps;  // within the first 20 steps
        bool finished;
    };
    const Case cases[] = {
        {"5 volleys of 3 every 2", 3, 2, 5, {1, 4, 7, 10, 13}, true},
        {"one volley", 2, 5, 1, {1}, true},
        {"0 volleys: endless", 1, 4, 0, {1, 6, 11, 16}, false},
        {"interval 0: every step, endless",
         1,
         0,
         0,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CountingEmitter emitter(c.perVolley, c.interval, c.volleys);
        std::vector<int> steps;
        for (int step = 1; step <= 20; ++step) {
            const int before = emitter.spawns;
            emitter.OnUpdatePre();
            if (emitter.spawns != before) {
                EXPECT_EQ(emitter.spawns - before, c.perVolley);
                steps.push_back(step);
            }
        }
        EXPECT_EQ(steps, c.volleySteps);
        EXPECT_EQ(emitter.IsFinished(), c.finished);
    }
}

TEST(SheetCellTest, CellsFollowTheProgressRowByRowAndStayDefined) {
    struct Case {
        const char* material;
        float p;
        float u, v;
    };
    const float nan = std::nanf("");
    const Case cases[] = {
        {"uvscroll4x2", 0.0f, 0.0f, 0.0f},     {"uvscroll4x2", 0.126f, 0.25f, 0.0f},
        {"uvscroll4x2", 0.49f, 0.75f, 0.0f},   {"uvscroll4x2", 0.51f, 0.0f, 0.5f},
        {"uvscroll4x2", 0.999f, 0.75f, 0.5f},  {"uvscroll4x2", 1.0f, 0.75f, 0.5f},
        {"uvscroll4x2", 7.5f, 0.75f, 0.5f},    {"uvscroll4x2", -3.0f, 0.0f, 0.0f},
        {"uvscroll4x2", nan, 0.0f, 0.0f},      {"uvscroll8x4", 0.5f, 0.875f, 0.25f},
        {"uvscroll8x4", 1.0f, 0.875f, 0.75f},  {"uvscroll8x8", 0.2f, 0.5f, 0.125f},
        {"uvscroll8x8", 1.0f, 0.875f, 0.875f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.material) + " " + std::to_string(c.p));
        float u = -1.0f, v = -1.0f;
        ASSERT_TRUE(SheetCellOffset(c.material, c.p, u, v));
        EXPECT_FLOAT_EQ(u, c.u);
        EXPECT_FLOAT_EQ(v, c.v);
    }
    float u = 0.0f, v = 0.0f;
    EXPECT_FALSE(SheetCellOffset("Layer1", 0.5f, u, v));
    EXPECT_FALSE(SheetCellOffset("uvscroll4x2x", 0.5f, u, v));
    // A model without animation has no length to be through.
    EXPECT_EQ(MotionProgress(MotionClock{0.4f, 0.0f, 0.0f}), 0.0f);
    EXPECT_EQ(MotionProgress(MotionClock{0.4f, 1.0f, 0.5f}), 0.0f);
    EXPECT_FLOAT_EQ(MotionProgress(MotionClock{0.25f, 0.0f, 0.5f}), 0.5f);
}

TEST(LineVertexListTest, AFullListDropsFurtherSegments) {
    LineVertexList list(2);
    EXPECT_EQ(list.Capacity(), 4);
    for (int i = 0; i < 3; ++i)
        list.AddSegment({float(i), 0, 0}, {1, 0, 0, 1}, {float(i), 1, 0}, {0, 1, 0, 0.5f});
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Vertex(2).x, 1.0f);
    EXPECT_EQ(list.Vertex(3).y, 1.0f);
    EXPECT_EQ(list.Vertex(3).a, 0.5f);
    list.Draw();
    EXPECT_EQ(list.DrawnCount(), 4);
    EXPECT_EQ(list.parts.Count(), 0) << "no device, nothing to draw through";
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    list.AddSegment({}, {}, {}, {});
    EXPECT_EQ(list.Count(), 2);
}

class EffectWorldTest : public testing::Test, public WorldScreenFixture {
  protected:
    void SetUp() override {
        Enter(1);
        ASSERT_TRUE(StartWorld());
        ASSERT_GE(StepUntil([&] { return screen->ships[0] != nullptr; }, 10), 0);
    }
    // The effect models under the effect parent, oldest first.
    std::vector<EffectModel*> Effects() const {
        std::vector<EffectModel*> found;
        screen->effectParent->ForEachChildNode([&](Object3D& node) {
            if (auto* effect = dynamic_cast<EffectModel*>(&node))
                found.push_back(effect);
        });
        return found;
    }
    template <typename Layer>
    static Layer* FirstLayer(Object3D& root) {
        Layer* found = nullptr;
        root.ForEachChildNode([&](Object3D& node) {
            if (found == nullptr)
                found = dynamic_cast<Layer*>(&node);
            if (found == nullptr)
                found = FirstLayer<Layer>(node);
        });
        return found;
    }
    static std::pair<float, float> Scroll(const RenderBatch& batch) {
        for (int32_t i = 0; i < batch.records.Count(); ++i) {
            if (std::string(batch.records[i].name.Text()) == "UVScroll")
                return {batch.records[i].values[0], batch.records[i].values[1]};
        }
        return {-1.0f, -1.0f};
    }
};

TEST_F(EffectWorldTest, ExplosionEmitterScattersAtThePivotAlongItsYaw) {
    Object3D* anchor = new Object3D(screen->GetSceneRoot(), 0);
    anchor->SetPosition({1.5f, 0.0f, -2.0f});
    Random expected = screen->GetRandom();
    expected.Next();
    auto* emitter =
        new ExplosionEmitter(anchor, screen, 0.0f, 4, 1, 1, "EXPLOSION_ita_SA01", 0.0f, 0.0f, 0.1f, 0.0f);
    EXPECT_EQ(screen->GetRandom().state, expected.state) << "one draw seeds the emitter";
    const size_t before = Effects().size();
    emitter->OnUpdatePre();
    const std::vector<EffectModel*> effects = Effects();
    ASSERT_EQ(effects.size(), before + 4);
    const Vec3 pivot = screen->ToStageCameraSpace(anchor->GetWorldPosition());
    for (size_t i = before; i < effects.size(); ++i) {
        const Vec3& at = effects[i]->GetPosition();
        EXPECT_NEAR(at.x, pivot.x, 1e-5f);
        EXPECT_NEAR(at.z, pivot.z, 1e-5f);
        EXPECT_NEAR(effects[i]->velocity.x, 0.1f, 1e-6f);
        EXPECT_NEAR(effects[i]->velocity.z, 0.0f, 1e-6f);
    }
    EXPECT_EQ(log.Count("SpawnEffect"), 4);

    // A wide scatter stays within its radius and its yaw and speed ranges.
    auto* wide = new NodeExplosionEmitter(anchor, screen, 1.0f, 20, 1, 1, "EXPLOSION_SG01", 270.0f, 16.0f,
                                          0.1f, 0.05f, {2.0f, 2.0f, 2.0f}, {5.0f, 5.0f, 5.0f});
    wide->OnUpdatePre();
    const std::vector<EffectModel*> scattered = Effects();
    ASSERT_EQ(scattered.size(), before + 24);
    for (size_t i = before + 4; i < scattered.size(); ++i) {
        const Vec3& at = scattered[i]->GetPosition();
        EXPECT_LE(std::hypot(at.x - pivot.x, at.z - pivot.z), 1.0f + 1e-5f) << "the offset is not applied";
        const Vec3& v = scattered[i]->velocity;
        const float speed = std::hypot(v.x, v.z);
        EXPECT_GE(speed, 0.05f - 1e-6f);
        EXPECT_LE(speed, 0.15f + 1e-6f);
        EXPECT_LT(v.z, 0.0f) << "yaw 254..286 degrees points toward -z";
        EXPECT_EQ(scattered[i]->GetScale().x, 2.0f);
    }
}

TEST_F(EffectWorldTest, ASheetEffectShowsItsCellsInOrderThenGoes) {
    TaskObject* spawned = screen->SpawnEffect(screen->ships[0]->GetWorldPosition(), {}, "EXPLOSION_ita_SA01",
                                              {1.0f, 1.0f, 1.0f});
    auto* effect = dynamic_cast<EffectModel*>(spawned);
    ASSERT_NE(effect, nullptr);
    UvSheetLayer* layer = FirstLayer<UvSheetLayer>(*effect);
    ASSERT_NE(layer, nullptr);
    ASSERT_GT(effect->clock.end, effect->clock.start);
    std::vector<std::pair<float, float>> cells;
    // The sweep deletes it in the step its animation ends.
    auto present = [&] {
        const std::vector<EffectModel*> effects = Effects();
        return std::find(effects.begin(), effects.end(), effect) != effects.end();
    };
    int steps = 0;
    for (; steps < 60 && present(); ++steps) {
        layer->DrawSelf();
        const std::pair<float, float> cell = Scroll(*layer->DrawSet());
        if (cells.empty() || cells.back() != cell)
            cells.push_back(cell);
        Step();
    }
    EXPECT_LT(steps, 60) << "a one-shot effect ends with its animation";
    const std::vector<std::pair<float, float>> expected = {{0.0f, 0.0f},  {0.25f, 0.0f}, {0.5f, 0.0f},
                                                           {0.75f, 0.0f}, {0.0f, 0.5f},  {0.25f, 0.5f},
                                                           {0.5f, 0.5f},  {0.75f, 0.5f}};
    EXPECT_EQ(cells, expected);

    // Without animation length the first cell shows, never an undefined one.
    auto* still = new EffectObject(screen->effectParent, screen, {}, {}, 0.0f, {1, 1, 1}, 1,
                                   String("EXPLOSION_ita_MA01"));
    UvSheetLayer* stillLayer = FirstLayer<UvSheetLayer>(*still);
    ASSERT_NE(stillLayer, nullptr);
    still->clock = MotionClock{0.3f, 0.5f, 0.5f};
    stillLayer->DrawSelf();
    EXPECT_EQ(Scroll(*stillLayer->DrawSet()), std::make_pair(0.0f, 0.0f));
}

TEST_F(EffectWorldTest, DecalsStepEveryFourStepsAndHideDuringBombsWhenAsked) {
    UvScrollObject* decal =
        screen->CreateUvScrollObject({0.0f, 0.0f, 1.0f}, {}, "chijyou_bakha_ato4_0", {1.0f, 1.0f, 1.0f}, 1);
    ASSERT_NE(decal, nullptr);
    EXPECT_EQ(decal->ParentNode(), screen->GetSceneRoot());
    ASSERT_EQ(decal->layerCount, 1);
    for (int step = 0; step < 20; ++step) {
        decal->DrawSelf();
        const int32_t frame = (decal->GetStepCount() / 4) % 4;
        EXPECT_EQ(Scroll(*decal->layers[0]->DrawSet()),
                  std::make_pair(float(frame % 2) * 0.5f, float(frame / 2) * 0.5f))
            << step;
        Step();
    }
    EXPECT_TRUE(decal->IsAlive());

    // Submission through an instanced batch, whose collector counts what reached it.
    for (uint8_t hide : {uint8_t(0), uint8_t(1)}) {
        SCOPED_TRACE(int(hide));
        RefPtr<RenderBatch> batch(new RenderBatch(1, 0, 0));
        auto* layer = new BombHiddenLayer(screen->GetSceneRoot(), RefPtr<ModelNodeData>(), batch, nullptr,
                                          screen, hide);
        ASSERT_TRUE(layer->Collector());
        screen->SetBombActive(false);
        layer->Submit(RefPtr<RenderView>());
        EXPECT_EQ(layer->Collector()->InstanceCount(), 1);
        screen->SetBombActive(true);
        layer->Submit(RefPtr<RenderView>());
        EXPECT_EQ(layer->Collector()->InstanceCount(), hide ? 1 : 2);
        screen->SetBombActive(false);
        layer->Submit(RefPtr<RenderView>());
        EXPECT_EQ(layer->Collector()->InstanceCount(), hide ? 2 : 3);
        // A drawn frame lets its instances go; nothing draws here.
        layer->Collector()->ClearInstances();
        delete layer;
    }
}

TEST_F(EffectWorldTest, RadarRingSweepsSparksAndFiresOnlyInItsOnSteps) {
    screen->ships[0]->SetProtection(10000, 1);
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed);
        log.Clear();
        LineEffectA* ring = reversed ? new LineEffectB(screen->GetSceneRoot(), screen, {0.0f, 0.0f, 2.0f})
                                     : new LineEffectA(screen->GetSceneRoot(), screen, {0.0f, 0.0f, 2.0f});
        int lastStep = -1, steps = 0;
        std::vector<int> fired, on;
        while (ring->IsAlive() && steps < 400) {
            const int32_t frame = ring->GetStepCount();
            const int before = log.Count("FireEnemyBullet");
            ring->OnUpdatePre();
            ++steps;
            // Every segment is drawn: three raised lines ahead of the sweep, one flat behind.
            const float sweep = ring->clock.time * LineEffectA::kSweepRate;
            int ahead = 0;
            for (int i = 1; i <= LineEffectA::kSegments; ++i)
                ahead += float(i) * 6.2831855f / 32.0f >= sweep ? 1 : 0;
            EXPECT_EQ(ring->lines->Count(), 2 * (3 * ahead + (LineEffectA::kSegments - ahead)));
            EXPECT_NEAR(ring->radius, 0.015f * float(steps), 1e-4f);
            if (steps == 1) {
                // Drawn as one line list through the device's buffer.
                ring->lines->Draw();
                ASSERT_EQ(ring->lines->parts.Count(), 1);
                const RefPtr<MeshPart>& part = ring->lines->parts[0];
                EXPECT_STREQ(part->name.Text(), "3dlines");
                ASSERT_TRUE(part->geometry);
                EXPECT_EQ(part->geometry->VertexCount(), ring->lines->Count());
                EXPECT_EQ(part->geometry->PrimitiveCount(), ring->lines->Count() / 2);
            }
            if (log.Count("FireEnemyBullet") != before)
                fired.push_back(frame);
            if ((frame & 8) != 0)
                on.push_back(frame);
            ring->clock.time += 1.0f / 60.0f;
            lastStep = frame;
        }
        EXPECT_NEAR(steps, 180, 1) << "a ring lives three seconds";
        EXPECT_FALSE(ring->IsAlive());
        EXPECT_EQ(fired, on);
        EXPECT_EQ(log.Count("SpawnSpark", "6"), steps);
        EXPECT_GT(lastStep, 0);
        delete ring;
    }
}

TEST(PlaceholderEffectTest, SheetEffectsEndWithinASecond) {
    for (const PlaceholderSheetEffect& effect : PlaceholderSheetEffects()) {
        SCOPED_TRACE(effect.name);
        EXPECT_GT(effect.endTime, 0.0f);
        EXPECT_LE(effect.endTime, 1.0f);
        float u = 0.0f, v = 0.0f;
        EXPECT_TRUE(SheetCellOffset(effect.material, 0.5f, u, v));
    }
}

}  // namespace
}  // namespace mareldon
