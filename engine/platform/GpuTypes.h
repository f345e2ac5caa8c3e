#pragma once

#include <cstdint>

// Values and records of the graphics device layer. The layer is shaped after the
// calls the graphics device makes (object, device, textures, surfaces, buffers,
// shader handles); the call names stay recognisable so a recorded call log reads
// like the device code. Where the device sends an engine enumeration as index + 1,
// the constants below carry those numbers.
namespace mareldon {

using GpuResult = uint32_t;

constexpr GpuResult kGpuOk = 0;
constexpr GpuResult kGpuErrorDeviceLost = 0x88760868;
constexpr GpuResult kGpuErrorDeviceNotReset = 0x88760869;
constexpr GpuResult kGpuErrorNotAvailable = 0x8876086A;
constexpr GpuResult kGpuErrorInvalidCall = 0x8876086C;
constexpr GpuResult kGpuErrorOutOfMemory = 0x8007000E;
// The graphics device's creation error when no object could be made.
constexpr GpuResult kGpuErrorNoObject = 0x80000001;

inline bool GpuFailed(GpuResult r) {
    return (r & 0x80000000u) != 0;
}

// The version the device asks the object for.
constexpr uint32_t kGpuSdkVersion = 220;

// Opaque native window (the SDL backend passes an SDL_Window*).
using GpuWindowHandle = void*;

enum class GpuFormat : uint32_t {
    Unknown = 0,
    A8R8G8B8,
    X8R8G8B8,
    R5G6B5,
    X1R5G5B5,
    A1R5G5B5,
    A4R4G4B4,
    A8R3G3B2,
    X4R4G4B4,
    A8,
    D16,
    D16_LOCKABLE,
    D15S1,
    D24S8,
    D24X4S4,
    D32,
    D24X8,
    INDEX16,
    INDEX32,
};
// Bytes per pixel (or index) of a format; 0 for Unknown.
uint32_t GpuFormatSize(GpuFormat format);
enum class GpuFormatClass : uint8_t { None, Colour, Depth, Index };
GpuFormatClass GpuFormatClassOf(GpuFormat format);
// Size of a mip level: halved per level, never below 1.
constexpr uint32_t GpuLevelSize(uint32_t size, uint32_t level) {
    return (level < 32 && (size >> level) != 0) ? size >> level : 1;
}
// Levels of a full chain down to 1x1.
constexpr uint32_t GpuLevelChain(uint32_t width, uint32_t height) {
    uint32_t levels = 1;
    while (GpuLevelSize(width, levels - 1) > 1 || GpuLevelSize(height, levels - 1) > 1) {
        ++levels;
    }
    return levels;
}
const char* GpuFormatName(GpuFormat format);

enum class GpuDeviceType : uint32_t { HAL = 1, REF = 2 };

enum class GpuPool : uint32_t { DEFAULT = 0, MANAGED = 1, SYSTEMMEM = 2 };
const char* GpuPoolName(GpuPool pool);

// Usage bits.
constexpr uint32_t kGpuUsageRenderTarget = 0x1;
constexpr uint32_t kGpuUsageDepthStencil = 0x2;
constexpr uint32_t kGpuUsageWriteOnly = 0x8;

enum class GpuResourceType : uint32_t { Surface = 1, Texture = 3 };

enum class GpuMultisample : uint32_t { NONE = 0 };
enum class GpuSwapEffect : uint32_t { DISCARD = 1, FLIP = 2, COPY = 3 };
enum class GpuBackBufferType : uint32_t { MONO = 0 };

// Device behaviour flags.
constexpr uint32_t kGpuCreateSoftwareVertexProcessing = 0x20;
constexpr uint32_t kGpuCreateHardwareVertexProcessing = 0x40;
constexpr uint32_t kGpuCreatePureDevice = 0x10;

constexpr uint32_t kGpuPresentIntervalDefault = 0;
constexpr uint32_t kGpuPresentIntervalOne = 1;

// Clear flags.
constexpr uint32_t kGpuClearTarget = 0x1;
constexpr uint32_t kGpuClearZBuffer = 0x2;
constexpr uint32_t kGpuClearStencil = 0x4;

// Shader versions as the capabilities report them: 0xFFFE/0xFFFF high word, major.minor low.
constexpr uint32_t GpuVertexShaderVersion(uint32_t major, uint32_t minor) {
    return 0xFFFE0000u | (major << 8) | minor;
}
constexpr uint32_t GpuPixelShaderVersion(uint32_t major, uint32_t minor) {
    return 0xFFFF0000u | (major << 8) | minor;
}
// The major.minor part of a reported shader version, comparable as a number.
constexpr uint32_t GpuShaderVersionNumber(uint32_t version) {
    return version & 0xFFFF;
}

// Vertex declaration tokens.
constexpr uint32_t kGpuDeclStream0 = 0x20000000;
constexpr uint32_t GpuDeclRegister(uint32_t type, uint32_t reg) {
    return 0x40000000u + (type << 16) + reg;
}
constexpr uint32_t kGpuDeclEnd = 0xFFFFFFFF;
constexpr uint32_t kGpuDeclFloat1 = 0, kGpuDeclFloat2 = 1, kGpuDeclFloat3 = 2, kGpuDeclFloat4 = 3;

// Render states. Our own numbering; the names are those the log prints.
enum class GpuRenderState : uint32_t {
    ZENABLE,
    FILLMODE,
    SHADEMODE,
    ZWRITEENABLE,
    ALPHATESTENABLE,
    LASTPIXEL,
    SRCBLEND,
    DESTBLEND,
    CULLMODE,
    ZFUNC,
    ALPHAREF,
    ALPHAFUNC,
    DITHERENABLE,
    ALPHABLENDENABLE,
    FOGENABLE,
    SPECULARENABLE,
    FOGCOLOR,
    FOGTABLEMODE,
    FOGSTART,
    FOGEND,
    FOGDENSITY,
    RANGEFOGENABLE,
    STENCILENABLE,
    STENCILFAIL,
    STENCILZFAIL,
    STENCILPASS,
    STENCILFUNC,
    STENCILREF,
    STENCILMASK,
    STENCILWRITEMASK,
    TEXTUREFACTOR,
    WRAP0,
    WRAP1,
    WRAP2,
    WRAP3,
    WRAP4,
    WRAP5,
    WRAP6,
    WRAP7,
    CLIPPING,
    LIGHTING,
    AMBIENT,
    FOGVERTEXMODE,
    COLORVERTEX,
    LOCALVIEWER,
    NORMALIZENORMALS,
    DIFFUSEMATERIALSOURCE,
    SPECULARMATERIALSOURCE,
    AMBIENTMATERIALSOURCE,
    EMISSIVEMATERIALSOURCE,
    VERTEXBLEND,
    CLIPPLANEENABLE,
    POINTSIZE,
    POINTSIZE_MIN,
    POINTSPRITEENABLE,
    POINTSCALEENABLE,
    POINTSCALE_A,
    POINTSCALE_B,
    POINTSCALE_C,
    MULTISAMPLEANTIALIAS,
    MULTISAMPLEMASK,
    PATCHEDGESTYLE,
    DEBUGMONITORTOKEN,
    POINTSIZE_MAX,
    INDEXEDVERTEXBLENDENABLE,
    COLORWRITEENABLE,
    TWEENFACTOR,
    BLENDOP,
    Count
};
const char* GpuRenderStateName(GpuRenderState state);

enum class GpuTextureStageState : uint32_t {
    ADDRESSU,
    ADDRESSV,
    ADDRESSW,
    BORDERCOLOR,
    MAGFILTER,
    MINFILTER,
    MIPFILTER,
    MIPMAPLODBIAS,
    MAXMIPLEVEL,
    MAXANISOTROPY,
    Count
};
const char* GpuTextureStageStateName(GpuTextureStageState state);

// State values with fixed meanings (each enumeration starts at 1 except filters).
namespace gpu {
constexpr uint32_t kFalse = 0, kTrue = 1;
// Blend factors 1..13.
constexpr uint32_t BLEND_ZERO = 1, BLEND_ONE = 2, BLEND_SRCALPHA = 5, BLEND_INVSRCALPHA = 6;
constexpr uint32_t BLENDOP_ADD = 1;
constexpr uint32_t FILL_POINT = 1, FILL_WIREFRAME = 2, FILL_SOLID = 3;
constexpr uint32_t SHADE_FLAT = 1, SHADE_GOURAUD = 2;
constexpr uint32_t CULL_NONE = 1, CULL_CW = 2, CULL_CCW = 3;
// Compare functions 1..8.
constexpr uint32_t CMP_NEVER = 1, CMP_LESS = 2, CMP_EQUAL = 3, CMP_LESSEQUAL = 4, CMP_GREATER = 5,
                   CMP_NOTEQUAL = 6, CMP_GREATEREQUAL = 7, CMP_ALWAYS = 8;
constexpr uint32_t STENCILOP_KEEP = 1;
constexpr uint32_t FOG_NONE = 0;
constexpr uint32_t MCS_MATERIAL = 0, MCS_COLOR1 = 1, MCS_COLOR2 = 2;
constexpr uint32_t VBF_DISABLE = 0;
constexpr uint32_t PATCH_DISCRETE = 0;
constexpr uint32_t DMT_ENABLE = 0, DMT_DISABLE = 1;
// Texture addressing 1..5, filters 0..3.
constexpr uint32_t TADDRESS_WRAP = 1, TADDRESS_MIRROR = 2, TADDRESS_CLAMP = 3, TADDRESS_BORDER = 4,
                   TADDRESS_MIRRORONCE = 5;
constexpr uint32_t TEXF_NONE = 0, TEXF_POINT = 1, TEXF_LINEAR = 2, TEXF_ANISOTROPIC = 3;
}  // namespace gpu

enum class GpuPrimitiveType : uint32_t {
    POINTLIST = 1,
    LINELIST = 2,
    LINESTRIP = 3,
    TRIANGLELIST = 4,
    TRIANGLESTRIP = 5,
    TRIANGLEFAN = 6
};
const char* GpuPrimitiveTypeName(GpuPrimitiveType type);

struct GpuDisplayMode {
    uint32_t Width = 0;
    uint32_t Height = 0;
    uint32_t RefreshRate = 0;
    GpuFormat Format = GpuFormat::Unknown;
};

// The capabilities the device reads.
struct GpuCaps {
    GpuDeviceType DeviceType = GpuDeviceType::HAL;
    uint32_t VertexShaderVersion = GpuVertexShaderVersion(1, 1);
    uint32_t PixelShaderVersion = GpuPixelShaderVersion(1, 1);
    // Both our devices keep 256 registers: 16 instances fit one instanced draw.
    uint32_t MaxVertexShaderConst = 256;
};

struct GpuPresentParameters {
    uint32_t BackBufferWidth = 0;
    uint32_t BackBufferHeight = 0;
    GpuFormat BackBufferFormat = GpuFormat::Unknown;
    uint32_t BackBufferCount = 0;
    GpuMultisample MultiSampleType = GpuMultisample::NONE;
    GpuSwapEffect SwapEffect = GpuSwapEffect::DISCARD;
    GpuWindowHandle hDeviceWindow = nullptr;
    uint32_t Windowed = 0;
    uint32_t EnableAutoDepthStencil = 0;
    GpuFormat AutoDepthStencilFormat = GpuFormat::Unknown;
    uint32_t Flags = 0;
    uint32_t FullScreen_RefreshRateInHz = 0;
    uint32_t FullScreen_PresentationInterval = 0;
    // Ours, not part of the thirteen words: the quarter turns the device's screen
    // transform gives the picture, so a backend that shows the back buffer in a
    // desktop window can turn it upright again. Backends that only record ignore it.
    uint32_t ScreenRotation = 0;
};

struct GpuViewport {
    uint32_t X = 0;
    uint32_t Y = 0;
    uint32_t Width = 0;
    uint32_t Height = 0;
    float MinZ = 0.0f;
    float MaxZ = 0.0f;
};

struct GpuRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct GpuLockedRect {
    int32_t Pitch = 0;
    void* pBits = nullptr;
};

struct GpuSurfaceDesc {
    GpuFormat Format = GpuFormat::Unknown;
    GpuResourceType Type = GpuResourceType::Surface;
    uint32_t Usage = 0;
    GpuPool Pool = GpuPool::DEFAULT;
    uint32_t Size = 0;
    GpuMultisample MultiSampleType = GpuMultisample::NONE;
    uint32_t Width = 0;
    uint32_t Height = 0;
};

struct GpuBufferDesc {
    GpuFormat Format = GpuFormat::Unknown;  // INDEX16/INDEX32 for index buffers
    uint32_t Usage = 0;
    GpuPool Pool = GpuPool::DEFAULT;
    uint32_t Size = 0;
};

}  // namespace mareldon
