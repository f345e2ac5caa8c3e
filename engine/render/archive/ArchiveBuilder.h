#pragma once

#include <utility>
#include <vector>

#include "engine/render/archive/ArchiveParser.h"
#include "engine/render/archive/FontEntry.h"
#include "engine/render/archive/ImageSlot.h"
#include "engine/render/archive/MeshPartData.h"
#include "engine/render/archive/ModelEntry.h"
#include "engine/render/archive/ModelNodeData.h"
#include "engine/render/archive/ParamTrack.h"
#include "engine/render/archive/ResourceGroup.h"
#include "engine/render/archive/SharedWords.h"
#include "engine/render/archive/SoundSlot.h"
#include "engine/render/archive/SpriteEntry.h"
#include "engine/render/archive/WordArray.h"

namespace mareldon {

// Turns the records of a parsed archive body into the shared objects. The
// resource manager takes the lists it keeps once the whole body has parsed; the
// six temporary lists go with the builder, and what models, sprites and fonts
// refer to lives on through their handles.
class ArchiveBuilder : public ArchiveSink {
  public:
    ArchiveBuilder();
    ~ArchiveBuilder() override;

    // The block that holds the body being parsed: word arrays then view it
    // instead of copying (on little-endian hosts, where its words are the values).
    void ShareBody(const RefPtr<WordBlock>& body) { body_ = body; }

    void OnString(std::string_view text) override;
    void OnKeyTrack(int32_t preMode, int32_t postMode, float defaultValue, ArchiveWords keys) override;
    void OnIndexArray(ArchiveWords words) override;
    void OnVertexArray(int32_t wordsPerVertex, ArchiveWords words) override;
    void OnWordArray(ArchiveWords words) override;
    void OnByteBlob(const uint8_t* bytes, size_t size) override;
    void OnImageSlot(uint64_t fileOffset, uint32_t size) override;
    void OnSoundSlot(uint64_t fileOffset, uint32_t size) override;
    void OnModel(int32_t name, const ArchiveNode& root) override;
    void OnSprite(const ArchiveSprite& sprite) override;
    void OnSoundName(std::string_view name, int32_t soundSlot) override;
    void OnFont(const ArchiveFont& font) override;
    void OnGroup(const ArchiveGroup& group) override;

    // Temporary lists.
    std::vector<RefPtr<String>> strings;
    std::vector<RefPtr<KeyTrack>> tracks;
    std::vector<RefPtr<IndexArray>> indexArrays;
    std::vector<RefPtr<VertexArray>> vertexArrays;
    std::vector<RefPtr<WordArray>> wordArrays;
    std::vector<RefPtr<ByteBlob>> blobs;
    // What the resource manager keeps.
    std::vector<RefPtr<ImageSlot>> images;
    std::vector<RefPtr<SoundSlot>> sounds;
    std::vector<RefPtr<ModelEntry>> models;
    std::vector<RefPtr<SpriteEntry>> sprites;
    std::vector<SoundName> soundNames;
    std::vector<std::pair<RefPtr<String>, RefPtr<FontEntry>>> fonts;
    std::vector<RefPtr<ResourceGroup>> groups;

  private:
    SharedWords Words(ArchiveWords words) const;
    template <typename Array>
    RefPtr<Array> Cut(ArchiveWords words) const;

    RefPtr<WordBlock> body_;

    std::vector<ParamTrack> Params(const std::vector<ArchiveParamTrack>& records) const;
    RefPtr<ModelNodeData> Node(const ArchiveNode& record) const;
    RefPtr<MeshPartData> Part(const ArchiveMeshPart& record) const;
};

}  // namespace mareldon
