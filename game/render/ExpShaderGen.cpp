#include "game/render/ExpShaderGen.h"

#include <algorithm>

#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"

namespace mareldon {

namespace {

const float kNoScroll[4] = {0.0f, 0.0f, 0.0f, 0.0f};

// The first "UVScroll" offset of a record list, or none.
const float* ScrollOf(const LightList& records) {
    const LightRecord* record = ShaderTextBuilder::GetLightRecord(&records, "UVScroll", 0);
    return record != nullptr ? record->values : kNoScroll;
}

String Indexed(int32_t base) {
    return ShaderTextBuilder::MakeRegisterName("c[a0.x + ", base) + "]";
}

}  // namespace

ExpShaderGen::ExpShaderGen(const RefPtr<Renderer>& rendererHandle)
    : ShaderTextBuilder(rendererHandle), states{4, 5, 2, 2, 7, 0} {}

ExpShaderGen::~ExpShaderGen() = default;

String ExpShaderGen::GetName() {
    return "Exp";
}

bool ExpShaderGen::SetConstants(const RefPtr<RenderView>& viewHandle, const RefPtr<RenderBatch>& node,
                                const RefPtr<MeshPart>& partHandle) {
    draw = DrawState{};
    draw.position = draw.instance = &NotFoundName();
    if (!node || !partHandle) {
        RefuseDraw("a draw without a batch or a part");
        return false;
    }
    RenderBatch& batch = *node;
    const MeshPart& part = *partHandle;
    const VertexLayout& elements = part.layout;
    const Matrix4 viewProjection = viewHandle ? viewHandle->viewProjection : Matrix4Identity();

    states.cullMode = part.cullMode;
    draw.textureCount = SetMaterialTextures(part.textures);
    ApplyRenderStates(states);
    draw.position = &FindInput(elements, "Position", 0);
    draw.instance = &FindInput(elements, "X16", 0);
    draw.uvCount = std::min(CountInputs(elements, "TextureUV"), kMaxTexCoords);
    for (int32_t k = 0; k < draw.uvCount; ++k)
        draw.uv[k] = &FindInput(elements, "TextureUV", k);
    draw.instanced = !draw.instance->IsEmpty();
    if (draw.position->IsEmpty())
        RefuseDraw("a part without a position");

    if (!draw.instanced) {
        Matrix4 m = MatrixMultiply(batch.world, viewProjection);
        draw.matrixConstant = AddMatrixConstant(m.m);
        draw.scrollConstant = AddConstant(ScrollOf(batch.records));
        return true;
    }
    if (draw.uvCount == 0)
        RefuseDraw("instances of a part without \"TextureUV\"");
    int32_t maxConstants = 0;
    if (owner) {
        RefPtr<GraphicsDevice> device = owner->GetDevice();
        if (device)
            maxConstants = int32_t(std::min<uint32_t>(device->MaxVertexShaderConstants(), kVsRegisters));
    }
    batch.instancesToDraw = std::min(batch.instancesToDraw, batch.InstanceCount());
    const int32_t n = std::min({maxConstants / 5, kMaxInstances, batch.instancesToDraw});
    draw.instances = n;
    AppendVsKeyWord(n);
    // From the end of the queue backwards; entry k belongs to instance (count - 1 - k).
    const int32_t last = batch.instancesToDraw - 1;
    draw.matrixBase = NextVsRegister();
    for (int32_t k = 0; k < n; ++k) {
        const RefPtr<RenderBatch>& instance = batch.Instance(last - k);
        Matrix4 m = MatrixMultiply(instance ? instance->world : batch.world, viewProjection);
        AddMatrixConstant(m.m);
    }
    draw.scrollBase = NextVsRegister();
    for (int32_t k = 0; k < n; ++k) {
        const RefPtr<RenderBatch>& instance = batch.Instance(last - k);
        AddConstant(ScrollOf(instance ? instance->records : batch.records));
    }
    batch.instancesToDraw -= n;
    return true;
}

void ExpShaderGen::BuildVertexShader() {
    if (draw.instanced) {
        EmitMov("a0.x", *draw.instance + ".x");
        EmitAdd(TextureOutName(0), draw.uvCount > 0 ? *draw.uv[0] : NotFoundName(), Indexed(draw.scrollBase));
        EmitMov("a0.x", *draw.instance + ".y");
        EmitM4x4(PositionOutName(), *draw.position, Indexed(draw.matrixBase));
        return;
    }
    for (int32_t k = 0; k < draw.uvCount; ++k)
        EmitAdd(TextureOutName(k), *draw.uv[k], VsConstName(draw.scrollConstant));
    EmitM4x4(PositionOutName(), *draw.position, VsConstName(draw.matrixConstant));
}

void ExpShaderGen::BuildPixelShader() {
    EmitRaw("tex\tt0");
    EmitPsMov("r0.rgba", "t0");
}

}  // namespace mareldon
