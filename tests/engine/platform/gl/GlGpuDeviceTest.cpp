#include "engine/platform/gl/GlGpuDevice.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "engine/platform/gl/GlGpu.h"
#include "engine/platform/helper/ShaderAssembler.h"

namespace mareldon {
namespace {

// Position (clip space), colour, texture coordinate.
struct Vertex {
    float x, y, z, w;
    float r, g, b, a;
    float u, v;
};

const uint32_t kDeclaration[] = {0x20000000, 0x40030000, 0x40030001, 0x40010002, 0xFFFFFFFF};

class GlGpuDeviceTest : public ::testing::Test {
  protected:
    static constexpr int kWidth = 64, kHeight = 48;

    // SDL video and the GL library stay loaded to the end: unloading the
    // driver would leave its lifetime allocations unattributable for the
    // leak checker.
    static void SetUpTestSuite() {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_EQ(SDL_GL_LoadLibrary(nullptr), 0) << SDL_GetError();
    }

    void SetUp() override { Open(kWidth, kHeight, kWidth, kHeight, 0); }
    void TearDown() override { Close(); }

    // Windowed, 32-bit, with a 16-bit depth buffer.
    static GpuPresentParameters Parameters(SDL_Window* window, uint32_t width, uint32_t height) {
        GpuPresentParameters p;
        p.BackBufferWidth = width;
        p.BackBufferHeight = height;
        p.BackBufferFormat = GpuFormat::X8R8G8B8;
        p.BackBufferCount = 1;
        p.hDeviceWindow = window;
        p.Windowed = 1;
        p.EnableAutoDepthStencil = 1;
        p.AutoDepthStencilFormat = GpuFormat::D16;
        return p;
    }

