#include "engine/render/draw/RenderBatch.h"

#include <gtest/gtest.h>

#include "engine/render/archive/MeshData.h"

namespace mareldon {
namespace {

TEST(RenderBatchTest, TakesItsSizesFromTheMeshData) {
    RefPtr<MeshData> data(new MeshData());
    data->paletteSize = 3;
    data->parameterCount = 2;
    data->instancing = true;
    RenderBatch batch(data);
    EXPECT_EQ(batch.meshData, data.Get());
    EXPECT_EQ(batch.instancing, 1);
    EXPECT_EQ(batch.palette.size(), 3u);
    EXPECT_EQ(batch.parameters.size(), 2u);
    EXPECT_EQ(batch.time, 0.0f);
    EXPECT_EQ(batch.records.Capacity(), 2);
    EXPECT_EQ(batch.parts.Capacity(), 2);
    EXPECT_EQ(batch.instances.Capacity(), 16);

    RenderBatch empty{RefPtr<MeshData>()};
    EXPECT_EQ(empty.meshData, nullptr);
    EXPECT_EQ(empty.palette.size(), 0u);
}

TEST(RenderBatchTest, InstancesAreCountedAndLetGo) {
    RenderBatch collector(1, 0, 0);
    RefPtr<RenderBatch> instance(new RenderBatch(0, 0, 0));
    collector.AppendInstance(instance);
    collector.AppendInstance(instance);
    EXPECT_EQ(collector.InstanceCount(), 2);
    EXPECT_EQ(collector.instancesToDraw, 2);
    EXPECT_EQ(instance.UseCount(), 3);
    collector.ClearInstances();
    EXPECT_EQ(collector.InstanceCount(), 0);
    EXPECT_EQ(collector.instancesToDraw, 0);
    EXPECT_EQ(instance.UseCount(), 1);
}

}  // namespace
}  // namespace mareldon
