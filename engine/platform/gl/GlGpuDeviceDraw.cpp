// The device's clears, vertex stream, indices and draws.
#include "engine/platform/gl/GlGpuDevice.h"

#include <algorithm>
#include <cstring>

namespace mareldon {
namespace {

size_t Index(GpuRenderState state) {
    return static_cast<size_t>(state);
}

GLenum PrimitiveMode(GpuPrimitiveType type) {
    switch (type) {
        case GpuPrimitiveType::POINTLIST:
            return GL_POINTS;
        case GpuPrimitiveType::LINELIST:
            return GL_LINES;
        case GpuPrimitiveType::LINESTRIP:
            return GL_LINE_STRIP;
        case GpuPrimitiveType::TRIANGLELIST:
            return GL_TRIANGLES;
        case GpuPrimitiveType::TRIANGLESTRIP:
            return GL_TRIANGLE_STRIP;
        case GpuPrimitiveType::TRIANGLEFAN:
            return GL_TRIANGLE_FAN;
    }
    return GL_POINTS;
}

}  // namespace

GpuResult GlGpuDevice::Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) {
    if (targetDirty_) {
        BindTarget();
    }
    GLbitfield mask = 0;
    if (flags & kGpuClearTarget) {
        float rgba[4];
        GlColour(color, rgba);
        gl_.ClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
        gl_.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if ((flags & kGpuClearZBuffer) && depthTarget_) {
        gl_.ClearDepth(std::clamp(z, 0.0f, 1.0f));
        gl_.DepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if ((flags & kGpuClearStencil) && depthTarget_) {
        gl_.ClearStencil(static_cast<GLint>(stencil & 0xFF));
        gl_.StencilMask(0xFF);
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    if (mask == 0) {
        return kGpuOk;
    }
    // Clear covers the viewport only.
    gl_.Enable(GL_SCISSOR_TEST);
    gl_.Scissor(static_cast<GLint>(viewport_.X), static_cast<GLint>(viewport_.Y),
                static_cast<GLsizei>(viewport_.Width), static_cast<GLsizei>(viewport_.Height));
    gl_.Clear(mask);
    gl_.Disable(GL_SCISSOR_TEST);
    ApplyRenderState(GpuRenderState::COLORWRITEENABLE,
                     renderStates_[Index(GpuRenderState::COLORWRITEENABLE)]);
    ApplyRenderState(GpuRenderState::ZWRITEENABLE, renderStates_[Index(GpuRenderState::ZWRITEENABLE)]);
    return kGpuOk;
}

GpuResult GlGpuDevice::SetStreamSource(uint32_t stream, GpuBuffer* buffer, uint32_t stride) {
    if (GpuFailed(GpuContract::StreamSource(stream))) {
        return kGpuErrorInvalidCall;
    }
    auto* next = static_cast<GlGpuBuffer*>(buffer);
    if (next) {
        next->AddRef();
    }
    if (stream_) {
        stream_->Release();
    }
    stream_ = next;
    stride_ = stride;
    attributesDirty_ = true;
    return kGpuOk;
}

GpuResult GlGpuDevice::SetIndices(GpuBuffer* buffer, uint32_t baseVertexIndex) {
    auto* next = static_cast<GlGpuBuffer*>(buffer);
    if (next) {
        next->AddRef();
    }
    if (indices_) {
        indices_->Release();
    }
    indices_ = next;
    baseVertex_ = baseVertexIndex;
    gl_.BindVertexArray(vertexArray_);
    gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices_ ? indices_->Name() : 0);
    return kGpuOk;
}

void GlGpuDevice::BindAttributes() {
    const GlVertexShader* shader = program_->vertex;
    uint32_t wanted = 0;
    gl_.BindBuffer(GL_ARRAY_BUFFER, stream_->Name());
    for (const GlVertexElement& e : shader->elements) {
        wanted |= 1u << e.reg;
        gl_.VertexAttribPointer(e.reg, e.size, e.type, e.normalized, static_cast<GLsizei>(stride_),
                                reinterpret_cast<const void*>(uintptr_t{e.offset}));
    }
    for (uint32_t reg = 0; reg < kGpuVertexInputs; ++reg) {
        uint32_t bit = 1u << reg;
        if ((wanted & bit) && !(enabledAttributes_ & bit)) {
            gl_.EnableVertexAttribArray(reg);
        }
        if (!(wanted & bit) && (enabledAttributes_ & bit)) {
            gl_.DisableVertexAttribArray(reg);
        }
    }
    enabledAttributes_ = wanted;
    attributesDirty_ = false;
}

// After the contract let the draw through: a vertex shader, a stream and a stride.
bool GlGpuDevice::PrepareDraw() {
    shared_->FlushUploads();
    if (targetDirty_) {
        BindTarget();
    }
    if (programDirty_) {
        program_ = shaders_->Program(vertexShader_, pixelShader_);
        programDirty_ = false;
        attributesDirty_ = true;
        if (program_ && !program_->failed) {
            gl_.UseProgram(program_->name);
        }
    }
    if (program_ == nullptr || program_->failed) {
        return false;
    }
    GlProgram& p = *program_;
    if (p.vertexGeneration != vertexGeneration_ && p.vertexConstants >= 0) {
        const std::vector<uint16_t>& slots = p.vertex->source.constantSlots;
        constantScratch_.resize(slots.size() * 4);
        for (size_t i = 0; i < slots.size(); ++i) {
            std::memcpy(&constantScratch_[i * 4], vertexConstants_[slots[i] & 0xFF], 16);
        }
        gl_.Uniform4fv(p.vertexConstants, static_cast<GLsizei>(slots.size()), constantScratch_.data());
    }
    p.vertexGeneration = vertexGeneration_;
    if (p.pixel && p.pixelGeneration != pixelGeneration_ && p.pixelConstants >= 0) {
        // ps.1.1 constants hold values in [-1, 1].
        const std::vector<uint16_t>& slots = p.pixel->source.constantSlots;
        constantScratch_.resize(slots.size() * 4);
        for (size_t i = 0; i < slots.size(); ++i) {
            for (int c = 0; c < 4; ++c) {
                constantScratch_[i * 4 + c] = std::clamp(pixelConstants_[slots[i] & 7][c], -1.0f, 1.0f);
            }
        }
        gl_.Uniform4fv(p.pixelConstants, static_cast<GLsizei>(slots.size()), constantScratch_.data());
    }
    p.pixelGeneration = pixelGeneration_;
    if (p.pixelOffsetValue[0] != pixelOffset_[0] || p.pixelOffsetValue[1] != pixelOffset_[1]) {
        gl_.Uniform2f(p.pixelOffset, pixelOffset_[0], pixelOffset_[1]);
        p.pixelOffsetValue[0] = pixelOffset_[0];
        p.pixelOffsetValue[1] = pixelOffset_[1];
    }
    if (attributesDirty_) {
        BindAttributes();
    }
    bool wantWhite = p.pixel == nullptr && !textures_[0];
    if (wantWhite != whiteBound_) {
        gl_.ActiveTexture(GL_TEXTURE0);
        gl_.BindTexture(GL_TEXTURE_2D, wantWhite ? whiteTexture_ : 0);
        whiteBound_ = wantWhite;
    }
    if (p.untextured >= 0 && p.untexturedValue != (wantWhite ? 1.0f : 0.0f)) {
        p.untexturedValue = wantWhite ? 1.0f : 0.0f;
        gl_.Uniform1f(p.untextured, p.untexturedValue);
    }
    return true;
}

GpuDrawSource GlGpuDevice::DrawSource() const {
    GpuDrawSource source;
    const GlVertexShader* shader = shaders_->Vertex(vertexShader_);
    source.inScene = inScene_;
    source.vertexShader = shader != nullptr;
    source.extent = shader ? shader->extent : 0;
    source.streamSize = stream_ ? stream_->Size() : 0;
    source.stride = stride_;
    return source;
}

// Vertices or indices past their buffers would be read from memory GL does not guard.
GpuResult GlGpuDevice::DrawPrimitive(GpuPrimitiveType type, uint32_t startVertex, uint32_t primitiveCount) {
    GpuDraw draw = GpuContract::DrawPrimitive(DrawSource(), type, startVertex, primitiveCount);
    if (draw != GpuDraw::Drawn || !PrepareDraw()) {
        return GpuContract::DrawResult(draw);
    }
    gl_.DrawArrays(PrimitiveMode(type), static_cast<GLint>(startVertex),
                   static_cast<GLsizei>(GpuContract::VertexCount(type, primitiveCount)));
    return kGpuOk;
}

GpuResult GlGpuDevice::DrawIndexedPrimitive(GpuPrimitiveType type, uint32_t, uint32_t, uint32_t startIndex,
                                            uint32_t primitiveCount) {
    GpuIndexSource indices;
    if (indices_) {
        indices = indices_->Indices(baseVertex_);
    }
    GpuDraw draw = GpuContract::DrawIndexedPrimitive(DrawSource(), indices, type, startIndex, primitiveCount);
    if (draw != GpuDraw::Drawn || !PrepareDraw()) {
        return GpuContract::DrawResult(draw);
    }
    uint32_t size = indices.blocks->IndexSize();
    gl_.DrawElementsBaseVertex(
        PrimitiveMode(type), static_cast<GLsizei>(GpuContract::VertexCount(type, primitiveCount)),
        size == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
        reinterpret_cast<const void*>(uintptr_t{startIndex} * size), static_cast<GLint>(baseVertex_));
    return kGpuOk;
}

}  // namespace mareldon