    void Open(int windowWidth, int windowHeight, uint32_t backWidth, uint32_t backHeight, int rotation) {
        window_ = SDL_CreateWindow("gl test", 0, 0, windowWidth, windowHeight,
                                   SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(window_, nullptr) << SDL_GetError();
        GlGpuBackend backend;
        object_.Reset(backend.CreateObject(kGpuSdkVersion));
        ASSERT_TRUE(object_);
        GpuPresentParameters p = Parameters(window_, backWidth, backHeight);
        p.ScreenRotation = uint32_t(rotation);
        GpuDevice* device = nullptr;
        ASSERT_EQ(object_->CreateDevice(0, GpuDeviceType::HAL, window_, kGpuCreateHardwareVertexProcessing,
                                        &p, &device),
                  kGpuOk);
        device_.Reset(device);
        gl_ = static_cast<GlGpuDevice*>(device);
        // The states the graphics device keeps.
        Rs(GpuRenderState::ALPHATESTENABLE, 1);
        Rs(GpuRenderState::ALPHAREF, 0);
        Rs(GpuRenderState::ALPHAFUNC, gpu::CMP_GREATER);
        Rs(GpuRenderState::ALPHABLENDENABLE, 1);
        Rs(GpuRenderState::SRCBLEND, gpu::BLEND_SRCALPHA);
        Rs(GpuRenderState::DESTBLEND, gpu::BLEND_INVSRCALPHA);
        for (uint32_t stage = 0; stage < 8; ++stage) {
            device_->SetTextureStageState(stage, GpuTextureStageState::MAGFILTER, gpu::TEXF_NONE);
            device_->SetTextureStageState(stage, GpuTextureStageState::MINFILTER, gpu::TEXF_LINEAR);
            device_->SetTextureStageState(stage, GpuTextureStageState::MIPFILTER, gpu::TEXF_LINEAR);
        }
        ASSERT_EQ(device_->GetBackBuffer(0, GpuBackBufferType::MONO, backBuffer_.Receive()), kGpuOk);
        ASSERT_EQ(device_->GetDepthStencilSurface(depth_.Receive()), kGpuOk);
        ASSERT_EQ(device_->CreateVertexBuffer(sizeof(Vertex) * 64, kGpuUsageWriteOnly, 0, GpuPool::DEFAULT,
                                              vertices_.Receive()),
                  kGpuOk);
        passVs_ = VertexShader("mov\toPos, v0\nmov\toD0, v1\nmov\toT0, v2\n");
        texturePs_ = PixelShader("tex\tt0\nmul\tr0, t0, v0\n");
        ASSERT_EQ(device_->BeginScene(), kGpuOk);  // draws are taken inside a scene only
    }

    void Close() {
        vertices_.Reset();
        backBuffer_.Reset();
        depth_.Reset();
        device_.Reset();
        object_.Reset();
        if (window_) {
            SDL_DestroyWindow(window_);
        }
        window_ = nullptr;
    }

    // Ends the scene, presents and begins the next scene.
    GpuResult Present() {
        device_->EndScene();
        GpuResult result = device_->Present();
        device_->BeginScene();
        return result;
    }

    void Rs(GpuRenderState state, uint32_t value) {
        ASSERT_EQ(device_->SetRenderState(state, value), kGpuOk);
    }

    // Assembled as the shader objects do: the vertex constant file declared
    // as one array so relative reads translate.
    uint32_t VertexShader(const char* text) {
        AssembledShader shader = AssembleShader(std::string("vs.1.1\n") + text, {96});
        EXPECT_TRUE(shader.Ok()) << shader.error;
        uint32_t handle = 0;
        EXPECT_EQ(device_->CreateVertexShader(kDeclaration, shader.code.data(), &handle, 0), kGpuOk);
        return handle;
    }
    uint32_t PixelShader(const char* text) {
        AssembledShader shader = AssembleShader(std::string("ps.1.1\n") + text);
        EXPECT_TRUE(shader.Ok()) << shader.error;
        uint32_t handle = 0;
        EXPECT_EQ(device_->CreatePixelShader(shader.code.data(), &handle), kGpuOk);
        return handle;
    }

    // The pass-through vertex program and "texture times diffuse" on stage 0.
    void UseTexture(GpuTexture* texture) {
        device_->SetVertexShader(passVs_);
        device_->SetPixelShader(texturePs_);
        device_->SetTexture(0, texture);
    }

    // Draws triangles from the vertices through the current shaders.
    void Draw(const std::vector<Vertex>& vertices) {
        uint8_t* bytes = nullptr;
        ASSERT_EQ(vertices_->Lock(0, 0, &bytes, 0), kGpuOk);
        std::memcpy(bytes, vertices.data(), vertices.size() * sizeof(Vertex));
        ASSERT_EQ(vertices_->Unlock(), kGpuOk);
        device_->SetStreamSource(0, vertices_.Get(), sizeof(Vertex));
        ASSERT_EQ(device_->DrawPrimitive(GpuPrimitiveType::TRIANGLELIST, 0, uint32_t(vertices.size() / 3)),
                  kGpuOk);
    }

    // A rectangle in clip space (x0, y0 top-left), wound clockwise as seen.
    static std::vector<Vertex> Quad(float x0, float y0, float x1, float y1, uint32_t argb, float z = 0.5f,
                                    float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1) {
        float r = ((argb >> 16) & 0xFF) / 255.0f, g = ((argb >> 8) & 0xFF) / 255.0f,
              b = (argb & 0xFF) / 255.0f, a = (argb >> 24) / 255.0f;
        Vertex tl{x0, y0, z, 1, r, g, b, a, u0, v0}, tr{x1, y0, z, 1, r, g, b, a, u1, v0};
        Vertex bl{x0, y1, z, 1, r, g, b, a, u0, v1}, br{x1, y1, z, 1, r, g, b, a, u1, v1};
        return {tl, tr, bl, bl, tr, br};
    }
    static std::vector<Vertex> FullQuad(uint32_t argb, float z = 0.5f) { return Quad(-1, 1, 1, -1, argb, z); }

    std::vector<uint32_t> Pixels(GpuSurface* surface) {
        std::vector<uint32_t> pixels;
        EXPECT_TRUE(gl_->ReadPixels(surface, pixels));
        return pixels;
    }
    uint32_t Pixel(GpuSurface* surface, int x, int y) {
        GpuSurfaceDesc desc;
        surface->GetDesc(&desc);
        return Pixels(surface)[size_t(y) * desc.Width + x];
    }
    uint32_t Screen(int x, int y) { return Pixel(backBuffer_.Get(), x, y) & 0xFFFFFF; }

    GpuPtr<GpuTexture> Texture(uint32_t width, uint32_t height, GpuFormat format, const void* texels,
                               uint32_t bytesPerTexel) {
        GpuPtr<GpuTexture> texture;
        EXPECT_EQ(device_->CreateTexture(width, height, 1, 0, format, GpuPool::MANAGED, texture.Receive()),
                  kGpuOk);
        GpuLockedRect locked;
        EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), kGpuOk);
        for (uint32_t y = 0; y < height; ++y) {
            std::memcpy(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch,
                        static_cast<const uint8_t*>(texels) + y * width * bytesPerTexel,
                        width * bytesPerTexel);
        }
        EXPECT_EQ(texture->UnlockRect(0), kGpuOk);
        return texture;
    }

    SDL_Window* window_ = nullptr;
    GpuPtr<GpuObject> object_;
    GpuPtr<GpuDevice> device_;
    GlGpuDevice* gl_ = nullptr;
    GpuPtr<GpuSurface> backBuffer_, depth_;
    GpuPtr<GpuBuffer> vertices_;
    uint32_t passVs_ = 0, texturePs_ = 0;
};

// The viewport's X and Y count from the top-left corner, for clears and draws
// alike (the screen's centring offsets rely on it); an empty one covers nothing.
TEST_F(GlGpuDeviceTest, ClearsAndDrawsFillTheViewportOnly) {
    GpuViewport part{8, 4, 16, 8, 0.0f, 1.0f};
    for (bool draw : {false, true}) {
        SCOPED_TRACE(draw ? "draw" : "clear");
        GpuViewport whole{0, 0, kWidth, kHeight, 0.0f, 1.0f};
        device_->SetViewport(&whole);
        device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF102030, 1.0f, 0);
        device_->SetViewport(&part);
        if (draw) {
            device_->SetVertexShader(passVs_);
            device_->SetPixelShader(0);
            Draw(FullQuad(0xFFC0FFEE));
        } else {
            device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFFC0FFEE, 1.0f, 0);
        }
        EXPECT_EQ(Screen(0, 0), 0x102030u);
        EXPECT_EQ(Screen(8, 4), 0xC0FFEEu);
        EXPECT_EQ(Screen(23, 11), 0xC0FFEEu);
        EXPECT_EQ(Screen(7, 4), 0x102030u);
        EXPECT_EQ(Screen(8, 3), 0x102030u);
        EXPECT_EQ(Screen(24, 11), 0x102030u);
        EXPECT_EQ(Screen(23, 12), 0x102030u);

