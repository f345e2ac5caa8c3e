#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/core/NamedNode.h"
#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/render/archive/ResourceManager.h"
#include "engine/render/draw/LightList.h"

namespace mareldon {

class MeshPart;
class PixelShader;
class RenderBatch;
class RenderView;
class ShaderGenBase;
class Texture;
class VertexLayout;
class VertexShader;

// A dictionary entry holding one counted handle.
template <typename T>
class HandleEntry : public NamedNode {
  public:
    HandleEntry(NamedNode* root, const String& name, const RefPtr<T>& value)
        : NamedNode(root, name.Text()), handle(value) {}
    RefPtr<T> handle;
};

// The drawing service every task reaches: the archive's resources, the graphics
// and sound devices, and the dictionaries of compiled shaders and named textures.
// At construction it preloads the shaders of "QVDSHDV.dat" and "QVDSHDP.dat".
class Renderer : public ResourceManager {
  public:
    static constexpr const char* kVertexShaderFile = "QVDSHDV.dat";
    static constexpr const char* kPixelShaderFile = "QVDSHDP.dat";

    // `name` is the application's, kept for diagnostics; `notices` shows the
    // messages about unreadable data (stderr when null).
    Renderer(const RefPtr<FileSystem>& fileSystem, const RefPtr<GraphicsDevice>& device,
             const RefPtr<SoundBox>& soundBox, const String& name = String(),
             MessageBoxPresenter* notices = nullptr);
    ~Renderer() override;

    // Draws every part of the batch into the view with the generator of the part's
    // layer (RendererDraw.cpp).
    virtual void DrawView(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& batch);
    virtual RefPtr<GraphicsDevice> GetDevice() const { return Device(); }
    virtual RefPtr<SoundBox> GetSoundBox() const { return Sounds(); }
    const String& Name() const { return name_; }

    // Assembles the text for the layout and files the shader under the key. A key
    // whose entry holds a shader that could not be made gets the new one in that
    // entry, so a shader that keeps failing does not grow the dictionary.
    RefPtr<VertexShader> CreateVertexShader(const String& key, std::string_view text,
                                            const VertexLayout& layout);
    RefPtr<PixelShader> CreatePixelShader(const String& key, std::string_view text);
    // The first entry of the key; empty on a miss.
    RefPtr<VertexShader> FindVertexShader(const String& key) const;
    RefPtr<PixelShader> FindPixelShader(const String& key) const;

    RefPtr<Texture> FindNamedTexture(const String& name) const;
    // A new texture of the device's CreateTexture (kind as its flags), filed under the name.
    RefPtr<Texture> CreateNamedTexture(const String& name, uint32_t kind, int32_t width, int32_t height);

    const NamedNode& VertexShaders() const { return vertexShaders_; }
    const NamedNode& PixelShaders() const { return pixelShaders_; }

    // The lights of the frame: emptied at the start of each hierarchy draw, filled
    // by the light nodes, read by the shader generators.
    LightList& Lights() { return lights_; }

    // The collector of the draw set's mesh data: the first batch registered over
    // it, whose count rises with each registration. A draw set without mesh data
    // (built by code) is its own collector and is not registered.
    RefPtr<RenderBatch> RegisterBatch(const RefPtr<RenderBatch>& drawSet);
    // One registration fewer; the last one removes the collector, and the later
    // ones keep their order.
    void UnregisterBatch(const RefPtr<RenderBatch>& drawSet);
    int32_t CollectorCount() const { return int32_t(collectors_.size()); }
    const RefPtr<RenderBatch>& CollectorAt(int32_t index) const { return collectors_[size_t(index)].batch; }
    int32_t CollectorUses(int32_t index) const { return collectors_[size_t(index)].count; }

    // Builds the generator's keys, runs its Apply, then finds or makes both shaders
    // and sets them. False: nothing may be drawn (the generator refused the draw, or
    // the vertex shader could not be made); without a pixel shader the fixed stage draws.
    bool BindShaders(const RefPtr<ShaderGenBase>& generator, const RefPtr<RenderView>& view,
                     const RefPtr<RenderBatch>& batch, const RefPtr<MeshPart>& part);
    // Draws every collector into the view, then lets its instances go.
    void DrawRegistered(const RefPtr<RenderView>& view);

  private:
    struct Collector {
        RefPtr<RenderBatch> batch;
        int32_t count;
    };

    void PreloadShaders();

    String name_;
    NameDictionary vertexShaders_;
    NameDictionary pixelShaders_;
    NameDictionary namedTextures_;
    LightList lights_{2};
    // Last, so it goes first: the batches hold parts that hold shaders and textures.
    std::vector<Collector> collectors_;
};

}  // namespace mareldon
