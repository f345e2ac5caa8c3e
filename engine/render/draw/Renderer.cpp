#include "engine/render/draw/Renderer.h"

#include <string>

#include "engine/core/Log.h"
#include "engine/core/VertexLayout.h"
#include "engine/render/archive/ShaderDataFile.h"
#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/draw/RenderBatch.h"

namespace mareldon {

namespace {

template <typename T>
RefPtr<T> FindHandle(const NamedNode& dictionary, const String& key) {
    auto* entry = static_cast<HandleEntry<T>*>(dictionary.Find(key));
    return entry != nullptr ? entry->handle : RefPtr<T>();
}

// Files a new shader: into the key's entry when that one holds a shader that
// could not be made, else as a new entry.
template <typename T>
RefPtr<T> FileShader(NameDictionary& dictionary, const String& key, const RefPtr<T>& shader) {
    auto* entry = static_cast<HandleEntry<T>*>(dictionary.Find(key));
    if (entry != nullptr && (!entry->handle || entry->handle->Handle() == 0)) {
        entry->handle = shader;
        return entry->handle;
    }
    return (new HandleEntry<T>(&dictionary, key, shader))->handle;
}

String Text(std::string_view view) {
    return String(std::string(view).c_str());
}

}  // namespace

Renderer::Renderer(const RefPtr<FileSystem>& fileSystem, const RefPtr<GraphicsDevice>& device,
                   const RefPtr<SoundBox>& soundBox, const String& name, MessageBoxPresenter* notices)
    : ResourceManager(fileSystem, device, soundBox, notices), name_(name) {
    PreloadShaders();
}

Renderer::~Renderer() = default;

void Renderer::PreloadShaders() {
    size_t vertex = LoadShaderDataFile(
        Files(), kVertexShaderFile, ShaderDataKind::Vertex, [this](const ShaderDataRecord& record) {
            VertexLayout layout;
            for (const ShaderDataElement& element : record.elements) {
                layout.AddElement(element.type, std::string(element.name).c_str());
            }
            CreateVertexShader(Text(record.key), record.text, layout);
        });
    size_t pixel = LoadShaderDataFile(
        Files(), kPixelShaderFile, ShaderDataKind::Pixel,
        [this](const ShaderDataRecord& record) { CreatePixelShader(Text(record.key), record.text); });
    if (vertex + pixel > 0) {
        LOG_INFO("shaders", "preloaded %zu vertex and %zu pixel shaders", vertex, pixel);
    }
}

RefPtr<VertexShader> Renderer::CreateVertexShader(const String& key, std::string_view text,
                                                  const VertexLayout& layout) {
    RefPtr<VertexShader> shader;
    if (Device()) {
        shader = Device()->CreateVertexShader(text, layout);
    }
    return FileShader(vertexShaders_, key, shader);
}

RefPtr<PixelShader> Renderer::CreatePixelShader(const String& key, std::string_view text) {
    RefPtr<PixelShader> shader;
    if (Device()) {
        shader = Device()->CreatePixelShader(text);
    }
    return FileShader(pixelShaders_, key, shader);
}

RefPtr<VertexShader> Renderer::FindVertexShader(const String& key) const {
    return FindHandle<VertexShader>(vertexShaders_, key);
}

RefPtr<PixelShader> Renderer::FindPixelShader(const String& key) const {
    return FindHandle<PixelShader>(pixelShaders_, key);
}

RefPtr<Texture> Renderer::FindNamedTexture(const String& name) const {
    return FindHandle<Texture>(namedTextures_, name);
}

RefPtr<Texture> Renderer::CreateNamedTexture(const String& name, uint32_t kind, int32_t width,
                                             int32_t height) {
    RefPtr<Texture> texture;
    if (Device()) {
        texture = Device()->CreateTexture(kind, width, height);
    }
    return (new HandleEntry<Texture>(&namedTextures_, name, texture))->handle;
}

RefPtr<RenderBatch> Renderer::RegisterBatch(const RefPtr<RenderBatch>& drawSet) {
    if (!drawSet || drawSet->meshData == nullptr) {
        return drawSet;
    }
    for (Collector& collector : collectors_) {
        if (collector.batch->meshData == drawSet->meshData) {
            ++collector.count;
            return collector.batch;
        }
    }
    collectors_.push_back({drawSet, 1});
    return drawSet;
}

void Renderer::UnregisterBatch(const RefPtr<RenderBatch>& drawSet) {
    if (!drawSet || drawSet->meshData == nullptr) {
        return;
    }
    for (auto at = collectors_.begin(); at != collectors_.end(); ++at) {
        if (at->batch->meshData == drawSet->meshData) {
            if (--at->count == 0) {
                collectors_.erase(at);
            }
            return;
        }
    }
}

}  // namespace mareldon