        // An empty viewport is one: nothing is drawn, not even where the last one was.
        GpuViewport empty{8, 4, 0, 0, 0.0f, 1.0f};
        ASSERT_EQ(device_->SetViewport(&empty), kGpuOk);
        if (draw) {
            Draw(FullQuad(0xFFFFFFFF));
        } else {
            device_->Clear(kGpuClearTarget, 0xFFFFFFFF, 1.0f, 0);
        }
        EXPECT_EQ(Screen(0, 0), 0x102030u);
        EXPECT_EQ(Screen(8, 4), 0xC0FFEEu);
    }
}

TEST_F(GlGpuDeviceTest, TexturedVertexColouredQuadWithTopRowFirst) {
    // 2x2 A4R4G4B4: red, green / blue, white; magnification "none" keeps texels sharp.
    const uint16_t texels[] = {0xFF00, 0xF0F0, 0xF00F, 0xFFFF};
    auto texture = Texture(2, 2, GpuFormat::A4R4G4B4, texels, 2);
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
    UseTexture(texture.Get());
    Draw(FullQuad(0xFFFFFF80));  // diffuse halves blue
    EXPECT_EQ(Screen(1, 1), 0xFF0000u);
    EXPECT_EQ(Screen(kWidth - 2, 1), 0x00FF00u);
    EXPECT_EQ(Screen(1, kHeight - 2), 0x000080u);
    EXPECT_EQ(Screen(kWidth - 2, kHeight - 2), 0xFFFF80u);
}

// Direct3D 8 puts pixel centres on integer coordinates and fills a pixel whose
// centre is on a top or left edge, not on a bottom or right one.
TEST_F(GlGpuDeviceTest, EdgesFillThePixelsDirect3DFills) {
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
    device_->SetVertexShader(passVs_);
    device_->SetPixelShader(0);
    Draw(Quad(-1, 1, 0, 0, 0xFFFFFFFF));  // columns 0..31, rows 0..23
    EXPECT_EQ(Screen(0, 0), 0xFFFFFFu);
    EXPECT_EQ(Screen(31, 23), 0xFFFFFFu);
    EXPECT_EQ(Screen(32, 0), 0u);
    EXPECT_EQ(Screen(0, 24), 0u);
}

TEST_F(GlGpuDeviceTest, TextureFormatsUploadAsTheirDirect3DLayout) {
    struct Case {
        GpuFormat format;
        uint32_t texel;
        uint32_t bytes;
        uint32_t expected;  // ARGB read from an A8R8G8B8 target, blending off
    };
    const Case cases[] = {
        {GpuFormat::A8R8G8B8, 0xFF336699, 4, 0xFF336699},
        {GpuFormat::X8R8G8B8, 0x00336699, 4, 0xFF336699},
        {GpuFormat::A4R4G4B4, 0xF842, 2, 0xFF884422},
        {GpuFormat::A1R5G5B5, 0xFC00, 2, 0xFFFF0000},
        {GpuFormat::X1R5G5B5, 0x03E0, 2, 0xFF00FF00},
        {GpuFormat::R5G6B5, 0x001F, 2, 0xFF0000FF},
        {GpuFormat::A8, 0x80, 1, 0x80000000},
    };
    GpuPtr<GpuTexture> target;
    ASSERT_EQ(device_->CreateTexture(4, 4, 1, kGpuUsageRenderTarget, GpuFormat::A8R8G8B8, GpuPool::DEFAULT,
                                     target.Receive()),
              kGpuOk);
    GpuPtr<GpuSurface> surface;
    ASSERT_EQ(target->GetSurfaceLevel(0, surface.Receive()), kGpuOk);
    Rs(GpuRenderState::SRCBLEND, gpu::BLEND_ONE);
    Rs(GpuRenderState::DESTBLEND, gpu::BLEND_ZERO);
    device_->SetVertexShader(passVs_);
    device_->SetPixelShader(texturePs_);
    for (const Case& c : cases) {
        SCOPED_TRACE(GpuFormatName(c.format));
        auto texture = Texture(1, 1, c.format, &c.texel, c.bytes);
        device_->SetRenderTarget(surface.Get(), nullptr);
        device_->Clear(kGpuClearTarget, 0, 1.0f, 0);
        device_->SetTexture(0, texture.Get());
        Draw(FullQuad(0xFFFFFFFF));
        EXPECT_EQ(Pixel(surface.Get(), 2, 2), c.expected);
    }
}

