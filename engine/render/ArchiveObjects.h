#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/core/VertexLayout.h"

namespace mareldon {

// The shared objects the data archive is read into (docs/archive-format.md).
// Models, sprites and fonts hold them by handle; the resource manager keeps the
// slot lists. Word and byte data are copied out of the archive body.

class KeyTrack;
class VertexBuffer;
class IndexBuffer;
class GeometryBuffer;
class ResourceProxy;
class SoundBuffer;
class ResourceManager;

// Leaves new elements uninitialised: archive data is copied in right after the
// allocation, and a second pass over hundreds of megabytes is measurable.
template <typename T>
struct FillLaterAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = FillLaterAllocator<U>;
    };
    FillLaterAllocator() = default;
    template <typename U>
    FillLaterAllocator(const FillLaterAllocator<U>&) {}
    template <typename U>
    void construct(U* at) {
        ::new (static_cast<void*>(at)) U;
    }
    template <typename U, typename... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};

using WordVector = std::vector<uint32_t, FillLaterAllocator<uint32_t>>;
using ByteVector = std::vector<uint8_t, FillLaterAllocator<uint8_t>>;

// Word and byte data that something may be reading (the glyph cache raises the
// use count while it decodes).
class WordArray {
  public:
    virtual ~WordArray() = default;
    WordVector words;
    int32_t useCount = 0;
};

class ByteBlob {
  public:
    virtual ~ByteBlob() = default;
    ByteVector bytes;
    int32_t useCount = 0;
};

class IndexArray : public WordArray {
  public:
    RefPtr<IndexBuffer> buffer;  // made on first use by BuildModels
};

class VertexArray : public WordArray {
  public:
    int32_t wordsPerVertex = 1;
    RefPtr<VertexBuffer> buffer;
    int32_t VertexCount() const { return int32_t(words.size() / size_t(wordsPerVertex)); }
};

class ImageSlot {
  public:
    virtual ~ImageSlot() = default;
    uint64_t fileOffset = 0;
    uint32_t size = 0;
    int32_t useCount = 0;
    RefPtr<ResourceProxy> texture;  // empty until loaded
};

class SoundSlot {
  public:
    virtual ~SoundSlot() = default;
    uint64_t fileOffset = 0;
    uint32_t size = 0;
    int32_t useCount = 0;
    RefPtr<SoundBuffer> sound;  // empty until loaded
};

struct ParamTrack {
    RefPtr<String> name;
    RefPtr<KeyTrack> track;
};

struct MeshElement {
    RefPtr<String> name;
    int32_t floatCount = 0;
};

struct TextureRef {
    RefPtr<String> slotName;
    int32_t image = 0;
    // The image as a counted texture handle (see ResourceManager::AcquireImage).
    RefPtr<ResourceProxy> GetTexture(ResourceManager& manager) const;
};

// The meaning of the ten draw-setting words of a part.
enum DrawSetting {
    kDrawCentreX = 0,
    kDrawCentreY = 1,
    kDrawCentreZ = 2,
    kDrawRadius = 3,
    kDrawCullMode = 4,
    kDrawCastShadow = 5,
    kDrawReceiveShadow = 6,
};

class MeshPartData {
  public:
    MeshPartData();
    virtual ~MeshPartData();
    RefPtr<String> name;
    int32_t kind = 0;
    std::vector<MeshElement> elements;
    VertexLayout layout;  // built by BuildLayout
    std::vector<TextureRef> textures;
    RefPtr<VertexArray> vertices;
    std::array<int32_t, 2> vertexWords{};  // start value, vertex count
    RefPtr<IndexArray> indices;
    std::array<int32_t, 2> indexWords{};  // start index, index count
    std::vector<ParamTrack> params;
    std::array<uint32_t, 10> drawSettings{};
    RefPtr<GeometryBuffer> geometry;  // built by ResourceManager::BuildModels

    // One layout element per element, or per four floats of a wider one, all
    // under the element's name. Once only.
    void BuildLayout();
    // A draw-setting word read as a float (centre and radius).
    float DrawFloat(int word) const;
};

class MeshData {
  public:
    virtual ~MeshData() = default;
    int32_t paletteSize = 0;
    int32_t parameterCount = 0;
    bool instancing = false;
    std::vector<RefPtr<MeshPartData>> parts;
};

class ModelNodeData {
  public:
    ModelNodeData();
    virtual ~ModelNodeData();
    RefPtr<String> name;
    int32_t type = 0;
    // Position xyz, Euler xyz, scale xyz, pivot xyz.
    std::array<RefPtr<KeyTrack>, 12> tracks;
    std::vector<RefPtr<ModelNodeData>> children;
    float startTime = 0.0f;  // type 0
    float endTime = 0.0f;
    RefPtr<MeshData> mesh;  // type 2
    std::vector<ParamTrack> params;
    int32_t paletteIndex = 0;  // type 3
    std::array<float, 16> offsetMatrix{};
};

class ModelEntry {
  public:
    virtual ~ModelEntry() = default;
    RefPtr<String> name;
    RefPtr<ModelNodeData> root;
};

struct SpriteFrame {
    RefPtr<String> name;
    float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
};

class SpriteEntry {
  public:
    virtual ~SpriteEntry() = default;
    RefPtr<String> name;
    int32_t image = 0;
    std::vector<SpriteFrame> frames;
    RefPtr<ResourceProxy> GetTexture(ResourceManager& manager) const;
};

struct SoundName {
    String name;
    int32_t slot = 0;
};

class FontEntry {
  public:
    virtual ~FontEntry() = default;
    int32_t glyphWidth = 0;
    int32_t glyphHeight = 0;
    RefPtr<WordArray> offsetTable;
    RefPtr<ByteBlob> glyphs;
};

// What the glyph cache gets from ResourceManager::FindFont: a copy of a font's
// sizes sharing its table and glyph codes.
class FontData : public FontEntry {};

class ResourceGroup {
  public:
    virtual ~ResourceGroup() = default;
    String name;
    std::vector<int32_t> sounds;
    std::vector<int32_t> further;  // kept, used by nothing
    std::vector<int32_t> images;
};

}  // namespace mareldon
