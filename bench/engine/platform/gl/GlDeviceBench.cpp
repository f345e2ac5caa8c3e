// Draw cost through the GL device against the same draws made on GL
// directly, the frame time of a 480x640 scene of 1,000 textured quads, and
// sprites drawn through the graphics device with its caches.
// Runs offscreen (Mesa's llvmpipe) unless SDL_VIDEODRIVER says otherwise.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/core/VertexLayout.h"
#include "engine/platform/gl/GlGpu.h"
#include "engine/platform/gl/GlGpuDevice.h"
#include "engine/platform/helper/ShaderAssembler.h"
#include "engine/platform/sdl/SdlDeviceWindow.h"
#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/GraphicsDeviceDX.h"
#include "engine/render/device/PixelShader.h"
#include "engine/render/device/Texture.h"
#include "engine/render/device/VertexBuffer.h"
#include "engine/render/device/VertexShader.h"

namespace mareldon {
namespace {

struct Vertex {
    float x, y, z, w, r, g, b, a, u, v;
};

const uint32_t kDeclaration[] = {0x20000000, 0x40030000, 0x40030001, 0x40010002, 0xFFFFFFFF};
constexpr int kQuads = 1000;

class Scene {
  public:
    Scene() {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        SDL_InitSubSystem(SDL_INIT_VIDEO);
        window_ = SDL_CreateWindow("bench", 0, 0, 480, 640, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        GlGpuBackend backend;
        object_.Reset(backend.CreateObject(kGpuSdkVersion));
        GpuPresentParameters p;
        p.BackBufferWidth = 480;
        p.BackBufferHeight = 640;
        p.BackBufferFormat = GpuFormat::X8R8G8B8;
        p.hDeviceWindow = window_;
        p.Windowed = 1;
        p.EnableAutoDepthStencil = 1;
        p.AutoDepthStencilFormat = GpuFormat::D16;
        GpuDevice* device = nullptr;
        if (!object_ || object_->CreateDevice(0, GpuDeviceType::HAL, window_, 0, &p, &device) != kGpuOk)
            return;
        device_.Reset(device);
        context_ = SDL_GL_GetCurrentContext();
        device->SetRenderState(GpuRenderState::ALPHABLENDENABLE, 1);
        device->SetRenderState(GpuRenderState::SRCBLEND, gpu::BLEND_SRCALPHA);
        device->SetRenderState(GpuRenderState::DESTBLEND, gpu::BLEND_INVSRCALPHA);
        AssembledShader vs = AssembleShader("vs.1.1\nmov\toPos, v0\nmov\toD0, v1\nmov\toT0, v2\n", {96});
        AssembledShader ps = AssembleShader("ps.1.1\ntex\tt0\nmul\tr0, t0, v0\n");
        if (!vs.Ok() || !ps.Ok())
            return;
        device->CreateVertexShader(kDeclaration, vs.code.data(), &vertexShader_, 0);
        device->CreatePixelShader(ps.code.data(), &pixelShader_);
        device->CreateTexture(64, 64, 1, 0, GpuFormat::A4R4G4B4, GpuPool::MANAGED, texture_.Receive());
        GpuLockedRect locked;
        texture_->LockRect(0, &locked, nullptr, 0);
        for (int i = 0; i < 64 * 64; ++i)
            static_cast<uint16_t*>(locked.pBits)[i] = uint16_t(0xF000 | (i * 37));
        texture_->UnlockRect(0);
        // 1,000 quads of 16x16 pixels spread over the screen.
        std::vector<Vertex> vertices;
        for (int i = 0; i < kQuads; ++i) {
            float x = -1.0f + 2.0f * float((i * 37) % 464) / 480.0f,
                  y = 1.0f - 2.0f * float((i * 53) % 624) / 640.0f;
            float w = 32.0f / 480.0f, h = 32.0f / 640.0f;
            Vertex tl{x, y, 0.5f, 1, 1, 1, 1, 1, 0, 0}, tr{x + w, y, 0.5f, 1, 1, 1, 1, 1, 1, 0};
            Vertex bl{x, y - h, 0.5f, 1, 1, 1, 1, 1, 0, 1}, br{x + w, y - h, 0.5f, 1, 1, 1, 1, 1, 1, 1};
            vertices.insert(vertices.end(), {tl, tr, bl, bl, tr, br});
        }
        uint32_t bytes = uint32_t(vertices.size() * sizeof(Vertex));
        device->CreateVertexBuffer(bytes, kGpuUsageWriteOnly, 0, GpuPool::DEFAULT, buffer_.Receive());
        uint8_t* data = nullptr;
        buffer_->Lock(0, 0, &data, 0);
        std::memcpy(data, vertices.data(), bytes);
        buffer_->Unlock();
        device->SetVertexShader(vertexShader_);
        device->SetPixelShader(pixelShader_);
        device->SetTexture(0, texture_.Get());
        device->SetStreamSource(0, buffer_.Get(), sizeof(Vertex));
        device->BeginScene();  // draws are taken inside a scene only
        gl_.Load();
    }
    ~Scene() {
        buffer_.Reset();
        texture_.Reset();
        device_.Reset();
        object_.Reset();
        if (window_)
            SDL_DestroyWindow(window_);
    }
    bool Ok() const { return bool(device_) && vertexShader_ && pixelShader_; }
    // Another benchmark's device leaves its own context current (or a deleted one),
    // so each benchmark of the scene takes the scene's back before it measures.
    bool MakeCurrent() const { return Ok() && SDL_GL_MakeCurrent(window_, context_) == 0; }

    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    GpuPtr<GpuObject> object_;
    GpuPtr<GpuDevice> device_;
    GpuPtr<GpuTexture> texture_;
    GpuPtr<GpuBuffer> buffer_;
    uint32_t vertexShader_ = 0, pixelShader_ = 0;
    GlFunctions gl_;
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void BM_DrawThroughDevice(benchmark::State& state) {
    Scene& s = TheScene();
    if (!s.MakeCurrent())
        return state.SkipWithError("no GL device");
    for (auto _ : state) {
        for (int i = 0; i < kQuads; ++i)
            s.device_->DrawPrimitive(GpuPrimitiveType::TRIANGLELIST, uint32_t(i * 6), 2);
        s.gl_.Finish();
    }
    state.SetItemsProcessed(state.iterations() * kQuads);
}
BENCHMARK(BM_DrawThroughDevice)->Unit(benchmark::kMicrosecond);

void BM_DrawRawGl(benchmark::State& state) {
    Scene& s = TheScene();
    if (!s.MakeCurrent())
        return state.SkipWithError("no GL device");
    s.device_->DrawPrimitive(GpuPrimitiveType::TRIANGLELIST, 0, 2);  // binds program, target and arrays
    for (auto _ : state) {
        for (int i = 0; i < kQuads; ++i)
            s.gl_.DrawArrays(GL_TRIANGLES, i * 6, 6);
        s.gl_.Finish();
    }
    state.SetItemsProcessed(state.iterations() * kQuads);
}
BENCHMARK(BM_DrawRawGl)->Unit(benchmark::kMicrosecond);

// One frame: clear, 1,000 textured quads as separate draws, present.
void BM_SceneFrame(benchmark::State& state) {
    Scene& s = TheScene();
    if (!s.MakeCurrent())
        return state.SkipWithError("no GL device");
    for (auto _ : state) {
        s.device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
        s.device_->SetVertexShader(s.vertexShader_);
        s.device_->SetPixelShader(s.pixelShader_);
        s.device_->SetTexture(0, s.texture_.Get());
        s.device_->SetStreamSource(0, s.buffer_.Get(), sizeof(Vertex));
        for (int i = 0; i < kQuads; ++i)
            s.device_->DrawPrimitive(GpuPrimitiveType::TRIANGLELIST, uint32_t(i * 6), 2);
        s.device_->EndScene();
        s.device_->Present();
        s.device_->BeginScene();
        s.gl_.Finish();
    }
}
BENCHMARK(BM_SceneFrame)->Unit(benchmark::kMillisecond);

// The game's way: one sprite quad drawn 1,000 times through the graphics
// device and its caches, a new transform (4 constant registers) per draw. The
// device owns its context, current from its creation to its end.
void BM_SpritesThroughGraphicsDevice(benchmark::State& state) {
    Scene& s = TheScene();  // SDL video up
    SDL_Window* sdlWindow = SDL_CreateWindow("bench", 0, 0, 480, 640, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    {
        SdlDeviceWindow window(sdlWindow);
        GlGpuBackend backend;
        GraphicsDeviceDX device(&backend, &window, 1, 8, 480, 640, 3);
        VertexLayout layout;
        layout.AddElement(3, "POSITION");
        layout.AddElement(3, "COLOR");
        RefPtr<VertexShader> vs = device.CreateVertexShader("m4x4\toPos, v0, c0\nmov\toD0, v1\n", layout);
        RefPtr<PixelShader> ps = device.CreatePixelShader("mov\tr0, v0\n");
        const float quad[6][8] = {{0, 0, 0.5f, 1, 1, 1, 1, 1},  {16, 0, 0.5f, 1, 1, 1, 1, 1},
                                  {0, 16, 0.5f, 1, 1, 1, 1, 1}, {0, 16, 0.5f, 1, 1, 1, 1, 1},
                                  {16, 0, 0.5f, 1, 1, 1, 1, 1}, {16, 16, 0.5f, 1, 1, 1, 1, 1}};
        RefPtr<VertexBuffer> vb = device.CreateVertexBuffer(32, 6, quad, 0);
        RefPtr<GeometryBuffer> geometry =
            device.CreateGeometryBuffer(3, layout, vb, 0, 6, RefPtr<IndexBuffer>(), 0, 0);
        if (!device.Device() || !vs.Get() || !ps.Get()) {
            state.SkipWithError("no graphics device");
        } else {
            RefPtr<Texture>& screen = device.ScreenTexture();
            // Pixels to clip space, moved per sprite.
            float transform[16] = {2.0f / 480, 0, 0, -1, 0, -2.0f / 640, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1};
            for (auto _ : state) {
                device.SetVertexShader(vs);
                device.SetPixelShader(ps);
                for (int i = 0; i < kQuads; ++i) {
                    transform[3] = -1 + 2.0f * float((i * 37) % 464) / 480;
                    transform[7] = 1 - 2.0f * float((i * 53) % 624) / 640;
                    device.SetVertexShaderConstant(0, transform, 4);
                    screen->DrawGeometry(geometry);
                }
                s.gl_.Finish();
            }
            state.SetItemsProcessed(state.iterations() * kQuads);
        }
    }
    SDL_DestroyWindow(sdlWindow);
}
BENCHMARK(BM_SpritesThroughGraphicsDevice)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mareldon