TEST_F(GlGpuDeviceTest, AlphaZeroIsDiscardedAndHalfAlphaBlends) {
    const uint32_t texels[] = {0x00FF0000, 0x80FFFFFF};
    auto texture = Texture(2, 1, GpuFormat::A8R8G8B8, texels, 4);
    Rs(GpuRenderState::SRCBLEND, gpu::BLEND_ONE);
    Rs(GpuRenderState::DESTBLEND, gpu::BLEND_ZERO);
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF0000FF, 1.0f, 0);
    UseTexture(texture.Get());
    Draw(FullQuad(0xFFFFFFFF));
    // Even with blending that would overwrite, alpha 0 leaves the target alone.
    EXPECT_EQ(Screen(4, 4), 0x0000FFu);
    EXPECT_EQ(Screen(kWidth - 4, 4), 0xFFFFFFu);

    Rs(GpuRenderState::SRCBLEND, gpu::BLEND_SRCALPHA);
    Rs(GpuRenderState::DESTBLEND, gpu::BLEND_INVSRCALPHA);
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
    device_->SetPixelShader(0);
    device_->SetTexture(0, nullptr);
    Draw(FullQuad(0x80FFFFFF));
    uint32_t blended = Screen(4, 4);
    EXPECT_NEAR(int(blended & 0xFF), 0x80, 1);
}

// Direct3D's default stage: colour texture times diffuse, alpha the
// texture's; with no texture the diffuse colour and alpha pass through.
TEST_F(GlGpuDeviceTest, FixedStageMultipliesTextureByDiffuseAndVertexShaderZeroDrawsNothing) {
    const uint32_t texel = 0xFF80FF40;
    auto texture = Texture(1, 1, GpuFormat::A8R8G8B8, &texel, 4);
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
    device_->SetVertexShader(passVs_);
    device_->SetPixelShader(0);
    device_->SetTexture(0, texture.Get());
    Draw(Quad(-1, 1, 0, -1, 0x80FFFF00));
    device_->SetTexture(0, nullptr);
    Draw(Quad(0, 1, 1, -1, 0x8000FF00));
    EXPECT_EQ(Screen(4, 4), 0x80FF00u);
    EXPECT_NEAR(int(Screen(kWidth - 4, 4) >> 8), 0x80, 1);
    EXPECT_EQ(Screen(kWidth - 4, 4) & 0xFF00FF, 0u);

    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
    device_->SetVertexShader(0);
    Draw(FullQuad(0xFFFFFFFF));
    EXPECT_EQ(Screen(4, 4), 0u);
}

TEST_F(GlGpuDeviceTest, CullModesFollowTheWindingSeenInThePicture) {
    struct Case {
        uint32_t cull;
        bool clockwiseDrawn, counterClockwiseDrawn;
    };
    const Case cases[] = {
        {gpu::CULL_NONE, true, true}, {gpu::CULL_CW, false, true}, {gpu::CULL_CCW, true, false}};
    device_->SetVertexShader(passVs_);
    device_->SetPixelShader(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cull);
        Rs(GpuRenderState::CULLMODE, c.cull);
        device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
        std::vector<Vertex> left = Quad(-1, 1, 0, -1, 0xFFFF0000);  // clockwise
        std::vector<Vertex> right = Quad(0, 1, 1, -1, 0xFF00FF00);  // made counter-clockwise
        std::swap(right[1], right[2]);
        std::swap(right[4], right[5]);
        left.insert(left.end(), right.begin(), right.end());
        Draw(left);
        EXPECT_EQ(Screen(4, 4), c.clockwiseDrawn ? 0xFF0000u : 0u);
        EXPECT_EQ(Screen(kWidth - 4, 4), c.counterClockwiseDrawn ? 0x00FF00u : 0u);
    }
}

TEST_F(GlGpuDeviceTest, RenderToTextureThenSampleIt) {
    GpuPtr<GpuTexture> target;
    ASSERT_EQ(device_->CreateTexture(16, 16, 1, kGpuUsageRenderTarget, GpuFormat::A8R8G8B8, GpuPool::DEFAULT,
                                     target.Receive()),
              kGpuOk);
    GpuPtr<GpuSurface> surface, targetDepth;
    ASSERT_EQ(target->GetSurfaceLevel(0, surface.Receive()), kGpuOk);
    ASSERT_EQ(device_->CreateDepthStencilSurface(16, 16, GpuFormat::D16, GpuMultisample::NONE,
                                                 targetDepth.Receive()),
              kGpuOk);
    device_->SetRenderTarget(surface.Get(), targetDepth.Get());
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF0000FF, 1.0f, 0);
    device_->SetVertexShader(passVs_);
    device_->SetPixelShader(0);
    Draw(Quad(-1, 1, 1, 0, 0xFFFF0000));  // top half red
    EXPECT_EQ(Pixel(surface.Get(), 8, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(surface.Get(), 8, 15), 0xFF0000FFu);

    device_->SetRenderTarget(backBuffer_.Get(), depth_.Get());
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
    device_->SetTexture(0, target.Get());
    Draw(FullQuad(0xFFFFFFFF));
    EXPECT_EQ(Screen(kWidth / 2, 2), 0xFF0000u);
    EXPECT_EQ(Screen(kWidth / 2, kHeight - 2), 0x0000FFu);
}

