#include "engine/platform/GpuTypes.h"

#include <iterator>

namespace mareldon {

namespace {

const char* const kRenderStateNames[] = {
    "ZENABLE",
    "FILLMODE",
    "SHADEMODE",
    "ZWRITEENABLE",
    "ALPHATESTENABLE",
    "LASTPIXEL",
    "SRCBLEND",
    "DESTBLEND",
    "CULLMODE",
    "ZFUNC",
    "ALPHAREF",
    "ALPHAFUNC",
    "DITHERENABLE",
    "ALPHABLENDENABLE",
    "FOGENABLE",
    "SPECULARENABLE",
    "FOGCOLOR",
    "FOGTABLEMODE",
    "FOGSTART",
    "FOGEND",
    "FOGDENSITY",
    "RANGEFOGENABLE",
    "STENCILENABLE",
    "STENCILFAIL",
    "STENCILZFAIL",
    "STENCILPASS",
    "STENCILFUNC",
    "STENCILREF",
    "STENCILMASK",
    "STENCILWRITEMASK",
    "TEXTUREFACTOR",
    "WRAP0",
    "WRAP1",
    "WRAP2",
    "WRAP3",
    "WRAP4",
    "WRAP5",
    "WRAP6",
    "WRAP7",
    "CLIPPING",
    "LIGHTING",
    "AMBIENT",
    "FOGVERTEXMODE",
    "COLORVERTEX",
    "LOCALVIEWER",
    "NORMALIZENORMALS",
    "DIFFUSEMATERIALSOURCE",
    "SPECULARMATERIALSOURCE",
    "AMBIENTMATERIALSOURCE",
    "EMISSIVEMATERIALSOURCE",
    "VERTEXBLEND",
    "CLIPPLANEENABLE",
    "POINTSIZE",
    "POINTSIZE_MIN",
    "POINTSPRITEENABLE",
    "POINTSCALEENABLE",
    "POINTSCALE_A",
    "POINTSCALE_B",
    "POINTSCALE_C",
    "MULTISAMPLEANTIALIAS",
    "MULTISAMPLEMASK",
    "PATCHEDGESTYLE",
    "DEBUGMONITORTOKEN",
    "POINTSIZE_MAX",
    "INDEXEDVERTEXBLENDENABLE",
    "COLORWRITEENABLE",
    "TWEENFACTOR",
    "BLENDOP",
};

const char* const kTextureStageStateNames[] = {
    "ADDRESSU",  "ADDRESSV",  "ADDRESSW",      "BORDERCOLOR", "MAGFILTER",
    "MINFILTER", "MIPFILTER", "MIPMAPLODBIAS", "MAXMIPLEVEL", "MAXANISOTROPY",
};

const char* const kFormatNames[] = {
    "Unknown",  "A8R8G8B8", "X8R8G8B8", "R5G6B5",  "X1R5G5B5",     "A1R5G5B5", "A4R4G4B4",
    "A8R3G3B2", "X4R4G4B4", "A8",       "D16",     "D16_LOCKABLE", "D15S1",    "D24S8",
    "D24X4S4",  "D32",      "D24X8",    "INDEX16", "INDEX32",
};

template <size_t N>
const char* NameAt(const char* const (&names)[N], uint32_t index) {
    return index < N ? names[index] : "?";
}

}  // namespace

static_assert(std::size(kRenderStateNames) == static_cast<size_t>(GpuRenderState::Count));
static_assert(std::size(kTextureStageStateNames) == static_cast<size_t>(GpuTextureStageState::Count));

const char* GpuRenderStateName(GpuRenderState state) {
    return NameAt(kRenderStateNames, static_cast<uint32_t>(state));
}

const char* GpuTextureStageStateName(GpuTextureStageState state) {
    return NameAt(kTextureStageStateNames, static_cast<uint32_t>(state));
}

const char* GpuFormatName(GpuFormat format) {
    return NameAt(kFormatNames, static_cast<uint32_t>(format));
}

uint32_t GpuFormatSize(GpuFormat format) {
    switch (format) {
        case GpuFormat::A8R8G8B8:
        case GpuFormat::X8R8G8B8:
        case GpuFormat::D24S8:
        case GpuFormat::D24X4S4:
        case GpuFormat::D32:
        case GpuFormat::D24X8:
        case GpuFormat::INDEX32:
            return 4;
        case GpuFormat::R5G6B5:
        case GpuFormat::X1R5G5B5:
        case GpuFormat::A1R5G5B5:
        case GpuFormat::A4R4G4B4:
        case GpuFormat::A8R3G3B2:
        case GpuFormat::X4R4G4B4:
        case GpuFormat::D16:
        case GpuFormat::D16_LOCKABLE:
        case GpuFormat::D15S1:
        case GpuFormat::INDEX16:
            return 2;
        case GpuFormat::A8:
            return 1;
        case GpuFormat::Unknown:
            break;
    }
    return 0;
}

const char* GpuPoolName(GpuPool pool) {
    switch (pool) {
        case GpuPool::DEFAULT:
            return "DEFAULT";
        case GpuPool::MANAGED:
            return "MANAGED";
        case GpuPool::SYSTEMMEM:
            return "SYSTEMMEM";
    }
    return "?";
}

const char* GpuPrimitiveTypeName(GpuPrimitiveType type) {
    static const char* const names[] = {
        "?", "POINTLIST", "LINELIST", "LINESTRIP", "TRIANGLELIST", "TRIANGLESTRIP", "TRIANGLEFAN"};
    return NameAt(names, static_cast<uint32_t>(type));
}

}  // namespace mareldon
