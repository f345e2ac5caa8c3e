#include "engine/render/draw/DrawCommandList.h"

#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "tests/engine/render/device/SpyGraphicsDevice.h"
#include "tests/engine/render/draw/TestRenderer.h"

namespace mareldon {
namespace {

// Two-float vertices whose first float names the command.
struct Vertex {
    float id;
    float pad;
};

class ColourDescriptor : public DrawDescriptor {
  public:
    explicit ColourDescriptor(const char* layer) {
        layout.AddElement(1, "TPosition");
        layerName = layer;
    }
};

struct DrawCommandListTest : ::testing::Test {
    SpyGraphicsDevice* spy = new SpyGraphicsDevice();
    RefPtr<GraphicsDevice> device{spy};
    RefPtr<Renderer> renderer = MakeTestRenderer(device);
    DrawCommandList list{renderer};

    void Triangle(float key, const DrawDescriptor& d, float id) {
        Vertex v{id, 0.0f};
        list.AddTriangle(key, &d, &v, &v, &v);
    }
    void Line(float key, const DrawDescriptor& d, float id) {
        Vertex v{id, 0.0f};
        list.AddLine(key, &d, &v, &v);
    }
    // The ids of the vertices of each run, in draw order.
    std::vector<std::vector<float>> Runs() const {
        std::vector<std::vector<float>> runs;
        for (const auto& bytes : spy->vertexBuffers) {
            std::vector<float> ids;
            for (size_t at = 0; at + sizeof(Vertex) <= bytes.size(); at += sizeof(Vertex)) {
                Vertex v;
                std::memcpy(&v, bytes.data() + at, sizeof v);
                ids.push_back(v.id);
            }
            runs.push_back(ids);
        }
        return runs;
    }
};

TEST_F(DrawCommandListTest, DrawsInDescendingKeyOrderKeepingEqualPairsInInsertionOrder) {
    ColourDescriptor d("shadingname");
    d.textures.resize(1);
    d.textures[0].sampler.addressU = TextureAddress::Border;
    Triangle(3.0f, d, 3);
    Triangle(1.0f, d, 1);
    Triangle(2.0f, d, 2);
    Triangle(2.0f, d, 22);
    list.Process();
    using Ids = std::vector<float>;
    ASSERT_EQ(Runs().size(), 1u);
    EXPECT_EQ(Runs()[0], (Ids{3, 3, 3, 2, 2, 2, 22, 22, 22, 1, 1, 1}));
    ASSERT_EQ(spy->geometries.size(), 1u);
    EXPECT_EQ(spy->geometries[0], std::pair(3, 12));
    ASSERT_EQ(list.parts.Count(), 1);
    EXPECT_STREQ(list.parts[0]->name.Text(), "shadingname");
    EXPECT_EQ(list.parts[0]->layout.Stride(), 8);
    EXPECT_EQ(list.parts[0]->cullSwitch, 0);
    ASSERT_EQ(list.parts[0]->textures.size(), 1u);
    EXPECT_EQ(list.parts[0]->textures[0].sampler.addressU, TextureAddress::Border);
}

TEST_F(DrawCommandListTest, NegativeKeysSortBelowPositiveOnes) {
    ColourDescriptor d("shadingname");
    const float keys[] = {-1.0f, 0.5f, -2.0f, 3.0f, -0.0f, 0.0f, -1.0f};
    for (int i = 0; i < 7; ++i)
        Triangle(keys[i], d, float(i));
    std::vector<float> order;
    for (int i = 0; i < list.CommandCount(); ++i)
        order.push_back(list.CommandAt(i).key);
    EXPECT_EQ(order, (std::vector<float>{3.0f, 0.5f, -0.0f, 0.0f, -1.0f, -1.0f, -2.0f}));
    EXPECT_EQ(std::signbit(order[2]), true);  // equal keys keep their insertion order
    list.Process();
    using Ids = std::vector<float>;
    EXPECT_EQ(Runs()[0], (Ids{3, 3, 3, 1, 1, 1, 4, 4, 4, 5, 5, 5, 0, 0, 0, 6, 6, 6, 2, 2, 2}));
}

TEST_F(DrawCommandListTest, ALineBetweenEqualTrianglesSplitsThemIntoThreeRuns) {
    ColourDescriptor d("shadingname");
    Triangle(1.0f, d, 1);
    Line(1.0f, d, 2);
    Triangle(1.0f, d, 3);
    list.Process();
    ASSERT_EQ(spy->geometries.size(), 3u);
    EXPECT_EQ(spy->geometries[0], std::pair(3, 3));
    EXPECT_EQ(spy->geometries[1], std::pair(1, 2));
    EXPECT_EQ(spy->geometries[2], std::pair(3, 3));
    EXPECT_EQ(list.parts.Count(), 3);
}

// Equal keys are grouped by descriptor in the order the descriptors were made, not by
// where they happen to live in memory.
TEST_F(DrawCommandListTest, EqualKeysGroupByDescriptorCreationOrder) {
    ColourDescriptor first("a");
    ColourDescriptor second("b");
    Triangle(1.0f, first, 1);
    Triangle(1.0f, second, 2);
    Triangle(1.0f, first, 3);
    Triangle(1.0f, second, 4);
    list.Process();
    using Ids = std::vector<float>;
    ASSERT_EQ(Runs().size(), 2u);
    EXPECT_EQ(Runs()[0], (Ids{2, 2, 2, 4, 4, 4}));
    EXPECT_EQ(Runs()[1], (Ids{1, 1, 1, 3, 3, 3}));
    EXPECT_STREQ(list.parts[0]->name.Text(), "b");
}

TEST_F(DrawCommandListTest, PoolAndArraysGrowOnceAndAreReusedNextFrame) {
    ColourDescriptor d("shadingname");
    for (int i = 0; i < 64; ++i)
        Triangle(0.0f, d, float(i));
    EXPECT_EQ(list.CommandCapacity(), 64);
    Triangle(0.0f, d, 64);
    EXPECT_EQ(list.CommandCapacity(), 128);
    for (int i = 65; i < 512; ++i)
        Triangle(0.0f, d, float(i));
    EXPECT_EQ(list.PoolBlocks(), 1);
    Triangle(0.0f, d, 512);
    EXPECT_EQ(list.PoolBlocks(), 2);
    EXPECT_EQ(list.ByteCapacity(), 16384);  // 513 x 24 bytes, doubled from 2048
    list.Process();
    EXPECT_EQ(list.CommandCount(), 0);
    for (int i = 0; i < 513; ++i)
        Triangle(0.0f, d, float(i));
    EXPECT_EQ(list.PoolBlocks(), 2);
    EXPECT_EQ(list.ByteCapacity(), 16384);
    list.Process();
    ASSERT_EQ(spy->geometries.size(), 2u);
    EXPECT_EQ(spy->geometries[1], std::pair(3, 513 * 3));
}

TEST_F(DrawCommandListTest, PartsAreReusedOnlyWhenNothingElseHoldsThem) {
    ColourDescriptor a("a");
    ColourDescriptor b("b");
    Triangle(0.0f, a, 1);
    list.Process();
    RefPtr<MeshPart> held = list.parts[0];
    Triangle(0.0f, b, 2);
    list.Process();
    ASSERT_EQ(list.parts.Count(), 1);
    EXPECT_NE(list.parts[0], held);
    EXPECT_STREQ(held->name.Text(), "a");
    MeshPart* second = list.parts[0].Get();
    Triangle(0.0f, a, 3);
    list.Process();
    ASSERT_EQ(list.parts.Count(), 1);
    EXPECT_EQ(list.parts[0].Get(), second);
    EXPECT_STREQ(list.parts[0]->name.Text(), "a");
}

TEST_F(DrawCommandListTest, ProcessWithoutCommandsOnlyDropsLastFramesParts) {
    ColourDescriptor d("shadingname");
    Triangle(0.0f, d, 1);
    list.Process();
    EXPECT_EQ(list.parts.Count(), 1);
    list.Process();
    EXPECT_EQ(list.parts.Count(), 0);
    EXPECT_EQ(spy->vertexBuffers.size(), 1u);
    EXPECT_EQ(spy->geometries.size(), 1u);
}

}  // namespace
}  // namespace mareldon