TEST_F(GlGpuDeviceTest, BorderAddressingUsesTheBorderColour) {
    const uint32_t texel = 0xFF00FF00;
    auto texture = Texture(1, 1, GpuFormat::A8R8G8B8, &texel, 4);
    UseTexture(texture.Get());
    device_->SetTextureStageState(0, GpuTextureStageState::ADDRESSU, gpu::TADDRESS_BORDER);
    device_->SetTextureStageState(0, GpuTextureStageState::ADDRESSV, gpu::TADDRESS_BORDER);
    struct Case {
        uint32_t border, expected;
    };
    // A transparent black border is discarded by the alpha test.
    for (const Case& c : {Case{0x00000000, 0x0000FFu}, Case{0xFFFF0000, 0xFF0000u}}) {
        device_->SetTextureStageState(0, GpuTextureStageState::BORDERCOLOR, c.border);
        device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF0000FF, 1.0f, 0);
        // u runs from -1 to 1: the left half samples outside the texture.
        Draw(Quad(-1, 1, 1, -1, 0xFFFFFFFF, 0.5f, -1, 0, 1, 1));
        EXPECT_EQ(Screen(4, kHeight / 2), c.expected);
        EXPECT_EQ(Screen(kWidth - 4, kHeight / 2), 0x00FF00u);
    }
}

TEST_F(GlGpuDeviceTest, DepthTestLessEqualAndDepthWriteOff) {
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
    device_->SetVertexShader(passVs_);
    device_->SetPixelShader(0);
    Rs(GpuRenderState::ZFUNC, gpu::CMP_LESSEQUAL);
    Draw(FullQuad(0xFFFF0000, 0.3f));
    Draw(FullQuad(0xFF00FF00, 0.6f));  // behind: hidden
    EXPECT_EQ(Screen(4, 4), 0xFF0000u);
    Draw(FullQuad(0xFF0000FF, 0.3f));  // equal depth passes LessEqual
    EXPECT_EQ(Screen(4, 4), 0x0000FFu);
    Rs(GpuRenderState::ZWRITEENABLE, 0);
    Draw(FullQuad(0xFFFFFFFF, 0.1f));  // drawn, depth kept at 0.3
    Draw(FullQuad(0xFF00FF00, 0.2f));
    EXPECT_EQ(Screen(4, 4), 0x00FF00u);
}

TEST_F(GlGpuDeviceTest, RelativeConstantAddressingPlacesSixteenInstances) {
    uint32_t instancing =
        VertexShader("mov\ta0.x, v2.x\nadd\toPos, v0, c[a0.x + 10]\nmov\toD0, c[a0.x + 30]\n");
    ASSERT_NE(instancing, 0u);
    std::vector<float> constants(96 * 4, 0.0f);
    std::vector<Vertex> quads;
    for (int i = 0; i < 16; ++i) {
        float* offset = &constants[(10 + i) * 4];
        offset[0] = -0.75f + 0.5f * (i % 4);
        offset[1] = 0.75f - 0.5f * (i / 4);
        offset[3] = 1.0f;
        float* colour = &constants[(30 + i) * 4];
        colour[0] = (i * 16) / 255.0f, colour[1] = (255 - i * 16) / 255.0f, colour[2] = 128 / 255.0f;
        colour[3] = 1.0f;
        // Corners around the origin with w 0 (the offset brings w 1); u
        // carries the instance, a little off to check the rounding.
        std::vector<Vertex> q = Quad(-0.25f, 0.25f, 0.25f, -0.25f, 0);
        for (Vertex& v : q) {
            v.w = 0.0f, v.u = float(i) + (i % 2 ? 0.3f : -0.3f);
        }
        quads.insert(quads.end(), q.begin(), q.end());
    }
    device_->SetVertexShaderConstant(0, constants.data(), 96);
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
    device_->SetVertexShader(instancing);
    device_->SetPixelShader(0);
    Draw(std::vector<Vertex>(quads.begin(), quads.begin() + 48));
    Draw(std::vector<Vertex>(quads.begin() + 48, quads.end()));
    for (int i = 0; i < 16; ++i) {
        int x = kWidth / 8 + (i % 4) * kWidth / 4, y = kHeight / 8 + (i / 4) * kHeight / 4;
        uint32_t expected = (uint32_t(i * 16) << 16) | (uint32_t(255 - i * 16) << 8) | 0x80;
        EXPECT_EQ(Screen(x, y), expected) << "instance " << i;
    }
    // A register beyond the array reads zeros: nothing is placed.
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
    std::vector<Vertex> outside = Quad(-1, 1, 1, -1, 0);
    for (Vertex& v : outside) {
        v.w = 1.0f, v.u = 200.0f;
    }
    Draw(outside);
    EXPECT_EQ(Screen(kWidth / 2, kHeight / 2), 0u);
}

