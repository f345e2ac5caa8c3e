#include "engine/platform/gl/GlFormats.h"

namespace mareldon {

GlFormat GlFormatOf(GpuFormat format) {
    GlFormat f;
    switch (format) {
        case GpuFormat::A8R8G8B8:
            f = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, 4, false, false, true, true};
            break;
        case GpuFormat::X8R8G8B8:
            f = {GL_RGB8, GL_BGRA, GL_UNSIGNED_BYTE, 4, false, false, true, true};
            break;
        case GpuFormat::R5G6B5:
            f = {GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 2, false, false, true, true};
            break;
        case GpuFormat::X1R5G5B5:
            f = {GL_RGB5, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, 2, false, false, true, true};
            break;
        case GpuFormat::A1R5G5B5:
            f = {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, 2, false, false, true, true};
            break;
        case GpuFormat::A4R4G4B4:
            f = {GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, 2, false, false, true, true};
            break;
        case GpuFormat::X4R4G4B4:
            f = {GL_RGB4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, 2, false, false, true, false};
            break;
        case GpuFormat::A8:
            f = {GL_R8, GL_RED, GL_UNSIGNED_BYTE, 1, true, false, true, true};
            break;
        case GpuFormat::D16:
        case GpuFormat::D16_LOCKABLE:
            f = {GL_DEPTH_COMPONENT16, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, 2, false, true, false, false};
            break;
        case GpuFormat::D24X8:
            f = {GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, 4, false, true, false, false};
            break;
        case GpuFormat::D32:
            f = {GL_DEPTH_COMPONENT32, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, 4, false, true, false, false};
            break;
        case GpuFormat::D15S1:
        case GpuFormat::D24S8:
        case GpuFormat::D24X4S4:
            f = {GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8, 4, false, true, false, false};
            break;
        default:  // A8R3G3B2 has no GL counterpart; index formats are no pixels.
            break;
    }
    return f;
}

void GlColour(uint32_t argb, float rgba[4]) {
    rgba[0] = static_cast<float>((argb >> 16) & 0xFF) / 255.0f;
    rgba[1] = static_cast<float>((argb >> 8) & 0xFF) / 255.0f;
    rgba[2] = static_cast<float>(argb & 0xFF) / 255.0f;
    rgba[3] = static_cast<float>(argb >> 24) / 255.0f;
}

}  // namespace mareldon
