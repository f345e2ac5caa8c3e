#include "tools/archive/MbdWriter.h"

#include "engine/core/ByteWriter.h"

namespace mareldon {

int32_t MbdWriter::AddString(std::string_view text) {
    auto found = stringIndex_.find(text);
    if (found != stringIndex_.end()) {
        return found->second;
    }
    int32_t index = int32_t(strings_.size());
    strings_.emplace_back(text);
    stringIndex_.emplace(std::string(text), index);
    return index;
}

int32_t MbdWriter::AddTrack(const Track& track) {
    tracks_.push_back(track);
    return int32_t(tracks_.size() - 1);
}

int32_t MbdWriter::EmptyTrack() {
    if (emptyTrack_ < 0) {
        emptyTrack_ = AddTrack(Track{});
    }
    return emptyTrack_;
}

int32_t MbdWriter::EmptyScaleTrack() {
    if (emptyScaleTrack_ < 0) {
        Track track;
        track.defaultValue = 1.0f;
        emptyScaleTrack_ = AddTrack(track);
    }
    return emptyScaleTrack_;
}

int32_t MbdWriter::AddIndexArray(std::vector<uint32_t> indices) {
    indexArrays_.push_back(std::move(indices));
    return int32_t(indexArrays_.size() - 1);
}

int32_t MbdWriter::EmptyIndexArray() {
    if (emptyIndexArray_ < 0) {
        emptyIndexArray_ = AddIndexArray({});
    }
    return emptyIndexArray_;
}

int32_t MbdWriter::AddVertexArray(int32_t wordsPerVertex, const std::vector<float>& words) {
    std::vector<uint32_t> bits(words.size());
    for (size_t i = 0; i < words.size(); ++i) {
        bits[i] = std::bit_cast<uint32_t>(words[i]);
    }
    return AddVertexArrayWords(wordsPerVertex, std::move(bits));
}

int32_t MbdWriter::AddVertexArrayWords(int32_t wordsPerVertex, std::vector<uint32_t> words) {
    vertexArrays_.push_back(VertexArray{wordsPerVertex, std::move(words)});
    return int32_t(vertexArrays_.size() - 1);
}

int32_t MbdWriter::AddWordArray(std::vector<uint32_t> words) {
    wordArrays_.push_back(std::move(words));
    return int32_t(wordArrays_.size() - 1);
}

int32_t MbdWriter::AddBlob(std::vector<uint8_t> bytes) {
    blobs_.push_back(std::move(bytes));
    return int32_t(blobs_.size() - 1);
}

int32_t MbdWriter::AddImage(std::vector<uint8_t> bytes) {
    images_.push_back(std::move(bytes));
    return int32_t(images_.size() - 1);
}

int32_t MbdWriter::AddSound(std::vector<uint8_t> record) {
    sounds_.push_back(std::move(record));
    return int32_t(sounds_.size() - 1);
}

// Names are interned as they are added, so that the string section is complete
// before Build() writes it.
namespace {
void InternNode(MbdWriter& writer, const MbdWriter::Node& node) {
    writer.AddString(node.name);
    for (const MbdWriter::Part& part : node.mesh.parts) {
        writer.AddString(part.name);
        for (const auto& element : part.elements) {
            writer.AddString(element.name);
        }
        for (const auto& texture : part.textures) {
            writer.AddString(texture.slotName);
        }
        for (const auto& param : part.params) {
            writer.AddString(param.name);
        }
        if (part.indexArray < 0) {
            writer.EmptyIndexArray();
        }
    }
    for (const auto& param : node.params) {
        writer.AddString(param.name);
    }
    for (size_t i = 0; i < node.tracks.size(); ++i) {
        if (node.tracks[i] < 0) {
            (i >= 6 && i < 9) ? writer.EmptyScaleTrack() : writer.EmptyTrack();
        }
    }
    for (const MbdWriter::Node& child : node.children) {
        InternNode(writer, child);
    }
}
}  // namespace

void MbdWriter::AddModel(std::string_view name, const Node& root) {
    int32_t index = AddString(name);
    InternNode(*this, root);
    ByteWriter out;
    out.I32(index);
    WriteNode(out, root);
    models_.push_back(std::move(out.bytes));
}

void MbdWriter::AddModelRecord(std::vector<uint8_t> record) {
    models_.push_back(std::move(record));
}

void MbdWriter::AddSprite(std::string_view name, int32_t image, const std::vector<Frame>& frames) {
    Sprite sprite{AddString(name), image, {}};
    for (const Frame& frame : frames) {
        sprite.frames.emplace_back(AddString(frame.name), frame);
    }
    sprites_.push_back(std::move(sprite));
}

void MbdWriter::AddSoundName(std::string_view name, int32_t soundSlot) {
    std::vector<uint8_t> field(name.begin(), name.end());
    field.push_back(0);
    int32_t length = int32_t(field.size());
    field.resize((field.size() + 3) & ~size_t(3), 0);
    soundNames_.push_back(SoundName{std::move(field), length, soundSlot});
}

void MbdWriter::AddSoundNameField(std::vector<uint8_t> field, int32_t soundSlot) {
    int32_t length = int32_t(field.size());
    field.resize((field.size() + 3) & ~size_t(3), 0);
    soundNames_.push_back(SoundName{std::move(field), length, soundSlot});
}

void MbdWriter::AddFont(std::string_view name, int32_t glyphWidth, int32_t glyphHeight, int32_t offsetTable,
                        int32_t bitStream) {
    fonts_.push_back(Font{AddString(name), glyphWidth, glyphHeight, offsetTable, bitStream});
}

void MbdWriter::AddGroup(const Group& group) {
    groups_.emplace_back(AddString(group.name), group);
}

int32_t MbdWriter::TrackOrEmpty(int32_t track, size_t channel) const {
    if (track >= 0) {
        return track;
    }
    return (channel >= 6 && channel < 9) ? emptyScaleTrack_ : emptyTrack_;
}

void MbdWriter::WriteParams(ByteWriter& out, const std::vector<Param>& params) const {
    out.Count(params.size());
    for (const Param& param : params) {
        out.I32(stringIndex_.find(param.name)->second);
        out.I32(param.track);
    }
}

void MbdWriter::WriteNode(ByteWriter& out, const Node& node) const {
    auto name = [this](const std::string& text) { return stringIndex_.find(text)->second; };
    out.I32(name(node.name));
    out.I32(node.type);
    if (node.type == 0) {
        out.F32(node.startTime);
        out.F32(node.endTime);
    } else if (node.type == 2) {
        const Mesh& mesh = node.mesh;
        out.Count(mesh.parts.size());
        out.I32(mesh.paletteSize);
        out.I32(mesh.parameterCount);
        out.I32(mesh.instancing);
        for (const Part& part : mesh.parts) {
            out.I32(name(part.name));
            out.I32(part.kind);
            out.Count(part.elements.size());
            for (const Element& element : part.elements) {
                out.I32(name(element.name));
                out.I32(element.floatCount);
            }
            out.Count(part.textures.size());
            for (const TextureRef& texture : part.textures) {
                out.I32(name(texture.slotName));
                out.I32(texture.image);
            }
            out.I32(part.vertexArray);
            out.I32(part.startValue);
            out.I32(part.vertexCount);
            out.I32(part.indexArray >= 0 ? part.indexArray : emptyIndexArray_);
            out.I32(part.startIndex);
            out.I32(part.indexCount);
            WriteParams(out, part.params);
            const DrawSettings& s = part.settings;
            out.F32(s.centre[0]);
            out.F32(s.centre[1]);
            out.F32(s.centre[2]);
            out.F32(s.radius);
            out.I32(s.cullMode);
            out.I32(s.castShadow);
            out.I32(s.receiveShadow);
            out.U32(0);
            out.U32(0);
            out.U32(0);
        }
        WriteParams(out, node.params);
    } else if (node.type == 3) {
        out.I32(node.paletteIndex);
        for (float value : node.offsetMatrix) {
            out.F32(value);
        }
    }
    for (size_t i = 0; i < node.tracks.size(); ++i) {
        out.I32(TrackOrEmpty(node.tracks[i], i));
    }
    out.Count(node.children.size());
    for (const Node& child : node.children) {
        WriteNode(out, child);
    }
}

std::vector<uint8_t> MbdWriter::Build() const {
    ByteWriter body;
    // 1 strings
    body.Count(strings_.size());
    for (size_t i = 0; i < strings_.size(); ++i) {
        body.bytes.insert(body.bytes.end(), strings_[i].begin(), strings_[i].end());
        if (!(unterminatedLastString_ && i + 1 == strings_.size())) {
            body.bytes.push_back(0);
        }
    }
    if (unterminatedLastString_) {
        // Nothing may follow: the name runs to the end of the body.
        ByteWriter file;
        file.Count(body.bytes.size());
        file.Count(body.bytes.size());
        file.Bytes(body.bytes);
        return file.bytes;
    }
    body.Pad4(0);
    // 2 key tracks
    body.Count(tracks_.size());
    for (const Track& track : tracks_) {
        body.I32(track.preMode);
        body.I32(track.postMode);
        body.F32(track.defaultValue);
        body.Count(track.keys.size());
        for (const Key& key : track.keys) {
            body.F32(key.time);
            body.F32(key.value);
            body.U32(key.kind);
            for (float c : key.c) {
                body.F32(c);
            }
            body.U32(0);
        }
    }
    // 3 index arrays, 4 vertex arrays, 5 word arrays
    body.Count(indexArrays_.size());
    for (const auto& indices : indexArrays_) {
        body.Count(indices.size());
        body.Words(indices);
    }
    body.Count(vertexArrays_.size());
    for (const VertexArray& array : vertexArrays_) {
        body.Count(array.words.size());
        body.I32(array.wordsPerVertex);
        body.Words(array.words);
    }
    body.Count(wordArrays_.size());
    for (const auto& words : wordArrays_) {
        body.Count(words.size());
        body.Words(words);
    }
    // 6 byte blobs, padded as a whole
    body.Count(blobs_.size());
    size_t blobBase = body.bytes.size();
    for (const auto& blob : blobs_) {
        body.Count(blob.size());
        body.Bytes(blob);
    }
    body.Pad4(blobBase);
    // 7 image table, 8 sound table
    uint32_t imageBytes = 0;
    body.Count(images_.size());
    for (const auto& image : images_) {
        body.U32(imageBytes);
        body.Count(image.size());
        imageBytes += uint32_t(image.size());
    }
    uint32_t soundBytes = 0;
    body.Count(sounds_.size());
    for (const auto& sound : sounds_) {
        body.U32(soundBytes);
        body.Count(sound.size());
        soundBytes += uint32_t(sound.size());
    }
    // 9 models
    body.Count(models_.size());
    for (const auto& model : models_) {
        body.Bytes(model);
    }
    // 10 sprites
    body.Count(sprites_.size());
    for (const Sprite& sprite : sprites_) {
        body.I32(sprite.name);
        body.I32(sprite.image);
        body.Count(sprite.frames.size());
        for (const auto& [name, frame] : sprite.frames) {
            body.I32(name);
            body.F32(frame.x);
            body.F32(frame.y);
            body.F32(frame.w);
            body.F32(frame.h);
        }
    }
    // 11 sound names
    body.Count(soundNames_.size());
    for (const SoundName& name : soundNames_) {
        body.I32(name.length);
        body.Bytes(name.field);
        body.I32(name.slot);
    }
    // 12 fonts
    body.Count(fonts_.size());
    for (const Font& font : fonts_) {
        body.I32(font.name);
        body.I32(font.glyphWidth);
        body.I32(font.glyphHeight);
        body.I32(font.offsetTable);
        body.I32(font.bitStream);
    }
    // 13 groups
    body.Count(groups_.size());
    for (const auto& [name, group] : groups_) {
        body.I32(name);
        body.Count(group.sounds.size());
        body.Words(group.sounds);
        body.Count(group.further.size());
        body.Words(group.further);
        body.Count(group.images.size());
        body.Words(group.images);
    }

    ByteWriter file;
    file.Count(body.bytes.size());
    file.Count(body.bytes.size() + imageBytes);
    file.bytes.reserve(8 + body.bytes.size() + imageBytes + soundBytes);
    file.Bytes(body.bytes);
    for (const auto& image : images_) {
        file.Bytes(image);
    }
    for (const auto& sound : sounds_) {
        file.Bytes(sound);
    }
    return file.bytes;
}

}  // namespace mareldon