TEST_F(GlGpuDeviceTest, SaturateAndCoIssuedAlpha) {
    uint32_t shader = PixelShader("sub_sat\tr1, v0, c0\nadd\tr0.rgb, r1, c1\n+mov\tr0.a, c2.a\n");
    ASSERT_NE(shader, 0u);
    const float c[3][4] = {{0.75f, 0.0f, 0.0f, 0.0f}, {0.5f, 0.25f, 0.0f, 0.0f}, {0, 0, 0, 1.0f}};
    device_->SetPixelShaderConstant(0, &c[0][0], 3);
    Rs(GpuRenderState::SRCBLEND, gpu::BLEND_ONE);
    Rs(GpuRenderState::DESTBLEND, gpu::BLEND_ZERO);
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
    device_->SetVertexShader(passVs_);
    device_->SetPixelShader(shader);
    Draw(FullQuad(0x00404040));  // v0 = 0.25 everywhere, alpha 0
    // Red: 0.25 - 0.75 saturates to 0, then + 0.5. Green: 0.25 + 0.25. Alpha from c2.
    uint32_t pixel = Screen(4, 4);
    EXPECT_NEAR(int(pixel >> 16), 0x80, 1);
    EXPECT_NEAR(int((pixel >> 8) & 0xFF), 0x80, 1);
    EXPECT_NEAR(int(pixel & 0xFF), 0x40, 1);
}

// ps.1.1 holds constants and registers in [-1, 1].
TEST_F(GlGpuDeviceTest, PixelShaderValuesStayWithinTheRegisterRange) {
    struct Case {
        const char* text;
        int expected;  // red, from v0.r = 0.25 and c0.r = 2, c1.r = 0.5
    };
    const Case cases[] = {
        {"mul\tr0, v0, c0\n", 0x40},                   // c0 reads as 1
        {"add\tr1, v0, c0\nmul\tr0, r1, c1\n", 0x80},  // r1 = 1.25 is held as 1
    };
    const float c[2][4] = {{2.0f, 0, 0, 1.0f}, {0.5f, 0, 0, 1.0f}};
    device_->SetPixelShaderConstant(0, &c[0][0], 2);
    Rs(GpuRenderState::SRCBLEND, gpu::BLEND_ONE);
    Rs(GpuRenderState::DESTBLEND, gpu::BLEND_ZERO);
    device_->SetVertexShader(passVs_);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
        device_->SetPixelShader(PixelShader(k.text));
        Draw(FullQuad(0xFF400000));
        EXPECT_NEAR(int(Screen(4, 4) >> 16), k.expected, 1);
    }
}

// Code the contract takes but MojoShader does not (the contract's own
// refusals are in GpuContractTest).
TEST_F(GlGpuDeviceTest, UntranslatableShaderGetsNoHandle) {
    uint32_t handle = 7;
    const uint32_t unknownOpcode[] = {0xFFFE0101, 0x7777, 0x800F0000, 0x0000FFFF};
    EXPECT_NE(device_->CreateVertexShader(kDeclaration, unknownOpcode, &handle, 0), kGpuOk);
    EXPECT_EQ(handle, 0u);
}

TEST_F(GlGpuDeviceTest, EachShaderPairIsLinkedOnce) {
    size_t before = gl_->Shaders().ProgramCount();
    device_->SetVertexShader(passVs_);
    for (int i = 0; i < 3; ++i) {
        device_->SetPixelShader(texturePs_);
        Draw(FullQuad(0xFFFFFFFF));
        device_->SetPixelShader(0);
        Draw(FullQuad(0xFFFFFFFF));
    }
    EXPECT_EQ(gl_->Shaders().ProgramCount(), before + 2);
    EXPECT_EQ(device_->DeletePixelShader(texturePs_), kGpuOk);
    EXPECT_EQ(gl_->Shaders().ProgramCount(), before + 1);
}

TEST_F(GlGpuDeviceTest, BuffersMadeEveryFrameReuseTheirStorage) {
    for (int frame = 0; frame < 5; ++frame) {
        std::vector<GpuPtr<GpuBuffer>> buffers(20);
        for (size_t i = 0; i < buffers.size(); ++i) {
            ASSERT_EQ(device_->CreateVertexBuffer(uint32_t(100 + i * 40), kGpuUsageWriteOnly, 0,
                                                  GpuPool::DEFAULT, buffers[i].Receive()),
                      kGpuOk);
        }
        buffers.clear();
        EXPECT_LE(gl_->PooledBufferCount(), 21u) << "frame " << frame;
    }
}

// Stride 0 repeats vertex 0 on Direct3D (nothing to fill); GL would read the
// vertices as packed. The contract's draw ranges are in GpuContractTest.
TEST_F(GlGpuDeviceTest, StrideZeroDrawsNothing) {
    device_->SetVertexShader(passVs_);
    device_->SetPixelShader(0);
    Draw(FullQuad(0xFFFFFFFF));
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
    device_->SetStreamSource(0, vertices_.Get(), 0);
    EXPECT_EQ(device_->DrawPrimitive(GpuPrimitiveType::TRIANGLELIST, 0, 2), kGpuOk);
    EXPECT_EQ(Screen(4, 4), 0u);
}

