#pragma once

#include <string>
#include <vector>

#include "engine/render/ArchiveObjects.h"
#include "engine/render/GeometryBuffer.h"
#include "engine/render/MeshPart.h"
#include "engine/render/RenderBatch.h"
#include "engine/render/RenderView.h"
#include "engine/render/Renderer.h"
#include "engine/render/ShaderGenBase.h"
#include "engine/render/TextureBase.h"
#include "tests/engine/render/DeviceFixture.h"
#include "tests/engine/render/TestRenderer.h"
#include "tests/engine/render/scene/SceneTestNodes.h"

namespace mareldon {

// A render target that logs viewports, clears and draws in the order they came.
class LoggingTarget final : public TextureBase {
  public:
    int32_t Width() override { return 480; }
    int32_t Height() override { return 640; }
    const float* ScreenTransform() override { return nullptr; }
    void DrawGeometry(const RefPtr<GeometryBuffer>& geometry) override {
        log.push_back("draw " + std::to_string(geometry->PrimitiveCount()));
    }
    void Upload(const TextureRect&, PixelKind, const void*) override {}
    void SetViewport(const TextureViewport& v) override {
        viewport = v;
        log.push_back("viewport " + std::to_string(v.x) + " " + std::to_string(v.y) + " " +
                      std::to_string(v.width) + " " + std::to_string(v.height));
    }
    const TextureViewport* GetViewport() override { return &viewport; }
    void Clear(const ClearRecord& record) override { log.push_back("clear " + std::to_string(record.flags)); }
    void ClearAll(const ClearRecord& record) override { Clear(record); }
    void SetAttachment(const RefPtr<TextureAttachment>& a) override { attachment = a; }
    RefPtr<TextureAttachment>& Attachment() override { return attachment; }
    Texture* DeviceTexture() override { return nullptr; }

    TextureViewport viewport{0, 0, 480, 640, 0.0f, 1.0f};
    RefPtr<TextureAttachment> attachment;
    std::vector<std::string> log;
};

// Binds pass-through shaders, draws every instance of a collector in one pass, and
// notes the instances each collector pass had.
class PassThroughGen final : public ShaderGenBase {
  public:
    explicit PassThroughGen(const RefPtr<Renderer>& owner) : ShaderGenBase(owner) {}
    String GetName() override { return "PassThrough"; }
    bool Apply(const RefPtr<RenderView>&, const RefPtr<RenderBatch>& batch,
               const RefPtr<MeshPart>&) override {
        if (batch->instancing != 0) {
            instancePasses.push_back(batch->instancesToDraw);
            batch->instancesToDraw = 0;
        }
        // A generator changes states; the camera puts them back.
        RenderStateBlock additive;
        additive.destBlend = static_cast<int32_t>(BlendFactor::One);
        additive.zWrite = 0;
        Owner()->GetDevice()->SetRenderStateBlock(additive);
        return true;
    }
    void BuildVertexShader() override { text = "mov\toPos, v0\n"; }
    void BuildPixelShader() override { text = "mov\tr0, v0\n"; }
    bool Cull(const RefPtr<RenderView>&, const RefPtr<RenderBatch>&, const RefPtr<MeshPart>&,
              float&) override {
        return false;
    }
    std::vector<int32_t> instancePasses;
};

// A recording device, a Renderer on it, a logging target and a root task that hands
// both down.
struct SceneDrawFixture {
    DeviceFixture fixture;
    GraphicsDeviceDX& dx = fixture.Make();
    RefPtr<GraphicsDevice> device{&dx, [](GraphicsDevice*) {}};
    RefPtr<Renderer> renderer = MakeTestRenderer(device);
    LoggingTarget* target = new LoggingTarget();
    RefPtr<TextureBase> targetHandle{target};
    RefPtr<PassThroughGen> generator{new PassThroughGen(renderer)};
    SceneTestRoot root;

    SceneDrawFixture() { root.renderer = renderer; }

    RefPtr<RenderView> View(const TextureViewport& viewport) {
        ClearRecord clear;
        clear.flags = 3;
        clear.color = 0xFF203050;
        return RefPtr<RenderView>(
            new RenderView(renderer, targetHandle, clear, RefPtr<ShaderGenBase>(generator), viewport));
    }
    // A part of `vertices` position-only vertices drawn as a triangle list.
    RefPtr<MeshPart> Part(int32_t vertices) {
        RefPtr<MeshPart> part(new MeshPart());
        part->name = "Layer1";
        part->layout.AddElement(2, "Position");
        std::vector<float> words(size_t(vertices) * 3, 0.0f);
        RefPtr<VertexBuffer> buffer = device->CreateVertexBuffer(12, uint32_t(vertices), words.data(), 0);
        part->geometry =
            device->CreateGeometryBuffer(3, part->layout, buffer, 0, vertices, RefPtr<IndexBuffer>(), 0, 0);
        return part;
    }
    // A draw set over `mesh` (instanced when the mesh data says so) with one part.
    RefPtr<RenderBatch> DrawSet(const RefPtr<MeshData>& mesh, int32_t vertices) {
        RefPtr<RenderBatch> batch(new RenderBatch(mesh));
        batch->parts.Add(Part(vertices));
        return batch;
    }
    RefPtr<MeshData> Mesh(bool instancing, int32_t paletteSize = 0, int32_t parameterCount = 0) {
        RefPtr<MeshData> mesh(new MeshData());
        mesh->instancing = instancing;
        mesh->paletteSize = paletteSize;
        mesh->parameterCount = parameterCount;
        return mesh;
    }
};

}  // namespace mareldon
