// The Renderer's drawing core: drawing a batch into a view, and binding the shaders
// a part's generator names.
#include <string_view>

#include "engine/core/Log.h"
#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/device/PixelShader.h"
#include "engine/render/device/VertexShader.h"
#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/draw/ShaderGenBase.h"

namespace mareldon {

namespace {

// An instanced part's geometry is 16 equal sections, one per instance.
constexpr int32_t kInstanceSections = 16;

template <typename T>
bool Usable(const RefPtr<T>& shader) {
    return shader && shader->Handle() != 0;
}

// Draws `sections` of the 16: n x sections / 16 of the part's n primitives, which for a
// strip is not what the same share of its indices would give. Then restores n.
void DrawSections(TextureBase& target, const RefPtr<GeometryBuffer>& geometry, int32_t sections) {
    const int32_t primitives = geometry->PrimitiveCount();
    geometry->SetPrimitiveCount(primitives * sections / kInstanceSections);
    target.DrawGeometry(geometry);
    geometry->SetPrimitiveCount(primitives);
}

}  // namespace

void Renderer::DrawView(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& batch) {
    if (!view || !batch)
        return;
    batch->Prepare();
    if (!view->target && batch->parts.Count() != 0 && !view->missingTargetLogged) {
        view->missingTargetLogged = true;
        LOG_WARN("render", "a view without a render target draws nothing");
    }
    for (int32_t i = 0; i < batch->parts.Count(); ++i) {
        const RefPtr<MeshPart>& part = batch->parts[i];
        if (!part)
            continue;
        RenderLayer* layer = view->FindLayer(part->name);
        const RefPtr<ShaderGenBase>& generator = layer != nullptr ? layer->generator : view->defaultGenerator;
        // No generator, no geometry (its creation failed) or no target: nothing to draw.
        if (!generator || !part->geometry || !view->target)
            continue;
        if (batch->instancing == 0) {
            if (part->cullSwitch == 1) {
                float depth = 0.0f;
                if (generator->Cull(view, batch, part, depth))
                    continue;
            }
            if (BindShaders(generator, view, batch, part))
                view->target->DrawGeometry(part->geometry);
            continue;
        }
        for (;;) {
            int32_t remaining = batch->instancesToDraw;
            if (remaining == 0)
                break;
            bool bound = BindShaders(generator, view, batch, part);
            int32_t taken = remaining - batch->instancesToDraw;
            // Taking none draws one section and stops; more than 16 would draw past the
            // geometry, so a pass never covers more than all of it.
            if (bound)
                DrawSections(*view->target, part->geometry,
                             taken <= 0 ? 1 : (taken < kInstanceSections ? taken : kInstanceSections));
            if (taken <= 0)
                break;
        }
        batch->instancesToDraw = batch->InstanceCount();
    }
    batch->Finish();
}

bool Renderer::BindShaders(const RefPtr<ShaderGenBase>& generator, const RefPtr<RenderView>& view,
                           const RefPtr<RenderBatch>& batch, const RefPtr<MeshPart>& part) {
    ShaderGenBase& g = *generator;
    g.vsKey = g.GetName();
    for (int32_t i = 0; i < part->layout.Count(); ++i) {
        g.vsKey.Append(part->layout.Element(i).name);
        g.vsKey.Append(":");
    }
    g.psKey = g.GetName();
    // A generator refuses a draw whose constants do not fit; nothing is bound then.
    if (!g.Apply(view, batch, part))
        return false;
    RefPtr<GraphicsDevice> device = GetDevice();

    // A failed shader stays in the dictionary under its key (empty), is built again at
    // the next bind and replaces that entry; it is reported when first seen.
    RefPtr<VertexShader> vertexShader = FindVertexShader(g.vsKey);
    if (!Usable(vertexShader)) {
        bool known = VertexShaders().Find(g.vsKey) != nullptr;
        g.text = "";
        g.BuildVertexShader();
        vertexShader =
            CreateVertexShader(g.vsKey, std::string_view(g.text.Text(), g.text.Length()), part->layout);
        if (!Usable(vertexShader) && !known)
            LOG_ERROR("render", "vertex shader \"%s\" could not be made; its parts are not drawn",
                      g.vsKey.Text());
    }
    if (device)
        device->SetVertexShader(vertexShader);

    RefPtr<PixelShader> pixelShader = FindPixelShader(g.psKey);
    if (!Usable(pixelShader)) {
        bool known = PixelShaders().Find(g.psKey) != nullptr;
        g.text = "";
        g.BuildPixelShader();
        pixelShader = CreatePixelShader(g.psKey, std::string_view(g.text.Text(), g.text.Length()));
        if (!Usable(pixelShader) && !known)
            LOG_ERROR("render",
                      "pixel shader \"%s\" could not be made; its parts are drawn by the fixed stage",
                      g.psKey.Text());
    }
    // An empty pixel shader leaves the fixed stage in place, which draws the part too.
    if (device)
        device->SetPixelShader(pixelShader);
    return Usable(vertexShader);
}

void Renderer::DrawRegistered(const RefPtr<RenderView>& view) {
    for (int32_t i = 0; i < CollectorCount(); ++i) {
        RefPtr<RenderBatch> collector = CollectorAt(i);
        DrawView(view, collector);
        collector->ClearInstances();
    }
}

}  // namespace mareldon