// A movie fills its texture from its own thread, where no GL context is
// current, while the main thread draws: the last pixels reach the picture.
TEST_F(GlGpuDeviceTest, TextureFilledOnAnotherThreadIsDrawn) {
    const uint32_t black = 0xFF000000;
    auto texture = Texture(1, 1, GpuFormat::A8R8G8B8, &black, 4);
    UseTexture(texture.Get());
    std::thread filler([&texture] {
        for (int frame = 0; frame < 100; ++frame) {
            GpuLockedRect locked;
            ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), kGpuOk);
            *static_cast<uint32_t*>(locked.pBits) = frame % 2 ? 0xFF00FF00u : 0xFF0000FFu;
            ASSERT_EQ(texture->UnlockRect(0), kGpuOk);
        }
    });
    for (int frame = 0; frame < 50; ++frame) {
        Draw(FullQuad(0xFFFFFFFF));
    }
    filler.join();
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
    Draw(FullQuad(0xFFFFFFFF));
    EXPECT_EQ(Screen(4, 4), 0x00FF00u);
}

TEST_F(GlGpuDeviceTest, CopyRectsMovesStagedLevelsIntoADefaultPoolTexture) {
    const uint16_t texels[] = {0xFF00, 0xF0F0, 0xF00F, 0xFFFF};
    auto staging = Texture(2, 2, GpuFormat::A4R4G4B4, texels, 2);
    GpuPtr<GpuTexture> texture;
    ASSERT_EQ(device_->CreateTexture(2, 2, 1, 0, GpuFormat::A4R4G4B4, GpuPool::DEFAULT, texture.Receive()),
              kGpuOk);
    GpuPtr<GpuSurface> from, to;
    staging->GetSurfaceLevel(0, from.Receive());
    texture->GetSurfaceLevel(0, to.Receive());
    ASSERT_EQ(device_->CopyRects(from.Get(), to.Get()), kGpuOk);
    staging.Reset();
    from.Reset();
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
    UseTexture(texture.Get());
    Draw(FullQuad(0xFFFFFFFF));
    EXPECT_EQ(Screen(1, 1), 0xFF0000u);
    EXPECT_EQ(Screen(1, kHeight - 2), 0x0000FFu);
}

TEST_F(GlGpuDeviceTest, ResetResizesTheBackBuffer) {
    GpuPresentParameters p = Parameters(window_, 32, 40);
    backBuffer_.Reset();
    depth_.Reset();
    ASSERT_EQ(device_->Reset(&p), kGpuOk);
    EXPECT_EQ(device_->BeginScene(), kGpuOk) << "a reset ends the scene";
    ASSERT_EQ(device_->GetBackBuffer(0, GpuBackBufferType::MONO, backBuffer_.Receive()), kGpuOk);
    GpuSurfaceDesc desc;
    backBuffer_->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 32u);
    EXPECT_EQ(desc.Height, 40u);
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF123456, 1.0f, 0);
    EXPECT_EQ(Screen(31, 39), 0x123456u);
}

TEST_F(GlGpuDeviceTest, NoDeviceOnAWindowWithoutOpenGl) {
    SDL_Window* plain = SDL_CreateWindow("plain", 0, 0, 32, 32, SDL_WINDOW_HIDDEN);
    ASSERT_NE(plain, nullptr);
    GpuPresentParameters p = Parameters(plain, 32, 32);
    GpuDevice* device = reinterpret_cast<GpuDevice*>(1);
    EXPECT_NE(object_->CreateDevice(0, GpuDeviceType::HAL, plain, 0, &p, &device), kGpuOk);
    EXPECT_EQ(device, nullptr);
    SDL_DestroyWindow(plain);
}

TEST_F(GlGpuDeviceTest, ObjectReportsModesFormatsAndOneDeviceType) {
    GpuCaps caps;
    EXPECT_EQ(object_->GetDeviceCaps(0, GpuDeviceType::HAL, &caps), kGpuOk);
    EXPECT_EQ(caps.MaxVertexShaderConst, 256u);
    EXPECT_NE(object_->GetDeviceCaps(0, GpuDeviceType::REF, &caps), kGpuOk);
    EXPECT_EQ(object_->CheckDeviceFormat(0, GpuDeviceType::HAL, GpuFormat::X8R8G8B8, 0,
                                         GpuResourceType::Texture, GpuFormat::A4R4G4B4),
              kGpuOk);
    EXPECT_NE(object_->CheckDeviceFormat(0, GpuDeviceType::HAL, GpuFormat::X8R8G8B8, 0,
                                         GpuResourceType::Texture, GpuFormat::A8R3G3B2),
              kGpuOk);
    EXPECT_EQ(object_->CheckDeviceFormat(0, GpuDeviceType::HAL, GpuFormat::X8R8G8B8, kGpuUsageDepthStencil,
                                         GpuResourceType::Surface, GpuFormat::D16),
              kGpuOk);
    ASSERT_GT(object_->GetAdapterModeCount(0), 0u);
    GpuDisplayMode mode;
    ASSERT_EQ(object_->EnumAdapterModes(0, 0, &mode), kGpuOk);
    EXPECT_EQ(object_->CheckDeviceType(0, GpuDeviceType::HAL, mode.Format, mode.Format, false), kGpuOk);
}

class GlGpuScreenTest : public GlGpuDeviceTest {
  protected:
    void SetUp() override {}
};

