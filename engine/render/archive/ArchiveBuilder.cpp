#include "engine/render/archive/ArchiveBuilder.h"

#include <bit>

#include "engine/core/KeyTrack.h"
#include "engine/render/archive/MeshData.h"

namespace mareldon {

ArchiveBuilder::ArchiveBuilder() = default;
ArchiveBuilder::~ArchiveBuilder() = default;

void ArchiveBuilder::OnString(std::string_view text) {
    // The parser found the 0 byte right behind the text.
    strings.emplace_back(new String(text.data()));
}

void ArchiveBuilder::OnKeyTrack(int32_t preMode, int32_t postMode, float defaultValue, ArchiveWords keys) {
    RefPtr<KeyTrack> track(new KeyTrack());
    track->preMode = preMode;
    track->postMode = postMode;
    track->defaultValue = defaultValue;
    track->SetKeysFromData(keys.bytes, keys.count / 8);
    tracks.push_back(track);
}

SharedWords ArchiveBuilder::Words(ArchiveWords words) const {
    if constexpr (std::endian::native == std::endian::little) {
        if (body_) {
            const uintptr_t base = reinterpret_cast<uintptr_t>(body_->Bytes());
            const uintptr_t at = reinterpret_cast<uintptr_t>(words.bytes);
            if (at >= base && (at - base) % 4 == 0 && (at - base) / 4 + words.count <= body_->size) {
                return SharedWords(body_, body_->words.get() + (at - base) / 4, words.count);
            }
        }
    }
    RefPtr<WordBlock> block(new WordBlock(words.count));
    words.CopyTo(block->words.get());
    return SharedWords(block, block->words.get(), words.count);
}

template <typename Array>
RefPtr<Array> ArchiveBuilder::Cut(ArchiveWords words) const {
    RefPtr<Array> array(new Array());
    array->words = Words(words);
    return array;
}

void ArchiveBuilder::OnIndexArray(ArchiveWords words) {
    indexArrays.push_back(Cut<IndexArray>(words));
}

void ArchiveBuilder::OnVertexArray(int32_t wordsPerVertex, ArchiveWords words) {
    RefPtr<VertexArray> array = Cut<VertexArray>(words);
    array->wordsPerVertex = wordsPerVertex;
    vertexArrays.push_back(array);
}

void ArchiveBuilder::OnWordArray(ArchiveWords words) {
    wordArrays.push_back(Cut<WordArray>(words));
}

void ArchiveBuilder::OnByteBlob(const uint8_t* bytes, size_t size) {
    RefPtr<ByteBlob> blob(new ByteBlob());
    blob->bytes.assign(bytes, bytes + size);
    blobs.push_back(blob);
}

void ArchiveBuilder::OnImageSlot(uint64_t fileOffset, uint32_t size) {
    RefPtr<ImageSlot> slot(new ImageSlot());
    slot->fileOffset = fileOffset;
    slot->size = size;
    images.push_back(slot);
}

void ArchiveBuilder::OnSoundSlot(uint64_t fileOffset, uint32_t size) {
    RefPtr<SoundSlot> slot(new SoundSlot());
    slot->fileOffset = fileOffset;
    slot->size = size;
    sounds.push_back(slot);
}

void ArchiveBuilder::OnModel(int32_t name, const ArchiveNode& root) {
    RefPtr<ModelEntry> model(new ModelEntry());
    model->name = strings[size_t(name)];
    model->root = Node(root);
    models.push_back(model);
}

void ArchiveBuilder::OnSprite(const ArchiveSprite& record) {
    RefPtr<SpriteEntry> sprite(new SpriteEntry());
    sprite->name = strings[size_t(record.name)];
    sprite->image = record.image;
    for (const ArchiveSpriteFrame& frame : record.frames) {
        sprite->frames.push_back({strings[size_t(frame.name)], frame.x, frame.y, frame.w, frame.h});
    }
    sprites.push_back(sprite);
}

void ArchiveBuilder::OnSoundName(std::string_view name, int32_t soundSlot) {
    // The name ends at the first 0 of its field, which the parser found.
    soundNames.push_back({String(name.data()), soundSlot});
}

void ArchiveBuilder::OnFont(const ArchiveFont& record) {
    RefPtr<FontEntry> font(new FontEntry());
    font->glyphWidth = record.glyphWidth;
    font->glyphHeight = record.glyphHeight;
    font->offsetTable = wordArrays[size_t(record.offsetTable)];
    font->glyphs = blobs[size_t(record.bitStream)];
    fonts.emplace_back(strings[size_t(record.name)], font);
}

void ArchiveBuilder::OnGroup(const ArchiveGroup& record) {
    RefPtr<ResourceGroup> group(new ResourceGroup());
    group->name = *strings[size_t(record.name)];
    group->sounds = record.sounds;
    group->further = record.further;
    group->images = record.images;
    groups.push_back(group);
}

std::vector<ParamTrack> ArchiveBuilder::Params(const std::vector<ArchiveParamTrack>& records) const {
    std::vector<ParamTrack> params;
    params.reserve(records.size());
    for (const ArchiveParamTrack& record : records) {
        params.push_back({strings[size_t(record.name)], tracks[size_t(record.track)]});
    }
    return params;
}

RefPtr<ModelNodeData> ArchiveBuilder::Node(const ArchiveNode& record) const {
    RefPtr<ModelNodeData> node(new ModelNodeData());
    node->name = strings[size_t(record.name)];
    node->type = record.type;
    node->startTime = record.startTime;
    node->endTime = record.endTime;
    node->paletteIndex = record.paletteIndex;
    node->offsetMatrix = record.offsetMatrix;
    for (size_t i = 0; i < record.tracks.size(); ++i) {
        node->tracks[i] = tracks[size_t(record.tracks[i])];
    }
    if (record.type == 2) {
        RefPtr<MeshData> mesh(new MeshData());
        mesh->paletteSize = record.mesh.paletteSize;
        mesh->parameterCount = record.mesh.parameterCount;
        mesh->instancing = record.mesh.instancing;
        for (const ArchiveMeshPart& part : record.mesh.parts) {
            mesh->parts.push_back(Part(part));
        }
        node->mesh = mesh;
        node->params = Params(record.params);
    }
    // The parser bounds the depth, so the recursion stays shallow.
    for (const ArchiveNode& child : record.children) {
        node->children.push_back(Node(child));
    }
    return node;
}

RefPtr<MeshPartData> ArchiveBuilder::Part(const ArchiveMeshPart& record) const {
    RefPtr<MeshPartData> part(new MeshPartData());
    part->name = strings[size_t(record.name)];
    part->kind = record.kind;
    for (const ArchiveElement& element : record.elements) {
        part->elements.push_back({strings[size_t(element.name)], element.floatCount});
    }
    for (const ArchiveTextureRef& texture : record.textures) {
        part->textures.push_back({strings[size_t(texture.slotName)], texture.image});
    }
    part->vertices = vertexArrays[size_t(record.vertexArray)];
    part->vertexWords = record.vertexWords;
    part->indices = indexArrays[size_t(record.indexArray)];
    part->indexWords = record.indexWords;
    part->params = Params(record.params);
    part->drawSettings = record.drawSettings;
    return part;
}

}  // namespace mareldon
