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

// Name, bytes per pixel (or index) and class of each format, in enumeration order.
struct FormatFacts {
    const char* name;
    uint32_t size;
    GpuFormatClass kind;
};
const FormatFacts kFormats[] = {
    {"Unknown", 0, GpuFormatClass::None},    {"A8R8G8B8", 4, GpuFormatClass::Colour},
    {"X8R8G8B8", 4, GpuFormatClass::Colour}, {"R5G6B5", 2, GpuFormatClass::Colour},
    {"X1R5G5B5", 2, GpuFormatClass::Colour}, {"A1R5G5B5", 2, GpuFormatClass::Colour},
    {"A4R4G4B4", 2, GpuFormatClass::Colour}, {"A8R3G3B2", 2, GpuFormatClass::Colour},
    {"X4R4G4B4", 2, GpuFormatClass::Colour}, {"A8", 1, GpuFormatClass::Colour},
    {"D16", 2, GpuFormatClass::Depth},       {"D16_LOCKABLE", 2, GpuFormatClass::Depth},
    {"D15S1", 2, GpuFormatClass::Depth},     {"D24S8", 4, GpuFormatClass::Depth},
    {"D24X4S4", 4, GpuFormatClass::Depth},   {"D32", 4, GpuFormatClass::Depth},
    {"D24X8", 4, GpuFormatClass::Depth},     {"INDEX16", 2, GpuFormatClass::Index},
    {"INDEX32", 4, GpuFormatClass::Index},
};

const FormatFacts& FactsOf(GpuFormat format) {
    size_t index = static_cast<size_t>(format);
    return kFormats[index < std::size(kFormats) ? index : 0];
}

template <size_t N>
const char* NameAt(const char* const (&names)[N], uint32_t index) {
    return index < N ? names[index] : "?";
}

}  // namespace

static_assert(std::size(kRenderStateNames) == static_cast<size_t>(GpuRenderState::Count));
static_assert(std::size(kTextureStageStateNames) == static_cast<size_t>(GpuTextureStageState::Count));
static_assert(std::size(kFormats) == static_cast<size_t>(GpuFormat::INDEX32) + 1);

const char* GpuRenderStateName(GpuRenderState state) {
    return NameAt(kRenderStateNames, static_cast<uint32_t>(state));
}

const char* GpuTextureStageStateName(GpuTextureStageState state) {
    return NameAt(kTextureStageStateNames, static_cast<uint32_t>(state));
}

const char* GpuFormatName(GpuFormat format) {
    return static_cast<size_t>(format) < std::size(kFormats) ? kFormats[static_cast<size_t>(format)].name
                                                             : "?";
}

uint32_t GpuFormatSize(GpuFormat format) {
    return FactsOf(format).size;
}

GpuFormatClass GpuFormatClassOf(GpuFormat format) {
    return FactsOf(format).kind;
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