// Rotation 3: a portrait 48x64 picture drawn turned into a landscape 64x48
// back buffer appears upright in a portrait window.
TEST_F(GlGpuScreenTest, RotationThreePictureIsUprightInTheWindow) {
    Open(48, 64, 64, 48, 3);
    gl_->KeepWindowPicture(true);
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF000000, 1.0f, 0);
    device_->SetVertexShader(passVs_);
    device_->SetPixelShader(0);
    // The portrait top-left quarter in red, turned by R(3 x 90 degrees): (x, y) -> (y, -x).
    std::vector<Vertex> quad = Quad(-1, 1, 0, 0, 0xFFFF0000);
    for (Vertex& v : quad) {
        float x = v.x, y = v.y;
        v.x = y, v.y = -x;
    }
    Draw(quad);
    ASSERT_EQ(Present(), kGpuOk);
    int width = 0, height = 0;
    const std::vector<uint32_t>& picture = gl_->WindowPicture(width, height);
    ASSERT_EQ(width, 48);
    ASSERT_EQ(height, 64);
    EXPECT_EQ(picture[size_t(4) * width + 4] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(picture[size_t(4) * width + 44] & 0xFFFFFF, 0u);
    EXPECT_EQ(picture[size_t(60) * width + 4] & 0xFFFFFF, 0u);
}

// Full screen as asked, unless MARELDON_WINDOWED=1 keeps the window; the
// picture is turned upright only in a window (a cabinet turns its monitor).
TEST_F(GlGpuScreenTest, WindowModeFollowsTheResetUnlessAWindowIsForced) {
    Open(48, 64, 64, 48, 3);
    gl_->KeepWindowPicture(true);
    struct Case {
        uint32_t windowed;
        const char* forced;
        bool expectWindowed;
    };
    const Case cases[] = {{0, nullptr, false}, {0, "1", true}, {0, "0", false}, {1, nullptr, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.forced ? c.forced : "unset");
        if (c.forced) {
            setenv("MARELDON_WINDOWED", c.forced, 1);
        } else {
            unsetenv("MARELDON_WINDOWED");
        }
        GpuPresentParameters p = Parameters(window_, 64, 48);
        p.Windowed = c.windowed;
        p.ScreenRotation = 3;
        backBuffer_.Reset();
        depth_.Reset();
        ASSERT_EQ(device_->Reset(&p), kGpuOk);
        EXPECT_EQ(gl_->Windowed(), c.expectWindowed);
        ASSERT_EQ(device_->GetBackBuffer(0, GpuBackBufferType::MONO, backBuffer_.Receive()), kGpuOk);
        device_->Clear(kGpuClearTarget, 0xFF000000, 1.0f, 0);
        GpuViewport corner{0, 0, 8, 8, 0.0f, 1.0f};  // the back buffer's top-left corner in red
        device_->SetViewport(&corner);
        device_->Clear(kGpuClearTarget, 0xFFFF0000, 1.0f, 0);
        ASSERT_EQ(Present(), kGpuOk);
        int width = 0, height = 0;
        const std::vector<uint32_t>& picture = gl_->WindowPicture(width, height);
        // Shown as drawn, the corner stays top-left; turned upright (rotation 3
        // put the portrait's bottom-left corner there), it goes to the bottom-left.
        int pictureWidth = c.expectWindowed ? 48 : 64, pictureHeight = c.expectWindowed ? 64 : 48;
        double scale = std::min(double(width) / pictureWidth, double(height) / pictureHeight);
        int shownWidth = int(std::lround(pictureWidth * scale)),
            shownHeight = int(std::lround(pictureHeight * scale));
        int left = (width - shownWidth) / 2, top = (height - shownHeight) / 2;
        int y = c.expectWindowed ? top + shownHeight - 2 : top + 1;
        EXPECT_EQ(picture[size_t(y) * width + left + 1] & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(picture[size_t(height - 1 - y) * width + left + 1] & 0xFFFFFF, 0u);
    }
    unsetenv("MARELDON_WINDOWED");
}

TEST_F(GlGpuScreenTest, CaptureWritesThePresentedFrame) {
    std::string path = ::testing::TempDir() + "gl_capture.png";
    std::remove(path.c_str());
    std::string request = "2:" + path;
    setenv("MARELDON_CAPTURE", request.c_str(), 1);
    Open(kWidth, kHeight, kWidth, kHeight, 0);
    unsetenv("MARELDON_CAPTURE");
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF00FF00, 1.0f, 0);
    Present();
    FILE* file = std::fopen(path.c_str(), "rb");
    EXPECT_EQ(file, nullptr) << "written one frame early";
    if (file) {
        std::fclose(file);
    }
    device_->Clear(kGpuClearTarget | kGpuClearZBuffer, 0xFF00FF00, 1.0f, 0);
    Present();
    file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    unsigned char signature[8] = {};
    EXPECT_EQ(std::fread(signature, 1, 8, file), 8u);
    std::fclose(file);
    EXPECT_EQ(std::memcmp(signature, "\x89PNG\r\n\x1a\n", 8), 0);
    std::remove(path.c_str());
}

}  // namespace
}  // namespace mareldon
