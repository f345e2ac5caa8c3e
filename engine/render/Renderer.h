#pragma once

#include <cstdint>
#include <string_view>

#include "engine/core/NamedNode.h"
#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/render/ResourceManager.h"

namespace mareldon {

class PixelShader;
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

    // `name` is the application's, kept for diagnostics.
    Renderer(const RefPtr<FileSystem>& fileSystem, const RefPtr<GraphicsDevice>& device,
             const RefPtr<SoundBox>& soundBox, const String& name = String());
    ~Renderer() override;

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

  private:
    void PreloadShaders();

    String name_;
    NameDictionary vertexShaders_;
    NameDictionary pixelShaders_;
    NameDictionary namedTextures_;
};

}  // namespace mareldon
