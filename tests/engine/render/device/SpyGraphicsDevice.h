#pragma once

#include <string>
#include <vector>

#include "engine/render/device/GraphicsDevice.h"

namespace mareldon {

// A graphics device that keeps what reached it: constant uploads, render-state
// blocks, texture and sampler bindings. It makes no resources.
class SpyGraphicsDevice final : public GraphicsDevice {
  public:
    struct Upload {
        uint32_t first;
        uint32_t count;
        std::vector<float> data;
    };

    std::vector<Upload> vsUploads;
    std::vector<Upload> psUploads;
    std::vector<RenderStateBlock> blocksSet;
    int blockGets = 0;
    std::vector<std::pair<uint32_t, TextureBase*>> texturesSet;
    std::vector<uint32_t> samplerStages;
    std::vector<std::vector<uint8_t>> vertexBuffers;
    std::vector<std::pair<int32_t, int32_t>> geometries;  // kind, vertex count
    uint32_t maxConstants = 96;
    RenderStateBlock block;
    SamplerState sampler;
    DeviceStatistics statistics;
    RefPtr<Texture> screen;

    bool IsRunning() override { return true; }
    bool Present() override { return true; }
    void SetWindowed(int32_t) override {}
    int32_t IsWindowed() override { return 1; }
    int32_t ScreenOffsetX() override { return 0; }
    int32_t ScreenOffsetY() override { return 0; }
    void SetRotation(int32_t) override {}
    int32_t GetRotation() override { return 0; }
    RefPtr<Texture>& ScreenTexture() override { return screen; }
    RefPtr<Texture> CreateTextureFromData(uint32_t, const void*, uint32_t) override { return {}; }
    RefPtr<Texture> CreateTexture(uint32_t, int32_t, int32_t) override { return {}; }
    RefPtr<VertexShader> CreateVertexShader(std::string_view, const VertexLayout&) override { return {}; }
    RefPtr<PixelShader> CreatePixelShader(std::string_view) override { return {}; }
    RefPtr<VertexBuffer> CreateVertexBuffer(uint32_t size, uint32_t count, const void* bytes,
                                            uint32_t) override {
        auto* first = static_cast<const uint8_t*>(bytes);
        vertexBuffers.emplace_back(first, first + size_t(size) * count);
        return {};
    }
    RefPtr<IndexBuffer> CreateIndexBuffer(uint32_t, const void*, uint32_t) override { return {}; }
    RefPtr<GeometryBuffer> CreateGeometryBuffer(int32_t kind, const VertexLayout&,
                                                const RefPtr<VertexBuffer>&, int32_t, int32_t vertexCount,
                                                const RefPtr<IndexBuffer>&, int32_t, int32_t) override {
        geometries.emplace_back(kind, vertexCount);
        return {};
    }
    DeviceStatistics* Statistics() override { return &statistics; }
    void SetTexture(uint32_t stage, TextureBase* texture) override {
        texturesSet.emplace_back(stage, texture);
    }
    void SetVertexShader(const RefPtr<VertexShader>&) override {}
    void SetVertexShaderConstant(uint32_t first, const float* data, uint32_t count) override {
        vsUploads.push_back(Upload{first, count, std::vector<float>(data, data + 4 * count)});
    }
    void SetPixelShader(const RefPtr<PixelShader>&) override {}
    void SetPixelShaderConstant(uint32_t first, const float* data, uint32_t count) override {
        psUploads.push_back(Upload{first, count, std::vector<float>(data, data + 4 * count)});
    }
    uint32_t MaxVertexShaderConstants() override { return maxConstants; }
    void SetSamplerState(uint32_t stage, const SamplerState&) override { samplerStages.push_back(stage); }
    const SamplerState* GetSamplerState(uint32_t) override { return &sampler; }
    void SetRenderStateBlock(const RenderStateBlock& b) override {
        blocksSet.push_back(b);
        block = b;
    }
    const RenderStateBlock* GetRenderStateBlock() override {
        ++blockGets;
        return &block;
    }
    void SetSrcBlend(BlendFactor) override {}
    BlendFactor GetSrcBlend() override { return BlendFactor::SrcAlpha; }
    void SetDestBlend(BlendFactor) override {}
    BlendFactor GetDestBlend() override { return BlendFactor::InvSrcAlpha; }
    void SetFillMode(FillMode) override {}
    FillMode GetFillMode() override { return FillMode::Solid; }
    void SetCullMode(CullMode) override {}
    CullMode GetCullMode() override { return CullMode::CounterClockwise; }
    void SetZFunc(CompareFunc) override {}
    CompareFunc GetZFunc() override { return CompareFunc::LessEqual; }
    void SetZWrite(int32_t) override {}
    int32_t GetZWrite() override { return 1; }
};

}  // namespace mareldon
