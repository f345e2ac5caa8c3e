#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/core/VertexLayout.h"

namespace mareldon {

// The shared objects the data archive is read into (docs/archive-format.md).
// Models, sprites and fonts hold them by handle; the resource manager keeps the
// slot lists. Word arrays share the archive body's memory; byte data is copied.

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

using ByteVector = std::vector<uint8_t, FillLaterAllocator<uint8_t>>;

// A block of 32-bit words that several arrays view: an archive body, read whole,
// lives on as long as an array cut from it.
class WordBlock {
  public:
    explicit WordBlock(size_t count) : words(new uint32_t[count]), size(count) {}
    virtual ~WordBlock() = default;
    uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(words.get()); }
    std::unique_ptr<uint32_t[]> words;
    size_t size;
};

// The words of an array: a range of a shared block.
class SharedWords {
  public:
    SharedWords() = default;
    SharedWords(const RefPtr<WordBlock>& block, const uint32_t* first, size_t count)
        : block_(block), first_(first), count_(count) {}
    // A block of its own holding a copy.
    static SharedWords Copy(const uint32_t* words, size_t count);
    SharedWords(std::initializer_list<uint32_t> words) : SharedWords(Copy(words.begin(), words.size())) {}

    const uint32_t* data() const { return first_; }
    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    uint32_t operator[](size_t index) const { return first_[index]; }
    const uint32_t* begin() const { return first_; }
    const uint32_t* end() const { return first_ + count_; }
    bool operator==(const SharedWords& other) const;

  private:
    RefPtr<WordBlock> block_;
    const uint32_t* first_ = nullptr;
    size_t count_ = 0;
};

// Word and byte data that something may be reading (the glyph cache raises the
// use count while it decodes).
class WordArray {
  public:
    virtual ~WordArray() = default;
    SharedWords words;
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
