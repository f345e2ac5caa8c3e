#pragma once

#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "game/render/NormalShaderGen.h"
#include "tests/engine/render/device/FakeTarget.h"
#include "tests/engine/render/device/SpyGraphicsDevice.h"
#include "tests/engine/render/draw/TestRenderer.h"

namespace mareldon {

// The element types the game's data gives each vertex element name.
inline int32_t ElementType(const char* name) {
    static const std::pair<const char*, int32_t> kTypes[] = {
        {"Position", 2}, {"TPosition", 2},          {"Normal", 2},
        {"Diffuse", 3},  {"TextureUV", 1},          {"IndexedBoneWeight", 1},
        {"X16", 1},      {"IndexedMorphVector", 3}, {"IndexedMorphNormal", 2},
    };
    for (const auto& [element, type] : kTypes) {
        if (std::strcmp(element, name) == 0)
            return type;
    }
    return 3;
}

// One draw of a generator without the Renderer: a part of the given elements in a
// batch, a 480x640 view, the frame's lights and the batch's records, the keys built as
// the Renderer builds them and both texts written.
template <typename Gen>
struct ShaderDraw {
    explicit ShaderDraw(std::initializer_list<const char*> elements, int32_t palette = 0,
                        int32_t parameters = 0, const RefPtr<Renderer>& owner = RefPtr<Renderer>())
        : renderer(owner ? owner : MakeTestRenderer(RefPtr<GraphicsDevice>(spy = new SpyGraphicsDevice()))),
          gen(new Gen(renderer)),
          batch(new RenderBatch(0, palette, parameters)) {
        for (const char* element : elements)
            part->layout.AddElement(ElementType(element), element);
        view->SetCamera({0, 0, -5}, {0, 0, 1}, {0, 1, 0}, 1.0f, 100.0f, 0.8f, 1.0f, 1.0f);
        batch->parts.Add(part);
    }

    void Light(const char* name, std::vector<float> values) {
        renderer->Lights().Add(LightRecord(name, int32_t(values.size()), values.data()));
    }
    void Own(const char* name, std::vector<float> values) {
        batch->records.Add(LightRecord(name, int32_t(values.size()), values.data()));
    }
    void Value(const char* name, float value) {
        NamedValue named;
        named.name = name;
        named.track.Reset(new KeyTrack());
        named.track->defaultValue = value;
        part->values.push_back(named);
    }
    void Textures(int32_t count) { part->textures.resize(size_t(count)); }
    // A "Shadowmap" record as the shadow-map node writes it: the light matrix in
    // values 3 to 18, then start, end, projection (0: parallel), bias and colour.
    void Shadow(float projection, float start = 1.0f, float end = 41.0f) {
        std::vector<float> values(27, 0.0f);
        for (int i = 0; i < 4; ++i)
            values[size_t(3 + 5 * i)] = 1.0f;
        values[19] = start;
        values[20] = end;
        values[21] = projection;
        values[22] = 0.02f;
        values[23] = -0.1f;
        values[24] = -0.1f;
        values[25] = -0.1f;
        values[26] = 1.0f;
        Light("Shadowmap", values);
        part->receiveShadow = 1;
    }

    bool Run() {
        gen->vsKey = gen->GetName();
        for (int32_t i = 0; i < part->layout.Count(); ++i) {
            gen->vsKey.Append(part->layout.Element(i).name);
            gen->vsKey.Append(":");
        }
        gen->psKey = gen->GetName();
        bool applied = gen->Apply(view, batch, part);
        gen->text = "";
        gen->BuildVertexShader();
        vs.assign(gen->text.Text(), gen->text.Length());
        gen->text = "";
        gen->BuildPixelShader();
        ps.assign(gen->text.Text(), gen->text.Length());
        return applied;
    }
    std::string VsKey() const { return std::string(gen->vsKey.Text(), gen->vsKey.Length()); }
    std::string PsKey() const { return std::string(gen->psKey.Text(), gen->psKey.Length()); }
    // The vertex pool's float at register r, component c.
    float Vs(int32_t r, int32_t c) const { return gen->VsPool()[4 * r + c]; }

    SpyGraphicsDevice* spy = nullptr;
    RefPtr<Renderer> renderer;
    RefPtr<Gen> gen;
    FakeTarget* target = new FakeTarget(480, 640);
    RefPtr<RenderView> view{new RenderView(renderer, RefPtr<TextureBase>(target), RenderView::DefaultClear(),
                                           RefPtr<ShaderGenBase>(gen), TextureViewport{})};
    RefPtr<RenderBatch> batch;
    RefPtr<MeshPart> part{new MeshPart()};
    std::string vs;
    std::string ps;
};

using NormalDraw = ShaderDraw<NormalShaderGen>;

// Lines joined with "\n", each ended by one.
inline std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += "\n";
    }
    return text;
}

// A hand-written expected text from tests/data/shaders.
inline std::string Golden(const char* name) {
    std::ifstream in(std::filesystem::path(MARELDON_TEST_DATA_DIR) / "shaders" / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace mareldon
