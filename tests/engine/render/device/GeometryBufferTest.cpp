#include "engine/render/device/GeometryBuffer.h"

#include <gtest/gtest.h>

#include "engine/platform/recording/RecordingGpuResources.h"
#include "tests/engine/render/device/DeviceFixture.h"

namespace mareldon {
namespace {

TEST(GeometryBufferTest, PrimitiveCountsByKind) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make();
    const uint16_t indices[12] = {};
    RefPtr<IndexBuffer> ib = device.CreateIndexBuffer(12, indices, kIndex16Bit);
    RefPtr<VertexBuffer> vb;
    struct Case {
        int32_t kind;
        int32_t vertices;
        int32_t indices;
        int32_t primitives;
    } cases[] = {
        {0, 7, 0, 7},  {1, 7, 0, 3},  {2, 7, 0, 6},  {3, 10, 0, 3}, {4, 10, 0, 8},  {5, 10, 0, 8},
        {4, 10, 6, 4}, {3, 4, 12, 4}, {2, 0, 0, -1}, {6, 10, 0, 0}, {-1, 10, 0, 0},  // kinds that name no
                                                                                     // primitive keep none
    };
    for (const Case& c : cases) {
        RefPtr<GeometryBuffer> geometry = device.CreateGeometryBuffer(
            c.kind, VertexLayout(), vb, 0, c.vertices, c.indices ? ib : RefPtr<IndexBuffer>(), 0, c.indices);
        EXPECT_EQ(geometry->PrimitiveCount(), c.primitives)
            << c.kind << " " << c.vertices << " " << c.indices;
        EXPECT_EQ(geometry->Type(), static_cast<GpuPrimitiveType>(c.kind + 1));
    }

    RefPtr<GeometryBuffer> indexed = device.CreateGeometryBuffer(3, VertexLayout(), vb, 0, 4, ib, 0, 12);
    indexed->SetIndexCount(9);
    EXPECT_EQ(indexed->PrimitiveCount(), 3);
    indexed->SetVertexCount(30);
    EXPECT_EQ(indexed->PrimitiveCount(), 3);  // still from the indices
    RefPtr<GeometryBuffer> plain =
        device.CreateGeometryBuffer(3, VertexLayout(), vb, 0, 10, RefPtr<IndexBuffer>(), 0, 0);
    plain->SetIndexCount(9);
    EXPECT_EQ(plain->PrimitiveCount(), 3);  // from the 10 vertices
    plain->SetVertexCount(6);
    EXPECT_EQ(plain->PrimitiveCount(), 2);
}

TEST(GeometryBufferTest, BuffersAreFilledOnceAndCounted) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make();
    const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
    RefPtr<IndexBuffer> ib = device.CreateIndexBuffer(6, indices, kIndex16Bit);
    EXPECT_EQ(f.gpu.Count("CreateIndexBuffer(12, 8, INDEX16, DEFAULT)"), 1u);
    auto* recorded = dynamic_cast<RecordingGpuBuffer*>(ib->Buffer());
    ASSERT_NE(recorded, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(recorded->Bytes().begin(), recorded->Bytes().begin() + 4),
              (std::vector<uint8_t>{0, 0, 1, 0}));
    RefPtr<IndexBuffer> wide = device.CreateIndexBuffer(6, nullptr, kIndexSystemMemory);
    EXPECT_EQ(f.gpu.Count("CreateIndexBuffer(24, 8, INDEX32, SYSTEMMEM)"), 1u);
    EXPECT_EQ(device.CreateIndexBuffer(0, indices, kIndex16Bit).Get(), nullptr);

    const float vertices[4 * 3] = {1, 2, 3};
    RefPtr<VertexBuffer> vb = device.CreateVertexBuffer(12, 4, vertices, 1);
    EXPECT_EQ(f.gpu.Count("CreateVertexBuffer(48, 8, 0, SYSTEMMEM)"), 1u);
    EXPECT_EQ(vb->VertexSize(), 12u);
    EXPECT_EQ(device.Statistics()->liveIndexBuffers, 2u);
    EXPECT_EQ(device.Statistics()->liveVertexBuffers, 1u);
    ib = RefPtr<IndexBuffer>();
    wide = RefPtr<IndexBuffer>();
    vb = RefPtr<VertexBuffer>();
    EXPECT_EQ(device.Statistics()->liveIndexBuffers, 0u);
    EXPECT_EQ(device.Statistics()->liveVertexBuffers, 0u);
}

TEST(GeometryBufferTest, DrawingSetsStreamsOnceAndCounts) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make();
    const float vertices[4 * 4] = {};
    const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
    RefPtr<VertexBuffer> vb = device.CreateVertexBuffer(16, 4, vertices, 0);
    RefPtr<IndexBuffer> ib = device.CreateIndexBuffer(6, indices, kIndex16Bit);
    RefPtr<GeometryBuffer> quad = device.CreateGeometryBuffer(3, VertexLayout(), vb, 0, 4, ib, 0, 6);
    RefPtr<GeometryBuffer> strip =
        device.CreateGeometryBuffer(4, VertexLayout(), vb, 0, 4, RefPtr<IndexBuffer>(), 0, 0);
    RefPtr<GeometryBuffer> empty = device.CreateGeometryBuffer(4, VertexLayout(), RefPtr<VertexBuffer>(), 0,
                                                               4, RefPtr<IndexBuffer>(), 0, 0);
    Texture& screen = *device.ScreenTexture().Get();
    f.gpu.ClearCalls();
    screen.DrawGeometry(quad);
    screen.DrawGeometry(quad);
    screen.DrawGeometry(strip);
    screen.DrawGeometry(empty);  // no vertices: nothing to draw
    RefPtr<GeometryBuffer> unknownKind =
        device.CreateGeometryBuffer(9, VertexLayout(), vb, 0, 4, RefPtr<IndexBuffer>(), 0, 0);
    screen.DrawGeometry(unknownKind);  // damaged kind: nothing drawn, not points
    EXPECT_EQ(f.gpu.Count("SetStreamSource(0"), 1u);
    EXPECT_EQ(f.gpu.Count("SetIndices("), 1u);
    EXPECT_EQ(f.gpu.Count("DrawIndexedPrimitive(TRIANGLELIST, 0, 4, 0, 2)"), 2u);
    EXPECT_EQ(f.gpu.Count("DrawPrimitive(TRIANGLESTRIP, 0, 2)"), 1u);
    EXPECT_EQ(f.gpu.Count("DrawPrimitive("), 1u);
    EXPECT_EQ(f.gpu.Count("SetRenderTarget("), 1u);
    // The viewport record keeps its zeros, so the screen's viewport goes out with every bind.
    EXPECT_EQ(f.gpu.Count("SetViewport("), 5u);

    DeviceStatistics& stats = *device.Statistics();
    EXPECT_EQ(stats.drawCalls, 3u);
    EXPECT_EQ(stats.primitives, 6u);
    EXPECT_EQ(stats.vertices, 16u);
    EXPECT_EQ(stats.changes[DeviceStatistics::StreamChanges], 1u);
    device.Present();
    EXPECT_EQ(stats.previousDrawCalls, 3u);
    EXPECT_EQ(stats.drawCalls, 0u);
    EXPECT_EQ(stats.previousChanges[DeviceStatistics::IndexChanges], 1u);
    EXPECT_EQ(stats.availableTextureMemory, f.gpu.config.availableTextureMem);
}

}  // namespace
}  // namespace mareldon
