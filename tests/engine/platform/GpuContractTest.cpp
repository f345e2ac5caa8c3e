// One table of the device contract's cases, run against every backend: the
// recording backend, and GL on an offscreen window.
#include "engine/platform/GpuContract.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <functional>
#include <ostream>
#include <tuple>
#include <vector>

#include "engine/platform/GpuObject.h"
#include "engine/platform/gl/GlGpu.h"
#include "engine/platform/recording/RecordingGpu.h"

namespace mareldon {
namespace {

constexpr GpuResult kOk = kGpuOk;
constexpr GpuResult kInvalid = kGpuErrorInvalidCall;

// Position, colour and texture coordinate: 40 bytes, as the declaration reads them.
const uint32_t kDeclaration[] = {kGpuDeclStream0, GpuDeclRegister(kGpuDeclFloat4, 0),
                                 GpuDeclRegister(kGpuDeclFloat4, 1), GpuDeclRegister(kGpuDeclFloat2, 2),
                                 kGpuDeclEnd};
constexpr uint32_t kStride = 40;
constexpr uint32_t kVertices = 64;
// vs.1.1 "mov oPos, v0 / mov oD0, v1" and ps.1.1 "mov r0, v0" (see docs/shader-tokens.md).
const uint32_t kVertexCode[] = {GpuVertexShaderVersion(1, 1),
                                0x00000001,
                                0xC00F0000,
                                0x90E40000,
                                0x00000001,
                                0xD00F0000,
                                0x90E40001,
                                kGpuShaderEndToken};
const uint32_t kPixelCode[] = {GpuPixelShaderVersion(1, 1), 0x00000001, 0x800F0000, 0x90E40000,
                               kGpuShaderEndToken};

enum class Backend { Recording, Gl };

// A device of one backend, made fresh for each case: windowed 64x48 with a
// 16-bit depth buffer, and the helpers the cases share.
class ContractDevice {
  public:
    explicit ContractDevice(Backend backend) {
        GpuPresentParameters p = Parameters(kWidth, kHeight);
        if (backend == Backend::Gl) {
            window_ =
                SDL_CreateWindow("contract", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
            p.hDeviceWindow = window_;
            GlGpuBackend gl;
            object_.Reset(gl.CreateObject(kGpuSdkVersion));
        } else {
            object_.Reset(recording_.CreateObject(kGpuSdkVersion));
        }
        if (object_) {
            object_->CreateDevice(0, GpuDeviceType::HAL, window_, kGpuCreateHardwareVertexProcessing, &p,
                                  device_.Receive());
        }
    }
    ~ContractDevice() {
        device_.Reset();
        object_.Reset();
        if (window_) {
            SDL_DestroyWindow(window_);
        }
    }
    ContractDevice(const ContractDevice&) = delete;
    ContractDevice& operator=(const ContractDevice&) = delete;

    static constexpr uint32_t kWidth = 64, kHeight = 48;

    bool Made() const { return static_cast<bool>(device_); }
    GpuDevice* operator->() { return device_.Get(); }

    GpuPresentParameters Parameters(uint32_t width, uint32_t height) const {
        GpuPresentParameters p;
        p.BackBufferWidth = width;
        p.BackBufferHeight = height;
        p.BackBufferFormat = GpuFormat::X8R8G8B8;
        p.BackBufferCount = 1;
        p.hDeviceWindow = window_;
        p.Windowed = 1;
        p.EnableAutoDepthStencil = 1;
        p.AutoDepthStencilFormat = GpuFormat::D16;
        return p;
    }

    GpuPtr<GpuTexture> Texture(uint32_t width, uint32_t height, uint32_t levels = 1, uint32_t usage = 0,
                               GpuFormat format = GpuFormat::A8R8G8B8, GpuPool pool = GpuPool::MANAGED) {
        GpuPtr<GpuTexture> texture;
        EXPECT_EQ(device_->CreateTexture(width, height, levels, usage, format, pool, texture.Receive()), kOk);
        return texture;
    }
    GpuPtr<GpuSurface> Level(GpuTexture* texture, uint32_t level = 0) {
        GpuPtr<GpuSurface> surface;
        EXPECT_EQ(texture->GetSurfaceLevel(level, surface.Receive()), kOk);
        return surface;
    }
    GpuPtr<GpuSurface> BackBuffer() {
        GpuPtr<GpuSurface> surface;
        EXPECT_EQ(device_->GetBackBuffer(0, GpuBackBufferType::MONO, surface.Receive()), kOk);
        return surface;
    }
    GpuPtr<GpuBuffer> Buffer(uint32_t length, GpuFormat format = GpuFormat::Unknown) {
        GpuPtr<GpuBuffer> buffer;
        GpuResult made = format == GpuFormat::Unknown
                             ? device_->CreateVertexBuffer(length, kGpuUsageWriteOnly, 0, GpuPool::DEFAULT,
                                                           buffer.Receive())
                             : device_->CreateIndexBuffer(length, kGpuUsageWriteOnly, format,
                                                          GpuPool::DEFAULT, buffer.Receive());
        EXPECT_EQ(made, kOk);
        return buffer;
    }
    // An index buffer filled with the values (4 or 2 bytes each).
    template <class Index>
    GpuPtr<GpuBuffer> Indices(const std::vector<Index>& values) {
        uint32_t length = uint32_t(values.size() * sizeof(Index));
        GpuPtr<GpuBuffer> buffer =
            Buffer(length, sizeof(Index) == 4 ? GpuFormat::INDEX32 : GpuFormat::INDEX16);
        uint8_t* bytes = nullptr;
        EXPECT_EQ(buffer->Lock(0, 0, &bytes, 0), kOk);
        std::memcpy(bytes, values.data(), length);
        EXPECT_EQ(buffer->Unlock(), kOk);
        return buffer;
    }
    uint32_t VertexShader(const uint32_t* declaration = kDeclaration, const uint32_t* code = kVertexCode) {
        uint32_t handle = 0;
        device_->CreateVertexShader(declaration, code, &handle, 0);
        return handle;
    }
    uint32_t PixelShader(const uint32_t* code = kPixelCode) {
        uint32_t handle = 0;
        device_->CreatePixelShader(code, &handle);
        return handle;
    }

    // Inside a scene, with the vertex shader and a stream of 64 vertices set.
    void ReadyToDraw() {
        stream_ = Buffer(kVertices * kStride);
        device_->SetVertexShader(VertexShader());
        device_->SetPixelShader(PixelShader());
        device_->SetStreamSource(0, stream_.Get(), kStride);
        device_->BeginScene();
    }
    // Ready to draw, and indices set with a base vertex.
    void ReadyToDrawIndexed(GpuPtr<GpuBuffer> indices, uint32_t baseVertex) {
        ReadyToDraw();
        indices_ = std::move(indices);
        device_->SetIndices(indices_.Get(), baseVertex);
    }
    GpuResult DrawIndexed(uint32_t startIndex, uint32_t triangles) {
        return device_->DrawIndexedPrimitive(GpuPrimitiveType::TRIANGLELIST, 0, kVertices, startIndex,
                                             triangles);
    }

  private:
    RecordingGpu recording_;
    SDL_Window* window_ = nullptr;
    GpuPtr<GpuObject> object_;
    GpuPtr<GpuDevice> device_;
    GpuPtr<GpuBuffer> stream_, indices_;
};

// 192 indices of zero but index 100, which is 63: the last of the 64
// vertices. Ranges of them cover whole blocks of 64 and parts of blocks.
std::vector<uint32_t> WideIndices() {
    std::vector<uint32_t> values(192, 0);
    values[100] = 63;
    return values;
}

GpuResult LockWith(GpuSurface* surface, const GpuRect* rect) {
    GpuLockedRect locked;
    return surface->LockRect(&locked, rect, 0);
}

struct ContractCase {
    const char* name;
    // The answer the case compares: a call's result, or a count or size.
    std::function<uint32_t(ContractDevice&)> call;
    uint32_t expected;
};

using D = ContractDevice&;

const ContractCase kCases[] = {
    // Scenes.
    {"BeginSceneInsideAScene", [](D d) { return d->BeginScene(), d->BeginScene(); }, kInvalid},
    {"EndSceneOutsideAScene", [](D d) { return d->EndScene(); }, kInvalid},
    {"PresentInsideAScene", [](D d) { return d->BeginScene(), d->Present(); }, kInvalid},
    {"PresentAfterTheScene", [](D d) { return d->BeginScene(), d->EndScene(), d->Present(); }, kOk},
    {"ResetEndsTheScene",
     [](D d) {
         GpuPresentParameters p = d.Parameters(32, 40);
         d->BeginScene();
         EXPECT_EQ(d->Reset(&p), kOk);
         return d->BeginScene();
     },
     kOk},

    // Present parameters and the swap chain.
    {"ResetWithoutParameters", [](D d) { return d->Reset(nullptr); }, kInvalid},
    {"ResetToAnEmptyBackBuffer",
     [](D d) {
         GpuPresentParameters p = d.Parameters(0, 48);
         return d->Reset(&p);
     },
     kInvalid},
    {"ResetBeyondTheLargestSurface",
     [](D d) {
         GpuPresentParameters p = d.Parameters(kGpuMaxSurfaceSize + 1, 48);
         return d->Reset(&p);
     },
     kInvalid},
    {"ResetResizesTheBackBuffer",
     [](D d) {
         GpuPresentParameters p = d.Parameters(32, 40);
         EXPECT_EQ(d->Reset(&p), kOk);
         GpuSurfaceDesc desc;
         d.BackBuffer()->GetDesc(&desc);
         return desc.Width * 1000 + desc.Height;
     },
     32040},
    {"SecondBackBuffer",
     [](D d) {
         GpuSurface* surface = nullptr;
         return d->GetBackBuffer(1, GpuBackBufferType::MONO, &surface);
     },
     kInvalid},
    {"DepthSurfaceIntoNothing", [](D d) { return d->GetDepthStencilSurface(nullptr); }, kInvalid},
    {"NoDepthSurfaceWithoutAutomaticDepth",
     [](D d) {
         GpuPresentParameters p = d.Parameters(64, 48);
         p.EnableAutoDepthStencil = 0;
         EXPECT_EQ(d->Reset(&p), kOk);
         GpuSurface* surface = nullptr;
         return d->GetDepthStencilSurface(&surface);
     },
     kGpuErrorNotAvailable},

    // Textures: sizes, formats, pools, level chains.
    {"TextureIntoNothing",
     [](D d) { return d->CreateTexture(4, 4, 1, 0, GpuFormat::A8R8G8B8, GpuPool::MANAGED, nullptr); },
     kInvalid},
    {"TextureOfNoWidth",
     [](D d) {
         GpuPtr<GpuTexture> t;
         return d->CreateTexture(0, 4, 1, 0, GpuFormat::A8R8G8B8, GpuPool::MANAGED, t.Receive());
     },
     kInvalid},
    {"TextureAtTheLargestSide",
     [](D d) {
         GpuPtr<GpuTexture> t;
         return d->CreateTexture(kGpuMaxTextureSize, 1, 1, 0, GpuFormat::A8, GpuPool::MANAGED, t.Receive());
     },
     kOk},
    {"TextureWiderThanTheLargestSide",
     [](D d) {
         GpuPtr<GpuTexture> t;
         return d->CreateTexture(kGpuMaxTextureSize + 1, 1, 1, 0, GpuFormat::A8, GpuPool::MANAGED,
                                 t.Receive());
     },
     kInvalid},
    {"TextureTallerThanTheLargestSide",
     [](D d) {
         GpuPtr<GpuTexture> t;
         return d->CreateTexture(1, kGpuMaxTextureSize + 1, 1, 0, GpuFormat::A8, GpuPool::MANAGED,
                                 t.Receive());
     },
     kInvalid},
    {"TextureOfADepthFormat",
     [](D d) {
         GpuPtr<GpuTexture> t;
         return d->CreateTexture(4, 4, 1, 0, GpuFormat::D16, GpuPool::MANAGED, t.Receive());
     },
     kInvalid},
    {"TextureOfAnIndexFormat",
     [](D d) {
         GpuPtr<GpuTexture> t;
         return d->CreateTexture(4, 4, 1, 0, GpuFormat::INDEX16, GpuPool::MANAGED, t.Receive());
     },
     kInvalid},
    {"TextureOfNoFormat",
     [](D d) {
         GpuPtr<GpuTexture> t;
         return d->CreateTexture(4, 4, 1, 0, GpuFormat::Unknown, GpuPool::MANAGED, t.Receive());
     },
     kInvalid},
    {"RenderTargetTextureOutsideTheDefaultPool",
     [](D d) {
         GpuPtr<GpuTexture> t;
         return d->CreateTexture(4, 4, 1, kGpuUsageRenderTarget, GpuFormat::A8R8G8B8, GpuPool::MANAGED,
                                 t.Receive());
     },
     kInvalid},
    {"LevelsZeroGiveTheFullChain", [](D d) { return d.Texture(8, 4, 0)->GetLevelCount(); }, 4},
    {"LevelsBeyondTheChainStopAtOneByOne", [](D d) { return d.Texture(8, 4, 9)->GetLevelCount(); }, 4},
    {"LevelsAsAsked", [](D d) { return d.Texture(8, 4, 2)->GetLevelCount(); }, 2},
    {"LevelSidesHalveButNotBelowOne",
     [](D d) {
         GpuPtr<GpuTexture> t = d.Texture(8, 4, 0);
         GpuSurfaceDesc two, three;
         t->GetLevelDesc(2, &two);
         t->GetLevelDesc(3, &three);
         return two.Width * 1000 + two.Height * 100 + three.Width * 10 + three.Height;
     },
     2111},
    {"LevelBeyondTheChain",
     [](D d) {
         GpuPtr<GpuTexture> t = d.Texture(8, 4, 0);
         GpuSurfaceDesc desc;
         GpuPtr<GpuSurface> surface;
         GpuLockedRect locked;
         EXPECT_EQ(t->GetSurfaceLevel(4, surface.Receive()), kInvalid);
         EXPECT_EQ(t->LockRect(4, &locked, nullptr, 0), kInvalid);
         return t->GetLevelDesc(4, &desc);
     },
     kInvalid},

    // Surfaces.
    {"RenderTargetOfNoSize",
     [](D d) {
         GpuPtr<GpuSurface> s;
         return d->CreateRenderTarget(0, 0, GpuFormat::A8R8G8B8, GpuMultisample::NONE, false, s.Receive());
     },
     kInvalid},
    {"RenderTargetBeyondTheLargestSurface",
     [](D d) {
         GpuPtr<GpuSurface> s;
         return d->CreateRenderTarget(kGpuMaxSurfaceSize + 1, 4, GpuFormat::A8R8G8B8, GpuMultisample::NONE,
                                      false, s.Receive());
     },
     kInvalid},
    {"RenderTargetOfADepthFormat",
     [](D d) {
         GpuPtr<GpuSurface> s;
         return d->CreateRenderTarget(4, 4, GpuFormat::D16, GpuMultisample::NONE, false, s.Receive());
     },
     kInvalid},
    {"DepthSurfaceOfAColourFormat",
     [](D d) {
         GpuPtr<GpuSurface> s;
         return d->CreateDepthStencilSurface(4, 4, GpuFormat::A8R8G8B8, GpuMultisample::NONE, s.Receive());
     },
     kInvalid},
    {"DepthSurface",
     [](D d) {
         GpuPtr<GpuSurface> s;
         return d->CreateDepthStencilSurface(16, 16, GpuFormat::D16, GpuMultisample::NONE, s.Receive());
     },
     kOk},
    {"ImageSurfaceOfADepthFormat",
     [](D d) {
         GpuPtr<GpuSurface> s;
         return d->CreateImageSurface(4, 4, GpuFormat::D16, s.Receive());
     },
     kInvalid},
    {"ImageSurfaceIntoNothing", [](D d) { return d->CreateImageSurface(4, 4, GpuFormat::A8R8G8B8, nullptr); },
     kInvalid},

    // Locks of surfaces and texture levels.
    {"TextureLevelLocks", [](D d) { return LockWith(d.Level(d.Texture(4, 2).Get()).Get(), nullptr); }, kOk},
    {"LockedTwice",
     [](D d) {
         GpuPtr<GpuSurface> s = d.Level(d.Texture(4, 2).Get());
         EXPECT_EQ(LockWith(s.Get(), nullptr), kOk);
         return LockWith(s.Get(), nullptr);
     },
     kInvalid},
    {"UnlockedWithoutALock", [](D d) { return d.Texture(4, 2)->UnlockRect(0); }, kInvalid},
    {"LockReachingOutside",
     [](D d) {
         GpuRect outside{2, 0, 5, 1};
         return LockWith(d.Level(d.Texture(4, 2).Get()).Get(), &outside);
     },
     kInvalid},
    {"LockOfAnEmptyRectangle",
     [](D d) {
         GpuRect empty{1, 1, 1, 2};
         return LockWith(d.Level(d.Texture(4, 2).Get()).Get(), &empty);
     },
     kInvalid},
    {"LockFromANegativeCorner",
     [](D d) {
         GpuRect negative{-1, 0, 2, 1};
         return LockWith(d.Level(d.Texture(4, 2).Get()).Get(), &negative);
     },
     kInvalid},
    {"LockedRectangleStartsAtItsCorner",
     [](D d) {
         const uint16_t texels[] = {1, 2, 3, 4, 5, 6, 7, 8};
         GpuPtr<GpuTexture> t = d.Texture(4, 2, 1, 0, GpuFormat::A4R4G4B4);
         GpuLockedRect locked;
         EXPECT_EQ(t->LockRect(0, &locked, nullptr, 0), kOk);
         for (int y = 0; y < 2; ++y) {
             std::memcpy(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch, texels + y * 4, 8);
         }
         EXPECT_EQ(t->UnlockRect(0), kOk);
         GpuRect rect{1, 1, 3, 2};
         EXPECT_EQ(t->LockRect(0, &locked, &rect, 0), kOk);
         uint16_t first = static_cast<uint16_t*>(locked.pBits)[0];
         t->UnlockRect(0);
         return uint32_t{first};
     },
     6},
    {"RenderTargetTextureLevelsDoNotLock",
     [](D d) {
         GpuPtr<GpuTexture> t =
             d.Texture(4, 4, 1, kGpuUsageRenderTarget, GpuFormat::A8R8G8B8, GpuPool::DEFAULT);
         return LockWith(d.Level(t.Get()).Get(), nullptr);
     },
     kInvalid},
    {"RenderTargetsDoNotLockEvenAskedLockable",
     [](D d) {
         GpuPtr<GpuSurface> s;
         EXPECT_EQ(d->CreateRenderTarget(4, 4, GpuFormat::A8R8G8B8, GpuMultisample::NONE, true, s.Receive()),
                   kOk);
         return LockWith(s.Get(), nullptr);
     },
     kInvalid},
    {"BackBufferDoesNotLock", [](D d) { return LockWith(d.BackBuffer().Get(), nullptr); }, kInvalid},
    {"DepthSurfaceDoesNotLock",
     [](D d) {
         GpuPtr<GpuSurface> s;
         EXPECT_EQ(d->GetDepthStencilSurface(s.Receive()), kOk);
         return LockWith(s.Get(), nullptr);
     },
     kInvalid},
    {"ImageSurfaceLocks",
     [](D d) {
         GpuPtr<GpuSurface> s;
         EXPECT_EQ(d->CreateImageSurface(4, 4, GpuFormat::A8R8G8B8, s.Receive()), kOk);
         return LockWith(s.Get(), nullptr);
     },
     kOk},

    // Copies.
    {"CopyIntoADefaultPoolTexture",
     [](D d) {
         GpuPtr<GpuTexture> staging = d.Texture(2, 2, 1, 0, GpuFormat::A4R4G4B4);
         GpuLockedRect locked;
         EXPECT_EQ(staging->LockRect(0, &locked, nullptr, 0), kOk);
         EXPECT_EQ(staging->UnlockRect(0), kOk);
         GpuPtr<GpuTexture> texture = d.Texture(2, 2, 1, 0, GpuFormat::A4R4G4B4, GpuPool::DEFAULT);
         return d->CopyRects(d.Level(staging.Get()).Get(), d.Level(texture.Get()).Get());
     },
     kOk},
    {"CopyBetweenFormats",
     [](D d) {
         GpuPtr<GpuTexture> from = d.Texture(2, 2, 1, 0, GpuFormat::A4R4G4B4);
         GpuPtr<GpuTexture> to = d.Texture(2, 2, 1, 0, GpuFormat::A8R8G8B8, GpuPool::DEFAULT);
         return d->CopyRects(d.Level(from.Get()).Get(), d.Level(to.Get()).Get());
     },
     kInvalid},
    {"CopyFromALockedSurface",
     [](D d) {
         GpuPtr<GpuSurface> from = d.Level(d.Texture(2, 2).Get());
         GpuPtr<GpuSurface> to = d.Level(d.Texture(2, 2, 1, 0, GpuFormat::A8R8G8B8, GpuPool::DEFAULT).Get());
         EXPECT_EQ(LockWith(from.Get(), nullptr), kOk);
         return d->CopyRects(from.Get(), to.Get());
     },
     kInvalid},
    {"CopyToNothing", [](D d) { return d->CopyRects(d.Level(d.Texture(2, 2).Get()).Get(), nullptr); },
     kInvalid},

    // Buffers.
    {"VertexBufferOfNoBytes",
     [](D d) {
         GpuPtr<GpuBuffer> b;
         return d->CreateVertexBuffer(0, kGpuUsageWriteOnly, 0, GpuPool::DEFAULT, b.Receive());
     },
     kInvalid},
    {"IndexBufferOfAColourFormat",
     [](D d) {
         GpuPtr<GpuBuffer> b;
         return d->CreateIndexBuffer(12, kGpuUsageWriteOnly, GpuFormat::A8R8G8B8, GpuPool::DEFAULT,
                                     b.Receive());
     },
     kInvalid},
    {"BufferLockedWhole",
     [](D d) {
         uint8_t* bytes = nullptr;
         return d.Buffer(64)->Lock(0, 0, &bytes, 0);
     },
     kOk},
    {"BufferLockedToItsEnd",
     [](D d) {
         uint8_t* bytes = nullptr;
         return d.Buffer(64)->Lock(56, 8, &bytes, 0);
     },
     kOk},
    {"BufferLockedPastItsEnd",
     [](D d) {
         uint8_t* bytes = nullptr;
         return d.Buffer(64)->Lock(60, 8, &bytes, 0);
     },
     kInvalid},
    {"BufferLockedTwice",
     [](D d) {
         GpuPtr<GpuBuffer> b = d.Buffer(64);
         uint8_t* bytes = nullptr;
         EXPECT_EQ(b->Lock(0, 0, &bytes, 0), kOk);
         return b->Lock(0, 0, &bytes, 0);
     },
     kInvalid},
    {"BufferUnlockedWithoutALock", [](D d) { return d.Buffer(64)->Unlock(); }, kInvalid},

    // Shaders.
    {"VertexShader", [](D d) { return uint32_t{d.VertexShader() != 0}; }, 1},
    {"RefusedShaderGetsNoHandle",
     [](D d) {
         uint32_t handle = 7;
         EXPECT_EQ(d->CreatePixelShader(kVertexCode, &handle), kInvalid);
         return handle;
     },
     0},
    {"DeclarationOfStreamOne",
     [](D d) {
         const uint32_t declaration[] = {0x20000001, GpuDeclRegister(kGpuDeclFloat4, 0), kGpuDeclEnd};
         return d.VertexShader(declaration);
     },
     0},
    {"DeclarationTypeBeyondShort4",
     [](D d) {
         const uint32_t declaration[] = {kGpuDeclStream0, GpuDeclRegister(8, 0), kGpuDeclEnd};
         return d.VertexShader(declaration);
     },
     0},
    {"DeclarationRegisterBeyondV15",
     [](D d) {
         const uint32_t declaration[] = {kGpuDeclStream0, GpuDeclRegister(kGpuDeclFloat4, 16), kGpuDeclEnd};
         return d.VertexShader(declaration);
     },
     0},
    {"DeclarationWithoutAnEnd",
     [](D d) {
         std::vector<uint32_t> declaration(kGpuMaxDeclarationTokens, kGpuDeclStream0);
         declaration.push_back(kGpuDeclEnd);
         return d.VertexShader(declaration.data());
     },
     0},
    {"PixelCodeAsAVertexShader", [](D d) { return d.VertexShader(kDeclaration, kPixelCode); }, 0},
    {"VertexCodeAsAPixelShader", [](D d) { return d.PixelShader(kVertexCode); }, 0},
    {"PixelShaderNewerThanTheDevice",
     [](D d) {
         const uint32_t code[] = {GpuPixelShaderVersion(1, 4), 0x00000001, 0x800F0000, 0x90E40000,
                                  kGpuShaderEndToken};
         return d.PixelShader(code);
     },
     0},
    {"CodeWithoutAnEnd",
     [](D d) {
         std::vector<uint32_t> code(kGpuMaxShaderTokens + 1, 0);
         code[0] = GpuVertexShaderVersion(1, 1);
         code.back() = kGpuShaderEndToken;
         return d.VertexShader(kDeclaration, code.data());
     },
     0},
    {"DeleteAnUnknownVertexShader", [](D d) { return d->DeleteVertexShader(99); }, kInvalid},
    {"DeleteAPixelShaderAsAVertexShader",
     [](D d) {
         uint32_t pixel = d.PixelShader();
         EXPECT_NE(pixel, 0u);
         return d->DeleteVertexShader(pixel);
     },
     kInvalid},

    // States.
    {"RenderStateBeyondTheLast", [](D d) { return d->SetRenderState(GpuRenderState::Count, 0); }, kInvalid},
    {"StageStateOnTheLastStage",
     [](D d) {
         return d->SetTextureStageState(kGpuTextureStages - 1, GpuTextureStageState::MAGFILTER,
                                        gpu::TEXF_LINEAR);
     },
     kOk},
    {"StageStateBeyondTheStages",
     [](D d) {
         return d->SetTextureStageState(kGpuTextureStages, GpuTextureStageState::MAGFILTER, gpu::TEXF_LINEAR);
     },
     kInvalid},
    {"StageStateBeyondTheLast",
     [](D d) { return d->SetTextureStageState(0, GpuTextureStageState::Count, 0); }, kInvalid},
    {"TextureBeyondTheStages", [](D d) { return d->SetTexture(kGpuTextureStages, nullptr); }, kInvalid},
    {"EveryVertexConstantOfTheDevice",
     [](D d) {
         std::vector<float> c(256 * 4, 0.0f);
         return d->SetVertexShaderConstant(0, c.data(), 256);
     },
     kOk},
    {"VertexConstantsPastTheDevicesRegisters",
     [](D d) {
         std::vector<float> c(7 * 4, 0.0f);
         return d->SetVertexShaderConstant(250, c.data(), 7);
     },
     kInvalid},
    {"VertexConstantsFromNothing", [](D d) { return d->SetVertexShaderConstant(0, nullptr, 1); }, kInvalid},
    {"EveryPixelConstant",
     [](D d) {
         std::vector<float> c(8 * 4, 0.0f);
         return d->SetPixelShaderConstant(0, c.data(), 8);
     },
     kOk},
    {"PixelConstantsPastTheEighth",
     [](D d) {
         std::vector<float> c(5 * 4, 0.0f);
         return d->SetPixelShaderConstant(4, c.data(), 5);
     },
     kInvalid},
    {"NoViewport", [](D d) { return d->SetViewport(nullptr); }, kInvalid},
    {"EmptyViewport",
     [](D d) {
         GpuViewport empty{8, 4, 0, 0, 0.0f, 1.0f};
         return d->SetViewport(&empty);
     },
     kOk},
    {"ViewportBeyondAnySurface",
     [](D d) {
         GpuViewport huge{0, 0, 0x80000000u, 4, 0.0f, 1.0f};
         return d->SetViewport(&huge);
     },
     kInvalid},
    {"RenderTargetTextureAsTarget",
     [](D d) {
         GpuPtr<GpuTexture> t =
             d.Texture(4, 4, 1, kGpuUsageRenderTarget, GpuFormat::A8R8G8B8, GpuPool::DEFAULT);
         return d->SetRenderTarget(d.Level(t.Get()).Get(), nullptr);
     },
     kOk},
    {"PlainTextureAsTarget",
     [](D d) {
         return d->SetRenderTarget(
             d.Level(d.Texture(4, 4, 1, 0, GpuFormat::A8R8G8B8, GpuPool::DEFAULT).Get()).Get(), nullptr);
     },
     kInvalid},
    {"ImageSurfaceAsTarget",
     [](D d) {
         GpuPtr<GpuSurface> s;
         EXPECT_EQ(d->CreateImageSurface(4, 4, GpuFormat::A8R8G8B8, s.Receive()), kOk);
         return d->SetRenderTarget(s.Get(), nullptr);
     },
     kInvalid},
    {"NoColourTargetKeepsTheCurrentOne",
     [](D d) {
         GpuPtr<GpuSurface> depth;
         EXPECT_EQ(d->GetDepthStencilSurface(depth.Receive()), kOk);
         return d->SetRenderTarget(nullptr, depth.Get());
     },
     kOk},
    {"StreamOne", [](D d) { return d->SetStreamSource(1, d.Buffer(64).Get(), 16); }, kInvalid},

    // Draws.
    {"DrawOutsideAScene",
     [](D d) {
         d.ReadyToDraw();
         d->EndScene();
         return d->DrawPrimitive(GpuPrimitiveType::TRIANGLELIST, 0, 1);
     },
     kInvalid},
    {"DrawToTheLastVertex",
     [](D d) { return d.ReadyToDraw(), d->DrawPrimitive(GpuPrimitiveType::TRIANGLELIST, 61, 1); }, kOk},
    {"DrawPastTheLastVertex",
     [](D d) { return d.ReadyToDraw(), d->DrawPrimitive(GpuPrimitiveType::TRIANGLELIST, 62, 1); }, kInvalid},
    {"StripPastTheLastVertex",
     [](D d) { return d.ReadyToDraw(), d->DrawPrimitive(GpuPrimitiveType::TRIANGLESTRIP, 0, 63); }, kInvalid},
    {"DrawOfNoPrimitives",
     [](D d) { return d.ReadyToDraw(), d->DrawPrimitive(GpuPrimitiveType::TRIANGLELIST, 1000, 0); }, kOk},
    {"DrawWithoutAVertexShaderDrawsNothing",
     [](D d) {
         d.ReadyToDraw();
         d->SetVertexShader(0);
         return d->DrawPrimitive(GpuPrimitiveType::TRIANGLELIST, 1000, 1);
     },
     kOk},
    {"DrawOfStrideZeroDrawsNothing",
     [](D d) {
         d.ReadyToDraw();
         d->SetStreamSource(0, d.Buffer(64).Get(), 0);
         return d->DrawPrimitive(GpuPrimitiveType::TRIANGLELIST, 1000, 1);
     },
     kOk},
    {"IndexedDrawOutsideAScene",
     [](D d) {
         d.ReadyToDrawIndexed(d.Buffer(12, GpuFormat::INDEX16), 0);
         d->EndScene();
         return d.DrawIndexed(0, 1);
     },
     kInvalid},
    {"IndexedDrawWithoutIndicesDrawsNothing",
     [](D d) {
         d.ReadyToDraw();
         return d.DrawIndexed(1000, 1);
     },
     kOk},
    {"IndexedDrawToTheLastIndex",
     [](D d) { return d.ReadyToDrawIndexed(d.Indices(std::vector<uint16_t>(6, 0)), 0), d.DrawIndexed(0, 2); },
     kOk},
    {"IndexedDrawPastTheLastIndex",
     [](D d) { return d.ReadyToDrawIndexed(d.Indices(std::vector<uint16_t>(6, 0)), 0), d.DrawIndexed(3, 2); },
     kInvalid},
    {"IndicesToTheLastVertex",
     [](D d) { return d.ReadyToDrawIndexed(d.Indices(WideIndices()), 0), d.DrawIndexed(0, 64); }, kOk},
    {"IndicesAndBaseToTheLastVertex",
     [](D d) { return d.ReadyToDrawIndexed(d.Indices(WideIndices()), 1), d.DrawIndexed(0, 32); }, kOk},
    {"IndicesAndBasePastTheLastVertex",
     [](D d) { return d.ReadyToDrawIndexed(d.Indices(WideIndices()), 1), d.DrawIndexed(0, 64); }, kInvalid},
    {"IndicesPastTheLastVertexWithinABlock",
     [](D d) { return d.ReadyToDrawIndexed(d.Indices(WideIndices()), 1), d.DrawIndexed(96, 32); }, kInvalid},
    {"IndicesAfterTheLargestOne",
     [](D d) { return d.ReadyToDrawIndexed(d.Indices(WideIndices()), 1), d.DrawIndexed(102, 30); }, kOk},
    {"LastIndicesOfTheBuffer",
     [](D d) { return d.ReadyToDrawIndexed(d.Indices(WideIndices()), 0), d.DrawIndexed(189, 1); }, kOk},
    {"IndexRewrittenPastTheLastVertex",
     [](D d) {
         GpuPtr<GpuBuffer> indices = d.Indices(WideIndices());
         uint8_t* bytes = nullptr;
         const uint32_t past = 70;
         EXPECT_EQ(indices->Lock(191 * 4, 4, &bytes, 0), kOk);
         std::memcpy(bytes, &past, 4);
         EXPECT_EQ(indices->Unlock(), kOk);
         d.ReadyToDrawIndexed(indices, 0);
         return d.DrawIndexed(189, 1);
     },
     kInvalid},
};

void PrintTo(Backend backend, std::ostream* out) {
    *out << (backend == Backend::Gl ? "GL" : "recording");
}
void PrintTo(const ContractCase& contractCase, std::ostream* out) {
    *out << contractCase.name;
}

class GpuContractTest : public ::testing::TestWithParam<std::tuple<Backend, ContractCase>> {
  protected:
    // SDL video and the GL library stay loaded to the end: unloading the
    // driver would leave its lifetime allocations unattributable for the
    // leak checker.
    static void SetUpTestSuite() {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_EQ(SDL_GL_LoadLibrary(nullptr), 0) << SDL_GetError();
    }
};

TEST_P(GpuContractTest, GivesTheContractsAnswer) {
    const auto& [backend, contractCase] = GetParam();
    ContractDevice device(backend);
    ASSERT_TRUE(device.Made());
    EXPECT_EQ(contractCase.call(device), contractCase.expected);
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<Backend, ContractCase>>& info) {
    return std::string(std::get<0>(info.param) == Backend::Gl ? "Gl_" : "Recording_") +
           std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(Backends, GpuContractTest,
                         ::testing::Combine(::testing::Values(Backend::Recording, Backend::Gl),
                                            ::testing::ValuesIn(kCases)),
                         CaseName);

}  // namespace
}  // namespace mareldon
